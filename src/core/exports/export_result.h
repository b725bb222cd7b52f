// What an admin export needs from the program state, and what it hands back for
// the caller to show. The exports themselves never open a window.
#pragma once

#include <string>

#include "core/app/paths.h"

// Title of every export message box.
inline constexpr const char kExportMessageTitle[] = "Linux VL-ZEZ-Ovidozo-Vivara";

struct ExportSettings {
  std::string exportFolder = kExportFolder;  // as it appears in the messages
  // Where the files really go when that differs from exportFolder: the command-line
  // tool resolves the default folder against its own folder but keeps the message
  // text of the viewer, which runs inside its folder. Empty = exportFolder.
  std::string exportDiskFolder;
  std::string templatesFolder = kTemplatesFolder;
  bool makeFolder = false;             // the export folder is a per-user one, made when missing
  std::string platformWord = "Linux";  // put in front of every code path of the web page
  int firstEntryIndex = 0;             // first row walked; nothing changes it
  std::string dateText;                // replaces "CurrDate" in the head template
};

struct ExportResult {
  bool ok = false;     // the file was written completely
  bool shown = false;  // the caller shows title and message in a message box
  std::string title;
  std::string message;
};

// The folder the files of an export are opened in; a per-user one is made first.
std::string exportDiskFolder(const ExportSettings& settings);

// A result with a message box.
ExportResult shownResult(bool ok, std::string message);
