// The code file reader on every byte-order mark path: the shown text is valid
// UTF-8 without line-end characters other than the joining LF, no shown line
// starts with "?" or the footer start, and the 8-bit paths match a plain model of
// the line rules. Reading the same bytes from a file gives the same result, and
// the view's reader, in small chunks, gives it cut at any shown size and lines.
#include <stddef.h>
#include <stdint.h>

#include <string>
#include <string_view>

#include "core/codeview/code_file.h"
#include "core/codeview/code_marks.h"
#include "core/settings/text_encoding.h"
#include "core/text/utf8.h"
#include "fuzz_util.h"

namespace {

constexpr std::string_view kFooterStart = "; IDE Options = ";
constexpr std::string_view kMarks[] = {"", "\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF", std::string_view("\0\0\xFE\xFF", 4)};

// One character per byte: lines end at LF, CR LF, CR or NUL; leading "?" go; the
// footer hides its first line and all after it; lines are joined by LF and the
// empty lines before the first character leave nothing.
std::string modelLatin1(std::string_view bytes) {
  std::string text, line;
  bool footer = false;
  auto endLine = [&]() {
    size_t keep = line.find_first_not_of('?');
    std::string_view shown = keep == std::string::npos ? std::string_view() : std::string_view(line).substr(keep);
    footer = footer || shown.starts_with(kFooterStart);
    if (!footer) {
      if (!text.empty()) text += '\n';
      text += shown;
    }
    line.clear();
  };
  for (size_t i = 0; i < bytes.size(); ++i) {
    char c = bytes[i];
    if (c == '\n' || c == '\r' || c == '\0') {
      endLine();
      if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    } else {
      line += c;
    }
  }
  if (!line.empty()) endLine();  // a last line without its line end
  return latin1ToUtf8(text);
}

void checkShownLines(const CodeFileText& code) {
  FUZZ_CHECK(isValidUtf8(code.text));
  FUZZ_CHECK(code.text.find_first_of(std::string_view("\r\0", 2)) == std::string::npos);
  FUZZ_CHECK(!code.text.starts_with("\n"));
  size_t start = 0;
  for (;;) {
    size_t end = code.text.find('\n', start);
    std::string_view line = std::string_view(code.text).substr(start, end - start);
    FUZZ_CHECK(!line.starts_with("?") && !line.starts_with(kFooterStart));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  FUZZ_CHECK(code.exeIsUnicode == 0 || code.exeIsUnicode == 1);
  FUZZ_CHECK(code.subsystemKind >= 0 && code.subsystemKind <= 2);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const int markIndex = data[0] % 5;
  std::string bytes(kMarks[markIndex]);
  bytes.append(reinterpret_cast<const char*>(data) + 1, size - 1);

  CodeFileText code;
  code.text = "stale";
  code.exeIsUnicode = 1;
  decodeCodeBytes(bytes, &code);
  checkShownLines(code);
  FUZZ_CHECK(code.sourceIsUtf8 == (bytes.starts_with(kMarks[1]) ? 1 : 0));

  // Bytes that are not UTF-16 carry the footer start as plain bytes or not at all.
  const bool utf16 = bytes.starts_with(kMarks[2]);
  if (!utf16 && bytes.find(kFooterStart) == std::string::npos) {
    FUZZ_CHECK(code.exeIsUnicode == 0 && code.subsystemKind == 0);
  }
  if (!utf16 && !code.sourceIsUtf8) {
    size_t skip = bytes.starts_with(kMarks[3]) ? 2 : bytes.starts_with(kMarks[4]) ? 4 : 0;
    FUZZ_CHECK(code.text == modelLatin1(std::string_view(bytes).substr(skip)));
  }

  static const std::string path = scratchPath("code.vl");
  writeScratchFile(path, bytes);
  CodeFileText fromFile;
  FUZZ_CHECK(readCodeFile(path, &fromFile));
  FUZZ_CHECK(fromFile.text == code.text && fromFile.sourceIsUtf8 == code.sourceIsUtf8 &&
             fromFile.exeIsUnicode == code.exeIsUnicode && fromFile.subsystemKind == code.subsystemKind);

  const ShownCodeLimits limits{1 + data[size / 2] % 64u, 1 + data[size / 3] % 8u, 8 + data[size - 1] % 16u};
  CodeFileText part;
  FUZZ_CHECK(readShownCodeFile(path, limits, &part, nullptr));
  cutLongCodeText(&code.text, limits.bytes, limits.lines, bytes.size());
  FUZZ_CHECK(part.text == code.text && part.sourceIsUtf8 == code.sourceIsUtf8 &&
             part.exeIsUnicode == code.exeIsUnicode && part.subsystemKind == code.subsystemKind);
  return 0;
}
