// Detached start of external programs with a PATH search, and the openers built on it.
#include "core/codeview/process.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "core/app/paths.h"

namespace {

bool isSeparator(char c) { return c == ' ' || c == '\t' || c == '\n'; }

bool isExecutableFile(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0;
}

std::string searchPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  if (path == nullptr) return std::string();
  std::string_view folders(path);
  while (true) {
    size_t colon = folders.find(':');
    std::string_view folder = folders.substr(0, colon);
    // An empty entry would put the name at the root folder: skip it.
    if (!folder.empty()) {
      std::string candidate(folder);
      if (candidate.back() != '/') candidate += '/';
      candidate += name;
      if (isExecutableFile(candidate)) return candidate;
    }
    if (colon == std::string_view::npos) return std::string();
    folders.remove_prefix(colon + 1);
  }
}

// Runs in the forked child, so only async-signal-safe calls until execv. The child
// ends at once; its child (the grandchild) becomes the program, is adopted by init
// and so never waits as a zombie for the viewer.
[[noreturn]] void runDetached(const char* path, char* const* argv, const char* folder) {
  pid_t grandchild = fork();
  if (grandchild != 0) _exit(grandchild < 0 ? 1 : 0);
  setsid();  // its own session: the program outlives the viewer's terminal
  if (folder != nullptr && chdir(folder) != 0) _exit(127);
  close_range(3, ~0U, 0);  // the viewer's X connection and files are not the program's
  execv(path, argv);
  _exit(127);
}

// 1 when the short-lived child managed to start the grandchild.
int collectChild(pid_t child) {
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno == ECHILD) return 1;  // someone else reaped it; it had forked already
    if (errno != EINTR) return 0;
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 1 : 0;
}

// "xdg-open" first; "gnome-open" for desktops that have only that.
int startOpener(const std::string& target) {
  int started = startProgramWithArguments("xdg-open", {target}, std::string());
  if (started == 0) started = startProgramWithArguments("gnome-open", {target}, std::string());
  return started;
}

}  // namespace

std::string findProgram(const std::string& name) {
  if (name.empty()) return std::string();
  if (name.find('/') != std::string::npos && isExecutableFile(name)) return name;
  if (name[0] == '/' || name.starts_with("./")) return std::string();
  return searchPath(name);
}

std::vector<std::string> splitArguments(std::string_view text) {
  std::vector<std::string> arguments;
  size_t i = 0;
  while (i < text.size()) {
    if (isSeparator(text[i])) {
      ++i;
    } else if (text[i] == '"') {
      size_t end = text.find_first_of("\"\n", i + 1);
      if (end == std::string_view::npos) end = text.size();
      arguments.emplace_back(text.substr(i + 1, end - i - 1));
      i = end < text.size() ? end + 1 : end;
    } else {
      size_t end = text.find_first_of(" \t\n", i);
      if (end == std::string_view::npos) end = text.size();
      arguments.emplace_back(text.substr(i, end - i));
      i = end;
    }
  }
  return arguments;
}

std::string quoteArgument(const std::string& text) {
  bool plain = !text.empty() && text[0] != '"' && text.find_first_of(" \t\n") == std::string::npos;
  return plain ? text : "\"" + text + "\"";
}

int startProgram(const std::string& program, const std::string& arguments, const std::string& workingFolder) {
  return startProgramWithArguments(program, splitArguments(arguments), workingFolder);
}

int startProgramWithArguments(const std::string& program, const std::vector<std::string>& arguments,
                              const std::string& workingFolder) {
  std::string path = findProgram(program);
  if (path.empty()) return 0;
  // Everything the child needs is prepared before fork.
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  const char* folder = workingFolder.empty() ? nullptr : workingFolder.c_str();
  pid_t child = fork();
  if (child < 0) return 0;
  if (child == 0) runDetached(path.c_str(), argv.data(), folder);
  return collectChild(child);
}

int fileExists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode) ? 1 : 0;
}

int isDirectory(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) ? 1 : 0;
}

bool isOwnerExecutable(const std::string& path) {
  struct stat info;
  if (lstat(path.c_str(), &info) != 0) return false;
  return S_ISLNK(info.st_mode) || (info.st_mode & S_IXUSR) != 0;
}

std::string pathArgument(const std::string& path) {
  if (path.empty() || path[0] == '/' || path.starts_with("./")) return path;
  return "./" + path;
}

bool staysInsideLibrary(std::string_view codePath) {
  int depth = 0;
  while (!codePath.empty()) {
    size_t slash = codePath.find('/');
    std::string_view part = codePath.substr(0, slash);
    if (part == "..") {
      if (--depth < 0) return false;
    } else if (!part.empty() && part != ".") {
      ++depth;
    }
    codePath.remove_prefix(slash == std::string_view::npos ? codePath.size() : slash + 1);
  }
  return true;
}

std::string externalCodePath(std::string_view libraryFolder, std::string_view codePath) {
  return staysInsideLibrary(codePath) ? joinLibraryPath(libraryFolder, codePath) : std::string();
}

int openWithDefaultApplication(const std::string& file) {
  if (fileExists(file) == 0) return 0;
  return startOpener(pathArgument(file));
}

int openCodeFile(const std::string& editorPath, const std::string& fullPath) {
  if (fullPath.empty()) return 0;
  // The path goes over as one argument, blanks and quotes included.
  if (!editorPath.empty() && isOwnerExecutable(editorPath))
    return startProgramWithArguments(editorPath, {pathArgument(fullPath)}, std::string());
  if (editorPath.empty()) return openWithDefaultApplication(fullPath);
  return 0;  // an editor is set but cannot run: the default application would surprise
}

int openLibraryFolder(const std::string& folderFieldText, const std::string& programFolder) {
  std::string folder = folderFieldText.empty() ? programFolder : folderFieldText;
  size_t last = folder.find_last_not_of('/');
  if (last != std::string::npos)
    folder.erase(last + 1);
  else if (!folder.empty())
    folder = "/";  // the root folder keeps its one "/"
  if (isDirectory(folder) == 0) return 0;
  return startOpener(pathArgument(folder));
}
