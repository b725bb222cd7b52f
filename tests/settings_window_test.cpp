// The settings window: its gadgets, the requesters, Cancel, Apply and Save.
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "core/database/index_builder.h"
#include "gui/code_view.h"
#include "gui/index_view.h"
#include "gui_fixture.h"

namespace {

// Rows: 0 root, 1 theme, 2 a new topic (marked), 3 a plain topic.
std::string database(const std::string& theme) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<library name=\"Bibliothek\">Test Library 2026 2.0 - demo\n"
         " <theme name=\"" +
         theme +
         "\">Theme text\n"
         "  <topic File=\"/a.vl\" theme_de=\"\xE2\x9C\xB0Neu\" theme_en=\"New\" theme_fr=\"Nouveau\""
         " descript_de=\"d\" descript_en=\"e\" descript_fr=\"f\"/>\n"
         "  <topic File=\"/b.vl\" theme_de=\"Alt\" theme_en=\"Old\" theme_fr=\"Vieux\""
         " descript_de=\"d\" descript_en=\"e\" descript_fr=\"f\"/>\n"
         " </theme>\n"
         "</library>\n";
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class SettingsWindowTest : public ViewerTest {
 protected:
  bool startHere(const std::string& extra = "") {
    std::ofstream(folder + "one.xml") << database("Erstes");
    std::ofstream(folder + "a.vl") << "; a\n";
    std::ofstream(folder + "b.vl") << "; b\n";
    writeSettings("db-path=" + folder + "one.xml\nLib-path=" + folder + "\nabout=1\n" + extra);
    return start();
  }
  void click(int no) { post(kEventGadget, kWinSettings, no, kTypeLeftClick); }
  void openWindow() { post(kEventGadget, kWinMain, Main_Setting, kTypeLeftClick); }
  bool visible(int window) { return gtk_widget_get_visible(topWindow(window)); }
  int combo(int no) { return gtk_combo_box_get_active(GTK_COMBO_BOX(gadget(no))); }
  void setCombo(int no, int state) { gtk_combo_box_set_active(GTK_COMBO_BOX(gadget(no)), state); }
  bool checked(int no) { return gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(gadget(no))); }
  void setChecked(int no, bool on) { gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(gadget(no)), on); }
  std::string settingsFile() { return readFile(folder + "LinuxVL API-RuvUduviv.ini"); }
  std::string tooltip(int no) {
    gchar* t = gtk_widget_get_tooltip_text(gadget(no));
    std::string s = t ? t : "";
    g_free(t);
    return s;
  }
  void expectPlace(int no, int x, int y, int w, int h) {
    GtkWidget* widget = gadget(no);
    if (no == Cnf_Fontname || no == Cnf_FontSize) widget = gtk_widget_get_parent(widget);  // the sunken frame
    int px = -1, py = -1, pw = -1, ph = -1;
    gtk_container_child_get(GTK_CONTAINER(viewer().settings.frame.fixed), widget, "x", &px, "y", &py, nullptr);
    gtk_widget_get_size_request(widget, &pw, &ph);
    EXPECT_EQ(px, x) << "gadget " << no;
    EXPECT_EQ(py, y) << "gadget " << no;
    EXPECT_EQ(pw, w) << "gadget " << no;
    EXPECT_EQ(ph, h) << "gadget " << no;
  }
};

}  // namespace

