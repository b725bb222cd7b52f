// Window 2: the database, library and shown-file fields, and its two clickable icons.
#include "gui/database_info_window.h"

#include <gdk/gdkkeysyms.h>

#include "core/app/entry_view.h"
#include "core/app/error_report.h"
#include "core/codeview/process.h"
#include "gui/language_switch.h"
#include "gui/viewer.h"
#include "gui/widgets.h"

namespace {

constexpr SecondaryWindowLayout kLayout = {"About: current Database & File", 700, 205, GTK_WIN_POS_CENTER, true, true};

struct Place {
  int no;
  int x, y, w, h;
};

constexpr Place kLabels[] = {
    {DbA_LabelDb, 28, 25, 137, 22},        {DbA_LabelCont, 5, 49, 160, 22},       {DbA_LabelLib, 5, 73, 160, 22},
    {DbA_LabelTop, 185, 97, 120, 22},      {DbA_LabelEnt, 485, 97, 120, 22},      {DbA_LabelFile, 28, 151, 137, 22},
    {DbA_LabelSrcForm, 185, 175, 120, 22}, {DbA_LabelExeForm, 485, 175, 120, 22},
};

constexpr Place kFields[] = {
    {DbA_Db, 170, 20, 520, 24},      {DbA_Cont, 170, 45, 520, 24},    {DbA_Lib, 170, 69, 520, 24},
    {DbA_Top, 310, 93, 80, 24},      {DbA_Ent, 610, 93, 80, 24},      {DbA_File, 170, 146, 520, 24},
    {DbA_SrcForm, 310, 170, 80, 24}, {DbA_ExeForm, 610, 170, 80, 24},
};

// A click counts when the button goes up inside the icon, as with every gadget.
gboolean onIconRelease(GtkWidget* box, GdkEventButton* event, gpointer data) {
  GtkAllocation a;
  gtk_widget_get_allocation(box, &a);
  bool inside = event->x >= 0 && event->y >= 0 && event->x < a.width && event->y < a.height;
  int no = GPOINTER_TO_INT(g_object_get_data(G_OBJECT(box), "vl-gadget"));
  if (event->button == 1 && inside)
    static_cast<InfoWindow*>(data)->frame.events->post(kEventGadget, kWinDbInfo, no, kTypeLeftClick);
  return TRUE;
}

// Return and Space press the icon too, so that it is a button for the keyboard.
gboolean onIconKey(GtkWidget* box, GdkEventKey* event, gpointer data) {
  guint key = event->keyval;
  if (key != GDK_KEY_Return && key != GDK_KEY_KP_Enter && key != GDK_KEY_space) return FALSE;
  int no = GPOINTER_TO_INT(g_object_get_data(G_OBJECT(box), "vl-gadget"));
  static_cast<InfoWindow*>(data)->frame.events->post(kEventGadget, kWinDbInfo, no, kTypeLeftClick);
  return TRUE;
}

// The box has no window of its own to show the focus, so the frame is drawn here.
gboolean onIconExpose(GtkWidget* box, GdkEventExpose* event, gpointer) {
  if (!gtk_widget_has_focus(box)) return FALSE;
  GtkAllocation a;
  gtk_widget_get_allocation(box, &a);
  gtk_paint_focus(gtk_widget_get_style(box), gtk_widget_get_window(box), GTK_STATE_NORMAL, &event->area, box, "button",
                  a.x, a.y, a.width, a.height);
  return FALSE;
}

void addFrame(InfoWindow& w, const Place& p, const std::string& boldFontName) {
  GtkWidget* frame = gtk_frame_new(nullptr);
  gtk_frame_set_label_widget(GTK_FRAME(frame), captionLabel(builtInText(p.no), boldFontName));
  w.gadget[GadgetNo(p.no)] = frame;
  place(w.frame.fixed, frame, p.x, p.y, p.w, p.h);
}

void addIcon(InfoWindow& w, GadgetNo no, int x, int y, const char* icon) {
  GtkWidget* box = gtk_event_box_new();
  gtk_event_box_set_visible_window(GTK_EVENT_BOX(box), FALSE);
  gtk_container_add(GTK_CONTAINER(box), iconImage(icon));
  gtk_widget_set_tooltip_text(box, builtInTooltip(no));
  g_object_set_data(G_OBJECT(box), "vl-gadget", GINT_TO_POINTER(no));
  g_signal_connect(box, "button-release-event", G_CALLBACK(onIconRelease), &w);
  gtk_widget_set_can_focus(box, TRUE);
  g_signal_connect(box, "key-press-event", G_CALLBACK(onIconKey), &w);
  g_signal_connect_after(box, "expose-event", G_CALLBACK(onIconExpose), nullptr);
  atk_object_set_role(gtk_widget_get_accessible(box), ATK_ROLE_PUSH_BUTTON);
  w.gadget[no] = box;
  place(w.frame.fixed, box, x, y, 16, 16);
}

void addLabels(InfoWindow& w) {
  for (const Place& p : kLabels) {
    GtkWidget* label = gtk_label_new(builtInText(p.no));
    gtk_misc_set_alignment(GTK_MISC(label), 1.0f, 0.5f);
    gtk_label_set_line_wrap(GTK_LABEL(label), FALSE);
    w.gadget[GadgetNo(p.no)] = label;
    place(w.frame.fixed, label, p.x, p.y, p.w, p.h);
  }
}

void addFields(InfoWindow& w) {
  for (const Place& p : kFields) {
    GtkWidget* entry = gtk_entry_new();
    gtk_editable_set_editable(GTK_EDITABLE(entry), FALSE);
    if (p.no == DbA_Top || p.no == DbA_Ent) gtk_entry_set_alignment(GTK_ENTRY(entry), 1.0f);
    w.gadget[GadgetNo(p.no)] = entry;
    place(w.frame.fixed, entry, p.x, p.y, p.w, p.h);
  }
}

void setEntryText(InfoWindow& w, GadgetNo no, const std::string& text) {
  gtk_entry_set_text(GTK_ENTRY(w.gadget[no]), text.c_str());
}

void onHide(Viewer& v, const Event&) { gtk_widget_hide(v.info.frame.window); }
void onCopyFile(Viewer& v, const Event&) { copyCodePathFromDialog(v); }
void onToDb(Viewer& v, const Event&) { openLibraryFolderFromDialog(v); }

const HandlerEntry kInfoHandlers[] = {
    {kWinDbInfo, kEventCloseWindow, kAnyObject, onHide},
    {kWinDbInfo, kEventMenu, kKeyEscape, onHide},
    {kWinDbInfo, kEventGadget, DbA_CopyFile, onCopyFile},
    {kWinDbInfo, kEventGadget, DbA_ToDb, onToDb},
};

}  // namespace

