// The marks of the code view: comments, strings, constants, keywords, procedure
// names and their calls, and topic link lines, as spans over the shown text.
//
// The marks must equal those of plain repeated forward searches (one scan of the
// text per keyword and per procedure name), but every step here is one pass: a
// keyword or a name only counts where it forms a whole word, and no earlier match
// of the same text can overlap such a place, so the whole words can be looked up
// in a table instead of searching the text once per entry.
#include "core/codeview/highlighter.h"

#include <algorithm>
#include <bitset>
#include <cstdint>
#include <cstring>
#include <string>
#include <unordered_set>

#include "core/text/fresh_memory.h"
#include "core/text/utf8.h"

const std::array<std::string_view, 109> keywordTable = {"And",
                                                        "Array",
                                                        "As",
                                                        "Break",
                                                        "CallDebugger",
                                                        "Case",
                                                        "CompilerCase",
                                                        "CompilerDefault",
                                                        "CompilerElse",
                                                        "CompilerElseIf",
                                                        "CompilerEndIf",
                                                        "CompilerEndSelect",
                                                        "CompilerError",
                                                        "CompilerIf",
                                                        "CompilerSelect",
                                                        "Continue",
                                                        "Data",
                                                        "DataSection",
                                                        "Debug",
                                                        "DebugLevel",
                                                        "Declare",
                                                        "DeclareC",
                                                        "DeclareCDLL",
                                                        "DeclareDLL",
                                                        "DeclareModule",
                                                        "Default",
                                                        "Define",
                                                        "Dim",
                                                        "DisableASM",
                                                        "DisableDebugger",
                                                        "DisableExplicit",
                                                        "Else",
                                                        "ElseIf",
                                                        "EnableASM",
                                                        "EnableDebugger",
                                                        "EnableExplicit",
                                                        "End",
                                                        "EndDataSection",
                                                        "EndDeclareModule",
                                                        "EndEnumeration",
                                                        "EndIf",
                                                        "EndImport",
                                                        "EndInterface",
                                                        "EndMacro",
                                                        "EndModule",
                                                        "EndProcedure",
                                                        "EndSelect",
                                                        "EndStructure",
                                                        "EndStructureUnion",
                                                        "EndWith",
                                                        "Enumeration",
                                                        "EnumerationBinary",
                                                        "Extends",
                                                        "FakeReturn",
                                                        "For",
                                                        "ForEach",
                                                        "ForEver",
                                                        "Global",
                                                        "Gosub",
                                                        "Goto",
                                                        "If",
                                                        "Import",
                                                        "ImportC",
                                                        "IncludeBinary",
                                                        "IncludeFile",
                                                        "IncludePath",
                                                        "Interface",
                                                        "List",
                                                        "Macro",
                                                        "MacroExpandedCount",
                                                        "Map",
                                                        "Module",
                                                        "NewList",
                                                        "NewMap",
                                                        "Next",
                                                        "Not",
                                                        "Or",
                                                        "Procedure",
                                                        "ProcedureC",
                                                        "ProcedureCDLL",
                                                        "ProcedureDLL",
                                                        "ProcedureReturn",
                                                        "Protected",
                                                        "Prototype",
                                                        "PrototypeC",
                                                        "ReDim",
                                                        "Read",
                                                        "Repeat",
                                                        "Restore",
                                                        "Return",
                                                        "Runtime",
                                                        "Select",
                                                        "Shared",
                                                        "Static",
                                                        "Step",
                                                        "Structure",
                                                        "StructureUnion",
                                                        "Swap",
                                                        "Threaded",
                                                        "To",
                                                        "UndefineMacro",
                                                        "Until",
                                                        "UnuseModule",
                                                        "UseModule",
                                                        "Wend",
                                                        "While",
                                                        "With",
                                                        "XIncludeFile",
                                                        "XOr"};

const char* tagName(TagId tag) {
  static const char* const kNames[kTagCount] = {"BlueBold", "FBold",   "Constant", "Function",
                                                "FuncCall", "Literal", "Disable"};
  return kNames[static_cast<int>(tag)];
}

