#include "gui/index_view.h"

#include <algorithm>

#include "core/app/error_report.h"
#include "core/app/paths.h"
#include "core/codeview/process.h"
#include "core/database/index_builder.h"
#include "gui/index_tree_model.h"
#include "gui/widgets.h"

namespace {

GtkTreeView* treeOf(const IndexView& view) { return GTK_TREE_VIEW(view.tree); }

void post(IndexView* view, EventType type) { view->events->post(kEventGadget, kWinMain, IndexTree, type); }

// --- opening a large tree ---------------------------------------------------------
//
// Expanding 100,000 rows takes the toolkit longer than anything else between the
// database read and the first paint. The rows are therefore opened in document
// order, one row with children at a time (a parent always before its children):
// down to past the first screen at once, the rest in idle steps of a few
// milliseconds after the first paint. Rows open above the shown ones never move
// them. Anything done with the tree, by the program or the user, first opens the
// rest, so it always meets the fully expanded tree of the written start.

constexpr int kRowsOpenedAtOnce = 400;  // more than a screen holds
constexpr gint64 kOpenStepMicros = 4000;
constexpr int kDeepestOpenedSingly = 32;  // deeper trees get the toolkit's one call

void stopOpening(IndexView& view) {
  if (view.openSource) g_source_remove(view.openSource);
  view.openSource = 0;
  view.openIndex = nullptr;
}

void setColumnWidth(IndexView& view, const IndexModel& index, size_t rows);

// Every row is open: the column takes the width of the widest row of all.
void openedAll(IndexView& view) {
  setColumnWidth(view, *view.openIndex, view.openIndex->rowCount());
  view.openIndex = nullptr;
}

// Opens the rows from openNext through `last`, or until `deadline` (0: none) has
// passed. True once every row is open.
bool openRows(IndexView& view, size_t last, gint64 deadline) {
  const IndexModel& index = *view.openIndex;
  while (static_cast<size_t>(view.openNext) < index.rowCount() && static_cast<size_t>(view.openNext) <= last) {
    const auto row = static_cast<size_t>(view.openNext++);
    if (!rowHasChildren(index, row)) continue;
    if (index.level(row) >= kDeepestOpenedSingly) {  // paths this long make single steps slow
      gtk_tree_view_expand_all(treeOf(view));
      view.openNext = static_cast<int>(index.rowCount());
      break;
    }
    GtkTreePath* path = indexTreeModelPath(view.model, static_cast<int>(row));
    if (path) gtk_tree_view_expand_row(treeOf(view), path, FALSE);
    if (path) gtk_tree_path_free(path);
    if (deadline != 0 && g_get_monotonic_time() > deadline) break;
  }
  return static_cast<size_t>(view.openNext) >= index.rowCount();
}

gboolean openStep(gpointer data) {
  auto& view = *static_cast<IndexView*>(data);
  if (!openRows(view, SIZE_MAX, g_get_monotonic_time() + kOpenStepMicros)) return TRUE;
  view.openSource = 0;
  openedAll(view);
  return FALSE;
}

// Opens the rows through `row` and a screen below it at once; the idle steps go on
// from there.
void openThrough(IndexView& view, int row) {
  if (view.openIndex && row >= 0 && row >= view.openNext - kRowsOpenedAtOnce)
    openRows(view, static_cast<size_t>(row) + kRowsOpenedAtOnce, 0);
}

void finishOpening(IndexView& view) {
  if (!view.openIndex) return;
  openRows(view, SIZE_MAX, 0);
  openedAll(view);
  stopOpening(view);
}

void startOpening(IndexView& view, const IndexModel& index) {
  stopOpening(view);
  view.openIndex = &index;
  view.openNext = 0;
  if (openRows(view, kRowsOpenedAtOnce, 0))
    openedAll(view);
  else
    view.openSource = g_idle_add(openStep, &view);
}

// The user's own moves in the tree (keys, clicks, the wheel) act on the whole tree.
gboolean onUserInput(GtkWidget*, GdkEvent*, gpointer data) {
  finishOpening(*static_cast<IndexView*>(data));
  return FALSE;
}

// --- signals turned into events -------------------------------------------------

// Tree clicks count on release inside the tree; double clicks on the second press.
gboolean onButtonPress(GtkWidget*, GdkEventButton* e, gpointer data) {
  auto* view = static_cast<IndexView*>(data);
  if (e->type == GDK_BUTTON_PRESS && e->button == 1) {
    view->dragArmed = true;
    view->dragX = int(e->x);
    view->dragY = int(e->y);
  }
  // The context menu belongs to the row pointed at: it is selected (and shown) first.
  GtkTreePath* path = nullptr;
  if (e->type == GDK_BUTTON_PRESS && e->button == 3 &&
      gtk_tree_view_get_path_at_pos(treeOf(*view), int(e->x), int(e->y), &path, nullptr, nullptr, nullptr)) {
    gtk_tree_view_set_cursor(treeOf(*view), path, nullptr, FALSE);
    gtk_tree_path_free(path);
  }
  if (e->type == GDK_2BUTTON_PRESS && (e->button == 1 || e->button == 3))
    post(view, e->button == 1 ? kTypeLeftDoubleClick : kTypeRightDoubleClick);
  return FALSE;
}

gboolean onButtonRelease(GtkWidget* w, GdkEventButton* e, gpointer data) {
  auto* view = static_cast<IndexView*>(data);
  if (e->button == 1) view->dragArmed = false;
  GtkAllocation a;
  gtk_widget_get_allocation(w, &a);
  bool inside = e->x >= 0 && e->y >= 0 && e->x < a.width && e->y < a.height;
  if (inside && (e->button == 1 || e->button == 3)) post(view, e->button == 1 ? kTypeLeftClick : kTypeRightClick);
  return FALSE;
}

gboolean onMotion(GtkWidget* w, GdkEventMotion* e, gpointer data) {
  auto* view = static_cast<IndexView*>(data);
  if (view->dragArmed && (e->state & GDK_BUTTON1_MASK) &&
      gtk_drag_check_threshold(w, view->dragX, view->dragY, int(e->x), int(e->y))) {
    view->dragArmed = false;
    // The drag is begun later, by the event's handler; GTK needs this motion to
    // know where, when and with which button it started.
    if (view->dragMotion) gdk_event_free(view->dragMotion);
    view->dragMotion = gdk_event_copy(reinterpret_cast<GdkEvent*>(e));
    post(view, kTypeDragStart);
  }
  return FALSE;
}

void onSelectionChanged(GtkTreeSelection*, gpointer data) { post(static_cast<IndexView*>(data), kTypeChange); }

void onDragDataGet(GtkWidget*, GdkDragContext*, GtkSelectionData* data, guint, guint, gpointer user) {
  auto* view = static_cast<IndexView*>(user);
  gchar* uris[] = {const_cast<gchar*>(view->dragUri.c_str()), nullptr};
  gtk_selection_data_set_uris(data, uris);
}

// Fixed-height mode keeps a 100,000-row tree from measuring every row; the column
// then needs a width of its own, estimated from the longest of the first `rows`.
void setColumnWidth(IndexView& view, const IndexModel& index, size_t rows) {
  PangoContext* context = gtk_widget_get_pango_context(view.tree);
  PangoFontMetrics* metrics = pango_context_get_metrics(context, nullptr, nullptr);
  int charWidth = pango_font_metrics_get_approximate_char_width(metrics) / PANGO_SCALE;
  pango_font_metrics_unref(metrics);
  long widest = 0;
  for (size_t i = 0; i < std::min(rows, index.rowCount()); ++i) {
    const IndexRow row = index.row(i);
    long chars = g_utf8_strlen(row.text.data(), static_cast<gssize>(row.text.size()));
    widest = std::max(widest, (row.level + 1) * 20L + chars * std::max(charWidth, 6));
  }
  GtkTreeViewColumn* column = gtk_tree_view_get_column(treeOf(view), 0);
  gtk_tree_view_column_set_fixed_width(column, static_cast<int>(std::min(widest + 16, 30000L)));
}

// Folds the search texts a slice at a time when nothing else waits, so after the
// window is drawn: the first keystroke finds them ready, and no step holds input up
// for longer than a frame (2,000 items take about a millisecond).
gboolean foldSearchTextsStep(gpointer data) {
  IndexView& view = *static_cast<IndexView*>(data);
  AppState& app = *view.foldApp;
  const SettingsStore& s = app.settings;
  if (!foldSearchTexts(app.index, s.searchMode, s.language, 2000, &app.searchTexts)) return TRUE;
  view.foldSource = 0;
  return FALSE;
}

void stopFolding(IndexView& view) {
  if (view.foldSource) g_source_remove(view.foldSource);
  view.foldSource = 0;
}

void foldWhenIdle(IndexView& view, AppState& app) {
  stopFolding(view);
  view.foldApp = &app;
  view.foldSource = g_idle_add(foldSearchTextsStep, &view);
}

void detachModel(IndexView& view) {
  stopFolding(view);  // the index may be about to change
  stopOpening(view);
  if (!view.tree) return;
  SuppressEvents quiet(*view.events);
  gtk_tree_view_set_model(treeOf(view), nullptr);
  if (view.model) g_object_unref(view.model);
  view.model = nullptr;
}

// The column's width comes from the first `widthRows` rows.
void attachModel(IndexView& view, const IndexModel& index, size_t widthRows) {
  VL_TRACE();
  detachModel(view);
  GtkTreeViewColumn* column = gtk_tree_view_get_column(treeOf(view), 0);
  gtk_tree_view_column_set_sizing(column, GTK_TREE_VIEW_COLUMN_FIXED);
  setColumnWidth(view, index, widthRows);
  gtk_tree_view_set_fixed_height_mode(treeOf(view), TRUE);
  view.model = indexTreeModelNew(&index);
  SuppressEvents quiet(*view.events);
  gtk_tree_view_set_model(treeOf(view), view.model);
}

}  // namespace

