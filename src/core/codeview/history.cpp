// Keeping the history of clicked entries and its box texts.
#include "core/codeview/history.h"

#include <algorithm>

#include "core/app/paths.h"

void addToHistory(std::vector<int>* history, int row) {
  history->erase(std::remove(history->begin(), history->end(), row), history->end());
  if (history->size() >= historyCapacity) history->resize(historyCapacity - 1);
  history->insert(history->begin(), row);
}

std::vector<std::string> historyItemTexts(const std::vector<int>& history, const IndexModel& index) {
  std::vector<std::string> items;
  items.reserve(history.size());
  for (int row : history) {
    bool valid = row >= 0 && static_cast<size_t>(row) < index.rowCount();
    items.push_back(valid ? filePart(index.topic(row).file) : std::string());
  }
  return items;
}

bool historyRowAt(const std::vector<int>& history, int item, int* row) {
  if (item < 0 || static_cast<size_t>(item) >= history.size()) return false;
  *row = history[item];
  return true;
}
