#include "core/app/regular_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/settings/test_files.h"

namespace {

// Files that are not what their names promise: each is refused at once, none is
// waited on and none is held in memory.
TEST(RegularFile, HostileFilesAreRefusedWithoutWaiting) {
  ScratchFolder dir;
  std::string fifo = dir.file("fifo.vl");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
  std::string toZero = dir.file("zero.html");
  ASSERT_EQ(symlink("/dev/zero", toZero.c_str()), 0);
  std::string giant = dir.file("giant.vl");
  int fd = open(giant.c_str(), O_WRONLY | O_CREAT, 0644);
  ASSERT_EQ(ftruncate(fd, off_t{64} << 30), 0);  // sparse: 64 GiB that take no disk
  close(fd);

  std::string bytes = "old";
  uint64_t size = 0;
  EXPECT_EQ(readRegularFile(fifo, kFileSizeLimit, &bytes), FileStatus::NotRegular);
  EXPECT_EQ(readRegularFile(toZero, kFileSizeLimit, &bytes), FileStatus::NotRegular);
  EXPECT_EQ(readRegularFile(dir.path(), kFileSizeLimit, &bytes), FileStatus::NotRegular);
  EXPECT_EQ(readRegularFile(dir.file("none"), kFileSizeLimit, &bytes), FileStatus::Missing);
  EXPECT_EQ(readRegularFile(giant, kFileSizeLimit, &bytes, &size), FileStatus::TooLarge);
  EXPECT_EQ(size, uint64_t{64} << 30);
  EXPECT_TRUE(bytes.empty());
  EXPECT_EQ(byteSizeText(size), "64.0 GiB");
}

TEST(RegularFile, ReadsUpToTheLimitExactly) {
  ScratchFolder dir;
  writeBytes(dir.file("a"), "12345");
  std::string bytes;
  EXPECT_EQ(readRegularFile(dir.file("a"), 5, &bytes), FileStatus::Ok);
  EXPECT_EQ(bytes, "12345");
  EXPECT_EQ(readRegularFile(dir.file("a"), 4, &bytes), FileStatus::TooLarge);
  writeBytes(dir.file("empty"), "");
  EXPECT_EQ(readRegularFile(dir.file("empty"), 4, &bytes), FileStatus::Ok);
  EXPECT_EQ(bytes, "");
  EXPECT_EQ(byteSizeText(812), "812 bytes");
  EXPECT_EQ(byteSizeText(uint64_t{256} << 20), "256.0 MiB");
}

}  // namespace
