// libcurl loaded with dlopen (never linked), one GET into memory, and the version file.
#include "core/update/http_fetch.h"

#include <dlfcn.h>

#include <climits>
#include <cstdio>
#include <cstdlib>

#include "core/text/utf8.h"

namespace {

// The few libcurl option numbers used here, as libcurl's ABI fixes them.
constexpr int kOptWriteData = 10001;
constexpr int kOptUrl = 10002;
constexpr int kOptTimeout = 13;
constexpr int kOptUserAgent = 10018;
constexpr int kOptFollowLocation = 52;
constexpr int kOptMaxRedirs = 68;
constexpr int kOptConnectTimeout = 78;
constexpr int kOptNoSignal = 99;
constexpr int kOptProtocols = 181;
constexpr int kOptRedirProtocols = 182;
constexpr int kOptProtocolsStr = 10318;
constexpr int kOptRedirProtocolsStr = 10319;
constexpr int kOptWriteFunction = 20011;
constexpr long kProtoHttpAndHttps = 1 | 2;
constexpr int kCurlOk = 0;

constexpr char kUserAgent[] = "Mozilla/5.0 Gecko/41.0 Firefox/41.0";
constexpr char kNoLibraryMessage[] = "[Error] can't open 'libcurl' dynamic library needed by Mail and HTTP commands\n";

template <typename F>
bool bind(void* library, const char* name, F* function) {
  *function = reinterpret_cast<F>(dlsym(library, name));
  return *function != nullptr;
}

bool bindEntryPoints(void* library, CurlApi* api) {
  return bind(library, "curl_easy_init", &api->easyInit) && bind(library, "curl_easy_setopt", &api->easySetopt) &&
         bind(library, "curl_easy_perform", &api->easyPerform) &&
         bind(library, "curl_easy_cleanup", &api->easyCleanup) &&
         bind(library, "curl_slist_free_all", &api->slistFreeAll) &&
         bind(library, "curl_slist_append", &api->slistAppend);
}

// The program's libcurl, loaded once; nullptr when it is not available.
const CurlApi* loadedCurl() {
  static const CurlApi* const curl = [] {
    static CurlApi api;
    CurlLoad outcome = loadCurlLibrary(curlLibraryNames(), &api);
    if (outcome == CurlLoad::kNoLibrary) std::fputs(kNoLibraryMessage, stderr);
    return outcome == CurlLoad::kLoaded ? &api : nullptr;
  }();
  return curl;
}

struct Sink {
  std::string* body;
  size_t maxBytes;
  bool tooLarge;
};

// Returning less than was offered makes libcurl stop the transfer with an error.
size_t writeToSink(char* data, size_t size, size_t count, void* userData) {
  Sink* sink = static_cast<Sink*>(userData);
  size_t bytes = size * count;
  if (bytes > sink->maxBytes - sink->body->size()) {
    sink->tooLarge = true;
    return 0;
  }
  sink->body->append(data, bytes);
  return bytes;
}

// Only http and https, also after a redirection: the address may come from the
// environment and a redirection from the server, and neither may read local files.
bool restrictProtocols(const CurlApi& curl, void* handle) {
  if (curl.easySetopt(handle, kOptProtocolsStr, "http,https") == kCurlOk &&
      curl.easySetopt(handle, kOptRedirProtocolsStr, "http,https") == kCurlOk)
    return true;
  // Libraries older than the text form know only the bit mask.
  return curl.easySetopt(handle, kOptProtocols, kProtoHttpAndHttps) == kCurlOk &&
         curl.easySetopt(handle, kOptRedirProtocols, kProtoHttpAndHttps) == kCurlOk;
}

bool configureTransfer(const CurlApi& curl, void* handle, const std::string& url, const FetchLimits& limits,
                       Sink* sink) {
  size_t (*writer)(char*, size_t, size_t, void*) = writeToSink;
  return curl.easySetopt(handle, kOptUrl, url.c_str()) == kCurlOk &&
         curl.easySetopt(handle, kOptUserAgent, kUserAgent) == kCurlOk &&
         curl.easySetopt(handle, kOptFollowLocation, 1L) == kCurlOk &&
         curl.easySetopt(handle, kOptMaxRedirs, 10L) == kCurlOk &&
         curl.easySetopt(handle, kOptNoSignal, 1L) == kCurlOk &&
         curl.easySetopt(handle, kOptConnectTimeout, limits.connectTimeoutSeconds) == kCurlOk &&
         curl.easySetopt(handle, kOptTimeout, limits.transferTimeoutSeconds) == kCurlOk &&
         curl.easySetopt(handle, kOptWriteFunction, writer) == kCurlOk &&
         curl.easySetopt(handle, kOptWriteData, static_cast<void*>(sink)) == kCurlOk && restrictProtocols(curl, handle);
}

}  // namespace

