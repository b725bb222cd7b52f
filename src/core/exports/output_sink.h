// Buffered output of the exports: text collects in memory and reaches the file in
// large writes, so a 100,000-entry export costs a handful of system calls. The
// export goes to a temporary file beside its own and takes that one's place only
// when complete, so a failed export never costs the previous file.
#pragma once

#include <sys/stat.h>

#include <string>
#include <string_view>

struct OutputSink {
  int fd = -1;  // -1: the text only collects in buffer (tests, benchmarks)
  std::string buffer;
  bool failed = false;    // a write went wrong; the file is incomplete
  std::string path;       // the file the export replaces
  std::string temporary;  // where the export is written until it is complete
  bool replacesFile = false;
  struct stat previous {};  // the replaced file, whose mode and owner carry over
};

// Starts the export of the file. False when it cannot be made, and for a path that
// holds anything but a regular file or a symbolic link (a fifo, device or folder).
bool openOutputFile(const std::string& path, OutputSink* sink);

void sinkAppend(OutputSink* sink, std::string_view text);
// The text followed by one LF: every line the exports write ends this way.
void sinkLine(OutputSink* sink, std::string_view text);

// Writes what is left and puts the file in place; a link in its place is replaced,
// not written through. False when any write failed, so a full disk is never
// reported as a finished export; the previous file then stays as it was.
bool closeOutputFile(OutputSink* sink);
