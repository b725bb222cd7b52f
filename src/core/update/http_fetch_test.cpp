// Downloads against a local web server (python3 -m http.server) and a silent socket.
#include "core/update/http_fetch.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "core/update/update_check.h"

namespace {

constexpr char kVersionFile[] = "[Version]\n; viewer and library\nGtk2=0.25.40\nGtk3=0.26.1\nApi=2016-01-10\n";

// A TCP socket on 127.0.0.1 with a free port; listening or not as asked.
int openLocalSocket(bool listening, int* port) {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), length) != 0 || (listening && listen(fd, 4) != 0) ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    if (fd >= 0) close(fd);
    return -1;
  }
  *port = ntohs(address.sin_port);
  return fd;
}

bool accepts(int port) {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bool ok = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  close(fd);
  return ok;
}

void writeFile(const std::filesystem::path& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

class HttpFetch : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    char pattern[] = "/tmp/vl-http-XXXXXX";
    if (mkdtemp(pattern) == nullptr) return;
    folder_ = pattern;
    writeFile(folder_ / "version.ini", kVersionFile);
    writeFile(folder_ / "big.bin", std::string(size_t{2} * 1024 * 1024, 'x'));
    writeFile(folder_ / "thousand.txt", std::string(1000, 'k'));
    writeFile(folder_ / "latin1.ini", "a\nb\nGtk2=0.25.40\nGtk3=\nApi=2016-01-10 f\xFCr\n");
    std::filesystem::create_directory(folder_ / "moved");
    writeFile(folder_ / "moved" / "index.html", kVersionFile);
    startServer();
  }

  static void startServer() {
    int probe = openLocalSocket(false, &port_);
    if (probe < 0) return;
    close(probe);  // the server takes the port over; nothing else here binds one
    std::string portText = std::to_string(port_);
    server_ = fork();
    if (server_ == 0) {
      int null = open("/dev/null", O_WRONLY);
      dup2(null, 1);
      dup2(null, 2);
      execlp("python3", "python3", "-m", "http.server", "--bind", "127.0.0.1", portText.c_str(), "--directory",
             folder_.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    for (int i = 0; i < 200 && server_ > 0 && !accepts(port_); ++i) usleep(50 * 1000);
  }

  static void TearDownTestSuite() {
    if (server_ > 0) {
      kill(server_, SIGTERM);
      waitpid(server_, nullptr, 0);
    }
    std::error_code ignored;
    if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
  }

  void SetUp() override {
    if (server_ <= 0 || !accepts(port_)) GTEST_SKIP() << "no local web server (python3)";
  }

  static std::string url(const std::string& path) { return "http://127.0.0.1:" + std::to_string(port_) + path; }

  static inline std::filesystem::path folder_;
  static inline int port_ = 0;
  static inline pid_t server_ = -1;
};

}  // namespace

TEST(CurlLoading, MissingLibraryAndMissingEntryPoints) {
  CurlApi api;
  EXPECT_EQ(loadCurlLibrary({"libvl-no-such-library.so.9"}, &api), CurlLoad::kNoLibrary);
  EXPECT_EQ(api.library, nullptr);
  // The first library that loads decides: lacking the entry points, HTTP stays off
  // even though a usable name follows.
  EXPECT_EQ(loadCurlLibrary({"libvl-no-such-library.so.9", "libm.so.6", "libcurl.so.4"}, &api),
            CurlLoad::kMissingSymbol);
  EXPECT_EQ(api.library, nullptr);
  EXPECT_EQ(api.easyInit, nullptr);
}

TEST(CurlLoading, InstalledLibraryLoads) {
  CurlApi api;
  ASSERT_EQ(loadCurlLibrary(curlLibraryNames(), &api), CurlLoad::kLoaded);
  unloadCurlLibrary(&api);
  EXPECT_EQ(api.library, nullptr);
  EXPECT_TRUE(httpAvailable());
}

TEST_F(HttpFetch, BodiesOfFilesErrorPagesAndRedirections) {
  std::string body;
  ASSERT_TRUE(fetchToMemory(url("/version.ini"), &body));
  EXPECT_EQ(body, kVersionFile);
  // The status is not examined: an error page is a body like any other.
  ASSERT_TRUE(fetchToMemory(url("/missing.ini"), &body));
  EXPECT_NE(body.find("404"), std::string::npos);
  // "/moved" answers with a redirection to "/moved/".
  ASSERT_TRUE(fetchToMemory(url("/moved"), &body));
  EXPECT_EQ(body, kVersionFile);
}

