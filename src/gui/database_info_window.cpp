// Window 2: the database, library and shown-file fields, and its two clickable icons.
#include "gui/database_info_window.h"

#include "core/app/error_report.h"
#include "core/codeview/process.h"
#include "gui/code_view.h"
#include "gui/info_menu.h"
#include "gui/main_window.h"
#include "gui/widgets.h"

static constexpr int kTraceFileId = 41;

namespace {

constexpr char kTitle[] = "About: current Database & File";
constexpr int kWidth = 700;
constexpr int kHeight = 205;

struct Place {
  int no;
  int x, y, w, h;
  const char* text;  // labels and frames: the built-in German text
};

constexpr Place kLabels[] = {
    {DbA_LabelDb, 28, 25, 137, 22, "Datenbank (xml):"},
    {DbA_LabelCont, 5, 49, 160, 22, "Inhalt:"},
    {DbA_LabelLib, 5, 73, 160, 22, "Library (Hauptordner):"},
    {DbA_LabelTop, 185, 97, 120, 22, "Themen:"},
    {DbA_LabelEnt, 485, 97, 120, 22, "Eintr\xC3\xA4ge:"},
    {DbA_LabelFile, 28, 151, 137, 22, "Datei (+ Unterordner):"},
    {DbA_LabelSrcForm, 185, 175, 120, 22, "Code-Format:"},
    {DbA_LabelExeForm, 485, 175, 120, 22, "Executable-Format:"},
};

constexpr Place kFields[] = {
    {DbA_Db, 170, 20, 520, 24, nullptr},      {DbA_Cont, 170, 45, 520, 24, nullptr},
    {DbA_Lib, 170, 69, 520, 24, nullptr},     {DbA_Top, 310, 93, 80, 24, nullptr},
    {DbA_Ent, 610, 93, 80, 24, nullptr},      {DbA_File, 170, 146, 520, 24, nullptr},
    {DbA_SrcForm, 310, 170, 80, 24, nullptr}, {DbA_ExeForm, 610, 170, 80, 24, nullptr},
};

// A click counts when the button goes up inside the icon, as with every gadget.
gboolean onIconRelease(GtkWidget* box, GdkEventButton* event, gpointer data) {
  GtkAllocation a;
  gtk_widget_get_allocation(box, &a);
  bool inside = event->x >= 0 && event->y >= 0 && event->x < a.width && event->y < a.height;
  if (event->button == 1 && inside)
    postEvent(viewer().gui, kEventGadget, kWinDbInfo, GPOINTER_TO_INT(data), kTypeLeftClick);
  return TRUE;
}

void addFrame(Viewer& v, int no, int x, int y, int w, int h, const char* caption) {
  GtkWidget* frame = gtk_frame_new(nullptr);
  GtkWidget* label = gtk_label_new(caption);
  PangoFontDescription* bold = pango_font_description_from_string(v.app.boldFontName.c_str());
  gtk_widget_modify_font(label, bold);
  pango_font_description_free(bold);
  gtk_frame_set_label_widget(GTK_FRAME(frame), label);
  v.gui.gadget[no] = frame;
  place(v.gui.fixed[kWinDbInfo], frame, x, y, w, h);
}

void addIcon(Viewer& v, int no, int x, int y, const char* icon, const char* tooltip) {
  GtkWidget* box = gtk_event_box_new();
  gtk_event_box_set_visible_window(GTK_EVENT_BOX(box), FALSE);
  gtk_container_add(GTK_CONTAINER(box), iconImage(icon));
  gtk_widget_set_tooltip_text(box, tooltip);
  g_signal_connect(box, "button-release-event", G_CALLBACK(onIconRelease), GINT_TO_POINTER(no));
  v.gui.gadget[no] = box;
  place(v.gui.fixed[kWinDbInfo], box, x, y, 16, 16);
}

void addLabels(Viewer& v) {
  for (const Place& p : kLabels) {
    GtkWidget* label = gtk_label_new(p.text);
    gtk_misc_set_alignment(GTK_MISC(label), 1.0f, 0.5f);
    gtk_label_set_line_wrap(GTK_LABEL(label), FALSE);
    v.gui.gadget[p.no] = label;
    place(v.gui.fixed[kWinDbInfo], label, p.x, p.y, p.w, p.h);
  }
}

void addFields(Viewer& v) {
  for (const Place& p : kFields) {
    GtkWidget* entry = gtk_entry_new();
    gtk_editable_set_editable(GTK_EDITABLE(entry), FALSE);
    if (p.no == DbA_Top || p.no == DbA_Ent) gtk_entry_set_alignment(GTK_ENTRY(entry), 1.0f);
    v.gui.gadget[p.no] = entry;
    place(v.gui.fixed[kWinDbInfo], entry, p.x, p.y, p.w, p.h);
  }
}

// A small tool window: it can be moved and closed, not resized or maximised.
void restrictDecorations(GtkWidget* window) {
  gtk_widget_realize(window);
  GdkWindow* gdkWindow = gtk_widget_get_window(window);
  if (!gdkWindow) return;
  gdk_window_set_decorations(gdkWindow, GdkWMDecoration(GDK_DECOR_TITLE | GDK_DECOR_BORDER | GDK_DECOR_MENU));
  gdk_window_set_functions(gdkWindow, GdkWMFunction(GDK_FUNC_MOVE | GDK_FUNC_CLOSE));
}

void setEntryText(Viewer& v, int no, const std::string& text) {
  gtk_entry_set_text(GTK_ENTRY(v.gui.gadget[no]), text.c_str());
}

}  // namespace

