#include "gui/main_window.h"

#include <algorithm>

#include <gdk/gdkkeysyms.h>

#include "core/app/error_report.h"
#include "core/app/window_title.h"
#include "gui/index_tree_model.h"
#include "gui/widgets.h"

static constexpr int kTraceFileId = 2;

void postEvent(Gui& gui, int kind, int window, int object, int type) {
  if (!gui.suppressEvents) gui.events.post(Event{kind, window, object, type});
}

void popupMenu(GtkWidget* menu) {
  gtk_menu_popup(GTK_MENU(menu), nullptr, nullptr, nullptr, nullptr, 0, gtk_get_current_event_time());
}

namespace {

Gui& gui() { return viewer().gui; }

int gadgetOf(gpointer data) { return GPOINTER_TO_INT(data); }

// --- signals turned into events -------------------------------------------------

void onClicked(GtkWidget*, gpointer data) { postEvent(gui(), kEventGadget, kWinMain, gadgetOf(data), kTypeLeftClick); }

void onChanged(GtkWidget*, gpointer data) { postEvent(gui(), kEventGadget, kWinMain, gadgetOf(data), kTypeChange); }

void onToggle(GtkToggleButton* button, gpointer) {
  gtk_button_set_image(GTK_BUTTON(button),
                       gtk_image_new_from_pixbuf(gui().toggleImage[gtk_toggle_button_get_active(button) ? 1 : 0]));
  postEvent(gui(), kEventGadget, kWinMain, Main_NodeToggle, kTypeLeftClick);
}

gboolean onDeleteEvent(GtkWidget*, GdkEvent*, gpointer data) {
  postEvent(gui(), kEventCloseWindow, gadgetOf(data), 0);
  return TRUE;  // windows are only hidden by their handlers, never destroyed by the close button
}

gboolean onConfigure(GtkWidget*, GdkEventConfigure* event, gpointer) {
  Gui& g = gui();
  if (event->width != g.lastWidth || event->height != g.lastHeight) {
    g.lastWidth = event->width;
    g.lastHeight = event->height;
    postEvent(g, kEventSizeWindow, kWinMain, 0);
  }
  return FALSE;
}

void onRightPaneAllocate(GtkWidget*, GtkAllocation* a, gpointer) {
  Gui& g = gui();
  if (a->width == g.rightPaneWidth && a->height == g.rightPaneHeight) return;
  g.rightPaneWidth = a->width;
  g.rightPaneHeight = a->height;
  postEvent(g, kEventGadget, kWinMain, MainSplitter, kTypeLeftClick);
}

void onSplitterMoved(GObject*, GParamSpec*, gpointer) {
  postEvent(gui(), kEventGadget, kWinMain, MainSplitter, kTypeLeftClick);
}

// Tree clicks count on release inside the tree; double clicks on the second press.
gboolean onTreePress(GtkWidget*, GdkEventButton* e, gpointer) {
  if (e->type == GDK_2BUTTON_PRESS && (e->button == 1 || e->button == 3))
    postEvent(gui(), kEventGadget, kWinMain, IndexTree, e->button == 1 ? kTypeLeftDoubleClick : kTypeRightDoubleClick);
  return FALSE;
}

gboolean onTreeRelease(GtkWidget* w, GdkEventButton* e, gpointer) {
  GtkAllocation a;
  gtk_widget_get_allocation(w, &a);
  bool inside = e->x >= 0 && e->y >= 0 && e->x < a.width && e->y < a.height;
  if (inside && (e->button == 1 || e->button == 3))
    postEvent(gui(), kEventGadget, kWinMain, IndexTree, e->button == 1 ? kTypeLeftClick : kTypeRightClick);
  return FALSE;
}

struct DragWatch {
  bool armed = false;
  int x = 0, y = 0;
  GdkEvent* motion = nullptr;  // the motion that crossed the threshold
} g_drag;

gboolean onTreeButtonDown(GtkWidget*, GdkEventButton* e, gpointer) {
  if (e->type == GDK_BUTTON_PRESS && e->button == 1) {
    g_drag.armed = true;
    g_drag.x = int(e->x);
    g_drag.y = int(e->y);
  }
  return onTreePress(nullptr, e, nullptr);
}

gboolean onTreeButtonUp(GtkWidget* w, GdkEventButton* e, gpointer) {
  if (e->button == 1) g_drag.armed = false;
  return onTreeRelease(w, e, nullptr);
}

gboolean onTreeMotion(GtkWidget* w, GdkEventMotion* e, gpointer) {
  if (g_drag.armed && (e->state & GDK_BUTTON1_MASK) &&
      gtk_drag_check_threshold(w, g_drag.x, g_drag.y, int(e->x), int(e->y))) {
    g_drag.armed = false;
    // The drag is begun later, by the event's handler; GTK needs this motion to
    // know where, when and with which button it started.
    if (g_drag.motion) gdk_event_free(g_drag.motion);
    g_drag.motion = gdk_event_copy(reinterpret_cast<GdkEvent*>(e));
    postEvent(gui(), kEventGadget, kWinMain, IndexTree, kTypeDragStart);
  }
  return FALSE;
}

void onSelectionChanged(GtkTreeSelection*, gpointer) {
  postEvent(gui(), kEventGadget, kWinMain, IndexTree, kTypeChange);
}

void onHistoryChanged(GtkComboBox* box, gpointer) {
  if (gtk_combo_box_get_active(box) >= 0) postEvent(gui(), kEventGadget, kWinMain, Main_CbHistory, kTypeChange);
}

gboolean onAccel(GtkAccelGroup*, GObject*, guint, GdkModifierType, gpointer data) {
  int packed = GPOINTER_TO_INT(data);
  postEvent(gui(), kEventMenu, packed >> 8, packed & 0xFF);
  return TRUE;
}

void onMenuItem(GtkMenuItem*, gpointer data) { postEvent(gui(), kEventMenu, kWinMain, gadgetOf(data)); }

// --- construction ---------------------------------------------------------------

GtkWidget* imageButton(const char* icon, bool focusOnClick) {
  GtkWidget* button = gtk_button_new();
  gtk_button_set_image(GTK_BUTTON(button), iconImage(icon));
  gtk_button_set_focus_on_click(GTK_BUTTON(button), focusOnClick);
  return button;
}

void addButton(Gui& g, int no, GtkWidget* button, int x, int y, int w, int h) {
  g.gadget[no] = button;
  place(g.fixed[kWinMain], button, x, y, w, h);
  g_signal_connect(button, "clicked", G_CALLBACK(onClicked), GINT_TO_POINTER(no));
}

void setTooltip(GtkWidget* w, const char* text) { gtk_widget_set_tooltip_text(w, text); }

GtkWidget* scrolled(GtkWidget* child) {
  GtkWidget* sw = gtk_scrolled_window_new(nullptr, nullptr);
  gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(sw), GTK_POLICY_AUTOMATIC, GTK_POLICY_AUTOMATIC);
  gtk_scrolled_window_set_shadow_type(GTK_SCROLLED_WINDOW(sw), GTK_SHADOW_ETCHED_IN);
  gtk_container_add(GTK_CONTAINER(sw), child);
  return sw;
}

