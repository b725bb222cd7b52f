// Handing the shown code file, the help file and the code path to the desktop: the
// user's editor, the default-application openers and the clipboard.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "core/app/entry_view.h"
#include "gui/info_menu.h"
#include "gui_fixture.h"
#include "info_test_util.h"

namespace {

// The library is reached through a folder name with a blank, and "Lib-path" differs
// from the database folder, so each command shows which path it hands over.
class ExternalProgramsTest : public ViewerTest {
 protected:
  void SetUp() override {
    ViewerTest::SetUp();
    const char* path = std::getenv("PATH");
    savedPath = path ? path : "";
    bin = folder + "bin/";
    mkdir(bin.c_str(), 0755);
    library = folder + "lib with blank/";
    ASSERT_EQ(symlink(sampleLibrary().c_str(), (folder + "lib with blank").c_str()), 0);
    // Only the test's own stand-ins can be started.
    setenv("PATH", bin.c_str(), 1);
  }
  void TearDown() override {
    setenv("PATH", savedPath.c_str(), 1);
    ViewerTest::TearDown();
  }
  bool startOn(const std::string& libPath, const std::string& extraLines = "") {
    writeSettings("db-path=" + sampleLibrary() + "VL-LinuxAPI-Toc.xml\nLib-path=" + libPath + "\nabout=1\n" +
                  extraLines);
    return start();
  }
  bool ran(const std::string& program) { return access((bin + program + ".log").c_str(), F_OK) == 0; }

  std::string savedPath;
  std::string bin;
  std::string library;
};

const char kShownFile[] = "/Windows/WindowOpen.vl";

TEST_F(ExternalProgramsTest, EditorGetsTheFullPathAsOneArgument) {
  std::string editor = bin + "my editor";
  writeRecorder(editor);
  writeRecorder(bin + "xdg-open");
  ASSERT_TRUE(startOn(library, "CodeEditorPath=" + editor + "\n"));
  ASSERT_TRUE(showEntryWithFile(kShownFile));
  post(kEventMenu, kWinMain, kMenuOpenCode);
  EXPECT_EQ(waitForLog(editor), (std::vector<std::string>{"1", library + "Windows/WindowOpen.vl"}));
  EXPECT_FALSE(ran("xdg-open"));
}

TEST_F(ExternalProgramsTest, WithoutEditorTheDefaultOpenerGetsTheFile) {
  writeRecorder(bin + "xdg-open");
  writeRecorder(bin + "gnome-open");
  ASSERT_TRUE(startOn(library));
  ASSERT_TRUE(showEntryWithFile(kShownFile));
  post(kEventMenu, kWinMain, kMenuOpenCode);
  EXPECT_EQ(waitForLog(bin + "xdg-open"), (std::vector<std::string>{"1", library + "Windows/WindowOpen.vl"}));
  EXPECT_FALSE(ran("gnome-open"));
  // A desktop without xdg-open: gnome-open takes over.
  unlink((bin + "xdg-open").c_str());
  post(kEventMenu, kWinMain, kMenuOpenCode);
  EXPECT_EQ(waitForLog(bin + "gnome-open"), (std::vector<std::string>{"1", library + "Windows/WindowOpen.vl"}));
}

TEST_F(ExternalProgramsTest, NothingStartsForAnUnusableEditorOrAMissingFile) {
  std::string editor = bin + "editor";
  writeRecorder(editor);
  chmod(editor.c_str(), 0644);
  writeRecorder(bin + "xdg-open");
  ASSERT_TRUE(startOn(library, "CodeEditorPath=" + editor + "\n"));
  ASSERT_TRUE(showEntryWithFile(kShownFile));
  // An editor that is set but cannot run: not even the default application.
  EXPECT_EQ(openShownCodeFile(viewer()), 0);
  // Without any opener on PATH nothing can start either.
  app().settings.codeEditorPath.clear();
  unlink((bin + "xdg-open").c_str());
  EXPECT_EQ(openShownCodeFile(viewer()), 0);
  // A shown entry whose file is missing is not handed to an opener.
  writeRecorder(bin + "xdg-open");
  EXPECT_NE(openShownCodeFile(viewer()), 0);
  app().currentCodePath = "/Windows/NoSuchFile.vl";
  EXPECT_EQ(openShownCodeFile(viewer()), 0);
}

TEST_F(ExternalProgramsTest, CodePathMenuCopiesTheLoadedFilesPath) {
  ASSERT_TRUE(startOn(library));
  // No code file shown yet: the library folder alone.
  post(kEventMenu, kWinMain, kMenuCopyCodePath);
  EXPECT_EQ(clipboardText(), library);
  ASSERT_TRUE(showEntryWithFile(kShownFile));
  post(kEventMenu, kWinMain, kMenuCopyCodePath);
  EXPECT_EQ(clipboardText(), library + "Windows/WindowOpen.vl");
  EXPECT_EQ(shownCodeFullPath(app()), library + "Windows/WindowOpen.vl");
}

TEST_F(ExternalProgramsTest, HelpFileGoesToXdgOpenAsOneArgument) {
  writeRecorder(bin + "xdg-open");
  ASSERT_TRUE(startOn(library));
  ASSERT_NE(app().index.helpEntryIndex, 0);
  post(kEventMenu, kWinMain, kMenuEditHelp);
  EXPECT_EQ(waitForLog(bin + "xdg-open"), (std::vector<std::string>{"1", library + "ViewerHelp.txt"}));
  EXPECT_TRUE(messages.empty());
}

TEST_F(ExternalProgramsTest, DatabaseWithoutHelpEntryAnswersSorry) {
  writeRecorder(bin + "xdg-open");
  std::ofstream(folder + "nohelp.xml")
      << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<library name=\"Test\">Test Library 2026-01-01 - plain\n"
         "  <theme name=\"Basics\">Basics\n"
         "    <topic File=\"/Basics/HelloGtk.vl\" theme_de=\"a\" theme_en=\"a\" theme_fr=\"a\""
         " descript_de=\"d\" descript_en=\"d\" descript_fr=\"d\"/>\n"
         "  </theme>\n"
         "</library>\n";
  writeSettings("db-path=" + folder + "nohelp.xml\nLib-path=" + library + "\nabout=1\n");
  ASSERT_TRUE(start());
  ASSERT_EQ(app().index.helpEntryIndex, 0);
  post(kEventMenu, kWinMain, kMenuEditHelp);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].first, "Sorry");
  EXPECT_EQ(messages[0].second, "seems the helpfile can't be found.");
  EXPECT_EQ(openHelpFile(viewer()), 0);
}

}  // namespace
