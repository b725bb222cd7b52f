// The user settings, one field per key of the settings file. The keys, defaults and
// ranges are in settings_keys.h; loading and saving in settings_io.h; the settings
// window edits these fields.
#pragma once

#include <string>

struct SettingsStore {
  // Every key at its default, the paths empty.
  SettingsStore();

  std::string dbPath;          // "db-path": in the file the database file, in memory its folder ("/" at the end)
  std::string libPath;         // "Lib-path": library main folder; empty means the program folder
  int about;                   // "about": 0 until the about dialog was shown once
  int language;                // "Language": 0 German, 1 English, 2 French
  int searchHint;              // "SearchHint": 0 both, 1 shake, 2 blink
  int searchMode;              // "SearchMode": 0 index+description, 1 index, 2 all languages, 3 with code
  int codeMarks;               // "CodeMarks": 0 plain, 1 bold, 2 blue+bold
  std::string fontName;        // "FontName"
  int fontSize;                // "FontSize"
  int savePaths;               // "SavePaths"
  int sourceInTitle;           // "SourceInTitle": 0 file name, 1 code path, 2 full path
  int saveWinSetting;          // "SaveWinSetting"
  int dyeingNews;              // "DyeingNews"
  std::string codeEditorPath;  // "CodeEditorPath"
  int winX;                    // "WinX"
  int winY;                    // "WinY"
  int winWidth;                // "WinWidth"
  int winHight;                // "WinHight"
  int splitter;                // "Splitter"
  // What the viewer remembers between runs; a file without these keys keeps
  // looking as it did until one of them leaves its default.
  std::string historyFiles;  // "HistoryFiles": the history box's code paths, "|" between them
  std::string lastEntry;     // "LastEntry": code path of the entry shown last
  int zoomStep;              // "ZoomStep": index of the code view's zoom factor, 3 = 100 %

  // Beside the keys: the database file name inside the "db-path" folder and the
  // full path the start-up and Apply open.
  std::string databaseFileName = "VL-LinuxAPI-Toc.xml";
  std::string databaseFilePath;
};

// The defaults of a fresh start: both paths name the program folder.
SettingsStore defaultSettings(const std::string& programFolder);