GtkWidget* createIndexView(IndexView& view, EventSink& events) {
  view.events = &events;
  GtkWidget* tree = gtk_tree_view_new();
  view.tree = tree;
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
  g_signal_connect(selection, "changed", G_CALLBACK(onSelectionChanged), &view);
  gtk_widget_add_events(tree, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK | GDK_POINTER_MOTION_MASK);
  for (const char* signal : {"key-press-event", "button-press-event", "scroll-event"})
    g_signal_connect(tree, signal, G_CALLBACK(onUserInput), &view);
  g_signal_connect(tree, "button-press-event", G_CALLBACK(onButtonPress), &view);
  g_signal_connect(tree, "button-release-event", G_CALLBACK(onButtonRelease), &view);
  g_signal_connect(tree, "motion-notify-event", G_CALLBACK(onMotion), &view);
  g_signal_connect(tree, "drag-data-get", G_CALLBACK(onDragDataGet), &view);
  view.scroller = scrolledFrame(tree);
  GtkWidget* bar = gtk_scrolled_window_get_vscrollbar(GTK_SCROLLED_WINDOW(view.scroller));
  if (bar) g_signal_connect(bar, "button-press-event", G_CALLBACK(onUserInput), &view);
  return view.scroller;
}

void destroyIndexView(IndexView& view) {
  detachModel(view);
  if (view.dragMotion) gdk_event_free(view.dragMotion);
  view.dragMotion = nullptr;
}

