// Telling UTF-8 from ISO 8859-1 in files that carry no byte-order mark.
#pragma once

#include <string>
#include <string_view>

// Every byte 0x80..0xFF becomes its two-byte UTF-8 form.
std::string latin1ToUtf8(std::string_view bytes);
// A file without mark: valid UTF-8 is kept as it is, anything else is ISO 8859-1.
std::string unmarkedTextToUtf8(std::string_view bytes);
