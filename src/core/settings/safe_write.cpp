// Whole-file replacement through a temporary file and rename.
#include "core/settings/safe_write.h"

#include <errno.h>
#include <fcntl.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

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

// A name no other writer uses; O_EXCL in the caller guards against the rest.
std::string temporaryName(const std::string& target, int attempt) {
  return folderPart(target) + "." + filePart(target) + ".tmp" + std::to_string(getpid()) + "-" +
         std::to_string(attempt);
}

int openTemporary(const std::string& target, mode_t mode, std::string* tmpPath) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    *tmpPath = temporaryName(target, attempt);
    int fd = open(tmpPath->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

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

bool replaceFileContent(const std::string& path, std::string_view bytes, std::string* err) {
  std::string target;
  if (!resolveWriteTarget(path, &target)) {
    if (err) *err = errorText("cannot follow the link", path);
    return false;
  }
  struct stat old;
  bool existed = stat(target.c_str(), &old) == 0;
  std::string tmp;
  int fd = openTemporary(target, existed ? 0600 : 0666, &tmp);
  if (fd < 0) {
    if (err) *err = errorText("cannot create a file beside", target);
    return false;
  }
  bool ok = writeAll(fd, bytes) && (!existed || takeOverIdentity(fd, old)) && fsync(fd) == 0;
  if (!ok && err) *err = errorText("cannot write", tmp);
  if (close(fd) != 0 && ok) {
    ok = false;
    if (err) *err = errorText("cannot write", tmp);
  }
  if (ok && rename(tmp.c_str(), target.c_str()) != 0) {
    ok = false;
    if (err) *err = errorText("cannot replace", target);
  }
  if (!ok) {
    unlink(tmp.c_str());
    return false;
  }
  syncFolder(target);
  return true;
}
