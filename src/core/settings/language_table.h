// UI texts and tooltips in three languages, read from the language file.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

struct LanguageTable {
  // key ("#Main_Find", or "TT#Main_Find" for a tooltip) -> German, English, French;
  // a language whose line the block lacks holds no text, unlike an empty line.
  std::unordered_map<std::string, std::array<std::optional<std::string>, 3>> items;
  bool loaded = false;
  bool notFoundShown = false;
};
