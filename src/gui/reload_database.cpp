// The database reload of the settings window's Apply button.
#include "gui/reload_database.h"

#include "core/app/error_report.h"
#include "core/app/paths.h"
#include "core/database/index_builder.h"
#include "gui/language_switch.h"
#include "gui/message_box.h"
#include "gui/open_database.h"
#include "gui/present_entry.h"
#include "gui/viewer.h"

namespace {

// The start-up's reports, without ending the program: the index shows the
// previous database, or the part read before the error. They come after the
// rebuild, so the window behind the message already shows what is loaded.
void reportParse(Viewer& v, bool opened) {
  const AppState& app = v.app;
  if (!opened)
    messageBox("Linux VL-ZEZ-Ovidozo-Vivara-Error",
               messageText(v, "#Msg_DatabaseUnopenable", {app.settings.databaseFilePath}));
  else if (app.parseResult.status != 0)
    messageBox("Linux VL-ZEZ-Ovidozo-VivaraError", xmlErrorReport(v, app.parseResult));
}

}  // namespace

void reloadDatabase(Viewer& v, const std::string& databaseFile, const std::string& libPath) {
  VL_TRACE();
  AppState& app = v.app;
  SettingsStore& s = app.settings;
  s.dbPath = folderPart(databaseFile);
  s.libPath = libPath;
  app.missingFileWarningArmed = 1;
  s.databaseFileName = filePart(databaseFile);
  s.databaseFilePath = s.dbPath + s.databaseFileName;
  // Nothing stays shown: the next entry loads its code even when it names the
  // file that was shown before the reload.
  presentEntry(v, EntryRequest{EntryCause::Reload});
  app.index.helpEntryIndex = 0;
  VL_TRACE();
  detachIndexModel(v.index);  // the tree must not read the index while it is replaced
  bool opened = loadDatabaseFile(s.databaseFilePath, indexBuildOptions(app), &app.index, &app.parseResult);
  // The index still held is rebuilt as it was read when the new file cannot be opened.
  if (!opened) rebuildIndexModel(indexBuildOptions(app), &app.index);
  buildIndexView(v.index, app);
  expandAndCount(v.index, app);
  setNodeToggle(v.main, v.events, false);
  selectRow(v.index, 0);
  hideMatchList(v.matches);
  // Files changed on disk are read anew with the database.
  syncCodeReading(v, true);
  fillDatabaseInfo(v);
  reportParse(v, opened);
}
