// The secondary windows (settings, database information, update), the language
// switch and the about dialog, as the start-up and the loop see them.
#pragma once

#include "app/gui.h"
#include "app/handlers.h"

void connectCodeViewSignals(Viewer& v);
bool saveViewerSettings(Viewer& v);

// Creates windows 1 to 3, hidden.
void createSecondaryWindows(Viewer& v);

// The stored language is applied with all UI texts when it is not German.
void applyStoredLanguage(Viewer& v);

// The about dialog is shown until the "about" setting records that it was seen.
void showAboutAtFirstStart(Viewer& v);

// Handlers of windows 1 to 3 and of the menu events that open them.
HandlerTable secondaryWindowHandlers();