void buildDatabaseInfoWindow(Viewer& v) {
  VL_TRACE();
  Gui& g = v.gui;
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  g.window[kWinDbInfo] = window;
  gtk_window_set_title(GTK_WINDOW(window), kTitle);
  gtk_window_set_type_hint(GTK_WINDOW(window), GDK_WINDOW_TYPE_HINT_UTILITY);
  gtk_window_set_position(GTK_WINDOW(window), GTK_WIN_POS_CENTER);
  gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
  g.fixed[kWinDbInfo] = gtk_fixed_new();
  gtk_widget_set_size_request(g.fixed[kWinDbInfo], kWidth, kHeight);
  gtk_container_add(GTK_CONTAINER(window), g.fixed[kWinDbInfo]);
  // Frames first: the fixed container draws its children in the order they came.
  addFrame(v, DbA_Frame1, 5, 2, 690, 121, "Datenbank & Library ...");
  addFrame(v, DbA_Frame2, 5, 128, 690, 72, "Gew\xC3\xA4hlte Datei ...");
  addIcon(v, DbA_ToDb, 7, 24, "database.png",
          "Klick \xC3\xB6"
          "ffnet den Dateimanager mit dem Library-Pfad.");
  addIcon(v, DbA_CopyFile, 7, 150, "document.png", "Klick kopiert den Code-Pfad ins Clipboard.");
  place(g.fixed[kWinDbInfo], iconImage("bent-arrow.png"), 154, 95, 16, 16);
  place(g.fixed[kWinDbInfo], iconImage("bent-arrow.png"), 154, 173, 16, 16);
  addLabels(v);
  addFields(v);
  connectWindow(g, kWinDbInfo);
  gtk_widget_show_all(g.fixed[kWinDbInfo]);
  restrictDecorations(window);
}

std::string databaseContentLine(const IndexModel& index) {
  std::string rootRow = index.rows.empty() ? std::string() : index.rows[0].text;
  std::string rootText = index.topicList.empty() ? std::string() : index.topicList[0].text;
  return rootRow + " - " + rootText;
}

void fillDatabaseInfo(Viewer& v) {
  VL_TRACE();
  if (!v.gui.window[kWinDbInfo]) return;
  const AppState& app = v.app;
  setEntryText(v, DbA_Db, app.settings.databaseFilePath);
  setEntryText(v, DbA_Cont, databaseContentLine(app.index));
  setEntryText(v, DbA_Lib, app.settings.libPath);
  setEntryText(v, DbA_Top, std::to_string(app.counts.themeCount));
  setEntryText(v, DbA_Ent, std::to_string(app.counts.entryCount));
}

bool copyCodePathFromDialog(Viewer& v) {
  VL_TRACE();
  if (widgetText(v.gui.gadget[DbA_File]).empty()) return false;
  flashGadget(v, DbA_File);
  copyToClipboard(shownCodeFullPath(v.app));
  return true;
}

int openLibraryFolderFromDialog(Viewer& v) {
  VL_TRACE();
  return openLibraryFolder(widgetText(v.gui.gadget[DbA_Lib]), v.app.programFolder);
}
