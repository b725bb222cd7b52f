// The update check: version file download and the answer texts.
#include "core/update/update_check.h"

#include "core/update/http_fetch.h"

bool checkForUpdates(const std::string& versionText, const std::string& databaseVersion, UpdateRecord* record,
                     UpdateAnswers* answers) {
  // This is the GTK 2 program; line 3 holds its version (line 4 is the GTK 3 one).
  if (fetchVersionFile(2, record) == 0) return false;
  *answers = updateAnswerTexts(*record, versionText, databaseVersion);
  return true;
}
