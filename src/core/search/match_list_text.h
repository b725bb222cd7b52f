// The texts of the match list under the search field, in the topic language.
#pragma once

#include <cstddef>
#include <string>

#include "core/search/code_reader.h"

// "37 Treffer" / "37 matches" / "37 résultats"; while code is still being read
// (`reading` not null and not finished) followed by "Code wird gelesen… 40 %".
std::string matchListHeader(size_t count, const CodeReadProgress* reading, int language);
