// The downloaded version file and the two comparisons: a line's value never
// reaches past its line or its second "=", the program versions are ordered like
// numbers (never both ways, never a version above itself), and a date is read
// exactly when it names a real day from 1970 on, at midnight UTC of that day.
#include <stddef.h>
#include <stdint.h>
#include <time.h>

#include <string>
#include <string_view>

#include "core/update/version_check.h"
#include "fuzz_util.h"

namespace {

std::string_view lineOf(std::string_view text, int n) {
  for (int i = 1; i < n; ++i) {
    size_t lf = text.find('\n');
    if (lf == std::string_view::npos) return {};
    text.remove_prefix(lf + 1);
  }
  return text.substr(0, text.find('\n'));
}

// A version's three fields as numbers; false when a field does not fit 64 bits.
bool numericFields(std::string_view v, uint64_t out[3]) {
  for (int f = 0; f < 3; ++f) {
    out[f] = 0;
    size_t i = 0;
    for (; i < v.size() && v[i] >= '0' && v[i] <= '9'; ++i) {
      if (out[f] > (UINT64_MAX - 9) / 10) return false;
      out[f] = out[f] * 10 + static_cast<uint64_t>(v[i] - '0');
    }
    size_t dot = v.find('.');
    v = dot == std::string_view::npos ? std::string_view() : v.substr(dot + 1);
  }
  return true;
}

bool laterVersion(std::string_view remote, std::string_view local) { return compareAppVersion(remote, local) == "yes"; }

void checkVersions(std::string_view a, std::string_view b, std::string_view c) {
  FUZZ_CHECK(!laterVersion(a, a));
  FUZZ_CHECK(!(laterVersion(a, b) && laterVersion(b, a)));
  if (laterVersion(a, b) && laterVersion(b, c)) FUZZ_CHECK(laterVersion(a, c));
  uint64_t x[3], y[3];
  if (!a.empty() && numericFields(a, x) && numericFields(b, y)) {
    bool later = x[0] != y[0] ? x[0] > y[0] : x[1] != y[1] ? x[1] > y[1] : x[2] > y[2];
    FUZZ_CHECK(laterVersion(a, b) == later);
  }
}

// The day named by exactly "yyyy-mm-dd" (from 1970 on), or -1.
int64_t modelDate(std::string_view s) {
  if (s.size() != 10 || s[4] != '-' || s[7] != '-') return -1;
  for (size_t i : {0, 1, 2, 3, 5, 6, 8, 9}) {
    if (s[i] < '0' || s[i] > '9') return -1;
  }
  struct tm tm = {};
  tm.tm_year = std::stoi(std::string(s.substr(0, 4))) - 1900;
  tm.tm_mon = std::stoi(std::string(s.substr(5, 2))) - 1;
  tm.tm_mday = std::stoi(std::string(s.substr(8, 2)));
  const int year = tm.tm_year, month = tm.tm_mon, day = tm.tm_mday;
  time_t t = timegm(&tm);
  if (tm.tm_year != year || tm.tm_mon != month || tm.tm_mday != day || year < 70) return -1;
  return static_cast<int64_t>(t);
}

void checkDates(std::string_view a, std::string_view b) {
  FUZZ_CHECK(parseVersionDate(a) == modelDate(a));
  bool later = !a.empty() && modelDate(a) > modelDate(b);
  FUZZ_CHECK((compareDatabaseVersion(a, b) == "yes") == later);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  for (int n = -1; n <= 7; ++n) {
    std::string value = versionFileValue(text, n);
    std::string_view line = n >= 1 ? lineOf(text, n) : std::string_view();
    FUZZ_CHECK(n >= 1 || value.empty());
    FUZZ_CHECK(value.find('\n') == std::string::npos && value.find('=') == std::string::npos);
    FUZZ_CHECK(line.find(value) != std::string_view::npos);
    if (line.find('=') == std::string_view::npos) FUZZ_CHECK(value.empty());
  }

  // Lines 1 to 3 as raw versions and dates; lines 3 and 5 as the program reads them.
  checkVersions(lineOf(text, 1), lineOf(text, 2), lineOf(text, 3));
  checkDates(lineOf(text, 1), lineOf(text, 2));
  std::string app = versionFileValue(text, 3), library = versionFileValue(text, 5);
  checkVersions(app, "0.25.36", lineOf(text, 4));
  checkDates(library, lineOf(text, 4));

  UpdateRecord record{std::string(text), app, library};
  UpdateAnswers answers = updateAnswerTexts(record, "0.25.36", std::string(lineOf(text, 4)));
  FUZZ_CHECK(answers.appGtk2.starts_with(laterVersion(app, "0.25.36") ? "yes:  " : "no:  "));
  FUZZ_CHECK(answers.appGtk3 == " - ");
  FUZZ_CHECK(answers.library.starts_with("yes:  ") || answers.library == "no:  " + library);
  return 0;
}
