// The about dialog, built for each showing and destroyed afterwards.
#include "gui/about_dialog.h"

#include "core/app/error_report.h"
#include "core/update/about_text.h"
#include "gui/message_box.h"
#include "gui/widgets.h"

GtkWidget* buildAboutDialog(GdkPixbuf* logo) {
  VL_TRACE();
  GtkWidget* dialog = gtk_about_dialog_new();
  GtkAboutDialog* about = GTK_ABOUT_DIALOG(dialog);
  // The program name stays unset: GTK shows the registered application name.
  gtk_about_dialog_set_version(about, aboutVersionText().c_str());
  gtk_about_dialog_set_comments(about, kAboutComments);
  gtk_about_dialog_set_copyright(about, kAboutCopyright);
  gtk_about_dialog_set_website(about, kAboutWebsite);
  if (logo) gtk_about_dialog_set_logo(about, logo);
  return dialog;
}

void showAboutDialog(GdkPixbuf* logo) {
  VL_TRACE();
  if (dialogHooks().about) {
    dialogHooks().about(aboutVersionText());
    return;
  }
  GtkWidget* dialog = buildAboutDialog(logo);
  gtk_dialog_run(GTK_DIALOG(dialog));
  gtk_widget_destroy(dialog);
}

bool showAboutWithLogo() {
  GdkPixbuf* logo = loadIcon("logo.png");
  if (!logo) return false;
  showAboutDialog(logo);
  g_object_unref(logo);
  return true;
}

void showAboutIfNotSeen(AppState& app) {
  if (app.settings.about != 0) return;
  if (showAboutWithLogo()) app.settings.about = 1;
}
