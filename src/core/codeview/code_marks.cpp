#include "core/codeview/code_marks.h"

#include <algorithm>

#include "core/app/text_cut.h"

namespace {

constexpr std::string_view kPlaceholder = "\xEF\xBF\xBC";  // U+FFFC

bool isContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Length in bytes of the line starting at `from`, and of its line end (0 at the end).
size_t lineLength(std::string_view text, size_t from, size_t* endBytes) {
  for (size_t i = from; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\n') return *endBytes = 1, i - from;
    if (c == '\r') return *endBytes = (i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1, i - from;
    if (c == '\xE2' && text.substr(i, 3) == "\xE2\x80\xA9") return *endBytes = 3, i - from;  // U+2029
  }
  *endBytes = 0;
  return text.size() - from;
}

// "\r\n" is two characters, U+2029 one.
int lineEndChars(size_t endBytes) { return endBytes == 2 ? 2 : endBytes ? 1 : 0; }

// The layout's cost of a line grows with its tabs far faster than with other
// characters, so a tab counts as this many towards the limit.
constexpr size_t kTabWeight = 8;

// Bytes of the longest start of the line whose weight stays within the limit;
// the whole line when it does.
size_t keptBytes(std::string_view line) {
  size_t weight = 0;
  for (size_t i = 0; i < line.size(); ++i) {
    if (isContinuation(line[i])) continue;
    weight += line[i] == '\t' ? kTabWeight : 1;
    if (weight > kCodeLineLimit) return i;
  }
  return line.size();
}

size_t charCount(std::string_view s) {
  size_t n = 0;
  for (char c : s) n += !isContinuation(c);
  return n;
}

// Removes the cut lines from [start, end): the pieces left are appended.
void appendOutsidePlain(TagSpan span, const std::vector<CharRange>& plain, std::vector<TagSpan>* out) {
  auto it = std::upper_bound(plain.begin(), plain.end(), span.start,
                             [](int offset, const CharRange& r) { return offset < r.end; });
  for (; it != plain.end() && it->start < span.end && span.start < span.end; ++it) {
    if (span.start < it->start) out->push_back(TagSpan{span.start, it->start, span.tag});
    span.start = std::max(span.start, it->end);
  }
  if (span.start < span.end) out->push_back(span);
}

bool onPlainLine(int offset, const std::vector<CharRange>& plain) {
  auto it = std::upper_bound(plain.begin(), plain.end(), offset, [](int o, const CharRange& r) { return o < r.end; });
  return it != plain.end() && it->start <= offset;
}

// Offsets of the text with link targets, moved to the text where each target is
// one placeholder character. Inside a target a start moves to the placeholder and
// an end to just before it: the target's own marks go with it.
struct LinkShift {
  const std::vector<TopicLink>& links;
  std::vector<int> shrunkBefore;  // characters the links before link i took out

  explicit LinkShift(const std::vector<TopicLink>& l) : links(l) {
    int shrunk = 0;
    for (const TopicLink& link : links) {
      shrunkBefore.push_back(shrunk);
      shrunk += link.end - link.start - 1;
    }
  }
  int place(int offset, bool isEnd) const {
    auto it = std::upper_bound(links.begin(), links.end(), offset,
                               [isEnd](int o, const TopicLink& l) { return isEnd ? o <= l.start : o < l.start; });
    if (it == links.begin()) return offset;
    size_t i = static_cast<size_t>(it - links.begin()) - 1;
    const TopicLink& before = links[i];
    if (offset < before.end || (isEnd && offset == before.end)) return before.start - shrunkBefore[i];
    return offset - shrunkBefore[i] - (before.end - before.start - 1);
  }
};

// Offsets of the file's text outside the cut lines, moved to the shown text.
struct CutShift {
  const ShownCode& code;
  explicit CutShift(const ShownCode& c) : code(c) {}
  int place(int offset) const {
    auto it = std::upper_bound(code.cutFrom.begin(), code.cutFrom.end(), offset,
                               [](int o, const CharRange& r) { return o < r.end; });
    if (it == code.cutFrom.begin()) return offset;
    size_t i = static_cast<size_t>(it - code.cutFrom.begin()) - 1;  // the last cut line before the offset
    return offset - code.cutFrom[i].end + code.plain[i].end;
  }
};

}  // namespace

std::string longLineNote(size_t chars) {
  return "   \xE2\x80\xA6 [line of " + std::to_string(chars) + " characters cut, shown unmarked]";
}

ShownCode cutLongCodeLines(std::string text) {
  ShownCode out;
  std::string_view all = text;
  size_t from = 0;
  size_t copied = 0;  // bytes of `text` already in out.text
  int chars = 0;      // characters of out.text plus those from `copied` to `from`
  int fileChars = 0;  // characters of the file's text up to `from`
  while (from < all.size()) {
    size_t endBytes = 0;
    size_t length = lineLength(all, from, &endBytes);
    std::string_view line = all.substr(from, length);
    size_t lineChars = charCount(line);
    size_t keep = lineChars > kCodeLineLimit / kTabWeight ? keptBytes(line) : line.size();
    if (keep < line.size()) {
      out.text.append(all.substr(copied, from - copied));
      std::string note = longLineNote(lineChars);
      out.text.append(line.substr(0, keep)).append(note);
      int shown = static_cast<int>(charCount(line.substr(0, keep)) + charCount(note));
      out.plain.push_back(CharRange{chars, chars + shown});
      out.cutFrom.push_back(CharRange{fileChars, fileChars + static_cast<int>(lineChars)});
      chars += shown + lineEndChars(endBytes);
      copied = from + length;
    } else {
      chars += static_cast<int>(lineChars) + lineEndChars(endBytes);
    }
    fileChars += static_cast<int>(lineChars) + lineEndChars(endBytes);
    from += length + endBytes;
  }
  if (copied == 0) {
    out.text = std::move(text);
  } else {
    out.text.append(all.substr(copied));
    out.original = std::move(text);
  }
  return out;
}

PlacedMarks placeMarks(const ShownCode& code, const HighlightResult& marks) {
  PlacedMarks out;
  CutShift cut(code);
  std::vector<TopicLink> links;
  for (const TopicLink& link : marks.links)
    if (!onPlainLine(link.start, code.cutFrom))
      links.push_back(TopicLink{cut.place(link.start), cut.place(link.end), link.target});
  // The text with each target replaced by its placeholder, in one pass.
  std::string_view text = code.text;
  size_t byte = 0;
  int offset = 0;
  auto advanceTo = [&](int target) {
    size_t from = byte;
    while (offset < target && byte < text.size()) {
      ++byte;
      while (byte < text.size() && isContinuation(text[byte])) ++byte;
      ++offset;
    }
    return text.substr(from, byte - from);
  };
  out.text.reserve(text.size());
  for (const TopicLink& link : links) {
    out.text.append(advanceTo(link.start));
    advanceTo(link.end);
    out.text.append(kPlaceholder);
  }
  out.text.append(text.substr(byte));

  std::vector<TagSpan> kept;
  kept.reserve(marks.spans.size());
  for (const TagSpan& span : marks.spans) appendOutsidePlain(span, code.cutFrom, &kept);
  for (TagSpan& span : kept) {
    span.start = cut.place(span.start);
    span.end = cut.place(span.end);
  }
  out.spans.reserve(kept.size());
  LinkShift shift(links);
  for (TagSpan span : kept) {
    span.start = shift.place(span.start, false);
    span.end = shift.place(span.end, true);
    if (span.start < span.end) out.spans.push_back(span);
  }
  std::stable_sort(out.spans.begin(), out.spans.end(),
                   [](const TagSpan& a, const TagSpan& b) { return a.start < b.start; });
  for (size_t i = 0; i < links.size(); ++i) {
    int at = links[i].start - shift.shrunkBefore[i];
    out.links.push_back(TopicLink{at, at + 1, links[i].target});
  }
  return out;
}
