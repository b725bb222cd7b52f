// Placeholder wiring for the windows that later work adds: the tables start empty.
#include "app/windows.h"

void createSecondaryWindows(Viewer&) {}
void applyStoredLanguage(Viewer&) {}
void showAboutAtFirstStart(Viewer&) {}
HandlerTable secondaryWindowHandlers() { return {nullptr, 0}; }
