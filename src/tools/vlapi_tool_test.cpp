#include "tools/tool_run.h"

#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>

#include <gtest/gtest.h>

#include "core/database/database_loader.h"
#include "core/database/duplicate_protocol.h"
#include "core/database/index_builder.h"
#include "core/exports/date_text.h"
#include "core/exports/export_test_util.h"
#include "core/exports/posting_export.h"
#include "core/exports/web_page_export.h"

namespace {

const std::string kDatabase =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<toc name=\"Linux API\">Veldra Linux API 1.2.3\n"
    " <theme name=\"Dateien\">Files\n"
    "  <entry File=\"/Files/read.vl\" theme_de=\"Lesen\" theme_en=\"Read\" descript_de=\"d\"/>\n"
    "  <entry File=\"/Files/write.vl\" theme_de=\"\xE2\x9C\xB0Schreiben\" "
    "theme_en=\"\xE2\x9C\xB0Write\" descript_de=\"d\"/>\n"
    " </theme>\n"
    " <theme name=\"Fenster's\">\n"
    "  <entry File=\"/Win/read.vl\" theme_de=\"Zeigen\" theme_en=\"Show\"/>\n"
    " </theme>\n"
    "</toc>\n";

class ToolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = makeScratchFolder();
    mkdir((root_ + "Export").c_str(), 0777);
    mkdir((root_ + "Templates").c_str(), 0777);
    writeTestFile(root_ + "db.xml", kDatabase);
    writeTestFile(root_ + "Templates/VL-LinuxAPI-Head.html", "<html><!-- CurrDate -->\n");
    writeTestFile(root_ + "Templates/VL-LinuxAPI-Tail.html", "</html>\n");
  }
  void TearDown() override { removeScratchFolder(root_); }

  int run(const std::vector<std::string>& args) {
    out_ = ToolOutput{};
    return runTool(args, root_ + "stage/bin/", &out_);
  }

  std::vector<std::string> exportArgs(const std::string& command) {
    return {command, "--db", root_ + "db.xml", "--export", root_ + "Export", "--templates", root_ + "Templates"};
  }

  IndexModel index(int language, int dyeingNews) {
    XmlParseResult result;
    IndexBuildOptions options;
    options.topicLanguage = language;
    options.dyeingNews = dyeingNews;
    IndexModel model;
    EXPECT_TRUE(loadDatabaseFile(root_ + "db.xml", options, &model, &result));
    return model;
  }

  std::string root_;
  ToolOutput out_;
};

TEST_F(ToolTest, ExportsWriteWhatTheCoreWritesAndPrintItsMessage) {
  ASSERT_EQ(run(exportArgs("export-posting")), 0) << out_.err;
  EXPECT_EQ(out_.out, "text-Export done to ...\n" + root_ + "Export/ForumPosting.txt\n");
  EXPECT_EQ(out_.err, "");
  OutputSink all;
  renderPosting(index(0, 1), 0, PostingOptions{}, &all);
  EXPECT_EQ(readTestFile(root_ + "Export/ForumPosting.txt"), all.buffer);

  std::vector<std::string> args = exportArgs("export-posting");
  args.insert(args.end(), {"--news", "--language", "en", "--dyeing-news", "0"});
  ASSERT_EQ(run(args), 0);
  OutputSink news;
  renderPosting(index(1, 0), 0, PostingOptions{true, false}, &news);
  EXPECT_EQ(readTestFile(root_ + "Export/ForumPosting.txt"), news.buffer);
  EXPECT_EQ(news.buffer, "\n\n");  // the markers were removed, so nothing is news

  ASSERT_EQ(run(exportArgs("export-filelist")), 0);
  EXPECT_EQ(out_.out, "text-Export done to ...\n" + root_ + "Export/FileList.txt\n");
  OutputSink list;
  renderPosting(index(0, 1), 0, PostingOptions{false, true}, &list);
  EXPECT_EQ(readTestFile(root_ + "Export/FileList.txt"), list.buffer);

  ASSERT_EQ(run(exportArgs("duplicates")), 0);
  EXPECT_EQ(out_.out, "Protokoll with double terms done to ...\n" + root_ + "Export/Protocoll.txt\n");
  OutputSink protocol;
  renderDuplicateProtocol(index(0, 1), "db.xml", &protocol);
  EXPECT_EQ(readTestFile(root_ + "Export/Protocoll.txt"), protocol.buffer);
  EXPECT_NE(protocol.buffer.find("File: read.vl[Dateien] = read.vl[Fenster's]\n"), std::string::npos);
}

TEST_F(ToolTest, WebPageIsHeadBodyTail) {
  std::string before = currentExportDateText();
  ASSERT_EQ(run(exportArgs("export-html")), 0) << out_.err;
  std::string after = currentExportDateText();
  EXPECT_EQ(out_.out, "html-Export done to ...\n" + root_ + "Export/VL-LinuxAPI-Lib.html\n");
  OutputSink body;
  renderWebPageBody(index(0, 1), 0, "Linux", &body);
  std::string page = readTestFile(root_ + "Export/VL-LinuxAPI-Lib.html");
  EXPECT_TRUE(page == "<html><!-- " + before + " -->\n" + body.buffer + "</html>\n" ||
              page == "<html><!-- " + after + " -->\n" + body.buffer + "</html>\n")
      << page;
}

