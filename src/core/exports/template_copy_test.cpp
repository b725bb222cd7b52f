#include "core/exports/template_copy.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <vector>

#include "core/exports/date_text.h"
#include "core/exports/export_test_util.h"

namespace {

using Lines = std::vector<std::string_view>;

Lines splitTemplateLines(std::string_view bytes) {
  Lines lines;
  size_t pos = 0;
  std::string_view line;
  while (nextTemplateLine(bytes, &pos, &line)) lines.push_back(line);
  return lines;
}

TEST(TemplateLinesTest, EveryTerminatorEndsOneLine) {
  EXPECT_EQ(splitTemplateLines("a\nb\r\nc\rd"), (Lines{"a", "b", "c", "d"}));
  // CR LF is one terminator, LF CR two, and empty lines survive.
  EXPECT_EQ(splitTemplateLines("a\r\n\r\nb\n\rc\n"), (Lines{"a", "", "b", "", "c"}));
  EXPECT_EQ(splitTemplateLines("\n"), (Lines{""}));
  EXPECT_TRUE(splitTemplateLines("").empty());
  EXPECT_EQ(splitTemplateLines("tail\r"), (Lines{"tail"}));
}

TEST(CurrDateTest, DetectionIsExactButReplacementIgnoresCase) {
  const std::string date = "07. Mar. 2026";
  EXPECT_EQ(replaceCurrDate("<p>Stand: CurrDate.</p>", date), "<p>Stand: 07. Mar. 2026.</p>");
  EXPECT_EQ(replaceCurrDate("only currdate here", date), "only currdate here");
  EXPECT_EQ(replaceCurrDate("CURRDATE alone", date), "CURRDATE alone");
  EXPECT_EQ(replaceCurrDate("CurrDate and currdate and CURRdate", date),
            "07. Mar. 2026 and 07. Mar. 2026 and 07. Mar. 2026");
  EXPECT_EQ(replaceCurrDate("CurrDateCurrDate", "x"), "xx");
  EXPECT_EQ(replaceCurrDate("CurrDat", date), "CurrDat");
  // A date text that itself holds the word is not replaced again.
  EXPECT_EQ(replaceCurrDate("CurrDate!", "CurrDate"), "CurrDate!");
}

class TemplateCopyTest : public ::testing::Test {
 protected:
  void SetUp() override { folder_ = makeScratchFolder(); }
  void TearDown() override { removeScratchFolder(folder_); }
  std::string folder_;
};

TEST_F(TemplateCopyTest, HeadIsDatedTailIsNotAndLinesEndInLf) {
  writeTestFile(folder_ + "t.html", "<html>\r\n<p>CurrDate</p>\rend");
  OutputSink head;
  EXPECT_TRUE(copyTemplate(folder_ + "t.html", true, "01. Jan. 2000", &head));
  EXPECT_EQ(head.buffer, "<html>\n<p>01. Jan. 2000</p>\nend\n");
  OutputSink tail;
  EXPECT_TRUE(copyTemplate(folder_ + "t.html", false, "01. Jan. 2000", &tail));
  EXPECT_EQ(tail.buffer, "<html>\n<p>CurrDate</p>\nend\n");
}

TEST_F(TemplateCopyTest, MissingTemplateIsCreatedEmptyAndMissingFolderSkipped) {
  OutputSink sink;
  EXPECT_FALSE(copyTemplate(folder_ + "head.html", true, "d", &sink));
  EXPECT_TRUE(testFileExists(folder_ + "head.html"));
  EXPECT_EQ(readTestFile(folder_ + "head.html"), "");
  EXPECT_FALSE(copyTemplate(folder_ + "no-such-folder/head.html", true, "d", &sink));
  EXPECT_FALSE(testFileExists(folder_ + "no-such-folder"));
  EXPECT_EQ(sink.buffer, "");
}

// The viewer opened templates for writing too, so a write-protected template was
// silently left out of the page; reading is all the export needs.
TEST_F(TemplateCopyTest, WriteProtectedTemplateIsStillCopied) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
  writeTestFile(folder_ + "ro.html", "kept\n");
  chmod((folder_ + "ro.html").c_str(), 0444);
  OutputSink sink;
  EXPECT_TRUE(copyTemplate(folder_ + "ro.html", false, "", &sink));
  EXPECT_EQ(sink.buffer, "kept\n");
}

// A template saved in ISO 8859-1 still gives a UTF-8 page; valid UTF-8 stays as it is.
TEST_F(TemplateCopyTest, TemplateThatIsNoUtf8IsReadAsLatin1) {
  writeTestFile(folder_ + "latin1.html", "Gr\xFC\xDF CurrDate\r\n\xE9t\xE9");
  OutputSink sink;
  EXPECT_TRUE(copyTemplate(folder_ + "latin1.html", true, "d", &sink));
  EXPECT_EQ(sink.buffer, "Gr\xC3\xBC\xC3\x9F d\n\xC3\xA9t\xC3\xA9\n");
  writeTestFile(folder_ + "utf8.html", "Gr\xC3\xBC\xC3\x9F");
  OutputSink utf8;
  EXPECT_TRUE(copyTemplate(folder_ + "utf8.html", false, "", &utf8));
  EXPECT_EQ(utf8.buffer, "Gr\xC3\xBC\xC3\x9F\n");
}

TEST(DateTextTest, TwoDigitDayMonthWordFourDigitYear) {
  std::tm date{};
  date.tm_mday = 7;
  date.tm_mon = 2;
  date.tm_year = 126;
  EXPECT_EQ(exportDateText(date), "07. Mar. 2026");
  date.tm_mday = 31;
  date.tm_mon = 11;
  date.tm_year = 99;
  EXPECT_EQ(exportDateText(date), "31. Dec. 1999");
  date.tm_mon = 0;
  EXPECT_EQ(exportDateText(date).substr(4, 3), "Jan");
}

}  // namespace
