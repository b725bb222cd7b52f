// Command-line companion for library maintainers (exports and checks without a display).
#include <cstdio>
#include <string>
#include <vector>

#include "tools/tool_run.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  ToolOutput output;
  int status = runTool(args, executableFolder(), &output);
  std::fwrite(output.out.data(), 1, output.out.size(), stdout);
  std::fwrite(output.err.data(), 1, output.err.size(), stderr);
  if (std::fflush(stdout) != 0 && status == 0) status = 1;
  return status;
}
