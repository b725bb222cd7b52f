// UTF-8 decoding, validation and repair: the one place that says which bytes are
// well-formed, shared by the code-file reader, the highlighter, the search, the
// settings and language files and the downloaded version file.
#pragma once

#include <string>
#include <string_view>

// Length (1 to 4) of the well-formed UTF-8 sequence at s[i], with its code point in
// *cp; 0 when the bytes there begin none. Overlong forms, surrogates, values past
// U+10FFFF and sequences cut off by the end of `s` are not well-formed. Inline
// because every reader calls it once per character.
inline size_t utf8SequenceAt(std::string_view s, size_t i, char32_t* cp) {
  unsigned char b0 = static_cast<unsigned char>(s[i]);
  if (b0 < 0x80) {
    *cp = b0;
    return 1;
  }
  // The allowed range of the second byte rules out overlong forms (E0, F0),
  // surrogates (ED) and values past U+10FFFF (F4).
  unsigned char low = 0x80, high = 0xBF;
  size_t len = 0;
  char32_t c = 0;
  if (b0 < 0xC2 || b0 > 0xF4) return 0;
  if (b0 < 0xE0) {
    len = 2, c = b0 & 0x1F;
  } else if (b0 < 0xF0) {
    len = 3, c = b0 & 0x0F;
    low = b0 == 0xE0 ? 0xA0 : low;
    high = b0 == 0xED ? 0x9F : high;
  } else {
    len = 4, c = b0 & 0x07;
    low = b0 == 0xF0 ? 0x90 : low;
    high = b0 == 0xF4 ? 0x8F : high;
  }
  if (s.size() - i < len) return 0;
  unsigned char b1 = static_cast<unsigned char>(s[i + 1]);
  if (b1 < low || b1 > high) return 0;
  c = (c << 6) | (b1 & 0x3F);
  for (size_t k = 2; k < len; ++k) {
    unsigned char b = static_cast<unsigned char>(s[i + k]);
    if ((b & 0xC0) != 0x80) return 0;
    c = (c << 6) | (b & 0x3F);
  }
  *cp = c;
  return len;
}

// Hands each character of `s` to feed(char32_t); a byte that begins no well-formed
// sequence is handed over as `bad`, one per byte, so every input has a decoding and
// a broken sequence spoils nothing after it.
template <typename Feed>
void forEachUtf8Char(std::string_view s, char32_t bad, Feed&& feed) {
  size_t i = 0;
  while (i < s.size()) {
    char32_t c = 0;
    size_t len = utf8SequenceAt(s, i, &c);
    feed(len == 0 ? bad : c);
    i += len == 0 ? 1 : len;
  }
}

// The characters of `s`, decoded as forEachUtf8Char does.
std::u32string decodeUtf8(std::string_view s, char32_t bad);

// Writes the code point's UTF-8 form to out (room for 4 bytes); returns its length.
size_t encodeUtf8(char32_t c, char* out);
void appendUtf8(std::string* s, char32_t c);

// True when every byte belongs to a well-formed sequence.
bool isValidUtf8(std::string_view bytes);
// The bytes with every byte that begins no well-formed sequence replaced by U+FFFD;
// valid text comes back unchanged. For received text that must reach GTK, which
// takes valid UTF-8 only.
std::string repairUtf8(std::string_view bytes);
