// Window 2, "About: current Database & File": which database and library the viewer
// works with, and which code file is shown with its text formats.
#pragma once

#include <string>

#include <gtk/gtk.h>

#include "core/database/topic_node.h"
#include "gui/widgets.h"

struct InfoWindow {
  WindowFrame frame;
  GadgetWidgets<DbA_LabelDb, DbA_CopyFile> gadget;
};

struct Viewer;

// Builds window 2 with all its gadgets, hidden. The file and format fields exist from
// here on, so they follow the shown entry whether the window is shown or not.
void createInfoWindow(InfoWindow& w, EventSink& events, const std::string& boldFontName);

// Fills the upper frame: database file, content line, library folder and the counts.
void fillDatabaseInfo(Viewer& v);

// Menu 10: window 2 is filled and shown.
void showDatabaseInfo(Viewer& v);

// The lower frame: the shown code file with its text formats, or nothing.
void showFileInfo(InfoWindow& w, const std::string& codePath, int sourceIsUtf8, int exeIsUnicode);
void clearFileInfo(InfoWindow& w);

// Root row text + " - " + the root element's text; " - " for an empty index.
std::string databaseContentLine(const IndexModel& index);

// The copy icon: when a code file is shown, flashes its field and puts
// "Lib-path" + its code path on the clipboard. False when nothing was copied.
bool copyCodePathFromDialog(Viewer& v);

// The library icon: opens the folder of the library field (the program folder while
// the field is empty) in the file manager. Non-zero when an opener was started.
int openLibraryFolderFromDialog(Viewer& v);

GtkWidget* infoWindowGadget(const InfoWindow& w, int no);

// Close, Escape and the two icons of window 2.
HandlerTable infoWindowHandlers();
