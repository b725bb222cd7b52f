// Window 1, the settings window: paths, language, code font, search, title and
// marking choices; Cancel, Apply (temporary paths, database reloaded) and Save.
#pragma once

#include "gui/gui.h"

// Fills the path and font fields from the settings and shows the window. The check
// and combo boxes keep the state they had when the window was hidden.
void showSettingsWindow(Viewer& v);

// Save: takes every setting from the window, applies it, hides the window and
// writes the settings file.
void saveFromSettingsWindow(Viewer& v);
