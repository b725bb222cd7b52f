// The index search of the main window: selecting the next matching entry, and the
// blink and shake that tell the user nothing (more) was found.
#pragma once

#include <string>

#include "gui/gui.h"

// Looks for `term` in the tree items of `window` from the top (continueSearch 0) or
// below the selection (1). A match is selected and a change event for the tree is
// posted; no match takes back a character typed at the end of the field and gives
// the hint of "SearchHint".
void FindInIndex(Viewer& v, int window, int treeGadget, int fieldGadget, const std::string& term, int continueSearch);

// The folded search texts are kept between keystrokes; whoever rebuilds the index
// drops them.
void forgetSearchTexts();

// Moves the window right and left by `amplitude` pixels twice, then back to its place.
void shakeWindow(GtkWidget* window, int amplitude);

// Main window handlers: find next (button, Return in the field, F3) and typing.
void onFindNext(Viewer& v, const Event& e);
void onFindFieldChanged(Viewer& v, const Event& e);
void onReturnKey(Viewer& v, const Event& e);
