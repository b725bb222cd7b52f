// The code view and the description view: showing an entry, loading its code file
// and applying the highlighter's marks and link labels.
#pragma once

#include <string>

#include "gui/gui.h"

// Loads a code file into the code view. isExternal 0: `path` is an entry's code
// path below "Lib-path"; 1: the dropped file names, one a line. Non-zero when shown.
int loadCodeFile(Viewer& v, const std::string& path, int isExternal);

// Shows the selected entry: description, code file, title, information fields, history.
void showSelectedEntry(Viewer& v, int eventType);

// Colours the code view's text by "CodeMarks" and turns topic link lines into labels.
void highlightCode(Viewer& v);

void SetWindowTitle(Viewer& v, const std::string& codePath);
void setViewText(GtkWidget* textView, const std::string& text);
void clearCodeView(Viewer& v);

// The description in the topic language: German for 0, English for 1, else French.
const std::string& descriptionFor(const TopicNode& node, int language);

// The source format fields of the information window and the admin labels.
void showSourceFormat(Viewer& v);
void clearSourceFormat(Viewer& v);

// Background flash confirming a copy, or warning of a failed search.
void flashGadget(Viewer& v, int gadget);

// Files dropped on the code view (names joined by line feeds) become a drop event.
void receiveDroppedFiles(Viewer& v, const std::string& names);

// Link labels are made as their lines come into view.
void connectLinkWatch(Viewer& v);

// Ctrl + mouse wheel zoom of the code font.
void ApplyCodeZoom(Viewer& v, int step);
gboolean onCodeViewScroll(GtkWidget* widget, GdkEventScroll* event, gpointer data);
