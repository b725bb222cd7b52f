#include "core/app/topic_link.h"

#include <gtest/gtest.h>

#include "core/database/index_builder.h"

// Rows 1 to 5 are entries with the titles de/en/fr given.
TEST(TopicLink, LanguageOrderThenExactBeforeCaselessMarkersAside) {
  IndexModel index;
  appendTopic(&index, 1, "Theme", TopicNode{});
  for (auto [de, en, fr] : {std::array<const char*, 3>{"Fenster", "Knopf", "Fenêtre"},
                            {"Knopf", "Button", "Bouton"},
                            {"open window", "x", "x"},
                            {"Open Window", "y", "y"},
                            {"\xE2\x9C\xB0 New Topic",
                             "\xE2\x86\xBA"
                             "Changed",
                             "z"}})
    appendTopic(&index, 2, "", TopicNode{{}, {}, de, {}, en, {}, fr, {}, {}});
  EXPECT_EQ(findLinkTarget(index, "Knopf", 0), 2);
  EXPECT_EQ(findLinkTarget(index, "Knopf", 1), 1);
  EXPECT_EQ(findLinkTarget(index, "Bouton", 1), 2);       // found in another language
  EXPECT_EQ(findLinkTarget(index, "Fenêtre", 7), 1);      // any other language is French
  EXPECT_EQ(findLinkTarget(index, "Open Window", 0), 4);  // exact before an earlier caseless match
  EXPECT_EQ(findLinkTarget(index, "OPEN WINDOW", 0), 3);
  EXPECT_EQ(findLinkTarget(index, "new topic ", 0), 5);
  EXPECT_EQ(findLinkTarget(index, "\xE2\x86\xBA Changed", 1), 5);
  EXPECT_EQ(findLinkTarget(index, "Theme", 0), -1);  // themes are no entries
  EXPECT_EQ(findLinkTarget(index, "  ", 0), -1);
}
