// Reading a code file: encoding by byte-order mark, line splitting, the hidden
// IDE-options footer and its flags, and the texts shown for dropped or missing files.
#include "core/codeview/code_file.h"

#include <algorithm>
#include <cstring>

#include "core/app/regular_file.h"

#include "core/settings/language_keys.h"
#include "core/text/utf8.h"

namespace {

constexpr std::string_view kFooterStart = "; IDE Options = ";
// Footer lines only matter by their start; longer lines are not kept whole.
constexpr size_t kFooterPrefixKept = 32;

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
  LineAssembler(CodeFileText* out, size_t sizeHint, bool inPlace) : out_(out), inPlace_(inPlace) {
    if (!inPlace_) out_->text.resize(sizeHint + 16);
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
    if (!inFooter_) {
      put(c);
    } else if (footerLine_.size() < kFooterPrefixKept) {
      appendUtf8(&footerLine_, c);
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
    if (inFooter_) {
      if (footerLine_.size() < kFooterPrefixKept)
        footerLine_.append(run.substr(0, kFooterPrefixKept - footerLine_.size()));
      return;
    }
    std::string& text = out_->text;
    if (!inPlace_ && text.size() - used_ < run.size() + 4)
      text.resize(std::max(text.size() * 2, used_ + run.size() + 4));
    std::memmove(&text[used_], run.data(), run.size());
    used_ += run.size();
  }

  // A last line without a line end still counts, even when all it held was "?".
  void finish() {
    if (inLine_) endLine();
    out_->text.resize(used_);
  }

 private:
  void put(char32_t c) {
    std::string& text = out_->text;
    if (!inPlace_ && text.size() - used_ < 4) text.resize(text.size() * 2);
    if (c < 0x80) {
      text[used_++] = static_cast<char>(c);
    } else {
      used_ += encodeUtf8(c, &text[used_]);
    }
  }

  void beginLine() {
    inLine_ = true;
    keptChar_ = false;
    if (inFooter_) {
      footerLine_.clear();
      return;
    }
    lineBegin_ = used_;
    if (used_ != 0) put('\n');
    textBegin_ = used_;
  }

  void endLine() {
    if (!inLine_) beginLine();
    inLine_ = false;
    if (inFooter_) {
      examineFooterLine(footerLine_, out_);
      return;
    }
    std::string_view line(out_->text.data() + textBegin_, used_ - textBegin_);
    if (!line.starts_with(kFooterStart)) return;
    examineFooterLine(line, out_);
    used_ = lineBegin_;
    inFooter_ = true;
  }

  CodeFileText* out_;
  bool inPlace_;
  std::string footerLine_;
  size_t used_ = 0;       // length of the text written so far
  size_t lineBegin_ = 0;  // text size before the current line and its separator
  size_t textBegin_ = 0;  // where the current line's characters start
  bool inLine_ = false;
  bool keptChar_ = false;
  bool afterCr_ = false;
  bool inFooter_ = false;
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

bool isPlainByte(char c) { return static_cast<unsigned char>(c) < 0x80 && c != '\n' && c != '\r' && c != 0; }

// Most of a code file is runs of plain ASCII, which are copied whole; every other
// character goes through `other`, which feeds it and returns the byte after it.
template <typename Other>
void feedByRuns(std::string_view bytes, LineAssembler* lines, Other&& other) {
  size_t i = 0;
  while (i < bytes.size()) {
    size_t start = i;
    while (i < bytes.size() && isPlainByte(bytes[i])) ++i;
    if (i > start) lines->feedPlain(bytes.substr(start, i - start));
    if (i < bytes.size()) i = other(i);
  }
}

void decodeLatin1(std::string_view bytes, LineAssembler* lines) {
  feedByRuns(bytes, lines, [&](size_t i) {
    lines->feed(static_cast<unsigned char>(bytes[i]));
    return i + 1;
  });
}

// A byte that begins no well-formed sequence is one "?".
void decodeUtf8Lines(std::string_view bytes, LineAssembler* lines) {
  feedByRuns(bytes, lines, [&](size_t i) {
    char32_t c = 0;
    size_t len = utf8SequenceAt(bytes, i, &c);
    lines->feed(len == 0 ? U'?' : c);
    return i + std::max<size_t>(len, 1);
  });
}

char32_t utf16UnitAt(std::string_view s, size_t i) {
  return static_cast<unsigned char>(s[i]) | (static_cast<unsigned char>(s[i + 1]) << 8);
}

void decodeUtf16Le(std::string_view bytes, LineAssembler* lines) {
  size_t i = 0;
  while (i + 1 < bytes.size()) {
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
  if (i < bytes.size()) lines->feed(U'?');  // half a code unit at the end
}

}  // namespace

void decodeCodeBytes(std::string_view bytes, CodeFileText* out) { decodeOwnCodeBytes(std::string(bytes), out); }

void decodeOwnCodeBytes(std::string bytes, CodeFileText* out) {
  *out = CodeFileText{};
  std::string_view all = bytes;
  enum class Kind { Utf8, Utf16, Latin1 } kind = Kind::Latin1;
  size_t mark = 0;
  if (all.starts_with("\xEF\xBB\xBF")) {
    kind = Kind::Utf8, mark = 3;
  } else if (all.starts_with("\xFF\xFE")) {
    kind = Kind::Utf16, mark = 2;
  } else if (all.starts_with("\xFE\xFF")) {
    mark = 2;
  } else if (all.starts_with(std::string_view("\0\0\xFE\xFF", 4))) {
    mark = 4;
  }
  std::string_view body = all.substr(mark);
  // UTF-8 never decodes longer than its bytes, nor does ASCII as ISO 8859-1.
  bool inPlace = kind == Kind::Utf8 || (kind == Kind::Latin1 && isAscii(body));
  if (inPlace) {
    out->text = std::move(bytes);  // the characters stay where they are
    body = std::string_view(out->text).substr(mark);
  }
  LineAssembler lines(out, body.size(), inPlace);
  if (kind == Kind::Utf8) {
    out->sourceIsUtf8 = 1;
    decodeUtf8Lines(body, &lines);
  } else if (kind == Kind::Utf16) {
    decodeUtf16Le(body, &lines);
  } else {
    decodeLatin1(body, &lines);
  }
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
