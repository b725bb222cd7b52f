#include "core/text/utf8.h"

std::u32string decodeUtf8(std::string_view s, char32_t bad) {
  // Never more characters than bytes; the one more is room for a line feed the
  // highlighter appends, so that does not copy the text again.
  std::u32string out(s.size() + 1, U'\0');
  size_t used = 0;
  forEachUtf8Char(s, bad, [&](char32_t c) { out[used++] = c; });
  out.resize(used);
  return out;
}

size_t encodeUtf8(char32_t c, char* out) {
  if (c < 0x80) {
    out[0] = static_cast<char>(c);
    return 1;
  }
  if (c < 0x800) {
    out[0] = static_cast<char>(0xC0 | (c >> 6));
    out[1] = static_cast<char>(0x80 | (c & 0x3F));
    return 2;
  }
  if (c < 0x10000) {
    out[0] = static_cast<char>(0xE0 | (c >> 12));
    out[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out[2] = static_cast<char>(0x80 | (c & 0x3F));
    return 3;
  }
  out[0] = static_cast<char>(0xF0 | (c >> 18));
  out[1] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
  out[2] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
  out[3] = static_cast<char>(0x80 | (c & 0x3F));
  return 4;
}

void appendUtf8(std::string* s, char32_t c) {
  char buffer[4];
  s->append(buffer, encodeUtf8(c, buffer));
}

bool isValidUtf8(std::string_view bytes) {
  size_t i = 0;
  char32_t c = 0;
  while (i < bytes.size()) {
    size_t len = utf8SequenceAt(bytes, i, &c);
    if (len == 0) return false;
    i += len;
  }
  return true;
}

std::string repairUtf8(std::string_view bytes) {
  constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
  std::string text;
  text.reserve(bytes.size());
  size_t i = 0;
  char32_t c = 0;
  while (i < bytes.size()) {
    size_t len = utf8SequenceAt(bytes, i, &c);
    if (len == 0) {
      text += kReplacement;
      ++i;
    } else {
      text += bytes.substr(i, len);
      i += len;
    }
  }
  return text;
}
