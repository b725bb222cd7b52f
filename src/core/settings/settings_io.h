// Loading and saving the user settings, and settling which database file to open
// at start-up. No GTK here: the window geometry and the font check come in from outside.
#pragma once

#include <functional>
#include <string>

#include "core/settings/settings_store.h"

// The settings file's name: in the program's folder, or in the per-user one (app/paths.h).
inline constexpr char kSettingsFileName[] = "LinuxVL API-RuvUduviv.ini";

// Loads a code font; false when it cannot be loaded.
using FontLoader = std::function<bool(const std::string& name, int size)>;

// Reads every key into `s` (current values are the defaults) and holds every number
// to its range; a value that is no number counts as missing. False, with `s`
// unchanged, when there is no settings file. A screen size <= 0 means unknown.
bool loadSettings(SettingsStore* s, const std::string& iniPath, int screenWidth, int screenHeight,
                  const FontLoader& fontLoads);

// The main window as it is now, written when "SaveWinSetting" is on.
struct WindowGeometry {
  int x = -1;
  int y = -1;
  int width = 800;
  int height = 600;
  int splitter = 345;
};

// Writes the settings; `liveWindow` is null while the main window does not exist.
// False when the file can be neither opened nor created, when it is read-only, or
// when the new content could not be put in place: the old file then stays as it was,
// and the caller tells the user, so no change is ever dropped silently. With
// `makeFolder` a missing folder of the file (the per-user one) is made first, and
// removed again when the save fails.
bool saveSettings(const SettingsStore& s, const std::string& iniPath, const WindowGeometry* liveWindow,
                  bool makeFolder = false);

enum class DatabaseChoice {
  Ready,         // the stored file exists; nothing to save
  ReadyAndSave,  // the stored folder exists; the database is looked for there, then save
  Ask,           // the user must choose a database file
};

// Settles the database file path from "db-path" after loadSettings.
DatabaseChoice settleDatabasePath(SettingsStore* s, bool settingsLoaded);

// Takes the file the requester returned. A cancelled requester (empty path) changes
// nothing, so a stored path on a disk that is not mounted right now is not lost.
// True when the settings should now be saved.
bool takeChosenDatabase(SettingsStore* s, const std::string& chosenPath);
