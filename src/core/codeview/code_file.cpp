// Reading a code file: encoding by byte-order mark, line splitting, the hidden
// IDE-options footer and its flags, and the texts shown for dropped or missing files.
#include "core/codeview/code_file.h"

#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>

#include "core/app/regular_file.h"

#include "core/codeview/code_marks.h"
#include "core/settings/language_keys.h"
#include "core/text/fresh_memory.h"
#include "core/text/utf8.h"

namespace {

constexpr std::string_view kFooterStart = "; IDE Options = ";
// Footer lines only matter by their start; longer lines are not kept whole.
constexpr size_t kFooterPrefixKept = 32;
// The footer's first line and every footer line that sets a flag begin so.
constexpr std::string_view kCountingLineStart = "; ";

void examineFooterLine(std::string_view line, CodeFileText* out) {
  if (line.starts_with("; EnableUnicode")) out->exeIsUnicode = 1;
  if (line.starts_with("; SubSystem = gtk2")) out->subsystemKind = 1;
  if (line.starts_with("; SubSystem = gtk3")) out->subsystemKind = 2;
}

// Turns decoded characters into lines, and lines into the shown text or the footer.
// Characters are written straight into the text, sized ahead and cut to length at
// the end, so a large file is copied once. In place, the text already holds the
// bytes being decoded and never grows: each character is written no further than
// where its bytes were read.
class LineAssembler {
 public:
  // Keep: lines go into the text. Scan: past the shown text, only the start of each
  // line is kept, to find the footer. Footer: the start of each line sets the flags.
  enum class Mode { Keep, Scan, Footer };

  // Grown beyond `sizeHint`, the text stays within `sizeCap` where it can.
  LineAssembler(CodeFileText* out, size_t sizeHint, bool inPlace, size_t sizeCap = SIZE_MAX)
      : out_(out), inPlace_(inPlace), sizeCap_(sizeCap) {
    if (inPlace_) return;
    reserveFresh(&out_->text, sizeHint + 16);
    out_->text.resize(sizeHint + 16);
  }

  void feed(char32_t c) {
    if (afterCr_ && c == '\n') {  // the LF of a CR LF pair ends nothing new
      afterCr_ = false;
      return;
    }
    afterCr_ = c == '\r';
    if (c == '\n' || c == '\r' || c == 0) {
      endLine();
      return;
    }
    if (!inLine_) beginLine();
    if (!keptChar_ && c == '?') return;  // leading "?" are dropped from every line
    keptChar_ = true;
    if (mode_ == Mode::Keep) {
      put(c);
    } else if (lineStart_.size() < kFooterPrefixKept) {
      appendUtf8(&lineStart_, c);
    }
  }

  // A run of characters that are ASCII but no line end and no NUL, taken as feed
  // would take them one by one, but copied at once.
  void feedPlain(std::string_view run) {
    afterCr_ = false;
    if (!inLine_) beginLine();
    if (!keptChar_) {
      size_t kept = run.find_first_not_of('?');
      if (kept == std::string_view::npos) return;
      run.remove_prefix(kept);
      keptChar_ = true;
    }
    if (mode_ != Mode::Keep) {
      if (lineStart_.size() < kFooterPrefixKept)
        lineStart_.append(run.substr(0, kFooterPrefixKept - lineStart_.size()));
      return;
    }
    reserve(run.size());
    std::memmove(&out_->text[used_], run.data(), run.size());
    used_ += run.size();
  }

  // A run of LF, CR and NUL, taken as feed would take them one by one: after the
  // first, each ends an empty line, which adds only its line feed to kept text.
  void feedLineEnds(std::string_view ends) {
    feed(static_cast<unsigned char>(ends[0]));
    size_t empty = 0;
    bool afterCr = afterCr_;
    for (char c : ends.substr(1)) {
      empty += !(afterCr && c == '\n');
      afterCr = c == '\r';
    }
    afterCr_ = afterCr;
    if (mode_ != Mode::Keep || used_ == 0 || empty == 0) return;
    reserve(empty);
    std::memset(&out_->text[used_], '\n', empty);
    used_ += empty;
  }

  // Past the kept text, the rest of a line whose start is known to count for
  // nothing, or is kept as far as it counts, need not be decoded.
  bool restOfLineIrrelevant() const {
    if (mode_ == Mode::Keep || !inLine_) return false;
    const std::string& start = lineStart_;
    return start.size() >= kFooterPrefixKept || (!start.empty() && start[0] != kCountingLineStart[0]) ||
           (start.size() > 1 && start[1] != kCountingLineStart[1]);
  }

