// Window 0: building it, its layout, and its signals turned into events.
#include "gui/main_window.h"

#include <algorithm>

#include <gdk/gdkkeysyms.h>

#include "core/app/error_report.h"
#include "core/app/text_cut.h"
#include "core/app/window_title.h"
#include "core/settings/language_keys.h"
#include "gui/language_switch.h"
#include "gui/viewer.h"

namespace {

constexpr const char* kGadgetKey = "vl-gadget";

int gadgetOf(gpointer widget) { return GPOINTER_TO_INT(g_object_get_data(G_OBJECT(widget), kGadgetKey)); }

void post(MainWindow* w, int gadget, EventType type) { w->frame.events->post(kEventGadget, kWinMain, gadget, type); }

// --- signals turned into events -------------------------------------------------

void onClicked(GtkWidget* button, gpointer data) {
  post(static_cast<MainWindow*>(data), gadgetOf(button), kTypeLeftClick);
}

void onFindChanged(GtkWidget*, gpointer data) { post(static_cast<MainWindow*>(data), Main_Find, kTypeChange); }

void onToggle(GtkToggleButton* button, gpointer data) {
  auto* w = static_cast<MainWindow*>(data);
  gtk_button_set_image(GTK_BUTTON(button),
                       gtk_image_new_from_pixbuf(w->toggleImage[gtk_toggle_button_get_active(button) ? 1 : 0]));
  post(w, Main_NodeToggle, kTypeLeftClick);
}

gboolean onConfigure(GtkWidget*, GdkEventConfigure* event, gpointer data) {
  auto* w = static_cast<MainWindow*>(data);
  if (event->width != w->lastWidth || event->height != w->lastHeight) {
    w->lastWidth = event->width;
    w->lastHeight = event->height;
    w->frame.events->post(kEventSizeWindow, kWinMain, 0);
  }
  return FALSE;
}

void onRightPaneAllocate(GtkWidget*, GtkAllocation* a, gpointer data) {
  auto* w = static_cast<MainWindow*>(data);
  if (a->width == w->rightPaneWidth && a->height == w->rightPaneHeight) return;
  w->rightPaneWidth = a->width;
  w->rightPaneHeight = a->height;
  post(w, MainSplitter, kTypeLeftClick);
}

void onSplitterMoved(GObject*, GParamSpec*, gpointer data) {
  post(static_cast<MainWindow*>(data), MainSplitter, kTypeLeftClick);
}

void onHistoryChanged(GtkComboBox* box, gpointer data);

// A list closed without a choice gets its item back. GTK closes the list before it
// takes the choice, so this waits until the choice is made.
gboolean restoreHistoryItem(gpointer data) {
  GtkComboBox* box = GTK_COMBO_BOX(data);
  // A box destroyed meanwhile has no model any more and nothing to restore.
  if (gtk_combo_box_get_model(box) && gtk_combo_box_get_active(box) < 0) {
    g_signal_handlers_block_matched(box, G_SIGNAL_MATCH_FUNC, 0, 0, nullptr, (gpointer)onHistoryChanged, nullptr);
    gtk_combo_box_set_active(box, GPOINTER_TO_INT(g_object_get_data(G_OBJECT(box), "vl-active")) - 1);
    g_signal_handlers_unblock_matched(box, G_SIGNAL_MATCH_FUNC, 0, 0, nullptr, (gpointer)onHistoryChanged, nullptr);
  }
  g_object_unref(box);
  return FALSE;
}

// Choosing the item that is already active must show its entry as well, so the box
// has no active item while its list is open: every choice is then a change.
void onHistoryPopup(GObject* box, GParamSpec*, gpointer data) {
  auto* w = static_cast<MainWindow*>(data);
  GtkComboBox* combo = GTK_COMBO_BOX(box);
  gboolean shown = FALSE;
  g_object_get(box, "popup-shown", &shown, nullptr);
  if (!shown) {
    g_idle_add(restoreHistoryItem, g_object_ref(box));
    return;
  }
  SuppressEvents quiet(*w->frame.events);
  g_object_set_data(box, "vl-active", GINT_TO_POINTER(gtk_combo_box_get_active(combo) + 1));
  gtk_combo_box_set_active(combo, -1);
}

// The box shows titles; the file name of the item shown is the tooltip of the item.
void showHistoryFileName(MainWindow& w) {
  GtkComboBox* box = GTK_COMBO_BOX(w.gadget[Main_CbHistory]);
  GtkWidget* shown = gtk_bin_get_child(GTK_BIN(box));
  int item = gtk_combo_box_get_active(box);
  if (item < 0 && !w.historyFiles.empty()) return;  // the list is open: no item is active meanwhile
  bool known = item >= 0 && static_cast<size_t>(item) < w.historyFiles.size();
  if (shown) gtk_widget_set_tooltip_text(shown, known ? w.historyFiles[item].c_str() : nullptr);
}

void onHistoryChanged(GtkComboBox* box, gpointer data) {
  auto* w = static_cast<MainWindow*>(data);
  showHistoryFileName(*w);
  if (gtk_combo_box_get_active(box) >= 0) post(w, Main_CbHistory, kTypeChange);
}

// Down walks into the open match list or leaves the search field for the tree.
gboolean onFindKey(GtkWidget*, GdkEventKey* event, gpointer data) {
  bool plainDown = (event->keyval == GDK_KEY_Down || event->keyval == GDK_KEY_KP_Down) &&
                   !(event->state & gtk_accelerator_get_default_mod_mask());
  if (!plainDown) return FALSE;
  static_cast<MainWindow*>(data)->frame.events->post(kEventMenu, kWinMain, kKeyDownInFind);
  return TRUE;
}

// The mouse's back and forward buttons, wherever they are pressed in the window.
gboolean onBackForwardButton(GtkWidget*, GdkEventButton* event, gpointer data) {
  if (event->type != GDK_BUTTON_PRESS || (event->button != 8 && event->button != 9)) return FALSE;
  static_cast<MainWindow*>(data)->frame.events->post(kEventMenu, kWinMain, event->button == 8 ? kKeyBack : kKeyForward);
  return TRUE;
}

void onEntryMenuKey(GtkWidget*, gpointer data) {
  static_cast<MainWindow*>(data)->frame.events->post(kEventMenu, kWinMain, kKeyEntryMenu);
}

// Return is the search field's find-next shortcut, but anywhere else it belongs to
// the focused control: a button is pressed, a link in the code view followed. A
// shortcut would take it from them, so they get it first.
gboolean onKeyPress(GtkWidget* window, GdkEventKey* event, gpointer data) {
  bool enter = event->keyval == GDK_KEY_Return || event->keyval == GDK_KEY_KP_Enter;
  if (!enter || (event->state & gtk_accelerator_get_default_mod_mask()) != 0) return FALSE;
  GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(window));
  if (!focus || focus == static_cast<MainWindow*>(data)->gadget[Main_Find]) return FALSE;
  return gtk_window_propagate_key_event(GTK_WINDOW(window), event) ||
         gtk_bindings_activate_event(GTK_OBJECT(window), event);
}

