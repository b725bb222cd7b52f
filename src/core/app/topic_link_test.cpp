#include "core/app/topic_link.h"

#include <gtest/gtest.h>

#include "core/database/index_builder.h"

namespace {

IndexModel titled(std::initializer_list<std::array<const char*, 3>> titles) {
  IndexModel index;
  appendTopic(&index, 1, "Theme", TopicNode{});
  for (const auto& t : titles) {
    TopicNode node;
    node.themeDe = t[0];
    node.themeEn = t[1];
    node.themeFr = t[2];
    appendTopic(&index, 2, "", node);
  }
  return index;
}

}  // namespace

TEST(TopicLink, ShownLanguageFirstThenTheOthers) {
  // Row 1's English title is row 2's German one.
  IndexModel index = titled({{"Fenster", "Knopf", "Fenêtre"}, {"Knopf", "Button", "Bouton"}});
  EXPECT_EQ(findLinkTarget(index, "Knopf", 0), 2);
  EXPECT_EQ(findLinkTarget(index, "Knopf", 1), 1);
  EXPECT_EQ(findLinkTarget(index, "Bouton", 1), 2);   // found in another language
  EXPECT_EQ(findLinkTarget(index, "Fenêtre", 5), 1);  // any other language is French
  EXPECT_EQ(findLinkTarget(index, "Theme", 0), -1);   // themes are no entries
  EXPECT_EQ(findLinkTarget(index, "Nowhere", 0), -1);
  EXPECT_EQ(findLinkTarget(index, "  ", 0), -1);
}

TEST(TopicLink, ExactBeforeCaselessAndMarkersDoNotCount) {
  IndexModel index = titled({{"open window", "x", "x"},
                             {"Open Window", "y", "y"},
                             {"\xE2\x9C\xB0 New Topic", "z", "z"},
                             {"\xE2\x86\xBA"
                              "Changed",
                              "w", "w"}});
  EXPECT_EQ(findLinkTarget(index, "Open Window", 0), 2);
  EXPECT_EQ(findLinkTarget(index, "OPEN WINDOW", 0), 1);  // the first caseless match in tree order
  EXPECT_EQ(findLinkTarget(index, "new topic ", 0), 3);
  EXPECT_EQ(findLinkTarget(index, "\xE2\x86\xBA Changed", 0), 4);
}
