// Non-blocking, size-bounded reading of regular files.
#include "core/app/regular_file.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <iterator>

namespace {

FileStatus statusOfType(const struct stat& st) { return S_ISREG(st.st_mode) ? FileStatus::Ok : FileStatus::NotRegular; }

FileStatus statusOfErrno() { return errno == ENOENT || errno == ENOTDIR ? FileStatus::Missing : FileStatus::Failed; }

// Reads up to limit + 1 bytes, so that a file past the limit is told apart.
FileStatus readBounded(int fd, uint64_t expected, uint64_t limit, std::string* bytes) {
  size_t used = 0;
  bytes->resize(static_cast<size_t>(std::min(expected, limit)) + 1);
  for (;;) {
    if (used == bytes->size()) {
      if (used > limit) return FileStatus::TooLarge;
      bytes->resize(static_cast<size_t>(std::min<uint64_t>(uint64_t{used} * 2, limit + 1)));
    }
    ssize_t n = read(fd, bytes->data() + used, bytes->size() - used);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return FileStatus::Failed;
    if (n == 0) break;
    used += static_cast<size_t>(n);
  }
  if (used > limit) return FileStatus::TooLarge;
  bytes->resize(used);
  return FileStatus::Ok;
}

}  // namespace

int openRegularFile(const std::string& path, FileStatus* status, uint64_t* size) {
  *size = 0;
  struct stat st;
  // The path's type first: opening some devices has effects of its own.
  if (stat(path.c_str(), &st) != 0) {
    *status = statusOfErrno();
    return -1;
  }
  if ((*status = statusOfType(st)) != FileStatus::Ok) return -1;
  // O_NONBLOCK: a fifo swapped in since the stat still opens at once, and fstat refuses it.
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) {
    *status = statusOfErrno();
    return -1;
  }
  if (fstat(fd, &st) != 0 || (*status = statusOfType(st)) != FileStatus::Ok) {
    if (*status == FileStatus::Ok) *status = FileStatus::Failed;
    close(fd);
    return -1;
  }
  *size = static_cast<uint64_t>(st.st_size);
  return fd;
}

FileStatus readRegularFile(const std::string& path, uint64_t limit, std::string* bytes, uint64_t* size) {
  bytes->clear();
  FileStatus status = FileStatus::Ok;
  uint64_t fileSize = 0;
  int fd = openRegularFile(path, &status, &fileSize);
  if (size) *size = fileSize;
  if (fd < 0) return status;
  if (fileSize > limit) {
    status = FileStatus::TooLarge;
  } else {
    status = readBounded(fd, fileSize, limit, bytes);
  }
  close(fd);
  if (status != FileStatus::Ok) std::string().swap(*bytes);
  if (status == FileStatus::TooLarge && size && *size <= limit) *size = limit + 1;  // it grew while read
  return status;
}

ssize_t readFull(int fd, char* buffer, size_t size) {
  size_t done = 0;
  while (done < size) {
    ssize_t n = read(fd, buffer + done, size - done);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      return -1;
    }
    done += static_cast<size_t>(n);
  }
  return static_cast<ssize_t>(done);
}

std::string byteSizeText(uint64_t bytes) {
  if (bytes < 1024) return std::to_string(bytes) + " bytes";
  static constexpr const char* kUnits[] = {"KiB", "MiB", "GiB", "TiB", "PiB", "EiB"};
  double value = static_cast<double>(bytes) / 1024;
  size_t unit = 0;
  while (value >= 1024 && unit + 1 < std::size(kUnits)) {
    value /= 1024;
    ++unit;
  }
  char text[32];
  snprintf(text, sizeof text, "%.1f %s", value, kUnits[unit]);
  return text;
}
