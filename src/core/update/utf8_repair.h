// Making received bytes safe to show: the version file comes from the network and
// its text ends up in GTK entries, which accept valid UTF-8 only.
#pragma once

#include <string>
#include <string_view>

// The bytes with every byte that does not begin a complete, shortest-form UTF-8
// sequence of a Unicode scalar value replaced by U+FFFD. Valid text is unchanged.
std::string repairUtf8(std::string_view bytes);
