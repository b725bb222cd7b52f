// Shapes the index for showing and counts the themes and entries of the finished
// index.
#include "core/database/index_builder.h"

#include <string_view>

namespace {

constexpr std::string_view kNewTopicMarker = "\xE2\x9C\xB0";  // U+2730, decides the colour
constexpr std::string_view kRevisedMarker = "\xE2\x86\xBA";   // U+21BA, never coloured
constexpr size_t kMarkerBytes = 3;                            // both markers in UTF-8
constexpr std::string_view kHelpFileName = "ViewerHelp.txt";

int languageSlot(int topicLanguage) { return topicLanguage == 0 ? 0 : topicLanguage == 1 ? 1 : 2; }

std::string_view* titleIn(int slot, TopicNode* node) {
  return slot == 0 ? &node->themeDe : slot == 1 ? &node->themeEn : &node->themeFr;
}

const std::string_view& titleIn(int slot, const TopicNode& node) {
  return slot == 0 ? node.themeDe : slot == 1 ? node.themeEn : node.themeFr;
}

std::string_view fileNamePart(std::string_view path) {
  size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// Fields are split at every single blank, so two blanks in a row make an empty field.
std::string fourthField(std::string_view text) {
  size_t start = 0;
  for (int field = 0; field < 3; ++field) {
    size_t blank = text.find(' ', start);
    if (blank == std::string_view::npos) return {};
    start = blank + 1;
  }
  size_t end = text.find(' ', start);
  return std::string(text.substr(start, end == std::string_view::npos ? end : end - start));
}

// The marker a title lost is still in the arena just before it: restoring it is
// widening the view again.
void restoreTitle(IndexModel::Record* record) {
  if (record->shortened == 0) return;
  std::string_view* title = titleIn(record->shortened - 1, &record->node);
  *title = std::string_view(title->data() - kMarkerBytes, title->size() + kMarkerBytes);
  record->shortened = 0;
}

void shortenTitle(int slot, IndexModel::Record* record) {
  std::string_view* title = titleIn(slot, &record->node);
  if (!title->starts_with(kNewTopicMarker) && !title->starts_with(kRevisedMarker)) return;
  title->remove_prefix(kMarkerBytes);
  record->shortened = static_cast<uint8_t>(slot + 1);
}

}  // namespace

IndexRow IndexModel::row(size_t i) const {
  const Element& element = elements[i];
  const Record& record = records[element.record];
  IndexRow row;
  row.level = element.level;
  if (element.level <= 1) {
    row.text = record.ownGroup;
    if (element.level == 1) row.background = record.ownGroup == look.libraryTitle ? look.treeColorA : look.treeColorD;
  } else {
    row.text = titleIn(languageSlot(look.topicLanguage), record.node);
  }
  if (look.dyeingNews != 0 && record.node.themeDe.starts_with(kNewTopicMarker)) row.foreground = kNewTopicColor;
  if (i == 0) {  // however the rows are coloured, the root row is dark with light text
    row.background = look.treeColorB;
    row.foreground = look.treeColorC;
  }
  if (row.text.data() == nullptr) row.text = "";
  return row;
}

void appendTopic(IndexModel* model, int level, std::string_view ownGroup, const TopicNode& node) {
  IndexModel::Record record;
  TextArena& arena = model->arena;
  record.node = {arena.store(node.text),       arena.store(node.group),      arena.store(node.themeDe),
                 arena.store(node.descriptDe), arena.store(node.themeEn),    arena.store(node.descriptEn),
                 arena.store(node.themeFr),    arena.store(node.descriptFr), arena.store(node.file)};
  record.ownGroup = arena.store(ownGroup);
  model->records.push_back(record);
  model->elements.push_back({level, static_cast<uint32_t>(model->records.size() - 1)});
  ++model->generation;
}

void applyIndexLook(const IndexBuildOptions& options, IndexModel* model) {
  // The same look applied again to the same rows would change nothing. Start-up
  // would otherwise walk every record three times: as read, as taken, as shown.
  if (model->lookGeneration == model->generation && model->look == options) return;
  model->look = options;
  ++model->generation;
  const int slot = languageSlot(options.topicLanguage);
  int helpRow = -1;
  for (size_t i = 0; i < model->elements.size(); ++i) {
    const IndexModel::Element element = model->elements[i];
    IndexModel::Record& record = model->records[element.record];
    if (element.level >= 2) {
      restoreTitle(&record);
      if (options.dyeingNews == 0) shortenTitle(slot, &record);
    }
    if (fileNamePart(record.node.file) == kHelpFileName) helpRow = static_cast<int>(i);
  }
  if (helpRow >= 0) model->helpEntryIndex = helpRow;
  if (!model->empty()) model->databaseVersion = fourthField(model->topic(0).text);
  model->lookGeneration = model->generation;
}

void rebuildIndexModel(const IndexBuildOptions& options, IndexModel* model) {
  if (model->groupPrefix > 0) {
    std::string_view carried = model->arena.store(model->currentGroup);
    for (size_t i = 0; i < model->groupPrefix && i < model->elements.size(); ++i)
      model->records[model->elements[i].record].node.group = carried;
  }
  ++model->generation;  // a rebuild always walks the rows again
  applyIndexLook(options, model);
}

bool rowHasChildren(const IndexModel& model, size_t row) {
  return row + 1 < model.rowCount() && model.elements[row + 1].level > model.elements[row].level;
}

IndexCounts countThemesAndEntries(const IndexModel& model, const std::string& libraryTitle) {
  IndexCounts counts;
  bool inLibraryGroup = false;  // the viewer's own group and its entries are not counted
  for (size_t i = 0; i < model.rowCount(); ++i) {
    const int level = model.elements[i].level;
    if (rowHasChildren(model, i)) {
      if (level != 1) continue;
      inLibraryGroup = model.row(i).text == libraryTitle;
      if (!inLibraryGroup) ++counts.themeCount;
    } else if (level == 2 && !inLibraryGroup && !model.topic(i).file.empty()) {
      ++counts.entryCount;
    }
  }
  return counts;
}
