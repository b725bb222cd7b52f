#include "core/app/topic_link.h"

#include <array>
#include <string>

#include "core/app/search_text.h"

namespace {

// The two title markers of the database, U+2730 and U+21BA, in UTF-8.
constexpr std::array<std::string_view, 2> kTitleMarkers = {"\xE2\x9C\xB0", "\xE2\x86\xBA"};

std::string_view trimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

std::string_view bareTitle(std::string_view title) {
  title = trimBlanks(title);
  for (std::string_view marker : kTitleMarkers) {
    if (title.starts_with(marker)) return trimBlanks(title.substr(marker.size()));
  }
  return title;
}

std::string_view titleOf(const TopicNode& node, int language) {
  return language == 0 ? node.themeDe : language == 1 ? node.themeEn : node.themeFr;
}

}  // namespace

// One pass over the rows: each title is trimmed once, and a match of a better rank
// (language order first, exact before caseless) replaces the one found so far, so
// the first row in tree order wins within a rank. Roots and themes show no title.
int findLinkTarget(const IndexModel& index, std::string_view target, int topicLanguage) {
  const std::string_view wanted = bareTitle(target);
  if (wanted.empty()) return -1;
  const FoldTable table;
  const std::string folded = foldSearchText(table, wanted);
  const int shown = topicLanguage == 0 || topicLanguage == 1 ? topicLanguage : 2;
  const std::array<int, 3> order = {shown, shown == 0 ? 1 : 0, shown == 2 ? 1 : 2};
  int best = -1;
  int bestRank = 6;
  for (size_t row = 0; row < index.rowCount() && bestRank > 0; ++row) {
    if (index.level(row) < 2) continue;
    for (int k = 0; k < 3 && 2 * k < bestRank; ++k) {
      std::string_view title = bareTitle(titleOf(index.topic(row), order[k]));
      // Folding keeps the byte length (code points below 256 stay below 256), so a
      // title of another length is passed over without folding it.
      if (title.size() != wanted.size()) continue;
      int rank = title == wanted                                                  ? 2 * k
                 : 2 * k + 1 < bestRank && foldSearchText(table, title) == folded ? 2 * k + 1
                                                                                  : 6;
      if (rank < bestRank) {
        best = static_cast<int>(row);
        bestRank = rank;
      }
    }
  }
  return best;
}
