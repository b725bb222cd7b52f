// The topic database loader over expat: any bytes give a parse result and a
// document whose links form one tree in document order, and the index built from
// it has one row and one record per element, with levels that follow the nesting.
#include <stddef.h>
#include <stdint.h>

#include <string>
#include <string_view>
#include <vector>

#include "core/database/index_builder.h"
#include "core/database/xml_document.h"
#include "fuzz_util.h"

namespace {

// Every element but the root is linked exactly once, always to a later element, so
// the links cannot loop. Returns the nesting depth of every element.
std::vector<int> checkTreeAndDepths(const XmlDocument& doc) {
  const auto n = static_cast<int32_t>(doc.elements.size());
  std::vector<int> depth(doc.elements.size(), -1);
  std::vector<int> incoming(doc.elements.size(), 0);
  depth[0] = 0;
  for (int32_t i = 0; i < n; ++i) {
    const XmlElement& e = doc.elements[i];
    FUZZ_CHECK(depth[i] >= 0);  // reached through an earlier element
    for (int32_t link : {e.firstChild, e.nextSibling}) {
      FUZZ_CHECK(link == -1 || (link > i && link < n));
      if (link > i && link < n) ++incoming[link];
    }
    if (e.firstChild > i) depth[e.firstChild] = depth[i] + 1;
    if (e.nextSibling > i) depth[e.nextSibling] = depth[i];
  }
  FUZZ_CHECK(doc.elements[0].nextSibling == -1);  // one root
  for (int32_t i = 1; i < n; ++i) FUZZ_CHECK(incoming[i] == 1);
  return depth;
}

const std::string& shownTitle(const TopicNode& node, int language) {
  return language == 0 ? node.themeDe : language == 1 ? node.themeEn : node.themeFr;
}

bool trimmedText(std::string_view s) {
  constexpr std::string_view kBlanks = " \n\r\t";
  return s.empty() ||
         (kBlanks.find(s.front()) == std::string_view::npos && kBlanks.find(s.back()) == std::string_view::npos);
}

void checkIndex(const XmlDocument& doc, const std::vector<int>& depth, const IndexBuildOptions& options,
                const IndexModel& model) {
  FUZZ_CHECK(model.rows.size() == doc.elements.size());
  FUZZ_CHECK(model.topicList.size() == doc.elements.size());
  FUZZ_CHECK(model.rows[0].background == options.treeColorB);
  FUZZ_CHECK(model.rows[0].foreground == options.treeColorC);
  FUZZ_CHECK(model.helpEntryIndex >= 0 && static_cast<size_t>(model.helpEntryIndex) < model.rows.size());
  FUZZ_CHECK(model.databaseVersion.find(' ') == std::string::npos);
  size_t levelOne = 0, levelTwo = 0;
  for (size_t i = 0; i < model.rows.size(); ++i) {
    const IndexRow& row = model.rows[i];
    FUZZ_CHECK(row.level == depth[i]);
    FUZZ_CHECK(i == 0 || (row.level >= 1 && row.level <= model.rows[i - 1].level + 1));
    if (row.level >= 2) FUZZ_CHECK(row.text == shownTitle(model.topicList[i], options.topicLanguage));
    FUZZ_CHECK(trimmedText(model.topicList[i].text));
    levelOne += row.level == 1;
    levelTwo += row.level == 2;
  }
  IndexCounts counts = countThemesAndEntries(model, options.libraryTitle);
  FUZZ_CHECK(counts.themeCount >= 0 && static_cast<size_t>(counts.themeCount) <= levelOne);
  FUZZ_CHECK(counts.entryCount >= 0 && static_cast<size_t>(counts.entryCount) <= levelTwo);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  IndexBuildOptions options;
  options.topicLanguage = data[0] % 3;
  options.dyeingNews = (data[0] >> 2) & 1;
  std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);

  XmlDocument doc;
  XmlParseResult result;
  bool parsed = parseDatabaseBuffer(bytes, &doc, &result);
  FUZZ_CHECK(parsed == !bytes.empty());
  if (!parsed) return 0;
  FUZZ_CHECK(result.status >= 0);
  FUZZ_CHECK((result.status >= 1 && result.status <= 40) == !result.errorText.empty());
  if (result.status != 0) FUZZ_CHECK(result.line >= 1 && result.column >= 1);
  if (result.status == 0) FUZZ_CHECK(doc.hasRoot());  // a well-formed document has its root

  IndexModel model;
  buildIndex(doc, options, &model);
  if (!doc.hasRoot()) {
    FUZZ_CHECK(model.rows.empty() && model.topicList.empty());
    return 0;
  }
  std::vector<int> depth = checkTreeAndDepths(doc);
  checkIndex(doc, depth, options, model);

  // A rebuild in another language after clearing gives the same tree shape.
  IndexModel rebuilt;
  rebuilt.currentGroup = model.currentGroup;
  IndexBuildOptions other = options;
  other.topicLanguage = (options.topicLanguage + 1) % 3;
  other.dyeingNews = !options.dyeingNews;
  buildIndex(doc, other, &rebuilt);
  checkIndex(doc, depth, other, rebuilt);
  return 0;
}
