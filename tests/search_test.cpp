// The index search in the running viewer: typing, find next, the scopes, the
// not-found hints, and real key presses into the search field.
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "gui/index_view.h"
#include "gui/search.h"
#include "gui/widgets.h"
#include "gui_fixture.h"

// After the test headers: the X11 headers define names such as None that they use.
#include <gdk/gdkkeysyms.h>
#include <gdk/gdkx.h>

namespace {

// Rows: 0 root, 1 own group, 2 help, 3 theme, 4 "Abendrot", 5 "GtkEntry", 6 "Neues abwarten".
const char kDatabase[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<library name=\"Testbibliothek\">Test Library 2026 1.5 - demo\n"
    " <theme name=\"ZEZ Ovidozo Vivara\">Own group\n"
    "  <topic File=\"/ViewerHelp.txt\" theme_de=\"Hilfe\" theme_en=\"Help\" theme_fr=\"Aide\""
    " descript_de=\"h\" descript_en=\"h\" descript_fr=\"h\"/>\n"
    " </theme>\n"
    " <theme name=\"Fenster\">Windows\n"
    "  <topic File=\"/w/abend.vl\" theme_de=\"Abendrot zeigen\" theme_en=\"Show sunset\""
    " theme_fr=\"Montrer coucher\" descript_de=\"Zwiebel nur deutsch\" descript_en=\"onion english only\""
    " descript_fr=\"oignon seulement\"/>\n"
    "  <topic File=\"/w/entry.vl\" theme_de=\"GtkEntry setzen\" theme_en=\"Set GtkEntry\""
    " theme_fr=\"Poser \xC3\xA9tiquette\" descript_de=\"Beschriftung\" descript_en=\"caption\" "
    "descript_fr=\"l\xC3\xA9gende\"/>\n"
    "  <topic File=\"/w/wait.vl\" theme_de=\"Neues abwarten\" theme_en=\"Wait for news\""
    " theme_fr=\"Attendre\" descript_de=\"Warten\" descript_en=\"waiting\" descript_fr=\"attente\"/>\n"
    " </theme>\n"
    "</library>\n";

class SearchTest : public ViewerTest {
 protected:
  bool startOnTestLibrary(const std::string& extra = "") {
    std::ofstream(folder + "test.xml") << kDatabase;
    if (system(("mkdir -p '" + folder + "w'").c_str()) != 0) return false;
    for (const char* f : {"ViewerHelp.txt", "w/abend.vl", "w/entry.vl", "w/wait.vl"})
      std::ofstream(folder + f) << "; code of " << f << "\n";
    writeSettings("db-path=" + folder + "test.xml\nLib-path=" + folder + "\nabout=1\n" + extra);
    return start();
  }
  // Inserts at the end of the field as typing does: the cursor ends behind the text.
  void typeAtEnd(const std::string& s) {
    GtkEditable* field = GTK_EDITABLE(gadget(Main_Find));
    gint pos = static_cast<gint>(g_utf8_strlen(gtk_entry_get_text(GTK_ENTRY(field)), -1));
    gtk_editable_insert_text(field, s.c_str(), static_cast<gint>(s.size()), &pos);
    gtk_editable_set_position(field, pos);
    drain();
  }
  void setTerm(const std::string& s) {
    gtk_entry_set_text(GTK_ENTRY(gadget(Main_Find)), "");
    typeAtEnd(s);
  }
  int row() { return selectedRow(viewer().index); }
  static std::string shownTitle(const std::string& codePath) { return "Linux VL-ZEZ-Ovidozo-Vivara ~ " + codePath; }
  // Find next from the root row: the field is not touched, whatever is found.
  int findBelowRoot(const std::string& term) {
    selectRow(viewer().index, 0);
    findInIndex(viewer(), term, true);
    drain();
    return row();
  }
};

}  // namespace

TEST_F(SearchTest, UnfindableLastCharacterIsTakenOutAgain) {
  ASSERT_TRUE(startOnTestLibrary("SearchHint=2\n"));
  typeAtEnd("a");
  typeAtEnd("b");
  EXPECT_EQ(row(), 4);
  EXPECT_EQ(title(), shownTitle("/w/abend.vl"));
  typeAtEnd("c");
  EXPECT_EQ(text(Main_Find), "ab");
  EXPECT_EQ(row(), 4);
  EXPECT_TRUE(messages.empty());
}

// The folded texts are made while the viewer waits after start-up, so the first
// keystroke does not fold them.
TEST_F(SearchTest, TextsAreFoldedBeforeTheFirstKeystroke) {
  ASSERT_TRUE(startOnTestLibrary("SearchMode=2\n"));
  drain();
  const AppState& a = app();
  EXPECT_TRUE(searchBufferCurrent(a.searchTexts, a.index, 2, a.settings.language));
}

TEST_F(SearchTest, TypingInsideTheTermDeletesNothing) {
  ASSERT_TRUE(startOnTestLibrary("SearchHint=2\n"));
  setTerm("gtk");
  EXPECT_EQ(row(), 5);
  GtkEditable* field = GTK_EDITABLE(gadget(Main_Find));
  gint pos = 1;
  gtk_editable_insert_text(field, "q", 1, &pos);
  gtk_editable_set_position(field, pos);
  drain();
  EXPECT_EQ(text(Main_Find), "gqtk");
  EXPECT_EQ(row(), 5);
}

TEST_F(SearchTest, FindNextContinuesBelowAndDoesNotWrap) {
  ASSERT_TRUE(startOnTestLibrary("SearchHint=2\n"));
  setTerm("AB");
  EXPECT_EQ(row(), 4);
  post(kEventMenu, kWinMain, kKeyF3);
  EXPECT_EQ(row(), 6);
  EXPECT_EQ(title(), shownTitle("/w/wait.vl"));
  post(kEventMenu, kWinMain, kKeyF3);
  EXPECT_EQ(row(), 6);
  post(kEventGadget, kWinMain, Main_FindNext, kTypeLeftClick);
  EXPECT_EQ(row(), 6);
  // Find next never shortens the term.
  EXPECT_EQ(text(Main_Find), "AB");
  // The button searches below the selection too: from the top row it finds row 4.
  selectRow(viewer().index, 0);
  post(kEventGadget, kWinMain, Main_FindNext, kTypeLeftClick);
  EXPECT_EQ(row(), 4);
}

// Return as the window gets it: elsewhere it belongs to the focused control.
TEST_F(SearchTest, ReturnFindsNextOnlyFromTheSearchField) {
  ASSERT_TRUE(startOnTestLibrary("SearchHint=2\n"));
  setTerm("ab");
  auto pressReturnIn = [this](int focus) {
    gtk_widget_grab_focus(gadget(focus));
    GdkEvent* event = gdk_event_new(GDK_KEY_PRESS);
    event->key.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(topWindow(kWinMain))));
    event->key.keyval = GDK_KEY_Return;
    GdkKeymapKey* keys = nullptr;
    gint n = 0;
    if (gdk_keymap_get_entries_for_keyval(nullptr, GDK_KEY_Return, &keys, &n) && n > 0)
      event->key.hardware_keycode = static_cast<guint16>(keys[0].keycode);
    g_free(keys);
    gtk_widget_event(topWindow(kWinMain), event);
    gdk_event_free(event);
    drain();
  };
  pressReturnIn(IndexTree);
  EXPECT_EQ(row(), 4);
  pressReturnIn(Main_Find);
  EXPECT_EQ(row(), 6);
  pressReturnIn(Main_Setting);  // a button pressed from the keyboard clicks a moment later
  for (int i = 0; i < 100 && !gtk_widget_get_visible(topWindow(kWinSettings)); ++i) {
    usleep(10000);
    drain();
  }
  EXPECT_TRUE(gtk_widget_get_visible(topWindow(kWinSettings)));
}

