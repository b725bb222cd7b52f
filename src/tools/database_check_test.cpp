#include "tools/database_check.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "core/database/database_loader.h"
#include "core/exports/export_test_util.h"
#include "tools/element_lines.h"

namespace {

class DatabaseCheckTest : public ::testing::Test {
 protected:
  void SetUp() override {
    lib_ = makeScratchFolder();
    mkdir((lib_ + "Files").c_str(), 0777);
    mkdir((lib_ + "Files/Sub").c_str(), 0777);
    writeTestFile(lib_ + "Files/read.vl", "x");
    writeTestFile(lib_ + "Files/Sub/extra.vli", "x");
    writeTestFile(lib_ + "Files/notes.txt", "x");
    writeTestFile(lib_ + "ViewerHelp.txt", "x");
  }
  void TearDown() override { removeScratchFolder(lib_); }

  std::vector<std::string> check(const std::string& xml) {
    writeTestFile(lib_ + "db.xml", xml);
    CheckInput in;
    EXPECT_TRUE(loadDatabaseFile(lib_ + "db.xml", IndexBuildOptions{}, &index_, &in.parseResult));
    in.databasePath = "db.xml";
    in.libraryFolder = lib_;
    in.index = &index_;
    EXPECT_TRUE(readElementLines(lib_ + "db.xml", &in.elementLines));
    return checkDatabase(in);
  }