TEST_F(HttpFetch, BodiesBeyondTheCapFail) {
  std::string body = "kept";
  EXPECT_FALSE(fetchToMemory(url("/big.bin"), &body));
  EXPECT_EQ(body, "kept");
  FetchLimits limits;
  limits.maxBodyBytes = 1000;
  EXPECT_TRUE(fetchToMemory(url("/thousand.txt"), &body, limits));
  EXPECT_EQ(body.size(), 1000u);
  limits.maxBodyBytes = 999;
  EXPECT_FALSE(fetchToMemory(url("/thousand.txt"), &body, limits));
}

TEST_F(HttpFetch, UnreachableServersAndOtherSchemesFail) {
  FetchLimits quick;
  quick.connectTimeoutSeconds = 1;
  quick.transferTimeoutSeconds = 1;
  std::string body = "kept";
  int port = 0;
  int silent = openLocalSocket(true, &port);  // connects, then never answers
  ASSERT_GE(silent, 0);
  EXPECT_FALSE(fetchToMemory("http://127.0.0.1:" + std::to_string(port) + "/v.ini", &body, quick));
  close(silent);
  int refusing = openLocalSocket(false, &port);  // bound but not listening: refused
  ASSERT_GE(refusing, 0);
  EXPECT_FALSE(fetchToMemory("http://127.0.0.1:" + std::to_string(port) + "/v.ini", &body, quick));
  close(refusing);
  EXPECT_FALSE(fetchToMemory("file://" + (folder_ / "version.ini").string(), &body, quick));
  EXPECT_FALSE(fetchToMemory("not a url", &body, quick));
  EXPECT_EQ(body, "kept");
}

TEST_F(HttpFetch, VersionFileFillsTheRecordOnlyAfterADownload) {
  UpdateRecord record;
  EXPECT_EQ(fetchVersionFileFrom(url("/version.ini"), 2, FetchLimits(), &record), 1);
  EXPECT_EQ(record.versionFileText, kVersionFile);
  EXPECT_EQ(record.remoteAppVersion, "0.25.40");
  EXPECT_EQ(record.remoteDatabaseVersion, "2016-01-10");
  EXPECT_EQ(fetchVersionFileFrom(url("/version.ini"), 3, FetchLimits(), &record), 1);
  EXPECT_EQ(record.remoteAppVersion, "0.26.1");  // the GTK 3 line

  // A failed download leaves the last good values.
  EXPECT_EQ(fetchVersionFileFrom(url("/big.bin"), 2, FetchLimits(), &record), 0);
  EXPECT_EQ(record.versionFileText, kVersionFile);
  EXPECT_EQ(record.remoteDatabaseVersion, "2016-01-10");

  // An error page is a download: it is taken as the file and has no values.
  EXPECT_EQ(fetchVersionFileFrom(url("/missing.ini"), 2, FetchLimits(), &record), 0);
  EXPECT_NE(record.versionFileText.find("404"), std::string::npos);
  EXPECT_EQ(record.remoteAppVersion, "");
}

TEST_F(HttpFetch, VersionFileTextIsMadeValidUtf8) {
  UpdateRecord record;
  EXPECT_EQ(fetchVersionFileFrom(url("/latin1.ini"), 2, FetchLimits(), &record), 1);
  EXPECT_EQ(record.remoteDatabaseVersion, "2016-01-10 f\xEF\xBF\xBDr");
  EXPECT_EQ(record.versionFileText.find('\xFC'), std::string::npos);
}

TEST_F(HttpFetch, CheckForUpdatesAnswersOrKeepsThePreviousAnswers) {
  const char* saved = std::getenv("VLAPI_UPDATE_URL");
  std::string previous = saved ? saved : "";
  UpdateRecord record;
  UpdateAnswers answers;
  setenv("VLAPI_UPDATE_URL", url("/version.ini").c_str(), 1);
  ASSERT_TRUE(checkForUpdates("0.25.36", "2015-11-20", &record, &answers));
  EXPECT_EQ(answers.appGtk2, "yes:  0.25.36 \xE2\x86\x92 0.25.40");
  EXPECT_EQ(answers.appGtk3, " - ");
  EXPECT_EQ(answers.library, "yes:  2015-11-20 \xE2\x86\x92 2016-01-10");

  setenv("VLAPI_UPDATE_URL", url("/missing.ini").c_str(), 1);
  EXPECT_FALSE(checkForUpdates("0.25.36", "2016-01-10", &record, &answers));
  EXPECT_EQ(answers.appGtk2, "yes:  0.25.36 \xE2\x86\x92 0.25.40");
  if (saved)
    setenv("VLAPI_UPDATE_URL", previous.c_str(), 1);
  else
    unsetenv("VLAPI_UPDATE_URL");
}
