// Small GTK helpers shared by the windows: placing gadgets, icons from the
// embedded resources, colours, and the short flash that confirms an action.
#pragma once

#include <string>

#include <gtk/gtk.h>

#include "core/app/color.h"

GdkPixbuf* loadIcon(const char* name);   // decoded embedded PNG, or null
GtkWidget* iconImage(const char* name);  // a GtkImage of it (empty image when missing)

// Puts `widget` into a GtkFixed or GtkLayout container at x, y with the size w, h.
void place(GtkWidget* container, GtkWidget* widget, int x, int y, int w, int h);
void moveTo(GtkWidget* container, GtkWidget* widget, int x, int y);

GdkColor toGdkColor(Color c);
// Background of an entry or text view (base colour); kNoColor restores the default.
void setBackground(GtkWidget* widget, Color c);

// Redraws what is pending at once, so an effect shows before a blocking wait.
void processPendingEvents();
void sleepMs(int ms);

// The desktop font setting's family and size ("DejaVu Sans 10" -> "DejaVu Sans", 10).
std::string DefaultFontFamily();
int DefaultFontSize();

// The text of an entry or label, as UTF-8.
std::string widgetText(GtkWidget* widget);