  std::string lib_;
  IndexModel index_;
};

TEST_F(DatabaseCheckTest, CleanDatabaseHasNoFindings) {
  EXPECT_EQ(check("<r a='x'>\n <t n='T'>\n"
                  "  <e File='/Files/read.vl' theme_de='Lesen' theme_en='Read'/>\n"
                  "  <e File='Files/Sub/extra.vli' theme_de='E' theme_en='E'/>\n"
                  "  <e File='/ViewerHelp.txt' theme_de='Hilfe' theme_en='Help'/>\n </t>\n</r>\n"),
            std::vector<std::string>{});
}

TEST_F(DatabaseCheckTest, EachKindOfProblemWithItsLine) {
  std::vector<std::string> expected = {
      "db.xml:3: code file missing: " + lib_ + "Files/gone.vl",
      "db.xml:4: entry without English title",
      "db.xml:5: entry without German and English titles",
      "db.xml:6: another help entry (ViewerHelp.txt) after db.xml:5; the viewer uses the last one",
      lib_ + "Files/Sub/extra.vli: code file named by no entry",
  };
  EXPECT_EQ(check("<r a='x'>\n<t n='T'>\n"
                  "<e File='/Files/gone.vl' theme_de='W' theme_en='G'/>\n"
                  "<e File='/Files/read.vl' theme_de='Lesen'/>\n"
                  "<e File='/ViewerHelp.txt'/>\n"
                  "<e File='/ViewerHelp.txt' theme_de='H' theme_en='H'/>\n</t>\n</r>\n"),
            expected);
}

TEST_F(DatabaseCheckTest, XmlErrorIsReportedAndWhatWasReadStillChecked) {
  std::vector<std::string> found = check(
      "<r a='x'>\n<t n='T'>\n"
      "<e File='/Files/gone.vl' theme_de='W' theme_en='G'/>\n"
      "<e File='/Files/read.vl' theme_de='a' theme_de='b'/>\n");
  ASSERT_FALSE(found.empty());
  EXPECT_EQ(found[0].rfind("db.xml:4: Error in the XML file: duplicate attribute (character ", 0), 0u) << found[0];
  EXPECT_EQ(found[1], "db.xml:3: code file missing: " + lib_ + "Files/gone.vl");
}

TEST_F(DatabaseCheckTest, MissingLibraryFolderIsOneFinding) {
  writeTestFile(lib_ + "db.xml", "<r a='x'/>");
  CheckInput in;
  ASSERT_TRUE(loadDatabaseFile(lib_ + "db.xml", IndexBuildOptions{}, &index_, &in.parseResult));
  in.databasePath = "db.xml";
  in.libraryFolder = lib_ + "nowhere/";
  in.index = &index_;
  EXPECT_EQ(checkDatabase(in), std::vector<std::string>{lib_ + "nowhere/: library folder not found"});
}

// The viewer's own test of the extension: letter case counts, so B.VL is no code file.
TEST_F(DatabaseCheckTest, CodeFilesAreFoundByTheViewersRuleInSubfolders) {
  writeTestFile(lib_ + "a.vlf", "x");
  writeTestFile(lib_ + "b.vlx", "x");
  writeTestFile(lib_ + "B.VL", "x");
  mkdir((lib_ + "dir.vl").c_str(), 0777);  // a folder is not a code file
  std::vector<std::string> errors;
  EXPECT_EQ(listCodeFiles(lib_, &errors),
            (std::vector<std::string>{"/Files/Sub/extra.vli", "/Files/read.vl", "/a.vlf"}));
  EXPECT_TRUE(errors.empty());
  EXPECT_TRUE(listCodeFiles(lib_ + "nowhere/", &errors).empty());
  EXPECT_EQ(errors, std::vector<std::string>{lib_ + "nowhere/: cannot read the folder: No such file or directory"});
}

// Runs `walk` in a child that may open only `spare` more descriptors; its exit status.
template <typename Walk>
int withSpareDescriptors(int spare, Walk walk) {
  pid_t child = fork();
  if (child == 0) {
    int lowestFree = dup(0);
    close(lowestFree);
    struct rlimit limit = {static_cast<rlim_t>(lowestFree + spare), static_cast<rlim_t>(lowestFree + spare)};
    setrlimit(RLIMIT_NOFILE, &limit);
    _exit(walk() ? 0 : 1);
  }
  int status = -1;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A library far deeper than the descriptors at hand is walked with one at a time, and
// a folder that cannot be read is reported, not passed over in silence.
TEST_F(DatabaseCheckTest, DeepLibraryNeedsOneDescriptorAndErrorsAreFindings) {
  std::string deep;
  for (int i = 0; i < 64; ++i) {
    deep += "d/";
    mkdir((lib_ + deep).c_str(), 0777);
  }
  writeTestFile(lib_ + deep + "deep.vl", "x");
  const std::string deepCode = "/" + deep + "deep.vl";
  EXPECT_EQ(withSpareDescriptors(1,
                                 [&] {
                                   std::vector<std::string> errors;
                                   std::vector<std::string> codes = listCodeFiles(lib_, &errors);
                                   return errors.empty() && codes.size() == 3 && codes.back() == deepCode;
                                 }),
            0);
  // Without any, the walk fails at once, and the check says so rather than nothing.
  writeTestFile(lib_ + "db.xml", "<r a='x'/>");
  CheckInput in;
  ASSERT_TRUE(loadDatabaseFile(lib_ + "db.xml", IndexBuildOptions{}, &index_, &in.parseResult));
  in.databasePath = "db.xml";
  in.libraryFolder = lib_;
  in.index = &index_;
  EXPECT_EQ(
      withSpareDescriptors(0,
                           [&] {
                             return checkDatabase(in) ==
                                    std::vector<std::string>{lib_ + ": cannot read the folder: Too many open files"};
                           }),
      0);
}

TEST(ElementLinesTest, StartLinesInDocumentOrderUpToAnError) {
  std::string folder = makeScratchFolder();
  writeTestFile(folder + "a.xml", "<?xml version='1.0'?>\n<r>\n<!-- <no/> -->\n<a><b/>\n</a><c/></r>");
  std::vector<long> lines;
  EXPECT_TRUE(readElementLines(folder + "a.xml", &lines));
  EXPECT_EQ(lines, (std::vector<long>{2, 4, 4, 5}));
  writeTestFile(folder + "b.xml", "<r>\n<a>\n</b>\n<c/></r>");
  EXPECT_TRUE(readElementLines(folder + "b.xml", &lines));
  EXPECT_EQ(lines, (std::vector<long>{1, 2}));
  EXPECT_FALSE(readElementLines(folder + "none.xml", &lines));
  removeScratchFolder(folder);
}

}  // namespace
