// Windows 2 and 3, the about dialog at start-up, and the dispatch table of the
// info menu, the two windows and the admin menu's path commands.
#include "gui/windows.h"

#include "gui/about_dialog.h"
#include "gui/database_info_window.h"
#include "gui/info_menu.h"
#include "gui/update_window.h"

namespace {

void onHide(Viewer& v, const Event& e) { gtk_widget_hide(v.gui.window[e.window]); }
void onCopyFile(Viewer& v, const Event&) { copyCodePathFromDialog(v); }
void onToDb(Viewer& v, const Event&) { openLibraryFolderFromDialog(v); }
void onEditHelp(Viewer& v, const Event&) { openHelpFile(v); }
void onCopyCodePath(Viewer& v, const Event&) { copyToClipboard(shownCodeFullPath(v.app)); }
void onAboutApp(Viewer&, const Event&) { showAboutWithLogo(); }
void onAboutDb(Viewer& v, const Event&) { showDatabaseInfo(v); }
void onIsUpdate(Viewer& v, const Event&) { showUpdateCheck(v); }
void onOpenCode(Viewer& v, const Event&) { openShownCodeFile(v); }

const HandlerEntry kInfoHandlers[] = {
    {kWinDbInfo, kEventCloseWindow, -1, onHide},          {kWinDbInfo, kEventMenu, kKeyEscape, onHide},
    {kWinDbInfo, kEventGadget, DbA_CopyFile, onCopyFile}, {kWinDbInfo, kEventGadget, DbA_ToDb, onToDb},
    {kWinUpdate, kEventCloseWindow, -1, onHide},          {kWinUpdate, kEventMenu, kKeyEscape, onHide},
    {kWinMain, kEventMenu, kMenuEditHelp, onEditHelp},    {kWinMain, kEventMenu, kMenuCopyCodePath, onCopyCodePath},
    {kWinMain, kEventMenu, kMenuAboutApp, onAboutApp},    {kWinMain, kEventMenu, kMenuAboutDb, onAboutDb},
    {kWinMain, kEventMenu, kMenuIsUpdate, onIsUpdate},    {kWinMain, kEventMenu, kMenuOpenCode, onOpenCode},
};

}  // namespace

void createDatabaseInfoWindow(Viewer& v) { buildDatabaseInfoWindow(v); }
void createUpdateWindow(Viewer& v) { buildUpdateWindow(v); }
void showAboutAtFirstStart(Viewer& v) { showAboutIfNotSeen(v); }
HandlerTable infoWindowHandlers() { return {kInfoHandlers, G_N_ELEMENTS(kInfoHandlers)}; }
