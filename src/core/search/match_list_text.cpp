#include "core/search/match_list_text.h"

namespace {

struct ThreeLanguages {
  const char* de;
  const char* en;
  const char* fr;
};

constexpr ThreeLanguages kMatches = {"Treffer", "matches", "r\xC3\xA9sultats"};
constexpr ThreeLanguages kReading = {"Code wird gelesen\xE2\x80\xA6", "Reading code\xE2\x80\xA6",
                                     "Lecture du code\xE2\x80\xA6"};

const char* in(const ThreeLanguages& t, int language) { return language == 0 ? t.de : language == 1 ? t.en : t.fr; }

}  // namespace

std::string matchListHeader(size_t count, const CodeReadProgress* reading, int language) {
  std::string text = std::to_string(count) + " " + in(kMatches, language);
  if (!reading || reading->finished) return text;
  size_t percent = reading->itemCount ? reading->itemsDone * 100 / reading->itemCount : 0;
  return text + " \xC2\xB7 " + in(kReading, language) + " " + std::to_string(percent) + " %";
}
