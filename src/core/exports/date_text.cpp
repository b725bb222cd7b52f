// Date text of the web page export.
#include "core/exports/date_text.h"

#include <time.h>

#include <cstdio>

std::string exportDateText(const std::tm& date) {
  static const char* const kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  int month = ((date.tm_mon % 12) + 12) % 12;  // a hand-made tm may be out of range
  char text[64];
  std::snprintf(text, sizeof text, "%02d. %s. %04d", date.tm_mday, kMonths[month], date.tm_year + 1900);
  return text;
}

std::string currentExportDateText() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return exportDateText(local);
}
