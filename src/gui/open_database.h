// Opening the topic database at start-up, and its three messages.
#pragma once

#include <string>

#include "core/database/database_loader.h"

struct Viewer;

// "Error in the XML file:\r" + message, line and column, in the current language.
std::string xmlErrorReport(Viewer& v, const XmlParseResult& result);

// Parses the database file path into the document. False, after its message, when
// no database was selected, it cannot be opened, or it has an XML error.
bool openDatabase(Viewer& v);
