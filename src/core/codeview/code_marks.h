// What the code view puts into its buffer: the shown text with overlong lines cut,
// and the highlighter's marks placed on it, in text order, so that they can be
// applied a screen at a time.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/codeview/highlighter.h"

// Characters [start, end) of a text.
struct CharRange {
  int start = 0;
  int end = 0;
};

struct ShownCode {
  std::string text;                // UTF-8
  std::vector<CharRange> plain;    // the cut lines with their notes, in text order: never marked
  std::vector<CharRange> cutFrom;  // the same lines in the file's text
  std::string original;            // the file's text when a line was cut, else empty

  // The text the marks are found in: the file's, so that a cut line's quotes and
  // comments mark the lines after it as they would mark them uncut.
  const std::string& markedText() const { return plain.empty() ? text : original; }
};

// Code files are shown up to this size: the text is cut after its last whole line
// within it and a note line follows. A 20 MB file is shown whole within a second;
// beyond that, what the view holds (and the time and memory it takes) no longer
// grows with the file, and the rest of the file is not even decoded. The search
// and the external programs still get the whole file.
inline constexpr size_t kShownCodeBytes = size_t{24} << 20;
// The view keeps about a hundred bytes for every line besides its text, so a file
// of very short lines is cut by their number as well: a million lines take about
// half a second and 120 MB.
inline constexpr size_t kShownCodeLines = 1000000;
// Cuts `text` so when it is longer than `limit` bytes (a text without a line end
// there is cut at a character boundary) or has more than `lineLimit` lines. True
// when it was cut. The note names `fileBytes`, the size of the file: the length of
// its whole text is never known.
bool cutLongCodeText(std::string* text, size_t limit, size_t lineLimit, uint64_t fileBytes);
// The note behind a text cut after `shownBytes` of `allBytes`.
std::string longTextNote(size_t shownBytes, uint64_t allBytes);

// Cuts every line longer than kCodeLineLimit characters there and adds a note that
// gives its length. Lines end where the text buffer ends them.
ShownCode cutLongCodeLines(std::string text);
// The note behind a cut line of `chars` characters.
std::string longLineNote(size_t chars);

// The longest start of `text`, at most `most` bytes, that ends after a line end
// the next bytes cannot extend (a CR is not taken when an LF follows it): the text
// buffer takes it in one insertion and the rest in the next as if in one. 0 when
// there is none.
size_t wholeLinesPrefix(std::string_view text, size_t most);

// Bytes [start, end) of a text.
struct ByteRange {
  size_t start = 0;
  size_t end = 0;
  bool operator==(const ByteRange&) const = default;
};

// Where the buffer's text differs from ShownCode::text: each topic link target is
// one character there (the anchor of the link label). Found without the marks, so
// the view can take the text while the marks are still being computed.
struct PlacedLinks {
  std::vector<int> anchors;            // each link's anchor in the buffer's characters
  std::vector<ByteRange> targetBytes;  // the targets in ShownCode::text, left out of the buffer
  std::vector<CharRange> targets;      // the same in characters
};

// Links on cut lines are dropped; the others are those the highlighter finds.
PlacedLinks placeLinks(const ShownCode& code);
// placeLinks(code).targetBytes one after another, for the view to take the text in
// while the characters are counted elsewhere: when no line was cut, each is found as
// it is asked for, with no characters counted and no list made.
struct LinkTargetSearch {
  std::string_view text;
  std::vector<ByteRange> listed;  // placeLinks's when a line was cut: a cut line's markers stay text
  size_t next = 0;                // the next listed target, or the byte the search goes on from
};
LinkTargetSearch linkTargetSearch(const ShownCode& code);
// False when there is no target left.
bool nextLinkTarget(LinkTargetSearch& search, ByteRange* target);

// The highlighter's spans, computed over `code.markedText()`, moved to the placed
// text and sorted by start; marks on cut lines and on link targets are dropped.
std::vector<TagSpan> placeSpans(const ShownCode& code, std::vector<TagSpan> spans,
                                const std::vector<CharRange>& targets);
