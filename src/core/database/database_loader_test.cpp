#include "core/database/database_loader.h"

#include <expat.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

struct Parsed {
  IndexModel index;
  XmlParseResult result;
  std::string_view text(size_t i) const { return index.topic(i).text; }
};

Parsed parse(std::string_view xml) {
  Parsed parsed;
  EXPECT_TRUE(loadDatabaseBuffer(xml, {}, &parsed.index, &parsed.result));
  return parsed;
}

std::vector<int> levels(const IndexModel& index) {
  std::vector<int> out;
  for (size_t i = 0; i < index.rowCount(); ++i) out.push_back(index.level(i));
  return out;
}

// UTF-8 (one- to three-byte sequences) to UTF-16 with a byte-order mark.
std::string utf16(std::string_view utf8, bool bigEndian) {
  std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (size_t i = 0; i < utf8.size();) {
    auto byte = static_cast<unsigned char>(utf8[i]);
    unsigned unit = byte;
    size_t length = byte < 0x80 ? 1 : byte < 0xE0 ? 2 : 3;
    if (length == 2) unit = ((byte & 0x1F) << 6) | (utf8[i + 1] & 0x3F);
    if (length == 3) {
      unit = ((byte & 0x0F) << 12) | ((utf8[i + 1] & 0x3F) << 6) | (utf8[i + 2] & 0x3F);
    }
    char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
    out += bigEndian ? std::string{high, low} : std::string{low, high};
    i += length;
  }
  return out;
}

std::string tempPath(const std::string& name) {
  return testing::TempDir() + "database_loader_test_" + std::to_string(getpid()) + "_" + name;
}

void writeFile(const std::string& path, std::string_view bytes) {
  FILE* file = fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  fwrite(bytes.data(), 1, bytes.size(), file);
  fclose(file);
}

std::string repeat(std::string_view piece, size_t times) {
  std::string out;
  out.reserve(piece.size() * times);
  for (size_t i = 0; i < times; ++i) out += piece;
  return out;
}

}  // namespace

TEST(DatabaseLoaderTree, RowsFollowTheNestingAndTextJoinsInDocumentOrder) {
  Parsed p = parse(
      "<r a=\"1\">head<t g=\"x\"><e File=\"/a.vl\"/><e b=\"2\" a=\"1\" c=\"3\">in</e></t>"
      "mid<t g=\"y\"/>tail</r>");
  ASSERT_EQ(p.result.status, 0);
  EXPECT_EQ(levels(p.index), (std::vector<int>{0, 1, 2, 2, 1}));
  EXPECT_EQ(p.text(0), "headmidtail");  // text between children joins up
  EXPECT_EQ(p.text(3), "in");
  EXPECT_EQ(p.index.topic(3).group, "213");  // other attributes join in attribute order
  EXPECT_EQ(p.index.topic(2).file, "/a.vl");
}

TEST(DatabaseLoaderTree, CommentsCdataInstructionsAndDoctypeLeaveNoTrace) {
  Parsed p = parse(
      "<?xml version=\"1.0\"?><!DOCTYPE r [<!ELEMENT r ANY><!ATTLIST e extra CDATA \"dflt\">"
      "<!ENTITY lib \"Library\">]><!-- top --><r a=\"1\">x<!-- note <e/> -->y"
      "<![CDATA[<e b=\"2\"/>z]]><?pi data?>&lib;&amp;<e/></r><!-- after -->");
  ASSERT_EQ(p.result.status, 0);
  ASSERT_EQ(p.index.rowCount(), 2u);
  EXPECT_EQ(p.text(0), "xyLibrary&");
  EXPECT_EQ(p.index.topic(1).group, "1");  // the declared default is not used
}

