// Start-up, the end sequence and the one viewer instance.
#include "gui/viewer.h"

#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <clocale>
#include <memory>

#include "core/app/entry_view.h"
#include "core/app/error_report.h"
#include "core/app/paths.h"
#include "core/app/window_title.h"
#include "core/codeview/history.h"
#include "core/settings/settings_io.h"
#include "gui/about_dialog.h"
#include "gui/accessible_names.h"
#include "gui/admin_menu.h"
#include "gui/info_menu.h"
#include "gui/language_switch.h"
#include "gui/main_loop.h"
#include "gui/message_box.h"
#include "gui/open_database.h"
#include "gui/widgets.h"

namespace {

// A font "cannot be loaded" when the font map knows no family of that name.
bool fontLoads(const std::string& name, int size) {
  PangoFontMap* map = pango_cairo_font_map_get_default();
  PangoFontFamily** families = nullptr;
  int count = 0;
  pango_font_map_list_families(map, &families, &count);
  bool found = false;
  for (int i = 0; i < count && !found; ++i)
    found = g_ascii_strcasecmp(pango_font_family_get_name(families[i]), name.c_str()) == 0;
  g_free(families);
  // The generic families are always served by fontconfig.
  for (const char* generic : {"Monospace", "Sans", "Serif"})
    found = found || g_ascii_strcasecmp(name.c_str(), generic) == 0;
  return found && size > 0;
}

void readScreenSize(AppState& app) {
  GdkScreen* screen = gdk_screen_get_default();
  if (!screen || gdk_screen_get_n_monitors(screen) < 1) return;
  GdkRectangle r;
  gdk_screen_get_monitor_geometry(screen, 0, &r);
  app.screenWidth = r.width;
  app.screenHeight = r.height;
}

// The settings and language file, and the admin folders: beside the executable as
// written, or the installed program's shared and per-user places (app/paths.h).
void findProgramFiles(AppState& app) {
  FileLocations f = findFileLocations(app.programFolder, writtenFileLocations(kSettingsFileName),
                                      currentLocationEnvironment(), diskProbe());
  app.settingsFile = f.settingsFile;
  app.languageFileName = f.languageFileName;
  app.templatesFolder = f.templatesFolder;
  app.exportFolder = f.exportFolder;
  app.makeExportFolder = f.makeExportFolder;
  app.firstStartFolder = f.firstStartFolder;
}

bool saveSettingsWithMessage(Viewer& v);

// Settles the database file: the stored one, the stored folder's, or the user's choice.
void chooseDatabaseAtStart(Viewer& v) {
  VL_TRACE();
  SettingsStore& s = v.app.settings;
  bool loaded = loadSettings(&s, v.app.settingsFile, v.app.screenWidth, v.app.screenHeight, fontLoads);
  DatabaseChoice choice = settleDatabasePath(&s, loaded);
  if (choice == DatabaseChoice::Ready) return;
  if (choice == DatabaseChoice::Ask) {
    // An installed program's first start opens the requester in its sample library.
    std::string start = (loaded ? std::string() : v.app.firstStartFolder) + s.databaseFileName;
    std::string chosen =
        fileRequester(messageText(v, "#Msg_ChooseDatabase", {s.databaseFileName}), start, "XML files (*.xml)|*.xml");
    // A cancelled requester saves nothing: the stored path stays as it was, and on a
    // first start no settings file appears.
    if (!takeChosenDatabase(&s, chosen)) return;
    // An installed program's folder holds no library: the code files lie with the database.
    if (!loaded && !v.app.firstStartFolder.empty()) s.libPath = s.dbPath;
  }
  saveSettingsWithMessage(v);
}

void setDefaultIcon() {
  GdkPixbuf* logo = loadIcon("logo.png");
  if (!logo) return;
  gtk_window_set_default_icon(logo);
  g_object_unref(logo);
}

// What the last save remembered: the history box, the zoom and the entry shown last,
// which is selected at start instead of the first row while the index still has it.
int restoreSession(Viewer& v) {
  AppState& app = v.app;
  app.historyList = historyFromText(app.settings.historyFiles, app.index);
  setHistoryItems(v.main, v.events, historyItems(app.historyList, app.index));
  if (app.settings.zoomStep != app.zoomStep) setCodeZoom(v.code, app, app.settings.zoomStep);
  return std::max(rowOfCodePath(app.index, app.settings.lastEntry), 0);
}

void rememberSession(Viewer& v) {
  SettingsStore& s = v.app.settings;
  s.historyFiles = historyText(v.app.historyList, v.app.index);
  s.lastEntry = lastShownCodePath(v.app);
  s.zoomStep = v.app.zoomStep;
}

void selectFirstEntry(Viewer& v, int row) {
  selectRow(v.index, row);
  v.events.queue.post(Event{kEventGadget, kWinMain, IndexTree, kTypeChange});
}

// The components' tables, the main window's first.
void registerHandlers(Viewer& v) {
  v.handlers = {mainWindowHandlers(),   languageKeyHandlers(), settingsWindowHandlers(), infoWindowHandlers(),
                updateWindowHandlers(), infoMenuHandlers(),    adminMenuHandlers()};
}

void createSecondaryWindows(Viewer& v) {
  createSettingsWindow(v);
  createInfoWindow(v.info, v.events, v.app.boldFontName);
  createUpdateWindow(v.update, v.events);
}

bool saveSettingsWithMessage(Viewer& v) {
  WindowGeometry live;
  const WindowGeometry* geometry = nullptr;
  if (v.main.frame.window) {
    live = mainWindowGeometry(v.main);
    geometry = &live;
    rememberSession(v);  // before the index exists, the stored values are still the ones to keep
  }
  // The per-user settings folder of an installed program appears with the first save.
  if (saveSettings(v.app.settings, v.app.settingsFile, geometry, true)) return true;
  messageBox(kAppTitle, messageText(v, "#Msg_IniNotUpdated"));
  return false;
}

}  // namespace