  // Past the kept text, between lines or in one that counts for nothing.
  bool skimming() const { return mode_ != Mode::Keep && (!inLine_ || restOfLineIrrelevant()); }
  bool inLine() const { return inLine_; }

  // How many more plain characters can matter to the current line: all while the
  // text is kept, else as many as it takes to tell whether the line can count.
  size_t plainWanted() const {
    if (mode_ == Mode::Keep) return SIZE_MAX;
    size_t have = inLine_ ? lineStart_.size() : 0;
    if (have < kCountingLineStart.size()) return kCountingLineStart.size() - have;
    return kFooterPrefixKept - std::min(have, kFooterPrefixKept - 1);
  }

  // The bytes of the text that no later character can take back: all but a line
  // that may yet turn out to be the footer's first. A line that already begins as
  // the footer does is the footer's first whatever follows, so it is dropped here
  // rather than kept to its end, however long it is.
  size_t settle() {
    if (mode_ != Mode::Keep || !inLine_) return used_;
    std::string_view line = currentLine();
    if (line.starts_with(kFooterStart)) {
      lineStart_.assign(line.substr(0, kFooterPrefixKept));
      used_ = lineBegin_;
      mode_ = Mode::Footer;
      return used_;
    }
    return kFooterStart.starts_with(line) ? lineBegin_ : used_;
  }

  // From here on the text stays at its settled size, and lines are only looked at
  // for the footer and its flags.
  void stopKeeping() {
    size_t settled = settle();
    if (mode_ == Mode::Keep) {
      if (inLine_) lineStart_.assign(currentLine().substr(0, kFooterPrefixKept));
      mode_ = Mode::Scan;
    }
    used_ = settled;
  }

  // A last line without a line end still counts, even when all it held was "?".
  void finish() {
    if (inLine_) endLine();
    out_->text.resize(used_);
  }

 private:
  std::string_view currentLine() const { return std::string_view(out_->text.data() + textBegin_, used_ - textBegin_); }

  // Room for `bytes` more; never needed in place.
  void reserve(size_t bytes) {
    std::string& text = out_->text;
    if (inPlace_ || text.size() - used_ >= bytes + 4) return;
    size_t needed = used_ + bytes + 4;
    text.resize(std::max(needed, std::min(text.size() * 2, sizeCap_)));
  }

  void put(char32_t c) {
    reserve(4);
    if (c < 0x80) {
      out_->text[used_++] = static_cast<char>(c);
    } else {
      used_ += encodeUtf8(c, &out_->text[used_]);
    }
  }

  void beginLine() {
    inLine_ = true;
    keptChar_ = false;
    if (mode_ != Mode::Keep) {
      lineStart_.clear();
      return;
    }
    lineBegin_ = used_;
    if (used_ != 0) put('\n');
    textBegin_ = used_;
  }

  void endLine() {
    if (!inLine_) beginLine();
    inLine_ = false;
    if (mode_ == Mode::Footer) {
      examineFooterLine(lineStart_, out_);
      return;
    }
    std::string_view line = mode_ == Mode::Keep ? currentLine() : std::string_view(lineStart_);
    if (!line.starts_with(kFooterStart)) return;
    examineFooterLine(line, out_);
    if (mode_ == Mode::Keep) used_ = lineBegin_;
    mode_ = Mode::Footer;
  }

