// One update check as the info menu runs it: download the version file and answer
// for the program and the library.
#pragma once

#include <string>

#include "core/update/version_check.h"

// Fetches the version file (program version from line 3) into *record and, when it
// holds both values, fills *answers and returns true. Otherwise *answers keeps the
// previous check's texts, as the update window does.
bool checkForUpdates(const std::string& versionText, const std::string& databaseVersion, UpdateRecord* record,
                     UpdateAnswers* answers);
