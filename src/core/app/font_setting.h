// Splitting the desktop's font setting ("DejaVu Sans 10") into family and size.
#pragma once

#include <string>
#include <string_view>

// The fields before a trailing non-zero number, joined by single blanks; the whole
// text when the last field is no such number.
std::string fontSettingFamily(std::string_view setting);
// The trailing number when it is not 0, else 10.
int fontSettingSize(std::string_view setting);
