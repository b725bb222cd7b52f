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

TEST(History, ItemTextsAreFileNamesInHistoryOrder) {
  IndexModel topics;
  for (const char* file : {"", "/Gadget/Button.vl", "/Other/Button.vl", "Plain.vl"}) {
    TopicNode node;
    node.file = file;
    appendTopic(&topics, 2, "", node);
  }
  std::vector<int> history{3, 1, 9, -1, 2, 0};
  std::vector<std::string> expected{"Plain.vl", "Button.vl", "", "", "Button.vl", ""};
  EXPECT_EQ(historyItemTexts(history, topics), expected);
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
