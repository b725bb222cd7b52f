// The caseless matching of the index search over one folded buffer per scope.
#include "core/app/search_text.h"

#include <ctype.h>
#include <string.h>

#include <algorithm>

#include "core/text/utf8.h"

namespace {

bool searchBufferBegunFor(const SearchBuffer& buffer, const IndexModel& index, int mode, int language) {
  return buffer.mode == mode && buffer.language == language && buffer.itemCount == index.rowCount() &&
         buffer.generation == index.generation;
}

const TopicNode& nodeAt(const IndexModel& index, size_t item) {
  static const TopicNode empty;
  return item < index.rowCount() ? index.topic(item) : empty;
}

std::string_view descriptionIn(const TopicNode& node, int language) {
  return language == 0 ? node.descriptDe : language == 1 ? node.descriptEn : node.descriptFr;
}

// Hands `take` the parts of one item's searched text in order; the text joins them
// with ";". Mode 1 is the row text alone, mode 2 the row text and every title and
// description, any other mode the row text and the description in `language`.
template <typename Take>
void forEachSearchedPart(const IndexModel& index, size_t item, int mode, int language, Take take) {
  take(index.row(item).text);
  if (mode == 1) return;
  const TopicNode& node = nodeAt(index, item);
  if (mode != 2) {
    take(descriptionIn(node, language));
    return;
  }
  for (const std::string_view* field :
       {&node.themeDe, &node.themeEn, &node.themeFr, &node.descriptDe, &node.descriptEn, &node.descriptFr})
    take(*field);
}

// Folds the searched text of one item straight into *out, without building it first.
void appendFoldedItem(const FoldTable& table, const IndexModel& index, size_t item, int mode, int language,
                      std::string* out) {
  bool first = true;
  forEachSearchedPart(index, item, mode, language, [&](std::string_view part) {
    if (!first) out->push_back(';');
    first = false;
    appendFolded(table, part, out);
  });
}

// The bytes of every item's searched text before folding, which changes lengths
// only here and there: room for the whole buffer is taken at once, so it is never
// held twice while it grows. Each part counts one byte more, for the ";" after it
// or the item's closing NUL.
size_t unfoldedBytes(const IndexModel& index, int mode, int language) {
  size_t bytes = 0;
  for (size_t i = 0; i < index.rowCount(); ++i)
    forEachSearchedPart(index, i, mode, language, [&](std::string_view part) { bytes += part.size() + 1; });
  return bytes;
}

}  // namespace

void appendFolded(std::string_view utf8, std::string* out) { appendFolded(FoldTable(), utf8, out); }

FoldTable::FoldTable() {
  asciiIsPlain = true;
  for (int c = 0; c < 256; ++c) {
    int lower = tolower(c);
    if (c < 0x80) ascii[c] = static_cast<char>(lower);
    latin1[c] = static_cast<unsigned char>(lower & 0xFF);
    if (c < 0x80 && lower != (c >= 'A' && c <= 'Z' ? c + 32 : c)) asciiIsPlain = false;
  }
}

namespace {

// Eight ASCII bytes with A-Z made lower case: a byte gets its 0x20 bit when it is
// at least 'A' and not above 'Z'. No sum carries into the next byte, as every byte
// is below 0x80.
inline uint64_t lowerAscii8(uint64_t x) {
  constexpr uint64_t kOnes = 0x0101010101010101;
  uint64_t fromA = x + kOnes * (0x80 - 'A');
  uint64_t pastZ = x + kOnes * (0x80 - 'Z' - 1);
  return x | (((fromA & ~pastZ) & kOnes * 0x80) >> 2);
}

}  // namespace

