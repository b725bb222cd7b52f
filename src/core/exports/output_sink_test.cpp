#include "core/exports/output_sink.h"

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

// The viewer never looked at write errors and announced a cut-off file as done.
TEST(OutputSinkTest, FullDiskIsAFailure) {
  OutputSink sink;
  if (!openOutputFile("/dev/full", &sink)) GTEST_SKIP() << "no /dev/full";
  sinkLine(&sink, "does not fit");
  EXPECT_FALSE(closeOutputFile(&sink));
  OutputSink big;
  ASSERT_TRUE(openOutputFile("/dev/full", &big));
  sinkAppend(&big, std::string(3u << 20, 'x'));  // fails already while flushing
  EXPECT_TRUE(big.failed);
  EXPECT_FALSE(closeOutputFile(&big));
}

}  // namespace