void createToolbar(Viewer& v) {
  Gui& g = v.gui;
  g.toggleImage[0] = loadIcon("node-expand.png");
  g.toggleImage[1] = loadIcon("node-collapse.png");
  GtkWidget* toggle = gtk_toggle_button_new();
  gtk_button_set_image(GTK_BUTTON(toggle), gtk_image_new_from_pixbuf(g.toggleImage[0]));
  gtk_button_set_relief(GTK_BUTTON(toggle), GTK_RELIEF_NONE);
  gtk_button_set_focus_on_click(GTK_BUTTON(toggle), FALSE);
  g.gadget[Main_NodeToggle] = toggle;
  place(g.fixed[kWinMain], toggle, 5, 4, 30, 30);

  GtkWidget* findNext = gtk_button_new();
  gtk_button_set_image(GTK_BUTTON(findNext), gtk_image_new_from_stock("gtk-find", GTK_ICON_SIZE_MENU));
  gtk_button_set_relief(GTK_BUTTON(findNext), GTK_RELIEF_NONE);
  gtk_button_set_focus_on_click(GTK_BUTTON(findNext), FALSE);
  addButton(g, Main_FindNext, findNext, 37, 2, 28, 28);

  g.gadget[Main_Find] = gtk_entry_new();
  place(g.fixed[kWinMain], g.gadget[Main_Find], 65, 3, 115, 28);
  g_signal_connect(g.gadget[Main_Find], "changed", G_CALLBACK(onChanged), GINT_TO_POINTER(Main_Find));

  addButton(g, AdminButton, imageButton("admin.png", false), 420, 2, 30, 30);
#ifdef VL_ADMIN_MODE
  setTooltip(g.gadget[AdminButton], "Popup admin menue");
  const int labelPlace[3][2] = {{452, 2}, {452, 17}, {522, 2}};
  for (int i = 0; i < 3; ++i) {
    g.gadget[LabelSrc + i] = gtk_label_new("");
    gtk_misc_set_alignment(GTK_MISC(g.gadget[LabelSrc + i]), 0, 0.5);
    place(g.fixed[kWinMain], g.gadget[LabelSrc + i], labelPlace[i][0], labelPlace[i][1], 80, 16);
  }
#endif

  GtkWidget* history = gtk_combo_box_new_text();
  gtk_combo_box_set_focus_on_click(GTK_COMBO_BOX(history), FALSE);
  g.gadget[Main_CbHistory] = history;
  place(g.fixed[kWinMain], history, 186, 2, 230, 30);
  g_signal_connect(history, "changed", G_CALLBACK(onHistoryChanged), nullptr);

  addButton(g, Main_Quickcopy, imageButton("quickcopy.png", false), 666, 2, 30, 30);
  addButton(g, Main_Setting, imageButton("settings.png", false), 696, 2, 30, 30);
  addButton(g, Main_Help, imageButton("help.png", false), 736, 2, 30, 30);
  addButton(g, Main_Info, imageButton("info.png", false), 766, 2, 30, 30);
}