void buildIndexView(IndexView& view, AppState& app) {
  VL_TRACE();
  detachModel(view);
  applyIndexLook(indexBuildOptions(app), &app.index);
  app.searchTexts = SearchBuffer();  // folded again from the new rows
  // The rows opened at once give the first width; all rows once they are open.
  attachModel(view, app.index, kRowsOpenedAtOnce + 1);
  foldWhenIdle(view, app);
}

void detachIndexModel(IndexView& view) { detachModel(view); }

bool indexStillOpening(const IndexView& view) { return view.openSource != 0; }

void expandAndCount(IndexView& view, AppState& app) {
  VL_TRACE();
  // The counts come from the rows with the same result as opening and inspecting
  // them one by one.
  startOpening(view, app.index);
  app.counts = countThemesAndEntries(app.index, app.libraryTitle);
}

void rebuildIndex(IndexView& view, AppState& app) {
  int row = selectedRow(view);
  detachModel(view);
  rebuildIndexModel(indexBuildOptions(app), &app.index);
  app.searchTexts = SearchBuffer();
  attachModel(view, app.index, app.index.rowCount());
  foldWhenIdle(view, app);
  gtk_tree_view_expand_all(treeOf(view));
  selectRow(view, row);
}

int selectedRow(const IndexView& view) {
  GtkTreeSelection* selection = gtk_tree_view_get_selection(treeOf(view));
  GtkTreeIter iter;
  if (!view.model || !gtk_tree_selection_get_selected(selection, nullptr, &iter)) return -1;
  return indexTreeModelRow(&iter);
}

