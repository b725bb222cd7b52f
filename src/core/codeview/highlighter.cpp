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
#include <string>
#include <unordered_set>

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

bool isLineBreak(char32_t c) { return c == 0x2029 || (c <= '\r' && (c == '\n' || c == '\r')); }

// The text being marked with one tag bit set per character.
struct Marking {
  std::u32string text;  // one line feed more than `size` characters
  std::vector<Mask> tags;
  int size = 0;

  bool wordAt(int i) const { return i >= 0 && i < size && isIdentifierChar(text[i]); }
  bool has(int i, Mask m) const { return i >= 0 && i < size && (tags[i] & m) != 0; }
  void mark(int from, int to, TagId tag) {
    for (int i = from; i < to; ++i) tags[i] |= bit(tag);
  }
  int lineEnd(int from) const {
    while (from < size && !isLineBreak(text[from])) ++from;
    return from;
  }
  int wordEnd(int from) const {
    while (wordAt(from)) ++from;
    return from;
  }
  std::string utf8(int from, int to) const {
    std::string out;
    for (int i = from; i < to; ++i) appendUtf8(&out, text[i]);
    return out;
  }
};

// A run of word characters [start, end).
struct Word {
  int start;
  int end;
};

// Where the later steps have to look, found while the comments are marked so the
// text is walked once.
struct Places {
  std::vector<int> quotes;
  std::vector<int> hashes;
  std::vector<Word> words;
};

