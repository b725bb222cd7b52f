// The viewer as a whole: program state, the event sink, the dispatch tables the
// components registered, and the window components. Start-up, the end sequence.
#pragma once

#include <string>
#include <vector>

#include "core/app/app_state.h"
#include "core/app/error_report.h"
#include "core/database/database_prefetch.h"
#include "gui/code_view.h"
#include "gui/database_info_window.h"
#include "gui/events.h"
#include "gui/index_view.h"
#include "gui/main_window.h"
#include "gui/match_list.h"
#include "gui/settings_window.h"
#include "gui/update_window.h"

struct Viewer {
  AppState app;
  DatabasePrefetch databasePrefetch;  // the first read of the database, begun before the toolkit starts
  EventSink events;
  std::vector<HandlerTable> handlers;  // searched in order; the main window's first
  MainWindow main;
  IndexView index;
  CodePane code;
  SettingsWindow settings;
  InfoWindow info;
  UpdateWindow update;
  MatchList matches;
};

struct StartOptions {
  std::string programFolder;  // empty: the folder of /proc/self/exe
  bool changeDirectory = true;
};

// Runs the start-up steps up to the main loop. False when the program must end
// (no database, unreadable database, XML error, no main window); the message
// has been shown then.
bool startViewer(Viewer& v, const StartOptions& options);

// Frees the windows and resources and hands the clipboard to the clipboard manager.
void endViewer(Viewer& v);

// The whole program: start-up, loop, end. Returns the exit status. Started with the
// argument of restartToReport it only shows the program error report.
int runViewer(int argc, char** argv);

// Blocks of a megabyte and more go back to the system when they are freed. By
// default the C library raises that size to the largest block freed so far, and
// the highlighter's working buffers, freed on the marking thread, then stay
// resident while the view is still being filled. Called before the first thread
// starts.
void returnLargeBlocksWhenFreed();

// The report box of a program error that ended the previous run; the exit status.
int showProgramError(const ProgramError& error);

// The folder of the running executable, with a trailing "/".
std::string executableFolder();

// Writes the settings file with the main window's geometry; a message when it fails.
bool saveViewerSettings(Viewer& v);

// The widget of a gadget number, asked of the component that owns it (the language
// file names gadgets by number); null for a gadget that is not built.
GtkWidget* gadgetWidget(const Viewer& v, int no);
GtkWidget* windowWidget(const Viewer& v, WindowNo no);