  CodeFileText* out_;
  bool inPlace_;
  size_t sizeCap_;
  Mode mode_ = Mode::Keep;
  std::string lineStart_;  // outside Keep: the current line's first kept characters
  size_t used_ = 0;        // length of the text written so far
  size_t lineBegin_ = 0;   // text size before the current line and its separator
  size_t textBegin_ = 0;   // where the current line's characters start
  bool inLine_ = false;
  bool keptChar_ = false;
  bool afterCr_ = false;
};

// Eight bytes at a time.
bool isAscii(std::string_view s) {
  size_t i = 0;
  for (uint64_t eight = 0; i + 8 <= s.size(); i += 8) {
    std::memcpy(&eight, s.data() + i, 8);
    if (eight & 0x8080808080808080u) return false;
  }
  for (; i < s.size(); ++i)
    if (static_cast<unsigned char>(s[i]) >= 0x80) return false;
  return true;
}

bool isLineEndByte(char c) { return c == '\n' || c == '\r' || c == 0; }

bool isPlainByte(char c) { return static_cast<unsigned char>(c) < 0x80 && !isLineEndByte(c); }

// The first LF, CR or NUL byte from `i` on, or the end; eight bytes at a time. In
// UTF-8 and ISO 8859-1 these bytes are the line ends and nothing else.
size_t lineEndByte(std::string_view s, size_t i) {
  constexpr uint64_t kOnes = 0x0101010101010101u;
  auto hasZero = [](uint64_t v) { return (v - kOnes) & ~v & (kOnes << 7); };
  for (uint64_t eight = 0; i + 8 <= s.size(); i += 8) {
    std::memcpy(&eight, s.data() + i, 8);
    uint64_t found = hasZero(eight) | hasZero(eight ^ (kOnes * '\n')) | hasZero(eight ^ (kOnes * '\r'));
    if (found == 0) continue;
    // A false hit can only follow a true one: the lowest is true.
    if constexpr (std::endian::native == std::endian::little) return i + std::countr_zero(found) / 8;
    break;
  }
  while (i < s.size() && !isLineEndByte(s[i])) ++i;
  return i;
}

// Skimming, a line that begins with a plain character other than "?" or ";" counts
// for nothing: such lines are passed over whole, with the line ends between them,
// up to a line that may count (whose first byte is returned) or the end. The
// assembler sees only the last line ends, and the start of a line the end cuts.
size_t skimLines(std::string_view bytes, size_t i, LineAssembler* lines) {
  const size_t n = bytes.size();
  size_t ends = lines->inLine() ? lineEndByte(bytes, i) : i;
  while (ends < n) {
    size_t start = ends;
    while (start < n && isLineEndByte(bytes[start])) ++start;
    bool skip = start < n && isPlainByte(bytes[start]) && bytes[start] != '?' && bytes[start] != kCountingLineStart[0];
    size_t next = skip ? lineEndByte(bytes, start + 1) : start;
    if (!skip || next == n) {
      if (start > ends) lines->feedLineEnds(bytes.substr(ends, start - ends));
      if (skip) lines->feedPlain(bytes.substr(start, 1));
      return next;
    }
    ends = next;
  }
  return n;
}

// Most of a code file is runs of plain ASCII, which are copied whole; every other
// character goes through `other`, which feeds it and returns the byte after it, or
// the byte itself to stop there. Returns the bytes used.
template <typename Other>
size_t feedByRuns(std::string_view bytes, LineAssembler* lines, Other&& other) {
  size_t i = 0;
  while (i < bytes.size()) {
    if (lines->skimming() && (i = skimLines(bytes, i, lines)) == bytes.size()) break;
    size_t start = i;
    size_t wanted = lines->plainWanted();
    // Whether dropped or kept, "?" tell nothing about whether a line counts.
    if (wanted != SIZE_MAX) i = std::min(bytes.find_first_not_of('?', i), bytes.size());
    size_t end = i + std::min(wanted, bytes.size() - i);
    while (i < end && isPlainByte(bytes[i])) ++i;
    if (i > start) lines->feedPlain(bytes.substr(start, i - start));
    if (i < bytes.size() && isPlainByte(bytes[i])) continue;  // all that was wanted, for now
    if (i == bytes.size()) break;
    if (isLineEndByte(bytes[i])) {
      size_t ends = i;
      while (i < bytes.size() && isLineEndByte(bytes[i])) ++i;
      lines->feedLineEnds(bytes.substr(ends, i - ends));
      continue;
    }
    size_t next = other(i);
    if (next == i) break;
    i = next;
  }
  return i;
}

size_t decodeLatin1(std::string_view bytes, LineAssembler* lines) {
  return feedByRuns(bytes, lines, [&](size_t i) {
    lines->feed(static_cast<unsigned char>(bytes[i]));
    return i + 1;
  });
}

// A byte that begins no well-formed sequence is one "?". Unless `last`, a sequence
// near the end is left for when the bytes after it have come.
size_t decodeUtf8Lines(std::string_view bytes, bool last, LineAssembler* lines) {
  return feedByRuns(bytes, lines, [&](size_t i) {
    if (!last && bytes.size() - i < 4) return i;
    char32_t c = 0;
    size_t len = utf8SequenceAt(bytes, i, &c);
    lines->feed(len == 0 ? U'?' : c);
    return i + std::max<size_t>(len, 1);
  });
}

char32_t utf16UnitAt(std::string_view s, size_t i) {
  return static_cast<unsigned char>(s[i]) | (static_cast<unsigned char>(s[i + 1]) << 8);
}

// The first line-end unit from `i` on, or where no whole unit is left.
size_t utf16LineEnd(std::string_view s, size_t i) {
  while (i + 1 < s.size() && !(s[i + 1] == 0 && isLineEndByte(s[i]))) i += 2;
  return i;
}

// Unless `last`, the last three bytes are left for when those after them have
// come: they may hold a surrogate pair or half a unit.
size_t decodeUtf16Le(std::string_view bytes, bool last, LineAssembler* lines) {
  size_t i = 0;
  while (i + 1 < bytes.size()) {
    if (!last && bytes.size() - i < 4) return i;
    if (lines->restOfLineIrrelevant()) {
      i = utf16LineEnd(bytes, i);
      if (i + 1 >= bytes.size()) break;
    }
    char32_t u = utf16UnitAt(bytes, i);
    i += 2;
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < bytes.size()) {
      char32_t low = utf16UnitAt(bytes, i);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        lines->feed(0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
        i += 2;
        continue;
      }
    }
    lines->feed(u >= 0xD800 && u <= 0xDFFF ? U'?' : u);
  }
  if (!last) return i;
  if (i < bytes.size()) lines->feed(U'?');  // half a code unit at the end
  return bytes.size();
}