// A ";" is a comment when the double quotes from the start of the line before up to
// it are even: a quote count that is odd means the ";" lies inside a string. Quotes
// behind a comment's ";" count for the next line too.
void markCommentsAndFindPlaces(Marking* m, Places* places) {
  int previousLineQuotes = 0, quotes = 0, comment = -1, word = -1;
  places->words.reserve(static_cast<size_t>(m->size) / 4);
  for (int i = 0; i <= m->size; ++i) {
    char32_t c = m->text[i];  // the line feed behind the text ends the last line
    bool isWord = isIdentifierChar(c);
    if (isWord && word < 0) word = i;
    if (isWord) continue;
    if (word >= 0) places->words.push_back({word, i});
    word = -1;
    if (c == '"') {
      ++quotes;
      places->quotes.push_back(i);
    } else if (c == '#') {
      places->hashes.push_back(i);
    } else if (c == ';') {
      if (comment < 0 && (previousLineQuotes + quotes) % 2 == 0) comment = i;
    } else if (isLineBreak(c)) {
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
// "#" that starts none.
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
  char32_t first = m.text[w.start];
  size_t len = static_cast<size_t>(w.end - w.start);
  if (first < 'A' || first > 'Z' || len > kLongestKeyword) return -1;
  for (int k : keywordsByFirstLetter()[first - 'A']) {
    std::string_view keyword = keywordTable[static_cast<size_t>(k)];
    if (keyword.size() != len) continue;
    size_t i = 1;
    while (i < len && m.text[w.start + i] == static_cast<unsigned char>(keyword[i])) ++i;
    if (i == len) return k;
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
  name->end = first < m.size ? m.wordEnd(first + 1) : first;
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
    names->push_back(m->utf8(name.start, name.end));
    resume = name.end;
  }
}

void markKeywords(Marking* m, const std::vector<Word>& words, int codeMarks, std::vector<std::string>* names) {
  bool markKeywords = codeMarks == 1 || codeMarks == 2;
  TagId keywordTag = codeMarks == 1 ? TagId::FBold : TagId::BlueBold;
  std::vector<std::vector<Word>> procedurePlaces(keywordTable.size());
  for (Word w : words) {
    int k = keywordOf(*m, w);
    if (k < 0) continue;
    if (isProcedureKeyword(keywordTable[static_cast<size_t>(k)])) {
      procedurePlaces[static_cast<size_t>(k)].push_back(w);
    } else if (markKeywords && !m->has(w.start, kBlocksWords)) {
      m->mark(w.start, w.end, keywordTag);
    }
  }
  for (size_t k = 0; k < keywordTable.size(); ++k) {
    if (isProcedureKeyword(keywordTable[k])) markProcedures(m, procedurePlaces[k], keywordTag, markKeywords, names);
  }
}

// A name that starts with a line break other than "\n" can never be found by a
// search that matches line by line, unless the break is all there is of it.
bool findableName(const std::u32string& name) { return name.size() == 1 || (name[0] != '\r' && name[0] != 0x2029); }

// The declared names, looked up by views into the text so no use is copied.
struct NameSet {
  std::vector<std::u32string> chars;
  std::unordered_set<std::u32string_view> words, others;  // by the kind of first character
  std::unordered_set<char32_t> otherFirsts;
  std::array<bool, 128> asciiOtherFirsts{};
  std::bitset<4096> wordShapes;  // most words are no name; this rules them out cheaply

  static size_t shape(std::u32string_view w) { return (w.size() * 131 + size_t{w.front()} * 31 + w.back()) & 4095; }
  bool mayBeWordName(std::u32string_view w) const { return wordShapes.test(shape(w)); }

  bool mayStartOther(char32_t c) const { return c < 128 ? asciiOtherFirsts[c] : otherFirsts.count(c) != 0; }

  explicit NameSet(const std::vector<std::string>& names) {
    chars.reserve(names.size());
    for (const std::string& name : names) chars.push_back(decodeUtf8(name, 0xFFFD));
    for (const std::u32string& name : chars) {
      if (name.empty() || !findableName(name)) continue;
      if (isIdentifierChar(name[0])) {
        words.insert(name);
        wordShapes.set(shape(name));
      } else {
        others.insert(name);
        otherFirsts.insert(name[0]);
        if (name[0] < 128) asciiOtherFirsts[name[0]] = true;
      }
    }
  }
};

// Calls: whole-word uses of a name outside comments, strings and declarations. A
// name may start with a non-word character; such a name can then only be used
// where that character follows a non-word character and the rest is a whole word.
void markCalls(Marking* m, const std::vector<Word>& words, const std::vector<std::string>& names) {
  if (names.empty()) return;
  NameSet set(names);
  std::u32string_view text = m->text;
  for (Word w : words) {
    std::u32string_view word = text.substr(static_cast<size_t>(w.start), static_cast<size_t>(w.end - w.start));
    if (!set.mayBeWordName(word) || m->has(w.start, kBlocksCalls)) continue;
    if (set.words.count(word)) m->mark(w.start, w.end, TagId::FuncCall);
  }
  if (set.others.empty()) return;
  for (int a = 0; a < m->size; ++a) {
    if (!set.mayStartOther(m->text[a]) || m->wordAt(a - 1) || m->has(a, kBlocksCalls)) continue;
    int end = m->wordEnd(a + 1);
    if (set.others.count(text.substr(static_cast<size_t>(a), static_cast<size_t>(end - a))))
      m->mark(a, end, TagId::FuncCall);
  }
}

void findLinks(const Marking& m, std::vector<TopicLink>* links) {
  std::u32string marker(kTopicLinkMarker.begin(), kTopicLinkMarker.end());
  size_t from = 0;
  while (true) {
    size_t at = m.text.find(marker, from);
    if (at == std::u32string::npos) return;
    int start = static_cast<int>(at + marker.size());
    int end = m.lineEnd(start);
    links->push_back({start, end, m.utf8(start, end)});
    from = static_cast<size_t>(end);
  }
}

// Runs of each tag, in the order of their starts (and of the tags at one start).
std::vector<TagSpan> spansOf(const Marking& m) {
  std::vector<TagSpan> spans;
  Mask before = 0;
  for (int i = 0; i < m.size; before = m.tags[i++]) {
    Mask starting = m.tags[i] & static_cast<Mask>(~before);
    if (starting == 0) continue;
    for (int t = 0; t < kTagCount; ++t) {
      Mask b = static_cast<Mask>(1u << t);
      if ((starting & b) == 0) continue;
      int end = i + 1;
      while (end < m.size && (m.tags[end] & b)) ++end;
      spans.push_back({i, end, static_cast<TagId>(t)});
    }
  }
  return spans;
}

}  // namespace

HighlightResult computeHighlight(std::string_view utf8Text, int codeMarks) {
  HighlightResult result;
  if (codeMarks == 0) return result;
  Marking m;
  m.text = decodeUtf8(utf8Text, 0xFFFD);
  m.size = static_cast<int>(m.text.size());
  m.text.push_back('\n');
  m.tags.assign(m.text.size(), 0);
  Places places;
  markCommentsAndFindPlaces(&m, &places);
  markStrings(&m, places.quotes);
  markConstants(&m, places.hashes);
  markKeywords(&m, places.words, codeMarks, &result.procedureNames);
  markCalls(&m, places.words, result.procedureNames);
  findLinks(m, &result.links);
  result.spans = spansOf(m);
  return result;
}