TEST(DatabaseLoaderLineBreaks, TextTakesTheStyleOfTheFirstBreakInTheFile) {
  for (std::string style : {"\r\n", "\n", "\r"}) {
    // The text itself uses LF, but the declaration line sets the style.
    std::string xml = "<?xml version=\"1.0\"?>" + style + "<r a=\"1\">one&#10;two" + style + "three</r>";
    Parsed p = parse(xml);
    ASSERT_EQ(p.result.status, 0);
    EXPECT_EQ(p.text(0), "one" + style + "two" + style + "three");
    // A text read before the first break of the file takes its style as well.
    Parsed late = parse("<r a=\"1\"><e a=\"1\">one&#10;two</e>" + std::string(40000, ' ') + style + "</r>");
    EXPECT_EQ(late.text(1), "one" + style + "two");
  }
  EXPECT_EQ(parse("<r a=\"1\">one&#10;two</r>").text(0), "one\ntwo");
}

TEST(DatabaseLoaderLineBreaks, CrLfSplitBetweenChunksStaysCrLf) {
  std::string head = "<r a=\"1\">";
  std::string xml = head + std::string(16383 - head.size(), 'x') + "\r\ny</r>";
  ASSERT_EQ(xml[16383], '\r');
  Parsed p = parse(xml);
  ASSERT_EQ(p.result.status, 0);
  EXPECT_EQ(p.text(0).substr(16383 - head.size()), "\r\ny");
}

TEST(DatabaseLoaderLineBreaks, Utf16IsReadByCodeUnit) {
  for (bool bigEndian : {false, true}) {
    // U+010D has a 0x0D byte that is not a CR.
    Parsed p = parse(utf16("<r a=\"\xC4\x8D\">one\ntwo</r>", bigEndian));
    ASSERT_EQ(p.result.status, 0);
    EXPECT_EQ(p.text(0), "one\ntwo");
    Parsed crLf = parse(utf16("<r a=\"1\">one\r\ntwo</r>", bigEndian));
    EXPECT_EQ(crLf.text(0), "one\r\ntwo");
  }
}

TEST(DatabaseLoaderEncoding, DetectedFromByteOrderMarkOrDeclaration) {
  const std::string title =
      "Gr\xC3\xBC\xC3\x9F"
      "e \xE2\x9C\xB0";  // "Grüße ✰"
  for (bool bigEndian : {false, true}) {
    Parsed p = parse(utf16("<r theme_de=\"" + title + "\"/>", bigEndian));
    ASSERT_EQ(p.result.status, 0);
    EXPECT_EQ(p.index.topic(0).themeDe, title);
  }
  Parsed latin1 = parse("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r a=\"\xE4\">\xFC</r>");
  ASSERT_EQ(latin1.result.status, 0);
  EXPECT_EQ(latin1.index.row(0).text, "\xC3\xA4");
  EXPECT_EQ(latin1.text(0), "\xC3\xBC");
  EXPECT_EQ(parse("\xEF\xBB\xBF<r a=\"1\"/>").result.status, 0);
}

