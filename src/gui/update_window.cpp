// Window 3 and the update check as the info menu runs it.
#include "gui/update_window.h"

#include "core/app/error_report.h"
#include "core/update/update_check.h"
#include "gui/main_window.h"
#include "gui/widgets.h"

static constexpr int kTraceFileId = 42;

namespace {

constexpr char kTitle[] = "Veldra-Linux-API-Viewer: Update check";

struct Place {
  int no;
  int x, y, w, h;
  const char* text;
};

constexpr Place kLabels[] = {
    {Upt_LabelAppGtk2, 5, 15, 345, 22, "App-Update gtk2 verf\xC3\xBCgbar? "},
    {Upt_LabelAppGtk3, 5, 45, 345, 22, "App-Update gtk3 verf\xC3\xBCgbar? "},
    {Upt_LabelXml, 5, 75, 345, 22, "API-Update (Codes & Datenbank) verf\xC3\xBCgbar? "},
};

constexpr Place kAnswers[] = {
    {Upt_AnswerGtk2, 355, 10, 280, 26, nullptr},
    {Upt_AnswerGtk3, 355, 40, 280, 26, nullptr},
    {Upt_AnswerXml, 355, 70, 280, 26, nullptr},
};

void setAnswer(Viewer& v, int no, const std::string& text) {
  gtk_entry_set_text(GTK_ENTRY(v.gui.gadget[no]), text.c_str());
}

}  // namespace

void buildUpdateWindow(Viewer& v) {
  VL_TRACE();
  Gui& g = v.gui;
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  g.window[kWinUpdate] = window;
  gtk_window_set_title(GTK_WINDOW(window), kTitle);
  gtk_window_move(GTK_WINDOW(window), 300, 200);
  g.fixed[kWinUpdate] = gtk_fixed_new();
  gtk_widget_set_size_request(g.fixed[kWinUpdate], 640, 105);
  gtk_container_add(GTK_CONTAINER(window), g.fixed[kWinUpdate]);
  for (const Place& p : kLabels) {
    GtkWidget* label = gtk_label_new(p.text);
    gtk_misc_set_alignment(GTK_MISC(label), 0.0f, 0.5f);
    g.gadget[p.no] = label;
    place(g.fixed[kWinUpdate], label, p.x, p.y, p.w, p.h);
  }
  for (const Place& p : kAnswers) {
    GtkWidget* entry = gtk_entry_new();
    gtk_editable_set_editable(GTK_EDITABLE(entry), FALSE);
    g.gadget[p.no] = entry;
    place(g.fixed[kWinUpdate], entry, p.x, p.y, p.w, p.h);
  }
  connectWindow(g, kWinUpdate);
  gtk_widget_show_all(g.fixed[kWinUpdate]);
}

bool runUpdateCheck(Viewer& v) {
  VL_TRACE();
  AppState& app = v.app;
  UpdateRecord record{app.versionFileText, app.remoteAppVersion, app.remoteDatabaseVersion};
  UpdateAnswers answers;
  // The download blocks the interface; what was drawn before it should show meanwhile.
  processPendingEvents();
  VL_TRACE();
  bool ok = checkForUpdates(app.versionText, app.index.databaseVersion, &record, &answers);
  app.versionFileText = record.versionFileText;
  app.remoteAppVersion = record.remoteAppVersion;
  app.remoteDatabaseVersion = record.remoteDatabaseVersion;
  if (!ok) return false;
  setAnswer(v, Upt_AnswerGtk2, answers.appGtk2);
  setAnswer(v, Upt_AnswerGtk3, answers.appGtk3);
  setAnswer(v, Upt_AnswerXml, answers.library);
  return true;
}
