// Applying the core's decision of what the main window shows for an entry.
#pragma once

#include "core/app/entry_view.h"

struct Viewer;

// Decides what `request` shows (decideEntryView) and applies it to the title, the
// code view, the description, the tree selection, the information window's file
// fields and the history box.
void presentEntry(Viewer& v, const EntryRequest& request);

// The index rebuilt in place (a language switch, a "DyeingNews" change): the
// selected row stays, the tree ends fully open with the node toggle pressed, and
// the selected entry's description follows the topic language at once.
void rebuildIndexInPlace(Viewer& v);
