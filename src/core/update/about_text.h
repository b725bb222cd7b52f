// The texts of the about dialog.
#pragma once

#include <string>

#include "core/app/version.h"

inline constexpr char kAboutComments[] =
    "Viewer f\xC3\xBCr die Veldra-API-Funktions-Sammlung.\n"
    "Viewer for the Veldra API-functions-collection.";
inline constexpr char kAboutWebsite[] = "https://vlapi.veldra-lang.org/";
inline constexpr char kAboutCopyright[] = "\xC2\xA9 2026 The Veldra Linux-API Viewer developers";

// The dialog's version text: an empty line, then the version and the toolkit
// ("\n0.25.36 gtk2"), so the version sits apart from the program name.
std::string aboutVersionText();
