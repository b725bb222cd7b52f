// Buffered export output over a plain file descriptor.
#include "core/exports/output_sink.h"

#include <errno.h>
#include <unistd.h>

#include "core/settings/safe_write.h"

namespace {

// Big enough for any ordinary export to go out in one write; the duplicate protocol
// of a database full of repeats can be far larger and is written in pieces.
constexpr size_t kFlushSize = size_t{1} << 20;

void writeAll(OutputSink* sink) {
  const char* p = sink->buffer.data();
  size_t left = sink->buffer.size();
  while (left > 0 && !sink->failed) {
    ssize_t n = ::write(sink->fd, p, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      sink->failed = true;
      break;
    }
    p += n;
    left -= static_cast<size_t>(n);
  }
  sink->buffer.clear();
}

}  // namespace

bool openOutputFile(const std::string& path, OutputSink* sink) {
  struct stat st;
  bool exists = lstat(path.c_str(), &st) == 0;
  if (exists && !S_ISREG(st.st_mode) && !S_ISLNK(st.st_mode)) return false;
  removeStaleTemporaries(path);
  sink->replacesFile = exists && S_ISREG(st.st_mode);
  if (sink->replacesFile) sink->previous = st;
  int fd = createTemporaryBeside(path, sink->replacesFile ? 0600 : 0666, &sink->temporary);
  if (fd < 0) return false;
  sink->fd = fd;
  sink->path = path;
  sink->buffer.clear();
  sink->failed = false;
  return true;
}

void sinkAppend(OutputSink* sink, std::string_view text) {
  sink->buffer.append(text);
  if (sink->fd >= 0 && sink->buffer.size() >= kFlushSize) writeAll(sink);
}

void sinkLine(OutputSink* sink, std::string_view text) {
  sink->buffer.append(text);
  sinkAppend(sink, "\n");
}

bool closeOutputFile(OutputSink* sink) {
  if (sink->fd < 0) return !sink->failed;
  writeAll(sink);
  if (sink->failed) {
    discardTemporary(sink->fd, sink->temporary);
  } else if (!commitTemporary(sink->fd, sink->temporary, sink->path, sink->replacesFile ? &sink->previous : nullptr,
                              nullptr)) {
    sink->failed = true;
  }
  sink->fd = -1;
  return !sink->failed;
}
