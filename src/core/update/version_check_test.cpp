#include "core/update/version_check.h"

#include <time.h>

#include <gtest/gtest.h>

namespace {

constexpr char kSample[] =
    "[Version]\n"
    "; Linux viewer versions\n"
    "Gtk2=0.25.40\n"
    "Gtk3=0.26.1\n"
    "Api=2016-01-10\n";

}  // namespace

TEST(VersionFile, ValuesByLineNumber) {
  EXPECT_EQ(versionFileValue(kSample, 3), "0.25.40");
  EXPECT_EQ(versionFileValue(kSample, 4), "0.26.1");
  EXPECT_EQ(versionFileValue(kSample, 5), "2016-01-10");
  EXPECT_EQ(versionFileValue(kSample, 1), "");  // a section header holds no "="
  EXPECT_EQ(versionFileValue(kSample, 7), "");  // beyond the end
  EXPECT_EQ(versionFileValue(kSample, 0), "");
  EXPECT_EQ(versionFileValue(kSample, -3), "");
  EXPECT_EQ(versionFileValue("", 1), "");
}

TEST(VersionFile, ValueLiesBetweenFirstAndSecondEquals) {
  EXPECT_EQ(versionFileValue("a\nb\nkey=0.25.40=comment=more\n", 3), "0.25.40");
  EXPECT_EQ(versionFileValue("a\nb\nkey==0.25.40\n", 3), "");
  EXPECT_EQ(versionFileValue("a\nb\nkey=\n", 3), "");
  EXPECT_EQ(versionFileValue("a\nb\n=0.1.2", 3), "0.1.2");                // last line without LF
  EXPECT_EQ(versionFileValue("a\nb\nkey = 0.25.40 \n", 3), " 0.25.40 ");  // blanks are kept
  // Longer than any version or date: no version at all.
  std::string wide(kMaxVersionLength, '\t');
  EXPECT_EQ(versionFileValue("a\nb\nk=" + wide + "\n", 3), wide);
  EXPECT_EQ(versionFileValue("a\nb\nk=" + wide + "1\n", 3), "");
}

TEST(VersionFile, CarriageReturnsAreNotPartOfTheValue) {
  const char crlf[] = "[Version]\r\n;c\r\nGtk2=0.25.40\r\nGtk3=0.26.1\r\nApi=2016-01-10\r\n";
  EXPECT_EQ(versionFileValue(crlf, 3), "0.25.40");
  EXPECT_EQ(versionFileValue(crlf, 5), "2016-01-10");
  EXPECT_EQ(compareDatabaseVersion(versionFileValue(crlf, 5), "2015-11-20"), "yes");
  EXPECT_EQ(versionFileValue("a\nb\nk=x=y\r\n", 3), "x");
}

TEST(AppVersion, PlacesCompareFromMajorToPatch) {
  EXPECT_EQ(compareAppVersion("0.25.40", "0.25.36"), "yes");
  EXPECT_EQ(compareAppVersion("0.26.0", "0.25.36"), "yes");
  EXPECT_EQ(compareAppVersion("0.26.0", "0.25.40"), "yes");
  EXPECT_EQ(compareAppVersion("1.0.0", "0.99.99"), "yes");
  EXPECT_EQ(compareAppVersion("0.25.36", "0.25.36"), "no");
  // An older minor version is older, however large its patch number.
  EXPECT_EQ(compareAppVersion("0.24.40", "0.25.36"), "no");
  EXPECT_EQ(compareAppVersion("0.25.9", "0.25.36"), "no");  // numbers, not texts
  EXPECT_EQ(compareAppVersion("", "0.25.36"), "no");
  EXPECT_EQ(compareAppVersion("0.25.36", ""), "yes");
}

TEST(AppVersion, FieldsCountByTheirLeadingDigits) {
  EXPECT_EQ(compareAppVersion("0.25.40\r", "0.25.36"), "yes");
  EXPECT_EQ(compareAppVersion("0.25.36\r", "0.25.36"), "no");
  EXPECT_EQ(compareAppVersion("0.25.36-beta", "0.25.36"), "no");
  EXPECT_EQ(compareAppVersion("0.25.036", "0.25.36"), "no");  // leading zeros change nothing
  EXPECT_EQ(compareAppVersion("0.25", "0.25.0"), "no");       // a missing field is 0
  EXPECT_EQ(compareAppVersion("0.25.1", "0.25"), "yes");
  EXPECT_EQ(compareAppVersion("x.y.z", "0.0.0"), "no");         // non-numeric fields are 0
  EXPECT_EQ(compareAppVersion("0.25.36.99", "0.25.36"), "no");  // a fourth field is ignored
}

