// Path rules shared by every subsystem. Folders end in "/"; a code path from the
// database begins with "/" and is joined to a folder without adding a separator.
#pragma once

#include <string>
#include <string_view>

// Everything up to and including the last "/" ("" when there is none).
std::string folderPart(std::string_view path);
// Everything after the last "/" (the whole text when there is none).
std::string filePart(std::string_view path);
// The text with all leading "/" characters removed.
std::string_view stripLeadingSlashes(std::string_view path);
// folder + code path without its leading "/" characters; no separator is added.
std::string joinLibraryPath(std::string_view folder, std::string_view codePath);
