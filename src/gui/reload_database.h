// Apply in the settings window: take over the two paths and load the database anew.
#pragma once

#include <string>

struct Viewer;

// Takes the database file and the library path, clears the views and the history
// and rebuilds the index from the file now named. A file that cannot be opened
// keeps the previous database; one with an XML error shows what was read before
// the error. Both are reported, and the viewer keeps running.
void reloadDatabase(Viewer& v, const std::string& databaseFile, const std::string& libPath);
