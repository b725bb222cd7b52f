// Reads and folds the library's code files on a thread of its own, so the viewer
// stays responsive while a large library is read. The thread touches no toolkit:
// it queues finished chunks and calls `notify`, which must only arrange for the
// owner's thread to call takeCodeChunks (the viewer writes to a pipe its main loop watches).
#pragma once

#include <atomic>
#include <cstddef>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/codeview/code_file.h"
#include "core/search/code_buffer.h"

struct CodeReadProgress {
  size_t itemsDone = 0;
  size_t itemCount = 0;
  bool finished = false;  // every item of the current run has been handed over
};

struct CodeReader {
  CodeReader() = default;
  CodeReader(const CodeReader&) = delete;
  CodeReader& operator=(const CodeReader&) = delete;
  ~CodeReader();

  void (*notify)(void* userData) = nullptr;  // called on the reading thread
  void* userData = nullptr;

  // Shared with the reading thread, under `lock`.
  std::mutex lock;
  std::vector<CodeChunk> ready;
  CodeReadProgress progress;
  bool wakePending = false;  // notify was called and the owner has not taken yet

  std::atomic<bool> cancel{false};
  std::thread thread;
};

// Chunks are closed at this many items or bytes, whichever comes first: small
// enough for a steady progress text, large enough to cost nothing to scan.
inline constexpr size_t kCodeChunkItems = 1000;
inline constexpr size_t kCodeChunkBytes = 1 << 20;

// Reads one item's code file (path "" for none) and appends its segment; a file
// that cannot be read, or is no plain file, leaves the segment empty.
void appendCodeFile(CodeChunk* chunk, const std::string& path, CodeFileText* scratch);

// Stops any run still going (waiting at most for the file being read), drops what
// it queued, and starts reading `paths` (one per item, "" for none) from item 0.
void startCodeReading(CodeReader* reader, std::vector<std::string> paths);
// Stops the run and drops what it queued; the progress is kept.
void stopCodeReading(CodeReader* reader);
// Moves the queued chunks, in item order, to *chunks and reports the progress.
void takeCodeChunks(CodeReader* reader, std::vector<CodeChunk>* chunks, CodeReadProgress* progress);