void onMenuItem(GtkMenuItem* item, gpointer data) {
  static_cast<MainWindow*>(data)->frame.events->post(kEventMenu, kWinMain, gadgetOf(item));
}

// --- construction ---------------------------------------------------------------

GtkWidget* imageButton(const char* icon) {
  GtkWidget* button = gtk_button_new();
  gtk_button_set_image(GTK_BUTTON(button), iconImage(icon));
  gtk_button_set_focus_on_click(GTK_BUTTON(button), FALSE);
  return button;
}

void put(MainWindow& w, GadgetNo no, GtkWidget* widget, int x, int y, int width, int height) {
  w.gadget[no] = widget;
  g_object_set_data(G_OBJECT(widget), kGadgetKey, GINT_TO_POINTER(no));
  place(w.frame.fixed, widget, x, y, width, height);
}

void addButton(MainWindow& w, GadgetNo no, GtkWidget* button, int x, int y, int width, int height) {
  put(w, no, button, x, y, width, height);
  g_signal_connect(button, "clicked", G_CALLBACK(onClicked), &w);
}

GtkWidget* flatButton(GtkWidget* button, GtkWidget* image) {
  gtk_button_set_image(GTK_BUTTON(button), image);
  gtk_button_set_relief(GTK_BUTTON(button), GTK_RELIEF_NONE);
  gtk_button_set_focus_on_click(GTK_BUTTON(button), FALSE);
  return button;
}

void addSourceLabels(MainWindow& w) {
#ifdef VL_ADMIN_MODE
  gtk_widget_set_tooltip_text(w.gadget[AdminButton], "Popup admin menue");
  const int labelPlace[3][2] = {{452, 2}, {452, 17}, {522, 2}};
  for (int i = 0; i < 3; ++i) {
    GtkWidget* label = gtk_label_new("");
    gtk_misc_set_alignment(GTK_MISC(label), 0, 0.5);
    put(w, GadgetNo(LabelSrc + i), label, labelPlace[i][0], labelPlace[i][1], 80, 16);
  }
#endif
}

