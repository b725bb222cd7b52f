#include "core/search/match_list_text.h"

std::string matchListHeader(size_t count, const CodeReadProgress* reading, std::string_view matchesWord,
                            std::string_view readingWords) {
  std::string text = std::to_string(count) + " " + std::string(matchesWord);
  if (!reading || reading->finished) return text;
  size_t percent = reading->itemCount ? reading->itemsDone * 100 / reading->itemCount : 0;
  return text + " \xC2\xB7 " + std::string(readingWords) + " " + std::to_string(percent) + " %";
}
