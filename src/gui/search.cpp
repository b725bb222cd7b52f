// The index search: finding, selecting, and the not-found hints.
#include "gui/search.h"

#include "core/app/error_report.h"
#include "core/app/search_text.h"
#include "gui/code_view.h"
#include "gui/index_view.h"
#include "gui/widgets.h"

static constexpr int kTraceFileId = 41;

namespace {

constexpr int kShakeAmplitude = 5;

SearchBuffer& searchBuffer() {
  static SearchBuffer buffer;
  return buffer;
}

// A character typed at the end that makes the term unfindable is taken out again;
// the shortened text starts a new search through the field's change event.
void dropLastTypedCharacter(GtkWidget* field) {
  GtkEditable* editable = GTK_EDITABLE(field);
  gint cursor = gtk_editable_get_position(editable);
  const char* text = gtk_entry_get_text(GTK_ENTRY(field));
  if (cursor <= 0 || cursor != g_utf8_strlen(text, -1)) return;
  gtk_editable_delete_text(editable, cursor - 1, cursor);
}

void giveNotFoundHint(Viewer& v, int window, int fieldGadget) {
  GtkWidget* top = v.gui.window[window];
  GtkWidget* field = v.gui.gadget[fieldGadget];
  switch (v.app.settings.searchHint) {
    case 1:
      shakeWindow(top, kShakeAmplitude);
      break;
    case 2:
      flashGadget(v, fieldGadget);
      break;
    default:
      setBackground(field, v.app.alertColor);
      gtk_widget_queue_draw(field);
      processPendingEvents();
      shakeWindow(top, kShakeAmplitude);
      setBackground(field, kNoColor);
      break;
  }
}

void moveAndShow(GtkWidget* window, int x, int y) {
  gtk_window_move(GTK_WINDOW(window), x, y);
  // The move itself is carried out by GTK's resize pass, which runs with the pending events.
  processPendingEvents();
  // GTK holds back the next move until the server has confirmed this one; waiting for
  // the server here keeps a quick shake from losing a step.
  gdk_display_sync(gtk_widget_get_display(window));
  processPendingEvents();
  GdkWindow* gdkWindow = gtk_widget_get_window(window);
  if (gdkWindow) gdk_window_process_updates(gdkWindow, TRUE);
}

std::string fieldText(Viewer& v) { return widgetText(v.gui.gadget[Main_Find]); }

}  // namespace

void forgetSearchTexts() { searchBuffer() = SearchBuffer(); }

void shakeWindow(GtkWidget* window, int amplitude) {
  VL_TRACE();
  if (!window || !gtk_widget_get_visible(window)) return;
  int x = 0;
  int y = 0;
  gtk_window_get_position(GTK_WINDOW(window), &x, &y);
  for (int i = 0; i < 2; ++i) {
    moveAndShow(window, x + amplitude, y);
    sleepMs(80);
    moveAndShow(window, x - amplitude, y);
    sleepMs(80);
  }
  moveAndShow(window, x, y);
}

void FindInIndex(Viewer& v, int window, int treeGadget, int fieldGadget, const std::string& term, int continueSearch) {
  VL_TRACE();
  if (term.empty()) return;
  const AppState& app = v.app;
  int from = continueSearch ? selectedRow(v) + 1 : 0;
  int item = findSearchItem(&searchBuffer(), app.index, app.settings.searchMode, app.settings.language, term, from);
  if (item >= 0 && item < static_cast<int>(app.index.rows.size())) {
    selectRow(v, item);
    v.gui.events.post(Event{kEventGadget, window, treeGadget, kTypeChange});
    return;
  }
  if (!continueSearch) dropLastTypedCharacter(v.gui.gadget[fieldGadget]);
  giveNotFoundHint(v, window, fieldGadget);
}

void onFindNext(Viewer& v, const Event&) { FindInIndex(v, kWinMain, IndexTree, Main_Find, fieldText(v), 1); }

void onFindFieldChanged(Viewer& v, const Event& e) {
  if (e.type == kTypeChange) FindInIndex(v, kWinMain, IndexTree, Main_Find, fieldText(v), 0);
}

void onReturnKey(Viewer& v, const Event& e) {
  if (gtk_window_get_focus(GTK_WINDOW(v.gui.window[kWinMain])) == v.gui.gadget[Main_Find]) onFindNext(v, e);
}
