// The reading thread: one file after the other in item order, folded into chunks
// that are handed over as they fill up.
#include "core/search/code_reader.h"

#include <utility>

#include "core/codeview/code_file.h"

namespace {

CodeChunk newChunk(size_t firstItem) {
  CodeChunk chunk;
  chunk.firstItem = firstItem;
  chunk.starts.reserve(kCodeChunkItems);
  chunk.folded.reserve(kCodeChunkBytes + (64 << 10));
  return chunk;
}

void handOver(CodeReader* reader, CodeChunk&& chunk, size_t itemsDone, bool finished) {
  // The last file of a chunk may have doubled its room; the buffer keeps chunks for
  // the whole run, so they keep no more than they hold.
  if (chunk.folded.capacity() > chunk.folded.size() + chunk.folded.size() / 8) chunk.folded.shrink_to_fit();
  bool wake = false;
  {
    std::lock_guard<std::mutex> hold(reader->lock);
    if (reader->cancel) return;
    reader->ready.push_back(std::move(chunk));
    reader->progress.itemsDone = itemsDone;
    reader->progress.finished = finished;
    wake = !reader->wakePending;
    reader->wakePending = true;
  }
  if (wake && reader->notify) reader->notify(reader->userData);
}

void readAll(CodeReader* reader, std::vector<std::string> paths) {
  CodeChunk chunk = newChunk(0);
  CodeFileText file;
  for (size_t i = 0; i < paths.size(); ++i) {
    if (reader->cancel) return;
    appendCodeFile(&chunk, paths[i], &file);
    if (chunk.starts.size() >= kCodeChunkItems || chunk.folded.size() >= kCodeChunkBytes) {
      handOver(reader, std::move(chunk), i + 1, i + 1 == paths.size());
      chunk = newChunk(i + 1);
    }
  }
  if (!chunk.starts.empty() || paths.empty()) handOver(reader, std::move(chunk), paths.size(), true);
}

}  // namespace

void appendCodeFile(CodeChunk* chunk, const std::string& path, CodeFileText* scratch) {
  // The code file reader opens nothing but regular files and never waits on a FIFO,
  // so a reload never waits long for the file being read.
  bool readable = !path.empty() && readCodeFile(path, scratch);
  appendCodeSegment(chunk, readable ? &scratch->text : nullptr);
}

CodeReader::~CodeReader() { stopCodeReading(this); }

void stopCodeReading(CodeReader* reader) {
  reader->cancel = true;
  // The program error report ends the viewer from whichever thread faulted.
  if (reader->thread.joinable() && reader->thread.get_id() == std::this_thread::get_id()) reader->thread.detach();
  if (reader->thread.joinable()) reader->thread.join();
  std::lock_guard<std::mutex> hold(reader->lock);
  reader->ready.clear();
}

void startCodeReading(CodeReader* reader, std::vector<std::string> paths) {
  stopCodeReading(reader);
  {
    std::lock_guard<std::mutex> hold(reader->lock);
    reader->progress = CodeReadProgress{0, paths.size(), false};
    reader->wakePending = false;  // a wake-up of the stopped run may never be answered
  }
  reader->cancel = false;
  reader->thread = std::thread(readAll, reader, std::move(paths));
}

void takeCodeChunks(CodeReader* reader, std::vector<CodeChunk>* chunks, CodeReadProgress* progress) {
  std::lock_guard<std::mutex> hold(reader->lock);
  for (CodeChunk& chunk : reader->ready) chunks->push_back(std::move(chunk));
  reader->ready.clear();
  reader->wakePending = false;
  *progress = reader->progress;
}
