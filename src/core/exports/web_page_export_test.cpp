#include "core/exports/web_page_export.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "core/exports/export_test_util.h"

namespace {

const std::string kNew = "\xE2\x9C\xB0";  // new-topic marker
const std::string kArrow = "&nbsp;&nbsp;&nbsp;\xE2\xAC\x8C&nbsp;&nbsp;&nbsp;";
const std::string kButton =
    "<input type=\"button\" name=\"theSubmitButton\" id=\"theSubmitButton\" value=\"Alle "
    "\xC3\xB6"
    "ffnen / schlie\xC3\x9F"
    "en\" onclick=\"";
const std::string kButtonEnd = "return false;\"><br />\n<a></a>\n<a></a></p>\n\n";

std::string themeLine(const std::string& name) {
  return "<p>\n<img src=\"Icons/folder.png\" style=\"vertical-align: middle;\"><a style=\"margin-"
         "left: 5px;\" href=\"#\" onclick=\"outline('" +
         name + "'); return false;\"><b>" + name + "</b></a><br />\n";
}

std::string spanStart(const std::string& name) {
  return "<span id=\"" + name + "\" style=\"display:none; margin-left: 20px;\"> ";
}

std::string entryLink(const std::string& href, const std::string& de, const std::string& en, bool isNew) {
  std::string s =
      "<img src=\"Icons/folder-documents.png\" style=\"vertical-align: middle;\"><a "
      "style=\"margin-left: 5px;\" href=\"" +
      href + "\" target=\"_blank\">";
  return isNew ? s + "<b>" + de + kArrow + en + "</b></a><br />\n" : s + de + kArrow + en + "</a><br />\n";
}

std::string body(const IndexModel& index) {
  OutputSink sink;
  renderWebPageBody(index, 0, "Linux", &sink);
  return sink.buffer;
}

// Root, a theme with a plain and a new entry, a theme without entries, and a theme
// whose name holds an apostrophe.
IndexModel sampleIndex() {
  IndexModel index;
  addRow(&index, 0, "Root", TopicNode{});
  addRow(&index, 1, "Dateien");
  addRow(&index, 2, "x",
         entryNode("\xC3\x96"
                   "ffnen",
                   "Open", "/Files/open.vl"));
  addRow(&index, 2, "x", entryNode(kNew + "Neu", "New", "/Files/new.vl"));
  addRow(&index, 1, "Leer");
  addRow(&index, 1, "Fenster's");
  addRow(&index, 2, "x", entryNode("Fenster", "Window", "Win/w.vl"));
  return index;
}

TEST(WebPageBodyTest, WholeBodyOfASmallIndex) {
  std::string expected =
      "<br />\n" + kButton + "outline('Dateien');outline('Leer');" + "outline('Fenster's');" + kButtonEnd;
  expected += themeLine("Dateien") + spanStart("Dateien") +
              entryLink("Linux/Files/open.vl",
                        "\xC3\x96"
                        "ffnen",
                        "Open", false) +
              entryLink("Linux/Files/new.vl", kNew + "Neu", "New", true);
  // The empty theme opens a paragraph that the next theme leaves open.
  expected += "</span>\n</p>\n" + themeLine("Leer") + themeLine("Fenster's");
  expected += spanStart("Fenster's") + entryLink("LinuxWin/w.vl", "Fenster", "Window", false);
  expected += "</span>\n</p>\n";
  EXPECT_EQ(body(sampleIndex()), expected);
}

TEST(WebPageBodyTest, RowsBelowEntriesAndEntriesAfterThemSkipped) {
  IndexModel index;
  addRow(&index, 0, "Root");
  addRow(&index, 1, "T");
  addRow(&index, 2, "x", entryNode("A", "a", "/a.vl"));
  addRow(&index, 3, "deep", entryNode("D", "d", "/d.vl"));
  addRow(&index, 2, "x", entryNode("B", "b", "/b.vl"));
  addRow(&index, 1, "U");
  std::string out = body(index);
  EXPECT_NE(out.find("/a.vl"), std::string::npos);
  EXPECT_EQ(out.find("/d.vl"), std::string::npos);
  EXPECT_EQ(out.find("/b.vl"), std::string::npos);
  // The skipped entry still counts as the previous row, so the entries' block closes.
  EXPECT_NE(out.find("</span>\n</p>\n" + themeLine("U")), std::string::npos);
}

TEST(WebPageBodyTest, EntriesWithoutThemeAndEmptyIndex) {
  IndexModel index;
  addRow(&index, 0, "Root");
  addRow(&index, 2, "x", entryNode("A", "a", "/a.vl"));  // previous level 0: nothing
  addRow(&index, 2, "x", entryNode("B", "b", "/b.vl"));  // previous level 2: no span opened
  std::string out = body(index);
  EXPECT_EQ(out.find("/a.vl"), std::string::npos);
  EXPECT_NE(out.find("href=\"Linux/b.vl\""), std::string::npos);
  EXPECT_EQ(out.find("<span"), std::string::npos);
  EXPECT_EQ(body(IndexModel{}), "<br />\n" + kButton + kButtonEnd + "</span>\n</p>\n");
}

TEST(WebPageBodyTest, StartRowBoundsTheWalk) {
  IndexModel index = sampleIndex();
  OutputSink sink;
  renderWebPageBody(index, 4, "Linux", &sink);  // from the empty theme on
  EXPECT_EQ(sink.buffer.find("Dateien"), std::string::npos);
  EXPECT_NE(sink.buffer.find("outline('Leer');outline('Fenster's');return"), std::string::npos);
  OutputSink past;
  renderWebPageBody(index, 100, "Linux", &past);
  EXPECT_EQ(past.buffer, "<br />\n" + kButton + kButtonEnd + "</span>\n</p>\n");
}

class WebPageExportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = makeScratchFolder();
    settings_.exportFolder = root_ + "Export/";
    settings_.templatesFolder = root_ + "Templates/";
    settings_.dateText = "07. Mar. 2026";
    mkdir((root_ + "Export").c_str(), 0777);
    mkdir((root_ + "Templates").c_str(), 0777);
  }
  void TearDown() override { removeScratchFolder(root_); }
  std::string root_;
  ExportSettings settings_;
};