TEST_F(SettingsWindowTest, IsBuiltHiddenWithItsGadgetsAndStates) {
  ASSERT_TRUE(startHere("SearchMode=2\nSearchHint=1\nCodeMarks=1\nSourceInTitle=0\nDyeingNews=0\nSavePaths=0\n"));
  GtkWindow* window = GTK_WINDOW(topWindow(kWinSettings));
  EXPECT_FALSE(visible(kWinSettings));
  EXPECT_STREQ(gtk_window_get_title(window), "Linux VL-ZEZ-Ovidozo-Vivara - Settings");
  EXPECT_FALSE(gtk_window_get_resizable(window));
  EXPECT_EQ(gtk_window_get_transient_for(window), GTK_WINDOW(topWindow(kWinMain)));
  expectPlace(Cnf_DbShow, 20, 40, 475, 25);
  expectPlace(Cnf_Apply, 395, 115, 135, 36);
  expectPlace(Cnf_Fontname, 180, 224, 175, 22);
  expectPlace(Cnf_CodeMarking, 180, 340, 210, 30);
  expectPlace(Cnf_OkSave, 274, 440, 260, 36);
  expectPlace(Cnf_Frame2, 5, 170, 530, 262);
  EXPECT_EQ(combo(Cnf_SearchMode), 2);
  EXPECT_EQ(combo(Cnf_SearchFailHint), 1);
  EXPECT_EQ(combo(Cnf_CodeMarking), 1);
  EXPECT_EQ(combo(Cnf_FileNameLen), 0);
  EXPECT_EQ(combo(Cnf_Language), 0);
  EXPECT_FALSE(checked(Cnf_DyeNews));
  EXPECT_FALSE(checked(Cnf_Paths2Pref));
  EXPECT_FALSE(checked(Cnf_WinData2Pref));
  EXPECT_EQ(std::string(gtk_button_get_label(GTK_BUTTON(gadget(Cnf_OkSave)))), "gtk-save");
  EXPECT_TRUE(gtk_button_get_use_stock(GTK_BUTTON(gadget(Cnf_Cancel))));
  EXPECT_EQ(text(Cnf_LabelLib), "Library-Pfad (Hauptordner über ButtonGadget, CalenderGadget,...):");
  EXPECT_EQ(tooltip(Cnf_LibChoose),
            "Dateiauswahl für das Library-Hauptverzeichnis, falls nicht identisch mit Viewer-Verzeichnis.");
  EXPECT_FALSE(gtk_button_get_focus_on_click(GTK_BUTTON(gadget(Cnf_WinData2Pref))));
  EXPECT_FALSE(gtk_combo_box_get_focus_on_click(GTK_COMBO_BOX(gadget(Cnf_Language))));
  EXPECT_EQ(gtk_window_get_focus(window), gadget(Cnf_Cancel));
  // The language box shows a flag before each name.
  GtkTreeModel* model = gtk_combo_box_get_model(GTK_COMBO_BOX(gadget(Cnf_Language)));
  GtkTreeIter iter;
  ASSERT_TRUE(gtk_tree_model_iter_nth_child(model, &iter, nullptr, 2));
  GdkPixbuf* flag = nullptr;
  gchar* name = nullptr;
  gtk_tree_model_get(model, &iter, 0, &flag, 1, &name, -1);
  EXPECT_TRUE(flag != nullptr);
  EXPECT_STREQ(name, "French");
  if (flag) g_object_unref(flag);
  g_free(name);
  // Frame titles are bold.
  GtkWidget* title = gtk_frame_get_label_widget(GTK_FRAME(gadget(Cnf_Frame1)));
  EXPECT_EQ(pango_font_description_get_weight(gtk_widget_get_style(title)->font_desc), PANGO_WEIGHT_BOLD);
}

TEST_F(SettingsWindowTest, ShowFillsThePathAndFontFields) {
  ASSERT_TRUE(startHere("FontName=Serif\nFontSize=12\n"));
  openWindow();
  EXPECT_TRUE(visible(kWinSettings));
  EXPECT_EQ(text(Cnf_DbShow), folder + "one.xml");
  EXPECT_EQ(text(Cnf_LibShow), folder);
  EXPECT_EQ(text(Cnf_Fontname), "Serif");
  EXPECT_EQ(text(Cnf_FontSize), "12");
}

TEST_F(SettingsWindowTest, EscapeCloseAndCancelHideOnlyTheSettingsWindow) {
  ASSERT_TRUE(startHere());
  for (int way = 0; way < 3; ++way) {
    openWindow();
    ASSERT_TRUE(visible(kWinSettings));
    if (way == 0) post(kEventMenu, kWinSettings, kKeyEscape);
    if (way == 1) post(kEventCloseWindow, kWinSettings, 0);
    if (way == 2) click(Cnf_Cancel);
    EXPECT_FALSE(visible(kWinSettings)) << "way " << way;
    EXPECT_TRUE(visible(kWinMain));
    EXPECT_EQ(app().quitRequested, 0);
  }
}

