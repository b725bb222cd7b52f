// The user settings, one field per key of the settings file, with their defaults.
// Loading and saving live in settings_io.h; the settings window edits these fields.
#pragma once

#include <string>

struct SettingsStore {
  std::string dbPath;   // "db-path": in the file the database file, in memory its folder ("/" at the end)
  std::string libPath;  // "Lib-path": library main folder; empty means the program folder
  int about = 0;        // "about": 0 until the about dialog was shown once
  int language = 0;     // "Language": 0 German, 1 English, 2 French
  int searchHint = 0;   // "SearchHint": 0 both, 1 shake, 2 blink
  int searchMode = 0;   // "SearchMode": 0 index+description, 1 index, 2 all languages
  int codeMarks = 0;    // "CodeMarks": 0 plain, 1 bold, 2 blue+bold
  std::string fontName = "Monospace";  // "FontName"
  int fontSize = 10;                   // "FontSize": 6..24 after loading
  int savePaths = 1;                   // "SavePaths"
  int sourceInTitle = 1;               // "SourceInTitle": 0 file name, 1 code path, 2 full path
  int saveWinSetting = 0;              // "SaveWinSetting"
  int dyeingNews = 1;                  // "DyeingNews"
  std::string codeEditorPath;          // "CodeEditorPath"
  int winX = -1;                       // "WinX"
  int winY = -1;                       // "WinY"
  int winWidth = 800;                  // "WinWidth"
  int winHight = 600;                  // "WinHight"
  int splitter = 345;                  // "Splitter"

  // Beside the keys: the database file name inside the "db-path" folder and the
  // full path the start-up and Apply open.
  std::string databaseFileName = "VL-LinuxAPI-Toc.xml";
  std::string databaseFilePath;
};

// The defaults of a fresh start: both paths name the program folder.
SettingsStore defaultSettings(const std::string& programFolder);
