// The match list under the search field and the search through the code (mode 3)
// in the running viewer.
#include <stdlib.h>
#include <unistd.h>

#include <fstream>

#include <gdk/gdkkeysyms.h>

#include "gui/index_view.h"
#include "gui/match_list.h"
#include "gui_fixture.h"

namespace {

// Rows: 0 root, 1 theme, 2 "Fenster öffnen", 3 "Symbol setzen", 4 "Fenster schließen".
const char kDatabase[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<library name=\"Testbibliothek\">Test Library 2026 1.5 - demo\n"
    " <theme name=\"Fenster\">Windows\n"
    "  <topic File=\"/w/open.vl\" theme_de=\"Fenster \xC3\xB6"
    "ffnen\" theme_en=\"Open window\" theme_fr=\"Ouvrir\" descript_de=\"d\" descript_en=\"e\" descript_fr=\"f\"/>\n"
    "  <topic File=\"/w/icon.vl\" theme_de=\"Symbol setzen\" theme_en=\"Set icon\" theme_fr=\"Symbole\""
    " descript_de=\"d\" descript_en=\"e\" descript_fr=\"f\"/>\n"
    "  <topic File=\"/w/close.vl\" theme_de=\"Fenster schlie\xC3\x9F"
    "en\" theme_en=\"Close window\" theme_fr=\"Fermer\" descript_de=\"d\" descript_en=\"e\" descript_fr=\"f\"/>\n"
    " </theme>\n"
    "</library>\n";

class MatchListTest : public ViewerTest {
 protected:
  bool startOnLibrary(const std::string& mode) {
    std::ofstream(folder + "test.xml") << kDatabase;
    if (system(("mkdir -p '" + folder + "w'").c_str()) != 0) return false;
    std::ofstream(folder + "w/open.vl") << "w = OpenWindow_(0)\ngtk_widget_show_all_(w)\n";
    std::ofstream(folder + "w/icon.vl") << "w = OpenWindow_(0)\n  Gtk_Window_Set_Icon_(w, pixbuf)\n";
    std::ofstream(folder + "w/close.vl") << "CloseWindow_(w)\n; IDE Options = x\n; gtk_window_set_icon_\n";
    writeSettings("db-path=" + folder + "test.xml\nLib-path=" + folder + "\nabout=1\nSearchHint=2\nSearchMode=" + mode +
                  "\n");
    return start();
  }
  // The code is read in the background; the main loop takes it over.
  bool waitForCode() {
    for (int i = 0; i < 500 && !viewer().matches.progress.finished; ++i, usleep(10000)) drain();
    return viewer().matches.progress.finished;
  }
  void type(const std::string& s) {
    GtkEditable* field = GTK_EDITABLE(gadget(Main_Find));
    gtk_editable_delete_text(field, 0, -1);
    gtk_entry_set_text(GTK_ENTRY(field), s.c_str());
    gtk_editable_set_position(field, -1);
    drain();
  }
  void pressInField(guint key) {
    GdkEvent* event = gdk_event_new(GDK_KEY_PRESS);
    event->key.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(gadget(Main_Find))));
    event->key.keyval = key;
    gtk_widget_event(gadget(Main_Find), event);
    gdk_event_free(event);
    drain();
  }
  bool listShown() { return matchListShown(viewer().matches); }
  bool focusInField() { return gtk_window_get_focus(GTK_WINDOW(topWindow(kWinMain))) == gadget(Main_Find); }
  int row() { return selectedRow(viewer().index); }
};

}  // namespace

TEST_F(MatchListTest, ApiNameInOneExamplesCodeSelectsIt) {
  ASSERT_TRUE(startOnLibrary("3"));
  ASSERT_TRUE(waitForCode());
  // While the code is read, a name it holds is neither cut nor lost: it is found
  // when the reading ends.
  viewer().app.codeTexts = CodeBuffer{};
  viewer().matches.progress.finished = false;
  type("gtk_window_set_icon_(w");
  EXPECT_EQ(text(Main_Find), "gtk_window_set_icon_(w");
  EXPECT_NE(row(), 3);
  syncCodeReading(viewer(), true);
  ASSERT_TRUE(waitForCode());
  EXPECT_EQ(text(Main_Find), "gtk_window_set_icon_(w");
  EXPECT_EQ(row(), 3);
  EXPECT_EQ(title(), "Linux VL-ZEZ-Ovidozo-Vivara ~ /w/icon.vl");
  ASSERT_TRUE(listShown());
  EXPECT_EQ(matchListHeaderText(viewer().matches), "1 Treffer");
  EXPECT_EQ(matchListRowTexts(viewer().matches),
            (std::vector<std::string>{"Symbol setzen  Fenster\nGtk_Window_Set_Icon_(w, pixbuf)"}));
}

TEST_F(MatchListTest, DownReturnAndEscapeInTheList) {
  ASSERT_TRUE(startOnLibrary("1"));
  type("fenster");
  EXPECT_EQ(row(), 1);
  ASSERT_TRUE(listShown());
  EXPECT_EQ(matchListHeaderText(viewer().matches), "3 Treffer");
  pressInField(GDK_KEY_Down);
  pressInField(GDK_KEY_Down);
  pressInField(GDK_KEY_Down);
  EXPECT_TRUE(focusInField());
  post(kEventMenu, kWinMain, kKeyReturn);
  EXPECT_FALSE(listShown());
  EXPECT_EQ(row(), 4);
  EXPECT_EQ(title(), "Linux VL-ZEZ-Ovidozo-Vivara ~ /w/close.vl");
  EXPECT_EQ(app().historyList, (std::vector<int>{4}));
  // Without a row chosen, Return finds the next match as written.
  type("fenster");
  post(kEventMenu, kWinMain, kKeyReturn);
  EXPECT_EQ(row(), 2);
  // Escape closes the open list and leaves the focus in the field; then it ends.
  ASSERT_TRUE(listShown());
  post(kEventMenu, kWinMain, kKeyEscape);
  EXPECT_FALSE(listShown());
  EXPECT_TRUE(focusInField());
  EXPECT_EQ(app().quitRequested, 0);
  post(kEventMenu, kWinMain, kKeyEscape);
  EXPECT_EQ(app().quitRequested, 1);
}
