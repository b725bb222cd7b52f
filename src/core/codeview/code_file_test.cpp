#include "core/codeview/code_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "core/codeview/code_marks.h"

namespace {

using namespace std::string_literals;

CodeFileText decode(std::string_view bytes) {
  CodeFileText out;
  decodeCodeBytes(bytes, &out);
  return out;
}

std::string textOf(std::string_view bytes) { return decode(bytes).text; }

std::string utf16Le(std::string_view ascii) {
  std::string out;
  for (char c : ascii) out.append({c, '\0'});
  return out;
}

TEST(CodeFile, ByteOrderMarks) {
  CodeFileText utf8 = decode(
      "\xEF\xBB\xBFGr\xC3\xBC\xC3\x9F"
      "e");
  EXPECT_EQ(utf8.text,
            "Gr\xC3\xBC\xC3\x9F"
            "e");
  EXPECT_EQ(utf8.sourceIsUtf8, 1);
  // The same bytes without the mark are ISO 8859-1, one character per byte.
  CodeFileText latin = decode(
      "Gr\xC3\xBC\xC3\x9F"
      "e");
  EXPECT_EQ(latin.text,
            "Gr\xC3\x83\xC2\xBC\xC3\x83\xC2\x9F"
            "e");
  EXPECT_EQ(latin.sourceIsUtf8, 0);
  // UTF-16 little endian, with a surrogate pair.
  CodeFileText utf16 = decode(
      "\xFF\xFE"
      "A\0\xE9\0=\xD8\x00\xDE"s);
  EXPECT_EQ(utf16.text, "A\xC3\xA9\xF0\x9F\x98\x80");
  EXPECT_EQ(utf16.sourceIsUtf8, 0);
  // Big-endian marks are skipped and the rest is read byte by byte.
  EXPECT_EQ(textOf("\xFE\xFF"
                   "ab\xE9"),
            "ab\xC3\xA9");
  EXPECT_EQ(textOf("\0\0\xFE\xFF"
                   "ab"s),
            "ab");
  EXPECT_EQ(textOf("\xFE"), "\xC3\xBE");
  EXPECT_EQ(textOf(""), "");
  EXPECT_EQ(decode("\xEF\xBB\xBF").sourceIsUtf8, 1);
}

TEST(CodeFile, MalformedUtf16BecomesQuestionMarks) {
  // A high surrogate before a plain unit, a lone low surrogate, a high surrogate at the end.
  EXPECT_EQ(textOf("\xFF\xFE"
                   "x\0"
                   "\x3D\xD8"
                   "a\0"
                   "\x00\xDE"
                   "b\0"
                   "\x3D\xD8"s),
            "x?a?b?");
  // Half a code unit at the end.
  EXPECT_EQ(textOf("\xFF\xFE"
                   "a\0b"s),
            "a?");
  EXPECT_EQ(textOf("\xFF\xFE"
                   "a\0\r\0\n\0b\0\0\0c\0"s),
            "a\nb\nc");
}

TEST(CodeFile, LineEnds) {
  EXPECT_EQ(textOf("a\nb\r\nc\rd"), "a\nb\nc\nd");
  EXPECT_EQ(textOf("a\r\r\nb\n\rc"), "a\n\nb\n\nc");
  // A NUL ends a line of its own; a line end at the very end adds no line.
  EXPECT_EQ(textOf("a\0b\0\nc\0"s), "a\nb\n\nc");
  EXPECT_EQ(textOf("a\r\n"), "a");
  EXPECT_EQ(textOf("a\n\n"), "a\n");
  // Empty lines at the start leave no trace, later ones stay.
  EXPECT_EQ(textOf("\n\r\n\rx\n\ny"), "x\n\ny");
}

TEST(CodeFile, LeadingQuestionMarksAreRemoved) {
  EXPECT_EQ(textOf("??Debug 1\nx = a?b ?"), "Debug 1\nx = a?b ?");
  // A line of nothing but "?" is empty, and at the start of the file it leaves no trace.
  EXPECT_EQ(textOf("?\n??\nx\n?\ny\n??"), "x\n\ny\n");
  // The marks of malformed bytes are removed the same way.
  EXPECT_EQ(textOf("\xEF\xBB\xBF\x80\x80x"), "x");
}

TEST(CodeFile, FooterIsHiddenAndExamined) {
  CodeFileText f =
      decode("x = 1\r\n; IDE Options = Veldra 6.10\r\n; EnableUnicode\r\n; SubSystem = gtk3\r\nshown?\r\n");
  EXPECT_EQ(f.text, "x = 1");
  EXPECT_EQ(f.exeIsUnicode, 1);
  EXPECT_EQ(f.subsystemKind, 2);
  EXPECT_EQ(decode("a\n; IDE Options = x\n; SubSystem = gtk2").subsystemKind, 1);
  // The first footer line is tested too, and the last line needs no line end.
  EXPECT_EQ(decode("; IDE Options = \n; SubSystem = gtk2\n; SubSystem = gtk3").subsystemKind, 2);
  // Leading "?" are removed before the footer test.
  EXPECT_EQ(textOf("a\n??; IDE Options = x\nb"), "a");
  EXPECT_EQ(textOf("; IDE Options = x"), "");
  EXPECT_EQ(textOf("\n\n; IDE Options = x\nb"), "");
  // An empty line right before the footer stays.
  EXPECT_EQ(textOf("a\n\n; IDE Options = x"), "a\n");
}

TEST(CodeFile, FooterLookalikesAreCode) {
  CodeFileText f = decode("; EnableUnicode\nx ; IDE Options = y\n;IDE Options = z\n; IDE Options =");
  EXPECT_EQ(f.text, "; EnableUnicode\nx ; IDE Options = y\n;IDE Options = z\n; IDE Options =");
  EXPECT_EQ(f.exeIsUnicode, 0);
  EXPECT_EQ(f.subsystemKind, 0);
  // Case matters; a footer line of another subsystem sets nothing.
  f = decode("; IDE Options = \n; enableunicode\n; SubSystem = qt\n; SubSystem = GTK2");
  EXPECT_EQ(f.exeIsUnicode, 0);
  EXPECT_EQ(f.subsystemKind, 0);
}

TEST(CodeFile, DecodingReplacesEverything) {
  CodeFileText f;
  decodeCodeBytes("\xEF\xBB\xBFx\n; IDE Options = \n; EnableUnicode\n; SubSystem = gtk2", &f);
  decodeCodeBytes("y", &f);
  EXPECT_EQ(f.text, "y");
  EXPECT_EQ(f.sourceIsUtf8, 0);
  EXPECT_EQ(f.exeIsUnicode, 0);
  EXPECT_EQ(f.subsystemKind, 0);
}

TEST(CodeFile, LongLinesAndManyLines) {
  std::string line(1 << 20, 'x');
  EXPECT_EQ(textOf(line), line);
  std::string many;
  for (int i = 0; i < 50000; ++i) many += "Debug " + std::to_string(i) + "\r\n";
  std::string text = textOf(many);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 49999);
  EXPECT_TRUE(text.ends_with("Debug 49999"));
}

