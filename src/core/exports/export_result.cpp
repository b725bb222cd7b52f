// Small helpers shared by the exports.
#include "core/exports/export_result.h"

#include <utility>

std::string exportDiskFolder(const ExportSettings& settings) {
  return settings.exportDiskFolder.empty() ? settings.exportFolder : settings.exportDiskFolder;
}

ExportResult shownResult(bool ok, std::string message) {
  ExportResult result;
  result.ok = ok;
  result.shown = true;
  result.title = kExportMessageTitle;
  result.message = std::move(message);
  return result;
}