TEST(AppVersion, LongDigitRunsCompareExactly) {
  // Far beyond 64 bits: a conversion would overflow or saturate and call these equal.
  std::string huge(40, '9');
  std::string hugeMinusOne = huge;
  hugeMinusOne.back() = '8';
  EXPECT_EQ(compareAppVersion("0.0." + huge, "0.0." + hugeMinusOne), "yes");
  EXPECT_EQ(compareAppVersion("0.0." + hugeMinusOne, "0.0." + huge), "no");
  EXPECT_EQ(compareAppVersion(huge + ".0.0", "0.25.36"), "yes");
  EXPECT_EQ(compareAppVersion(std::string(100000, '0') + "1.0.0", "0.25.36"), "yes");
}

TEST(VersionDate, AgreesWithTheSystemCalendarFrom1970) {
  // Every day from 1970 to 2100 (leap years, the century year 2000 and 2100).
  struct tm day = {};
  day.tm_year = 70;
  day.tm_mday = 1;
  for (time_t expected = timegm(&day); day.tm_year <= 200; expected += 86400) {
    gmtime_r(&expected, &day);
    char text[16];
    strftime(text, sizeof text, "%Y-%m-%d", &day);
    ASSERT_EQ(parseVersionDate(text), expected) << text;
  }
}

TEST(VersionDate, RejectsTextsOutsideTheMaskAndImpossibleDays) {
  EXPECT_EQ(parseVersionDate("2016-01-10"), 1452384000);
  EXPECT_EQ(parseVersionDate("9999-12-31"), 253402214400);
  const char* invalid[] = {"",           "2016-1-10",    "2016-01-1",   "16-01-10",
                           "2016/01/10", "2016-01-10\r", "2016-01-10 ", " 2016-01-10",
                           "2016-01-1x", "2016-13-01",   "2016-00-10",  "2016-01-00",
                           "2016-01-32", "2026-02-31",   "2023-02-29",  "2100-02-29",
                           "2016-04-31", "1969-12-31",   "+016-01-10",  "2016-01-10T00"};
  for (const char* text : invalid) EXPECT_EQ(parseVersionDate(text), -1) << '"' << text << '"';
  EXPECT_EQ(parseVersionDate("2024-02-29"), parseVersionDate("2024-02-28") + 86400);
  EXPECT_EQ(parseVersionDate("2000-02-29"), parseVersionDate("2000-03-01") - 86400);
}

TEST(DatabaseVersion, LaterRemoteDateAnswersYes) {
  EXPECT_EQ(compareDatabaseVersion("2016-01-10", "2015-11-20"), "yes");
  EXPECT_EQ(compareDatabaseVersion("2016-01-10", "2016-01-10"), "no");
  EXPECT_EQ(compareDatabaseVersion("2015-11-20", "2016-01-10"), "no");
  EXPECT_EQ(compareDatabaseVersion("2016-01-10", ""), "yes");  // unreadable local date
  EXPECT_EQ(compareDatabaseVersion("1970-01-01", "garbage"), "yes");
  EXPECT_EQ(compareDatabaseVersion("2016-02-30", "2015-11-20"), "no");  // unreadable remote
  EXPECT_EQ(compareDatabaseVersion("", ""), "no");
}

TEST(UpdateAnswers, TextsForNewerAndCurrentVersions) {
  UpdateRecord newer{"", "0.25.40", "2016-01-10"};
  UpdateAnswers a = updateAnswerTexts(newer, "0.25.36", "2015-11-20");
  EXPECT_EQ(a.appGtk2, "yes:  0.25.36 \xE2\x86\x92 0.25.40");
  EXPECT_EQ(a.appGtk3, " - ");
  EXPECT_EQ(a.library, "yes:  2015-11-20 \xE2\x86\x92 2016-01-10");

  UpdateRecord same{"", "0.25.36", "2015-11-20"};
  UpdateAnswers b = updateAnswerTexts(same, "0.25.36", "2015-11-20");
  EXPECT_EQ(b.appGtk2, "no:  0.25.36");
  EXPECT_EQ(b.library, "no:  2015-11-20");

  // "no" for the library names the remote date, not the local one.
  UpdateAnswers c = updateAnswerTexts(UpdateRecord{"", "0.24.1", "2014-05-05"}, "0.25.36", "2015-11-20");
  EXPECT_EQ(c.appGtk2, "no:  0.25.36");
  EXPECT_EQ(c.library, "no:  2014-05-05");
}
