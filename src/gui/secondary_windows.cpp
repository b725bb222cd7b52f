#include "gui/windows.h"

void createSecondaryWindows(Viewer& v) {
  createSettingsWindow(v);
  createDatabaseInfoWindow(v);
  createUpdateWindow(v);
}
