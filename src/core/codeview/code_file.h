// Reading a code file: encoding by byte-order mark, line splitting, the hidden
// IDE-options footer and its flags, and the texts shown for dropped or missing files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// What the code view shows of one file, and the facts taken from it.
struct CodeFileText {
  std::string text;       // UTF-8: the shown lines joined by "\n", no final line feed
  int sourceIsUtf8 = 0;   // 1 when the file began with the UTF-8 byte-order mark
  int exeIsUnicode = 0;   // 1 when the footer holds "; EnableUnicode"
  int subsystemKind = 0;  // footer "; SubSystem = gtk2" -> 1, "gtk3" -> 2, else 0
};

// The file types offered to the code view, joined by ";".
inline constexpr std::string_view kCodeFileTypes = "vl;vli;vlf";
// Put into the code view for a missing file once its message box has been shown.
inline constexpr std::string_view kMissingFileBanner =
    "*************************\n***   Missing file!   ***\n*************************";

// Reads the whole file and decodes it. False when it cannot be opened or read (a
// folder or any other non-regular file included) or is larger than kFileSizeLimit;
// then `out` is empty with flags 0, and *refusal, when given, holds the message for
// a file refused for its size (empty for any other failure).
bool readCodeFile(const std::string& path, CodeFileText* out, std::string* refusal = nullptr);
// How much of a code file the view shows (see cutLongCodeText), and how much of
// the rest is read at a time.
struct ShownCodeLimits {
  size_t bytes = 0;
  size_t lines = 0;
  size_t chunkBytes = size_t{256} << 10;
};
// What the code view shows of a file: its text cut as cutLongCodeText cuts it, with
// the flags of the footer wherever it is. Only the shown text is kept; the rest is
// read a chunk at a time and only looked at for the footer, so memory stays
// bounded by the shown text. Fails as readCodeFile does.
bool readShownCodeFile(const std::string& path, const ShownCodeLimits& limits, CodeFileText* out, std::string* refusal);
// Decodes the bytes of a code file; `out` is overwritten.
void decodeCodeBytes(std::string_view bytes, CodeFileText* out);
// The same, in the bytes' own memory where the text cannot grow.
void decodeOwnCodeBytes(std::string bytes, CodeFileText* out);

// The text before the first line feed of a list of dropped file names.
std::string firstLine(std::string_view list);
// The text after the last "." of the path; empty when there is no ".", when a "/" or
// a blank follows it, or when it directly follows "/" or a backslash.
std::string codeFileExtension(std::string_view path);
// Plain case-sensitive substring test in kCodeFileTypes; the empty text is refused.
bool extensionAccepted(std::string_view ext);

std::string unsupportedFileTypeMessage(std::string_view ext);
std::string missingFileMessage(std::string_view path, std::string_view libraryPath);
// Names the file, its size and the largest size shown.
std::string tooLargeFileMessage(std::string_view path, uint64_t size);
