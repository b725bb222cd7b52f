// Scratch files and failure reports of the fuzz targets.
#include "fuzz_util.h"

#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <vector>

namespace {

std::vector<std::string>& scratchFiles() {
  static std::vector<std::string> files;
  return files;
}

// A run that ends normally leaves no scratch files behind.
void removeScratchFiles() {
  for (const std::string& path : scratchFiles()) unlink(path.c_str());
}

}  // namespace

std::string scratchPath(std::string_view name) {
  const char* dir = getenv("TMPDIR");
  std::string path = dir && *dir ? dir : "/tmp";
  path += "/vl-fuzz-" + std::to_string(getpid()) + "-" + std::string(name);
  if (scratchFiles().empty()) atexit(removeScratchFiles);
  scratchFiles().push_back(path);
  return path;
}

void writeScratchFile(const std::string& path, std::string_view bytes) {
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) fuzzFail("the scratch file cannot be created", __FILE__, __LINE__);
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0) fuzzFail("the scratch file cannot be written", __FILE__, __LINE__);
    done += static_cast<size_t>(n);
  }
  close(fd);
}

void fuzzFail(const char* what, const char* file, int line) {
  fprintf(stderr, "fuzz check failed: %s (%s:%d)\n", what, file, line);
  abort();
}
