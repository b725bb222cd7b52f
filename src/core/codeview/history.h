// The history of entries whose code the user clicked: index rows, most recent first.
#pragma once

#include <string>
#include <vector>

#include "core/database/topic_node.h"

inline constexpr size_t historyCapacity = 10;

// Puts `row` at the front; an earlier occurrence is removed and the oldest element
// drops out beyond historyCapacity.
void addToHistory(std::vector<int>* history, int row);

// The history box items, one per history element in the same order: the file name
// part of that row's code path. A row outside the topic list gives an empty item,
// so item i still belongs to history element i.
std::vector<std::string> historyItemTexts(const std::vector<int>& history, const IndexModel& index);

// The row of history box item `item`; false when there is no such item.
bool historyRowAt(const std::vector<int>& history, int item, int* row);
