// The about dialog: program name, version, description, web address and logo.
#pragma once

#include <gtk/gtk.h>

#include "core/app/app_state.h"

// The dialog with all its fields, the logo when one is given; not yet run.
GtkWidget* buildAboutDialog(GdkPixbuf* logo);

// Runs the dialog modally and destroys it. A test hook takes its place when set.
void showAboutDialog(GdkPixbuf* logo);

// Decodes the embedded logo and shows the dialog with it. Without a logo nothing is
// shown and the result is false.
bool showAboutWithLogo();

// At start-up: shown while "about" is 0, which then becomes 1 in memory only; the
// next save of the settings records it.
void showAboutIfNotSeen(AppState& app);