const std::vector<std::string>& curlLibraryNames() {
  static const std::vector<std::string> names = {"libcurl-gnutls.so.4", "libcurl-nss.so.4", "libcurl-gnutls.so.3",
                                                 "libcurl-nss.so.3",    "libcurl.so",       "libcurl.so.4",
                                                 "libcurl.so.3"};
  return names;
}

CurlLoad loadCurlLibrary(const std::vector<std::string>& names, CurlApi* api) {
  *api = CurlApi();
  for (const std::string& name : names) {
    void* library = dlopen(name.c_str(), RTLD_LAZY | RTLD_GLOBAL);
    if (library == nullptr) continue;
    if (bindEntryPoints(library, api)) {
      api->library = library;
      return CurlLoad::kLoaded;
    }
    dlclose(library);
    *api = CurlApi();
    return CurlLoad::kMissingSymbol;
  }
  return CurlLoad::kNoLibrary;
}

void unloadCurlLibrary(CurlApi* api) {
  if (api->library != nullptr) dlclose(api->library);
  *api = CurlApi();
}

bool httpAvailable() { return loadedCurl() != nullptr; }

bool fetchToMemory(const std::string& url, std::string* body, const FetchLimits& limits) {
  const CurlApi* curl = loadedCurl();
  if (curl == nullptr) return false;
  void* handle = curl->easyInit();
  if (handle == nullptr) return false;
  std::string received;
  Sink sink{&received, limits.maxBodyBytes, false};
  bool ok =
      configureTransfer(*curl, handle, url, limits, &sink) && curl->easyPerform(handle) == kCurlOk && !sink.tooLarge;
  curl->easyCleanup(handle);
  if (ok) body->swap(received);
  return ok;
}

std::string versionFileUrl() {
  // VLAPI_UPDATE_URL points the check at another server: the tests use a local one,
  // maintainers use it to try a new version file before it goes online.
  const char* overridden = std::getenv("VLAPI_UPDATE_URL");
  if (overridden != nullptr && overridden[0] != '\0') return overridden;
  return std::string("http://") + VL_UPDATE_HOST + "/Linux/VL-Linux-API-Version.ini";
}

int fetchVersionFileFrom(const std::string& url, int line, const FetchLimits& limits, UpdateRecord* record) {
  std::string body;
  if (!fetchToMemory(url, &body, limits) || body.empty()) return 0;
  // The text goes into GTK entries, which take valid UTF-8 only.
  record->versionFileText = repairUtf8(body);
  record->remoteAppVersion = versionFileValue(record->versionFileText, line < INT_MAX ? line + 1 : 0);
  record->remoteDatabaseVersion = versionFileValue(record->versionFileText, 5);
  return !record->remoteAppVersion.empty() && !record->remoteDatabaseVersion.empty();
}

int fetchVersionFile(int line, UpdateRecord* record) {
  return fetchVersionFileFrom(versionFileUrl(), line, FetchLimits(), record);
}