// Well-formed UTF-8 as the text view demands it: no overlong forms, no surrogates.
bool wellFormedUtf8(std::string_view s) {
  for (size_t i = 0; i < s.size();) {
    unsigned char b = static_cast<unsigned char>(s[i]);
    size_t len = b < 0x80                   ? 1
                 : (b >= 0xC2 && b <= 0xDF) ? 2
                 : (b & 0xF0) == 0xE0       ? 3
                 : (b >= 0xF0 && b <= 0xF4) ? 4
                                            : 0;
    if (len == 0 || s.size() - i < len) return false;
    char32_t c = len == 1 ? b : b & (0x7F >> len);
    for (size_t k = 1; k < len; ++k) {
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
      c = (c << 6) | (s[i + k] & 0x3F);
    }
    if ((len == 3 && c < 0x800) || (len == 4 && (c < 0x10000 || c > 0x10FFFF))) return false;
    if (c >= 0xD800 && c <= 0xDFFF) return false;
    i += len;
  }
  return true;
}

// Whatever the bytes, the text is valid for the view: well-formed, no CR or NUL,
// no line starting with "?".
TEST(CodeFile, ArbitraryBytesGiveACleanText) {
  std::mt19937 random(3);
  const std::string_view marks[] = {"", "\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"};
  for (int round = 0; round < 3000; ++round) {
    std::string bytes(marks[round % 4]);
    int n = static_cast<int>(random() % 24);
    for (int k = 0; k < n; ++k) bytes += static_cast<char>(random() % 2 ? random() : "?\r\n\0\xD8\xDC"[random() % 6]);
    std::string text = textOf(bytes);
    ASSERT_TRUE(wellFormedUtf8(text)) << round;
    ASSERT_EQ(text.find_first_of("\r"s + '\0'), std::string::npos) << round;
    ASSERT_FALSE(text.starts_with("?") || text.find("\n?") != std::string::npos) << round;
  }
}

class CodeFileOnDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("vl_code_file_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string write(const std::string& name, const std::string& bytes) {
    std::string path = (dir_ / name).string();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
  std::filesystem::path dir_;
};

TEST_F(CodeFileOnDisk, ReadsAWholeFile) {
  std::string path = write("a.vl", "\xEF\xBB\xBF??x\n; IDE Options = \n; EnableUnicode\n");
  CodeFileText f;
  ASSERT_TRUE(readCodeFile(path, &f));
  EXPECT_EQ(f.text, "x");
  EXPECT_EQ(f.sourceIsUtf8, 1);
  EXPECT_EQ(f.exeIsUnicode, 1);
  ASSERT_TRUE(readCodeFile(write("empty.vl", ""), &f));
  EXPECT_EQ(f.text, "");
}

TEST_F(CodeFileOnDisk, MissingFilesAndFoldersCannotBeOpened) {
  CodeFileText f;
  ASSERT_TRUE(readCodeFile(write("a.vl", "\xEF\xBB\xBFx\n; IDE Options = \n; EnableUnicode"), &f));
  // A failed read leaves nothing of the file before.
  EXPECT_FALSE(readCodeFile((dir_ / "missing.vl").string(), &f));
  EXPECT_EQ(f.text, "");
  EXPECT_EQ(f.sourceIsUtf8, 0);
  EXPECT_EQ(f.exeIsUnicode, 0);
  EXPECT_FALSE(readCodeFile(dir_.string(), &f));
  EXPECT_FALSE(readCodeFile("", &f));
  EXPECT_FALSE(readCodeFile("/dev/zero", &f));  // would never end
  EXPECT_FALSE(readShownCodeFile("/dev/zero", {10, 10}, &f, nullptr));
  EXPECT_FALSE(readShownCodeFile(dir_.string(), {10, 10}, &f, nullptr));
}

// A fifo (as from the database or a drop) must not stall the viewer, and a sparse
// giant must be refused with its size rather than end the program.
TEST_F(CodeFileOnDisk, FifosAndGiantsAreRefused) {
  CodeFileText f;
  std::string refusal = "old";
  std::string fifo = (dir_ / "x.vl").string();
  ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
  EXPECT_FALSE(readCodeFile(fifo, &f, &refusal));
  EXPECT_EQ(refusal, "");
  std::string giant = write("giant.vl", "");
  ASSERT_EQ(truncate(giant.c_str(), off_t{64} << 30), 0);
  EXPECT_FALSE(readShownCodeFile(fifo, {10, 10}, &f, &refusal));
  EXPECT_EQ(refusal, "");
  EXPECT_FALSE(readCodeFile(giant, &f, &refusal));
  EXPECT_EQ(refusal, "File too large to show (64.0 GiB):\n" + giant + "\n\nCode files are shown up to 256.0 MiB.");
  refusal.clear();
  EXPECT_FALSE(readShownCodeFile(giant, {10, 10}, &f, &refusal));  // refused before a byte is read
  EXPECT_EQ(refusal, "File too large to show (64.0 GiB):\n" + giant + "\n\nCode files are shown up to 256.0 MiB.");
}