enum class Encoding { Utf8, Utf16, Latin1 };

// The encoding the byte-order mark tells, and the mark's length. Big-endian marks
// are skipped, and the rest read as ISO 8859-1.
Encoding encodingOf(std::string_view bytes, size_t* mark) {
  *mark = 0;
  if (bytes.starts_with("\xEF\xBB\xBF")) return *mark = 3, Encoding::Utf8;
  if (bytes.starts_with("\xFF\xFE")) return *mark = 2, Encoding::Utf16;
  if (bytes.starts_with("\xFE\xFF")) {
    *mark = 2;
  } else if (bytes.starts_with(std::string_view("\0\0\xFE\xFF", 4))) {
    *mark = 4;
  }
  return Encoding::Latin1;
}

// Decodes what can be decoded of `bytes` (all of them when `last`); the bytes used.
size_t decodeSome(Encoding encoding, std::string_view bytes, bool last, LineAssembler* lines) {
  switch (encoding) {
    case Encoding::Utf8:
      return decodeUtf8Lines(bytes, last, lines);
    case Encoding::Utf16:
      return decodeUtf16Le(bytes, last, lines);
    case Encoding::Latin1:
      break;
  }
  return decodeLatin1(bytes, lines);
}

// The reading state of readShownCodeFile: a buffer of one chunk, whose start holds
// the bytes of a character that the chunk before cut.
struct ChunkReader {
  int fd;
  size_t chunk;
  std::unique_ptr<char[]> buffer{new char[chunk]};
  size_t held = 0;     // bytes in the buffer
  uint64_t total = 0;  // bytes read so far

  // Tops the buffer up; *last when the file ended in it.
  FileStatus next(bool* last) {
    ssize_t n = readFull(fd, buffer.get() + held, chunk - held);
    if (n < 0) return FileStatus::Failed;
    held += static_cast<size_t>(n);
    total += static_cast<uint64_t>(n);
    *last = held < chunk;
    return total > kFileSizeLimit ? FileStatus::TooLarge : FileStatus::Ok;  // it grew while read
  }
  std::string_view bytes() const { return std::string_view(buffer.get(), held); }
  void drop(size_t used) {
    std::memmove(buffer.get(), buffer.get() + used, held - used);
    held -= used;
  }
};

// The kept text's line feeds, counted as the text settles.
struct FeedCount {
  size_t counted = 0;  // bytes of text counted
  size_t feeds = 0;

  // True once the settled text reaches past what is shown, by bytes or by lines:
  // the cut then no longer depends on any text that follows.
  bool pastShown(std::string_view text, size_t settled, const ShownCodeLimits& limits) {
    feeds += static_cast<size_t>(std::count(text.begin() + counted, text.begin() + settled, '\n'));
    counted = settled;
    return settled > limits.bytes || (limits.lines != 0 && feeds >= limits.lines);
  }
};

