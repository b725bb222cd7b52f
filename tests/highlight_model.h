// A plain model of the code view's marking: the text buffer's repeated forward
// searches, step by step, one scan of the text per keyword and per name. Slow, but
// plainly the written rules; the one-pass highlighter is compared with it by the
// core tests and the highlighter's fuzz target.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/codeview/highlighter.h"

using Mask = uint8_t;
inline Mask bitOf(TagId t) { return static_cast<Mask>(1u << static_cast<int>(t)); }

std::u32string toChars(std::string_view s);
std::string toUtf8(std::u32string_view chars);

struct ModelResult {
  std::vector<Mask> tags;
  std::vector<std::string> names;
  std::vector<TopicLink> links;
  std::u32string linked;  // the text with every link target replaced by one anchor
};

ModelResult runModel(std::string_view text, int codeMarks);
