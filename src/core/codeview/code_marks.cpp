#include "core/codeview/code_marks.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "core/app/regular_file.h"
#include "core/app/text_cut.h"

namespace {

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

// Where the line holding byte `from` ends: at its line break, or at the end.
size_t lineEndByte(std::string_view text, size_t from) {
  size_t endBytes = 0;
  return from + lineLength(text, from, &endBytes);
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

// Eight ASCII bytes at a time: the links of a big file are counted up to over all
// of its text while the view waits.
size_t charCount(std::string_view s) {
  size_t n = 0, i = 0;
  for (uint64_t eight = 0; i + 8 <= s.size(); i += 8) {
    std::memcpy(&eight, s.data() + i, 8);
    if ((eight & 0x8080808080808080u) == 0) {
      n += 8;
      continue;
    }
    for (size_t k = i; k < i + 8; ++k) n += !isContinuation(s[k]);
  }
  for (; i < s.size(); ++i) n += !isContinuation(s[i]);
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

// Offsets of the shown text, moved to the text where each link target is one
// placeholder character. Inside a target a start moves to the placeholder and an
// end to just before it: the target's own marks go with it.
struct LinkShift {
  const std::vector<CharRange>& targets;
  std::vector<int> shrunkBefore;  // characters the targets before target i took out

  explicit LinkShift(const std::vector<CharRange>& t) : targets(t) {
    int shrunk = 0;
    for (const CharRange& target : targets) {
      shrunkBefore.push_back(shrunk);
      shrunk += target.end - target.start - 1;
    }
  }
  int place(int offset, bool isEnd) const {
    auto it = std::upper_bound(targets.begin(), targets.end(), offset,
                               [isEnd](int o, const CharRange& t) { return isEnd ? o <= t.start : o < t.start; });
    if (it == targets.begin()) return offset;
    size_t i = static_cast<size_t>(it - targets.begin()) - 1;
    const CharRange& before = targets[i];
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

bool cutLongCodeText(std::string* text, size_t limit, size_t lineLimit, uint64_t fileBytes) {
  const size_t all = text->size();
  size_t end = all;
  if (all > limit) {
    end = text->rfind('\n', limit);
    if (end == std::string::npos || end == 0) {  // no whole line: the last whole character
      end = limit;
      while (end > 0 && (static_cast<unsigned char>((*text)[end]) & 0xC0) == 0x80) --end;
    }
  }
  size_t lines = 1;
  for (size_t feed = text->find('\n'); feed < end; feed = text->find('\n', feed + 1)) {
    if (lines++ == lineLimit) {
      end = feed;
      break;
    }
  }
  if (end == all) return false;
  text->resize(end);
  *text += "\n" + longTextNote(end, fileBytes);
  // The text was decoded only a little past the cut: a copy would cost more than
  // the slack it frees.
  if (text->capacity() - text->size() > text->size() / 8) text->shrink_to_fit();
  return true;
}

std::string longTextNote(size_t shownBytes, uint64_t allBytes) {
  return "; \xE2\x80\xA6 [text of " + byteSizeText(allBytes) + " cut after " + byteSizeText(shownBytes) +
         ": the rest is not shown]";
}

std::string longLineNote(size_t chars) {
  return "   \xE2\x80\xA6 [line of " + std::to_string(chars) + " characters cut, shown unmarked]";
}

ShownCode cutLongCodeLines(std::string text) {
  ShownCode out;
  std::string_view all = text;
  size_t from = 0;
  size_t copied = 0;   // bytes of `text` already in out.text
  size_t counted = 0;  // bytes whose characters are in `chars` and `fileChars`
  int chars = 0;       // characters of out.text plus those from `copied` to `counted`
  int fileChars = 0;   // characters of the file's text up to `counted`
  while (from < all.size()) {
    // A stretch up to a line feed that is short in bytes holds no line to cut,
    // whatever other line ends it has; its characters are counted when needed.
    size_t feed = all.find('\n', from);
    size_t stop = feed == std::string_view::npos ? all.size() : feed + 1;
    if (stop - from <= kCodeLineLimit / kTabWeight) {
      from = stop;
      continue;
    }
    int before = static_cast<int>(charCount(all.substr(counted, from - counted)));
    chars += before;
    fileChars += before;
    while (from < stop) {
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
    counted = from;
  }
  if (copied == 0) {
    out.text = std::move(text);
  } else {
    out.text.append(all.substr(copied));
    out.original = std::move(text);
  }
  return out;
}

size_t wholeLinesPrefix(std::string_view text, size_t most) {
  if (most >= text.size()) return text.size();
  for (size_t end = most; end > 0; --end) {
    char last = text[end - 1];
    if (last == '\n' || (last == '\r' && text[end] != '\n')) return end;
  }
  return 0;
}

namespace {

// The target of the first link marker at or after `byte`, up to its line end;
// false when there is none.
bool nextLinkTarget(std::string_view text, size_t byte, ByteRange* target) {
  size_t at = text.find(kTopicLinkMarker, byte);
  if (at == std::string_view::npos) return false;
  target->start = at + kTopicLinkMarker.size();
  target->end = lineEndByte(text, target->start);
  return true;
}

}  // namespace

PlacedLinks placeLinks(const ShownCode& code) {
  PlacedLinks out;
  std::string_view text = code.text;
  size_t byte = 0;  // searched up to here
  int chars = 0;    // characters before `byte`
  int shrunk = 0;   // characters the anchors took out so far
  auto plain = code.plain.begin();
  // Room for as many links as the text could hold: pages are only taken as they are
  // written, and the lists never move while they grow.
  const size_t most = text.size() / kTopicLinkMarker.size() + 1;
  out.anchors.reserve(most);
  out.targetBytes.reserve(most);
  out.targets.reserve(most);
  for (ByteRange found; nextLinkTarget(text, byte, &found);) {
    const size_t targetByte = found.start;
    const size_t endByte = found.end;
    chars += static_cast<int>(charCount(text.substr(byte, targetByte - byte)));
    int start = chars;
    int end = start + static_cast<int>(charCount(text.substr(targetByte, endByte - targetByte)));
    byte = endByte;
    chars = end;
    while (plain != code.plain.end() && plain->end <= start) ++plain;
    if (plain != code.plain.end() && plain->start < start) continue;  // a cut line keeps its text
    out.anchors.push_back(start - shrunk);
    out.targetBytes.push_back(ByteRange{targetByte, endByte});
    out.targets.push_back(CharRange{start, end});
    shrunk += end - start - 1;
  }
  return out;
}

LinkTargetSearch linkTargetSearch(const ShownCode& code) {
  LinkTargetSearch search{code.text, {}, 0};
  if (!code.plain.empty()) search.listed = placeLinks(code).targetBytes;
  return search;
}

bool nextLinkTarget(LinkTargetSearch& search, ByteRange* target) {
  if (search.listed.empty()) {
    if (!nextLinkTarget(search.text, search.next, target)) return false;
    search.next = target->end;
    return true;
  }
  if (search.next == search.listed.size()) return false;
  *target = search.listed[search.next++];
  return true;
}

std::vector<TagSpan> placeSpans(const ShownCode& code, std::vector<TagSpan> spans,
                                const std::vector<CharRange>& targets) {
  if (!code.plain.empty()) {
    std::vector<TagSpan> kept;
    kept.reserve(spans.size());
    for (const TagSpan& span : spans) appendOutsidePlain(span, code.cutFrom, &kept);
    CutShift cut(code);
    for (TagSpan& span : kept) span = TagSpan{cut.place(span.start), cut.place(span.end), span.tag};
    spans = std::move(kept);
  }
  // Moved in place: the spans of a big file take more memory than its text.
  LinkShift shift(targets);
  size_t out = 0;
  for (TagSpan span : spans) {
    if (!targets.empty()) span = TagSpan{shift.place(span.start, false), shift.place(span.end, true), span.tag};
    if (span.start < span.end) spans[out++] = span;
  }
  spans.resize(out);
  // The spans of a big file take more memory than its text, but a copy costs more
  // than a little slack.
  if (spans.capacity() - out > out / 8) spans.shrink_to_fit();
  auto byStart = [](const TagSpan& a, const TagSpan& b) { return a.start < b.start; };
  if (!std::is_sorted(spans.begin(), spans.end(), byStart)) std::stable_sort(spans.begin(), spans.end(), byStart);
  return spans;
}
