#include "core/app/text_cut.h"

namespace {

bool isContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Bytes of the character at text[i]: a lead byte with its continuation bytes (at
// most three), or one byte for anything else.
size_t charBytes(std::string_view text, size_t i) {
  unsigned char c = static_cast<unsigned char>(text[i]);
  size_t most = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
  size_t n = 1;
  while (n < most && i + n < text.size() && isContinuation(static_cast<unsigned char>(text[i + n]))) ++n;
  return n;
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