// Reads arrive in pieces; a line end or a character split between two of them (here
// at 64 KiB steps) reads as if it came in one.
TEST_F(CodeFileOnDisk, ReadPiecesSplitNothing) {
  const std::string_view splits[] = {"\r\n", "\xC3\xA4", "\rx"};
  std::string body;  // the file without its 3-byte mark
  for (size_t k = 1; k <= 3; ++k) {
    body.append(65536 * k - 3 - 1 - body.size() - 1, 'a').append("\n");
    body.append(splits[k - 1]);  // its first byte ends the k-th 64 KiB of the file
  }
  std::string expected = body;
  for (size_t at; (at = expected.find("\r\n")) != std::string::npos;) expected.erase(at, 1);
  std::replace(expected.begin(), expected.end(), '\r', '\n');
  CodeFileText f;
  ASSERT_TRUE(readCodeFile(write("split.vl", "\xEF\xBB\xBF" + body), &f));
  EXPECT_EQ(f.text, expected);
}

// The view's reader takes the file in chunks: a CR LF, a UTF-8 sequence, a UTF-16
// surrogate pair or the footer's start split between two of them reads as one,
// whether the text is still kept or already only scanned for the footer.
TEST_F(CodeFileOnDisk, ChunkBoundariesSplitNothing) {
  const std::string utf16 = "a\0\r\0\n\0\x3D\xD8\x00\xDE\r\0\n\0"s + utf16Le("; IDE Options = \n; EnableUnicode");
  const std::string utf8 = "ab\r\ncd\xE2\x82\xAC\xF0\x9F\x98\x80\r\n??ef\n; IDE Options = x\r\n; SubSystem = gtk3\r\n";
  for (size_t pad = 0; pad < 8; ++pad) {
    std::string path8 = write("u8.vl", "\xEF\xBB\xBF" + std::string(pad, '?') + utf8 + "; EnableUnicode");
    std::string path16 = write("u16.vl", "\xFF\xFE" + utf16Le(std::string(pad, '?')) + utf16);
    for (size_t chunk = 8; chunk <= 24; ++chunk) {
      SCOPED_TRACE("pad " + std::to_string(pad) + ", chunk " + std::to_string(chunk));
      CodeFileText f;
      ASSERT_TRUE(readShownCodeFile(path8, {100, 100, chunk}, &f, nullptr));
      EXPECT_EQ(f.text, "ab\ncd\xE2\x82\xAC\xF0\x9F\x98\x80\nef");
      EXPECT_EQ(f.exeIsUnicode * 10 + f.subsystemKind, 12);
      ASSERT_TRUE(readShownCodeFile(path8, {1, 100, chunk}, &f, nullptr));  // only the footer's effect is looked for
      EXPECT_EQ(f.exeIsUnicode * 10 + f.subsystemKind, 12);
      ASSERT_TRUE(readShownCodeFile(path16, {100, 100, chunk}, &f, nullptr));
      EXPECT_EQ(f.text, "a\n\xF0\x9F\x98\x80");
      EXPECT_EQ(f.exeIsUnicode, 1);
    }
  }
}

