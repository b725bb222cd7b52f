// Cutting texts before the toolkit lays them out. Laying out one line costs more
// than its length (tabs, long runs of marks, combining characters), so a text shown
// in one line (tree rows, labels, titles, fields) and each line of the code view
// has a length past which it is cut.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Characters of a text shown in one line: tree rows, labels, titles, fields.
inline constexpr size_t kShownTextLimit = 1000;
// Characters of one code view line (a tab counts as eight); longer lines are cut,
// shown unmarked, with a note.
inline constexpr size_t kCodeLineLimit = 10000;

// Characters (code points; a byte that is no valid UTF-8 counts as one) of the text.
size_t utf8CharCount(std::string_view text);
// Byte length of the first `chars` characters of the text (all of it when shorter).
size_t utf8PrefixBytes(std::string_view text, size_t chars);

// The text as shown in one line: cut after `limit` characters with "…" added.
std::string cutShownText(std::string_view text, size_t limit = kShownTextLimit);
