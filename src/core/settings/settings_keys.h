// Every settings key once: where its value lives, its default, the range a read
// value is held to, the block of the file it is saved in and the settings window
// gadget that shows it. Loading, saving and the settings window loop over this table.
#pragma once

#include <string>
#include <string_view>

#include "core/settings/settings_io.h"
#include "core/settings/settings_store.h"

// The blocks of a save, in file order. A new file has a comment before some of them.
enum class SettingBlock {
  Paths,    // written while "SavePaths" is on or the about dialog was never shown
  About,    // always written
  User,     // always written
  Window,   // written from the live main window while "SaveWinSetting" is on
  Session,  // what the viewer remembers; written only once it differs from its default or the file has it
};

// How the settings window shows a key.
enum class SettingGadget {
  None,
  CheckBox,     // checked is 1; set when the window is built, read by Save
  ComboBox,     // item i is value i; set when the window is built, read by Save
  LanguageBox,  // set when the window is built; Save takes it through the language switch
  TextField,    // a text, filled each time the window is shown, read by Save
};

// What a read gives for a key the file lacks (or an integer that is not a number).
enum class WhenMissing {
  KeepsCurrent,  // the value the store holds
  TakesDefault,  // the table's default
};

struct SettingKey {
  const char* key;
  std::string SettingsStore::*text = nullptr;  // text keys
  int SettingsStore::*number = nullptr;        // integer keys
  int WindowGeometry::*live = nullptr;         // Window block: the value written
  const char* defaultText = "";
  bool programFolderAtStart = false;  // a fresh start holds the program folder
  bool joinsDatabaseFile = false;     // shown and written as folder + database file name
  int defaultNumber = 0;
  int min = 0;
  int max = 0;
  int belowMin = 0;  // what a value under `min` becomes
  WhenMissing whenMissing = WhenMissing::KeepsCurrent;
  SettingBlock block = SettingBlock::User;
  const char* gadget = nullptr;  // "Cnf_Paths2Pref"
  SettingGadget gadgetKind = SettingGadget::None;
};

inline constexpr int kSettingKeyCount = 22;
extern const SettingKey kSettingKeys[kSettingKeyCount];

// The value of an integer key held to its range.
int clampSetting(const SettingKey& k, int value);

// A key's value as the file and the settings window's text fields show it.
std::string settingText(const SettingsStore& s, const SettingKey& k);

// Takes a text field's text: the folder of a database file path, a number's value
// (text that is no number changes nothing), any other text as it is.
void takeSettingText(SettingsStore* s, const SettingKey& k, std::string_view text);
