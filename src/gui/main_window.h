// Window 0: the index tree, the description and code views, the tool buttons,
// the two popup menus and the keyboard shortcuts.
#pragma once

#include "gui/gui.h"

// Builds window 0 with all its gadgets (not yet shown). False when it cannot be made.
bool createMainWindow(Viewer& v);

// The layout rule: buttons keep their distance to the right edge; on a window
// resize the splitter follows the window; the text views follow the right pane.
void layoutMainWindow(Viewer& v, bool windowResized);

// The pointer motion that started the last drag from the index tree (null before any).
GdkEvent* treeDragStartEvent();

// Posts an event unless the program itself is changing the widgets.
void postEvent(Gui& gui, int kind, int window, int object, int type = 0);

// The admin menu (items 1..7) and the info menu (items 9..12).
void createPopupMenus(Gui& gui);

// Accelerator group, close button and Escape of a window.
void connectWindow(Gui& gui, int window);
void bindKey(Gui& gui, int window, guint key, GdkModifierType mods, int menuNo);

// Menus shown at the pointer.
void popupMenu(GtkWidget* menu);
