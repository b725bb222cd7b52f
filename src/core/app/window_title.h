// The main window's title, which names the shown code file in one of three lengths.
#pragma once

#include <string>
#include <string_view>

inline constexpr const char* kAppTitle = "Linux VL-ZEZ-Ovidozo-Vivara";

// sourceInTitle 0: file name; 1: the code path as stored; 2: dbPath + the code path
// without its leading "/" characters.
std::string windowTitleFor(std::string_view codePath, int sourceInTitle, std::string_view dbPath);
