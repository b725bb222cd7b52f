// The date the web page export puts in place of "CurrDate": "07. Mar. 2026".
#pragma once

#include <ctime>
#include <string>

// Day with two digits, English month abbreviation, four-digit year.
std::string exportDateText(const std::tm& date);

// The same for today's local date.
std::string currentExportDateText();