GtkWidget* createTree(Gui& g) {
  GtkWidget* tree = gtk_tree_view_new();
  gtk_tree_view_set_headers_visible(GTK_TREE_VIEW(tree), FALSE);
  gtk_tree_view_set_enable_search(GTK_TREE_VIEW(tree), FALSE);
  // Tree lines exist from GTK 2.10 on; look the property up so an older GTK still works.
  if (g_object_class_find_property(G_OBJECT_GET_CLASS(tree), "enable-tree-lines"))
    g_object_set(tree, "enable-tree-lines", TRUE, nullptr);
  GtkCellRenderer* cell = gtk_cell_renderer_text_new();
  GtkTreeViewColumn* column =
      gtk_tree_view_column_new_with_attributes("", cell, "text", kIndexColText, "foreground-gdk", kIndexColForeground,
                                               "cell-background-gdk", kIndexColBackground, nullptr);
  gtk_tree_view_append_column(GTK_TREE_VIEW(tree), column);
  GtkTreeSelection* selection = gtk_tree_view_get_selection(GTK_TREE_VIEW(tree));
  gtk_tree_selection_set_mode(selection, GTK_SELECTION_SINGLE);
  g_signal_connect(selection, "changed", G_CALLBACK(onSelectionChanged), nullptr);
  gtk_widget_add_events(tree, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK | GDK_POINTER_MOTION_MASK);
  g_signal_connect(tree, "button-press-event", G_CALLBACK(onTreeButtonDown), nullptr);
  g_signal_connect(tree, "button-release-event", G_CALLBACK(onTreeButtonUp), nullptr);
  g_signal_connect(tree, "motion-notify-event", G_CALLBACK(onTreeMotion), nullptr);
  g.gadget[IndexTree] = tree;
  g.scroller[IndexTree] = scrolled(tree);
  return g.scroller[IndexTree];
}

