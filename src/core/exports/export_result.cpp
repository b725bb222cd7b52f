// Small helpers shared by the exports.
#include "core/exports/export_result.h"

#include <utility>
#include <vector>

std::string exportDiskFolder(const ExportSettings& settings) {
  std::string folder = settings.exportDiskFolder.empty() ? settings.exportFolder : settings.exportDiskFolder;
  std::vector<std::string> made;
  // A folder that cannot be made shows as the export's own failure to create its file.
  if (settings.makeFolder) makeFolders(folder, &made);
  return folder;
}

ExportResult shownResult(bool ok, std::string message) {
  ExportResult result;
  result.ok = ok;
  result.shown = true;
  result.title = kExportMessageTitle;
  result.message = std::move(message);
  return result;
}
