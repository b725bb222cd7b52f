#include "core/settings/safe_write.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <iterator>
#include <vector>

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

// Runs `save` in a child that may write the file but not create files beside it:
// as root, by becoming nobody; otherwise by locking the folder. Its exit status.
template <typename Save>
int saveWithLockedFolder(const ScratchFolder& dir, const std::string& path, Save save) {
  chmod(dir.path().c_str(), permissionsBindUs() ? 0555 : 0755);
  chmod(path.c_str(), 0666);
  pid_t child = fork();
  if (child == 0) {
    if (!permissionsBindUs() && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(3);
    _exit(save() ? 0 : 1);
  }
  int status = -1;
  waitpid(child, &status, 0);
  chmod(dir.path().c_str(), 0755);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Where no file can be made beside the settings file, it is rewritten in place,
// longer or shorter than before, and nothing is left behind.
TEST(SafeWrite, UnwritableFolderGetsTheFileRewrittenInPlace) {
  ScratchFolder dir;
  std::string path = dir.file("a.ini");
  writeBytes(path, "old");
  EXPECT_EQ(saveWithLockedFolder(dir, path, [&] { return replaceFileContent(path, "new and longer", nullptr); }), 0);
  EXPECT_EQ(readBytes(path), "new and longer");
  EXPECT_EQ(saveWithLockedFolder(dir, path, [&] { return replaceFileContent(path, "short", nullptr); }), 0);
  EXPECT_EQ(readBytes(path), "short");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

// A link to a device or fifo is refused and left exactly as it was.
TEST(SafeWrite, OnlyRegularFilesAreWritten) {
  ScratchFolder dir;
  std::string fifo = dir.file("fifo");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
  std::vector<std::string> targets = {fifo};
  // A null device of our own: should the refusal fail, nothing of the system is lost.
  if (mknod(dir.file("null").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) targets.push_back(dir.file("null"));
  for (const std::string& target : targets) {
    std::string link = dir.file("s.ini");
    unlink(link.c_str());
    ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
    std::string err;
    EXPECT_FALSE(replaceFileContent(link, "new", &err)) << target;
    EXPECT_NE(err.find("not a regular file"), std::string::npos);
    struct stat st;
    ASSERT_EQ(lstat(target.c_str(), &st), 0);
    EXPECT_FALSE(S_ISREG(st.st_mode)) << target;
    EXPECT_TRUE(std::filesystem::is_symlink(link));
  }
}

// After a save was killed half-way, the next one removes what it left; temporaries
// of a process still running and files of other names stay.
TEST(SafeWrite, StaleTemporariesAreRemovedOnTheNextSave) {
  ScratchFolder dir;
  pid_t gone = fork();
  if (gone == 0) _exit(0);
  waitpid(gone, nullptr, 0);
  const std::string stale = dir.file(".a.ini.tmp" + std::to_string(gone) + "-0");
  const std::string running = dir.file(".a.ini.tmp1-0");
  const std::string other = dir.file(".a.ini.tmpnotes");
  for (const std::string& f : {stale, running, other}) writeBytes(f, "part");
  ASSERT_TRUE(replaceFileContent(dir.file("a.ini"), "new", nullptr));
  EXPECT_FALSE(std::filesystem::exists(stale));
  EXPECT_TRUE(std::filesystem::exists(running));
  EXPECT_TRUE(std::filesystem::exists(other));
}
