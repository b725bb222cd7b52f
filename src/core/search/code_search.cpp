// Mode 3 over two buffers: the folded mode-2 texts (rebuilt with the language) and
// the folded code (read once per database). The searched text of an item is
// text + ";" + code, so a term holding ";" may also run from the one into the other.
#include "core/search/code_search.h"

#include <string.h>

#include <algorithm>
#include <iterator>

#include "core/app/paths.h"
#include "core/codeview/code_file.h"

namespace {

constexpr int kTextModeOfCodeSearch = 2;
// Context kept before the term and the longest code line shown in the list.
constexpr size_t kLineContextBefore = 40;
constexpr size_t kLineShownMax = 120;
constexpr std::string_view kEllipsis = "\xE2\x80\xA6";

void makeTextsCurrent(SearchBuffer* texts, const IndexModel& index, int mode, int language) {
  if (!searchBufferCurrent(*texts, index, mode, language)) buildSearchBuffer(index, mode, language, texts);
}

// The folded text of item i, without its NUL.
std::string_view textOf(const SearchBuffer& texts, size_t i) {
  size_t begin = texts.starts[i];
  size_t end = i + 1 < texts.starts.size() ? texts.starts[i + 1] : texts.folded.size();
  return std::string_view(texts.folded).substr(begin, end - begin - 1);
}

size_t itemAtByte(const SearchBuffer& texts, size_t at) {
  return static_cast<size_t>(std::upper_bound(texts.starts.begin(), texts.starts.end(), at) - texts.starts.begin()) - 1;
}

size_t findFrom(std::string_view text, size_t from, std::string_view needle) {
  if (from >= text.size()) return std::string_view::npos;
  const void* hit = memmem(text.data() + from, text.size() - from, needle.data(), needle.size());
  return hit ? static_cast<size_t>(static_cast<const char*>(hit) - text.data()) : std::string_view::npos;
}

int findTextItem(const SearchBuffer& texts, const SubstringFinder& needle, size_t from) {
  if (from >= texts.starts.size()) return -1;
  size_t at = findSubstring(needle, texts.folded, texts.starts[from]);
  return at == std::string_view::npos ? -1 : static_cast<int>(itemAtByte(texts, at));
}

void collectTextItems(const SearchBuffer& texts, const SubstringFinder& needle, std::vector<int>* items) {
  size_t at = findSubstring(needle, texts.folded, 0);
  while (at != std::string_view::npos) {
    size_t item = itemAtByte(texts, at);
    items->push_back(static_cast<int>(item));
    if (item + 1 >= texts.starts.size()) break;
    at = findSubstring(needle, texts.folded, texts.starts[item + 1]);
  }
}

// A match that begins in the item's text and ends in its code (the segment begins
// with the ";" between them) lies in the junction of the text's end and the
// segment's start, each no longer than the needle: one linear search per item,
// whatever the term holds.
bool crossesIntoCode(std::string_view text, std::string_view segment, std::string_view needle, std::string* junction) {
  if (segment.empty() || needle.size() > text.size() + segment.size()) return false;
  size_t before = std::min(text.size(), needle.size() - 1);
  junction->assign(text.substr(text.size() - before));
  junction->append(segment.substr(0, std::min(segment.size(), needle.size())));
  return findFrom(*junction, 0, needle) != std::string_view::npos;
}

int findCrossingItem(const SearchBuffer& texts, const CodeBuffer& code, std::string_view needle, size_t from,
                     size_t until) {
  if (needle.find(';') == std::string_view::npos) return -1;
  until = std::min(until, code.itemsCovered);
  std::string junction;
  for (size_t i = from; i < until; ++i)
    if (crossesIntoCode(textOf(texts, i), codeSegment(code, i), needle, &junction)) return static_cast<int>(i);
  return -1;
}

std::string themeOf(const IndexModel& index, size_t item) {
  if (index.level(item) < 2) return "";
  for (size_t i = item; i-- > 0;)
    if (index.level(i) == 1) return std::string(index.row(i).text);
  return "";
}

std::string_view lineAt(std::string_view text, size_t lineNumber) {
  size_t begin = 0;
  for (size_t n = 0; n < lineNumber; ++n) {
    begin = text.find('\n', begin);
    if (begin == std::string_view::npos) return {};
    ++begin;
  }
  return text.substr(begin, text.find('\n', begin) - begin);
}

bool isUtf8Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Cuts the line to at most about kLineShownMax bytes around the term, on character
// boundaries, and drops its indentation; the term's place moves along.
void shortenLine(MatchRow* row) {
  std::string& line = row->codeLine;
  size_t begin = std::min(line.find_first_not_of(" \t"), row->termBegin);
  if (row->termBegin > begin + kLineContextBefore) begin = row->termBegin - kLineContextBefore;
  while (begin > 0 && isUtf8Continuation(line[begin])) --begin;
  size_t end = std::max(begin + kLineShownMax, row->termBegin + row->termLength);
  if (end >= line.size()) end = line.size();
  while (end < line.size() && isUtf8Continuation(line[end])) ++end;
  bool cutFront = begin > 0 && line.find_first_not_of(" \t") < begin;
  std::string shown = (cutFront ? std::string(kEllipsis) : "") + line.substr(begin, end - begin);
  if (end < line.size()) shown += kEllipsis;
  row->termBegin = row->termBegin - begin + (cutFront ? kEllipsis.size() : 0);
  line = std::move(shown);
}

// The code line of the first match in the item's segment, in its own letter case
// when the file still holds it, else as folded.
void findCodeLine(const CodeBuffer& code, std::string_view needle, int item, const std::string& path, MatchRow* row) {
  std::string_view segment = codeSegment(code, static_cast<size_t>(item));
  size_t at = findFrom(segment, 0, needle);
  if (at == std::string_view::npos) return;
  std::string_view text = segment.substr(1);  // without the ";" joining it to the texts
  size_t codeAt = at == 0 ? 0 : at - 1;
  size_t lineBegin = codeAt == 0 ? 0 : text.rfind('\n', codeAt - 1) + 1;
  size_t lineEnd = std::min(text.find('\n', codeAt), text.size());
  std::string_view folded = text.substr(lineBegin, lineEnd - lineBegin);
  row->termBegin = codeAt - lineBegin;
  row->termLength = std::min(needle.size() - (at == 0 ? 1 : 0), lineEnd - codeAt);
  row->codeLine = std::string(folded);
  CodeFileText file;
  if (!path.empty() && readCodeFile(path, &file)) {
    std::string_view original =
        lineAt(file.text, static_cast<size_t>(std::count(text.begin(), text.begin() + lineBegin, '\n')));
    if (foldSearchText(original) == folded) row->codeLine = std::string(original);
  }
  shortenLine(row);
}

}  // namespace

