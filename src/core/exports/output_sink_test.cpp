#include "core/exports/output_sink.h"

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <iterator>

#include <gtest/gtest.h>

#include "core/exports/export_test_util.h"

namespace {

TEST(OutputSinkTest, LargeOutputArrivesWholeAndInOrder) {
  std::string folder = makeScratchFolder();
  OutputSink sink;
  ASSERT_TRUE(openOutputFile(folder + "out.txt", &sink));
  std::string expected;
  for (int i = 0; i < 200000; ++i) {  // several flushes' worth
    std::string line = "line " + std::to_string(i);
    sinkLine(&sink, line);
    expected += line + "\n";
  }
  EXPECT_TRUE(closeOutputFile(&sink));
  EXPECT_EQ(readTestFile(folder + "out.txt"), expected);
  // Opening again truncates.
  ASSERT_TRUE(openOutputFile(folder + "out.txt", &sink));
  sinkAppend(&sink, "x");
  EXPECT_TRUE(closeOutputFile(&sink));
  EXPECT_EQ(readTestFile(folder + "out.txt"), "x");
  removeScratchFolder(folder);
}

// A failed export keeps the previous file whole and leaves nothing beside it; a
// fifo or device is never written, and a link is replaced rather than written through.
TEST(OutputSinkTest, ExportsReplaceTheirFileWholeOrNotAtAll) {
  std::string folder = makeScratchFolder();
  const std::string out = folder + "ForumPosting.txt";
  writeTestFile(out, "previous");
  pid_t child = fork();
  if (child == 0) {  // files may not grow past 64 KiB here, as on a disk that fills up
    signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit = {64 << 10, 64 << 10};
    setrlimit(RLIMIT_FSIZE, &limit);
    OutputSink sink;
    bool opened = openOutputFile(out, &sink);
    sinkAppend(&sink, std::string(3u << 20, 'x'));
    _exit(opened && !closeOutputFile(&sink) ? 0 : 1);
  }
  int status = -1;
  waitpid(child, &status, 0);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(readTestFile(out), "previous");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);

  OutputSink sink;
  ASSERT_EQ(mkfifo((folder + "fifo").c_str(), 0644), 0);
  EXPECT_FALSE(openOutputFile(folder + "fifo", &sink));
  EXPECT_FALSE(openOutputFile("/dev/null", &sink));
  EXPECT_FALSE(openOutputFile(folder, &sink));
  writeTestFile(folder + "elsewhere", "kept");
  ASSERT_EQ(symlink("elsewhere", (folder + "link.txt").c_str()), 0);
  ASSERT_TRUE(openOutputFile(folder + "link.txt", &sink));
  sinkAppend(&sink, "new");
  EXPECT_TRUE(closeOutputFile(&sink));
  EXPECT_EQ(readTestFile(folder + "elsewhere"), "kept");
  EXPECT_EQ(readTestFile(folder + "link.txt"), "new");
  EXPECT_FALSE(std::filesystem::is_symlink(folder + "link.txt"));
  removeScratchFolder(folder);
}

}  // namespace