void createToolbar(MainWindow& w) {
  w.toggleImage[0] = loadIcon("node-expand.png");
  w.toggleImage[1] = loadIcon("node-collapse.png");
  put(w, Main_NodeToggle, flatButton(gtk_toggle_button_new(), gtk_image_new_from_pixbuf(w.toggleImage[0])), 5, 4, 30,
      30);
  addButton(w, Main_FindNext, flatButton(gtk_button_new(), gtk_image_new_from_stock("gtk-find", GTK_ICON_SIZE_MENU)),
            37, 2, 28, 28);
  put(w, Main_Find, gtk_entry_new(), 65, 3, 115, 28);
  g_signal_connect(w.gadget[Main_Find], "changed", G_CALLBACK(onFindChanged), &w);
  g_signal_connect(w.gadget[Main_Find], "key-press-event", G_CALLBACK(onFindKey), &w);
  addButton(w, AdminButton, imageButton("admin.png"), 420, 2, 30, 30);
  addSourceLabels(w);

  GtkWidget* history = gtk_combo_box_new_text();
  gtk_combo_box_set_focus_on_click(GTK_COMBO_BOX(history), FALSE);
  put(w, Main_CbHistory, history, 186, 2, 230, 30);
  g_signal_connect(history, "changed", G_CALLBACK(onHistoryChanged), &w);
  g_signal_connect(history, "notify::popup-shown", G_CALLBACK(onHistoryPopup), &w);

  addButton(w, Main_Quickcopy, imageButton("quickcopy.png"), 666, 2, 30, 30);
  addButton(w, Main_Setting, imageButton("settings.png"), 696, 2, 30, 30);
  addButton(w, Main_Help, imageButton("help.png"), 736, 2, 30, 30);
  addButton(w, Main_Info, imageButton("info.png"), 766, 2, 30, 30);
}

// The right pane lays out its two views itself; a GtkLayout does not ask for the
// size of its children, so the splitter and the window can still shrink.
void createPanes(Viewer& v) {
  MainWindow& w = v.main;
  GtkWidget* treeBox = createIndexView(v.index, v.events);
  createCodeView(v);
  GtkWidget* frame = gtk_frame_new(nullptr);
  gtk_frame_set_shadow_type(GTK_FRAME(frame), GTK_SHADOW_ETCHED_IN);
  GtkWidget* pane = gtk_layout_new(nullptr, nullptr);
  gtk_container_add(GTK_CONTAINER(frame), pane);
  w.gadget[RightPane] = pane;
  place(pane, v.code.descriptionScroller, 1, 3, 432, 35);
  place(pane, v.code.codeScroller, 1, 43, 432, 511);
  g_signal_connect(pane, "size-allocate", G_CALLBACK(onRightPaneAllocate), &w);

  GtkWidget* paned = gtk_hpaned_new();
  gtk_paned_pack1(GTK_PANED(paned), treeBox, FALSE, FALSE);
  gtk_paned_pack2(GTK_PANED(paned), frame, TRUE, FALSE);
  gtk_widget_set_size_request(treeBox, 100, -1);
  gtk_widget_set_size_request(frame, 100, -1);
  gtk_paned_set_position(GTK_PANED(paned), v.app.settings.splitter);
  put(w, MainSplitter, paned, 5, 35, 790, 562);
  g_signal_connect(paned, "notify::position", G_CALLBACK(onSplitterMoved), &w);
  // The views handle presses themselves, so the buttons are caught on each of them.
  for (GtkWidget* widget : {w.frame.window, v.index.tree, v.code.code, v.code.description}) {
    gtk_widget_add_events(widget, GDK_BUTTON_PRESS_MASK);
    g_signal_connect(widget, "button-press-event", G_CALLBACK(onBackForwardButton), &w);
  }
  g_signal_connect(v.index.tree, "popup-menu", G_CALLBACK(onEntryMenuKey), &w);
}

// The window's own gadgets; the views' tooltips are set by their component.
void setTooltips(MainWindow& w) {
  for (const UiText& t : kUiTexts) {
    GtkWidget* gadget = t.kind == UiTextKind::Tooltip ? w.gadget.find(gadgetByName(t.key + 1)) : nullptr;
    if (gadget) gtk_widget_set_tooltip_text(gadget, t.german);
  }
}

