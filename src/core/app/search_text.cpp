// The caseless matching of the index search over one folded buffer per scope.
#include "core/app/search_text.h"

#include <ctype.h>
#include <string.h>

#include <algorithm>

namespace {

void appendCodePointBelow256(unsigned cp, std::string* out) {
  if (cp < 0x80) {
    out->push_back(static_cast<char>(cp));
  } else {
    out->push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

bool isContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Length of the valid UTF-8 sequence at s[i], or 0 when the bytes there are none.
size_t sequenceLength(std::string_view s, size_t i) {
  unsigned char c = static_cast<unsigned char>(s[i]);
  size_t n = c < 0x80 ? 1 : c >= 0xC2 && c <= 0xDF ? 2 : c >= 0xE0 && c <= 0xEF ? 3 : c >= 0xF0 && c <= 0xF4 ? 4 : 0;
  if (n == 0 || i + n > s.size()) return 0;
  for (size_t k = 1; k < n; ++k)
    if (!isContinuation(static_cast<unsigned char>(s[i + k]))) return 0;
  return n;
}

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
    size_t n = sequenceLength(utf8, i);
    if (n == 2 && c <= 0xC3) {  // U+0080..U+00FF: the locale's single-byte table decides
      unsigned cp = ((c & 0x1Fu) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu);
      appendCodePointBelow256(static_cast<unsigned>(tolower(static_cast<int>(cp))) & 0xFFu, out);
    } else {
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

namespace {

// The item holding the folded needle, searching from the start of item `from`.
int findFolded(const SearchBuffer& buffer, std::string_view needle, int from) {
  if (needle.empty() || from >= static_cast<int>(buffer.itemCount)) return -1;
  size_t begin = buffer.starts[std::max(from, 0)];
  const char* text = buffer.folded.data();
  const void* hit = memmem(text + begin, buffer.folded.size() - begin, needle.data(), needle.size());
  if (!hit) return -1;
  size_t at = static_cast<size_t>(static_cast<const char*>(hit) - text);
  auto after = std::upper_bound(buffer.starts.begin(), buffer.starts.end(), at);
  return static_cast<int>(after - buffer.starts.begin()) - 1;
}

}  // namespace

int findSearchItem(SearchBuffer* buffer, const IndexModel& index, int mode, int language, std::string_view term,
                   int from) {
  if (!searchBufferCurrent(*buffer, index, mode, language)) buildSearchBuffer(index, mode, language, buffer);
  return findFolded(*buffer, foldSearchText(term), from);
}

size_t longestFindablePrefix(SearchBuffer* buffer, const IndexModel& index, int mode, int language,
                             std::string_view term) {
  if (!searchBufferCurrent(*buffer, index, mode, language)) buildSearchBuffer(index, mode, language, buffer);
  // The term folded once; ends[i] is where its first i + 1 characters end.
  std::string folded;
  std::vector<size_t> ends;
  folded.reserve(term.size());
  ends.reserve(term.size());
  for (size_t i = 0; i < term.size();) {
    size_t next = i + 1;
    while (next < term.size() && isContinuation(static_cast<unsigned char>(term[next]))) ++next;
    appendFolded(term.substr(i, next - i), &folded);
    ends.push_back(folded.size());
    i = next;
  }
  auto found = [&](size_t chars) {
    return chars == 0 || findFolded(*buffer, std::string_view(folded).substr(0, ends[chars - 1]), 0) >= 0;
  };
  // A term that was findable before its last character came is the usual case.
  if (found(ends.size())) return ends.size();
  if (found(ends.size() - 1)) return ends.size() - 1;
  size_t lo = 0;                // found
  size_t hi = ends.size() - 1;  // not found
  while (hi - lo > 1) {
    size_t mid = lo + (hi - lo) / 2;
    (found(mid) ? lo : hi) = mid;
  }
  return lo;
}
