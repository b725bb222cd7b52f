// Keeping the history of clicked entries and its box texts.
#include "core/codeview/history.h"

#include <algorithm>

#include "core/app/paths.h"

void addToHistory(std::vector<int>* history, int row) {
  history->erase(std::remove(history->begin(), history->end(), row), history->end());
  if (history->size() >= historyCapacity) history->resize(historyCapacity - 1);
  history->insert(history->begin(), row);
}

namespace {

constexpr char kPathSeparator = '|';

bool validRow(const IndexModel& index, int row) { return row >= 0 && static_cast<size_t>(row) < index.rowCount(); }

}  // namespace

std::vector<HistoryItem> historyItems(const std::vector<int>& history, const IndexModel& index) {
  std::vector<HistoryItem> items;
  items.reserve(history.size());
  for (int row : history) {
    HistoryItem item;
    if (validRow(index, row)) item = {std::string(index.row(row).text), filePart(index.topic(row).file)};
    items.push_back(std::move(item));
  }
  return items;
}

std::string historyText(const std::vector<int>& history, const IndexModel& index) {
  std::string text;
  for (int row : history) {
    if (!validRow(index, row) || index.topic(row).file.empty()) continue;
    if (!text.empty()) text += kPathSeparator;
    text += index.topic(row).file;
  }
  return text;
}

std::vector<int> historyFromText(std::string_view text, const IndexModel& index) {
  std::vector<int> history;
  while (!text.empty() && history.size() < historyCapacity) {
    size_t end = text.find(kPathSeparator);
    int row = rowOfCodePath(index, text.substr(0, end));
    if (row >= 0 && std::find(history.begin(), history.end(), row) == history.end()) history.push_back(row);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
  }
  return history;
}

int rowOfCodePath(const IndexModel& index, std::string_view codePath) {
  if (codePath.empty()) return -1;
  for (size_t row = 0; row < index.rowCount(); ++row) {
    if (index.level(row) >= 2 && index.topic(row).file == codePath) return static_cast<int>(row);
  }
  return -1;
}

bool historyRowAt(const std::vector<int>& history, int item, int* row) {
  if (item < 0 || static_cast<size_t>(item) >= history.size()) return false;
  *row = history[item];
  return true;
}
