// The match list popup and the hand-over of the code read in the background.
#include "gui/match_list.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>

#include <gdk/gdkkeysyms.h>

#include "core/app/app_state.h"
#include "core/app/paths.h"
#include "core/search/code_search.h"
#include "core/search/match_list_text.h"
#include "core/settings/language_file.h"
#include "core/settings/language_keys.h"
#include "core/text/utf8.h"
#include "gui/index_view.h"
#include "gui/search.h"
#include "gui/viewer.h"
#include "gui/widgets.h"

namespace {

enum { kColumnItem, kColumnMarkup, kColumnCount };

// Rows are described (and their code lines read) a batch at a time: the first
// batch at once, the next when the list is scrolled or walked to its end.
constexpr int kRowBatch = 40;
constexpr int kListWidth = 460;
constexpr int kListHeight = 250;  // a page; fewer rows make the list shorter

// A line cut from a file changed since it was read may hold broken UTF-8, which
// the markup parser refuses.
std::string escaped(std::string_view text) {
  std::string valid = repairUtf8(text);
  gchar* e = g_markup_escape_text(valid.data(), static_cast<gssize>(valid.size()));
  std::string out = e;
  g_free(e);
  return out;
}

std::string rowMarkup(const MatchRow& row) {
  std::string markup = "<b>" + escaped(row.title) + "</b>";
  if (!row.theme.empty()) markup += "  <span size=\"small\" foreground=\"#707070\">" + escaped(row.theme) + "</span>";
  if (row.codeLine.empty()) return markup;
  std::string_view line = row.codeLine;
  return markup + "\n<tt>" + escaped(line.substr(0, row.termBegin)) + "<b>" +
         escaped(line.substr(row.termBegin, row.termLength)) + "</b>" +
         escaped(line.substr(row.termBegin + row.termLength)) + "</tt>";
}

int filledRows(const MatchList& list) { return gtk_tree_model_iter_n_children(GTK_TREE_MODEL(list.store), nullptr); }

void fillRows(MatchList& list, int upTo) {
  const AppState& app = *list.app;
  for (int i = filledRows(list); i < upTo && i < static_cast<int>(list.items.size()); ++i) {
    int item = list.items[static_cast<size_t>(i)];
    static const CodeBuffer kNoCode;
    std::string path;
    if (list.withCode && static_cast<size_t>(item) < app.index.rowCount() &&
        !app.index.topic(static_cast<size_t>(item)).file.empty())
      path = joinLibraryPath(app.settings.libPath, app.index.topic(static_cast<size_t>(item)).file);
    MatchRow row = describeMatch(app.index, list.withCode ? app.codeTexts : kNoCode, list.term, item, path);
    GtkTreeIter iter;
    gtk_list_store_append(list.store, &iter);
    gtk_list_store_set(list.store, &iter, kColumnItem, item, kColumnMarkup, rowMarkup(row).c_str(), -1);
  }
}

void showHeader(Viewer& v) {
  MatchList& list = v.matches;
  const CodeReadProgress* reading = list.withCode ? &list.progress : nullptr;
  std::string text = matchListHeader(list.items.size(), reading, matchListText(v, "#Main_ListMatches"),
                                     matchListText(v, "#Main_ListReading"));
  gtk_label_set_text(GTK_LABEL(list.header), text.c_str());
}

void placeUnderField(MatchList& list) {
  GdkWindow* fieldWindow = gtk_widget_get_window(list.field);
  if (!fieldWindow) return;
  gint x = 0, y = 0;
  gdk_window_get_origin(fieldWindow, &x, &y);
  GtkAllocation a;
  gtk_widget_get_allocation(list.field, &a);
  gtk_window_move(GTK_WINDOW(list.popup), x, y + a.height);
}

// As tall as the rows filled, at most a page, as the toolkit's entry completion.
void fitHeight(MatchList& list) {
  GtkRequisition rows;
  gtk_widget_size_request(list.rows, &rows);
  gtk_widget_set_size_request(list.scroller, kListWidth, std::min(kListHeight, rows.height + 2));
  gtk_window_resize(GTK_WINDOW(list.popup), 1, 1);
}

bool fieldHasFocus(const MatchList& list) {
  return gtk_window_get_focus(GTK_WINDOW(gtk_widget_get_toplevel(list.field))) == list.field;
}

int cursorRow(const MatchList& list) {
  GtkTreePath* path = nullptr;
  gtk_tree_view_get_cursor(GTK_TREE_VIEW(list.rows), &path, nullptr);
  if (!path) return -1;
  int row = gtk_tree_path_get_indices(path)[0];
  gtk_tree_path_free(path);
  return row;
}

void setCursorRow(MatchList& list, int row) {
  GtkTreePath* path = gtk_tree_path_new_from_indices(row, -1);
  gtk_tree_view_set_cursor(GTK_TREE_VIEW(list.rows), path, nullptr, FALSE);
  gtk_tree_view_scroll_to_cell(GTK_TREE_VIEW(list.rows), path, nullptr, FALSE, 0, 0);
  gtk_tree_path_free(path);
}

bool moveCursor(MatchList& list, int step) {
  int row = cursorRow(list);
  int next = row < 0 ? 0 : row + step;
  if (next >= filledRows(list) - 1) fillRows(list, filledRows(list) + kRowBatch);
  if (next < 0 || next >= filledRows(list)) return true;
  setCursorRow(list, next);
  return true;
}

// Shows the entry of the cursor row; false when no row is under the cursor.
bool chooseCursorRow(MatchList& list) {
  int row = cursorRow(list);
  if (row < 0 || row >= static_cast<int>(list.items.size())) return false;
  int item = list.items[static_cast<size_t>(row)];
  hideMatchList(list);
  // The road of a click in the tree: the selection changes, then the click on the
  // entry shown records it in the history.
  selectRow(*list.index, item);
  list.events->post(kEventGadget, kWinMain, IndexTree, kTypeChange);
  list.events->post(kEventGadget, kWinMain, IndexTree, kTypeLeftClick);
  return true;
}

// --- signals --------------------------------------------------------------------

gboolean onRowsClicked(GtkWidget* rows, GdkEventButton* event, gpointer data) {
  auto* list = static_cast<MatchList*>(data);
  GtkTreePath* path = nullptr;
  if (event->button != 1 ||
      !gtk_tree_view_get_path_at_pos(GTK_TREE_VIEW(rows), static_cast<gint>(event->x), static_cast<gint>(event->y),
                                     &path, nullptr, nullptr, nullptr))
    return FALSE;
  setCursorRow(*list, gtk_tree_path_get_indices(path)[0]);
  gtk_tree_path_free(path);
  chooseCursorRow(*list);
  return TRUE;
}

void onScrolled(GtkAdjustment* adjustment, gpointer data) {
  auto* list = static_cast<MatchList*>(data);
  double value = gtk_adjustment_get_value(adjustment);
  if (value + 2 * gtk_adjustment_get_page_size(adjustment) >= gtk_adjustment_get_upper(adjustment))
    fillRows(*list, filledRows(*list) + kRowBatch);
}

// Down, Return and Escape reach matchListKey through the main window's key table.
gboolean onFieldKey(GtkWidget*, GdkEventKey* event, gpointer data) {
  auto* list = static_cast<MatchList*>(data);
  if (event->keyval == GDK_KEY_Up || event->keyval == GDK_KEY_KP_Up) return matchListKey(*list, MatchListKey::Up);
  return FALSE;
}

bool pointerOverList(const MatchList& list) {
  GdkWindow* window = list.popup ? gtk_widget_get_window(list.popup) : nullptr;
  if (!window) return false;
  gint x = -1, y = -1;
  gdk_window_get_pointer(window, &x, &y, nullptr);
  GtkAllocation a;
  gtk_widget_get_allocation(list.popup, &a);
  return x >= 0 && y >= 0 && x < a.width && y < a.height;
}

// Where the keyboard focus follows the pointer, reaching for a row takes the focus
// from the field: the list stays while the pointer is over it.
gboolean onFieldFocusOut(GtkWidget*, GdkEventFocus*, gpointer data) {
  auto* list = static_cast<MatchList*>(data);
  if (!pointerOverList(*list)) hideMatchList(*list);
  return FALSE;
}

// The reading thread only writes to the pipe; the chunks are taken here, on the
// main loop's thread.
void wakeOwner(void* data) {
  auto* list = static_cast<MatchList*>(data);
  char byte = 1;
  if (write(list->wakePipe[1], &byte, 1) < 0) {
    // A full pipe already holds a wake-up.
  }
}

// The end of the reading completes the list, and searches again for a term typed
// while it ran that was not found, unless the user has left the field since.
void showCodeRead(Viewer& v) {
  MatchList& list = v.matches;
  bool searchAgain = list.progress.finished && list.searchWhenRead && fieldHasFocus(list);
  if (list.progress.finished) list.searchWhenRead = false;
  if (searchAgain) findInIndex(v, widgetText(list.field), false);
  if (searchAgain || (list.progress.finished && matchListShown(list)))
    updateMatchList(v);
  else if (matchListShown(list))
    showHeader(v);
}

gboolean onCodeRead(GIOChannel*, GIOCondition, gpointer data) {
  Viewer& v = *static_cast<Viewer*>(data);
  MatchList& list = v.matches;
  char bytes[64];
  while (read(list.wakePipe[0], bytes, sizeof bytes) > 0) {
  }
  std::vector<CodeChunk> chunks;
  takeCodeChunks(&list.reader, &chunks, &list.progress);
  for (CodeChunk& chunk : chunks) addCodeChunk(&v.app.codeTexts, std::move(chunk));
  showCodeRead(v);
  return TRUE;
}

GtkWidget* buildRows(MatchList& list) {
  list.store = gtk_list_store_new(kColumnCount, G_TYPE_INT, G_TYPE_STRING);
  GtkWidget* rows = gtk_tree_view_new_with_model(GTK_TREE_MODEL(list.store));
  gtk_tree_view_set_headers_visible(GTK_TREE_VIEW(rows), FALSE);
  GtkCellRenderer* cell = gtk_cell_renderer_text_new();
  g_object_set(cell, "ellipsize", PANGO_ELLIPSIZE_END, nullptr);
  gtk_tree_view_insert_column_with_attributes(GTK_TREE_VIEW(rows), -1, "", cell, "markup", kColumnMarkup, nullptr);
  g_signal_connect(rows, "button-press-event", G_CALLBACK(onRowsClicked), &list);
  return rows;
}

}  // namespace

