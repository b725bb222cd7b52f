// The admin menu's exports write the same bytes as vlapi-tool for the same database.
#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "gui_fixture.h"
#include "info_test_util.h"

namespace {

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string runTool(const std::string& args) {
  std::string command = std::string(VL_TOOL_PATH) + " " + args + " 2>&1";
  std::string out;
  FILE* p = popen(command.c_str(), "r");
  if (!p) return out;
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, p)) > 0) out.append(buffer, n);
  pclose(p);
  return out;
}

using AdminMenuTest = ViewerTest;

TEST_F(AdminMenuTest, ExportsMatchTheCommandLineTool) {
  writeSampleSettings();
  ASSERT_TRUE(start());
  std::string gui = folder + "gui/";
  std::string cli = folder + "cli/";
  mkdir(gui.c_str(), 0755);
  mkdir(cli.c_str(), 0755);
  std::string templates = std::string(VL_SOURCE_DIR) + "/Templates/";
  app().exportFolder = gui;
  app().templatesFolder = templates;
  std::string common =
      " --db '" + sampleLibrary() + "VL-LinuxAPI-Toc.xml' --templates '" + templates + "' --export '" + cli + "'";

  struct Case {
    int menu;
    const char* command;
    const char* file;
    const char* message;
  } cases[] = {
      {kMenuExportWebPage, "export-html", "VL-LinuxAPI-Lib.html", "html-Export done to ...\n"},
      {kMenuPostingNews, "export-posting --news", "ForumPosting.txt", "text-Export done to ...\n"},
      {kMenuPostingAll, "export-posting", "ForumPosting.txt", "text-Export done to ...\n"},
      {kMenuFileList, "export-filelist", "FileList.txt", "text-Export done to ...\n"},
      {kMenuDuplicates, "duplicates", "Protocoll.txt", "Protokoll with double terms done to ...\n"},
  };
  for (const Case& c : cases) {
    messages.clear();
    post(kEventMenu, kWinMain, c.menu);
    ASSERT_EQ(messages.size(), 1u) << c.command;
    EXPECT_EQ(messages[0].first, "Linux VL-ZEZ-Ovidozo-Vivara");
    EXPECT_EQ(messages[0].second, c.message + gui + c.file);
    std::string printed = runTool(std::string(c.command) + common);
    EXPECT_EQ(printed, c.message + cli + c.file + "\n") << c.command;
    std::string mine = readFile(gui + c.file);
    EXPECT_FALSE(mine.empty()) << c.file;
    EXPECT_EQ(mine, readFile(cli + c.file)) << c.command;
  }
}

TEST_F(AdminMenuTest, MissingExportFolderGivesTheMessages) {
  writeSampleSettings();
  ASSERT_TRUE(start());
  app().exportFolder = folder + "nowhere/";
  post(kEventMenu, kWinMain, kMenuExportWebPage);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].second, "Couldn't create\n" + folder + "nowhere/VL-LinuxAPI-Lib.html");
  post(kEventMenu, kWinMain, kMenuPostingAll);
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[1].second, "Couldn't create\n" + folder + "nowhere/ForumPosting.txt");
  post(kEventMenu, kWinMain, kMenuDuplicates);
  ASSERT_EQ(messages.size(), 3u);
  EXPECT_EQ(messages[2].second, "Couldn't create Protokoll\n" + folder + "nowhere/Protocoll.txt");
}

// Only the admin build shows the admin button and the three source-format labels.
TEST_F(AdminMenuTest, AdminPartsFollowTheBuild) {
  writeSampleSettings();
  ASSERT_TRUE(start());
  ASSERT_TRUE(showEntryWithFile("/Windows/WindowOpen.vl"));
#ifdef VL_ADMIN_MODE
  EXPECT_TRUE(gtk_widget_get_visible(gadget(AdminButton)));
  ASSERT_NE(gadget(LabelSrc), nullptr);
  // Byte-order mark, "; EnableUnicode" and "; SubSystem = gtk2" in the footer.
  EXPECT_STREQ(gtk_label_get_text(GTK_LABEL(gadget(LabelSrc))), "Src: UTF8");
  EXPECT_STREQ(gtk_label_get_text(GTK_LABEL(gadget(LabelExe))), "Exe: UNI");
  EXPECT_STREQ(gtk_label_get_text(GTK_LABEL(gadget(LabelSub))), "Sub: gtk2");
  ASSERT_TRUE(showEntryWithFile("/Buttons/ButtonImage.vl"));
  EXPECT_STREQ(gtk_label_get_text(GTK_LABEL(gadget(LabelSrc))), "Src: Ascii");
  EXPECT_STREQ(gtk_label_get_text(GTK_LABEL(gadget(LabelExe))), "Exe: Ascii");
#else
  EXPECT_FALSE(gtk_widget_get_visible(gadget(AdminButton)));
  EXPECT_EQ(gadget(LabelSrc), nullptr);
  EXPECT_EQ(gadget(LabelExe), nullptr);
  EXPECT_EQ(gadget(LabelSub), nullptr);
#endif
}

}  // namespace