GtkWidget* createTextView(Gui& g, int no) {
  GtkWidget* view = gtk_text_view_new();
  gtk_text_view_set_editable(GTK_TEXT_VIEW(view), FALSE);
  gtk_text_view_set_left_margin(GTK_TEXT_VIEW(view), 4);
  gtk_text_view_set_right_margin(GTK_TEXT_VIEW(view), 4);
  g.gadget[no] = view;
  g.scroller[no] = scrolled(view);
  return g.scroller[no];
}

void createPanes(Viewer& v) {
  Gui& g = v.gui;
  GtkWidget* treeBox = createTree(g);
  // The right pane lays out its two views itself; a GtkLayout does not ask for the
  // size of its children, so the splitter and the window can still shrink.
  GtkWidget* frame = gtk_frame_new(nullptr);
  gtk_frame_set_shadow_type(GTK_FRAME(frame), GTK_SHADOW_ETCHED_IN);
  GtkWidget* pane = gtk_layout_new(nullptr, nullptr);
  gtk_container_add(GTK_CONTAINER(frame), pane);
  g.gadget[RightPane] = pane;
  place(pane, createTextView(g, Main_EdDescript), 1, 3, 432, 35);
  place(pane, createTextView(g, CodeView), 1, 43, 432, 511);
  g_signal_connect(pane, "size-allocate", G_CALLBACK(onRightPaneAllocate), nullptr);

  GtkWidget* paned = gtk_hpaned_new();
  gtk_paned_pack1(GTK_PANED(paned), treeBox, FALSE, FALSE);
  gtk_paned_pack2(GTK_PANED(paned), frame, TRUE, FALSE);
  gtk_widget_set_size_request(treeBox, 100, -1);
  gtk_widget_set_size_request(frame, 100, -1);
  gtk_paned_set_position(GTK_PANED(paned), v.app.settings.splitter);
  g.gadget[MainSplitter] = paned;
  place(g.fixed[kWinMain], paned, 5, 35, 790, 562);
  g_signal_connect(paned, "notify::position", G_CALLBACK(onSplitterMoved), nullptr);
}

void styleViews(Viewer& v) {
  Gui& g = v.gui;
  GtkWidget* code = g.gadget[CodeView];
  PangoFontDescription* font = pango_font_description_from_string(v.app.settings.fontName.c_str());
  pango_font_description_set_size(font, v.app.settings.fontSize * PANGO_SCALE);
  gtk_widget_modify_font(code, font);
  pango_font_description_free(font);
  GdkColor black = toGdkColor(rgb(0, 0, 0));
  gtk_widget_modify_text(code, GTK_STATE_NORMAL, &black);
  setBackground(code, v.app.codeBackColor);
  gtk_text_view_set_wrap_mode(GTK_TEXT_VIEW(g.gadget[Main_EdDescript]), GTK_WRAP_WORD);
  gtk_text_view_set_wrap_mode(GTK_TEXT_VIEW(code), GTK_WRAP_NONE);
  gtk_text_view_set_cursor_visible(GTK_TEXT_VIEW(code), FALSE);
  gtk_widget_add_events(code, GDK_SCROLL_MASK);
  g.tabArray = pango_tab_array_new_with_positions(1, FALSE, PANGO_TAB_LEFT, 16384);
  gtk_text_view_set_tabs(GTK_TEXT_VIEW(code), g.tabArray);
  static const GtkTargetEntry uriTarget[] = {{const_cast<gchar*>("text/uri-list"), 0, 0}};
  gtk_drag_dest_set(code, GTK_DEST_DEFAULT_ALL, uriTarget, 1, GdkDragAction(GDK_ACTION_COPY | GDK_ACTION_MOVE));
}

