// The marks of the code view: comments, strings, constants, keywords, procedure
// names and their calls, and topic link lines, as spans over the shown text.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

// The text tags in the order they are created; a later tag wins where two overlap.
enum class TagId { BlueBold, FBold, Constant, Function, FuncCall, Literal, Disable };
inline constexpr int kTagCount = 7;

// The tag's name in the text buffer.
const char* tagName(TagId tag);

// Offsets are characters (Unicode code points) of the text; end is exclusive.
struct TagSpan {
  int start = 0;
  int end = 0;
  TagId tag = TagId::Disable;
  bool operator==(const TagSpan&) const = default;
};

// The target runs from right after the marker to the end of its line.
struct TopicLink {
  int start = 0;
  int end = 0;
  std::string target;  // UTF-8
};

struct HighlightResult {
  std::vector<TagSpan> spans;               // spans of one tag never touch; sorted by start, then tag
  std::vector<std::string> procedureNames;  // UTF-8, in the order found
  std::vector<TopicLink> links;             // in text order
};

// The marker that starts a topic link; the rest of its line is the target.
inline constexpr std::string_view kTopicLinkMarker = "; Link to topic:   ";

extern const std::array<std::string_view, 109> keywordTable;

// "$", "0"-"9", "A"-"Z", "_" and "a"-"z"; nothing else, no non-ASCII letter.
bool isIdentifierChar(char32_t c);
// Tests the first character of the text; the empty text is no word character.
bool isIdentifierChar(std::string_view text);
// One of "Procedure", "ProcedureC", "ProcedureCDLL", "ProcedureDLL".
bool isProcedureKeyword(std::string_view keyword);

// Marks the text (UTF-8, no NUL) as the code view shows it. codeMarks 1 gives
// keywords "FBold", 2 gives "BlueBold"; 0 marks nothing at all. Lines end at "\n",
// "\r", "\r\n" and U+2029, as in the text buffer.
HighlightResult computeHighlight(std::string_view utf8Text, int codeMarks);
// Its spans alone, for a view that finds the links itself (placeLinks): the
// links' own strings would cost a big file time and memory on the way.
std::vector<TagSpan> computeSpans(std::string_view utf8Text, int codeMarks);
