// The index search of the main window: selecting the next matching entry, and the
// blink and shake that tell the user nothing (more) was found. Part of the main
// window's component: it works on the window's search field.
#pragma once

#include <string>

#include <gtk/gtk.h>

#include "gui/events.h"

struct Viewer;

// Looks for `term` in the index from the top (continueSearch false) or below the
// selection (true). A match is selected and a change event for the tree is posted;
// no match takes back a character typed at the end of the field and gives the hint
// of "SearchHint", except while search mode 3's code is still being read: then the
// term is searched again from the top when the reading ends.
void findInIndex(Viewer& v, const std::string& term, bool continueSearch);

// Moves the window right and left by `amplitude` pixels twice, then back to its place.
void shakeWindow(GtkWidget* window, int amplitude);

// Main window handlers: find next (button, Return in the field, F3) and typing.
void onFindNext(Viewer& v, const Event& e);
void onFindFieldChanged(Viewer& v, const Event& e);
void onReturnKey(Viewer& v, const Event& e);
