// The language switch: the topic language of the index and descriptions, and the UI
// texts of all windows from the language file.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "gui/events.h"

struct Viewer;

// The UI text of `key` ("#Main_Find") in `languageCode`; `tooltip` looks up the
// tooltip. Reads the language file at the first call (and again after a failed
// read; "Language-File not found!" is shown once per run). False when there is no
// text: the gadget then shows its built-in German text.
bool langText(Viewer& v, const std::string& key, bool tooltip, const std::string& languageCode, std::string* out);

// Switches to the language of the settings window's language box when it differs
// from "Language": the index is rebuilt in it, and with `withTexts` every UI text of
// the key table is set in it. Does nothing when the box already shows "Language".
void applyLanguage(Viewer& v, bool withTexts);

// A message box text or window title in the current language, with `values` filled
// in, once the interface texts come from the language file; until then (German from
// the start, where the file is not read) and for a key the file lacks, the built-in
// English text.
std::string messageText(Viewer& v, const char* key, std::initializer_list<std::string_view> values = {});

// The stored language is applied with all UI texts when it is not German.
void applyStoredLanguage(Viewer& v);

// The gadget number of a gadget name ("Cnf_Frame1"), or -1.
int gadgetByName(const std::string& name);

// The built-in German texts the windows are built with, from the UI text table: a
// gadget's text ("" for none), its tooltip (null for none), a menu item's text.
const char* builtInText(int gadget);
const char* builtInTooltip(int gadget);
const char* builtInMenuText(int menuItem);

// The main window's shortcuts: F6 toggles German/English, Alt+G/D German, Alt+E/F English.
HandlerTable languageKeyHandlers();
