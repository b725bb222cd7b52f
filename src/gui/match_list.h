// The match list under the search field: every entry the term matches, in tree
// order, with a count; for a match in the code its code line with the term in bold.
// A popup beside the field like the toolkit's entry completion: the focus stays in
// the field, Down and Up move through the list. The component also owns the
// background reading of the code for search mode 3.
#pragma once

#include <string>
#include <vector>

#include <gtk/gtk.h>

#include "core/search/code_reader.h"
#include "gui/events.h"

struct AppState;
struct IndexView;

struct MatchList {
  EventSink* events = nullptr;
  IndexView* index = nullptr;
  AppState* app = nullptr;
  GtkWidget* field = nullptr;  // the search field the list belongs to
  GtkWidget* popup = nullptr;
  GtkWidget* header = nullptr;
  GtkWidget* scroller = nullptr;
  GtkWidget* rows = nullptr;  // tree view over `store`
  GtkListStore* store = nullptr;
  std::vector<int> items;  // every match; the store holds the first `filled`
  std::string term;
  bool withCode = false;

  CodeReader reader;
  CodeReadProgress progress;
  bool searchWhenRead = false;  // a term not found while reading is searched again at its end
  int wakePipe[2] = {-1, -1};   // the reading thread writes a byte, the main loop watches
  guint wakeWatch = 0;
};

struct Viewer;

// Builds the hidden popup for the main window's search field and the wake-up pipe.
void createMatchList(Viewer& v);
void destroyMatchList(MatchList& list);

// Reads the code in the background when the search mode searches it (again after a
// database load, `restart`), and drops it when the mode no longer does.
void syncCodeReading(Viewer& v, bool restart);

// A text of the list's header in the interface language, from the language file
// the language switch has read; the built-in German one before or without it.
std::string matchListText(Viewer& v, const char* key);

// True while search mode 3's code is still being read: a term not found may stand
// in code not read yet.
bool codeStillReading(const MatchList& list);

// Shows the matches of the field's term, or hides the list when there are none.
void updateMatchList(Viewer& v);
// The same with the matches of `term` already collected (collectMatches).
void showMatchItems(Viewer& v, const std::string& term, std::vector<int> items);
bool matchListShown(const MatchList& list);
void hideMatchList(MatchList& list);

// Every key the open list takes from the search field, decided here (the field's
// Up comes straight, Down, Return and Escape through the main window's key
// table): Down and Up walk its rows, Return shows the entry of the row walked to as a click in the tree
// would, Escape closes it and leaves the focus in the field. False when the list is
// not open, or on Return when no row was walked to: the key then does what it does
// without the list (Return finds the next match, Escape ends the program).
enum class MatchListKey { Down, Up, Return, Escape };
bool matchListKey(MatchList& list, MatchListKey key);

// What the list shows, for the tests: the header and the row texts without markup.
std::string matchListHeaderText(const MatchList& list);
std::vector<std::string> matchListRowTexts(const MatchList& list);