void setTooltips(Gui& g) {
  setTooltip(g.gadget[Main_NodeToggle], "Öffnet und schließt alle Knoten.");
  setTooltip(g.gadget[Main_FindNext], "[F3] Sucht nächsten Eintrag (auch [Return] bei Cursor im Eingabefeld.");
  setTooltip(g.gadget[Main_Find],
             "Ausdruck suchen im Index (& Beschreibung) in der akt. Sprache (oder alle). Siehe Settings.");
  setTooltip(g.gadget[Main_CbHistory], "Liste aller zuletzt gewählten Code-Dateien.");
  setTooltip(g.gadget[Main_Quickcopy],
             "Kopiert den kompletten Code in die Zwischenablage. Auch Drag&Drop von Indexeinträgen nach VL möglich!");
  setTooltip(g.gadget[Main_Setting],
             "Programmeinstellungen & Requester für die Datenbank (xml) und das Library-Oberverzeichnis.");
  setTooltip(g.gadget[Main_Help], "Öffnet die Programm-Hilfe-Datei im Editor.");
  setTooltip(g.gadget[Main_Info], "Öffnet den Programm-Info-Dialog.");
  setTooltip(g.gadget[Main_EdDescript], "Zeigt eine kurze Beschreibung der Funktion.");
}

struct MenuEntry {
  int no;  // 0 = separator
  const char* text;
};

GtkWidget* buildMenu(Gui& g, const MenuEntry* entries, size_t count) {
  GtkWidget* menu = gtk_menu_new();
  for (size_t i = 0; i < count; ++i) {
    GtkWidget* item = entries[i].no ? gtk_menu_item_new_with_label(entries[i].text) : gtk_separator_menu_item_new();
    if (entries[i].no) {
      g.menuItem[entries[i].no] = item;
      g_signal_connect(item, "activate", G_CALLBACK(onMenuItem), GINT_TO_POINTER(entries[i].no));
    }
    gtk_menu_shell_append(GTK_MENU_SHELL(menu), item);
  }
  gtk_widget_show_all(menu);
  return menu;
}

}  // namespace

GdkEvent* treeDragStartEvent() { return g_drag.motion; }

// The two popup menus are built early in the start-up, before any window.
void createPopupMenus(Gui& g) {
  static const MenuEntry admin[] = {{kMenuExportWebPage, "Export WebPage"},
                                    {kMenuPostingAll, "Export Posting All"},
                                    {kMenuPostingNews, "Export Posting News"},
                                    {0, nullptr},
                                    {kMenuFileList, "Export Filelist"},
                                    {kMenuDuplicates, "Debug doubles db-entries"},
                                    {0, nullptr},
                                    {kMenuEditHelp, "edit ViewerHelp"},
                                    {0, nullptr},
                                    {kMenuCopyCodePath, "Copy code-path to clipboard"}};
  static const MenuEntry info[] = {{kMenuAboutApp, "Über Linux VL-ZEZ-Ovidozo-Vivara ..."},
                                   {kMenuAboutDb, "Über Datenbank ..."},
                                   {kMenuIsUpdate, "Auf Updates prüfen ..."},
                                   {0, nullptr},
                                   {kMenuOpenCode, "Mit Standard-App öffnen"}};
  g.adminMenu = buildMenu(g, admin, G_N_ELEMENTS(admin));
  g.infoMenu = buildMenu(g, info, G_N_ELEMENTS(info));
}

void bindKey(Gui& g, int window, guint key, GdkModifierType mods, int menuNo) {
  GClosure* closure = g_cclosure_new(G_CALLBACK(onAccel), GINT_TO_POINTER((window << 8) | menuNo), nullptr);
  gtk_accel_group_connect(g.accel[window], key, mods, GtkAccelFlags(0), closure);
}

void connectWindow(Gui& g, int window) {
  g.accel[window] = gtk_accel_group_new();
  gtk_window_add_accel_group(GTK_WINDOW(g.window[window]), g.accel[window]);
  g_signal_connect(g.window[window], "delete-event", G_CALLBACK(onDeleteEvent), GINT_TO_POINTER(window));
  // Every window binds Escape: it ends the program in the main window and hides the others.
  bindKey(g, window, GDK_Escape, GdkModifierType(0), kKeyEscape);
}

