// Compares the one-pass highlighter with a plain model of the text buffer's
// repeated forward searches, on generated code, random tricky texts and the
// sample library.
#include "codeview/highlighter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "bench/code_generator.h"
#include "codeview/code_file.h"

namespace {

using Mask = uint8_t;
Mask bitOf(TagId t) { return static_cast<Mask>(1u << static_cast<int>(t)); }

std::u32string toChars(std::string_view s) {
  std::u32string out;
  for (size_t i = 0; i < s.size();) {
    unsigned char b = static_cast<unsigned char>(s[i]);
    int len = b < 0x80 ? 1 : b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : 2;
    char32_t c = len == 1 ? b : len == 2 ? (b & 0x1F) : len == 3 ? (b & 0x0F) : (b & 0x07);
    for (int k = 1; k < len; ++k) c = (c << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    out.push_back(c);
    i += static_cast<size_t>(len);
  }
  return out;
}

std::string toUtf8(std::u32string_view chars) {
  std::string out;
  for (char32_t c : chars) appendUtf8(&out, c);
  return out;
}

// A text buffer as the toolkit sees it: lines end at "\n", "\r", "\r\n" or U+2029,
// and a search looks at one line (with its line end) at a time.
struct ModelBuffer {
  std::u32string t;
  std::vector<Mask> tags;

  int size() const { return static_cast<int>(t.size()); }
  bool isBreak(int i) const { return t[i] == '\n' || t[i] == '\r' || t[i] == 0x2029; }
  bool word(int i) const { return i >= 0 && i < size() && isIdentifierChar(t[i]); }
  bool has(int i, Mask m) const { return i >= 0 && i < size() && (tags[i] & m); }
  void apply(int a, int b, TagId tag) {
    for (int i = a; i < b; ++i) tags[i] |= bitOf(tag);
  }
  int lineEnd(int i) const {
    while (i < size() && !isBreak(i)) ++i;
    return i;
  }
  // Start of the next line; the text's end when there is no next line.
  int forwardLine(int i) const {
    int e = lineEnd(i);
    if (e >= size()) return size();
    return e + (t[e] == '\r' && e + 1 < size() && t[e + 1] == '\n' ? 2 : 1);
  }
  int lineStart(int i) const {
    while (i > 0 && !isBreak(i - 1)) --i;
    return i;
  }
  int previousLineStart(int lineBegin) const {
    int q = lineBegin - 1;
    if (q > 0 && t[q] == '\n' && t[q - 1] == '\r') --q;
    return lineStart(q);
  }

  bool linesMatch(int start, const std::vector<std::u32string>& pieces, size_t k, int* a, int* b) const {
    if (k == pieces.size()) {
      *b = start;
      return true;
    }
    int next = forwardLine(start);
    if (next == start) return false;
    std::u32string_view line(t.data() + start, static_cast<size_t>(next - start));
    size_t found = k == 0 ? line.find(pieces[k]) : (line.starts_with(pieces[k]) ? 0 : std::u32string::npos);
    if (found == std::u32string::npos) return false;
    if (k == 0) *a = start + static_cast<int>(found);
    return linesMatch(start + static_cast<int>(found + pieces[k].size()), pieces, k + 1, a, b);
  }

  // The needle is broken after every "\n"; the first piece may lie anywhere in a line,
  // every later one must start the next line.
  bool search(std::u32string_view needle, int from, int* a, int* b) const {
    std::vector<std::u32string> pieces;
    size_t begin = 0;
    for (size_t i = 0; i < needle.size(); ++i) {
      if (needle[i] == '\n') {
        pieces.emplace_back(needle.substr(begin, i + 1 - begin));
        begin = i + 1;
      }
    }
    if (begin < needle.size()) pieces.emplace_back(needle.substr(begin));
    for (int line = from; line < size();) {
      if (linesMatch(line, pieces, 0, a, b)) return true;
      int next = forwardLine(line);
      if (next >= size()) return false;
      line = next;
    }
    return false;
  }
};

struct ModelResult {
  std::vector<Mask> tags;
  std::vector<std::string> names;
  std::vector<TopicLink> links;
  std::u32string linked;  // the text with every link target replaced by one anchor
};

void modelComments(ModelBuffer* m) {
  int a, b;
  for (int pos = 0; m->search(U";", pos, &a, &b);) {
    int begin = m->lineStart(a);
    int countFrom = begin == 0 ? 0 : m->previousLineStart(begin);
    int quotes = 0;
    for (int i = countFrom; i < a; ++i) quotes += m->t[i] == '"';
    if (quotes % 2 == 0) {
      m->apply(a, m->lineEnd(a), TagId::Disable);
      pos = m->forwardLine(a);
    } else {
      pos = a + 1;
    }
  }
}

void modelStrings(ModelBuffer* m) {
  int q1, b, q2;
  for (int pos = 0; m->search(U"\"", pos, &q1, &b);) {
    if (m->has(q1, bitOf(TagId::Disable))) {
      pos = q1 + 1;
      continue;
    }
    if (!m->search(U"\"", q1 + 1, &q2, &b)) break;
    m->apply(q1 + 1, q2, TagId::Literal);
    pos = q2 + 1;
  }
}

void modelConstants(ModelBuffer* m) {
  int h, b;
  for (int pos = 0; m->search(U"#", pos, &h, &b);) {
    if (!m->word(h - 1) && !m->has(h, bitOf(TagId::Disable))) {
      int e = h + 1;
      while (m->word(e)) ++e;
      m->apply(h, e, TagId::Constant);
      pos = e + 1;
    } else {
      pos = h + 2;
    }
  }
}

void modelKeywords(ModelBuffer* m, int codeMarks, std::vector<std::string>* names) {
  const std::string_view procedureKeywords = "Procedure;ProcedureC;ProcedureCDLL;ProcedureDLL";
  Mask blocks = bitOf(TagId::Disable) | bitOf(TagId::Literal);
  for (std::string_view keyword : keywordTable) {
    std::u32string k = toChars(keyword);
    int a, b, pos = 0;
    while (m->search(k, pos, &a, &b)) {
      bool accepted = !m->word(a - 1) && !m->has(a, blocks) && !m->word(b);
      if (accepted && codeMarks == 1) m->apply(a, b, TagId::FBold);
      if (accepted && codeMarks == 2) m->apply(a, b, TagId::BlueBold);
      if (accepted && procedureKeywords.find(keyword) != std::string_view::npos) {
        int blank, unused;
        if (!m->search(U" ", a, &blank, &unused)) break;
        int x = blank;
        while (x < m->size() && m->t[x] == ' ') ++x;
        int y = x;
        if (y < m->size()) ++y;
        while (m->word(y)) ++y;
        m->apply(x, y, TagId::Function);
        names->push_back(toUtf8(std::u32string_view(m->t).substr(x, y - x)));
        pos = y;
        continue;
      }
      pos = b;
    }
  }
}

void modelCalls(ModelBuffer* m, const std::vector<std::string>& names) {
  Mask blocks = bitOf(TagId::Disable) | bitOf(TagId::Literal) | bitOf(TagId::Function);
  for (const std::string& name : names) {
    if (name.empty()) continue;
    std::u32string n = toChars(name);
    int a, b;
    for (int pos = 0; m->search(n, pos, &a, &b); pos = b) {
      if (!m->word(a - 1) && !m->has(a, blocks) && !m->word(b)) m->apply(a, b, TagId::FuncCall);
    }
  }
}

// Works on the buffer as it changes: the target is replaced by an anchor and the
// search goes on one character after it.
void modelLinks(ModelBuffer* m, ModelResult* r) {
  std::u32string marker = toChars(kTopicLinkMarker);
  int shift = 0, a, b;
  for (int pos = 0; m->search(marker, pos, &a, &b);) {
    int end = m->lineEnd(b);
    std::u32string target = m->t.substr(b, end - b);
    r->links.push_back({b + shift, b + shift + static_cast<int>(target.size()), toUtf8(target)});
    m->t.replace(b, target.size(), U"\uFFFC");
    m->tags.erase(m->tags.begin() + b, m->tags.begin() + b + static_cast<int>(target.size()));
    m->tags.insert(m->tags.begin() + b, 0);
    shift += static_cast<int>(target.size()) - 1;
    pos = b + 1;
  }
  r->linked = m->t;
}

ModelResult runModel(std::string_view text, int codeMarks) {
  ModelBuffer m;
  m.t = toChars(text);
  m.tags.assign(m.t.size(), 0);
  ModelResult r;
  modelComments(&m);
  modelStrings(&m);
  modelConstants(&m);
  modelKeywords(&m, codeMarks, &r.names);
  modelCalls(&m, r.names);
  r.tags = m.tags;  // before the links change the text
  modelLinks(&m, &r);
  return r;
}

void expectSameAsModel(const std::string& text, int codeMarks) {
  SCOPED_TRACE(::testing::Message() << "mode " << codeMarks << ", text:\n" << text);
  ModelResult model = runModel(text, codeMarks);
  HighlightResult got = computeHighlight(text, codeMarks);
  std::u32string chars = toChars(text);
  std::vector<Mask> tags(chars.size(), 0);
  std::vector<int> lastEnd(kTagCount, -1);
  for (size_t i = 0; i < got.spans.size(); ++i) {
    const TagSpan& s = got.spans[i];
    ASSERT_TRUE(s.start < s.end && s.end <= static_cast<int>(chars.size()));
    for (int c = s.start; c < s.end; ++c) tags[c] |= bitOf(s.tag);
    if (i > 0) {  // sorted by start, then tag
      const TagSpan& p = got.spans[i - 1];
      ASSERT_TRUE(p.start < s.start || (p.start == s.start && p.tag < s.tag));
    }
    ASSERT_LT(lastEnd[static_cast<int>(s.tag)], s.start);  // one tag's spans never touch
    lastEnd[static_cast<int>(s.tag)] = s.end;
  }
  EXPECT_EQ(tags, model.tags);
  EXPECT_EQ(got.procedureNames, model.names);
  ASSERT_EQ(got.links.size(), model.links.size());
  for (size_t i = 0; i < got.links.size(); ++i) {
    EXPECT_EQ(got.links[i].start, model.links[i].start);
    EXPECT_EQ(got.links[i].end, model.links[i].end);
    EXPECT_EQ(got.links[i].target, model.links[i].target);
  }
  // Replacing the targets from the last to the first must give the model's text.
  for (size_t i = got.links.size(); i-- > 0;)
    chars.replace(got.links[i].start, got.links[i].end - got.links[i].start, U"\uFFFC");
  EXPECT_TRUE(chars == model.linked);
}

std::string randomText(std::mt19937* random, const std::vector<std::string>& pieces, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += pieces[(*random)() % pieces.size()];
  return text;
}

const std::vector<std::string> kTrickyPieces = {
    "\"", "\"", ";", ";", "#", "# ", " ", " ", "  ", "\n", "\n", "\n", "Procedure", "Procedure ",
    "ProcedureC ", "ProcedureDLL  ", "ProcedureReturn ", "Procedure.i ", "EndIf", "If", "End",
    "endif", "Foo", "Bar", "Foo(", "(1", "(", ")", ".", "x", "$", "_", "1", "ä", "Öl", "\t", ",",
    "#Foo", "And", "Or", "; Link to topic:   ", "Link", "Debug ", "é#"};

TEST(HighlighterModel, GeneratedCodeFiles) {
  for (uint32_t seed = 1; seed <= 12; ++seed) {
    std::string text = generateCodeFile(150, seed);
    expectSameAsModel(text, 1);
    expectSameAsModel(text, 2);
  }
}

TEST(HighlighterModel, RandomTrickyTexts) {
  std::mt19937 random(20240611);
  for (int round = 0; round < 4000; ++round) {
    std::string text = randomText(&random, kTrickyPieces, static_cast<int>(random() % 40));
    expectSameAsModel(text, 1 + round % 2);
    if (HasFailure()) return;
  }
}

// Denser in procedure keywords and names, so names of every shape meet their uses.
TEST(HighlighterModel, RandomProcedureTexts) {
  const std::vector<std::string> pieces = {"Procedure ", "Procedure", " ", "  ", "\n", "A", "B",
                                           "(", "\"", ";", "ProcedureC\t", ".l ", "A(", "ä", "#"};
  std::mt19937 random(77);
  for (int round = 0; round < 3000; ++round) {
    expectSameAsModel(randomText(&random, pieces, static_cast<int>(random() % 30)), 2);
    if (HasFailure()) return;
  }
}

// The reader never leaves "\r" in a text, but the buffer treats "\r", "\r\n" and
// U+2029 as line ends too, and so must the marks.
TEST(HighlighterModel, OtherLineEnds) {
  std::vector<std::string> pieces = kTrickyPieces;
  for (const char* end : {"\r", "\r\n", "\r\n", "\xE2\x80\xA9", "\xE2\x80\xA9"}) pieces.push_back(end);
  std::mt19937 random(5);
  for (int round = 0; round < 3000; ++round) {
    expectSameAsModel(randomText(&random, pieces, static_cast<int>(random() % 40)), 2);
    if (HasFailure()) return;
  }
}

TEST(HighlighterModel, SampleLibraryFiles) {
  std::filesystem::path root = std::filesystem::path(VL_SOURCE_DIR) / "data" / "sample-library";
  std::error_code ec;
  if (!std::filesystem::is_directory(root, ec)) GTEST_SKIP() << "no sample library";
  int files = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root, ec)) {
    std::string ext = entry.path().extension().string();
    if (ext != ".vl" && ext != ".vli" && ext != ".vlf") continue;
    CodeFileText code;
    ASSERT_TRUE(readCodeFile(entry.path().string(), &code)) << entry.path();
    expectSameAsModel(code.text, 2);
    ++files;
  }
  if (files == 0) GTEST_SKIP() << "the sample library holds no code files yet";
}

}  // namespace
