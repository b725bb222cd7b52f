// Whole-file replacement through a temporary file and rename.
#include "core/settings/safe_write.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "core/app/paths.h"

namespace {

// Linux gives up after 40 links as well.
constexpr int kMaxLinkHops = 40;

bool readLink(const std::string& link, std::string* out) {
  std::vector<char> buf(256);
  for (;;) {
    ssize_t n = readlink(link.c_str(), buf.data(), buf.size());
    if (n < 0) return false;
    if (static_cast<size_t>(n) < buf.size()) {
      out->assign(buf.data(), static_cast<size_t>(n));
      return true;
    }
    buf.resize(buf.size() * 2);
  }
}

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

std::string errorText(const char* what, const std::string& path) {
  return std::string(what) + " '" + path + "': " + strerror(errno);
}

constexpr std::string_view kTemporaryMark = ".tmp";

// "." + name + ".tmp" + pid + "-" + attempt: hidden, and telling which process made it.
std::string temporaryPrefix(const std::string& target) { return "." + filePart(target) + std::string(kTemporaryMark); }

std::string temporaryName(const std::string& target, int attempt) {
  return folderPart(target) + temporaryPrefix(target) + std::to_string(getpid()) + "-" + std::to_string(attempt);
}

// The process that made a temporary of ours by its name, 0 when the name is not ours.
pid_t temporaryOwner(std::string_view name, std::string_view prefix) {
  if (!name.starts_with(prefix)) return 0;
  name.remove_prefix(prefix.size());
  size_t dash = name.find('-');
  if (dash == 0 || dash == std::string_view::npos || dash + 1 == name.size()) return 0;
  if (name.find_first_not_of("0123456789-") != std::string_view::npos) return 0;
  long pid = std::strtol(std::string(name.substr(0, dash)).c_str(), nullptr, 10);
  return pid > 0 && pid <= INT32_MAX ? static_cast<pid_t>(pid) : 0;
}

bool processGone(pid_t pid) { return pid != getpid() && kill(pid, 0) != 0 && errno == ESRCH; }

// The rename is only durable once the folder itself is flushed.
void syncFolder(const std::string& target) {
  std::string folder = folderPart(target);
  int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

// Owner first: changing the owner may clear set-id bits that fchmod then restores.
bool takeOverIdentity(int fd, const struct stat& old) {
  if (old.st_uid != geteuid() || old.st_gid != getegid()) {
    // Only root may give a file away; when that fails the bits still carry over.
    int given = fchown(fd, old.st_uid, old.st_gid);
    (void)given;
  }
  return fchmod(fd, old.st_mode & 07777) == 0;
}

bool replaceThroughTemporary(const std::string& target, std::string_view bytes, const struct stat* old,
                             std::string* err) {
  std::string tmp;
  int fd = createTemporaryBeside(target, old ? 0600 : 0666, &tmp);
  if (fd < 0) {
    if (err) *err = errorText("cannot create a file beside", target);
    return false;
  }
  if (!writeAll(fd, bytes)) {
    if (err) *err = errorText("cannot write", tmp);
    discardTemporary(fd, tmp);
    return false;
  }
  return commitTemporary(fd, tmp, target, old, err);
}

// For a file in a folder we may not create files in: the file itself is rewritten.
// Growth is reserved before the first byte is overwritten, so a full disk leaves the
// old content whole; the rest can no longer fail for want of space.
bool rewriteInPlace(const std::string& target, std::string_view bytes, std::string* err) {
  int fd = open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  struct stat st;
  if (fd < 0 || fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    if (err) *err = errorText("cannot rewrite", target);
    if (fd >= 0) close(fd);
    return false;
  }
  off_t size = static_cast<off_t>(bytes.size());
  int reserved = size > st.st_size ? posix_fallocate(fd, st.st_size, size - st.st_size) : 0;
  bool ok =
      reserved == 0 && lseek(fd, 0, SEEK_SET) == 0 && writeAll(fd, bytes) && ftruncate(fd, size) == 0 && fsync(fd) == 0;
  if (reserved != 0) errno = reserved;
  if (!ok && err) *err = errorText("cannot rewrite", target);
  if (close(fd) != 0 && ok) {
    ok = false;
    if (err) *err = errorText("cannot rewrite", target);
  }
  return ok;
}

}  // namespace

bool resolveWriteTarget(const std::string& path, std::string* target) {
  std::string current = path;
  for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
    struct stat st;
    if (lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
      *target = current;
      return true;
    }
    std::string link;
    if (!readLink(current, &link)) return false;
    current = (!link.empty() && link[0] == '/') ? link : folderPart(current) + link;
  }
  errno = ELOOP;
  return false;
}

int createTemporaryBeside(const std::string& target, mode_t mode, std::string* tmpPath) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    *tmpPath = temporaryName(target, attempt);
    int fd = open(tmpPath->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

void discardTemporary(int fd, const std::string& tmpPath) {
  close(fd);
  unlink(tmpPath.c_str());
}

bool commitTemporary(int fd, const std::string& tmpPath, const std::string& target, const struct stat* old,
                     std::string* err) {
  bool ok = (!old || takeOverIdentity(fd, *old)) && fsync(fd) == 0;
  if (!ok && err) *err = errorText("cannot write", tmpPath);
  if (close(fd) != 0 && ok) {
    ok = false;
    if (err) *err = errorText("cannot write", tmpPath);
  }
  if (ok && rename(tmpPath.c_str(), target.c_str()) != 0) {
    ok = false;
    if (err) *err = errorText("cannot replace", target);
  }
  if (!ok) {
    unlink(tmpPath.c_str());
    return false;
  }
  syncFolder(target);
  return true;
}

void removeStaleTemporaries(const std::string& target) {
  std::string folder = folderPart(target);
  DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
  if (dir == nullptr) return;
  const std::string prefix = temporaryPrefix(target);
  while (struct dirent* e = readdir(dir)) {
    pid_t owner = temporaryOwner(e->d_name, prefix);
    struct stat st;
    if (owner == 0 || !processGone(owner)) continue;
    if (fstatat(dirfd(dir), e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode)) {
      unlinkat(dirfd(dir), e->d_name, 0);
    }
  }
  closedir(dir);
}

bool replaceFileContent(const std::string& path, std::string_view bytes, std::string* err) {
  std::string target;
  if (!resolveWriteTarget(path, &target)) {
    if (err) *err = errorText("cannot follow the link", path);
    return false;
  }
  struct stat old;
  bool existed = stat(target.c_str(), &old) == 0;
  if (existed && !S_ISREG(old.st_mode)) {
    // A device, fifo or folder in the file's place is left alone, not replaced.
    if (err) *err = "not a regular file: '" + target + "'";
    return false;
  }
  removeStaleTemporaries(target);
  if (replaceThroughTemporary(target, bytes, existed ? &old : nullptr, err)) return true;
  return existed && rewriteInPlace(target, bytes, err);
}
