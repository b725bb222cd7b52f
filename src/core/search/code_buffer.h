// The folded code of the library's entries in tree order, as the code search scans
// it. It grows in chunks while the code is read in the background; a chunk is never
// copied or moved in memory once handed over, so the buffer needs no room to grow.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/search/substring_finder.h"

// The folded code of items firstItem .. firstItem + starts.size() - 1. An item with
// code holds ";" + its folded code + NUL (no term holds a NUL, so no match runs into
// the next item); an item without a readable code file holds nothing.
struct CodeChunk {
  size_t firstItem = 0;
  std::vector<uint32_t> starts;  // item firstItem + k begins at starts[k]
  std::string folded;
};

// Appends the next item's segment: `code` is the text the code view shows, or
// nullptr when the item has no code to search.
void appendCodeSegment(CodeChunk* chunk, const std::string* code);

struct CodeBuffer {
  std::vector<CodeChunk> chunks;
  size_t itemsCovered = 0;  // items below this have been read (with or without code)
};

// Takes the chunk when it continues the buffer; a chunk of another run is refused.
bool addCodeChunk(CodeBuffer* buffer, CodeChunk&& chunk);

// The item's folded segment (";" + code, without the NUL); empty when the item has
// no code or has not been read yet.
std::string_view codeSegment(const CodeBuffer& buffer, size_t item);

// The first item in [from, until) whose segment holds the folded needle; -1 if none.
int findCodeItem(const CodeBuffer& buffer, const SubstringFinder& needle, size_t from, size_t until);
// Every item whose segment holds the folded needle, in order, appended to *items.
void collectCodeItems(const CodeBuffer& buffer, const SubstringFinder& needle, std::vector<int>* items);

// Bytes of folded code held and bytes of memory taken for it.
size_t codeBufferSize(const CodeBuffer& buffer);
size_t codeBufferMemory(const CodeBuffer& buffer);
