// The ISO 8859-1 conversion of files without a byte-order mark.
#include "core/settings/text_encoding.h"

#include "core/text/utf8.h"

std::string latin1ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 8);
  for (char ch : bytes) appendUtf8(&out, static_cast<unsigned char>(ch));
  return out;
}

std::string unmarkedTextToUtf8(std::string_view bytes) {
  return isValidUtf8(bytes) ? std::string(bytes) : latin1ToUtf8(bytes);
}
