#include "core/settings/safe_write.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "core/settings/test_files.h"

TEST(SafeWrite, FollowsLinkChainsAndRefusesLoops) {
  ScratchFolder dir;
  ASSERT_FALSE(dir.path().empty());
  std::filesystem::create_directory(dir.file("sub"));
  writeBytes(dir.file("sub/real.ini"), "x");
  ASSERT_EQ(symlink("sub/real.ini", dir.file("hop1").c_str()), 0);  // relative to the link's folder
  ASSERT_EQ(symlink(dir.file("hop1").c_str(), dir.file("hop2").c_str()), 0);
  std::string target;
  ASSERT_TRUE(resolveWriteTarget(dir.file("hop2"), &target));
  EXPECT_EQ(target, dir.file("sub/real.ini"));

  ASSERT_EQ(symlink("gone.ini", dir.file("dangling").c_str()), 0);
  ASSERT_TRUE(resolveWriteTarget(dir.file("dangling"), &target));
  EXPECT_EQ(target, dir.file("gone.ini"));

  ASSERT_EQ(symlink("loopB", dir.file("loopA").c_str()), 0);
  ASSERT_EQ(symlink("loopA", dir.file("loopB").c_str()), 0);
  EXPECT_FALSE(resolveWriteTarget(dir.file("loopA"), &target));
  std::string err;
  EXPECT_FALSE(replaceFileContent(dir.file("loopA"), "data", &err));
  EXPECT_FALSE(err.empty());
}

TEST(SafeWrite, ReplacesWholeKeepingModeAndLeavesNoTemporaryFile) {
  ScratchFolder dir;
  std::string path = dir.file("a.ini");
  writeBytes(path, "old content that is longer than the new one");
  ASSERT_EQ(chmod(path.c_str(), 0640), 0);
  std::string err;
  ASSERT_TRUE(replaceFileContent(path, "new", &err)) << err;
  EXPECT_EQ(readBytes(path), "new");
  EXPECT_EQ(permissionBits(path), 0640u);
  int files = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir.path())) {
    EXPECT_EQ(e.path().filename(), "a.ini");
    ++files;
  }
  EXPECT_EQ(files, 1);
}

TEST(SafeWrite, NewFileGetsUmaskModeAndMissingFolderFails) {
  ScratchFolder dir;
  mode_t old = umask(022);
  std::string err;
  bool created = replaceFileContent(dir.file("new.ini"), "n", &err);
  umask(old);
  ASSERT_TRUE(created) << err;
  EXPECT_EQ(permissionBits(dir.file("new.ini")), 0644u);
  EXPECT_FALSE(replaceFileContent(dir.file("no/such/folder.ini"), "n", &err));
  EXPECT_FALSE(std::filesystem::exists(dir.file("no")));
}

TEST(SafeWrite, UnwritableFolderLeavesOldFileIntact) {
  if (!permissionsBindUs()) GTEST_SKIP() << "root ignores the folder's permission bits";
  ScratchFolder dir;
  std::filesystem::create_directory(dir.file("locked"));
  std::string path = dir.file("locked/a.ini");
  writeBytes(path, "precious");
  ASSERT_EQ(chmod(dir.file("locked").c_str(), 0555), 0);
  std::string err;
  EXPECT_FALSE(replaceFileContent(path, "new", &err));
  chmod(dir.file("locked").c_str(), 0755);
  EXPECT_EQ(readBytes(path), "precious");
}