void createMatchList(Viewer& v) {
  MatchList& list = v.matches;
  list.events = &v.events;
  list.index = &v.index;
  list.app = &v.app;
  list.field = mainWindowGadget(v.main, Main_Find);
  list.popup = gtk_window_new(GTK_WINDOW_POPUP);
  GtkWidget* frame = gtk_frame_new(nullptr);
  gtk_frame_set_shadow_type(GTK_FRAME(frame), GTK_SHADOW_OUT);
  GtkWidget* box = gtk_vbox_new(FALSE, 2);
  list.header = gtk_label_new("");
  gtk_misc_set_alignment(GTK_MISC(list.header), 0, 0.5);
  gtk_misc_set_padding(GTK_MISC(list.header), 4, 2);
  list.rows = buildRows(list);
  list.scroller = gtk_scrolled_window_new(nullptr, nullptr);
  gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(list.scroller), GTK_POLICY_NEVER, GTK_POLICY_AUTOMATIC);
  gtk_container_add(GTK_CONTAINER(list.scroller), list.rows);
  gtk_widget_set_size_request(list.scroller, kListWidth, kListHeight);
  g_signal_connect(gtk_scrolled_window_get_vadjustment(GTK_SCROLLED_WINDOW(list.scroller)), "value-changed",
                   G_CALLBACK(onScrolled), &list);
  gtk_box_pack_start(GTK_BOX(box), list.header, FALSE, FALSE, 0);
  gtk_box_pack_start(GTK_BOX(box), list.scroller, TRUE, TRUE, 0);
  gtk_container_add(GTK_CONTAINER(frame), box);
  gtk_container_add(GTK_CONTAINER(list.popup), frame);
  gtk_widget_show_all(frame);
  g_signal_connect(list.field, "key-press-event", G_CALLBACK(onFieldKey), &list);
  g_signal_connect(list.field, "focus-out-event", G_CALLBACK(onFieldFocusOut), &list);

  list.reader.notify = wakeOwner;
  list.reader.userData = &list;
  if (pipe2(list.wakePipe, O_CLOEXEC | O_NONBLOCK) == 0) {
    GIOChannel* channel = g_io_channel_unix_new(list.wakePipe[0]);
    list.wakeWatch = g_io_add_watch(channel, G_IO_IN, onCodeRead, &v);
    g_io_channel_unref(channel);
  }
}