bool saveViewerSettings(Viewer& v) { return saveSettingsWithMessage(v); }

std::string executableFolder() {
  char buffer[4096];
  ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return "./";
  return folderPart(std::string(buffer, static_cast<size_t>(n)));
}

bool startViewer(Viewer& v, const StartOptions& options) {
  VL_TRACE();
  AppState& app = v.app;
  app.programFolder = options.programFolder.empty() ? executableFolder() : options.programFolder;
  if (app.programFolder.back() != '/') app.programFolder += '/';
  if (options.changeDirectory && chdir(app.programFolder.c_str()) != 0) {
    // Relative paths then resolve against the starting folder; the viewer still runs.
  }
  findProgramFiles(app);
  app.settings = defaultSettings(app.programFolder);
  app.boldFontName = DefaultFontFamily() + " bold";
  registerHandlers(v);
  createPopupMenus(v.main, v.events);
  installErrorHandler(restartToReport);  // the box comes from runViewer
  readScreenSize(app);
  chooseDatabaseAtStart(v);
  // The windows are built, unseen, while the database is still being read (see
  // prefetchDatabase); what the user sees keeps its order: a database that cannot
  // be opened is reported before a main window that could not be made.
  static bool named = false;  // GLib allows the name to be set once per process
  if (!named) g_set_application_name("Veldra-Linux-API-Viewer");
  named = true;
  setDefaultIcon();
  g_object_set(gtk_settings_get_default(), "gtk-button-images", TRUE, "gtk-menu-images", TRUE, nullptr);
  markKeyboardFocus();
  const bool haveMainWindow = createMainWindow(v);
  if (haveMainWindow) {
    createMatchList(v);
    createSecondaryWindows(v);
    applyAccessibleNames(v, "");
  }
  if (!openDatabase(v)) return false;
  if (!haveMainWindow) {
    messageBox(kAppTitle, messageText(v, "#Msg_NoMainWindow"));
    return false;
  }
  buildIndexView(v.index, app);
  expandAndCount(v.index, app);
  applyStoredLanguage(v);
  int firstRow = restoreSession(v);
  gtk_widget_show(windowWidget(v, kWinMain));
  showAboutIfNotSeen(app);
  selectFirstEntry(v, firstRow);
  settleMainWindow(v);
  syncCodeReading(v, true);
  return true;
}

void endViewer(Viewer& v) {
  destroyMatchList(v.matches);
  destroyCodeView(v.code);
  destroyIndexView(v.index);
  for (WindowFrame* frame : {&v.settings.frame, &v.info.frame, &v.update.frame}) destroyFrame(*frame);
  destroyMainWindow(v.main);
  // Copied code stays available after the viewer has gone, when a clipboard manager runs.
  GtkClipboard* clipboard = gtk_clipboard_get(GDK_SELECTION_CLIPBOARD);
  gtk_clipboard_set_can_store(clipboard, nullptr, 0);
  gtk_clipboard_store(clipboard);
}

int showProgramError(const ProgramError& error) {
  messageBox("Linux VL-ZEZ-Ovidozo-Vivara-Error", programErrorText(error));
  return 0;
}

namespace {

// The database start-up will open is read while the toolkit connects to the
// display; nothing of it shows before start-up reaches its written place.
void prefetchDatabase(Viewer& v) {
  AppState& app = v.app;
  app.programFolder = executableFolder();
  findProgramFiles(app);
  startDatabasePrefetch(&v.databasePrefetch, databasePathToPrefetch(app.programFolder, app.settingsFile));
}

}  // namespace

void returnLargeBlocksWhenFreed() { mallopt(M_MMAP_THRESHOLD, 1 << 20); }

int runViewer(int argc, char** argv) {
  returnLargeBlocksWhenFreed();
  setlocale(LC_ALL, "");
  ProgramError error;
  const bool report = argc == 2 && parseReportArgument(argv[1], &error);
  auto v = std::make_unique<Viewer>();
  if (!report) prefetchDatabase(*v);
  gtk_init(&argc, &argv);
  if (report) return showProgramError(error);
  if (startViewer(*v, StartOptions{})) runMainLoop(*v);
  endViewer(*v);
  return 0;
}

GtkWidget* gadgetWidget(const Viewer& v, int no) {
  for (GtkWidget* w :
       {mainWindowGadget(v.main, no), indexViewGadget(v.index, no), codeViewGadget(v.code, no),
        settingsWindowGadget(v.settings, no), infoWindowGadget(v.info, no), updateWindowGadget(v.update, no)})
    if (w) return w;
  return nullptr;
}

GtkWidget* windowWidget(const Viewer& v, WindowNo no) {
  switch (no) {
    case kWinMain:
      return v.main.frame.window;
    case kWinSettings:
      return v.settings.frame.window;
    case kWinDbInfo:
      return v.info.frame.window;
    default:
      return v.update.frame.window;
  }
}
