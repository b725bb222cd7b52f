// The filtered search against std::string_view::find, on texts of few letters so
// that candidates abound and matches fall on every place of a 64-byte block.
#include "core/search/substring_finder.h"

#include <random>

#include <gtest/gtest.h>

TEST(SubstringFinder, FindsWhatFindFindsFromEveryStart) {
  std::mt19937 random(11);
  auto pick = [&](size_t n) {
    std::string s;
    for (size_t i = 0; i < n; ++i) s += "ab;e \xC3"[random() % 6];
    return s;
  };
  for (int round = 0; round < 300; ++round) {
    std::string text = pick(random() % 300);
    std::string needle =
        round % 3 ? pick(1 + random() % 5) : text.substr(random() % (text.size() + 1), 1 + random() % 40);
    SubstringFinder finder = makeSubstringFinder(needle);
    finder.wideScan = round % 2 == 0;
    for (size_t from = 0; from <= text.size() + 1; from += 1 + random() % 7) {
      size_t expected = needle.empty() ? std::string::npos : std::string_view(text).find(needle, from);
      ASSERT_EQ(findSubstring(finder, text, from), expected)
          << text << " / " << needle << " from " << from << (finder.wideScan ? "" : " (narrow scan)");
    }
  }
}