std::vector<std::string> codeFilePaths(const IndexModel& index, const std::string& libraryPath) {
  std::vector<std::string> paths(index.rowCount());
  for (size_t i = 0; i < paths.size(); ++i)
    if (!index.topic(i).file.empty()) paths[i] = joinLibraryPath(libraryPath, index.topic(i).file);
  return paths;
}

std::string codeSearchedText(const IndexModel& index, size_t item, int language, const std::string& libraryPath) {
  std::string text = searchedText(index, item, kTextModeOfCodeSearch, language);
  if (item >= index.rowCount() || index.topic(item).file.empty()) return text;
  CodeFileText code;
  if (readCodeFile(joinLibraryPath(libraryPath, index.topic(item).file), &code)) text += ";" + code.text;
  return text;
}

int findCodeSearchItem(SearchBuffer* texts, const CodeBuffer& code, const IndexModel& index, int language,
                       std::string_view term, int from) {
  makeTextsCurrent(texts, index, kTextModeOfCodeSearch, language);
  SubstringFinder needle = makeSubstringFinder(foldSearchText(term));
  size_t start = static_cast<size_t>(std::max(from, 0));
  if (needle.needle.empty() || start >= texts->starts.size()) return -1;
  int found = findTextItem(*texts, needle, start);
  size_t until = found < 0 ? texts->starts.size() : static_cast<size_t>(found);
  int inCode = findCodeItem(code, needle, start, until);
  if (inCode >= 0) until = static_cast<size_t>(found = inCode);
  int crossing = findCrossingItem(*texts, code, needle.needle, start, until);
  return crossing >= 0 ? crossing : found;
}

std::vector<int> collectMatches(SearchBuffer* texts, const CodeBuffer& code, const IndexModel& index, int mode,
                                int language, std::string_view term) {
  std::vector<int> items;
  bool withCode = mode == kSearchModeWithCode;
  makeTextsCurrent(texts, index, withCode ? kTextModeOfCodeSearch : mode, language);
  SubstringFinder needle = makeSubstringFinder(foldSearchText(term));
  if (needle.needle.empty()) return items;
  collectTextItems(*texts, needle, &items);
  if (!withCode) return items;
  std::vector<int> inCode;
  collectCodeItems(code, needle, &inCode);
  size_t itemCount = texts->starts.size();
  for (int i = findCrossingItem(*texts, code, needle.needle, 0, itemCount); i >= 0;
       i = findCrossingItem(*texts, code, needle.needle, static_cast<size_t>(i) + 1, itemCount))
    inCode.push_back(i);
  std::sort(inCode.begin(), inCode.end());
  // Code read for an index that has since lost rows names items that are gone.
  inCode.erase(std::lower_bound(inCode.begin(), inCode.end(), static_cast<int>(itemCount)), inCode.end());
  std::vector<int> all;
  all.reserve(items.size() + inCode.size());
  std::set_union(items.begin(), items.end(), inCode.begin(), inCode.end(), std::back_inserter(all));
  all.erase(std::unique(all.begin(), all.end()), all.end());
  return all;
}

MatchRow describeMatch(const IndexModel& index, const CodeBuffer& code, std::string_view term, int item,
                       const std::string& path) {
  MatchRow row;
  if (item < 0 || static_cast<size_t>(item) >= index.rowCount()) return row;
  row.item = item;
  row.title = index.row(static_cast<size_t>(item)).text;
  row.theme = themeOf(index, static_cast<size_t>(item));
  std::string needle = foldSearchText(term);
  if (!needle.empty()) findCodeLine(code, needle, item, path, &row);
  return row;
}