TEST_F(SettingsWindowTest, CancelKeepsChangedBoxesForTheNextSave) {
  ASSERT_TRUE(startHere());
  openWindow();
  setCombo(Cnf_SearchMode, 1);
  click(Cnf_Cancel);
  EXPECT_EQ(app().settings.searchMode, 0);
  openWindow();
  EXPECT_EQ(combo(Cnf_SearchMode), 1);
  click(Cnf_OkSave);
  EXPECT_FALSE(visible(kWinSettings));
  EXPECT_EQ(app().settings.searchMode, 1);
  EXPECT_NE(settingsFile().find("SearchMode=1\n"), std::string::npos) << settingsFile();
}

TEST_F(SettingsWindowTest, RequestersFillTheirFields) {
  ASSERT_TRUE(startHere());
  openWindow();
  fileAnswer = "/elsewhere/other.xml";
  click(Cnf_DbChoose);
  ASSERT_EQ(fileRequests.size(), 1u);
  EXPECT_EQ(fileRequests[0], "Choose database 'one.xml' ...");
  EXPECT_EQ(text(Cnf_DbShow), "/elsewhere/other.xml");
  fileAnswer = "";
  click(Cnf_DbChoose);
  EXPECT_EQ(text(Cnf_DbShow), "/elsewhere/other.xml");

  folderAnswer = "/lib/main/";
  click(Cnf_LibChoose);
  EXPECT_EQ(text(Cnf_LibShow), "/lib/main/");
  // A cancelled folder requester leaves the field as it was.
  folderAnswer = "";
  click(Cnf_LibChoose);
  EXPECT_EQ(text(Cnf_LibShow), "/lib/main/");
  folderAnswer = folder;
  click(Cnf_LibChoose);
  EXPECT_EQ(text(Cnf_LibShow), "");

  fontAnswer = "DejaVu Sans Mono Bold 14";
  click(Cnf_FontChoose);
  EXPECT_EQ(text(Cnf_Fontname), "DejaVu Sans Mono");
  EXPECT_EQ(text(Cnf_FontSize), "14");
  fontAnswer = "";
  click(Cnf_FontChoose);
  EXPECT_EQ(text(Cnf_FontSize), "14");
  // Nothing is taken before Save.
  EXPECT_EQ(app().settings.fontSize, 10);
  click(Cnf_OkSave);
  EXPECT_EQ(app().settings.fontName, "DejaVu Sans Mono");
  EXPECT_EQ(app().settings.fontSize, 14);
  EXPECT_EQ(app().settings.dbPath, "/elsewhere/");
  EXPECT_EQ(app().settings.databaseFileName, "one.xml");  // Save keeps the file name
  EXPECT_EQ(app().settings.libPath, "");
}

TEST_F(SettingsWindowTest, SaveWithOnlyDyeingNewsChangedRebuildsTheTree) {
  ASSERT_TRUE(startHere());
  ASSERT_EQ(app().index.rowCount(), 4u);
  EXPECT_EQ(app().index.row(2).foreground, kNewTopicColor);
  selectRow(viewer().index, 3);
  std::string label = text(Cnf_LabelSearch);
  openWindow();
  setChecked(Cnf_DyeNews, false);
  click(Cnf_OkSave);
  EXPECT_EQ(app().settings.dyeingNews, 0);
  EXPECT_EQ(app().index.row(2).foreground, kNoColor);
  EXPECT_EQ(app().index.row(2).text, "Neu");
  EXPECT_EQ(selectedRow(viewer().index), 3);
  EXPECT_TRUE(gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(gadget(Main_NodeToggle))));
  EXPECT_EQ(text(Cnf_LabelSearch), label);
  EXPECT_NE(settingsFile().find("DyeingNews=0\n"), std::string::npos);
  EXPECT_TRUE(messages.empty());
}

