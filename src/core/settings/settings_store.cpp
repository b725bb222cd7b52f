#include "core/settings/settings_store.h"

#include "core/settings/settings_keys.h"

SettingsStore::SettingsStore() {
  for (const SettingKey& k : kSettingKeys) {
    if (k.number) this->*k.number = k.defaultNumber;
    if (k.text) this->*k.text = k.defaultText;
  }
}

SettingsStore defaultSettings(const std::string& programFolder) {
  SettingsStore s;
  for (const SettingKey& k : kSettingKeys) {
    if (k.programFolderAtStart) s.*k.text = programFolder;
  }
  return s;
}
