// The database information window: its fields, the file fields the code view
// writes, hiding, and its two clickable icons.
#include <sys/stat.h>

#include <gdk/gdkkeysyms.h>

#include <cstdlib>

#include "core/database/index_builder.h"
#include "gui/database_info_window.h"
#include "gui_fixture.h"
#include "info_test_util.h"

namespace {

class InfoWindowTest : public ViewerTest {
 protected:
  void SetUp() override {
    ViewerTest::SetUp();
    const char* path = std::getenv("PATH");
    savedPath = path ? path : "";
    mkdir((folder + "bin").c_str(), 0755);
  }
  void TearDown() override {
    setenv("PATH", savedPath.c_str(), 1);
    ViewerTest::TearDown();
  }
  // Only the test's own stand-ins can be started.
  void usePrivatePath() { setenv("PATH", (folder + "bin").c_str(), 1); }

  bool visible(int window) { return gtk_widget_get_visible(topWindow(window)); }

  // A release of the left button at x, y inside the icon's box, as GTK delivers it.
  void clickIcon(int gadgetNo, double x, double y) {
    GdkEvent* event = gdk_event_new(GDK_BUTTON_RELEASE);
    event->button.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(gadget(gadgetNo))));
    event->button.button = 1;
    event->button.x = x;
    event->button.y = y;
    gtk_widget_event(gadget(gadgetNo), event);
    gdk_event_free(event);
    drain();
  }

  std::string savedPath;
};

TEST_F(InfoWindowTest, MenuFillsAndShowsTheDatabaseFields) {
  writeSampleSettings();
  ASSERT_TRUE(start());
  GtkWindow* window = GTK_WINDOW(topWindow(kWinDbInfo));
  EXPECT_FALSE(visible(kWinDbInfo));
  // Until the menu fills them the upper fields are empty.
  EXPECT_EQ(text(DbA_Db), "");
  post(kEventMenu, kWinMain, kMenuAboutDb);
  EXPECT_TRUE(visible(kWinDbInfo));
  EXPECT_STREQ(gtk_window_get_title(window), "About: current Database & File");
  EXPECT_FALSE(gtk_window_get_resizable(window));
  EXPECT_EQ(gtk_window_get_type_hint(window), GDK_WINDOW_TYPE_HINT_UTILITY);
  EXPECT_EQ(text(DbA_Db), sampleLibrary() + "VL-LinuxAPI-Toc.xml");
  const IndexModel& index = app().index;
  EXPECT_EQ(text(DbA_Cont), std::string(index.row(0).text) + " - " + std::string(index.topic(0).text));
  EXPECT_NE(text(DbA_Cont).find("Veldra Linux API 2026-11-20"), std::string::npos);
  EXPECT_EQ(text(DbA_Lib), sampleLibrary());
  EXPECT_EQ(text(DbA_Top), std::to_string(app().counts.themeCount));
  EXPECT_EQ(text(DbA_Ent), std::to_string(app().counts.entryCount));
  EXPECT_EQ(gtk_entry_get_alignment(GTK_ENTRY(gadget(DbA_Top))), 1.0f);
  EXPECT_EQ(gtk_entry_get_alignment(GTK_ENTRY(gadget(DbA_Ent))), 1.0f);
  for (int no : {DbA_Db, DbA_Cont, DbA_Lib, DbA_Top, DbA_Ent, DbA_File, DbA_SrcForm, DbA_ExeForm})
    EXPECT_FALSE(gtk_editable_get_editable(GTK_EDITABLE(gadget(no)))) << "gadget " << no;
  EXPECT_EQ(text(DbA_LabelFile), "Datei (+ Unterordner):");
  EXPECT_STREQ(gtk_frame_get_label(GTK_FRAME(gadget(DbA_Frame2))), "Gew\xC3\xA4hlte Datei ...");
}

TEST_F(InfoWindowTest, ContentLineOfAnEmptyRoot) {
  IndexModel index;
  EXPECT_EQ(databaseContentLine(index), " - ");
  appendTopic(&index, 0, "", TopicNode{});
  EXPECT_EQ(databaseContentLine(index), " - ");
  TopicNode root;
  root.text = "Title 2026-01-01";
  IndexModel named;
  appendTopic(&named, 0, "Lib", root);
  EXPECT_EQ(databaseContentLine(named), "Lib - Title 2026-01-01");
}

TEST_F(InfoWindowTest, FileFieldsFollowTheShownEntry) {
  writeSampleSettings();
  ASSERT_TRUE(start());
  // The root row has no code file.
  EXPECT_EQ(text(DbA_File), "");
  EXPECT_EQ(text(DbA_SrcForm), "");
  // Byte-order mark and "; EnableUnicode" in the footer.
  ASSERT_TRUE(showEntryWithFile("/Windows/WindowOpen.vl"));
  EXPECT_EQ(text(DbA_File), "/Windows/WindowOpen.vl");
  EXPECT_EQ(text(DbA_SrcForm), "UTF8");
  EXPECT_EQ(text(DbA_ExeForm), "Unicode");
  // Neither mark nor footer line.
  ASSERT_TRUE(showEntryWithFile("/Buttons/ButtonImage.vl"));
  EXPECT_EQ(text(DbA_File), "/Buttons/ButtonImage.vl");
  EXPECT_EQ(text(DbA_SrcForm), "Ascii");
  EXPECT_EQ(text(DbA_ExeForm), "Ascii");
  // A theme row without a file empties all three.
  selectRow(viewer().index, 0);
  post(kEventGadget, kWinMain, IndexTree, kTypeChange);
  EXPECT_EQ(text(DbA_File), "");
  EXPECT_EQ(text(DbA_SrcForm), "");
  EXPECT_EQ(text(DbA_ExeForm), "");
}

