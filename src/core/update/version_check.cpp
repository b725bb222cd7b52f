// Reading the version file and comparing program versions and library dates.
#include "core/update/version_check.h"

#include <array>

namespace {

constexpr std::string_view kArrow = " \xE2\x86\x92 ";  // U+2192 between single blanks

// Line `lineNumber` (1 = first) without its LF; false when the text is shorter.
bool findLine(std::string_view text, int lineNumber, std::string_view* line) {
  if (lineNumber < 1) return false;
  size_t start = 0;
  for (int n = 1; n < lineNumber; ++n) {
    size_t lf = text.find('\n', start);
    if (lf == std::string_view::npos) return false;
    start = lf + 1;
  }
  size_t end = text.find('\n', start);
  *line = text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
  return true;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The leading digits of a version field with leading zeros removed, so that two
// fields of any length compare exactly without converting them to integers.
std::string_view fieldDigits(std::string_view field) {
  size_t end = 0;
  while (end < field.size() && isDigit(field[end])) ++end;
  size_t start = 0;
  while (start < end && field[start] == '0') ++start;
  return field.substr(start, end - start);
}

std::array<std::string_view, 3> versionFields(std::string_view version) {
  std::array<std::string_view, 3> fields{};
  for (std::string_view& field : fields) {
    size_t dot = version.find('.');
    field = fieldDigits(version.substr(0, dot));
    version = dot == std::string_view::npos ? std::string_view() : version.substr(dot + 1);
  }
  return fields;
}

// <0, 0 or >0 as the number written in `a` is less than, equal to or greater than `b`.
int compareDigits(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  return a.compare(b);
}

bool readNumber(std::string_view text, size_t pos, size_t count, int* value) {
  *value = 0;
  for (size_t i = pos; i < pos + count; ++i) {
    if (!isDigit(text[i])) return false;
    *value = *value * 10 + (text[i] - '0');
  }
  return true;
}

bool isLeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int daysInMonth(int y, int m) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && isLeapYear(y) ? 29 : kDays[m - 1];
}

// Days from 1970-01-01 to the given day of the Gregorian calendar (years >= 1).
int64_t daysSinceEpoch(int y, int m, int d) {
  y -= m <= 2;
  int64_t era = y / 400;
  int64_t yearOfEra = y - era * 400;
  int64_t dayOfYear = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

}  // namespace

std::string versionFileValue(std::string_view fileText, int lineNumber) {
  std::string_view line;
  if (!findLine(fileText, lineNumber, &line)) return std::string();
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  size_t first = line.find('=');
  if (first == std::string_view::npos) return std::string();
  size_t second = line.find('=', first + 1);
  size_t length = second == std::string_view::npos ? std::string_view::npos : second - first - 1;
  std::string_view value = line.substr(first + 1, length);
  return value.size() > kMaxVersionLength ? std::string() : std::string(value);
}

std::string compareAppVersion(std::string_view remote, std::string_view local) {
  if (remote.empty()) return "no";
  std::array<std::string_view, 3> r = versionFields(remote);
  std::array<std::string_view, 3> l = versionFields(local);
  for (size_t i = 0; i < r.size(); ++i) {
    int order = compareDigits(r[i], l[i]);
    if (order != 0) return order > 0 ? "yes" : "no";
  }
  return "no";
}

int64_t parseVersionDate(std::string_view text) {
  int y = 0, m = 0, d = 0;
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return -1;
  if (!readNumber(text, 0, 4, &y) || !readNumber(text, 5, 2, &m) || !readNumber(text, 8, 2, &d)) return -1;
  // Dates before 1970 would count below an unreadable date (-1), so they are unreadable too.
  if (y < 1970 || m < 1 || m > 12 || d < 1 || d > daysInMonth(y, m)) return -1;
  return daysSinceEpoch(y, m, d) * 86400;
}

std::string compareDatabaseVersion(std::string_view remote, std::string_view local) {
  if (remote.empty()) return "no";
  return parseVersionDate(remote) > parseVersionDate(local) ? "yes" : "no";
}

UpdateAnswers updateAnswerTexts(const UpdateRecord& record, const std::string& versionText,
                                const std::string& databaseVersion) {
  UpdateAnswers answers;
  if (compareAppVersion(record.remoteAppVersion, versionText) == "yes")
    answers.appGtk2 = "yes:  " + versionText + std::string(kArrow) + record.remoteAppVersion;
  else
    answers.appGtk2 = "no:  " + versionText;
  answers.appGtk3 = " - ";  // this program is the GTK 2 variant and does not answer for GTK 3
  if (compareDatabaseVersion(record.remoteDatabaseVersion, databaseVersion) == "yes")
    answers.library = "yes:  " + databaseVersion + std::string(kArrow) + record.remoteDatabaseVersion;
  else
    answers.library = "no:  " + record.remoteDatabaseVersion;
  return answers;
}
