// The caseless matching of the index search over one folded buffer per scope.
#include "core/app/search_text.h"

#include <ctype.h>
#include <string.h>

#include <algorithm>

#include "core/text/utf8.h"

namespace {

const TopicNode& nodeAt(const IndexModel& index, size_t item) {
  static const TopicNode empty;
  return item < index.topicList.size() ? index.topicList[item] : empty;
}

const std::string& descriptionIn(const TopicNode& node, int language) {
  return language == 0 ? node.descriptDe : language == 1 ? node.descriptEn : node.descriptFr;
}

// Folds the searched text of one item straight into *out, without building it first.
void appendFoldedItem(const IndexModel& index, size_t item, int mode, int language, std::string* out) {
  appendFolded(index.rows[item].text, out);
  if (mode == 1) return;
  const TopicNode& node = nodeAt(index, item);
  if (mode != 2) {
    out->push_back(';');
    appendFolded(descriptionIn(node, language), out);
    return;
  }
  for (const std::string* field :
       {&node.themeDe, &node.themeEn, &node.themeFr, &node.descriptDe, &node.descriptEn, &node.descriptFr}) {
    out->push_back(';');
    appendFolded(*field, out);
  }
}

}  // namespace

void appendFolded(std::string_view utf8, std::string* out) {
  size_t i = 0;
  while (i < utf8.size()) {
    unsigned char c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x80) {
      out->push_back(static_cast<char>(tolower(c)));
      ++i;
      continue;
    }
    char32_t cp = 0;
    size_t n = utf8SequenceAt(utf8, i, &cp);
    if (n == 2 && cp <= 0xFF) {  // U+0080..U+00FF: the locale's single-byte table decides
      appendUtf8(out, static_cast<char32_t>(tolower(static_cast<int>(cp))) & 0xFF);
    } else {  // other characters and bytes of no sequence are kept as they are
      out->append(utf8.substr(i, n == 0 ? 1 : n));
    }
    i += n == 0 ? 1 : n;
  }
}

std::string foldSearchText(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  appendFolded(utf8, &out);
  return out;
}

std::string searchedText(const IndexModel& index, size_t item, int mode, int language) {
  if (item >= index.rows.size()) return std::string();
  std::string text = index.rows[item].text;
  if (mode == 1) return text;
  const TopicNode& node = nodeAt(index, item);
  if (mode != 2) return text + ";" + descriptionIn(node, language);
  for (const std::string* field :
       {&node.themeDe, &node.themeEn, &node.themeFr, &node.descriptDe, &node.descriptEn, &node.descriptFr})
    text += ";" + *field;
  return text;
}

bool searchTextContains(std::string_view text, std::string_view term) {
  return foldSearchText(text).find(foldSearchText(term)) != std::string::npos;
}

void buildSearchBuffer(const IndexModel& index, int mode, int language, SearchBuffer* buffer) {
  buffer->folded.clear();
  buffer->starts.clear();
  buffer->starts.reserve(index.rows.size());
  for (size_t i = 0; i < index.rows.size(); ++i) {
    buffer->starts.push_back(buffer->folded.size());
    appendFoldedItem(index, i, mode, language, &buffer->folded);
    buffer->folded.push_back('\0');
  }
  buffer->valid = true;
  buffer->mode = mode;
  buffer->language = language;
  buffer->itemCount = index.rows.size();
  buffer->rowsData = index.rows.data();
}

bool searchBufferCurrent(const SearchBuffer& buffer, const IndexModel& index, int mode, int language) {
  return buffer.valid && buffer.mode == mode && buffer.language == language && buffer.itemCount == index.rows.size() &&
         buffer.rowsData == index.rows.data();
}

int findSearchItem(SearchBuffer* buffer, const IndexModel& index, int mode, int language, std::string_view term,
                   int from) {
  if (!searchBufferCurrent(*buffer, index, mode, language)) buildSearchBuffer(index, mode, language, buffer);
  std::string needle = foldSearchText(term);
  if (needle.empty() || from >= static_cast<int>(buffer->itemCount)) return -1;
  size_t begin = buffer->starts[std::max(from, 0)];
  const char* text = buffer->folded.data();
  const void* hit = memmem(text + begin, buffer->folded.size() - begin, needle.data(), needle.size());
  if (!hit) return -1;
  size_t at = static_cast<size_t>(static_cast<const char*>(hit) - text);
  auto after = std::upper_bound(buffer->starts.begin(), buffer->starts.end(), at);
  return static_cast<int>(after - buffer->starts.begin()) - 1;
}
