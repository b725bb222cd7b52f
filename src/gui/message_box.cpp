#include "gui/message_box.h"

#include <gtk/gtk.h>

#include "core/app/paths.h"

DialogHooks& dialogHooks() {
  static DialogHooks hooks;
  return hooks;
}

void messageBox(const std::string& title, const std::string& text) {
  if (dialogHooks().message) return dialogHooks().message(title, text);
  GtkWidget* dialog =
      gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, GTK_MESSAGE_OTHER, GTK_BUTTONS_OK, "%s", text.c_str());
  gtk_window_set_title(GTK_WINDOW(dialog), title.c_str());
  gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER);
  gtk_dialog_run(GTK_DIALOG(dialog));
  gtk_widget_destroy(dialog);
}

// A pattern "Name|*.ext|Name2|*.ext2" becomes one filter per pair; the first is selected.
static void addFilters(GtkFileChooser* chooser, const std::string& pattern) {
  size_t pos = 0;
  while (pos < pattern.size()) {
    size_t bar = pattern.find('|', pos);
    if (bar == std::string::npos) break;
    size_t end = pattern.find('|', bar + 1);
    if (end == std::string::npos) end = pattern.size();
    GtkFileFilter* filter = gtk_file_filter_new();
    gtk_file_filter_set_name(filter, pattern.substr(pos, bar - pos).c_str());
    gtk_file_filter_add_pattern(filter, pattern.substr(bar + 1, end - bar - 1).c_str());
    gtk_file_chooser_add_filter(chooser, filter);
    if (pos == 0) gtk_file_chooser_set_filter(chooser, filter);
    pos = end + 1;
  }
}

// Runs the dialog; when it ends with `accept`, the text `read` takes from it.
static std::string runForText(GtkWidget* dialog, int accept, gchar* (*read)(GtkWidget*)) {
  std::string result;
  if (gtk_dialog_run(GTK_DIALOG(dialog)) == accept) {
    gchar* text = read(dialog);
    if (text) result = text;
    g_free(text);
  }
  gtk_widget_destroy(dialog);
  return result;
}

static gchar* chosenFile(GtkWidget* dialog) { return gtk_file_chooser_get_filename(GTK_FILE_CHOOSER(dialog)); }

static gchar* chosenFont(GtkWidget* dialog) {
  return gtk_font_selection_dialog_get_font_name(GTK_FONT_SELECTION_DIALOG(dialog));
}

static std::string runChooser(GtkWidget* dialog) { return runForText(dialog, GTK_RESPONSE_ACCEPT, chosenFile); }

std::string fileRequester(const std::string& title, const std::string& defaultFile, const std::string& pattern) {
  if (dialogHooks().openFile) return dialogHooks().openFile(title, defaultFile, pattern);
  GtkWidget* dialog =
      gtk_file_chooser_dialog_new(title.c_str(), nullptr, GTK_FILE_CHOOSER_ACTION_OPEN, GTK_STOCK_CANCEL,
                                  GTK_RESPONSE_CANCEL, GTK_STOCK_OPEN, GTK_RESPONSE_ACCEPT, nullptr);
  addFilters(GTK_FILE_CHOOSER(dialog), pattern);
  std::string folder = folderPart(defaultFile);
  if (!folder.empty()) gtk_file_chooser_set_current_folder(GTK_FILE_CHOOSER(dialog), folder.c_str());
  // An open dialog has no name field: the default file is selected when it exists.
  if (g_file_test(defaultFile.c_str(), G_FILE_TEST_IS_REGULAR))
    gtk_file_chooser_set_filename(GTK_FILE_CHOOSER(dialog), defaultFile.c_str());
  return runChooser(dialog);
}

std::string folderRequester(const std::string& title, const std::string& startFolder) {
  if (dialogHooks().chooseFolder) return dialogHooks().chooseFolder(title, startFolder);
  GtkWidget* dialog =
      gtk_file_chooser_dialog_new(title.c_str(), nullptr, GTK_FILE_CHOOSER_ACTION_SELECT_FOLDER, GTK_STOCK_CANCEL,
                                  GTK_RESPONSE_CANCEL, GTK_STOCK_OPEN, GTK_RESPONSE_ACCEPT, nullptr);
  if (!startFolder.empty()) gtk_file_chooser_set_current_folder(GTK_FILE_CHOOSER(dialog), startFolder.c_str());
  std::string folder = runChooser(dialog);
  // Every path rule of the program expects folders to end in "/".
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder;
}

std::string fontRequester(const std::string& fontDescription) {
  if (dialogHooks().chooseFont) return dialogHooks().chooseFont(fontDescription);
  GtkWidget* dialog = gtk_font_selection_dialog_new("Font");
  gtk_font_selection_dialog_set_font_name(GTK_FONT_SELECTION_DIALOG(dialog), fontDescription.c_str());
  return runForText(dialog, GTK_RESPONSE_OK, chosenFont);
}
