// Windows 2 and 3 and the about dialog. (Being built.)
#include "app/windows.h"

void createDatabaseInfoWindow(Viewer&) {}
void createUpdateWindow(Viewer&) {}
void showAboutAtFirstStart(Viewer&) {}
HandlerTable infoWindowHandlers() { return {nullptr, 0}; }