TEST_F(SearchTest, ModesDecideWhatIsSearched) {
  ASSERT_TRUE(startOnTestLibrary("SearchHint=2\n"));
  SettingsStore& s = app().settings;
  s.searchMode = 1;
  EXPECT_EQ(findBelowRoot("zwiebel"), 0) << "mode 1 must not search descriptions";
  EXPECT_EQ(findBelowRoot("setzen"), 5);
  s.searchMode = 0;
  EXPECT_EQ(findBelowRoot("zwiebel"), 4);
  // Mode 0 looks at the current language's description only.
  EXPECT_EQ(findBelowRoot("onion"), 0);
  EXPECT_EQ(findBelowRoot("coucher"), 0);
  EXPECT_EQ(findBelowRoot("abendrot zeigen;zwiebel"), 4);
  // Mode 2 finds the French title whatever the current language.
  s.searchMode = 2;
  EXPECT_EQ(findBelowRoot("coucher"), 4);
  EXPECT_EQ(findBelowRoot("onion"), 4);
  bool folds = tolower(0xC9) == 0xE9;  // "É" folds only where the locale's table says so
  EXPECT_EQ(findBelowRoot("\xC3\x89TIQUETTE"), folds ? 5 : 0);
  EXPECT_EQ(findBelowRoot("\xC3\xA9TIQUETTE"), 5);
}

TEST_F(SearchTest, PastedTermShrinksToItsLongestFindablePrefixInOneStep) {
  ASSERT_TRUE(startOnTestLibrary("SearchHint=2\n"));
  int changes = 0;
  g_signal_connect(gadget(Main_Find), "changed", G_CALLBACK(+[](GtkEditable*, gpointer n) { ++*static_cast<int*>(n); }),
                   &changes);
  setTerm("gtkexy");
  EXPECT_EQ(text(Main_Find), "gtke");
  EXPECT_EQ(row(), 5);
  // The paste and one deletion; the shortened term is found, so no more.
  EXPECT_EQ(changes, 2);
  setTerm("Neues " + std::string(3 << 20, 'q'));
  EXPECT_EQ(text(Main_Find), "Neues ");
  EXPECT_EQ(row(), 6);
  EXPECT_EQ(changes, 5);  // emptied, pasted, cut back
}