void selectRow(IndexView& view, int row) {
  openThrough(view, row);
  SuppressEvents quiet(*view.events);
  GtkTreeSelection* selection = gtk_tree_view_get_selection(treeOf(view));
  GtkTreePath* path = view.model ? indexTreeModelPath(view.model, row) : nullptr;
  if (!path) {
    gtk_tree_selection_unselect_all(selection);
    return;
  }
  // A row inside a closed node is opened to; the row itself stays as it is.
  GtkTreePath* parent = gtk_tree_path_copy(path);
  if (gtk_tree_path_up(parent) && gtk_tree_path_get_depth(parent) > 0)
    gtk_tree_view_expand_to_path(treeOf(view), parent);
  gtk_tree_path_free(parent);
  gtk_tree_selection_select_path(selection, path);
  gtk_tree_view_set_cursor(treeOf(view), path, nullptr, FALSE);
  gtk_tree_path_free(path);
}

void expandAll(IndexView& view, bool expand) {
  finishOpening(view);
  if (expand)
    gtk_tree_view_expand_all(treeOf(view));
  else
    gtk_tree_view_collapse_all(treeOf(view));
}

void toggleRow(IndexView& view, int row) {
  finishOpening(view);
  GtkTreePath* path = indexTreeModelPath(view.model, row);
  if (!path) return;
  if (gtk_tree_view_row_expanded(treeOf(view), path))
    gtk_tree_view_collapse_row(treeOf(view), path);
  else
    gtk_tree_view_expand_row(treeOf(view), path, FALSE);
  gtk_tree_path_free(path);
  selectRow(view, row);
}

void expandRow(IndexView& view, int row) {
  finishOpening(view);
  GtkTreePath* path = view.model ? indexTreeModelPath(view.model, row) : nullptr;
  if (!path) return;
  gtk_tree_view_expand_row(treeOf(view), path, FALSE);
  gtk_tree_path_free(path);
}

void focusSelectedRow(IndexView& view) {
  gtk_widget_grab_focus(view.tree);
  int row = selectedRow(view);
  GtkTreePath* path = view.model ? indexTreeModelPath(view.model, row < 0 ? 0 : row) : nullptr;
  if (!path) return;
  gtk_tree_view_scroll_to_cell(treeOf(view), path, nullptr, FALSE, 0, 0);
  gtk_tree_path_free(path);
}

bool selectedRowArea(const IndexView& view, GdkRectangle* area) {
  int row = selectedRow(view);
  GtkTreePath* path = row < 0 ? nullptr : indexTreeModelPath(view.model, row);
  GdkWindow* bin = gtk_tree_view_get_bin_window(treeOf(view));
  if (!path || !bin) return false;
  gtk_tree_view_get_cell_area(treeOf(view), path, nullptr, area);
  gtk_tree_path_free(path);
  int x = 0, y = 0;
  gdk_window_get_origin(bin, &x, &y);
  area->x += x;
  area->y += y;
  return true;
}

std::string entryDragUri(const IndexView& view, const AppState& app) {
  int row = selectedRow(view);
  if (row < 0 || static_cast<size_t>(row) >= app.index.rowCount()) return std::string();
  std::string_view file = app.index.topic(row).file;
  if (file.empty()) return std::string();
  std::string full = externalCodePath(app.settings.libPath, file);  // "" when it leaves the library
  if (full.empty() || !fileExists(full)) return std::string();
  gchar* absolute = g_canonicalize_filename(full.c_str(), nullptr);
  gchar* uri = g_filename_to_uri(absolute, nullptr, nullptr);
  g_free(absolute);
  std::string result = uri ? uri : "";
  g_free(uri);
  return result;
}

// Entries are dragged out as file URIs, so they can be dropped into the editor.
void startEntryDrag(IndexView& view, const AppState& app) {
  view.dragUri = entryDragUri(view, app);
  if (view.dragUri.empty()) return;
  GtkTargetList* targets = gtk_target_list_new(nullptr, 0);
  gtk_target_list_add_uri_targets(targets, 0);
  gtk_drag_begin(view.tree, targets, GDK_ACTION_COPY, 1, view.dragMotion);
  gtk_target_list_unref(targets);
}

GtkWidget* indexViewGadget(const IndexView& view, int no) { return no == IndexTree ? view.tree : nullptr; }
