// The admin menu's exports (items 1 to 5). The menu itself exists only in the admin
// build; the handlers are plain and shared with the maintainer's command-line tool.
#include "gui/admin_menu.h"

#include <gtk/gtk.h>

#include "core/app/error_report.h"
#include "core/database/duplicate_protocol.h"
#include "core/exports/date_text.h"
#include "core/exports/posting_export.h"
#include "core/exports/web_page_export.h"
#include "gui/message_box.h"
#include "gui/viewer.h"

namespace {

ExportSettings exportSettingsOf(const AppState& app) {
  ExportSettings s;
  s.exportFolder = app.exportFolder;
  s.templatesFolder = app.templatesFolder;
  s.makeFolder = app.makeExportFolder;
  s.platformWord = app.platformWord;
  s.firstEntryIndex = app.firstEntryIndex;
  s.dateText = currentExportDateText();
  return s;
}

void show(const ExportResult& result) {
  if (result.shown) messageBox(result.title, result.message);
}

void onExportWebPage(Viewer& v, const Event&) {
  VL_TRACE();
  show(exportWebPage(v.app.index, exportSettingsOf(v.app)));
}

void onPostingAll(Viewer& v, const Event&) {
  VL_TRACE();
  show(exportPosting(v.app.index, exportSettingsOf(v.app), false));
}

void onPostingNews(Viewer& v, const Event&) {
  VL_TRACE();
  show(exportPosting(v.app.index, exportSettingsOf(v.app), true));
}

void onFileList(Viewer& v, const Event&) {
  VL_TRACE();
  show(exportFileList(v.app.index, exportSettingsOf(v.app)));
}

void onDuplicates(Viewer& v, const Event&) {
  VL_TRACE();
  show(writeDuplicateProtocol(v.app.index, v.app.settings.databaseFileName, exportSettingsOf(v.app)));
}

const HandlerEntry kAdminHandlers[] = {
    {kWinMain, kEventMenu, kMenuExportWebPage, onExportWebPage}, {kWinMain, kEventMenu, kMenuPostingAll, onPostingAll},
    {kWinMain, kEventMenu, kMenuPostingNews, onPostingNews},     {kWinMain, kEventMenu, kMenuFileList, onFileList},
    {kWinMain, kEventMenu, kMenuDuplicates, onDuplicates},
};

}  // namespace

HandlerTable adminMenuHandlers() { return handlerTable(kAdminHandlers); }
