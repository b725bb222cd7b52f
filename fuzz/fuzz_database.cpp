// The topic database loader over expat: any bytes give a parse result and an
// index with one row and one record per element, whose levels follow the nesting,
// and which a rebuild in another look and back gives again exactly.
#include <stddef.h>
#include <stdint.h>

#include <string>
#include <string_view>
#include <vector>

#include "core/database/database_loader.h"
#include "core/database/index_builder.h"
#include "fuzz_util.h"

namespace {

std::string_view shownTitle(const TopicNode& node, int language) {
  return language == 0 ? node.themeDe : language == 1 ? node.themeEn : node.themeFr;
}

bool trimmedText(std::string_view s) {
  constexpr std::string_view kBlanks = " \n\r\t";
  return s.empty() ||
         (kBlanks.find(s.front()) == std::string_view::npos && kBlanks.find(s.back()) == std::string_view::npos);
}

// Texts handed to GTK as C strings end where the view ends.
bool endsInNul(std::string_view s) { return s.data() != nullptr && s.data()[s.size()] == '\0'; }

void checkIndex(const IndexBuildOptions& options, const IndexModel& model) {
  FUZZ_CHECK(model.row(0).level == 0);
  FUZZ_CHECK(model.row(0).background == options.treeColorB);
  FUZZ_CHECK(model.row(0).foreground == options.treeColorC);
  FUZZ_CHECK(model.helpEntryIndex >= 0 && static_cast<size_t>(model.helpEntryIndex) < model.rowCount());
  FUZZ_CHECK(model.databaseVersion.find(' ') == std::string::npos);
  size_t levelOne = 0, levelTwo = 0;
  for (size_t i = 0; i < model.rowCount(); ++i) {
    const IndexRow row = model.row(i);
    const TopicNode& node = model.topic(i);
    FUZZ_CHECK(i == 0 || (row.level >= 1 && row.level <= model.row(i - 1).level + 1));  // one root
    if (row.level >= 2) FUZZ_CHECK(row.text == shownTitle(node, options.topicLanguage));
    FUZZ_CHECK(trimmedText(node.text));
    FUZZ_CHECK(endsInNul(row.text));
    for (std::string_view text : {node.text, node.group, node.themeDe, node.themeEn, node.themeFr, node.file})
      FUZZ_CHECK(text.empty() || endsInNul(text));
    levelOne += row.level == 1;
    levelTwo += row.level == 2;
  }
  IndexCounts counts = countThemesAndEntries(model, options.libraryTitle);
  FUZZ_CHECK(counts.themeCount >= 0 && static_cast<size_t>(counts.themeCount) <= levelOne);
  FUZZ_CHECK(counts.entryCount >= 0 && static_cast<size_t>(counts.entryCount) <= levelTwo);
}

struct Snapshot {
  std::vector<std::string> texts;
  std::vector<int> numbers;
};

Snapshot snapshot(const IndexModel& model) {
  Snapshot s;
  for (size_t i = 0; i < model.rowCount(); ++i) {
    const IndexRow row = model.row(i);
    const TopicNode& n = model.topic(i);
    for (std::string_view t :
         {row.text, n.text, n.group, n.themeDe, n.descriptDe, n.themeEn, n.descriptEn, n.themeFr, n.descriptFr, n.file})
      s.texts.emplace_back(t);
    s.numbers.insert(s.numbers.end(), {row.level, static_cast<int>(row.foreground), static_cast<int>(row.background)});
  }
  s.texts.push_back(model.databaseVersion);
  s.numbers.push_back(model.helpEntryIndex);
  return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  IndexBuildOptions options;
  options.topicLanguage = data[0] % 3;
  options.dyeingNews = (data[0] >> 2) & 1;
  std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);

  IndexModel model;
  XmlParseResult result;
  bool parsed = loadDatabaseBuffer(bytes, options, &model, &result);
  FUZZ_CHECK(parsed == !bytes.empty());
  if (!parsed) return 0;
  FUZZ_CHECK(result.status >= 0);
  FUZZ_CHECK((result.status != 0) == !result.errorText.empty());  // every error has its text
  if (result.status != 0) FUZZ_CHECK(result.line >= 1 && result.column >= 1);
  if (result.status == 0) FUZZ_CHECK(!model.empty());  // a well-formed document has its root
  if (model.empty()) return 0;
  checkIndex(options, model);

  // A rebuild in another look keeps the shape; rebuilding back gives the same index.
  // (The first rebuild may give the elements before the first group another group.)
  rebuildIndexModel(options, &model);
  Snapshot first = snapshot(model);
  IndexBuildOptions other = options;
  other.topicLanguage = (options.topicLanguage + 1) % 3;
  other.dyeingNews = !options.dyeingNews;
  rebuildIndexModel(other, &model);
  checkIndex(other, model);
  rebuildIndexModel(options, &model);
  Snapshot again = snapshot(model);
  FUZZ_CHECK(again.numbers == first.numbers);
  FUZZ_CHECK(again.texts == first.texts);
  return 0;
}