TEST_F(ToolTest, FailuresGoToStderrWithStatusOne) {
  EXPECT_EQ(run({"export-posting", "--db", root_ + "none.xml", "--export", root_}), 1);
  EXPECT_EQ(out_.err, "The database '" + root_ + "none.xml' cannot be opened.\n");
  EXPECT_EQ(out_.out, "");
  writeTestFile(root_ + "empty.xml", "");
  EXPECT_EQ(run({"duplicates", "--db", root_ + "empty.xml"}), 1);
  writeTestFile(root_ + "bad.xml", "<?xml version=\"1.0\"?>\n");
  EXPECT_EQ(run({"export-html", "--db", root_ + "bad.xml", "--export", root_}), 1);
  EXPECT_EQ(out_.err, "Error in the XML file:\nMessage: no element found\nLine: 2   Character: 1\n");
  EXPECT_FALSE(testFileExists(root_ + "VL-LinuxAPI-Lib.html"));

  std::vector<std::string> args = exportArgs("export-posting");
  args[4] = root_ + "missing";
  EXPECT_EQ(run(args), 1);
  EXPECT_EQ(out_.err, "Couldn't create\n" + root_ + "missing/ForumPosting.txt\n");
  args[0] = "duplicates";
  EXPECT_EQ(run(args), 1);
  EXPECT_EQ(out_.err, "Couldn't create Protokoll\n" + root_ + "missing/Protocoll.txt\n");
  args[0] = "export-html";
  EXPECT_EQ(run(args), 1);
  EXPECT_EQ(out_.err, "Couldn't create\n" + root_ + "missing/VL-LinuxAPI-Lib.html\n");
}

TEST_F(ToolTest, DefaultFoldersLieTwoLevelsAboveTheProgram) {
  // The program folder is root_/stage/bin/, so "../../Export/" is root_/Export/.
  mkdir((root_ + "stage").c_str(), 0777);
  mkdir((root_ + "stage/bin").c_str(), 0777);
  ASSERT_EQ(run({"export-html", "--db", root_ + "db.xml"}), 0) << out_.err;
  EXPECT_EQ(out_.out, "html-Export done to ...\n../../Export/VL-LinuxAPI-Lib.html\n");
  EXPECT_EQ(readTestFile(root_ + "Export/VL-LinuxAPI-Lib.html").rfind("<html><!-- ", 0), 0u);
}

TEST_F(ToolTest, CheckPrintsFindingsAndFailsOnThem) {
  EXPECT_EQ(run({"check", "--db", root_ + "db.xml"}), 1);
  EXPECT_EQ(out_.out, root_ + "db.xml:4: code file missing: " + root_ + "Files/read.vl\n" + root_ +
                          "db.xml:5: code file missing: " + root_ + "Files/write.vl\n" + root_ +
                          "db.xml:8: code file missing: " + root_ + "Win/read.vl\n");
  mkdir((root_ + "Files").c_str(), 0777);
  mkdir((root_ + "Win").c_str(), 0777);
  for (const char* f : {"Files/read.vl", "Files/write.vl", "Win/read.vl"}) writeTestFile(root_ + f, "");
  EXPECT_EQ(run({"check", "--db", root_ + "db.xml", "--lib", root_}), 0);
  EXPECT_EQ(out_.out, "");
}

// A fifo as the database is refused at once by every command, never waited on.
TEST_F(ToolTest, FifoDatabaseIsRefusedWithoutWaiting) {
  const std::string fifo = root_ + "fifo.xml";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
  for (std::vector<std::string> args : {std::vector<std::string>{"check"}, exportArgs("export-html")}) {
    args.insert(args.end(), {"--db", fifo});
    EXPECT_EQ(run(args), 1) << args[0];
    EXPECT_EQ(out_.err, "The database '" + fifo + "' cannot be opened.\n");
  }
}

// The real program: exit statuses and the streams the messages go to.
int shell(const std::string& command) {
  int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(ToolTest, ProgramExitStatusesAndStreams) {
  const std::string tool = VL_TOOL_PATH;
  const std::string streams = " >'" + root_ + "out' 2>'" + root_ + "err'";
  EXPECT_EQ(shell("'" + tool + "' export-html" + streams), 2);
  EXPECT_EQ(readTestFile(root_ + "out"), "");
  EXPECT_NE(readTestFile(root_ + "err").find("usage: vlapi-tool"), std::string::npos);
  EXPECT_EQ(shell("'" + tool + "' duplicates --db '" + root_ + "db.xml' --export '" + root_ + "Export'" + streams), 0);
  EXPECT_EQ(readTestFile(root_ + "out"),
            "Protokoll with double terms done to ...\n" + root_ + "Export/Protocoll.txt\n");
  EXPECT_EQ(shell("'" + tool + "' duplicates --db '" + root_ + "none.xml'" + streams), 1);
  EXPECT_EQ(readTestFile(root_ + "out"), "");
  EXPECT_EQ(readTestFile(root_ + "err"), "The database '" + root_ + "none.xml' cannot be opened.\n");
}

}  // namespace