TEST(DatabaseLoaderErrors, ReportExpatCodeTextAndPosition) {
  Parsed onlyDeclaration = parse("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
  EXPECT_EQ(onlyDeclaration.result.status, XML_ERROR_NO_ELEMENTS);
  EXPECT_EQ(onlyDeclaration.result.errorText, "no element found");
  EXPECT_EQ(onlyDeclaration.result.line, 2);  // where the input ended
  EXPECT_EQ(onlyDeclaration.result.column, 1);
  EXPECT_TRUE(onlyDeclaration.index.empty());

  Parsed duplicate = parse("<r a=\"1\">\n<t g=\"x\">\n  <e File=\"/a\" File=\"/b\"/>\n</t></r>");
  EXPECT_EQ(duplicate.result.status, XML_ERROR_DUPLICATE_ATTRIBUTE);
  EXPECT_EQ(duplicate.result.errorText, "duplicate attribute");
  EXPECT_EQ(duplicate.result.line, 3);
  EXPECT_GT(duplicate.result.column, 1);

  Parsed junk = parse("<r a=\"1\"/><r/>");
  EXPECT_EQ(junk.result.errorText, "junk after document element");
  EXPECT_EQ(junk.result.line, 1);
  EXPECT_EQ(junk.result.column, 11);

  // Codes past the first forty have expat's text as well; none is left without.
  EXPECT_EQ(xmlErrorText(XML_ERROR_AMPLIFICATION_LIMIT_BREACH), XML_ErrorString(XML_ERROR_AMPLIFICATION_LIMIT_BREACH));
  for (int code = 1; code <= XML_ERROR_AMPLIFICATION_LIMIT_BREACH + 5; ++code)
    EXPECT_FALSE(xmlErrorText(code).empty()) << code;
}

TEST(DatabaseLoaderErrors, PartBeforeTheErrorIsKeptAndReplacesTheOldIndex) {
  Parsed p = parse("<r a=\"1\">\r\n<t g=\"x\">one\r\ntwo</r>");
  EXPECT_EQ(p.result.status, XML_ERROR_TAG_MISMATCH);
  EXPECT_EQ(p.result.errorText, "mismatched tag");
  EXPECT_EQ(p.result.line, 3);  // the closing tag that does not match
  EXPECT_EQ(levels(p.index), (std::vector<int>{0, 1}));
  EXPECT_EQ(p.text(1), "one\r\ntwo");  // the style is applied to the part too

  XmlParseResult result;
  ASSERT_TRUE(loadDatabaseBuffer("<only a=\"1\"><", {}, &p.index, &result));
  EXPECT_NE(result.status, 0);
  EXPECT_EQ(p.index.rowCount(), 1u);
}

TEST(DatabaseLoaderFiles, UnopenableEmptyOrOversizedFilesLeaveEverythingAsItWas) {
  IndexModel index;
  XmlParseResult result;
  ASSERT_TRUE(loadDatabaseBuffer("<r a=\"1\"><t b=\"2\"/></r>", {}, &index, &result));
  result.status = 99;
  std::string empty = tempPath("empty.xml");
  writeFile(empty, "");
  std::string fifo = tempPath("fifo.xml");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);  // opened without waiting for a writer
  std::string huge = tempPath("huge.xml");
  writeFile(huge, "<r a=\"1\"/>");
  ASSERT_EQ(truncate(huge.c_str(), static_cast<off_t>(kMaxDatabaseBytes) + 1), 0);  // sparse
  for (const std::string& path : {tempPath("missing.xml"), empty, fifo, huge, testing::TempDir()}) {
    EXPECT_FALSE(loadDatabaseFile(path, {}, &index, &result)) << path;
    EXPECT_EQ(index.rowCount(), 2u);
    EXPECT_EQ(result.status, 99);
  }
  EXPECT_FALSE(loadDatabaseBuffer("", {}, &index, &result));
  EXPECT_EQ(index.rowCount(), 2u);
  for (const std::string& path : {empty, fifo, huge}) remove(path.c_str());
}

TEST(DatabaseLoaderFiles, FileOfManyChunksParsesLikeTheSameBytesInMemory) {
  std::string xml = "<r a=\"1\">\r\n" + repeat("<e File=\"/x.vl\">line\none</e>\r\n", 5000) + "</r>";
  std::string path = tempPath("many.xml");
  writeFile(path, xml);
  IndexModel fromFile;
  XmlParseResult result;
  ASSERT_TRUE(loadDatabaseFile(path, {}, &fromFile, &result));
  EXPECT_EQ(result.status, 0);
  Parsed fromMemory = parse(xml);
  ASSERT_EQ(fromFile.rowCount(), 5001u);
  ASSERT_EQ(fromFile.rowCount(), fromMemory.index.rowCount());
  EXPECT_EQ(fromFile.topic(4999).text, "line\r\none");
  EXPECT_EQ(fromFile.topic(0).text, fromMemory.text(0));

  writeFile(path, "<r a=\"1\"><e></r>");
  ASSERT_TRUE(loadDatabaseFile(path, {}, &fromFile, &result));
  EXPECT_EQ(result.status, XML_ERROR_TAG_MISMATCH);
  EXPECT_EQ(fromFile.rowCount(), 2u);
  remove(path.c_str());
}

