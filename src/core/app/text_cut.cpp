#include "core/app/text_cut.h"

#include <algorithm>

#include "core/text/utf8.h"

namespace {

// Bytes of the character at text[i]; a byte that begins no well-formed sequence is
// one character of its own, so a broken sequence is never split further.
size_t charBytes(std::string_view text, size_t i) {
  char32_t cp = 0;
  return std::max<size_t>(utf8SequenceAt(text, i, &cp), 1);
}

}  // namespace

size_t utf8PrefixBytes(std::string_view text, size_t chars) {
  size_t i = 0;
  for (size_t n = 0; n < chars && i < text.size(); ++n) i += charBytes(text, i);
  return i;
}

size_t utf8CharCount(std::string_view text) {
  size_t n = 0;
  for (size_t i = 0; i < text.size(); i += charBytes(text, i)) ++n;
  return n;
}

std::string cutShownText(std::string_view text, size_t limit) {
  size_t keep = utf8PrefixBytes(text, limit);
  if (keep == text.size()) return std::string(text);
  return std::string(text.substr(0, keep)) + "\xE2\x80\xA6";  // "…"
}