TEST_F(WebPageExportTest, PageIsHeadBodyTailAndMessageNamesIt) {
  writeTestFile(settings_.templatesFolder + "VL-LinuxAPI-Head.html", "<html>\r\n<p>CurrDate</p>");
  writeTestFile(settings_.templatesFolder + "VL-LinuxAPI-Tail.html", "<p>CurrDate</p>\n</html>\n");
  ExportResult result = exportWebPage(sampleIndex(), settings_);
  EXPECT_TRUE(result.ok);
  EXPECT_TRUE(result.shown);
  EXPECT_EQ(result.title, "Linux VL-ZEZ-Ovidozo-Vivara");
  EXPECT_EQ(result.message, "html-Export done to ...\n" + root_ + "Export/VL-LinuxAPI-Lib.html");
  EXPECT_EQ(readTestFile(root_ + "Export/VL-LinuxAPI-Lib.html"),
            "<html>\n<p>07. Mar. 2026</p>\n" + body(sampleIndex()) + "<p>CurrDate</p>\n</html>\n");
}

TEST_F(WebPageExportTest, MissingTemplatesAreCreatedEmptyMissingFolderSkipped) {
  ExportResult result = exportWebPage(sampleIndex(), settings_);
  EXPECT_TRUE(result.ok);
  EXPECT_EQ(readTestFile(settings_.templatesFolder + "VL-LinuxAPI-Head.html"), "");
  EXPECT_TRUE(testFileExists(settings_.templatesFolder + "VL-LinuxAPI-Tail.html"));
  settings_.templatesFolder = root_ + "gone/";
  result = exportWebPage(sampleIndex(), settings_);
  EXPECT_TRUE(result.ok);
  EXPECT_TRUE(result.shown);
  EXPECT_EQ(readTestFile(root_ + "Export/VL-LinuxAPI-Lib.html"), body(sampleIndex()));
}

// The viewer stayed silent here while the postings said "Couldn't create".
TEST_F(WebPageExportTest, UncreatablePageIsReportedAndTouchesNoTemplate) {
  settings_.exportFolder = root_ + "no-export/";
  ExportResult result = exportWebPage(sampleIndex(), settings_);
  EXPECT_FALSE(result.ok);
  EXPECT_TRUE(result.shown);
  EXPECT_EQ(result.message, "Couldn't create\n" + root_ + "no-export/VL-LinuxAPI-Lib.html");
  EXPECT_FALSE(testFileExists(settings_.templatesFolder + "VL-LinuxAPI-Head.html"));
}

// A fifo, a link to /dev/zero and a sparse giant as templates: skipped at once, each
// named in the message, and the page written all the same.
TEST_F(WebPageExportTest, HostileTemplatesAreSkippedAndNamed) {
  const std::string head = settings_.templatesFolder + "VL-LinuxAPI-Head.html";
  const std::string tail = settings_.templatesFolder + "VL-LinuxAPI-Tail.html";
  const std::string page = "html-Export done to ...\n" + root_ + "Export/VL-LinuxAPI-Lib.html";
  ASSERT_EQ(mkfifo(head.c_str(), 0644), 0);
  ASSERT_EQ(symlink("/dev/zero", tail.c_str()), 0);
  ExportResult result = exportWebPage(sampleIndex(), settings_);
  EXPECT_EQ(result.message, page + "\n\nTemplate skipped (not a regular file):\n" + head +
                                "\n\nTemplate skipped (not a regular file):\n" + tail);
  EXPECT_EQ(readTestFile(root_ + "Export/VL-LinuxAPI-Lib.html"), body(sampleIndex()));
  unlink(head.c_str());
  writeTestFile(head, "");
  ASSERT_EQ(truncate(head.c_str(), off_t{8} << 30), 0);
  unlink(tail.c_str());
  result = exportWebPage(sampleIndex(), settings_);
  EXPECT_TRUE(result.ok);
  EXPECT_EQ(result.message, page + "\n\nTemplate skipped (too large, 8.0 GiB):\n" + head);
}

}  // namespace