TEST_F(InfoWindowTest, MissingFileShowsItsPathAndAscii) {
  mkdir((folder + "empty").c_str(), 0755);
  writeSettings("db-path=" + sampleLibrary() + "VL-LinuxAPI-Toc.xml\nLib-path=" + folder + "empty/\nabout=1\n");
  ASSERT_TRUE(start());
  ASSERT_TRUE(showEntryWithFile("/Windows/WindowOpen.vl"));
  EXPECT_EQ(messages.size(), 1u);
  EXPECT_EQ(text(DbA_File), "/Windows/WindowOpen.vl");
  EXPECT_EQ(text(DbA_SrcForm), "Ascii");
  EXPECT_EQ(text(DbA_ExeForm), "Ascii");
}

TEST_F(InfoWindowTest, EscapeAndCloseHideAndKeepTheContents) {
  writeSampleSettings();
  ASSERT_TRUE(start());
  post(kEventMenu, kWinMain, kMenuAboutDb);
  ASSERT_TRUE(visible(kWinDbInfo));
  std::string database = text(DbA_Db);
  post(kEventMenu, kWinDbInfo, kKeyEscape);
  EXPECT_FALSE(visible(kWinDbInfo));
  EXPECT_EQ(app().quitRequested, 0);
  EXPECT_EQ(text(DbA_Db), database);
  post(kEventMenu, kWinMain, kMenuAboutDb);
  EXPECT_TRUE(visible(kWinDbInfo));
  post(kEventCloseWindow, kWinDbInfo, 0);
  EXPECT_FALSE(visible(kWinDbInfo));
  EXPECT_EQ(app().quitRequested, 0);
}

TEST_F(InfoWindowTest, CopyIconCopiesTheLibraryPathOnlyWhenAFileIsShown) {
  // A library path that differs from the database folder shows which one is used.
  std::string library = folder + "lib with blank";
  ASSERT_EQ(symlink(sampleLibrary().c_str(), library.c_str()), 0);
  writeSettings("db-path=" + sampleLibrary() + "VL-LinuxAPI-Toc.xml\nLib-path=" + library + "/\nabout=1\n");
  ASSERT_TRUE(start());
  setClipboardText("untouched");
  post(kEventGadget, kWinDbInfo, DbA_CopyFile, kTypeLeftClick);
  EXPECT_EQ(clipboardText(), "untouched");
  ASSERT_TRUE(showEntryWithFile("/Windows/WindowOpen.vl"));
  post(kEventGadget, kWinDbInfo, DbA_CopyFile, kTypeLeftClick);
  EXPECT_EQ(clipboardText(), library + "/Windows/WindowOpen.vl");
}

TEST_F(InfoWindowTest, IconReleaseInsidePostsItsEventOutsideNot) {
  writeSampleSettings();
  ASSERT_TRUE(start());
  ASSERT_TRUE(showEntryWithFile("/Windows/WindowOpen.vl"));
  post(kEventMenu, kWinMain, kMenuAboutDb);
  ASSERT_TRUE(GTK_IS_EVENT_BOX(gadget(DbA_CopyFile)));
  setClipboardText("untouched");
  clickIcon(DbA_CopyFile, 40, 8);  // released beside the icon
  EXPECT_EQ(clipboardText(), "untouched");
  clickIcon(DbA_CopyFile, 8, 8);
  EXPECT_EQ(clipboardText(), sampleLibrary() + "Windows/WindowOpen.vl");
  // Space presses it from the keyboard.
  setClipboardText("untouched");
  GdkEvent* key = gdk_event_new(GDK_KEY_PRESS);
  key->key.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(gadget(DbA_CopyFile))));
  key->key.keyval = GDK_KEY_space;
  gtk_widget_event(gadget(DbA_CopyFile), key);
  gdk_event_free(key);
  drain();
  EXPECT_EQ(clipboardText(), sampleLibrary() + "Windows/WindowOpen.vl");
  // The flash is over: the field has its default background again.
  GtkRcStyle* style = gtk_widget_get_modifier_style(gadget(DbA_File));
  EXPECT_EQ(style->color_flags[GTK_STATE_NORMAL] & GTK_RC_BASE, 0);
}

TEST_F(InfoWindowTest, LibraryIconOpensTheFolderWithoutTrailingSlashes) {
  writeRecorder(folder + "bin/xdg-open");
  usePrivatePath();
  // "Lib-path" is written with extra slashes at its end.
  writeSettings("db-path=" + sampleLibrary() + "VL-LinuxAPI-Toc.xml\nLib-path=" + sampleLibrary() + "//\nabout=1\n");
  ASSERT_TRUE(start());
  // Before the window was filled its library field is empty: the program folder opens.
  post(kEventGadget, kWinDbInfo, DbA_ToDb, kTypeLeftClick);
  std::string programFolder = folder.substr(0, folder.size() - 1);
  EXPECT_EQ(waitForLog(folder + "bin/xdg-open"), (std::vector<std::string>{"1", programFolder}));
  unlink((folder + "bin/xdg-open.log").c_str());
  post(kEventMenu, kWinMain, kMenuAboutDb);
  post(kEventGadget, kWinDbInfo, DbA_ToDb, kTypeLeftClick);
  std::string library = sampleLibrary().substr(0, sampleLibrary().size() - 1);
  EXPECT_EQ(waitForLog(folder + "bin/xdg-open"), (std::vector<std::string>{"1", library}));
}

}  // namespace
