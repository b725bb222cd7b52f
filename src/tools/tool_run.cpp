// The tool's commands over the shared core.
#include "tools/tool_run.h"

#include <unistd.h>

#include "core/app/command_line.h"
#include "core/app/paths.h"
#include "core/app/regular_file.h"
#include "core/database/database_loader.h"
#include "core/database/duplicate_protocol.h"
#include "core/database/index_builder.h"
#include "core/exports/date_text.h"
#include "core/exports/posting_export.h"
#include "core/exports/web_page_export.h"
#include "core/settings/settings_io.h"
#include "tools/database_check.h"
#include "tools/element_lines.h"

namespace {

// Told without waiting: a fifo named as the database would stall every command.
bool isReadableRegularFile(const std::string& path) {
  FileStatus status;
  uint64_t size = 0;
  int fd = openRegularFile(path, &status, &size);
  if (fd >= 0) close(fd);
  return fd >= 0;
}

// The viewer's start-up refuses a database it cannot open or parse; so does the tool.
bool loadDatabase(const std::string& path, const IndexBuildOptions& options, IndexModel* index, XmlParseResult* result,
                  std::string* err) {
  if (!isReadableRegularFile(path) || !loadDatabaseFile(path, options, index, result)) {
    *err = "The database '" + path + "' cannot be opened.\n";
    return false;
  }
  return true;
}

std::string xmlErrorReport(const XmlParseResult& r) {
  return "Error in the XML file:\nMessage: " + r.errorText + "\nLine: " + std::to_string(r.line) +
         "   Character: " + std::to_string(r.column) + "\n";
}

// The viewer's folders, found as the viewer finds them and seen from the program folder.
ExportSettings exportSettingsFor(const ToolOptions& o, const std::string& programFolder) {
  const FileLocations found = findFileLocations(programFolder, writtenFileLocations(kSettingsFileName),
                                                currentLocationEnvironment(), diskProbe());
  ExportSettings s;
  if (!o.exportFolder.empty()) {
    s.exportFolder = o.exportFolder;
  } else if (found.makeExportFolder) {
    s.exportFolder = found.exportFolder;
    s.makeFolder = true;
  } else {
    s.exportDiskFolder = programFolder + s.exportFolder;
  }
  s.templatesFolder =
      o.templatesFolder.empty() ? inProgramFolder(programFolder, found.templatesFolder) : o.templatesFolder;
  s.dateText = currentExportDateText();
  return s;
}

ExportResult runExport(const ToolOptions& o, const IndexModel& index, const ExportSettings& s) {
  switch (o.command) {
    case ToolCommand::ExportHtml:
      return exportWebPage(index, s);
    case ToolCommand::ExportPosting:
      return exportPosting(index, s, o.newsOnly);
    case ToolCommand::ExportFileList:
      return exportFileList(index, s);
    default:
      return writeDuplicateProtocol(index, filePart(o.databasePath), s);
  }
}

int runExportCommand(const ToolOptions& o, const std::string& programFolder, ToolOutput* output) {
  IndexBuildOptions build;
  build.topicLanguage = o.topicLanguage;
  build.dyeingNews = o.dyeingNews;
  IndexModel index;
  XmlParseResult parsed;
  if (!loadDatabase(o.databasePath, build, &index, &parsed, &output->err)) return 1;
  if (parsed.status != 0) {
    output->err = xmlErrorReport(parsed);
    return 1;
  }
  ExportResult result = runExport(o, index, exportSettingsFor(o, programFolder));
  (result.ok ? output->out : output->err) = result.message + "\n";
  return result.ok ? 0 : 1;
}

int runCheckCommand(const ToolOptions& o, ToolOutput* output) {
  CheckInput in;
  IndexModel index;
  if (!loadDatabase(o.databasePath, IndexBuildOptions{}, &index, &in.parseResult, &output->err)) return 1;
  in.databasePath = o.databasePath;
  in.libraryFolder = o.libraryFolder.empty() ? folderPart(o.databasePath) : o.libraryFolder;
  if (in.libraryFolder.empty()) in.libraryFolder = "./";
  in.index = &index;
  readElementLines(o.databasePath, &in.elementLines);
  std::vector<std::string> findings = checkDatabase(in);
  for (const std::string& f : findings) output->out += f + "\n";
  return findings.empty() ? 0 : 1;
}

}  // namespace

int runToolCommand(const ToolOptions& options, const std::string& programFolder, ToolOutput* output) {
  switch (options.command) {
    case ToolCommand::Help:
      output->out = toolHelp();
      return 0;
    case ToolCommand::Version:
      output->out = versionText("vlapi-tool");
      return 0;
    case ToolCommand::Check:
      return runCheckCommand(options, output);
    default:
      return runExportCommand(options, programFolder, output);
  }
}

int runTool(const std::vector<std::string>& args, const std::string& programFolder, ToolOutput* output) {
  ToolOptions options;
  std::string err;
  if (!parseToolArguments(args, &options, &err)) {
    output->err = "vlapi-tool: " + err + "\n" + toolUsage();
    return 2;
  }
  return runToolCommand(options, programFolder, output);
}

std::string executableFolder() {
  char buffer[4096];
  ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return "";
  return folderPart(std::string_view(buffer, static_cast<size_t>(n)));
}
