// The model of the code view's marking, as the text buffer's forward searches see it.
#include "highlight_model.h"

#include "core/text/utf8.h"

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

namespace {

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
    m->t = m->t.substr(0, b) + U'\uFFFC' + m->t.substr(end);
    m->tags.erase(m->tags.begin() + b, m->tags.begin() + b + static_cast<int>(target.size()));
    m->tags.insert(m->tags.begin() + b, 0);
    shift += static_cast<int>(target.size()) - 1;
    pos = b + 1;
  }
  r->linked = m->t;
}

}  // namespace

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