// Tab follows the toolbar from left to right, then the panes. Left to GTK, the
// order goes by each gadget's middle line, and the node toggle sits lower.
void setFocusOrder(MainWindow& w) {
  GList* chain = nullptr;
  for (GadgetNo no : {Main_NodeToggle, Main_FindNext, Main_Find, AdminButton, Main_CbHistory, Main_Quickcopy,
                      Main_Setting, Main_Help, Main_Info, MainSplitter})
    chain = g_list_append(chain, w.gadget[no]);
  gtk_container_set_focus_chain(GTK_CONTAINER(w.frame.fixed), chain);
  g_list_free(chain);
}

struct MenuEntry {
  MenuNo no;  // 0 = separator
  const char* text;
};

GtkWidget* buildMenu(MainWindow& w, const MenuEntry* entries, size_t count) {
  GtkWidget* menu = gtk_menu_new();
  for (size_t i = 0; i < count; ++i) {
    GtkWidget* item = entries[i].no ? gtk_menu_item_new_with_label(entries[i].text) : gtk_separator_menu_item_new();
    if (entries[i].no) {
      w.menuItem[entries[i].no] = item;
      g_object_set_data(G_OBJECT(item), kGadgetKey, GINT_TO_POINTER(entries[i].no));
      g_signal_connect(item, "activate", G_CALLBACK(onMenuItem), &w);
    }
    gtk_menu_shell_append(GTK_MENU_SHELL(menu), item);
  }
  gtk_widget_show_all(menu);
  return menu;
}

void bindMainKeys(WindowFrame& frame) {
  constexpr auto ctrl = GDK_CONTROL_MASK;
  constexpr auto ctrlShift = GdkModifierType(GDK_CONTROL_MASK | GDK_SHIFT_MASK);
  const struct {
    guint key;
    GdkModifierType mods;
    MenuNo no;
  } keys[] = {// The keys every viewer has; plus and minus from the main keys and the keypad.
              {GDK_KEY_Left, GDK_MOD1_MASK, kKeyBack},
              {GDK_KEY_Right, GDK_MOD1_MASK, kKeyForward},
              {GDK_KEY_f, ctrl, kKeyFocusFind},
              {GDK_KEY_l, ctrl, kKeyFocusFind},
              {GDK_KEY_q, ctrl, kKeyEscape},
              {GDK_KEY_plus, ctrl, kKeyZoomIn},
              {GDK_KEY_plus, ctrlShift, kKeyZoomIn},
              {GDK_KEY_equal, ctrl, kKeyZoomIn},
              {GDK_KEY_KP_Add, ctrl, kKeyZoomIn},
              {GDK_KEY_minus, ctrl, kKeyZoomOut},
              {GDK_KEY_KP_Subtract, ctrl, kKeyZoomOut},
              {GDK_KEY_0, ctrl, kKeyZoomReset},
              {GDK_KEY_KP_0, ctrl, kKeyZoomReset},
              // The written shortcuts.
              {GDK_KEY_Return, GdkModifierType(0), kKeyReturn},
              {GDK_KEY_KP_Enter, GdkModifierType(0), kKeyReturn},
              {GDK_KEY_F1, GdkModifierType(0), kKeyF1},
              {GDK_KEY_F3, GdkModifierType(0), kKeyF3},
              {GDK_KEY_F5, GdkModifierType(0), kKeyF5},
              {GDK_KEY_F6, GdkModifierType(0), kKeyF6},
              {GDK_KEY_g, GDK_MOD1_MASK, kKeyAltG},
              {GDK_KEY_e, GDK_MOD1_MASK, kKeyAltE},
              {GDK_KEY_d, GDK_MOD1_MASK, kKeyAltD},
              {GDK_KEY_f, GDK_MOD1_MASK, kKeyAltF}};
  for (const auto& k : keys) bindKey(frame, k.key, k.mods, k.no);
}

GtkWidget* newMainWindow(MainWindow& w, const SettingsStore& s) {
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  if (!window) return nullptr;
  w.frame.window = window;
  gtk_window_set_title(GTK_WINDOW(window), kAppTitle);
  gtk_window_set_default_size(GTK_WINDOW(window), s.winWidth, s.winHight);
  if (s.winX != -1 || s.winY != -1) gtk_window_move(GTK_WINDOW(window), s.winX, s.winY);
  GdkGeometry hints = {};
  hints.min_width = 640;
  hints.min_height = 400;
  gtk_window_set_geometry_hints(GTK_WINDOW(window), nullptr, &hints, GDK_HINT_MIN_SIZE);
  w.frame.fixed = gtk_layout_new(nullptr, nullptr);
  gtk_container_add(GTK_CONTAINER(window), w.frame.fixed);
  w.lastWidth = s.winWidth;
  w.lastHeight = s.winHight;
  return window;
}

}  // namespace

