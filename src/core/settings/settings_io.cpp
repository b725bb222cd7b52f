// The settings keys in their file order, their limits, and the start-up database choice.
#include "core/settings/settings_io.h"

#include <sys/stat.h>

#include <algorithm>

#include "core/app/paths.h"
#include "core/settings/preference_file.h"

namespace {

constexpr int kMinFontSize = 6;
constexpr int kMaxFontSize = 24;
constexpr int kScreenMargin = 50;

bool isRegularFile(const std::string& path) {
  struct stat st;
  return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool isFolder(const std::string& path) {
  struct stat st;
  return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

void readKeys(const PreferenceFile& f, SettingsStore* s) {
  s->dbPath = f.readText("db-path", s->dbPath);
  s->libPath = f.readText("Lib-path", "");
  s->about = f.readInteger("about", s->about);
  s->language = f.readInteger("Language", s->language);
  s->searchHint = f.readInteger("SearchHint", s->searchHint);
  s->searchMode = f.readInteger("SearchMode", s->searchMode);
  s->codeMarks = f.readInteger("CodeMarks", s->codeMarks);
  s->fontName = f.readText("FontName", s->fontName);
  s->fontSize = f.readInteger("FontSize", s->fontSize);
  s->savePaths = f.readInteger("SavePaths", s->savePaths);
  s->sourceInTitle = f.readInteger("SourceInTitle", s->sourceInTitle);
  s->saveWinSetting = f.readInteger("SaveWinSetting", s->saveWinSetting);
  s->dyeingNews = f.readInteger("DyeingNews", s->dyeingNews);
  s->codeEditorPath = f.readText("CodeEditorPath", s->codeEditorPath);
  s->winX = f.readInteger("WinX", s->winX);
  s->winY = f.readInteger("WinY", s->winY);
  s->winWidth = f.readInteger("WinWidth", s->winWidth);
  s->winHight = f.readInteger("WinHight", s->winHight);
  s->splitter = f.readInteger("Splitter", 345);
}

// A screen too small to leave a positive size, or of unknown size, sets no limit.
int limitToScreen(int value, int screen) {
  int limit = screen - kScreenMargin;
  return limit > 0 ? std::min(value, limit) : value;
}

void writeUserKeys(PreferenceFile* f, const SettingsStore& s) {
  f->writeInteger("Language", s.language);
  f->writeInteger("SearchHint", s.searchHint);
  f->writeInteger("SearchMode", s.searchMode);
  f->writeInteger("CodeMarks", s.codeMarks);
  f->writeText("FontName", s.fontName);
  f->writeInteger("FontSize", s.fontSize);
  f->writeInteger("SavePaths", s.savePaths);
  f->writeInteger("SourceInTitle", s.sourceInTitle);
  f->writeInteger("SaveWinSetting", s.saveWinSetting);
  f->writeInteger("DyeingNews", s.dyeingNews);
  f->writeText("CodeEditorPath", s.codeEditorPath);
}

void writeWindowKeys(PreferenceFile* f, const WindowGeometry& w) {
  f->writeInteger("WinX", w.x);
  f->writeInteger("WinY", w.y);
  f->writeInteger("WinWidth", w.width);
  f->writeInteger("WinHight", w.height);
  f->writeInteger("Splitter", w.splitter);
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
    readKeys(f, s);
    s->winWidth = limitToScreen(s->winWidth, screenWidth);
    s->winHight = limitToScreen(s->winHight, screenHeight);
  }
  s->fontSize = std::clamp(s->fontSize, kMinFontSize, kMaxFontSize);
  bool fontChanged = s->fontName != oldFontName || s->fontSize != oldFontSize;
  if (fontChanged && fontLoads && !fontLoads(s->fontName, s->fontSize)) {
    s->fontName = "Monospace";
    s->fontSize = 10;
    fontLoads(s->fontName, s->fontSize);
  }
  if (s->winX < -1) s->winX = 0;
  return true;
}

bool saveSettings(const SettingsStore& s, const std::string& iniPath, const WindowGeometry* liveWindow) {
  PreferenceFile f;
  const bool isNew = !isRegularFile(iniPath);
  if (!(isNew ? f.create(iniPath, kPrefCompactKeys) : f.open(iniPath, kPrefCompactKeys))) {
    return false;
  }
  if (isNew) f.addComment("Viewer");
  // Until the about dialog has been shown once the paths are always stored.
  if (s.savePaths != 0 || s.about == 0) {
    f.writeText("db-path", s.dbPath + s.databaseFileName);
    f.writeText("Lib-path", s.libPath);
  }
  f.writeInteger("about", s.about);
  if (isNew) f.addComment("User settings");
  writeUserKeys(&f, s);
  if (isNew) f.addComment("App settings");
  if (liveWindow && s.saveWinSetting != 0) writeWindowKeys(&f, *liveWindow);
  return f.close() != PrefWriteBack::Failed;
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

std::string databaseRequesterTitle(const SettingsStore& s) {
  return "Choose database '" + s.databaseFileName + "' ...";
}