// However the file is shaped, the view's reader gives what the whole read cut to
// the shown size gives.
TEST_F(CodeFileOnDisk, ShownPartIsTheWholeReadCut) {
  const std::string lines = "?first\r\n\n" + std::string(40, 'x') + "\nshort\r";
  const std::string footer = "; IDE Options = " + std::string(100, '#') + "\n; SubSystem = gtk2\n; EnableUnicode\n";
  const std::string utf8Mark = "\xEF\xBB\xBF";
  const std::string shapes[] = {
      utf8Mark + lines + footer + "hidden",  // the footer after the cut
      utf8Mark + "ab\n" + footer + lines,    // and before it
      "\xFF\xFE"
      "a\0\xE9\0\n\0b\0\x3D\xD8\x00\xDE"s +
          utf16Le(std::string(60, 'c') + "\n; IDE Options = \n; EnableUnicode"),
      "caf\xE9 \xE9t\xE9\r" + lines + footer,  // ISO 8859-1: the text grows as it is decoded
      std::string(200, 'y'),                   // no line end at all
  };
  for (size_t i = 0; i < std::size(shapes); ++i) {
    std::string path = write("shape.vl", shapes[i]);
    CodeFileText whole, shown;
    ASSERT_TRUE(readCodeFile(path, &whole));
    for (size_t limit : {1, 7, 20, 64, 1000})
      for (size_t chunk : {8, 13, 64 << 10})
        for (size_t lineLimit : {2, 1000}) {
          SCOPED_TRACE("shape " + std::to_string(i) + ", limit " + std::to_string(limit) + ", chunk " +
                       std::to_string(chunk) + ", lines " + std::to_string(lineLimit));
          ASSERT_TRUE(readShownCodeFile(path, {limit, lineLimit, chunk}, &shown, nullptr));
          std::string cut = whole.text;
          cutLongCodeText(&cut, limit, lineLimit, shapes[i].size());
          EXPECT_EQ(shown.text, cut);
          EXPECT_EQ(shown.sourceIsUtf8, whole.sourceIsUtf8);
          EXPECT_EQ(shown.exeIsUnicode * 10 + shown.subsystemKind, whole.exeIsUnicode * 10 + whole.subsystemKind);
        }
  }
}

TEST(DroppedFiles, FirstLineAndExtension) {
  EXPECT_EQ(firstLine("/a/x.vl\n/a/y.txt\n"), "/a/x.vl");
  EXPECT_EQ(firstLine("/a/x.vl"), "/a/x.vl");
  EXPECT_EQ(firstLine(""), "");
  EXPECT_EQ(codeFileExtension("/home/u/notes.txt"), "txt");
  EXPECT_EQ(codeFileExtension("/home/u/a.tar.vlf"), "vlf");
  EXPECT_EQ(codeFileExtension("/home/u/x."), "");
  EXPECT_EQ(codeFileExtension("/home/u/noext"), "");
  EXPECT_EQ(codeFileExtension("/home/u.d/noext"), "");  // a "/" follows the "."
  EXPECT_EQ(codeFileExtension("/home/u/my.file name"), "");
  EXPECT_EQ(codeFileExtension("/home/u/.vl"), "");
  EXPECT_EQ(codeFileExtension("C:\\code\\.vl"), "");
  EXPECT_EQ(codeFileExtension("x.vl\r"), "vl\r");
}

TEST(DroppedFiles, AcceptedTypesAreSubstringsOfTheTypeList) {
  for (const char* ext : {"vl", "vli", "vlf", "l", "i;v", "vl;vli;vlf"}) EXPECT_TRUE(extensionAccepted(ext)) << ext;
  // A file without extension is no code file, though "" is in every text.
  for (const char* ext : {"", "txt", "VL", "vlx", ";;"}) EXPECT_FALSE(extensionAccepted(ext)) << ext;
  EXPECT_TRUE(extensionAccepted(codeFileExtension(firstLine("/d/x.l\n/d/y.txt"))));
}

TEST(DroppedFiles, MessageTexts) {
  EXPECT_EQ(unsupportedFileTypeMessage("txt"), "File type 'txt' not supported!\nNot loaded!");
  EXPECT_EQ(unsupportedFileTypeMessage(""), "File type '' not supported!\nNot loaded!");
  EXPECT_EQ(missingFileMessage("/Gadget/Button.vl", "/home/u/lib"),
            "Missing file:\n/Gadget/Button.vl\n\nCheck library-path in settings:\n/home/u/lib");
  EXPECT_EQ(std::count(kMissingFileBanner.begin(), kMissingFileBanner.end(), '\n'), 2);
  EXPECT_TRUE(kMissingFileBanner.find("\n***   Missing file!   ***\n") != std::string_view::npos);
}

}  // namespace