void destroyMatchList(MatchList& list) {
  stopCodeReading(&list.reader);
  if (list.wakeWatch) g_source_remove(list.wakeWatch);
  list.wakeWatch = 0;
  for (int& fd : list.wakePipe) {
    if (fd >= 0) close(fd);
    fd = -1;
  }
  if (list.popup) gtk_widget_destroy(list.popup);
  list.popup = nullptr;
  if (list.store) g_object_unref(list.store);
  list.store = nullptr;
}

void syncCodeReading(Viewer& v, bool restart) {
  MatchList& list = v.matches;
  AppState& app = v.app;
  bool wanted = app.settings.searchMode == kSearchModeWithCode && list.wakeWatch != 0;
  bool started = list.progress.itemCount > 0 || list.progress.finished;
  if (wanted && started && !restart) return;
  stopCodeReading(&list.reader);
  app.codeTexts = CodeBuffer{};
  list.progress = CodeReadProgress{};
  if (!wanted) return;
  std::vector<std::string> paths = codeFilePaths(app.index, app.settings.libPath);
  list.progress.itemCount = paths.size();
  startCodeReading(&list.reader, std::move(paths));
}

// The language file is read by the language switch; reading it here would tell of
// a missing file at a keystroke.
std::string matchListText(Viewer& v, const char* key) {
  const LanguageTable& table = v.app.languageTable;
  std::string text;
  std::string code(languageCodeOf(v.app.settings.language));
  if (table.loaded && findLangText(table, key, false, code, &text)) return text;
  return germanUiText(key, false);
}

