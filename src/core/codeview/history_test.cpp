#include "core/codeview/history.h"

#include <gtest/gtest.h>

#include "core/database/index_builder.h"

TEST(History, RecentFirstWithoutRepeats) {
  std::vector<int> history;
  addToHistory(&history, 4);  // A
  addToHistory(&history, 7);  // B
  addToHistory(&history, 4);  // A again moves to the front
  EXPECT_EQ(history, (std::vector<int>{4, 7}));
  addToHistory(&history, 4);
  EXPECT_EQ(history, (std::vector<int>{4, 7}));
}

TEST(History, KeepsTheTenMostRecent) {
  std::vector<int> history;
  for (int row = 1; row <= 11; ++row) addToHistory(&history, row);
  EXPECT_EQ(history, (std::vector<int>{11, 10, 9, 8, 7, 6, 5, 4, 3, 2}));
  // A row already present at the end moves to the front without dropping another.
  addToHistory(&history, 2);
  EXPECT_EQ(history, (std::vector<int>{2, 11, 10, 9, 8, 7, 6, 5, 4, 3}));
}

TEST(History, ItemsShowTitlesWithFileNamesAndAreStoredAsCodePaths) {
  IndexModel topics;
  appendTopic(&topics, 1, "Theme", TopicNode{});
  for (const char* file : {"/Gadget/Button.vl", "/Other/Button.vl", "/Gadget/Button.vl"}) {
    TopicNode node;
    node.file = file;
    node.themeDe = "Knopf";
    node.themeEn = file;
    appendTopic(&topics, 2, "", node);
  }
  applyIndexLook(IndexBuildOptions{.topicLanguage = 1}, &topics);
  std::vector<HistoryItem> items = historyItems({2, 9, 1}, topics);
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[0].title, "/Other/Button.vl");  // the title in the topic language
  EXPECT_EQ(items[0].fileName, "Button.vl");
  EXPECT_EQ(historyText({2, 9, 1}, topics), "/Other/Button.vl|/Gadget/Button.vl");
  // A shared code file comes back as its first entry; unknown paths and repeats drop out.
  EXPECT_EQ(historyFromText("/Gadget/Button.vl|/Gone.vl||/Other/Button.vl|/Gadget/Button.vl", topics),
            (std::vector<int>{1, 2}));
}

TEST(History, ItemsMapBackToRows) {
  std::vector<int> history{12, 5};
  int row = -1;
  EXPECT_TRUE(historyRowAt(history, 1, &row));
  EXPECT_EQ(row, 5);
  EXPECT_FALSE(historyRowAt(history, 2, &row));
  EXPECT_FALSE(historyRowAt(history, -1, &row));  // nothing selected in the box
  EXPECT_EQ(row, 5);
}
