// Synthetic topic databases of a chosen size, for the loader benchmark and for
// trying the viewer and other benchmarks on large libraries.
#pragma once

#include <string>

// A database holding the viewer's own group (with the help entry) and then themes of
// 50 entries, entryCount entries in all (the own group's two entries not included).
// Every entry has a code file and titles and descriptions in three languages, about
// 250 bytes; every 13th German title is marked new, every 29th revised. The root text
// names the database version "1.<entryCount>" as its fourth word.
std::string generateDatabase(int entryCount);

// The number of themes generateDatabase(entryCount) holds besides the own group.
int generatedThemeCount(int entryCount);

// Writes generateDatabase(entryCount) to path; false and *err on failure.
bool writeGeneratedDatabase(const std::string& path, int entryCount, std::string* err);
