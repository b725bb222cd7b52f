// The commands of the info menu and the admin menu's help file and code path items.
#include "gui/info_menu.h"

#include "core/app/entry_view.h"
#include "core/app/error_report.h"
#include "core/app/paths.h"
#include "core/codeview/process.h"
#include "gui/about_dialog.h"
#include "gui/language_switch.h"
#include "gui/message_box.h"
#include "gui/update_window.h"
#include "gui/viewer.h"

int openShownCodeFile(Viewer& v) {
  VL_TRACE();
  return openCodeFile(v.app.settings.codeEditorPath, externalCodePath(v.app.settings.libPath, v.app.currentCodePath));
}

int openHelpFile(Viewer& v) {
  VL_TRACE();
  const IndexModel& index = v.app.index;
  int help = index.helpEntryIndex;
  if (help == 0 || static_cast<size_t>(help) >= index.rowCount()) {
    messageBox(messageText(v, "#Msg_Sorry"), messageText(v, "#Msg_HelpFileMissing"));
    return 0;
  }
  // The file the code view would load for the entry, handed over as one argument.
  std::string file = externalCodePath(v.app.settings.libPath, index.topic(help).file);
  if (file.empty()) return 0;
  return startProgramWithArguments("xdg-open", {pathArgument(file)}, std::string());
}

namespace {

void onEditHelp(Viewer& v, const Event&) { openHelpFile(v); }
void onCopyCodePath(Viewer& v, const Event&) { copyToClipboard(shownCodeFullPath(v.app)); }
void onAboutApp(Viewer&, const Event&) { showAboutWithLogo(); }
void onAboutDb(Viewer& v, const Event&) { showDatabaseInfo(v); }
void onIsUpdate(Viewer& v, const Event&) { showUpdateCheck(v); }
void onOpenCode(Viewer& v, const Event&) { openShownCodeFile(v); }

// The index context menu's two openers beside the editor's: the desktop's default
// application, and the file manager on the folder that holds the code file.
std::string shownCodeFile(const Viewer& v) {
  const std::string& code = v.app.currentCodePath;
  return code.empty() ? std::string() : externalCodePath(v.app.settings.libPath, code);
}
void onOpenWithDefault(Viewer& v, const Event&) {
  std::string file = shownCodeFile(v);
  if (!file.empty()) openWithDefaultApplication(file);
}
void onShowFolder(Viewer& v, const Event&) {
  std::string file = shownCodeFile(v);
  if (!file.empty()) openLibraryFolder(folderPart(file), v.app.programFolder);
}

const HandlerEntry kInfoMenuHandlers[] = {
    {kWinMain, kEventMenu, kMenuEditHelp, onEditHelp},
    {kWinMain, kEventMenu, kMenuCopyCodePath, onCopyCodePath},
    {kWinMain, kEventMenu, kMenuAboutApp, onAboutApp},
    {kWinMain, kEventMenu, kMenuAboutDb, onAboutDb},
    {kWinMain, kEventMenu, kMenuIsUpdate, onIsUpdate},
    {kWinMain, kEventMenu, kMenuOpenCode, onOpenCode},
    // The index context menu reaches the same commands.
    {kWinMain, kEventMenu, kMenuEntryCopyPath, onCopyCodePath},
    {kWinMain, kEventMenu, kMenuEntryEdit, onOpenCode},
    {kWinMain, kEventMenu, kMenuEntryOpen, onOpenWithDefault},
    {kWinMain, kEventMenu, kMenuEntryShowFolder, onShowFolder},
};

}  // namespace

HandlerTable infoMenuHandlers() { return handlerTable(kInfoMenuHandlers); }
