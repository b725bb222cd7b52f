// The viewer's own command line. GTK takes its options (--display and the like)
// first; of what is left only --help and --version are the viewer's.
#pragma once

#include <string>
#include <vector>

enum class CommandAction { Run, Help, Version, UsageError };

struct CommandLine {
  CommandAction action = CommandAction::Run;
  std::string error;  // for a usage error: what was wrong, naming the argument
};

// The arguments after the program name, with the toolkit's options removed.
CommandLine parseViewerArguments(const std::vector<std::string>& args);

// What --help prints: usage, options, exit status and the files read and written.
std::string viewerHelpText();

// What --version prints for either program: its name and the program version.
std::string versionText(const std::string& programName);
