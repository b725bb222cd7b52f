// UTF-8 validation and the ISO 8859-1 conversion.
#include "core/settings/text_encoding.h"

namespace {

// Length of the sequence a lead byte starts, 0 for a byte that cannot lead.
int sequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

// The second byte of E0, ED, F0 and F4 sequences has a narrower range, which
// rules out overlong forms, surrogates and code points above U+10FFFF.
bool secondByteFits(unsigned char lead, unsigned char second) {
  unsigned char low = 0x80, high = 0xBF;
  if (lead == 0xE0) low = 0xA0;
  if (lead == 0xED) high = 0x9F;
  if (lead == 0xF0) low = 0x90;
  if (lead == 0xF4) high = 0x8F;
  return second >= low && second <= high;
}

}  // namespace

bool isValidUtf8(std::string_view bytes) {
  size_t i = 0;
  while (i < bytes.size()) {
    unsigned char lead = static_cast<unsigned char>(bytes[i]);
    int len = sequenceLength(lead);
    if (len == 0 || i + len > bytes.size()) return false;
    for (int k = 1; k < len; ++k) {
      unsigned char c = static_cast<unsigned char>(bytes[i + k]);
      bool fits = k == 1 ? secondByteFits(lead, c) : (c & 0xC0) == 0x80;
      if (!fits) return false;
    }
    i += len;
  }
  return true;
}

std::string latin1ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 8);
  for (char ch : bytes) {
    unsigned char b = static_cast<unsigned char>(ch);
    if (b < 0x80) {
      out += ch;
    } else {
      out += static_cast<char>(0xC0 | (b >> 6));
      out += static_cast<char>(0x80 | (b & 0x3F));
    }
  }
  return out;
}

std::string unmarkedTextToUtf8(std::string_view bytes) {
  return isValidUtf8(bytes) ? std::string(bytes) : latin1ToUtf8(bytes);
}
