// The viewer as a whole: start-up, the event loop and the end sequence.
#pragma once

#include <string>

#include "gui/gui.h"

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

// The whole program: start-up, loop, end. Returns the exit status.
int runViewer(int argc, char** argv);

// A fresh viewer instance (the GUI tests start one per test).
void resetViewer();

// The folder of the running executable, with a trailing "/".
std::string executableFolder();