TEST_F(SearchTest, ShakeBringsTheWindowBackToItsPlace) {
  ASSERT_TRUE(startOnTestLibrary("SearchHint=1\nWinX=40\nWinY=30\n"));
  GtkWindow* window = GTK_WINDOW(topWindow(kWinMain));
  processPendingEvents();
  int x0 = 0, y0 = 0;
  gtk_window_get_position(window, &x0, &y0);
  std::vector<int> seen;
  gulong watch =
      g_signal_connect(window, "configure-event", G_CALLBACK(+[](GtkWidget*, GdkEventConfigure* e, gpointer d) {
                         static_cast<std::vector<int>*>(d)->push_back(e->x);
                         return FALSE;
                       }),
                       &seen);
  EXPECT_EQ(findBelowRoot("nothing like this"), 0);
  // The X server reports the moves when it gets to them; give it a moment.
  auto seenBoth = [&] {
    return std::find(seen.begin(), seen.end(), x0 + 5) != seen.end() &&
           std::find(seen.begin(), seen.end(), x0 - 5) != seen.end();
  };
  for (int i = 0; i < 100 && !seenBoth(); ++i) {
    processPendingEvents();
    g_usleep(5000);
  }
  g_signal_handler_disconnect(window, watch);
  EXPECT_NE(std::find(seen.begin(), seen.end(), x0 + 5), seen.end());
  EXPECT_NE(std::find(seen.begin(), seen.end(), x0 - 5), seen.end());
  int x1 = 0, y1 = 0;
  processPendingEvents();
  gtk_window_get_position(window, &x1, &y1);
  EXPECT_EQ(x1, x0);
  EXPECT_EQ(y1, y0);
  // Both effects: the field gets its default background back as well.
  app().settings.searchHint = 0;
  EXPECT_EQ(findBelowRoot("zz"), 0);
  GtkRcStyle* style = gtk_widget_get_modifier_style(gadget(Main_Find));
  EXPECT_FALSE(style->color_flags[GTK_STATE_NORMAL] & GTK_RC_BASE);
  processPendingEvents();
  gtk_window_get_position(window, &x1, &y1);
  EXPECT_EQ(x1, x0);
  EXPECT_EQ(y1, y0);
}

TEST_F(SearchTest, NewIndexIsSearchedAfterALanguageSwitch) {
  ASSERT_TRUE(startOnTestLibrary("SearchHint=2\nSearchMode=1\n"));
  EXPECT_EQ(findBelowRoot("sunset"), 0);
  post(kEventMenu, kWinMain, kKeyAltE);
  EXPECT_EQ(findBelowRoot("sunset"), 4);
}

// Real key presses through the X server into the focused search field.
TEST_F(SearchTest, TypedKeysSelectTheEntry) {
  if (system("command -v xdotool >/dev/null 2>&1") != 0) GTEST_SKIP() << "xdotool is not installed";
  ASSERT_TRUE(startOnTestLibrary("SearchHint=2\n"));
  GtkWidget* window = topWindow(kWinMain);
  gtk_window_present(GTK_WINDOW(window));
  for (int i = 0; i < 50 && !gtk_widget_get_mapped(window); ++i) {
    drain();
    usleep(20000);
  }
  gtk_widget_grab_focus(gadget(Main_Find));
  drain();
  std::string id = std::to_string(GDK_WINDOW_XID(gtk_widget_get_window(window)));
  // A search ends on an X error when another test's window goes away while the tree is
  // walked, so it is asked again.
  std::string found = "xdotool search --name 'Linux VL-ZEZ-Ovidozo-Vivara' 2>/dev/null | grep -qx " + id;
  int searched = -1;
  for (int i = 0; i < 20 && searched != 0; ++i) {
    if (i > 0) usleep(100000);
    searched = system(found.c_str());
  }
  ASSERT_EQ(searched, 0) << "the main window is not known by its name";
  std::string command = "(xdotool windowfocus " + id + " && xdotool type --delay 40 gtkentry) >/dev/null 2>&1 &";
  ASSERT_EQ(system(command.c_str()), 0);
  for (int i = 0; i < 500 && text(Main_Find) != "gtkentry"; ++i) {
    drain();
    usleep(10000);
  }
  EXPECT_EQ(text(Main_Find), "gtkentry");
  EXPECT_EQ(title(), shownTitle("/w/entry.vl"));
  EXPECT_EQ(row(), 5);
}
