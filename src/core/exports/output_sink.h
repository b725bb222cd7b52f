// Buffered output of the exports: text collects in memory and reaches the file in
// large writes, so a 100,000-entry export costs a handful of system calls.
#pragma once

#include <string>
#include <string_view>

struct OutputSink {
  int fd = -1;  // -1: the text only collects in buffer (tests, benchmarks)
  std::string buffer;
  bool failed = false;  // a write went wrong; the file is incomplete
};

// Creates or truncates the file. False when it cannot be created.
bool openOutputFile(const std::string& path, OutputSink* sink);

void sinkAppend(OutputSink* sink, std::string_view text);
// The text followed by one LF: every line the exports write ends this way.
void sinkLine(OutputSink* sink, std::string_view text);

// Writes what is left and closes the file. False when any write failed, so a full
// disk is never reported as a finished export.
bool closeOutputFile(OutputSink* sink);
