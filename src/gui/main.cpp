// The viewer's entry: the command line is answered before any window opens.
#include <gtk/gtk.h>

#include <cstdio>
#include <string>
#include <vector>

#include "core/app/command_line.h"
#include "gui/viewer.h"

namespace {

int print(FILE* stream, const std::string& text, int status) {
  std::fwrite(text.data(), 1, text.size(), stream);
  return std::fflush(stream) == 0 ? status : 1;
}

}  // namespace

int main(int argc, char** argv) {
  // The toolkit takes its own options without opening a display, so what is left
  // (--help, --version or a mistake) is answered without one.
  gtk_parse_args(&argc, &argv);
  CommandLine command = parseViewerArguments(std::vector<std::string>(argv + 1, argv + argc));
  switch (command.action) {
    case CommandAction::Help:
      return print(stdout, viewerHelpText(), 0);
    case CommandAction::Version:
      return print(stdout, versionText("vlapi-viewer"), 0);
    case CommandAction::UsageError:
      return print(stderr, "vlapi-viewer: " + command.error + "\nTry 'vlapi-viewer --help' for more information.\n", 2);
    case CommandAction::Run:
      break;
  }
  return runViewer(argc, argv);
}
