// Topic links, back and forward, what a restart remembers and the added keys, on the
// sample library.
#include <gdk/gdkkeysyms.h>

#include "core/codeview/history.h"
#include "gui/code_view.h"
#include "gui/index_view.h"
#include "gui_fixture.h"

namespace {

class LinksTest : public ViewerTest {
 protected:
  void show(const char* codePath) {
    selectRow(viewer().index, rowOfCodePath(app().index, codePath));
    post(kEventGadget, kWinMain, IndexTree, kTypeChange);
  }
  std::string selectedTitle() { return std::string(app().index.row(selectedRow(viewer().index)).text); }
  // Activates the link's label as a click does; returns the code view's tooltip over it.
  std::string clickLink(const std::string& target) {
    for (const CodeLink& link : viewer().code.codeLinks) {
      GList* widgets =
          linkTarget(viewer().code, link) == target ? gtk_text_child_anchor_get_widgets(link.anchor) : nullptr;
      if (!widgets) continue;
      GtkWidget* label = GTK_WIDGET(widgets->data);
      g_list_free(widgets);
      int x = 0, y = 0;
      gtk_widget_translate_coordinates(label, gadget(CodeView), 2, 2, &x, &y);
      std::string tip = linkTooltipAt(viewer().code, x, y);
      gboolean handled = FALSE;
      g_signal_emit_by_name(label, "activate-link", target.c_str(), &handled);
      drain();
      return tip;
    }
    return "<no label>";
  }
  void key(guint keyval, int mods) {
    gtk_accel_groups_activate(G_OBJECT(topWindow(kWinMain)), keyval, GdkModifierType(mods));
    drain();
  }
};

TEST_F(LinksTest, ALinkShowsItsEntryAndBackAndForwardRetraceIt) {
  writeSampleSettings("CodeMarks=1\n");
  ASSERT_TRUE(start());
  show("/Basics/HelloGtk.vl");
  const std::string hello = selectedTitle();
  EXPECT_EQ(clickLink("Opening and centring a window"), "\u2192 Fenster öffnen und zentrieren");
  EXPECT_EQ(selectedTitle(), "Fenster öffnen und zentrieren");
  EXPECT_EQ(app().currentCodePath, "/Windows/WindowOpen.vl");
  key(GDK_KEY_Left, GDK_MOD1_MASK);
  EXPECT_EQ(selectedTitle(), hello);
  key(GDK_KEY_Right, GDK_MOD1_MASK);
  EXPECT_EQ(selectedTitle(), "Fenster öffnen und zentrieren");
  // A target no entry has changes nothing here and logs no warning (TearDown counts them).
  key(GDK_KEY_Left, GDK_MOD1_MASK);
  EXPECT_EQ(clickLink("Printing a page (not in this library yet)"), "");
  EXPECT_EQ(selectedTitle(), hello);
}

TEST_F(LinksTest, ASavedRunComesBackWithItsEntryZoomAndHistory) {
  writeSampleSettings();
  ASSERT_TRUE(start());
  show("/Windows/WindowOpen.vl");
  post(kEventGadget, kWinMain, IndexTree, kTypeLeftClick);  // a second click: into the history box
  show("/Basics/HelloGtk.vl");
  key(GDK_KEY_plus, GDK_CONTROL_MASK);
  key(GDK_KEY_KP_Add, GDK_CONTROL_MASK);
  ASSERT_TRUE(saveViewerSettings(viewer()));
  freshViewer();
  ASSERT_TRUE(start());
  EXPECT_EQ(app().currentCodePath, "/Basics/HelloGtk.vl");
  const PangoFontDescription* font = pango_context_get_font_description(gtk_widget_get_pango_context(gadget(CodeView)));
  EXPECT_NEAR(pango_font_description_get_size(font) / double(PANGO_SCALE), 10 * 1.3, 0.05);
  GtkComboBox* history = GTK_COMBO_BOX(gadget(Main_CbHistory));
  gchar* item = gtk_combo_box_get_active_text(history);
  gchar* tip = gtk_widget_get_tooltip_text(gtk_bin_get_child(GTK_BIN(history)));
  EXPECT_STREQ(item, "Fenster öffnen und zentrieren");
  EXPECT_STREQ(tip, "WindowOpen.vl");
  g_free(item);
  g_free(tip);
}

TEST_F(LinksTest, CtrlFSelectsTheSearchTextAndDownGoesToTheTree) {
  writeSampleSettings();
  ASSERT_TRUE(start());
  GtkWidget* field = gadget(Main_Find);
  gtk_widget_grab_focus(gadget(IndexTree));
  gtk_entry_set_text(GTK_ENTRY(field), "Fenster");
  key(GDK_KEY_f, GDK_CONTROL_MASK);
  EXPECT_EQ(gtk_window_get_focus(GTK_WINDOW(topWindow(kWinMain))), field);
  int start = -1, end = -1;
  EXPECT_TRUE(gtk_editable_get_selection_bounds(GTK_EDITABLE(field), &start, &end) && end - start == 7);
  GdkEventKey down = {};
  down.type = GDK_KEY_PRESS;
  down.keyval = GDK_KEY_Down;
  gboolean handled = FALSE;
  g_signal_emit_by_name(field, "key-press-event", &down, &handled);
  drain();
  EXPECT_EQ(gtk_window_get_focus(GTK_WINDOW(topWindow(kWinMain))), gadget(IndexTree));
}

}  // namespace
