// Start-up, the end sequence and the one viewer instance.
#include "gui/viewer.h"

#include <unistd.h>

#include <clocale>
#include <memory>

#include "core/app/error_report.h"
#include "core/app/paths.h"
#include "core/app/window_title.h"
#include "core/settings/settings_io.h"
#include "gui/code_view.h"
#include "gui/handlers.h"
#include "gui/index_view.h"
#include "gui/main_loop.h"
#include "gui/main_window.h"
#include "gui/message_box.h"
#include "gui/open_database.h"
#include "gui/widgets.h"
#include "gui/windows.h"

static constexpr int kTraceFileId = 1;

namespace {

std::unique_ptr<Viewer> g_viewer;

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

std::string settingsPath(const AppState& app) { return app.programFolder + kSettingsFileName; }

bool saveSettingsWithMessage(Viewer& v);

// Settles the database file: the stored one, the stored folder's, or the user's choice.
void chooseDatabaseAtStart(Viewer& v) {
  VL_TRACE();
  SettingsStore& s = v.app.settings;
  bool loaded = loadSettings(&s, settingsPath(v.app), v.app.screenWidth, v.app.screenHeight, fontLoads);
  DatabaseChoice choice = settleDatabasePath(&s, loaded);
  if (choice == DatabaseChoice::Ready) return;
  if (choice == DatabaseChoice::Ask) {
    std::string chosen = fileRequester(databaseRequesterTitle(s), s.databaseFileName, "XML files (*.xml)|*.xml");
    // A cancelled requester saves nothing: the stored path stays as it was, and on a
    // first start no settings file appears.
    if (!takeChosenDatabase(&s, chosen)) return;
  }
  saveSettingsWithMessage(v);
}

void reportProgramError(const ProgramError& error) {
  messageBox("Linux VL-ZEZ-Ovidozo-Vivara-Error", programErrorText(error));
  endViewer(viewer());
  _exit(0);
}

void setDefaultIcon() {
  GdkPixbuf* logo = loadIcon("logo.png");
  if (!logo) return;
  gtk_window_set_default_icon(logo);
  g_object_unref(logo);
}

void selectFirstEntry(Viewer& v) {
  selectRow(v, 0);
  v.gui.events.post(Event{kEventGadget, kWinMain, IndexTree, kTypeChange});
}

bool saveSettingsWithMessage(Viewer& v) {
  WindowGeometry live;
  const WindowGeometry* geometry = nullptr;
  Gui& g = v.gui;
  if (g.window[kWinMain]) {
    gtk_window_get_position(GTK_WINDOW(g.window[kWinMain]), &live.x, &live.y);
    live.width = g.lastWidth;
    live.height = g.lastHeight;
    live.splitter = gtk_paned_get_position(GTK_PANED(g.gadget[MainSplitter]));
    geometry = &live;
  }
  if (saveSettings(v.app.settings, settingsPath(v.app), geometry)) return true;
  messageBox(kAppTitle, "*.ini-file couldn't be updatet!");
  return false;
}

}  // namespace

Viewer& viewer() {
  if (!g_viewer) g_viewer = std::make_unique<Viewer>();
  return *g_viewer;
}

void resetViewer() { g_viewer = std::make_unique<Viewer>(); }

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
  app.settings = defaultSettings(app.programFolder);
  app.boldFontName = DefaultFontFamily() + " bold";
  createPopupMenus(v.gui);
  installErrorHandler(reportProgramError);
  readScreenSize(app);
  chooseDatabaseAtStart(v);
  if (!openDatabase(v)) return false;
  static bool named = false;  // GLib allows the name to be set once per process
  if (!named) g_set_application_name("Veldra-Linux-API-Viewer");
  named = true;
  setDefaultIcon();
  g_object_set(gtk_settings_get_default(), "gtk-button-images", TRUE, "gtk-menu-images", TRUE, nullptr);
  if (!createMainWindow(v)) {
    messageBox(kAppTitle, "Main-Window couldn't be created!");
    return false;
  }
  connectCodeViewSignals(v);
  createSecondaryWindows(v);
  gtk_widget_show(v.gui.window[kWinMain]);
  buildIndexView(v);
  expandAndCount(v);
  applyStoredLanguage(v);
  showAboutAtFirstStart(v);
  selectFirstEntry(v);
  gtk_paned_set_position(GTK_PANED(v.gui.gadget[MainSplitter]), app.settings.splitter);
  layoutMainWindow(v, true);
  gtk_widget_grab_focus(v.gui.gadget[Main_Find]);
  return true;
}

void endViewer(Viewer& v) {
  Gui& g = v.gui;
  if (g.tabArray) pango_tab_array_free(g.tabArray);
  g.tabArray = nullptr;
  detachIndexModel(v);
  for (GtkWidget*& w : g.window) {
    if (w) gtk_widget_destroy(w);
    w = nullptr;
  }
  // Copied code stays available after the viewer has gone, when a clipboard manager runs.
  GtkClipboard* clipboard = gtk_clipboard_get(GDK_SELECTION_CLIPBOARD);
  gtk_clipboard_set_can_store(clipboard, nullptr, 0);
  gtk_clipboard_store(clipboard);
}

int runViewer(int argc, char** argv) {
  setlocale(LC_ALL, "");
  gtk_init(&argc, &argv);
  Viewer& v = viewer();
  if (startViewer(v, StartOptions{})) runMainLoop(v);
  endViewer(v);
  return 0;
}

const std::vector<HandlerTable>& allHandlerTables() {
  static const std::vector<HandlerTable> tables = {mainWindowHandlers(), settingsWindowHandlers(), infoWindowHandlers(),
                                                   adminMenuHandlers()};
  return tables;
}
