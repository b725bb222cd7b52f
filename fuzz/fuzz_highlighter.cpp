// The highlighter on arbitrary text: every span lies inside the text, spans are in
// order and one tag's spans never touch, each tag starts where its rule says, and
// the marks, procedure names and links equal those of a plain model of the text
// buffer's repeated forward searches (the model the reference test uses).
#include <stddef.h>
#include <stdint.h>

#include <string>
#include <string_view>
#include <vector>

#include "core/codeview/code_file.h"
#include "core/codeview/highlighter.h"
#include "core/text/utf8.h"
#include "fuzz_util.h"
#include "tests/highlight_model.h"

namespace {

// Valid UTF-8 without NUL, as the text buffer hands it over: a byte that starts no
// well-formed sequence becomes "?", NUL a blank.
std::string bufferText(std::string_view bytes) {
  std::string text;
  for (size_t i = 0; i < bytes.size();) {
    size_t len = 1;
    while (len <= 4 && i + len <= bytes.size() && !isValidUtf8(bytes.substr(i, len))) ++len;
    if (len > 4 || i + len > bytes.size()) {
      text += '?';
      ++i;
      continue;
    }
    text += bytes[i] == '\0' ? std::string_view(" ") : bytes.substr(i, len);
    i += len;
  }
  return text;
}

// What each tag's rule puts at its first character.
void checkSpanStarts(const std::u32string& chars, const TagSpan& s, int codeMarks) {
  switch (s.tag) {
    case TagId::Disable:
      FUZZ_CHECK(chars[s.start] == ';');
      break;
    case TagId::Literal:
      FUZZ_CHECK(s.start > 0 && chars[s.start - 1] == '"');
      FUZZ_CHECK(static_cast<size_t>(s.end) < chars.size() && chars[s.end] == '"');
      break;
    case TagId::Constant:
      FUZZ_CHECK(chars[s.start] == '#');
      break;
    case TagId::FBold:
      FUZZ_CHECK(codeMarks == 1);
      break;
    case TagId::BlueBold:
      FUZZ_CHECK(codeMarks == 2);
      break;
    default:
      break;
  }
}

void checkSpans(const std::u32string& chars, const HighlightResult& got, int codeMarks, std::vector<Mask>* tags) {
  tags->assign(chars.size(), 0);
  std::vector<int> lastEnd(kTagCount, -1);
  for (size_t i = 0; i < got.spans.size(); ++i) {
    const TagSpan& s = got.spans[i];
    FUZZ_CHECK(s.start >= 0 && s.start < s.end && static_cast<size_t>(s.end) <= chars.size());
    if (i > 0) {
      const TagSpan& p = got.spans[i - 1];
      FUZZ_CHECK(p.start < s.start || (p.start == s.start && p.tag < s.tag));
    }
    FUZZ_CHECK(lastEnd[static_cast<int>(s.tag)] < s.start);
    lastEnd[static_cast<int>(s.tag)] = s.end;
    checkSpanStarts(chars, s, codeMarks);
    for (int c = s.start; c < s.end; ++c) (*tags)[c] |= bitOf(s.tag);
  }
}

void checkLinks(const std::u32string& chars, const HighlightResult& got, const ModelResult& model) {
  FUZZ_CHECK(got.links.size() == model.links.size());
  int previousEnd = -1;
  for (size_t i = 0; i < got.links.size(); ++i) {
    const TopicLink& l = got.links[i];
    FUZZ_CHECK(l.start > previousEnd && l.start <= l.end && static_cast<size_t>(l.end) <= chars.size());
    FUZZ_CHECK(l.target == toUtf8(std::u32string_view(chars).substr(l.start, l.end - l.start)));
    FUZZ_CHECK(l.start == model.links[i].start && l.end == model.links[i].end);
    FUZZ_CHECK(l.target == model.links[i].target);
    previousEnd = l.end;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const int codeMarks = data[0] % 3;
  std::string_view raw(reinterpret_cast<const char*>(data) + 1, size - 1);

  // Whatever the bytes, marking must not fail.
  (void)computeHighlight(raw.substr(0, raw.find('\0')), 1 + codeMarks % 2);

  std::string text = bufferText(raw);
  HighlightResult got = computeHighlight(text, codeMarks);
  if (codeMarks == 0) {
    FUZZ_CHECK(got.spans.empty() && got.procedureNames.empty() && got.links.empty());
    return 0;
  }
  std::u32string chars = toChars(text);
  std::vector<Mask> tags;
  checkSpans(chars, got, codeMarks, &tags);
  ModelResult model = runModel(text, codeMarks);
  FUZZ_CHECK(tags == model.tags);
  FUZZ_CHECK(got.procedureNames == model.names);
  checkLinks(chars, got, model);
  return 0;
}
