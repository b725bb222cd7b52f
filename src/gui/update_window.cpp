// Window 3 and the update check as the info menu runs it.
#include "gui/update_window.h"

#include "core/app/error_report.h"
#include "core/app/text_cut.h"
#include "core/update/about_text.h"
#include "core/update/update_check.h"
#include "gui/language_switch.h"
#include "gui/viewer.h"
#include "gui/widgets.h"

namespace {

constexpr SecondaryWindowLayout kLayout = {
    "Veldra-Linux-API-Viewer: Update check", 640, 105, GTK_WIN_POS_NONE, false, false};

struct Place {
  int no;
  int x, y, w, h;
};

constexpr Place kLabels[] = {
    {Upt_LabelAppGtk2, 5, 15, 345, 22},
    {Upt_LabelAppGtk3, 5, 45, 345, 22},
    {Upt_LabelXml, 5, 75, 345, 22},
};

constexpr Place kAnswers[] = {
    {Upt_AnswerGtk2, 355, 10, 280, 26},
    {Upt_AnswerGtk3, 355, 40, 280, 26},
    {Upt_AnswerXml, 355, 70, 280, 26},
};

void setAnswer(UpdateWindow& w, GadgetNo no, const std::string& text) {
  gtk_entry_set_text(GTK_ENTRY(w.gadget[no]), cutShownText(text).c_str());
}

void onHide(Viewer& v, const Event&) { gtk_widget_hide(v.update.frame.window); }

const HandlerEntry kUpdateHandlers[] = {
    {kWinUpdate, kEventCloseWindow, kAnyObject, onHide},
    {kWinUpdate, kEventMenu, kKeyEscape, onHide},
};

}  // namespace

void createUpdateWindow(UpdateWindow& w, EventSink& events) {
  VL_TRACE();
  w.frame.no = kWinUpdate;
  w.frame.events = &events;
  openSecondaryWindow(w.frame, kLayout);
  for (const Place& p : kLabels) {
    GtkWidget* label = gtk_label_new(builtInText(p.no));
    gtk_misc_set_alignment(GTK_MISC(label), 0.0f, 0.5f);
    w.gadget[GadgetNo(p.no)] = label;
    place(w.frame.fixed, label, p.x, p.y, p.w, p.h);
  }
  for (const Place& p : kAnswers) {
    GtkWidget* entry = gtk_entry_new();
    gtk_editable_set_editable(GTK_EDITABLE(entry), FALSE);
    w.gadget[GadgetNo(p.no)] = entry;
    place(w.frame.fixed, entry, p.x, p.y, p.w, p.h);
  }
  finishSecondaryWindow(w.frame, kLayout);
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
  setAnswer(v.update, Upt_AnswerGtk2, answers.appGtk2);
  setAnswer(v.update, Upt_AnswerGtk3, answers.appGtk3);
  setAnswer(v.update, Upt_AnswerXml, answers.library);
  return true;
}

void showUpdateCheck(Viewer& v) {
  VL_TRACE();
  v.app.versionText = kProgramVersion;
  runUpdateCheck(v);
  gtk_window_present(GTK_WINDOW(v.update.frame.window));
}

GtkWidget* updateWindowGadget(const UpdateWindow& w, int no) { return w.gadget.find(no); }

HandlerTable updateWindowHandlers() { return handlerTable(kUpdateHandlers); }