void createPopupMenus(MainWindow& w, EventSink& events) {
  static const MenuEntry admin[] = {{kMenuExportWebPage, "Export WebPage"},
                                    {kMenuPostingAll, "Export Posting All"},
                                    {kMenuPostingNews, "Export Posting News"},
                                    {MenuNo(0), nullptr},
                                    {kMenuFileList, "Export Filelist"},
                                    {kMenuDuplicates, "Debug doubles db-entries"},
                                    {MenuNo(0), nullptr},
                                    {kMenuEditHelp, "edit ViewerHelp"},
                                    {MenuNo(0), nullptr},
                                    {kMenuCopyCodePath, "Copy code-path to clipboard"}};
  static const MenuEntry info[] = {{kMenuAboutApp, builtInMenuText(kMenuAboutApp)},
                                   {kMenuAboutDb, builtInMenuText(kMenuAboutDb)},
                                   {kMenuIsUpdate, builtInMenuText(kMenuIsUpdate)},
                                   {MenuNo(0), nullptr},
                                   {kMenuOpenCode, builtInMenuText(kMenuOpenCode)}};
  // The actions of the buttons and menus above, reached from the entry pointed at.
  static const MenuEntry entry[] = {{kMenuEntryShow, builtInMenuText(kMenuEntryShow)},
                                    {MenuNo(0), nullptr},
                                    {kMenuEntryCopyCode, builtInMenuText(kMenuEntryCopyCode)},
                                    {kMenuEntryCopyPath, builtInMenuText(kMenuEntryCopyPath)},
                                    {MenuNo(0), nullptr},
                                    {kMenuEntryEdit, builtInMenuText(kMenuEntryEdit)},
                                    {kMenuEntryOpen, builtInMenuText(kMenuEntryOpen)},
                                    {kMenuEntryShowFolder, builtInMenuText(kMenuEntryShowFolder)}};
  w.frame.events = &events;
  w.adminMenu = buildMenu(w, admin, G_N_ELEMENTS(admin));
  w.infoMenu = buildMenu(w, info, G_N_ELEMENTS(info));
  w.entryMenu = buildMenu(w, entry, G_N_ELEMENTS(entry));
}

bool createMainWindow(Viewer& v) {
  VL_TRACE();
  MainWindow& w = v.main;
  w.frame.no = kWinMain;
  w.frame.events = &v.events;
  if (!newMainWindow(w, v.app.settings)) return false;
  createToolbar(w);
  createPanes(v);
  setTooltips(w);
  setFocusOrder(w);
  GtkWidget* toggle = w.gadget[Main_NodeToggle];
  gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(toggle), TRUE);
  gtk_button_set_image(GTK_BUTTON(toggle), gtk_image_new_from_pixbuf(w.toggleImage[1]));
  g_signal_connect(toggle, "toggled", G_CALLBACK(onToggle), &w);
  connectWindow(w.frame);
  bindMainKeys(w.frame);
  g_signal_connect(w.frame.window, "configure-event", G_CALLBACK(onConfigure), &w);
  g_signal_connect(w.frame.window, "key-press-event", G_CALLBACK(onKeyPress), &w);
  gtk_widget_show_all(w.frame.fixed);
#ifndef VL_ADMIN_MODE
  gtk_widget_hide(w.gadget[AdminButton]);
#endif
  return true;
}

void layoutMainWindow(Viewer& v, bool windowResized) {
  MainWindow& w = v.main;
  int width = w.lastWidth;
  int height = w.lastHeight;
  GtkWidget* fixed = w.frame.fixed;
  moveTo(fixed, w.gadget[Main_Info], width - 34, 2);
  moveTo(fixed, w.gadget[Main_Help], width - 64, 2);
  moveTo(fixed, w.gadget[Main_Setting], width - 104, 2);
  moveTo(fixed, w.gadget[Main_Quickcopy], width - 134, 2);
  if (windowResized) gtk_widget_set_size_request(w.gadget[MainSplitter], width - 10, height - 38);
  int paneWidth = w.rightPaneWidth > 0 ? w.rightPaneWidth : 430;
  int paneHeight = w.rightPaneHeight > 0 ? w.rightPaneHeight : 560;
  gtk_widget_set_size_request(v.code.descriptionScroller, std::max(1, paneWidth - 7), 35);
  gtk_widget_set_size_request(v.code.codeScroller, std::max(1, paneWidth - 7), std::max(1, paneHeight - 51));
}

