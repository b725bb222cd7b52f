// Window 0: the tool buttons, the history box, the splitter with the index tree and
// the right pane (the code view component's two views), the two popup menus and
// the keyboard shortcuts.
#pragma once

#include <string>
#include <vector>

#include <gtk/gtk.h>

#include "core/codeview/history.h"
#include "core/settings/settings_io.h"
#include "gui/widgets.h"

struct MainWindow {
  WindowFrame frame;
  GadgetWidgets<Main_NodeToggle, Main_CbHistory> gadget;  // IndexTree and the two views belong to their components
  GtkWidget* adminMenu = nullptr;
  GtkWidget* infoMenu = nullptr;
  GtkWidget* entryMenu = nullptr;          // the index entries' context menu
  GtkWidget* menuItem[kMenuNoCount] = {};  // by menu number
  std::vector<std::string> historyFiles;   // file names of the history items, for the tooltip
  GdkPixbuf* toggleImage[2] = {};          // node toggle: normal, pressed
  int lastWidth = 0;                       // inner size as last reported by a configure event
  int lastHeight = 0;
  int rightPaneWidth = 0;
  int rightPaneHeight = 0;
};

struct Viewer;

// The two popup menus are built early in the start-up, before any window.
void createPopupMenus(MainWindow& w, EventSink& events);

// Builds window 0 with its gadgets and places the index tree and the two views
// (not yet shown). False when it cannot be made.
bool createMainWindow(Viewer& v);

// The layout rule: buttons keep their distance to the right edge; on a window
// resize the splitter follows the window; the text views follow the right pane.
void layoutMainWindow(Viewer& v, bool windowResized);

// The last start-up step: the stored splitter position, the layout and the focus
// in the search field.
void settleMainWindow(Viewer& v);

// The window's place and size and the splitter position, as the settings store them.
WindowGeometry mainWindowGeometry(const MainWindow& w);

void destroyMainWindow(MainWindow& w);

void setMainTitle(MainWindow& w, const std::string& title);

// The history box: one item per entry, its title shown and its file name as the
// tooltip, the first one active, without an event.
void setHistoryItems(MainWindow& w, EventSink& events, const std::vector<HistoryItem>& items);

// Ctrl+F, Ctrl+L: the search field gets the focus with its text selected.
void focusFindField(MainWindow& w);

// The index entries' context menu: at the pointer, or below the selected row when
// the keyboard asked for it.
void popupEntryMenu(Viewer& v, bool atSelectedRow);

// The admin build's source-format labels ("Src: UTF8", ...).
void showSourceFormatLabels(MainWindow& w, int sourceIsUtf8, int exeIsUnicode, int subsystemKind);

void setNodeToggle(MainWindow& w, EventSink& events, bool pressed);
bool nodeTogglePressed(const MainWindow& w);

GtkWidget* mainWindowGadget(const MainWindow& w, int no);
GtkWidget* mainMenuItem(const MainWindow& w, int menuNo);

// The dispatch table of window 0: layout, tool buttons, history, help, keys.
HandlerTable mainWindowHandlers();