static void bindMainKeys(Gui& g) {
  const struct {
    guint key;
    GdkModifierType mods;
    int no;
  } keys[] = {{GDK_Return, GdkModifierType(0), kKeyReturn},
              {GDK_KP_Enter, GdkModifierType(0), kKeyReturn},
              {GDK_F1, GdkModifierType(0), kKeyF1},
              {GDK_F3, GdkModifierType(0), kKeyF3},
              {GDK_F5, GdkModifierType(0), kKeyF5},
              {GDK_F6, GdkModifierType(0), kKeyF6},
              {GDK_g, GDK_MOD1_MASK, kKeyAltG},
              {GDK_e, GDK_MOD1_MASK, kKeyAltE},
              {GDK_d, GDK_MOD1_MASK, kKeyAltD},
              {GDK_f, GDK_MOD1_MASK, kKeyAltF}};
  for (const auto& k : keys) bindKey(g, kWinMain, k.key, k.mods, k.no);
}

bool createMainWindow(Viewer& v) {
  VL_TRACE();
  Gui& g = v.gui;
  const SettingsStore& s = v.app.settings;
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  if (!window) return false;
  g.window[kWinMain] = window;
  gtk_window_set_title(GTK_WINDOW(window), kAppTitle);
  gtk_window_set_default_size(GTK_WINDOW(window), s.winWidth, s.winHight);
  if (s.winX != -1 || s.winY != -1) gtk_window_move(GTK_WINDOW(window), s.winX, s.winY);
  GdkGeometry hints = {};
  hints.min_width = 640;
  hints.min_height = 400;
  gtk_window_set_geometry_hints(GTK_WINDOW(window), nullptr, &hints, GDK_HINT_MIN_SIZE);
  g.fixed[kWinMain] = gtk_layout_new(nullptr, nullptr);
  gtk_container_add(GTK_CONTAINER(window), g.fixed[kWinMain]);
  g.lastWidth = s.winWidth;
  g.lastHeight = s.winHight;

  createToolbar(v);
  createPanes(v);
  styleViews(v);
  setTooltips(g);
  gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(g.gadget[Main_NodeToggle]), TRUE);
  gtk_button_set_image(GTK_BUTTON(g.gadget[Main_NodeToggle]), gtk_image_new_from_pixbuf(g.toggleImage[1]));
  g_signal_connect(g.gadget[Main_NodeToggle], "toggled", G_CALLBACK(onToggle), nullptr);
  connectWindow(g, kWinMain);
  bindMainKeys(g);
  g_signal_connect(window, "configure-event", G_CALLBACK(onConfigure), nullptr);
  gtk_widget_show_all(g.fixed[kWinMain]);
#ifndef VL_ADMIN_MODE
  gtk_widget_hide(g.gadget[AdminButton]);
#endif
  return true;
}

void layoutMainWindow(Viewer& v, bool windowResized) {
  Gui& g = v.gui;
  int width = g.lastWidth;
  int height = g.lastHeight;
  GtkWidget* fixed = g.fixed[kWinMain];
  moveTo(fixed, g.gadget[Main_Info], width - 34, 2);
  moveTo(fixed, g.gadget[Main_Help], width - 64, 2);
  moveTo(fixed, g.gadget[Main_Setting], width - 104, 2);
  moveTo(fixed, g.gadget[Main_Quickcopy], width - 134, 2);
  if (windowResized) gtk_widget_set_size_request(g.gadget[MainSplitter], width - 10, height - 38);
  int paneWidth = g.rightPaneWidth > 0 ? g.rightPaneWidth : 430;
  int paneHeight = g.rightPaneHeight > 0 ? g.rightPaneHeight : 560;
  gtk_widget_set_size_request(g.scroller[Main_EdDescript], std::max(1, paneWidth - 7), 35);
  gtk_widget_set_size_request(g.scroller[CodeView], std::max(1, paneWidth - 7), std::max(1, paneHeight - 51));
}