void createInfoWindow(InfoWindow& w, EventSink& events, const std::string& boldFontName) {
  VL_TRACE();
  w.frame.no = kWinDbInfo;
  w.frame.events = &events;
  openSecondaryWindow(w.frame, kLayout);
  // Frames first: the fixed container draws its children in the order they came.
  addFrame(w, {DbA_Frame1, 5, 2, 690, 121}, boldFontName);
  addFrame(w, {DbA_Frame2, 5, 128, 690, 72}, boldFontName);
  addIcon(w, DbA_ToDb, 7, 24, "database.png");
  addIcon(w, DbA_CopyFile, 7, 150, "document.png");
  place(w.frame.fixed, iconImage("bent-arrow.png"), 154, 95, 16, 16);
  place(w.frame.fixed, iconImage("bent-arrow.png"), 154, 173, 16, 16);
  addLabels(w);
  addFields(w);
  finishSecondaryWindow(w.frame, kLayout);
}

std::string databaseContentLine(const IndexModel& index) {
  if (index.empty()) return " - ";
  return std::string(index.row(0).text).append(" - ").append(index.topic(0).text);
}

void fillDatabaseInfo(Viewer& v) {
  VL_TRACE();
  InfoWindow& w = v.info;
  if (!w.frame.window) return;
  const AppState& app = v.app;
  setEntryText(w, DbA_Db, app.settings.databaseFilePath);
  setEntryText(w, DbA_Cont, databaseContentLine(app.index));
  setEntryText(w, DbA_Lib, app.settings.libPath);
  setEntryText(w, DbA_Top, std::to_string(app.counts.themeCount));
  setEntryText(w, DbA_Ent, std::to_string(app.counts.entryCount));
}

void showDatabaseInfo(Viewer& v) {
  VL_TRACE();
  fillDatabaseInfo(v);
  gtk_window_present(GTK_WINDOW(v.info.frame.window));
}

void showFileInfo(InfoWindow& w, const std::string& codePath, int sourceIsUtf8, int exeIsUnicode) {
  if (!w.frame.window) return;
  setEntryText(w, DbA_File, codePath);
  setEntryText(w, DbA_SrcForm, sourceIsUtf8 ? "UTF8" : "Ascii");
  setEntryText(w, DbA_ExeForm, exeIsUnicode ? "Unicode" : "Ascii");
}

void clearFileInfo(InfoWindow& w) {
  if (!w.frame.window) return;
  for (GadgetNo no : {DbA_File, DbA_SrcForm, DbA_ExeForm}) setEntryText(w, no, "");
}

bool copyCodePathFromDialog(Viewer& v) {
  VL_TRACE();
  GtkWidget* field = v.info.gadget[DbA_File];
  if (widgetText(field).empty()) return false;
  flashWidget(field, v.app.copyFlashColor, kNoColor);
  copyToClipboard(shownCodeFullPath(v.app));
  return true;
}

int openLibraryFolderFromDialog(Viewer& v) {
  VL_TRACE();
  return openLibraryFolder(widgetText(v.info.gadget[DbA_Lib]), v.app.programFolder);
}

GtkWidget* infoWindowGadget(const InfoWindow& w, int no) { return w.gadget.find(no); }

HandlerTable infoWindowHandlers() { return handlerTable(kInfoHandlers); }
