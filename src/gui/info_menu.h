// The info menu's commands (about, database information, update check, open code)
// and the admin menu's help file and code path commands.
#pragma once

#include "gui/events.h"

struct Viewer;

// Open code: the "CodeEditorPath" editor when it is set and executable, the default
// application when it is empty, nothing otherwise. Non-zero when a program started.
int openShownCodeFile(Viewer& v);

// Hands the help entry's file to "xdg-open"; without a help entry, the "Sorry"
// message. Non-zero when the opener started.
int openHelpFile(Viewer& v);

// Menus 6, 7 and 9 to 12.
HandlerTable infoMenuHandlers();
