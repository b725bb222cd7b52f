#include "gui/open_database.h"

#include "core/app/error_report.h"
#include "gui/message_box.h"
#include "gui/viewer.h"

static const char kErrorTitle[] = "Linux VL-ZEZ-Ovidozo-Vivara-Error";

std::string xmlErrorReport(const XmlParseResult& result) {
  return "Error in the XML file:\rMessage: " + result.errorText + "\rLine: " + std::to_string(result.line) +
         "   Character: " + std::to_string(result.column);
}

bool openDatabase(Viewer& v) {
  VL_TRACE();
  AppState& app = v.app;
  const std::string& path = app.settings.databaseFilePath;
  if (path.empty()) {
    messageBox(kErrorTitle, "No database selected. Programm canceled!");
    return false;
  }
  if (!loadDatabaseFile(path, indexBuildOptions(app), &app.index, &app.parseResult)) {
    messageBox(kErrorTitle, "The database '" + path + "' cannot be opened.");
    return false;
  }
  if (app.parseResult.status != 0) {
    messageBox("Linux VL-ZEZ-Ovidozo-VivaraError", xmlErrorReport(app.parseResult));
    return false;
  }
  return true;
}
