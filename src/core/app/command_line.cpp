// The viewer's --help and --version, answered before any window opens.
#include "core/app/command_line.h"

#include "core/app/error_report.h"
#include "core/app/version.h"

CommandLine parseViewerArguments(const std::vector<std::string>& args) {
  CommandLine c;
  // The fresh start that shows the report of a program error (restartToReport).
  ProgramError error;
  if (args.size() == 1 && parseReportArgument(args[0].c_str(), &error)) return c;
  for (const std::string& a : args) {
    if (a == "--help") return {CommandAction::Help, ""};
    if (a == "--version") return {CommandAction::Version, ""};
    if (c.action == CommandAction::Run) {
      c.action = CommandAction::UsageError;
      c.error = (a.size() > 1 && a[0] == '-' ? "unknown option " : "unexpected argument ") + a;
    }
  }
  return c;
}

std::string viewerHelpText() {
  return "Usage: vlapi-viewer [--help | --version]\n"
         "Shows a library of Veldra code examples: the topic index, the descriptions and\n"
         "the coloured code.\n"
         "\n"
         "Options:\n"
         "  --help       print this help and exit\n"
         "  --version    print the version and exit\n"
         "The toolkit's own options, such as --display=DISPLAY, are accepted as well.\n"
         "\n"
         "Files:\n"
         "  LinuxVL API-RuvUduviv.ini\n"
         "      The settings, read at start and written by the settings window's Save.\n"
         "      It lies beside the executable when it is there or that folder can be\n"
         "      written (a portable program folder); for an installed program otherwise\n"
         "      in $XDG_CONFIG_HOME/vlapi-viewer/ (~/.config/vlapi-viewer/), made by the\n"
         "      first Save.\n"
         "  RoruvUR EZU-RedIzir.ari\n"
         "      The interface texts: beside the executable, else in ../share/vlapi-viewer/.\n"
         "  VL-LinuxAPI-Toc.xml\n"
         "      The topic database of the library, asked for on the first start; an\n"
         "      installed program offers its sample library.\n"
         "\n"
         "Exit status: 0 when the viewer ends normally, also after a start-up message;\n"
         "2 for a usage error.\n";
}

std::string versionText(const std::string& programName) { return programName + " " + kProgramVersion + "\n"; }
