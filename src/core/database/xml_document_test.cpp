#include "core/database/xml_document.h"

#include <expat.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include <gtest/gtest.h>

namespace {

struct Parsed {
  XmlDocument doc;
  XmlParseResult result;
};

Parsed parse(std::string_view xml) {
  Parsed parsed;
  EXPECT_TRUE(parseDatabaseBuffer(xml, &parsed.doc, &parsed.result));
  return parsed;
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
  return testing::TempDir() + "xml_document_test_" + std::to_string(getpid()) + "_" + name;
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

TEST(XmlDocumentTree, LinksElementsAndJoinsTextInDocumentOrder) {
  Parsed p = parse(
      "<r a=\"1\">head<t g=\"x\"><e File=\"/a.vl\"/><e b=\"2\" a=\"1\" c=\"3\">in</e></t>"
      "mid<t g=\"y\"/>tail</r>");
  ASSERT_EQ(p.result.status, 0);
  ASSERT_EQ(p.doc.elements.size(), 5u);
  const auto& e = p.doc.elements;
  EXPECT_EQ(e[0].firstChild, 1);
  EXPECT_EQ(e[0].nextSibling, -1);
  EXPECT_EQ(e[1].firstChild, 2);
  EXPECT_EQ(e[1].nextSibling, 4);
  EXPECT_EQ(e[2].nextSibling, 3);
  EXPECT_EQ(e[3].nextSibling, -1);
  EXPECT_EQ(e[4].firstChild, -1);
  EXPECT_EQ(e[0].text, "headmidtail");  // text between children joins up
  EXPECT_EQ(e[3].text, "in");
  ASSERT_EQ(e[3].attributes.size(), 3u);
  EXPECT_EQ(e[3].attributes[0].name, "b");
  EXPECT_EQ(e[3].attributes[1].name, "a");
  EXPECT_EQ(e[3].attributes[2].value, "3");
}

TEST(XmlDocumentTree, CommentsCdataInstructionsAndDoctypeLeaveNoTrace) {
  Parsed p = parse(
      "<?xml version=\"1.0\"?><!DOCTYPE r [<!ELEMENT r ANY><!ATTLIST e extra CDATA \"dflt\">"
      "<!ENTITY lib \"Library\">]><!-- top --><r a=\"1\">x<!-- note <e/> -->y"
      "<![CDATA[<e b=\"2\"/>z]]><?pi data?>&lib;&amp;<e/></r><!-- after -->");
  ASSERT_EQ(p.result.status, 0);
  ASSERT_EQ(p.doc.elements.size(), 2u);
  EXPECT_EQ(p.doc.elements[0].text, "xyLibrary&");
  EXPECT_TRUE(p.doc.elements[1].attributes.empty());  // the declared default is not used
}

TEST(XmlDocumentLineBreaks, TextTakesTheStyleOfTheFirstBreakInTheFile) {
  for (std::string style : {"\r\n", "\n", "\r"}) {
    // The text itself uses LF, but the declaration line sets the style.
    std::string xml = "<?xml version=\"1.0\"?>" + style + "<r a=\"1\">one&#10;two" + style + "three</r>";
    Parsed p = parse(xml);
    ASSERT_EQ(p.result.status, 0);
    EXPECT_EQ(p.doc.elements[0].text, "one" + style + "two" + style + "three");
  }
  EXPECT_EQ(parse("<r a=\"1\">one&#10;two</r>").doc.elements[0].text, "one\ntwo");
}

TEST(XmlDocumentLineBreaks, CrLfSplitBetweenChunksStaysCrLf) {
  std::string head = "<r a=\"1\">";
  std::string xml = head + std::string(16383 - head.size(), 'x') + "\r\ny</r>";
  ASSERT_EQ(xml[16383], '\r');
  Parsed p = parse(xml);
  ASSERT_EQ(p.result.status, 0);
  EXPECT_EQ(p.doc.elements[0].text.substr(16383 - head.size()), "\r\ny");
}

TEST(XmlDocumentLineBreaks, Utf16IsReadByCodeUnit) {
  for (bool bigEndian : {false, true}) {
    // U+010D has a 0x0D byte that is not a CR.
    Parsed p = parse(utf16("<r a=\"\xC4\x8D\">one\ntwo</r>", bigEndian));
    ASSERT_EQ(p.result.status, 0);
    EXPECT_EQ(p.doc.elements[0].text, "one\ntwo");
    Parsed crLf = parse(utf16("<r a=\"1\">one\r\ntwo</r>", bigEndian));
    EXPECT_EQ(crLf.doc.elements[0].text, "one\r\ntwo");
  }
}

TEST(XmlDocumentEncoding, DetectedFromByteOrderMarkOrDeclaration) {
  const std::string title =
      "Gr\xC3\xBC\xC3\x9F"
      "e \xE2\x9C\xB0";  // "Grüße ✰"
  for (bool bigEndian : {false, true}) {
    Parsed p = parse(utf16("<r theme_de=\"" + title + "\"/>", bigEndian));
    ASSERT_EQ(p.result.status, 0);
    EXPECT_EQ(p.doc.elements[0].attributes[0].value, title);
  }
  Parsed latin1 = parse("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r a=\"\xE4\">\xFC</r>");
  ASSERT_EQ(latin1.result.status, 0);
  EXPECT_EQ(latin1.doc.elements[0].attributes[0].value, "\xC3\xA4");
  EXPECT_EQ(latin1.doc.elements[0].text, "\xC3\xBC");
  EXPECT_EQ(parse("\xEF\xBB\xBF<r a=\"1\"/>").result.status, 0);
}

TEST(XmlDocumentErrors, ReportExpatCodeTextAndPosition) {
  Parsed onlyDeclaration = parse("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
  EXPECT_EQ(onlyDeclaration.result.status, XML_ERROR_NO_ELEMENTS);
  EXPECT_EQ(onlyDeclaration.result.errorText, "no element found");
  EXPECT_EQ(onlyDeclaration.result.line, 2);  // where the input ended
  EXPECT_EQ(onlyDeclaration.result.column, 1);
  EXPECT_FALSE(onlyDeclaration.doc.hasRoot());

  Parsed duplicate = parse("<r a=\"1\">\n<t g=\"x\">\n  <e File=\"/a\" File=\"/b\"/>\n</t></r>");
  EXPECT_EQ(duplicate.result.status, XML_ERROR_DUPLICATE_ATTRIBUTE);
  EXPECT_EQ(duplicate.result.errorText, "duplicate attribute");
  EXPECT_EQ(duplicate.result.line, 3);
  EXPECT_GT(duplicate.result.column, 1);

  Parsed junk = parse("<r a=\"1\"/><r/>");
  EXPECT_EQ(junk.result.errorText, "junk after document element");
  EXPECT_EQ(junk.result.line, 1);
  EXPECT_EQ(junk.result.column, 11);
}

TEST(XmlDocumentErrors, PartBeforeTheErrorIsKeptAndReplacesTheOldDocument) {
  Parsed p = parse("<r a=\"1\">\r\n<t g=\"x\">one\r\ntwo</r>");
  EXPECT_EQ(p.result.status, XML_ERROR_TAG_MISMATCH);
  EXPECT_EQ(p.result.errorText, "mismatched tag");
  EXPECT_EQ(p.result.line, 3);  // the closing tag that does not match
  ASSERT_EQ(p.doc.elements.size(), 2u);
  EXPECT_EQ(p.doc.elements[0].firstChild, 1);
  EXPECT_EQ(p.doc.elements[1].text, "one\r\ntwo");  // the style is applied to the part too

  XmlParseResult result;
  ASSERT_TRUE(parseDatabaseBuffer("<only a=\"1\"><", &p.doc, &result));
  EXPECT_NE(result.status, 0);
  EXPECT_EQ(p.doc.elements.size(), 1u);
}

TEST(XmlDocumentFiles, UnopenableOrEmptyFilesLeaveEverythingAsItWas) {
  XmlDocument doc;
  doc.elements.resize(3);
  XmlParseResult result;
  result.status = 99;
  std::string empty = tempPath("empty.xml");
  writeFile(empty, "");
  for (const std::string& path : {tempPath("missing.xml"), empty, testing::TempDir()}) {
    EXPECT_FALSE(parseDatabaseFile(path, &doc, &result)) << path;
    EXPECT_EQ(doc.elements.size(), 3u);
    EXPECT_EQ(result.status, 99);
  }
  EXPECT_FALSE(parseDatabaseBuffer("", &doc, &result));
  EXPECT_EQ(doc.elements.size(), 3u);
  remove(empty.c_str());
}

TEST(XmlDocumentFiles, FileOfManyChunksParsesLikeTheSameBytesInMemory) {
  std::string xml = "<r a=\"1\">\r\n" + repeat("<e File=\"/x.vl\">line\none</e>\r\n", 5000) + "</r>";
  std::string path = tempPath("many.xml");
  writeFile(path, xml);
  XmlDocument fromFile;
  XmlParseResult result;
  ASSERT_TRUE(parseDatabaseFile(path, &fromFile, &result));
  EXPECT_EQ(result.status, 0);
  Parsed fromMemory = parse(xml);
  ASSERT_EQ(fromFile.elements.size(), 5001u);
  ASSERT_EQ(fromFile.elements.size(), fromMemory.doc.elements.size());
  EXPECT_EQ(fromFile.elements[4999].text, "line\r\none");
  EXPECT_EQ(fromFile.elements[0].text, fromMemory.doc.elements[0].text);

  writeFile(path, "<r a=\"1\"><e></r>");
  ASSERT_TRUE(parseDatabaseFile(path, &fromFile, &result));
  EXPECT_EQ(result.status, XML_ERROR_TAG_MISMATCH);
  EXPECT_EQ(fromFile.elements.size(), 2u);
  remove(path.c_str());
}

TEST(XmlDocumentLimits, DeepWideAndLongDocumentsLoad) {
  const size_t depth = 100000;
  Parsed deep = parse(repeat("<e a=\"1\">", depth) + repeat("</e>", depth));
  ASSERT_EQ(deep.result.status, 0);
  ASSERT_EQ(deep.doc.elements.size(), depth);
  EXPECT_EQ(deep.doc.elements[depth - 2].firstChild, static_cast<int32_t>(depth - 1));
  EXPECT_EQ(deep.doc.elements[depth - 1].firstChild, -1);

  const size_t width = 1000000;
  Parsed wide = parse("<r>" + repeat("<e a=\"x\"/>", width) + "</r>");
  ASSERT_EQ(wide.result.status, 0);
  ASSERT_EQ(wide.doc.elements.size(), width + 1);
  EXPECT_EQ(wide.doc.elements[width - 1].nextSibling, static_cast<int32_t>(width));
  EXPECT_EQ(wide.doc.elements[width].nextSibling, -1);

  std::string value(1 << 20, 'v');
  Parsed longValue = parse("<r a=\"" + value + "\"/>");
  ASSERT_EQ(longValue.result.status, 0);
  EXPECT_EQ(longValue.doc.elements[0].attributes[0].value, value);
}

TEST(XmlDocumentLimits, EntityExpansionCannotSwellMemory) {
  std::string laughs = "<!DOCTYPE r [<!ENTITY l0 \"lol\">";
  for (int i = 1; i < 10; ++i) {
    std::string prev = "&l" + std::to_string(i - 1) + ";";
    laughs += "<!ENTITY l" + std::to_string(i) + " \"" + repeat(prev, 10) + "\">";
  }
  Parsed billion = parse(laughs + "]><r a=\"1\">&l9;</r>");
  EXPECT_EQ(billion.result.status, XML_ERROR_AMPLIFICATION_LIMIT_BREACH);
  EXPECT_EQ(billion.result.errorText, "");  // codes above 40 have no text
  ASSERT_TRUE(billion.doc.hasRoot());
  EXPECT_LT(billion.doc.elements[0].text.size(), 64u << 20);

  // A thirty-fold growth to 5 MB is refused too, though expat alone would allow it.
  std::string swelling =
      "<!DOCTYPE r [<!ENTITY w \"" + std::string(100, 'w') + "\">]><r a=\"1\">" + repeat("&w;", 50000) + "</r>";
  EXPECT_EQ(parse(swelling).result.status, XML_ERROR_AMPLIFICATION_LIMIT_BREACH);
}
