// Shows the index in the tree view and keeps the view and the rows in step: the
// model is detached while the rows change and a new one is attached afterwards.
#pragma once

#include "gui/gui.h"

void detachIndexModel(Viewer& v);
void attachIndexModel(Viewer& v);

// Clears rows and records, builds them anew from the document in the topic
// language, and shows them (the count pass is not run).
void buildIndexView(Viewer& v);

// Expands every row and counts themes and entries.
void expandAndCount(Viewer& v);

// The rebuild of a language switch or a "DyeingNews" change: the selected row
// survives, the tree ends fully expanded with the node toggle pressed.
void rebuildIndex(Viewer& v);

int selectedRow(Viewer& v);          // -1 when nothing is selected
void selectRow(Viewer& v, int row);  // -1 clears the selection; posts no event
void setNodeToggle(Viewer& v, bool pressed);
