// Turns the parsed topic database into index rows and TopicNode records, and counts
// the themes and entries of the finished index.
#include "core/database/index_builder.h"

#include <string_view>
#include <vector>

#include "core/app/paths.h"

namespace {

constexpr std::string_view kNewTopicMarker = "\xE2\x9C\xB0";  // U+2730, decides the colour
constexpr std::string_view kRevisedMarker = "\xE2\x86\xBA";   // U+21BA, never coloured
constexpr std::string_view kHelpFileName = "ViewerHelp.txt";
constexpr std::string_view kTrimmed = " \n\r\t";

// The record field an attribute fills; nullptr for the names that make group text.
std::string* fieldOf(const std::string& name, TopicNode* node) {
  if (name == "File") return &node->file;
  if (name == "theme_de") return &node->themeDe;
  if (name == "theme_en") return &node->themeEn;
  if (name == "theme_fr") return &node->themeFr;
  if (name == "descript_de") return &node->descriptDe;
  if (name == "descript_en") return &node->descriptEn;
  if (name == "descript_fr") return &node->descriptFr;
  return nullptr;
}

std::string* shownTitle(int topicLanguage, TopicNode* node) {
  if (topicLanguage == 0) return &node->themeDe;
  if (topicLanguage == 1) return &node->themeEn;
  return &node->themeFr;
}

void removeMarker(std::string* title) {
  std::string_view view(*title);
  if (view.starts_with(kNewTopicMarker) || view.starts_with(kRevisedMarker)) {
    title->erase(0, kNewTopicMarker.size());  // both markers are three bytes of UTF-8
  }
}

std::string_view trimmed(std::string_view text) {
  size_t first = text.find_first_not_of(kTrimmed);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kTrimmed) - first + 1);
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

IndexRow makeRow(const std::string& group, int level, const IndexBuildOptions& options, TopicNode* node) {
  IndexRow row;
  row.level = level;
  if (level <= 1) {
    row.text = group;
    if (level == 1) {
      row.background = group == options.libraryTitle ? options.treeColorA : options.treeColorD;
    }
    return row;
  }
  std::string* title = shownTitle(options.topicLanguage, node);
  if (options.dyeingNews == 0) removeMarker(title);
  row.text = *title;
  return row;
}

void addElement(const XmlElement& element, int level, const IndexBuildOptions& options, IndexModel* model) {
  TopicNode node;
  std::string group;
  for (const XmlAttribute& attribute : element.attributes) {
    if (std::string* field = fieldOf(attribute.name, &node)) {
      *field = attribute.value;
    } else {
      group += attribute.value;
    }
  }
  // The text is picked up while the attributes are read, so an element without
  // attributes has none.
  std::string_view text = element.attributes.empty() ? std::string_view() : trimmed(element.text);
  IndexRow row = makeRow(group, level, options, &node);
  if (std::string_view(node.themeDe).starts_with(kNewTopicMarker) && options.dyeingNews != 0) {
    row.foreground = kNewTopicColor;
  }
  model->rows.push_back(std::move(row));
  if (filePart(node.file) == kHelpFileName) {
    model->helpEntryIndex = static_cast<int>(model->rows.size() - 1);
  }
  if (!group.empty()) model->currentGroup = group;
  if (level == 0) model->databaseVersion = fourthField(text);
  node.text = text;
  node.group = model->currentGroup;
  model->topicList.push_back(std::move(node));
}

}  // namespace

void buildIndex(const XmlDocument& doc, const IndexBuildOptions& options, IndexModel* model) {
  if (!doc.hasRoot()) return;
  model->rows.reserve(model->rows.size() + doc.elements.size());
  model->topicList.reserve(model->topicList.size() + doc.elements.size());
  struct Pending {
    int32_t element;
    int level;
  };
  // Pre-order without recursion: a node's next sibling waits below its first child.
  std::vector<Pending> pending{{0, 0}};
  const auto count = static_cast<int32_t>(doc.elements.size());
  while (!pending.empty()) {
    Pending next = pending.back();
    pending.pop_back();
    if (next.element < 0 || next.element >= count) continue;
    const XmlElement& element = doc.elements[next.element];
    addElement(element, next.level, options, model);
    if (next.level > 0 && element.nextSibling >= 0) {
      pending.push_back({element.nextSibling, next.level});
    }
    if (element.firstChild >= 0) pending.push_back({element.firstChild, next.level + 1});
  }
  // However the rows were coloured on the way, the root row ends dark with light text.
  model->rows[0].background = options.treeColorB;
  model->rows[0].foreground = options.treeColorC;
}

bool rowHasChildren(const IndexModel& model, size_t row) {
  return row + 1 < model.rows.size() && model.rows[row + 1].level > model.rows[row].level;
}

IndexCounts countThemesAndEntries(const IndexModel& model, const std::string& libraryTitle) {
  IndexCounts counts;
  bool inLibraryGroup = false;  // the viewer's own group and its entries are not counted
  for (size_t i = 0; i < model.rows.size(); ++i) {
    const IndexRow& row = model.rows[i];
    if (rowHasChildren(model, i)) {
      if (row.level != 1) continue;
      inLibraryGroup = row.text == libraryTitle;
      if (!inLibraryGroup) ++counts.themeCount;
    } else if (row.level == 2 && !inLibraryGroup && i < model.topicList.size() && !model.topicList[i].file.empty()) {
      ++counts.entryCount;
    }
  }
  return counts;
}