bool codeStillReading(const MatchList& list) { return list.progress.itemCount > 0 && !list.progress.finished; }

void updateMatchList(Viewer& v) {
  MatchList& list = v.matches;
  AppState& app = v.app;
  if (!list.popup) return;
  // As the toolkit's completion, the list belongs to the user's typing: a text set
  // while the focus is elsewhere opens none.
  if (!fieldHasFocus(list)) {
    hideMatchList(list);
    return;
  }
  std::string term = widgetText(list.field);
  std::vector<int> items = term.empty() ? std::vector<int>{}
                                        : collectMatches(&app.searchTexts, app.codeTexts, app.index,
                                                         app.settings.searchMode, app.settings.language, term);
  showMatchItems(v, term, std::move(items));
}

void showMatchItems(Viewer& v, const std::string& term, std::vector<int> items) {
  MatchList& list = v.matches;
  if (!list.popup) return;
  if (!fieldHasFocus(list)) {
    hideMatchList(list);
    return;
  }
  list.term = term;
  list.withCode = v.app.settings.searchMode == kSearchModeWithCode;
  list.items = std::move(items);
  if (list.items.empty()) {
    hideMatchList(list);
    return;
  }
  gtk_list_store_clear(list.store);
  fillRows(list, kRowBatch);
  showHeader(v);
  fitHeight(list);
  placeUnderField(list);
  gtk_widget_show(list.popup);
  gtk_adjustment_set_value(gtk_scrolled_window_get_vadjustment(GTK_SCROLLED_WINDOW(list.scroller)), 0);
}

bool matchListShown(const MatchList& list) { return list.popup && gtk_widget_get_visible(list.popup); }

void hideMatchList(MatchList& list) {
  if (list.popup) gtk_widget_hide(list.popup);
}

bool matchListKey(MatchList& list, MatchListKey key) {
  if (!matchListShown(list)) return false;
  switch (key) {
    case MatchListKey::Down:
      return moveCursor(list, 1);
    case MatchListKey::Up:
      return moveCursor(list, -1);
    case MatchListKey::Return:
      return chooseCursorRow(list);
    case MatchListKey::Escape:
      hideMatchList(list);
      return true;
  }
  return false;
}

std::string matchListHeaderText(const MatchList& list) {
  return list.header ? gtk_label_get_text(GTK_LABEL(list.header)) : "";
}

std::vector<std::string> matchListRowTexts(const MatchList& list) {
  std::vector<std::string> texts;
  GtkTreeIter iter;
  GtkTreeModel* model = GTK_TREE_MODEL(list.store);
  for (bool more = list.store && gtk_tree_model_get_iter_first(model, &iter); more;
       more = gtk_tree_model_iter_next(model, &iter)) {
    gchar* markup = nullptr;
    gtk_tree_model_get(model, &iter, kColumnMarkup, &markup, -1);
    gchar* plain = nullptr;
    pango_parse_markup(markup, -1, 0, nullptr, &plain, nullptr, nullptr);
    texts.push_back(plain ? plain : "");
    g_free(plain);
    g_free(markup);
  }
  return texts;
}