TEST_F(SettingsWindowTest, SaveTakesTitleContentAndMarking) {
  ASSERT_TRUE(startHere());
  selectRow(viewer().index, 3);
  post(kEventGadget, kWinMain, IndexTree, kTypeLeftClick);
  ASSERT_EQ(title(), "Linux VL-ZEZ-Ovidozo-Vivara ~ /b.vl");
  openWindow();
  setCombo(Cnf_FileNameLen, 0);
  setCombo(Cnf_CodeMarking, 2);
  setChecked(Cnf_WinData2Pref, true);
  click(Cnf_OkSave);
  EXPECT_EQ(title(), "Linux VL-ZEZ-Ovidozo-Vivara ~ b.vl");
  EXPECT_EQ(app().settings.codeMarks, 2);
  EXPECT_EQ(text(CodeView), "; b");
  std::string file = settingsFile();
  EXPECT_NE(file.find("SourceInTitle=0\n"), std::string::npos);
  EXPECT_NE(file.find("CodeMarks=2\n"), std::string::npos);
  EXPECT_NE(file.find("WinWidth="), std::string::npos);
}

TEST_F(SettingsWindowTest, SaveKeepsADroppedFileUnderItsTitle) {
  ASSERT_TRUE(startHere());
  selectRow(viewer().index, 3);
  post(kEventGadget, kWinMain, IndexTree, kTypeLeftClick);
  std::ofstream(folder + "x.vlf") << "Debug 1\n";
  receiveDroppedFiles(viewer().code, folder + "x.vlf");
  drain();
  openWindow();
  setCombo(Cnf_CodeMarking, (app().settings.codeMarks + 1) % 3);
  setCombo(Cnf_FileNameLen, (app().settings.sourceInTitle + 1) % 3);
  click(Cnf_OkSave);
  EXPECT_EQ(text(CodeView), "Debug 1");
  EXPECT_EQ(title(), "Linux VL-ZEZ-Ovidozo-Vivara ~ x.vlf");
  // The entry shown before the drop comes back when it is chosen again.
  selectRow(viewer().index, 3);
  post(kEventGadget, kWinMain, IndexTree, kTypeChange);
  EXPECT_EQ(text(CodeView), "; b");
}

TEST_F(SettingsWindowTest, SaveLoadsTheNewFontAtItsSizeAndTheZoomCountsFromIt) {
  ASSERT_TRUE(startHere());
  GdkEventScroll scroll = {};
  scroll.type = GDK_SCROLL;
  scroll.state = GDK_CONTROL_MASK;
  scroll.direction = GDK_SCROLL_UP;
  gboolean handled = FALSE;
  g_signal_emit_by_name(gadget(CodeView), "scroll-event", &scroll, &handled);
  ASSERT_EQ(app().zoomStep, 4);
  auto codeFontSize = [this] {
    PangoContext* context = gtk_widget_get_pango_context(gadget(CodeView));
    return pango_font_description_get_size(pango_context_get_font_description(context)) / double(PANGO_SCALE);
  };
  openWindow();
  gtk_label_set_text(GTK_LABEL(gadget(Cnf_FontSize)), "12");
  click(Cnf_OkSave);
  EXPECT_DOUBLE_EQ(codeFontSize(), 12);
  g_signal_emit_by_name(gadget(CodeView), "scroll-event", &scroll, &handled);
  EXPECT_NEAR(codeFontSize(), 12 * 1.3, 0.05);
}