// Decodes the open file until its settled text passes what is shown, then only
// looks for the footer in the rest. The text is left uncut.
FileStatus decodeShownPart(int fd, uint64_t fileSize, const ShownCodeLimits& limits, CodeFileText* out) {
  ChunkReader reader{fd, std::max<size_t>(limits.chunkBytes, 8)};
  bool last = false;
  FileStatus status = reader.next(&last);
  if (status != FileStatus::Ok) return status;
  size_t mark = 0;
  Encoding encoding = encodingOf(reader.bytes(), &mark);
  reader.drop(mark);
  // Past the shown bytes, a chunk adds at most three bytes of text for each of its own.
  size_t cap = limits.bytes + 3 * reader.chunk + 64;
  LineAssembler lines(out, static_cast<size_t>(std::min<uint64_t>(fileSize, cap)), false, cap);
  out->sourceIsUtf8 = encoding == Encoding::Utf8;
  FeedCount count;
  bool keeping = true;
  for (;;) {
    reader.drop(decodeSome(encoding, reader.bytes(), last, &lines));
    if (last) break;
    if (keeping && count.pastShown(out->text, lines.settle(), limits)) {
      lines.stopKeeping();
      keeping = false;
    }
    if ((status = reader.next(&last)) != FileStatus::Ok) return status;
  }
  lines.finish();
  return FileStatus::Ok;
}

}  // namespace

void decodeCodeBytes(std::string_view bytes, CodeFileText* out) { decodeOwnCodeBytes(std::string(bytes), out); }

void decodeOwnCodeBytes(std::string bytes, CodeFileText* out) {
  *out = CodeFileText{};
  size_t mark = 0;
  Encoding encoding = encodingOf(bytes, &mark);
  std::string_view body = std::string_view(bytes).substr(mark);
  // UTF-8 never decodes longer than its bytes, nor does ASCII as ISO 8859-1.
  bool inPlace = encoding == Encoding::Utf8 || (encoding == Encoding::Latin1 && isAscii(body));
  if (inPlace) {
    out->text = std::move(bytes);  // the characters stay where they are
    body = std::string_view(out->text).substr(mark);
  }
  LineAssembler lines(out, body.size(), inPlace);
  out->sourceIsUtf8 = encoding == Encoding::Utf8;
  decodeSome(encoding, body, true, &lines);
  lines.finish();
}

bool readCodeFile(const std::string& path, CodeFileText* out, std::string* refusal) {
  *out = CodeFileText{};
  if (refusal) refusal->clear();
  std::string bytes;
  uint64_t size = 0;
  FileStatus status = readRegularFile(path, kFileSizeLimit, &bytes, &size);
  if (status == FileStatus::TooLarge && refusal) *refusal = tooLargeFileMessage(path, size);
  if (status != FileStatus::Ok) return false;
  decodeOwnCodeBytes(std::move(bytes), out);
  return true;
}

bool readShownCodeFile(const std::string& path, const ShownCodeLimits& limits, CodeFileText* out,
                       std::string* refusal) {
  *out = CodeFileText{};
  if (refusal) refusal->clear();
  FileStatus status = FileStatus::Ok;
  uint64_t size = 0;
  int fd = openRegularFile(path, &status, &size);
  if (fd < 0) return false;
  status = size > kFileSizeLimit ? FileStatus::TooLarge : decodeShownPart(fd, size, limits, out);
  close(fd);
  if (status == FileStatus::TooLarge && refusal)
    *refusal = tooLargeFileMessage(path, std::max(size, kFileSizeLimit + 1));
  if (status != FileStatus::Ok) {
    *out = CodeFileText{};
    return false;
  }
  cutLongCodeText(&out->text, limits.bytes, limits.lines, size);
  return true;
}

std::string firstLine(std::string_view list) { return std::string(list.substr(0, list.find('\n'))); }

std::string codeFileExtension(std::string_view path) {
  size_t dot = path.rfind('.');
  if (dot == std::string_view::npos) return "";
  if (dot > 0 && (path[dot - 1] == '/' || path[dot - 1] == '\\')) return "";
  std::string_view rest = path.substr(dot + 1);
  if (rest.find_first_of("/ ") != std::string_view::npos) return "";
  return std::string(rest);
}

// "" is a substring of every text, but a file without extension is no code file.
bool extensionAccepted(std::string_view ext) {
  return !ext.empty() && kCodeFileTypes.find(ext) != std::string_view::npos;
}

std::string unsupportedFileTypeMessage(std::string_view ext) {
  return fillMessage(germanUiText("#Msg_FileType", false), {ext});
}

std::string missingFileMessage(std::string_view path, std::string_view libraryPath) {
  return fillMessage(germanUiText("#Msg_MissingFile", false), {path, libraryPath});
}

std::string tooLargeFileMessage(std::string_view path, uint64_t size) {
  return "File too large to show (" + byteSizeText(size) + "):\n" + std::string(path) +
         "\n\nCode files are shown up to " + byteSizeText(kFileSizeLimit) + ".";
}
