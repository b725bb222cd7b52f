// Window 3, the update check's answers for the program and the library.
#pragma once

#include "gui/gui.h"

// Builds window 3 at 300, 200 with its labels and three empty answer fields, hidden.
void buildUpdateWindow(Viewer& v);

// Downloads the version file and writes the three answers. When the file cannot be
// used the fields keep the previous answers; false then.
bool runUpdateCheck(Viewer& v);
