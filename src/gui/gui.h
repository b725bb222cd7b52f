// The widgets of the four windows, by window and gadget number, and the GTK-side
// state of the main loop. Owned by the viewer for the whole run.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <gtk/gtk.h>

#include "core/app/app_state.h"
#include "gui/events.h"

// A topic link in the code view: its anchor holds a label once the line is near
// the visible part of the view.
struct CodeLink {
  GtkTextChildAnchor* anchor = nullptr;  // referenced while listed
  int offset = 0;                        // of the anchor character
  std::string target;
  bool shown = false;
};

struct Gui {
  GtkWidget* window[kWindowCount] = {};
  GtkWidget* fixed[kWindowCount] = {};     // each window's absolute-position container
  GtkWidget* gadget[kGadgetCount] = {};    // the widget that carries the gadget's text or state
  GtkWidget* scroller[kGadgetCount] = {};  // scrolled window around a tree or text view
  GtkWidget* adminMenu = nullptr;
  GtkWidget* infoMenu = nullptr;
  GtkWidget* menuItem[23] = {};
  GtkTreeModel* treeModel = nullptr;  // the index model shown in IndexTree
  GtkAccelGroup* accel[kWindowCount] = {};
  PangoTabArray* tabArray = nullptr;
  GdkPixbuf* toggleImage[2] = {};  // node toggle: normal, pressed
  int lastWidth = 0;               // inner size as last reported by a configure event
  int lastHeight = 0;
  int rightPaneWidth = 0;
  int rightPaneHeight = 0;
  std::vector<CodeLink> codeLinks;  // in text order
  std::string droppedFiles;         // file names of the last drop, one a line
  bool suppressEvents = false;      // set while the program itself changes widgets
  EventQueue events;
};

// The one viewer instance: program state and its widgets.
struct Viewer {
  AppState app;
  Gui gui;
};

Viewer& viewer();
