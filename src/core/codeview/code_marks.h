// What the code view puts into its buffer: the shown text with overlong lines cut,
// and the highlighter's marks placed on it, in text order, so that they can be
// applied a screen at a time.
#pragma once

#include <string>
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

// Cuts every line longer than kCodeLineLimit characters there and adds a note that
// gives its length. Lines end where the text buffer ends them.
ShownCode cutLongCodeLines(std::string text);
// The note behind a cut line of `chars` characters.
std::string longLineNote(size_t chars);

// The marks as the buffer gets them: each topic link target is one placeholder
// character (U+FFFC, where the link label's anchor goes), and every offset is one
// of that text.
struct PlacedMarks {
  std::string text;
  std::vector<TagSpan> spans;    // sorted by start; none on a cut line
  std::vector<TopicLink> links;  // start is the placeholder, end = start + 1
};

// `marks` were computed over `code.markedText()`; links and marks on cut lines are
// dropped.
PlacedMarks placeMarks(const ShownCode& code, const HighlightResult& marks);
