#include "core/settings/settings_store.h"

SettingsStore defaultSettings(const std::string& programFolder) {
  SettingsStore s;
  s.dbPath = programFolder;
  s.libPath = programFolder;
  return s;
}
