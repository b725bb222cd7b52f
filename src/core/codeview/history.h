// The history of entries whose code the user clicked: index rows, most recent first.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/database/topic_node.h"

inline constexpr size_t historyCapacity = 10;

// Puts `row` at the front; an earlier occurrence is removed and the oldest element
// drops out beyond historyCapacity.
void addToHistory(std::vector<int>* history, int row);

struct HistoryItem {
  std::string title;     // the row's title as the index shows it (topic language)
  std::string fileName;  // the file name part of its code path, for the tooltip
};

// The history box items, one per history element in the same order. A row outside
// the topic list gives an empty item, so item i still belongs to history element i.
std::vector<HistoryItem> historyItems(const std::vector<int>& history, const IndexModel& index);

// The history as the settings file keeps it: the code paths, most recent first,
// separated by "|". Code paths outlive row numbers when the database is updated.
std::string historyText(const std::vector<int>& history, const IndexModel& index);
// The rows of a stored history: each path gives the first entry with that code file;
// paths the index no longer has are left out, repeats too, and at most
// historyCapacity rows are kept.
std::vector<int> historyFromText(std::string_view text, const IndexModel& index);

// The first entry row whose code path is `codePath`; -1 for none or an empty path.
int rowOfCodePath(const IndexModel& index, std::string_view codePath);

// The row of history box item `item`; false when there is no such item.
bool historyRowAt(const std::vector<int>& history, int item, int* row);
