// The secondary windows (settings, database information, update), the language
// switch and the about dialog, as the start-up and the loop see them.
#pragma once

#include "gui/gui.h"
#include "gui/handlers.h"

void connectCodeViewSignals(Viewer& v);
bool saveViewerSettings(Viewer& v);

// Creates windows 1 to 3, hidden.
void createSecondaryWindows(Viewer& v);

// --- settings window, search and language (settings_window.cpp, search.cpp, language_switch.cpp) ---
void createSettingsWindow(Viewer& v);
// The stored language is applied with all UI texts when it is not German.
void applyStoredLanguage(Viewer& v);
// Handlers of window 1 and of the main window's search, settings and language events.
HandlerTable settingsWindowHandlers();

// --- information and update windows, about dialog (info_windows.cpp) ---
void createDatabaseInfoWindow(Viewer& v);
void createUpdateWindow(Viewer& v);
// The about dialog is shown until the "about" setting records that it was seen.
void showAboutAtFirstStart(Viewer& v);
// Handlers of windows 2 and 3 and of the info menu (and admin menu items 6, 7).
HandlerTable infoWindowHandlers();

// --- admin menu exports (admin_menu.cpp) ---
HandlerTable adminMenuHandlers();
