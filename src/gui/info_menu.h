// The info menu's commands (about, database information, update check, open code)
// and the admin menu's help file and code path commands.
#pragma once

#include <string>

#include "gui/gui.h"

// The file the code view loaded for the shown entry: "Lib-path" + the code path
// without its leading "/". Every command on "the shown file" uses this one path.
std::string shownCodeFullPath(const AppState& app);

// Puts the text on the default clipboard.
void copyToClipboard(const std::string& text);

// Open code: the "CodeEditorPath" editor when it is set and executable, the default
// application when it is empty, nothing otherwise. Non-zero when a program started.
int openShownCodeFile(Viewer& v);

// Hands the help entry's file to "xdg-open"; without a help entry, the "Sorry"
// message. Non-zero when the opener started.
int openHelpFile(Viewer& v);

// Menu 10: the root element becomes current, window 2 is filled and shown.
void showDatabaseInfo(Viewer& v);
// Menu 11: the update check with the program's own version, then window 3.
void showUpdateCheck(Viewer& v);
