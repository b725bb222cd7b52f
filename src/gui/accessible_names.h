// Names and descriptions that screen readers read for every gadget, in the
// interface language.
#pragma once

#include <gtk/gtk.h>

#include <string>

struct Viewer;

// With an empty language code the built-in German names are set, without reading
// the language file; otherwise the names are looked up in that language.
void applyAccessibleNames(Viewer& v, const std::string& languageCode);

// The widget of a gadget name or of a named control without a number ("InfoMenu").
GtkWidget* widgetNamed(const Viewer& v, const char* name);

// A link label of the code view reads as a link to its target.
void nameLinkLabel(GtkWidget* label, const std::string& target);