void settleMainWindow(Viewer& v) {
  gtk_paned_set_position(GTK_PANED(v.main.gadget[MainSplitter]), v.app.settings.splitter);
  layoutMainWindow(v, true);
  gtk_widget_grab_focus(v.main.gadget[Main_Find]);
}

WindowGeometry mainWindowGeometry(const MainWindow& w) {
  WindowGeometry g;
  gtk_window_get_position(GTK_WINDOW(w.frame.window), &g.x, &g.y);
  g.width = w.lastWidth;
  g.height = w.lastHeight;
  g.splitter = gtk_paned_get_position(GTK_PANED(w.gadget.find(MainSplitter)));
  return g;
}

void destroyMainWindow(MainWindow& w) {
  destroyFrame(w.frame);
  for (GdkPixbuf*& image : w.toggleImage) {
    if (image) g_object_unref(image);
    image = nullptr;
  }
}

void setMainTitle(MainWindow& w, const std::string& title) {
  gtk_window_set_title(GTK_WINDOW(w.frame.window), cutShownText(title).c_str());
}

void setHistoryItems(MainWindow& w, EventSink& events, const std::vector<HistoryItem>& items) {
  GtkComboBox* box = GTK_COMBO_BOX(w.gadget[Main_CbHistory]);
  SuppressEvents quiet(events);
  w.historyFiles.clear();
  gtk_list_store_clear(GTK_LIST_STORE(gtk_combo_box_get_model(box)));
  for (const HistoryItem& item : items) {
    w.historyFiles.push_back(item.fileName);
    gtk_combo_box_append_text(box, cutShownText(item.title).c_str());
  }
  if (!items.empty()) gtk_combo_box_set_active(box, 0);
  showHistoryFileName(w);
}

void focusFindField(MainWindow& w) {
  GtkWidget* field = w.gadget[Main_Find];
  gtk_widget_grab_focus(field);
  gtk_editable_select_region(GTK_EDITABLE(field), 0, -1);
}

void popupEntryMenu(Viewer& v, bool atSelectedRow) {
  // A theme has no code to copy or open.
  for (int no = kMenuEntryCopyCode; no <= kMenuEntryShowFolder; ++no)
    gtk_widget_set_sensitive(v.main.menuItem[no], !v.app.currentCodePath.empty());
  GdkRectangle row;
  if (!atSelectedRow || !selectedRowArea(v.index, &row)) {
    popupMenu(v.main.entryMenu);
    return;
  }
  // Opened from the keyboard, as the other menus: below the row, the first item chosen.
  popupMenuAt(v.main.entryMenu, row.x, row.y + row.height);
  gtk_menu_shell_select_first(GTK_MENU_SHELL(v.main.entryMenu), FALSE);
}

static void setLabel(GtkWidget* label, const char* text) {
  if (label) gtk_label_set_text(GTK_LABEL(label), text);
}

void showSourceFormatLabels(MainWindow& w, int sourceIsUtf8, int exeIsUnicode, int subsystemKind) {
  setLabel(w.gadget[LabelSrc], sourceIsUtf8 ? "Src: UTF8" : "Src: Ascii");
  setLabel(w.gadget[LabelExe], exeIsUnicode ? "Exe: UNI" : "Exe: Ascii");
  setLabel(w.gadget[LabelSub], subsystemKind == 1 ? "Sub: gtk2" : subsystemKind == 2 ? "Sub: gtk3" : "");
}

void setNodeToggle(MainWindow& w, EventSink& events, bool pressed) {
  SuppressEvents quiet(events);
  gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(w.gadget[Main_NodeToggle]), pressed);
}

bool nodeTogglePressed(const MainWindow& w) {
  return gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(w.gadget.find(Main_NodeToggle)));
}

GtkWidget* mainWindowGadget(const MainWindow& w, int no) { return w.gadget.find(no); }

GtkWidget* mainMenuItem(const MainWindow& w, int menuNo) {
  return menuNo > 0 && menuNo < kMenuNoCount ? w.menuItem[menuNo] : nullptr;
}
