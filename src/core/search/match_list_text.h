// The header of the match list under the search field.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/search/code_reader.h"

// "37 Treffer"; while code is still being read (`reading` not null and not
// finished) followed by "Code wird gelesen… 40 %". The words come in the interface
// language.
std::string matchListHeader(size_t count, const CodeReadProgress* reading, std::string_view matchesWord,
                            std::string_view readingWords);
