// Topic links, back and forward, what a restart remembers, and the added keys,
// on the sample library.
#include <gdk/gdkkeysyms.h>

#include "core/app/app_state.h"
#include "core/codeview/history.h"
#include "gui/code_view.h"
#include "gui/index_view.h"
#include "gui_fixture.h"

namespace {

class LinksTest : public ViewerTest {
 protected:
  void show(const char* codePath) {
    int row = rowOfCodePath(app().index, codePath);
    ASSERT_GE(row, 0) << codePath;
    selectRow(viewer().index, row);
    post(kEventGadget, kWinMain, IndexTree, kTypeChange);
  }

  std::string selectedTitle() {
    int row = selectedRow(viewer().index);
    return row < 0 ? std::string() : std::string(app().index.row(row).text);
  }

  // The label of the link to `target`; it is made once its line is near the view.
  GtkWidget* linkLabel(const std::string& target) {
    for (const CodeLink& link : viewer().code.codeLinks) {
      if (link.target != target) continue;
      GList* widgets = gtk_text_child_anchor_get_widgets(link.anchor);
      GtkWidget* label = widgets ? GTK_WIDGET(widgets->data) : nullptr;
      g_list_free(widgets);
      return label;
    }
    return nullptr;
  }

  // The code view's tooltip where the label is.
  std::string tooltipOn(GtkWidget* label) {
    int x = 0, y = 0;
    gtk_widget_translate_coordinates(label, gadget(CodeView), 2, 2, &x, &y);
    return linkTooltipAt(viewer().code, x, y);
  }

  // What a click on the link does to the label.
  void activate(GtkWidget* label, const char* uri) {
    gboolean handled = FALSE;
    g_signal_emit_by_name(label, "activate-link", uri, &handled);
    drain();
  }

  void key(guint keyval, GdkModifierType mods) {
    gtk_accel_groups_activate(G_OBJECT(topWindow(kWinMain)), keyval, mods);
    drain();
  }
};

TEST_F(LinksTest, ALinkShowsItsEntryAndBackAndForwardRetraceIt) {
  writeSampleSettings("CodeMarks=1\n");
  ASSERT_TRUE(start());
  show("/Basics/HelloGtk.vl");
  const std::string hello = selectedTitle();
  GtkWidget* label = linkLabel("Opening and centring a window");
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(tooltipOn(label), "\u2192 Fenster öffnen und zentrieren");  // the entry's title in the topic language
  activate(label, "Opening and centring a window");
  EXPECT_EQ(selectedTitle(), "Fenster öffnen und zentrieren");
  EXPECT_EQ(app().currentCodePath, "/Windows/WindowOpen.vl");

  key(GDK_KEY_Left, GDK_MOD1_MASK);
  EXPECT_EQ(selectedTitle(), hello);
  EXPECT_EQ(app().currentCodePath, "/Basics/HelloGtk.vl");
  // The mouse's forward button goes the other way.
  GdkEventButton forward = {};
  forward.type = GDK_BUTTON_PRESS;
  forward.button = 9;
  gboolean handled = FALSE;
  g_signal_emit_by_name(gadget(IndexTree), "button-press-event", &forward, &handled);
  drain();
  EXPECT_EQ(selectedTitle(), "Fenster öffnen und zentrieren");

  // A target no entry has changes nothing here and gives no warning (TearDown counts them).
  key(GDK_KEY_Left, GDK_MOD1_MASK);
  label = linkLabel("Printing a page (not in this library yet)");
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(tooltipOn(label), "");
  activate(label, "Printing a page (not in this library yet)");
  EXPECT_EQ(selectedTitle(), hello);
}

TEST_F(LinksTest, ASavedRunComesBackWithItsEntryZoomAndHistory) {
  writeSampleSettings();
  ASSERT_TRUE(start());
  show("/Windows/WindowOpen.vl");
  post(kEventGadget, kWinMain, IndexTree, kTypeLeftClick);  // a second click: into the history box
  show("/Basics/HelloGtk.vl");
  key(GDK_KEY_plus, GDK_CONTROL_MASK);
  key(GDK_KEY_plus, GDK_CONTROL_MASK);
  ASSERT_EQ(app().zoomStep, 5);
  ASSERT_TRUE(saveViewerSettings(viewer()));

  freshViewer();
  ASSERT_TRUE(start());
  EXPECT_EQ(app().currentCodePath, "/Basics/HelloGtk.vl");
  EXPECT_EQ(app().zoomStep, 5);
  PangoFontDescription* font =
      pango_font_description_copy(pango_context_get_font_description(gtk_widget_get_pango_context(gadget(CodeView))));
  EXPECT_NEAR(pango_font_description_get_size(font) / double(PANGO_SCALE), 10 * 1.3, 0.05);
  pango_font_description_free(font);
  GtkComboBox* history = GTK_COMBO_BOX(gadget(Main_CbHistory));
  gchar* item = gtk_combo_box_get_active_text(history);
  EXPECT_STREQ(item, "Fenster öffnen und zentrieren");
  g_free(item);
  gchar* tip = gtk_widget_get_tooltip_text(gtk_bin_get_child(GTK_BIN(history)));
  EXPECT_STREQ(tip, "WindowOpen.vl");
  g_free(tip);
  key(GDK_KEY_0, GDK_CONTROL_MASK);
  EXPECT_EQ(app().zoomStep, 3);
}

TEST_F(LinksTest, CtrlFSelectsTheSearchTextAndDownGoesToTheTree) {
  writeSampleSettings();
  ASSERT_TRUE(start());
  GtkWidget* field = gadget(Main_Find);
  gtk_widget_grab_focus(gadget(IndexTree));
  gtk_entry_set_text(GTK_ENTRY(field), "Fenster");
  drain();
  key(GDK_KEY_f, GDK_CONTROL_MASK);
  EXPECT_EQ(gtk_window_get_focus(GTK_WINDOW(topWindow(kWinMain))), field);
  int start = -1, end = -1;
  ASSERT_TRUE(gtk_editable_get_selection_bounds(GTK_EDITABLE(field), &start, &end));
  EXPECT_EQ(end - start, 7);
  GdkEventKey down = {};
  down.type = GDK_KEY_PRESS;
  down.keyval = GDK_KEY_Down;
  gboolean handled = FALSE;
  g_signal_emit_by_name(field, "key-press-event", &down, &handled);
  drain();
  EXPECT_EQ(gtk_window_get_focus(GTK_WINDOW(topWindow(kWinMain))), gadget(IndexTree));
}

}  // namespace
