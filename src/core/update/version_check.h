// Reading the version file from the web server and deciding whether the program or
// the library (code files and topic database) has a newer version.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// What the last successful download left behind; a failed one changes nothing.
struct UpdateRecord {
  std::string versionFileText;
  std::string remoteAppVersion;
  std::string remoteDatabaseVersion;
};

// The three answer fields of the update window: GTK 2 program, GTK 3 program, library.
struct UpdateAnswers {
  std::string appGtk2;
  std::string appGtk3;
  std::string library;
};

// Value of line `lineNumber` (1 = first) of the version file, lines separated by LF:
// the text between the line's first and second "=", or the rest of the line when
// it holds one "=". Empty when the line or its "=" is missing, or when the value is
// longer than any version or date (kMaxVersionLength): such a line is no version. A
// CR ending the line is dropped, so files saved with CR LF ends read the same.
inline constexpr size_t kMaxVersionLength = 64;
std::string versionFileValue(std::string_view fileText, int lineNumber);

// "yes" when `remote` is a later major.minor.patch than `local`, else "no" (also
// when `remote` is empty). Each field counts by its leading digits; missing or
// non-numeric fields are 0.
std::string compareAppVersion(std::string_view remote, std::string_view local);

// Seconds since 1970-01-01 UTC of a date written exactly as yyyy-mm-dd, or -1 when
// the text does not match, names no real day, or lies before 1970.
int64_t parseVersionDate(std::string_view text);

// "yes" when the remote date is later than the local one (unreadable dates are -1),
// "no" otherwise or when `remote` is empty.
std::string compareDatabaseVersion(std::string_view remote, std::string_view local);

// The answer texts for a successful download. `versionText` is the program's own
// version, `databaseVersion` the date of the loaded topic database.
UpdateAnswers updateAnswerTexts(const UpdateRecord& record, const std::string& versionText,
                                const std::string& databaseVersion);
