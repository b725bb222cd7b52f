// The language file: UI texts and tooltips in German, English and French, read into
// a LanguageTable, and the lookup of one text.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/settings/language_table.h"

// Replaces the table with the file's items and marks it loaded. False, with the
// table unchanged, when the file cannot be opened (or is not a regular file).
bool loadLanguageFile(const std::string& path, LanguageTable* t);

// The text of `key` ("#Main_Find") in `languageCode` ("de", "en", "fr"); `tooltip`
// looks the key up with "TT" in front. An empty code takes the first two
// characters of LANG. False when the file holds no text for it, so the gadget keeps
// its built-in German text: the key is missing, its block has no line of that
// language, or the language is none of the three. A line with an empty text gives
// the empty text.
bool findLangText(const LanguageTable& t, std::string_view key, bool tooltip, std::string_view languageCode,
                  std::string* out);

// The code of a "Language" setting: "de", "en", "fr", or "" for any other value.
std::string_view languageCodeOf(int language);

// The first two characters of a LANG value ("de_DE.UTF-8" gives "de"); "" for none.
std::string languageCodeFromLang(const char* langValue);

// The item texts of a combo box of `count` items, split at tabs; missing fields are
// empty, fields beyond `count` are ignored.
std::vector<std::string> comboItemTexts(std::string_view text, size_t count = 3);