// Hostile shapes: depth, width, long values, floods of empty elements, entity
// expansion. Each loads within its bound or ends with a report, never a crash.
TEST(DatabaseLoaderLimits, HostileShapesLoadWithinTheirBoundsOrEndWithAReport) {
  const size_t depth = 100000;
  Parsed deep = parse(repeat("<e a=\"1\">", depth) + repeat("</e>", depth));
  ASSERT_EQ(deep.result.status, 0);
  ASSERT_EQ(deep.index.rowCount(), depth);
  EXPECT_EQ(deep.index.level(depth - 1), static_cast<int>(depth - 1));

  const size_t width = 500000;
  std::string wideXml = "<r>" + repeat("<e a=\"x\"/>", width) + "</r>";
  Parsed wide = parse(wideXml);
  ASSERT_EQ(wide.result.status, 0);
  ASSERT_EQ(wide.index.rowCount(), width + 1);
  EXPECT_EQ(wide.index.level(width), 1);
  EXPECT_EQ(wide.index.row(width).text, "x");

  std::string value(1 << 20, 'v');
  Parsed longValue = parse("<r a=\"" + value + "\"/>");
  ASSERT_EQ(longValue.result.status, 0);
  EXPECT_EQ(longValue.index.row(0).text, value);

  // Elements without texts of their own cost their row and nothing more; they
  // keep the group text of their place.
  std::string emptyXml = "<r g=\"G\">" + repeat("<e/><e a=\"\"/>", 500000) + "</r>";
  Parsed empties = parse(emptyXml);
  ASSERT_EQ(empties.result.status, 0);
  ASSERT_EQ(empties.index.rowCount(), 1000001u);
  EXPECT_EQ(empties.index.topic(1000000).group, "G");
  EXPECT_LE(empties.index.bytes(), 3 * emptyXml.size());

  // An element flood past the memory bound ends as "out of memory" with what was read.
  std::string flood = "<r>" + repeat("<e a=\"1\" b=\"2\"/>", 1500000) + "</r>";
  Parsed flooded = parse(flood);
  EXPECT_EQ(flooded.result.status, XML_ERROR_NO_MEMORY);
  EXPECT_EQ(flooded.result.errorText, "out of memory");
  EXPECT_GT(flooded.index.rowCount(), 1u);
  EXPECT_LE(flooded.index.bytes(), indexMemoryBudget(flood.size()) + (4u << 20));
}

TEST(DatabaseLoaderLimits, EntitiesExpandWithinExpatsOwnBound) {
  std::string laughs = "<!DOCTYPE r [<!ENTITY l0 \"lol\">";
  for (int i = 1; i < 10; ++i) {
    std::string prev = "&l" + std::to_string(i - 1) + ";";
    laughs += "<!ENTITY l" + std::to_string(i) + " \"" + repeat(prev, 10) + "\">";
  }
  Parsed billion = parse(laughs + "]><r a=\"1\">&l9;</r>");
  EXPECT_EQ(billion.result.status, XML_ERROR_AMPLIFICATION_LIMIT_BREACH);
  EXPECT_EQ(billion.result.errorText, XML_ErrorString(XML_ERROR_AMPLIFICATION_LIMIT_BREACH));
  ASSERT_FALSE(billion.index.empty());
  EXPECT_LT(billion.text(0).size(), 64u << 20);

  // A well-formed 1.5 MB file that uses one 50-character entity 500,000 times
  // (25 MB of text) is a valid database.
  std::string entity = "<!DOCTYPE r [<!ENTITY w \"" + std::string(50, 'w') + "\">]>";
  Parsed expanded = parse(entity + "<r a=\"1\">" + repeat("&w;", 500000) + "</r>");
  ASSERT_EQ(expanded.result.status, 0) << expanded.result.errorText;
  EXPECT_EQ(expanded.text(0).size(), 25000000u);
}
