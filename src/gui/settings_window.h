// Window 1, the settings window: paths, language, code font, search, title and
// marking choices; Cancel, Apply (temporary paths, database reloaded) and Save.
#pragma once

#include <gtk/gtk.h>

#include "gui/widgets.h"

struct SettingsWindow {
  WindowFrame frame;
  GadgetWidgets<Cnf_LabelDB, Cnf_OkSave> gadget;
  int* languageBox = nullptr;  // AppState's topic language, kept equal to the language box
};

struct Viewer;

// Builds window 1 with its gadgets in the states of the settings, hidden.
void createSettingsWindow(Viewer& v);

// Fills the path and font fields from the settings and shows the window. The check
// and combo boxes keep the state they had when the window was hidden.
void showSettingsWindow(Viewer& v);

// Save: takes every setting from the window, applies it, hides the window and
// writes the settings file.
void saveFromSettingsWindow(Viewer& v);

// Puts the language box (and so the topic language) to `state` without an event.
void setLanguageBox(Viewer& v, int state);

GtkWidget* settingsWindowGadget(const SettingsWindow& w, int no);

// Handlers of window 1 and of the main window's settings button.
HandlerTable settingsWindowHandlers();
