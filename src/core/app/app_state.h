// The one process-wide record of program state. It lives for the whole run; the
// GTK layer keeps its widgets in its window components and reads and writes this
// record.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/app/color.h"
#include "core/app/paths.h"
#include "core/app/search_text.h"
#include "core/app/version.h"
#include "core/app/visit_trail.h"
#include "core/database/database_loader.h"
#include "core/database/topic_node.h"
#include "core/search/code_buffer.h"
#include "core/settings/language_table.h"
#include "core/settings/settings_store.h"

struct AppState {
  std::string programFolder;  // folder of the executable, "/" at the end; also the working directory
  std::string languageFileName = kLanguageFileName;
  std::string templatesFolder = kTemplatesFolder;
  std::string exportFolder = kExportFolder;
  // Where start-up found the settings file to use (app/paths.h), and what else that
  // decision gave: the per-user export folder is made on demand, and a first start's
  // database requester may open in the installed sample library.
  std::string settingsFile;
  bool makeExportFolder = false;
  std::string firstStartFolder;
  std::string platformWord = "Linux";
  std::string libraryTitle = "ZEZ Ovidozo Vivara";
  int firstEntryIndex = 0;
  int missingFileWarningArmed = 1;
  Color codeBackColor = rgb(255, 255, 255);
  Color treeColorA = rgb(200, 200, 200);
  Color treeColorB = rgb(127, 127, 127);
  Color treeColorC = rgb(255, 255, 255);
  Color treeColorD = rgb(232, 232, 232);
  Color alertColor = rgb(224, 145, 131);
  Color copyFlashColor = rgb(52, 180, 189);
  int zoomStep = 3;
  int zoomStepApplied = -1;
  std::array<double, 8> zoomTable{0.8, 0.86, 0.93, 1.0, 1.15, 1.3, 1.45, 1.6};
  std::string boldFontName;

  // The topic database: the index read from it (which is all that is kept of the
  // file), how its parse ended and the counts.
  XmlParseResult parseResult;
  IndexModel index;
  IndexCounts counts;
  SearchBuffer searchTexts;  // the search's folded row texts; dropped with every rebuild
  CodeBuffer codeTexts;      // the folded code of search mode 3; read anew with every database load

  std::string currentCodePath;  // the code path of the entry whose code was last loaded
  std::string droppedCode;      // the dropped file names the code view shows instead; else empty
  int sourceIsUtf8 = 0;
  int exeIsUnicode = 0;
  int subsystemKind = 0;
  std::vector<int> historyList;
  VisitTrail visits;  // back and forward
  LanguageTable languageTable;

  int quitRequested = 0;
  std::string versionText = kProgramVersion;
  std::string versionFileText;
  std::string remoteAppVersion;
  std::string remoteDatabaseVersion;

  // The topic language: the state of the settings window's language box (0 German,
  // 1 English, anything else French), kept equal to "Language" by the language switch.
  int languageBox = 0;

  int screenWidth = 0;  // first monitor, read before the settings are loaded
  int screenHeight = 0;

  SettingsStore settings;
};

// How the index is shown with the current topic language and settings.
inline IndexBuildOptions indexBuildOptions(const AppState& app) {
  IndexBuildOptions options;
  options.topicLanguage = app.languageBox;
  options.dyeingNews = app.settings.dyeingNews;
  options.libraryTitle = app.libraryTitle;
  options.treeColorA = app.treeColorA;
  options.treeColorB = app.treeColorB;
  options.treeColorC = app.treeColorC;
  options.treeColorD = app.treeColorD;
  return options;
}