TEST_F(SettingsWindowTest, ApplyLoadsTheChosenDatabase) {
  ASSERT_TRUE(startHere());
  std::ofstream(folder + "two.xml") << database("Zweites");
  selectRow(viewer().index, 3);
  post(kEventGadget, kWinMain, IndexTree, kTypeLeftClick);
  ASSERT_EQ(text(CodeView), "; b");
  openWindow();
  fileAnswer = folder + "two.xml";
  click(Cnf_DbChoose);
  click(Cnf_Apply);
  EXPECT_TRUE(visible(kWinSettings));
  EXPECT_EQ(app().index.row(1).text, "Zweites");
  EXPECT_EQ(app().settings.databaseFilePath, folder + "two.xml");
  EXPECT_EQ(selectedRow(viewer().index), 0);
  EXPECT_EQ(title(), "Linux VL-ZEZ-Ovidozo-Vivara");
  EXPECT_EQ(text(CodeView), "");
  EXPECT_TRUE(app().historyList.empty());
  EXPECT_FALSE(gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(gadget(Main_NodeToggle))));
  EXPECT_TRUE(messages.empty());
  // The entry shown before the reload names the same file; it must load again.
  selectRow(viewer().index, 3);
  post(kEventGadget, kWinMain, IndexTree, kTypeLeftClick);
  EXPECT_EQ(text(CodeView), "; b");
  // Nothing is written by Apply.
  EXPECT_EQ(settingsFile().find("two.xml"), std::string::npos);
}

TEST_F(SettingsWindowTest, ApplyReportsBrokenDatabasesAndKeepsRunning) {
  ASSERT_TRUE(startHere());
  std::ofstream(folder + "bad.xml")
      << "<?xml version=\"1.0\"?>\n<library name=\"Kaputt\">x\n <theme name=\"T\">\n</library>\n";
  openWindow();
  fileAnswer = folder + "bad.xml";
  click(Cnf_DbChoose);
  click(Cnf_Apply);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].first, "Linux VL-ZEZ-Ovidozo-VivaraError");
  EXPECT_EQ(messages[0].second.rfind("Error in the XML file:\rMessage: mismatched tag\rLine: 4", 0), 0u)
      << messages[0].second;
  // The part read before the error is shown.
  ASSERT_EQ(app().index.rowCount(), 2u);
  EXPECT_EQ(app().index.row(0).text, "Kaputt");
  EXPECT_EQ(app().quitRequested, 0);

  messages.clear();
  fileAnswer = folder + "missing.xml";
  click(Cnf_DbChoose);
  click(Cnf_Apply);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].first, "Linux VL-ZEZ-Ovidozo-Vivara-Error");
  EXPECT_EQ(messages[0].second, "The database '" + folder + "missing.xml' cannot be opened.");
  // The document held before stays.
  EXPECT_EQ(app().index.row(0).text, "Kaputt");
  EXPECT_EQ(app().settings.databaseFilePath, folder + "missing.xml");
  EXPECT_EQ(app().quitRequested, 0);
}

TEST_F(SettingsWindowTest, PathsAreKeptOutOfTheFileWhenSavePathsIsOff) {
  ASSERT_TRUE(startHere("SavePaths=0\n"));
  openWindow();
  folderAnswer = "/var/elsewhere/";
  click(Cnf_LibChoose);
  click(Cnf_OkSave);
  EXPECT_EQ(app().settings.libPath, "/var/elsewhere/");
  std::string file = settingsFile();
  EXPECT_NE(file.find("Lib-path=" + folder + "\n"), std::string::npos) << file;
  EXPECT_EQ(file.find("/var/elsewhere/"), std::string::npos);
}

// Numbers outside their ranges are held to them when read, before any gadget sees
// them; the fixture counts the toolkit's complaints.
TEST_F(SettingsWindowTest, OutOfRangeValuesAreHeldToTheirRanges) {
  ASSERT_TRUE(
      startHere("WinWidth=0\nWinHight=-7\nSplitter=-50\nWinX=-99999\nSearchHint=-5\nSearchMode=99\nCodeMarks=-1\n"
                "SourceInTitle=7\nLanguage=-4\nDyeingNews=5\nFontSize=-2147483648\n"));
  openWindow();
  EXPECT_EQ(combo(Cnf_SearchFailHint), 0);
  EXPECT_EQ(combo(Cnf_SearchMode), 3);
  EXPECT_EQ(combo(Cnf_FileNameLen), 2);
  EXPECT_EQ(text(Cnf_FontSize), "6");
}
