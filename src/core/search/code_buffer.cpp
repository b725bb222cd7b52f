// Scanning the folded code: one pass per chunk, items found by their starts.
#include "core/search/code_buffer.h"

#include <algorithm>

#include "core/app/search_text.h"

namespace {

size_t segmentBegin(const CodeChunk& chunk, size_t k) { return chunk.starts[k]; }
size_t segmentEnd(const CodeChunk& chunk, size_t k) {
  return k + 1 < chunk.starts.size() ? chunk.starts[k + 1] : chunk.folded.size();
}

// The chunk item whose segment holds byte `at`; empty segments share their start
// with the next one, so the last start not after `at` is the right one.
size_t itemAtByte(const CodeChunk& chunk, size_t at) {
  auto after = std::upper_bound(chunk.starts.begin(), chunk.starts.end(), static_cast<uint32_t>(at));
  return static_cast<size_t>(after - chunk.starts.begin()) - 1;
}

// Index of the chunk that holds the item; chunks.size() when none does.
size_t chunkIndexOf(const CodeBuffer& buffer, size_t item) {
  if (item >= buffer.itemsCovered) return buffer.chunks.size();
  auto after = std::upper_bound(buffer.chunks.begin(), buffer.chunks.end(), item,
                                [](size_t i, const CodeChunk& c) { return i < c.firstItem; });
  return after == buffer.chunks.begin() ? buffer.chunks.size() : static_cast<size_t>(after - buffer.chunks.begin()) - 1;
}

}  // namespace

void appendCodeSegment(CodeChunk* chunk, const std::string* code) {
  chunk->starts.push_back(static_cast<uint32_t>(chunk->folded.size()));
  // Offsets are 32 bits; the reader closes chunks long before, but one giant file
  // must not wrap them.
  if (!code || code->size() > UINT32_MAX / 2 - chunk->folded.size()) return;
  chunk->folded.push_back(';');
  appendFolded(*code, &chunk->folded);
  chunk->folded.push_back('\0');
}

bool addCodeChunk(CodeBuffer* buffer, CodeChunk&& chunk) {
  if (chunk.firstItem != buffer->itemsCovered) return false;
  buffer->itemsCovered += chunk.starts.size();
  if (!chunk.starts.empty()) buffer->chunks.push_back(std::move(chunk));
  return true;
}

std::string_view codeSegment(const CodeBuffer& buffer, size_t item) {
  size_t c = chunkIndexOf(buffer, item);
  if (c == buffer.chunks.size()) return {};
  const CodeChunk* chunk = &buffer.chunks[c];
  size_t k = item - chunk->firstItem;
  size_t begin = segmentBegin(*chunk, k), end = segmentEnd(*chunk, k);
  if (end == begin) return {};
  return std::string_view(chunk->folded).substr(begin, end - begin - 1);
}

int findCodeItem(const CodeBuffer& buffer, const SubstringFinder& needle, size_t from, size_t until) {
  if (needle.needle.empty()) return -1;
  until = std::min(until, buffer.itemsCovered);
  if (from >= until) return -1;
  for (size_t c = chunkIndexOf(buffer, from); c < buffer.chunks.size(); ++c) {
    const CodeChunk& chunk = buffer.chunks[c];
    if (chunk.firstItem >= until) break;
    size_t k = from > chunk.firstItem ? from - chunk.firstItem : 0;
    size_t at = findSubstring(needle, chunk.folded, segmentBegin(chunk, k));
    if (at == std::string_view::npos) continue;
    size_t item = chunk.firstItem + itemAtByte(chunk, at);
    return item < until ? static_cast<int>(item) : -1;
  }
  return -1;
}

void collectCodeItems(const CodeBuffer& buffer, const SubstringFinder& needle, std::vector<int>* items) {
  if (needle.needle.empty()) return;
  for (const CodeChunk& chunk : buffer.chunks) {
    size_t at = findSubstring(needle, chunk.folded, 0);
    while (at != std::string_view::npos) {
      size_t k = itemAtByte(chunk, at);
      items->push_back(static_cast<int>(chunk.firstItem + k));
      at = findSubstring(needle, chunk.folded, segmentEnd(chunk, k));
    }
  }
}

size_t codeBufferSize(const CodeBuffer& buffer) {
  size_t bytes = 0;
  for (const CodeChunk& chunk : buffer.chunks) bytes += chunk.folded.size();
  return bytes;
}

size_t codeBufferMemory(const CodeBuffer& buffer) {
  size_t bytes = buffer.chunks.capacity() * sizeof(CodeChunk);
  for (const CodeChunk& chunk : buffer.chunks)
    bytes += chunk.folded.capacity() + chunk.starts.capacity() * sizeof(uint32_t);
  return bytes;
}
