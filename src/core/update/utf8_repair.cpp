// Replacing invalid UTF-8 byte sequences with U+FFFD.
#include "core/update/utf8_repair.h"

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// Length of the valid sequence that starts at `i`, 0 when the byte starts none.
// The allowed range of the second byte rules out overlong forms, surrogates and
// values above U+10FFFF.
size_t validSequenceLength(std::string_view s, size_t i) {
  unsigned char c = static_cast<unsigned char>(s[i]);
  if (c < 0x80) return 1;
  size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;
  if (c >= 0xC2 && c <= 0xDF)
    length = 2;
  else if (c == 0xE0)
    length = 3, low = 0xA0;
  else if (c == 0xED)
    length = 3, high = 0x9F;
  else if (c >= 0xE1 && c <= 0xEF)
    length = 3;
  else if (c == 0xF0)
    length = 4, low = 0x90;
  else if (c == 0xF4)
    length = 4, high = 0x8F;
  else if (c >= 0xF1 && c <= 0xF3)
    length = 4;
  else
    return 0;
  if (s.size() - i < length) return 0;
  unsigned char second = static_cast<unsigned char>(s[i + 1]);
  if (second < low || second > high) return 0;
  for (size_t k = 2; k < length; ++k)
    if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return 0;
  return length;
}

}  // namespace

std::string repairUtf8(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size());
  size_t i = 0;
  while (i < bytes.size()) {
    size_t length = validSequenceLength(bytes, i);
    if (length == 0) {
      text += kReplacement;
      ++i;
    } else {
      text += bytes.substr(i, length);
      i += length;
    }
  }
  return text;
}
