// Window 2, "About: current Database & File": which database and library the viewer
// works with, and which code file is shown with its text formats.
#pragma once

#include <string>

#include "gui/gui.h"

// Builds window 2 with all its gadgets, hidden. The file and format fields exist from
// here on, so the code view can write them whether the window is shown or not.
void buildDatabaseInfoWindow(Viewer& v);

// Fills the upper frame: database file, content line, library folder and the counts.
// The info menu and a database reload call it.
void fillDatabaseInfo(Viewer& v);

// Root row text + " - " + the root element's text; " - " for an empty index.
std::string databaseContentLine(const IndexModel& index);

// The copy icon: when a code file is shown, flashes its field and puts
// "Lib-path" + its code path on the clipboard. False when nothing was copied.
bool copyCodePathFromDialog(Viewer& v);

// The library icon: opens the folder of the library field (the program folder while
// the field is empty) in the file manager. Non-zero when an opener was started.
int openLibraryFolderFromDialog(Viewer& v);
