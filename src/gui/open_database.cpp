#include "gui/open_database.h"

#include "core/app/error_report.h"
#include "gui/language_switch.h"
#include "gui/message_box.h"
#include "gui/viewer.h"

static const char kErrorTitle[] = "Linux VL-ZEZ-Ovidozo-Vivara-Error";

std::string xmlErrorReport(Viewer& v, const XmlParseResult& result) {
  return messageText(v, "#Msg_XmlError",
                     {result.errorText, std::to_string(result.line), std::to_string(result.column)});
}

bool openDatabase(Viewer& v) {
  VL_TRACE();
  AppState& app = v.app;
  const std::string& path = app.settings.databaseFilePath;
  if (path.empty()) {
    messageBox(kErrorTitle, messageText(v, "#Msg_NoDatabase"));
    return false;
  }
  const IndexBuildOptions options = indexBuildOptions(app);
  bool loaded = false;
  if (!takePrefetchedDatabase(&v.databasePrefetch, path, options, &app.index, &app.parseResult, &loaded))
    loaded = loadDatabaseFile(path, options, &app.index, &app.parseResult);
  if (!loaded) {
    messageBox(kErrorTitle, messageText(v, "#Msg_DatabaseUnopenable", {path}));
    return false;
  }
  if (app.parseResult.status != 0) {
    messageBox("Linux VL-ZEZ-Ovidozo-VivaraError", xmlErrorReport(v, app.parseResult));
    return false;
  }
  return true;
}
