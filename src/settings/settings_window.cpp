// Window 1, the settings window, and the language switch. (Being built.)
#include "app/windows.h"

void createSettingsWindow(Viewer&) {}
void applyStoredLanguage(Viewer&) {}
HandlerTable settingsWindowHandlers() { return {nullptr, 0}; }
