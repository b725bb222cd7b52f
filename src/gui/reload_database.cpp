// The database reload of the settings window's Apply button.
#include "gui/reload_database.h"

#include "core/app/error_report.h"
#include "core/app/paths.h"
#include "core/app/window_title.h"
#include "gui/code_view.h"
#include "gui/database_info_window.h"
#include "gui/index_view.h"
#include "gui/message_box.h"
#include "gui/open_database.h"
#include "gui/widgets.h"

static constexpr int kTraceFileId = 43;

namespace {

void clearHistoryBox(Viewer& v) {
  GtkComboBox* box = GTK_COMBO_BOX(v.gui.gadget[Main_CbHistory]);
  bool was = v.gui.suppressEvents;
  v.gui.suppressEvents = true;
  gtk_list_store_clear(GTK_LIST_STORE(gtk_combo_box_get_model(box)));
  v.gui.suppressEvents = was;
}

void clearMainWindow(Viewer& v) {
  clearCodeView(v);
  setViewText(v.gui.gadget[Main_EdDescript], "");
  setBackground(v.gui.gadget[Main_EdDescript], kNoColor);
  clearSourceFormat(v);
  gtk_window_set_title(GTK_WINDOW(v.gui.window[kWinMain]), kAppTitle);
  // Nothing is shown now: the next entry must load its code even when it names the
  // file that was shown before the reload.
  v.app.currentCodePath.clear();
  v.app.historyList.clear();
  clearHistoryBox(v);
  v.app.index.helpEntryIndex = 0;
}

// The start-up's reports, without ending the program: the index shows the
// previous database, or the part read before the error. They come after the
// rebuild, so the window behind the message already shows what is loaded.
void reportParse(Viewer& v, bool opened) {
  const AppState& app = v.app;
  if (!opened)
    messageBox("Linux VL-ZEZ-Ovidozo-Vivara-Error",
               "The database '" + app.settings.databaseFilePath + "' cannot be opened.");
  else if (app.parseResult.status != 0)
    messageBox("Linux VL-ZEZ-Ovidozo-VivaraError", xmlErrorReport(app.parseResult));
}

}  // namespace

void reloadDatabase(Viewer& v) {
  VL_TRACE();
  AppState& app = v.app;
  SettingsStore& s = app.settings;
  std::string shown = widgetText(v.gui.gadget[Cnf_DbShow]);
  s.dbPath = folderPart(shown);
  s.libPath = widgetText(v.gui.gadget[Cnf_LibShow]);
  app.missingFileWarningArmed = 1;
  s.databaseFileName = filePart(shown);
  s.databaseFilePath = s.dbPath + s.databaseFileName;
  clearMainWindow(v);
  VL_TRACE();
  bool opened = parseDatabaseFile(s.databaseFilePath, &app.document, &app.parseResult);
  buildIndexView(v);
  expandAndCount(v);
  setNodeToggle(v, false);
  clearHistoryBox(v);
  selectRow(v, 0);
  fillDatabaseInfo(v);
  reportParse(v, opened);
}
