// The index search: finding, selecting, and the not-found hints.
#include "gui/search.h"

#include "core/app/error_report.h"
#include "core/app/search_text.h"
#include "core/search/code_search.h"
#include "gui/match_list.h"
#include "gui/viewer.h"
#include "gui/widgets.h"

namespace {

constexpr int kShakeAmplitude = 5;

GtkWidget* findField(Viewer& v) { return v.main.gadget[Main_Find]; }

// A character typed at the end that makes the term unfindable is taken out again,
// and the shortened text starts a new search through the field's change event. A
// paste is cut back to its longest findable prefix in one step, where one deletion
// after another would end there too, with a search and a hint for each character.
void dropUnfindableTail(Viewer& v, GtkWidget* field) {
  GtkEditable* editable = GTK_EDITABLE(field);
  gint cursor = gtk_editable_get_position(editable);
  const char* text = gtk_entry_get_text(GTK_ENTRY(field));
  if (cursor <= 0 || cursor != g_utf8_strlen(text, -1)) return;
  AppState& app = v.app;
  size_t keep = 0;
  if (app.settings.searchMode != kSearchModeWithCode) {
    keep = longestFindablePrefix(&app.searchTexts, app.index, app.settings.searchMode, app.settings.language, text);
  } else {
    // A prefix of a findable term is findable too, so the longest one is found by halves.
    auto found = [&](gint chars) {
      std::string prefix(text, static_cast<size_t>(g_utf8_offset_to_pointer(text, chars) - text));
      return chars == 0 ||
             findCodeSearchItem(&app.searchTexts, app.codeTexts, app.index, app.settings.language, prefix, 0) >= 0;
    };
    gint lo = 0, hi = cursor;  // found, not found
    if (found(cursor - 1)) lo = cursor - 1;
    while (hi - lo > 1) {
      gint mid = lo + (hi - lo) / 2;
      (found(mid) ? lo : hi) = mid;
    }
    keep = static_cast<size_t>(lo);
  }
  if (keep < static_cast<size_t>(cursor)) gtk_editable_delete_text(editable, static_cast<gint>(keep), cursor);
}

void giveNotFoundHint(Viewer& v) {
  GtkWidget* top = v.main.frame.window;
  GtkWidget* field = findField(v);
  switch (v.app.settings.searchHint) {
    case 1:
      shakeWindow(top, kShakeAmplitude);
      break;
    case 2:
      flashWidget(field, v.app.alertColor, kNoColor);
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

}  // namespace

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

namespace {

// Selects the item found (-1: none) or gives the hints of a term not found.
void takeFoundItem(Viewer& v, int item, bool continueSearch) {
  AppState& app = v.app;
  if (!continueSearch) v.matches.searchWhenRead = false;
  if (item >= 0 && item < static_cast<int>(app.index.rowCount())) {
    selectRow(v.index, item);
    v.events.queue.post(Event{kEventGadget, kWinMain, IndexTree, kTypeChange});
    return;
  }
  // Taking back a character that may stand in code not read yet would cut an API
  // name while it is typed: the term waits for the end of the reading instead.
  if (!continueSearch && codeStillReading(v.matches)) {
    v.matches.searchWhenRead = true;
    return;
  }
  if (!continueSearch) dropUnfindableTail(v, findField(v));
  giveNotFoundHint(v);
}

}  // namespace

void findInIndex(Viewer& v, const std::string& term, bool continueSearch) {
  VL_TRACE();
  if (term.empty()) {
    if (!continueSearch) v.matches.searchWhenRead = false;
    return;
  }
  AppState& app = v.app;
  int from = continueSearch ? selectedRow(v.index) + 1 : 0;
  int item =
      app.settings.searchMode == kSearchModeWithCode
          ? findCodeSearchItem(&app.searchTexts, app.codeTexts, app.index, app.settings.language, term, from)
          : findSearchItem(&app.searchTexts, app.index, app.settings.searchMode, app.settings.language, term, from);
  takeFoundItem(v, item, continueSearch);
}

void onFindNext(Viewer& v, const Event&) { findInIndex(v, widgetText(findField(v)), true); }

// A new term is searched from the top, so its first match is the first item of the
// match list: one pass through the texts and the code serves both.
void onFindFieldChanged(Viewer& v, const Event& e) {
  if (e.type != kTypeChange) return;
  const std::string term = widgetText(findField(v));
  if (term.empty()) {
    findInIndex(v, term, false);
    updateMatchList(v);
    return;
  }
  AppState& app = v.app;
  std::vector<int> items =
      collectMatches(&app.searchTexts, app.codeTexts, app.index, app.settings.searchMode, app.settings.language, term);
  takeFoundItem(v, items.empty() ? -1 : items.front(), false);
  // A term not found may have been cut back: the list then shows the field's text.
  if (items.empty())
    updateMatchList(v);
  else
    showMatchItems(v, term, std::move(items));
}

// Return on a row the user walked to in the match list shows that entry; otherwise
// it finds the next match.
void onReturnKey(Viewer& v, const Event& e) {
  if (gtk_window_get_focus(GTK_WINDOW(v.main.frame.window)) != findField(v)) return;
  if (!matchListKey(v.matches, MatchListKey::Return)) onFindNext(v, e);
}
