// The commands of the info menu and the admin menu's help file and code path items.
#include "gui/info_menu.h"

#include "core/app/error_report.h"
#include "core/app/paths.h"
#include "core/codeview/process.h"
#include "core/update/about_text.h"
#include "gui/database_info_window.h"
#include "gui/message_box.h"
#include "gui/update_window.h"

static constexpr int kTraceFileId = 44;

std::string shownCodeFullPath(const AppState& app) {
  return joinLibraryPath(app.settings.libPath, app.currentCodePath);
}

void copyToClipboard(const std::string& text) {
  gtk_clipboard_set_text(gtk_clipboard_get(GDK_SELECTION_CLIPBOARD), text.c_str(), static_cast<gint>(text.size()));
}

int openShownCodeFile(Viewer& v) {
  VL_TRACE();
  return openCodeFile(v.app.settings.codeEditorPath, shownCodeFullPath(v.app));
}

int openHelpFile(Viewer& v) {
  VL_TRACE();
  const IndexModel& index = v.app.index;
  int help = index.helpEntryIndex;
  if (help == 0 || static_cast<size_t>(help) >= index.topicList.size()) {
    messageBox("Sorry", "seems the helpfile can't be found.");
    return 0;
  }
  // The file the code view would load for the entry, handed over as one argument.
  std::string file = joinLibraryPath(v.app.settings.libPath, index.topicList[help].file);
  return startProgramWithArguments("xdg-open", {file}, std::string());
}

void showDatabaseInfo(Viewer& v) {
  VL_TRACE();
  fillDatabaseInfo(v);
  gtk_window_present(GTK_WINDOW(v.gui.window[kWinDbInfo]));
}

void showUpdateCheck(Viewer& v) {
  VL_TRACE();
  v.app.versionText = kProgramVersion;
  runUpdateCheck(v);
  gtk_window_present(GTK_WINDOW(v.gui.window[kWinUpdate]));
}
