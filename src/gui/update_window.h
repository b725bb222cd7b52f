// Window 3, the update check's answers for the program and the library.
#pragma once

#include <gtk/gtk.h>

#include "gui/widgets.h"

struct UpdateWindow {
  WindowFrame frame;
  GadgetWidgets<Upt_LabelAppGtk2, Upt_AnswerXml> gadget;
};

struct Viewer;

// Builds window 3 at 300, 200 with its labels and three empty answer fields, hidden.
void createUpdateWindow(UpdateWindow& w, EventSink& events);

// Downloads the version file and writes the three answers. When the file cannot be
// used the fields keep the previous answers; false then.
bool runUpdateCheck(Viewer& v);

// Menu 11: the update check with the program's own version, then window 3.
void showUpdateCheck(Viewer& v);

GtkWidget* updateWindowGadget(const UpdateWindow& w, int no);

// Close and Escape hide window 3.
HandlerTable updateWindowHandlers();
