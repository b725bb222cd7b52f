// The matching rule of the index search and the folded texts it runs over. The
// texts of one scope are folded once into one buffer, so a keystroke only folds
// the term and scans that buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/database/topic_node.h"

// Appends `utf8` folded for the caseless compare: code points below 256 go through
// the C library's lower-case table of the current locale, all others stay as they
// are. Bytes that are no valid UTF-8 are copied unchanged.
void appendFolded(std::string_view utf8, std::string* out);
std::string foldSearchText(std::string_view utf8);

// The locale's lower-case table as the fold uses it, read once for many texts.
struct FoldTable {
  char ascii[128];
  unsigned char latin1[256];  // the lower case of U+0000..U+00FF, cut to a byte
  bool asciiIsPlain;          // A-Z to a-z and nothing else: eight bytes are folded at once
  FoldTable();
};
void appendFolded(const FoldTable& table, std::string_view utf8, std::string* out);
std::string foldSearchText(const FoldTable& table, std::string_view utf8);

// The text item `item` is searched in: the row text, then by `mode` (0 the
// description in `language`, 1 nothing more, 2 the three titles and the three
// descriptions), joined with ";". A mode other than 0..2 searches like mode 0.
std::string searchedText(const IndexModel& index, size_t item, int mode, int language);

// The caseless rule on two plain texts: does `term` occur in `text`?
bool searchTextContains(std::string_view text, std::string_view term);

// The folded searched texts of every item, each followed by a NUL byte (no term
// holds one, so no match runs from one item into the next).
struct SearchBuffer {
  bool valid = false;
  int mode = 0;
  int language = 0;
  size_t itemCount = 0;
  uint64_t generation = 0;  // catches a rebuilt index that was not announced
  std::string folded;
  std::vector<size_t> starts;  // item i begins at starts[i]
};

void buildSearchBuffer(const IndexModel& index, int mode, int language, SearchBuffer* buffer);

// The same in steps, so the folding can wait until the window is shown and run
// between other work: folds the texts of up to `maxItems` more items, starting over
// when the buffer was begun for another index, mode or language. True once the
// buffer is complete (searchBufferCurrent).
bool foldSearchTexts(const IndexModel& index, int mode, int language, size_t maxItems, SearchBuffer* buffer);

// True when the buffer was built for this index, mode and language.
bool searchBufferCurrent(const SearchBuffer& buffer, const IndexModel& index, int mode, int language);

// The first item from `from` on whose searched text holds `term`; -1 when there is
// none or the term is empty. The buffer is rebuilt first when it is not current.
int findSearchItem(SearchBuffer* buffer, const IndexModel& index, int mode, int language, std::string_view term,
                   int from);

// Characters of the longest prefix of `term` found from the top (a prefix of a
// findable term is findable too); the whole term's count when it is found.
size_t longestFindablePrefix(SearchBuffer* buffer, const IndexModel& index, int mode, int language,
                             std::string_view term);
