// Running one vlapi-tool command: load the database the way the viewer does, then
// export or check. Output is collected for the caller to print.
#pragma once

#include <string>

#include "tools/tool_options.h"

struct ToolOutput {
  std::string out;  // stdout: the export message, the check's findings
  std::string err;  // stderr: failures
};

// The program folder ("/" at the end) anchors the default template and export
// folders. Returns the exit status: 0 done, 1 failed or findings, 2 bad usage.
int runToolCommand(const ToolOptions& options, const std::string& programFolder, ToolOutput* output);

// The whole tool: arguments after the program name in, exit status out.
int runTool(const std::vector<std::string>& args, const std::string& programFolder, ToolOutput* output);

// Folder of the running executable, "/" at the end ("" when it cannot be found).
std::string executableFolder();
