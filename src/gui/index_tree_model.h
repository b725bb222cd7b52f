// A GtkTreeModel over the rows of the index, so that filling the tree with 100,000
// rows costs no toolkit call per row. Row i of the model is IndexModel row i;
// columns: 0 text, 1 text colour (GdkColor or none), 2 background (GdkColor or none).
#pragma once

#include <gtk/gtk.h>

#include "core/database/topic_node.h"

enum { kIndexColText = 0, kIndexColForeground = 1, kIndexColBackground = 2, kIndexColCount = 3 };

// Rows deeper than this are shown at this level, as children of their ancestor one
// level up, in their own order: row numbers stay as they are. The tree view works
// level by level (a path per row as deep as the row, recursion per level), so a
// document nested 100,000 deep would take time and memory by the square of its
// depth and overflow the stack.
inline constexpr int kIndexMaxShownLevel = 99;

// The model reads *rows for its whole life: detach it from the view before the
// rows change, and make a new one afterwards.
GtkTreeModel* indexTreeModelNew(const IndexModel* rows);

// The row number an iterator of this model points at.
int indexTreeModelRow(GtkTreeIter* iter);
// An iterator for row number `row`; false when out of range.
bool indexTreeModelIter(GtkTreeModel* model, int row, GtkTreeIter* iter);
// The path of row number `row` (free with gtk_tree_path_free), or null.
GtkTreePath* indexTreeModelPath(GtkTreeModel* model, int row);
