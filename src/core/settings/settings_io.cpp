// Loading and saving the settings as loops over the key table, and the start-up database choice.
#include "core/settings/settings_io.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

#include "core/app/paths.h"
#include "core/settings/preference_file.h"
#include "core/settings/settings_keys.h"

namespace {

constexpr int kScreenMargin = 50;

bool isRegularFile(const std::string& path) {
  struct stat st;
  return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool isFolder(const std::string& path) {
  struct stat st;
  return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// A value that is not a number counts as missing: it was no one's choice.
void readKey(const PreferenceFile& f, const SettingKey& k, SettingsStore* s) {
  bool keep = k.whenMissing == WhenMissing::KeepsCurrent;
  if (k.text) {
    s->*k.text = f.readText(k.key, keep ? s->*k.text : k.defaultText);
  } else {
    std::optional<int> n = f.findInteger(k.key);
    s->*k.number = n ? *n : keep ? s->*k.number : k.defaultNumber;
  }
}

// A screen too small to leave a positive size, or of unknown size, sets no limit.
int limitToScreen(int value, int screen) {
  int limit = screen - kScreenMargin;
  return limit > 0 ? std::min(value, limit) : value;
}

// Every value read is held to its range, so no stray number reaches the windows.
void clampAll(SettingsStore* s) {
  for (const SettingKey& k : kSettingKeys) {
    if (k.number) s->*k.number = clampSetting(k, s->*k.number);
  }
}

const char* newFileComment(SettingBlock block) {
  switch (block) {
    case SettingBlock::Paths:
      return "Viewer";
    case SettingBlock::User:
      return "User settings";
    case SettingBlock::Window:
      return "App settings";
    default:
      return nullptr;
  }
}

bool blockIsWritten(SettingBlock block, const SettingsStore& s, const WindowGeometry* liveWindow) {
  switch (block) {
    case SettingBlock::Paths:  // until the about dialog has been shown once the paths are always stored
      return s.savePaths != 0 || s.about == 0;
    case SettingBlock::Window:
      return liveWindow && s.saveWinSetting != 0;
    default:
      return true;
  }
}

// A file of a viewer that remembered nothing must stay as it was: the remembered
// keys appear only once they hold something.
bool keyIsWritten(const PreferenceFile& f, const SettingKey& k, const SettingsStore& s) {
  if (k.block != SettingBlock::Session || f.hasKey(k.key)) return true;
  return k.number ? s.*k.number != k.defaultNumber : s.*k.text != k.defaultText;
}

void writeKey(PreferenceFile* f, const SettingKey& k, const SettingsStore& s, const WindowGeometry* liveWindow) {
  if (!keyIsWritten(*f, k, s)) return;
  if (k.live)
    f->writeInteger(k.key, liveWindow->*k.live);  // the window as it is now; the store keeps its own
  else if (k.number)
    f->writeInteger(k.key, s.*k.number);
  else
    f->writeText(k.key, settingText(s, k));
}

}  // namespace

bool loadSettings(SettingsStore* s, const std::string& iniPath, int screenWidth, int screenHeight,
                  const FontLoader& fontLoads) {
  const std::string oldFontName = s->fontName;
  const int oldFontSize = s->fontSize;
  if (!isRegularFile(iniPath)) return false;
  {
    PreferenceFile f;
    f.open(iniPath, 0);  // an unreadable file gives every key its default
    for (const SettingKey& k : kSettingKeys) readKey(f, k, s);
  }
  s->winWidth = limitToScreen(s->winWidth, screenWidth);
  s->winHight = limitToScreen(s->winHight, screenHeight);
  clampAll(s);
  bool fontChanged = s->fontName != oldFontName || s->fontSize != oldFontSize;
  if (fontChanged && fontLoads && !fontLoads(s->fontName, s->fontSize)) {
    const SettingsStore defaults;
    s->fontName = defaults.fontName;
    s->fontSize = defaults.fontSize;
    fontLoads(s->fontName, s->fontSize);
  }
  return true;
}

namespace {

bool writeSettings(const SettingsStore& s, const std::string& iniPath, const WindowGeometry* liveWindow) {
  PreferenceFile f;
  const bool isNew = !isRegularFile(iniPath);
  if (!(isNew ? f.create(iniPath, kPrefCompactKeys) : f.open(iniPath, kPrefCompactKeys))) {
    return false;
  }
  // The comments mark the blocks of a new file; an existing file keeps its own layout.
  const SettingKey* previous = nullptr;
  for (const SettingKey& k : kSettingKeys) {
    bool blockStarts = !previous || previous->block != k.block;
    previous = &k;
    if (isNew && blockStarts && newFileComment(k.block)) f.addComment(newFileComment(k.block));
    if (blockIsWritten(k.block, s, liveWindow)) writeKey(&f, k, s, liveWindow);
  }
  const PrefWriteBack result = f.close();
  return result == PrefWriteBack::Written || result == PrefWriteBack::Unchanged;
}

}  // namespace

bool saveSettings(const SettingsStore& s, const std::string& iniPath, const WindowGeometry* liveWindow,
                  bool makeFolder) {
  std::vector<std::string> made;
  bool saved = (!makeFolder || makeFolders(folderPart(iniPath), &made)) && writeSettings(s, iniPath, liveWindow);
  // A failed save leaves nothing behind, not even the folders it made.
  for (auto folder = made.rbegin(); !saved && folder != made.rend(); ++folder) rmdir(folder->c_str());
  return saved;
}

DatabaseChoice settleDatabasePath(SettingsStore* s, bool settingsLoaded) {
  if (!settingsLoaded) return DatabaseChoice::Ask;
  if (isRegularFile(s->dbPath)) {
    s->databaseFilePath = s->dbPath;
    s->databaseFileName = filePart(s->dbPath);
    s->dbPath = folderPart(s->dbPath);
    return DatabaseChoice::Ready;
  }
  if (isFolder(s->dbPath)) {
    // A folder typed without its final "/" must not run into the file name.
    if (s->dbPath.back() != '/') s->dbPath += '/';
    s->databaseFilePath = s->dbPath + s->databaseFileName;
    return DatabaseChoice::ReadyAndSave;
  }
  return DatabaseChoice::Ask;
}

bool takeChosenDatabase(SettingsStore* s, const std::string& chosenPath) {
  if (chosenPath.empty()) return false;
  s->databaseFilePath = chosenPath;
  s->dbPath = folderPart(chosenPath);
  s->databaseFileName = filePart(chosenPath);
  return true;
}
