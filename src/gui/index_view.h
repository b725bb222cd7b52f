// The index tree of the main window: its tree view over the index rows, the
// selection, and the drag of an entry's file. The model is detached while the
// rows change and a new one is attached afterwards.
#pragma once

#include <string>

#include <gtk/gtk.h>

#include "core/app/app_state.h"
#include "gui/events.h"

struct IndexView {
  EventSink* events = nullptr;
  GtkWidget* tree = nullptr;
  GtkWidget* scroller = nullptr;
  GtkTreeModel* model = nullptr;  // shows the rows of AppState's index
  // The drag of an entry starts from the pointer motion that crossed the threshold.
  bool dragArmed = false;
  int dragX = 0, dragY = 0;
  GdkEvent* dragMotion = nullptr;
  std::string dragUri;
  // The search's folded texts are made in idle steps once the rows are shown.
  AppState* foldApp = nullptr;
  guint foldSource = 0;
  // The rows still to be opened after the first screen (see expandAndCount).
  const IndexModel* openIndex = nullptr;
  int openNext = 0;  // the first row not looked at yet
  guint openSource = 0;
};

// Builds the tree view in its scrolled window, which the main window places.
GtkWidget* createIndexView(IndexView& view, EventSink& events);
void destroyIndexView(IndexView& view);

// Shows the index the loader built, in the topic language and with the markers of
// now (the count pass is not run). The column is as wide as the first screens'
// rows until expandAndCount has opened them all.
void buildIndexView(IndexView& view, AppState& app);

// Takes the index away from the tree, which must not read it while it is replaced.
void detachIndexModel(IndexView& view);

// Expands every row and counts themes and entries. The rows from the first screen
// on are opened in idle steps; anything done with the tree finishes them first.
void expandAndCount(IndexView& view, AppState& app);
bool indexStillOpening(const IndexView& view);

// The rebuild of a language switch or a "DyeingNews" change: the selected row
// survives, the tree ends fully expanded.
void rebuildIndex(IndexView& view, AppState& app);

int selectedRow(const IndexView& view);    // -1 when nothing is selected
void selectRow(IndexView& view, int row);  // -1 clears the selection; posts no event
void expandAll(IndexView& view, bool expand);
// Opens the row when it is closed and closes it when it is open, keeping it selected.
void toggleRow(IndexView& view, int row);
void expandRow(IndexView& view, int row);
// The keyboard focus on the selected row (on the first row when none is selected).
void focusSelectedRow(IndexView& view);
// The selected row's place on the screen; false when no row is selected.
bool selectedRowArea(const IndexView& view, GdkRectangle* area);

// The file URI a drag of the selected entry hands out: empty for rows without a
// code file and for files that do not exist.
std::string entryDragUri(const IndexView& view, const AppState& app);
// Starts the drag of the selected entry's file, when it has one.
void startEntryDrag(IndexView& view, const AppState& app);

GtkWidget* indexViewGadget(const IndexView& view, int no);