void appendFolded(const FoldTable& table, std::string_view utf8, std::string* out) {
  // Folding never makes a text longer: room for all of it, then cut to what it took.
  const size_t base = out->size();
  out->resize(base + utf8.size());
  char* dst = out->data() + base;
  const char* src = utf8.data();
  const size_t n = utf8.size();
  size_t i = 0;
  while (i < n) {
    if (table.asciiIsPlain) {
      for (uint64_t eight; i + 8 <= n; i += 8, dst += 8) {
        memcpy(&eight, src + i, 8);
        if (eight & 0x8080808080808080) break;
        eight = lowerAscii8(eight);
        memcpy(dst, &eight, 8);
      }
      if (i >= n) break;
    }
    unsigned char c = static_cast<unsigned char>(src[i]);
    if (c < 0x80) {
      *dst++ = table.ascii[c];
      ++i;
      continue;
    }
    char32_t cp = 0;
    size_t len = utf8SequenceAt(utf8, i, &cp);
    if (len == 2 && cp <= 0xFF) {  // U+0080..U+00FF: the locale's single-byte table decides
      unsigned char lower = table.latin1[cp];
      if (lower < 0x80) {
        *dst++ = static_cast<char>(lower);
      } else {
        *dst++ = static_cast<char>(0xC0 | (lower >> 6));
        *dst++ = static_cast<char>(0x80 | (lower & 0x3F));
      }
    } else {  // other characters and bytes of no sequence are kept as they are
      len = len == 0 ? 1 : len;
      memcpy(dst, src + i, len);
      dst += len;
    }
    i += len;
  }
  out->resize(static_cast<size_t>(dst - out->data()));
}

std::string foldSearchText(const FoldTable& table, std::string_view utf8) {
  std::string out;
  appendFolded(table, utf8, &out);
  return out;
}

std::string foldSearchText(std::string_view utf8) { return foldSearchText(FoldTable(), utf8); }

std::string searchedText(const IndexModel& index, size_t item, int mode, int language) {
  if (item >= index.rowCount()) return std::string();
  std::string text;
  bool first = true;
  forEachSearchedPart(index, item, mode, language, [&](std::string_view part) {
    if (!first) text.push_back(';');
    first = false;
    text.append(part);
  });
  return text;
}

bool searchTextContains(std::string_view text, std::string_view term) {
  return foldSearchText(text).find(foldSearchText(term)) != std::string::npos;
}

bool foldSearchTexts(const IndexModel& index, int mode, int language, size_t maxItems, SearchBuffer* buffer) {
  if (!searchBufferBegunFor(*buffer, index, mode, language) || (buffer->starts.empty() && !buffer->valid)) {
    buffer->folded.clear();
    buffer->folded.reserve(unfoldedBytes(index, mode, language) * 17 / 16);
    buffer->starts.clear();
    buffer->starts.reserve(index.rowCount());
    buffer->mode = mode;
    buffer->language = language;
    buffer->itemCount = index.rowCount();
    buffer->generation = index.generation;
  }
  const size_t end = buffer->starts.size() + std::min(maxItems, index.rowCount() - buffer->starts.size());
  const FoldTable table;
  for (size_t i = buffer->starts.size(); i < end; ++i) {
    buffer->starts.push_back(buffer->folded.size());
    appendFoldedItem(table, index, i, mode, language, &buffer->folded);
    buffer->folded.push_back('\0');
  }
  buffer->valid = buffer->starts.size() == index.rowCount();
  return buffer->valid;
}

void buildSearchBuffer(const IndexModel& index, int mode, int language, SearchBuffer* buffer) {
  *buffer = SearchBuffer();
  foldSearchTexts(index, mode, language, index.rowCount(), buffer);
}

bool searchBufferCurrent(const SearchBuffer& buffer, const IndexModel& index, int mode, int language) {
  return buffer.valid && searchBufferBegunFor(buffer, index, mode, language);
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
  foldSearchTexts(index, mode, language, index.rowCount(), buffer);  // the rest of a buffer begun in steps
  return findFolded(*buffer, foldSearchText(term), from);
}

size_t longestFindablePrefix(SearchBuffer* buffer, const IndexModel& index, int mode, int language,
                             std::string_view term) {
  foldSearchTexts(index, mode, language, index.rowCount(), buffer);
  // The term folded once; ends[i] is where its first i + 1 characters end.
  std::string folded;
  std::vector<size_t> ends;
  folded.reserve(term.size());
  ends.reserve(term.size());
  const FoldTable table;
  for (size_t i = 0; i < term.size();) {
    char32_t cp = 0;
    size_t next = i + std::max<size_t>(utf8SequenceAt(term, i, &cp), 1);
    appendFolded(table, term.substr(i, next - i), &folded);
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
