// Small GTK helpers shared by the windows: the frame every window is built on,
// placing gadgets, icons from the embedded resources, colours and the clipboard.
#pragma once

#include <string>

#include <gtk/gtk.h>

#include "core/app/color.h"
#include "gui/events.h"

// The widgets of one window's gadget numbers First..Last, owned by its component.
template <GadgetNo First, GadgetNo Last>
struct GadgetWidgets {
  GtkWidget* widget[Last - First + 1] = {};

  static constexpr bool holds(int no) { return no >= First && no <= Last; }
  GtkWidget*& operator[](GadgetNo no) { return widget[no - First]; }
  GtkWidget* find(int no) const { return holds(no) ? widget[no - First] : nullptr; }
};

// A top-level window: its number, where its signals go, its absolute-position
// container and its shortcuts. The window's own signal callbacks get the frame.
struct WindowFrame {
  WindowNo no = kWinMain;
  EventSink* events = nullptr;
  GtkWidget* window = nullptr;
  GtkWidget* fixed = nullptr;
  GtkAccelGroup* accel = nullptr;
};

void destroyFrame(WindowFrame& frame);

// Accelerator group, close button and Escape of a window.
void connectWindow(WindowFrame& frame);
void bindKey(WindowFrame& frame, guint key, GdkModifierType mods, MenuNo menu);

// How a secondary window differs from the others.
struct SecondaryWindowLayout {
  const char* title;
  int width, height;           // of the gadget area
  GtkWindowPosition position;  // GTK_WIN_POS_NONE: at 300, 200
  bool toolWindow;             // fixed size, only move and close on the frame
  bool utility;                // a utility window for the window manager
};

// Builds a hidden secondary window with its gadget area and its close button and
// Escape connected; the component then adds its gadgets and calls finish.
void openSecondaryWindow(WindowFrame& frame, const SecondaryWindowLayout& layout);
void finishSecondaryWindow(WindowFrame& frame, const SecondaryWindowLayout& layout);

// A scrolled window with an etched frame around `child`, scrolling as needed.
GtkWidget* scrolledFrame(GtkWidget* child);

// Menus shown at the pointer. Opened from a button that holds the keyboard focus
// (which a click does not give it), the menu drops down below the button instead,
// its first item chosen, as keyboard users expect.
void popupMenu(GtkWidget* menu, GtkWidget* button = nullptr);
void popupMenuAt(GtkWidget* menu, int x, int y);

// Puts the text on the default clipboard.
void copyToClipboard(const std::string& text);

// A label with the bold caption font, as frame titles use.
GtkWidget* captionLabel(const char* text, const std::string& boldFontName);

GdkPixbuf* loadIcon(const char* name);   // decoded embedded PNG, or null
GtkWidget* iconImage(const char* name);  // a GtkImage of it (empty image when missing)

// Puts `widget` into a GtkFixed or GtkLayout container at x, y with the size w, h.
void place(GtkWidget* container, GtkWidget* widget, int x, int y, int w, int h);
void moveTo(GtkWidget* container, GtkWidget* widget, int x, int y);

GdkColor toGdkColor(Color c);
// Background of an entry or text view (base colour); kNoColor restores the default.
void setBackground(GtkWidget* widget, Color c);

// Text views and entries draw the keyboard focus as a line around them; the default
// theme draws it inside, where a read-only view without a cursor shows nothing.
// Before any window is built.
void markKeyboardFocus();

// Redraws what is pending at once, so an effect shows before a blocking wait.
void processPendingEvents();
void sleepMs(int ms);

// The desktop font setting's family and size ("DejaVu Sans 10" -> "DejaVu Sans", 10).
std::string DefaultFontFamily();
int DefaultFontSize();

// The text of an entry or label, as UTF-8.
std::string widgetText(GtkWidget* widget);

// The short background flash that confirms an action or warns: `flash` for 200 ms,
// then `after` (kNoColor: the default background).
void flashWidget(GtkWidget* widget, Color flash, Color after);