namespace {

constexpr std::array<bool, 128> kWordChars = [] {
  std::array<bool, 128> table{};
  for (unsigned char c = '0'; c <= '9'; ++c) table[c] = true;
  for (unsigned char c = 'A'; c <= 'Z'; ++c) table[c] = true;
  for (unsigned char c = 'a'; c <= 'z'; ++c) table[c] = true;
  table['$'] = table['_'] = true;
  return table;
}();

}  // namespace

bool isIdentifierChar(char32_t c) { return c < 128 && kWordChars[c]; }

bool isIdentifierChar(std::string_view text) {
  return !text.empty() && isIdentifierChar(static_cast<char32_t>(static_cast<unsigned char>(text[0])));
}

bool isProcedureKeyword(std::string_view keyword) {
  return keyword == "Procedure" || keyword == "ProcedureC" || keyword == "ProcedureCDLL" || keyword == "ProcedureDLL";
}

namespace {

using Mask = uint8_t;
constexpr Mask bit(TagId t) { return static_cast<Mask>(1u << static_cast<int>(t)); }
constexpr Mask kBlocksWords = bit(TagId::Disable) | bit(TagId::Literal);
constexpr Mask kBlocksCalls = kBlocksWords | bit(TagId::Function);
constexpr size_t kLongestKeyword = 18;
constexpr std::string_view kParagraphSeparator = "\xE2\x80\xA9";  // U+2029, a line end in the text buffer

bool isWordByte(char c) { return isIdentifierChar(static_cast<char32_t>(static_cast<unsigned char>(c))); }
bool isContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The text being marked, well-formed UTF-8, with one tag bit set per byte (the
// bytes of a character carry the same bits). Every character the rules look at is
// ASCII, and no ASCII byte occurs inside a longer sequence, so the rules work on
// the bytes; offsets become characters only in the result.
struct Marking {
  std::string_view text;
  std::vector<Mask> tags;
  int size = 0;

  bool wordAt(int i) const { return i >= 0 && i < size && isWordByte(text[i]); }
  bool has(int i, Mask m) const { return i >= 0 && i < size && (tags[i] & m) != 0; }
  void mark(int from, int to, TagId tag) {
    for (int i = from; i < to; ++i) tags[i] |= bit(tag);
  }
  bool lineBreakAt(int i) const {
    char c = text[i];
    return c == '\n' || c == '\r' || (c == '\xE2' && text.substr(i, 3) == kParagraphSeparator);
  }
  int lineEnd(int from) const {
    while (from < size && !lineBreakAt(from)) ++from;
    return from;
  }
  int wordEnd(int from) const {
    while (wordAt(from)) ++from;
    return from;
  }
  // The byte after the character that starts at `i`.
  int charEnd(int i) const {
    do ++i;
    while (i < size && isContinuation(text[i]));
    return i;
  }
  std::string_view bytes(int from, int to) const {
    return text.substr(static_cast<size_t>(from), static_cast<size_t>(to - from));
  }
};

// A run of word characters [start, end).
struct Word {
  int start;
  int end;
};

template <typename Visit>
void forEachWord(const Marking& m, Visit&& visit) {
  for (int i = 0; i < m.size; ++i) {
    if (!isWordByte(m.text[i])) continue;
    int end = m.wordEnd(i + 1);
    visit(Word{i, end});
    i = end;
  }
}

// Where the strings and the constants may start, found while the comments are
// marked so the text is walked once for all three.
struct Places {
  std::vector<int> quotes;
  std::vector<int> hashes;
};

// A ";" is a comment when the double quotes from the start of the line before up to
// it are even: a quote count that is odd means the ";" lies inside a string. Quotes
// behind a comment's ";" count for the next line too.
void markCommentsAndFindPlaces(Marking* m, Places* places) {
  int previousLineQuotes = 0, quotes = 0, comment = -1;
  for (int i = 0; i <= m->size; ++i) {
    bool atEnd = i == m->size;  // the end of the text ends its last line
    char c = atEnd ? '\n' : m->text[i];
    if (c == '"') {
      ++quotes;
      places->quotes.push_back(i);
    } else if (c == '#') {
      places->hashes.push_back(i);
    } else if (c == ';') {
      if (comment < 0 && (previousLineQuotes + quotes) % 2 == 0) comment = i;
    } else if (c == '\n' || c == '\r' || (c == '\xE2' && m->lineBreakAt(i))) {
      if (comment >= 0) m->mark(comment, i, TagId::Disable);
      if (c == '\r' && i + 1 < m->size && m->text[i + 1] == '\n') ++i;
      previousLineQuotes = quotes;
      quotes = 0;
      comment = -1;
    }
  }
}

void markStrings(Marking* m, const std::vector<int>& quotes) {
  size_t q = 0;
  while (q < quotes.size()) {
    int open = quotes[q++];
    if (m->has(open, bit(TagId::Disable))) continue;
    if (q == quotes.size()) return;
    int close = quotes[q++];
    m->mark(open + 1, close, TagId::Literal);
  }
}

// The character right behind a constant is never looked at, nor the one behind a
// "#" that starts none. Skipping one byte skips that character: a "#" can only
// start a character.
void markConstants(Marking* m, const std::vector<int>& hashes) {
  int from = 0;
  for (int hash : hashes) {
    if (hash < from) continue;
    if (m->wordAt(hash - 1) || m->has(hash, bit(TagId::Disable))) {
      from = hash + 2;
      continue;
    }
    int end = m->wordEnd(hash + 1);
    m->mark(hash, end, TagId::Constant);
    from = end + 1;
  }
}

// Keywords by their first letter ("A" to "Z"), so a word is compared with a few
// candidates only.
const std::array<std::vector<int>, 26>& keywordsByFirstLetter() {
  static const std::array<std::vector<int>, 26> table = [] {
    std::array<std::vector<int>, 26> byLetter;
    for (size_t k = 0; k < keywordTable.size(); ++k)
      byLetter[static_cast<size_t>(keywordTable[k][0] - 'A')].push_back(static_cast<int>(k));
    return byLetter;
  }();
  return table;
}

// Index of the keyword the word is, or -1.
int keywordOf(const Marking& m, Word w) {
  char first = m.text[static_cast<size_t>(w.start)];
  size_t len = static_cast<size_t>(w.end - w.start);
  if (first < 'A' || first > 'Z' || len > kLongestKeyword) return -1;
  std::string_view word = m.bytes(w.start, w.end);
  for (int k : keywordsByFirstLetter()[static_cast<size_t>(first - 'A')]) {
    if (keywordTable[static_cast<size_t>(k)] == word) return k;
  }
  return -1;
}

// The name after a procedure keyword at `start`: from the first non-blank after the
// next blank over the word characters behind it. False when no blank follows.
// `blank` only moves forward, since the keyword's places are visited in order.
bool procedureNameAt(const Marking& m, int start, int* blank, Word* name) {
  if (*blank < start) *blank = start;
  while (*blank < m.size && m.text[*blank] != ' ') ++*blank;
  if (*blank >= m.size) return false;
  int first = *blank;
  while (first < m.size && m.text[first] == ' ') ++first;
  name->start = first;
  name->end = first < m.size ? m.wordEnd(m.charEnd(first)) : first;
  return true;
}

// One procedure keyword's scan: the search goes on behind the name, so a keyword
// between the keyword and the end of its name is skipped.
void markProcedures(Marking* m, const std::vector<Word>& places, TagId keywordTag, bool markKeywords,
                    std::vector<std::string>* names) {
  int resume = 0;
  int blank = 0;
  for (Word w : places) {
    if (w.start < resume || m->has(w.start, kBlocksWords)) continue;
    if (markKeywords) m->mark(w.start, w.end, keywordTag);
    Word name;
    if (!procedureNameAt(*m, w.start, &blank, &name)) return;
    m->mark(name.start, name.end, TagId::Function);
    names->emplace_back(m->bytes(name.start, name.end));
    resume = name.end;
  }
}

void markKeywords(Marking* m, int codeMarks, std::vector<std::string>* names) {
  bool markKeywords = codeMarks == 1 || codeMarks == 2;
  TagId keywordTag = codeMarks == 1 ? TagId::FBold : TagId::BlueBold;
  std::vector<std::vector<Word>> procedurePlaces(keywordTable.size());
  forEachWord(*m, [&](Word w) {
    int k = keywordOf(*m, w);
    if (k < 0) return;
    if (isProcedureKeyword(keywordTable[static_cast<size_t>(k)])) {
      procedurePlaces[static_cast<size_t>(k)].push_back(w);
    } else if (markKeywords && !m->has(w.start, kBlocksWords)) {
      m->mark(w.start, w.end, keywordTag);
    }
  });
  for (size_t k = 0; k < keywordTable.size(); ++k) {
    if (isProcedureKeyword(keywordTable[k])) markProcedures(m, procedurePlaces[k], keywordTag, markKeywords, names);
  }
}

// A name that starts with a line break other than "\n" can never be found by a
// search that matches line by line, unless the break is all there is of it.
bool findableName(std::string_view name) {
  if (name == "\r" || name == kParagraphSeparator) return true;
  return name[0] != '\r' && !name.starts_with(kParagraphSeparator);
}

// The declared names, looked up by views into them so no use is copied.
struct NameSet {
  std::unordered_set<std::string_view> words, others;  // by the kind of first character
  std::array<bool, 256> otherFirsts{};                 // first bytes of the others
  std::bitset<4096> wordShapes;                        // most words are no name; this rules them out cheaply

  static size_t shape(std::string_view w) {
    return (w.size() * 131 + size_t{static_cast<unsigned char>(w.front())} * 31 +
            static_cast<unsigned char>(w.back())) &
           4095;
  }
  bool mayBeWordName(std::string_view w) const { return wordShapes.test(shape(w)); }
  bool mayStartOther(char c) const { return otherFirsts[static_cast<unsigned char>(c)]; }

  explicit NameSet(const std::vector<std::string>& names) {
    for (const std::string& name : names) {
      if (name.empty() || !findableName(name)) continue;
      if (isWordByte(name[0])) {
        words.insert(name);
        wordShapes.set(shape(name));
      } else {
        others.insert(name);
        otherFirsts[static_cast<unsigned char>(name[0])] = true;
      }
    }
  }
};

// Calls: whole-word uses of a name outside comments, strings and declarations. A
// name may start with a non-word character; such a name can then only be used
// where that character follows a non-word character and the rest is a whole word.
void markCalls(Marking* m, const std::vector<std::string>& names) {
  if (names.empty()) return;
  NameSet set(names);
  forEachWord(*m, [&](Word w) {
    std::string_view word = m->bytes(w.start, w.end);
    if (!set.mayBeWordName(word) || m->has(w.start, kBlocksCalls)) return;
    if (set.words.count(word)) m->mark(w.start, w.end, TagId::FuncCall);
  });
  if (set.others.empty()) return;
  for (int a = 0; a < m->size; ++a) {
    if (!set.mayStartOther(m->text[a]) || m->wordAt(a - 1) || m->has(a, kBlocksCalls)) continue;
    int end = m->wordEnd(m->charEnd(a));
    if (set.others.count(m->bytes(a, end))) m->mark(a, end, TagId::FuncCall);
  }
}

// Counts characters up to a byte, moving forward only.
struct CharCounter {
  std::string_view text;
  size_t byte = 0;
  int chars = 0;
  int at(int to) {
    for (; byte < static_cast<size_t>(to); ++byte) chars += !isContinuation(text[byte]);
    return chars;
  }
};

void findLinks(const Marking& m, std::vector<TopicLink>* links) {
  CharCounter counter{m.text};
  size_t from = 0;
  while (true) {
    size_t at = m.text.find(kTopicLinkMarker, from);
    if (at == std::string_view::npos) return;
    int start = static_cast<int>(at + kTopicLinkMarker.size());
    int end = m.lineEnd(start);
    int startChar = counter.at(start);
    links->push_back({startChar, counter.at(end), std::string(m.bytes(start, end))});
    from = static_cast<size_t>(end);
  }
}

// Set bits of each mask; std::popcount is a library call on the baseline target.
constexpr std::array<uint8_t, 256> kBitCount = [] {
  std::array<uint8_t, 256> table{};
  for (int m = 1; m < 256; ++m) table[m] = static_cast<uint8_t>(table[m >> 1] + (m & 1));
  return table;
}();

// Runs of each tag, in the order of their starts (and of the tags at one start),
// in characters. The tags read as zeros afterwards.
std::vector<TagSpan> spansOf(Marking& m) {
  // Counted first: growing the list would touch about twice its memory, and fresh
  // memory costs more than the count.
  size_t count = 0;
  Mask before = 0;
  for (Mask tags : m.tags) {
    count += kBitCount[tags & ~before];
    before = tags;
  }
  std::vector<TagSpan> spans;
  reserveFresh(&spans, count);
  // The tags behind are given back while the spans take their place, so the two
  // are not held whole at once.
  ReleasedBehind tagsDone{reinterpret_cast<const char*>(m.tags.data())};
  before = 0;
  int chars = 0;  // characters before byte i
  for (int i = 0; i < m.size; before = m.tags[i++]) {
    if ((i & 0xFFFF) == 0) tagsDone.upTo(static_cast<size_t>(i));
    if (isContinuation(m.text[i])) continue;
    Mask starting = m.tags[i] & static_cast<Mask>(~before);
    for (int t = 0; starting != 0 && t < kTagCount; ++t) {
      Mask b = static_cast<Mask>(1u << t);
      if ((starting & b) == 0) continue;
      int endChars = chars;
      for (int end = i; end < m.size && (m.tags[end] & b); ++end) endChars += !isContinuation(m.text[end]);
      spans.push_back({chars, endChars, static_cast<TagId>(t)});
    }
    ++chars;
  }
  return spans;
}

// Mostly ASCII, which is checked eight bytes at a time.
bool wellFormed(std::string_view text) {
  size_t i = 0;
  while (i < text.size()) {
    uint64_t eight = 0;
    if (text.size() - i >= 8 && (std::memcpy(&eight, text.data() + i, 8), (eight & 0x8080808080808080u) == 0)) {
      i += 8;
      continue;
    }
    char32_t c = 0;
    size_t len = utf8SequenceAt(text, i, &c);
    if (len == 0) return false;
    i += len;
  }
  return true;
}

}  // namespace

namespace {

HighlightResult highlight(std::string_view utf8Text, int codeMarks, bool withLinks) {
  HighlightResult result;
  if (codeMarks == 0) return result;
  // A byte that begins no character counts as one character U+FFFD, as the text
  // buffer would show it.
  std::string repaired;
  if (!wellFormed(utf8Text)) utf8Text = repaired = repairUtf8(utf8Text);
  Marking m;
  m.text = utf8Text;
  m.size = static_cast<int>(utf8Text.size());
  reserveFresh(&m.tags, utf8Text.size());
  m.tags.assign(utf8Text.size(), 0);
  Places places;
  markCommentsAndFindPlaces(&m, &places);
  markStrings(&m, places.quotes);
  markConstants(&m, places.hashes);
  markKeywords(&m, codeMarks, &result.procedureNames);
  markCalls(&m, result.procedureNames);
  if (withLinks) findLinks(m, &result.links);
  result.spans = spansOf(m);
  return result;
}

}  // namespace

HighlightResult computeHighlight(std::string_view utf8Text, int codeMarks) {
  return highlight(utf8Text, codeMarks, true);
}

std::vector<TagSpan> computeSpans(std::string_view utf8Text, int codeMarks) {
  return highlight(utf8Text, codeMarks, false).spans;
}
