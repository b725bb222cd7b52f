#include "core/app/paths.h"

#include <errno.h>
#include <pwd.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <initializer_list>

std::string folderPart(std::string_view path) {
  size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

std::string filePart(std::string_view path) {
  size_t slash = path.rfind('/');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string_view stripLeadingSlashes(std::string_view path) {
  size_t i = 0;
  while (i < path.size() && path[i] == '/') ++i;
  return path.substr(i);
}

std::string joinLibraryPath(std::string_view folder, std::string_view codePath) {
  std::string full(folder);
  full += stripLeadingSlashes(codePath);
  return full;
}

namespace {

constexpr char kProgramDataName[] = "vlapi-viewer/";
constexpr char kSampleLibrary[] = "sample-library/";

std::string asFolder(std::string path) {
  if (!path.empty() && path.back() != '/') path += '/';
  return path;
}

// XDG base directories: a value that is not an absolute path is to be ignored.
std::string baseFolder(const std::string& value, const std::string& home, const char* fallback) {
  if (!value.empty() && value[0] == '/') return asFolder(value);
  return asFolder(home) + fallback;
}

struct Lookup {
  const std::string& programFolder;
  const FileProbe& probe;
  bool exists(const std::string& path) const {
    return probe.exists(inProgramFolder(programFolder, path), probe.context);
  }
};

// The first of the candidates that exists; the first one when none does.
std::string firstExisting(const Lookup& l, std::initializer_list<std::string> candidates) {
  for (const std::string& c : candidates)
    if (l.exists(c)) return c;
  return *candidates.begin();
}

}  // namespace

std::string inProgramFolder(const std::string& programFolder, const std::string& path) {
  return path.empty() || path[0] == '/' ? path : programFolder + path;
}

LocationEnvironment currentLocationEnvironment() {
  auto get = [](const char* name) {
    const char* value = getenv(name);
    return std::string(value ? value : "");
  };
  LocationEnvironment env{get("XDG_CONFIG_HOME"), get("XDG_DATA_HOME"), get("HOME")};
  // Without HOME the per-user folders would end up relative to the program folder.
  const struct passwd* user = env.home.empty() ? getpwuid(getuid()) : nullptr;
  if (user && user->pw_dir) env.home = user->pw_dir;
  return env;
}

FileProbe diskProbe() {
  FileProbe p;
  p.exists = [](const std::string& path, void*) { return access(path.c_str(), F_OK) == 0; };
  p.writable = [](const std::string& folder, void*) { return access(folder.c_str(), W_OK) == 0; };
  return p;
}

FileLocations writtenFileLocations(const std::string& settingsFileName) {
  FileLocations f;
  f.settingsFile = settingsFileName;
  f.languageFileName = kLanguageFileName;
  f.templatesFolder = kTemplatesFolder;
  f.exportFolder = kExportFolder;
  return f;
}

FileLocations findFileLocations(const std::string& programFolder, const FileLocations& written,
                                const LocationEnvironment& env, const FileProbe& probe) {
  const Lookup l{programFolder, probe};
  const std::string shared = kInstalledDataFolder;
  const bool installed = l.exists(shared + written.languageFileName);
  const bool settingsBeside = l.exists(written.settingsFile);
  // An installed program's folder belongs to the system, even for root, who could
  // write it; a portable folder the user can write keeps everything together.
  const bool keepBeside = settingsBeside || (!installed && probe.writable(programFolder, probe.context));
  const std::string userConfig = baseFolder(env.xdgConfigHome, env.home, ".config/") + kProgramDataName;
  const std::string userData = baseFolder(env.xdgDataHome, env.home, ".local/share/") + kProgramDataName;

  FileLocations f;
  f.settingsFile = (keepBeside ? programFolder : userConfig) + written.settingsFile;
  f.languageFileName = firstExisting(l, {written.languageFileName, shared + written.languageFileName});
  f.templatesFolder = firstExisting(l, {written.templatesFolder, userData + "Templates/", shared + "Templates/"});
  const bool exportBeside = keepBeside || l.exists(written.exportFolder);
  f.exportFolder = exportBeside ? written.exportFolder : userData + "Export/";
  f.makeExportFolder = !exportBeside;
  if (!keepBeside && l.exists(shared + kSampleLibrary)) f.firstStartFolder = programFolder + shared + kSampleLibrary;
  return f;
}
bool makeFolders(const std::string& folder, std::vector<std::string>* made) {
  std::string path;
  for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
    path = folder.substr(0, slash == std::string::npos ? folder.size() : slash);
    if (!path.empty() && mkdir(path.c_str(), 0700) == 0) {
      made->push_back(path);
    } else if (!path.empty() && errno != EEXIST) {
      return false;
    }
    if (slash == std::string::npos || slash + 1 == folder.size()) break;
  }
  struct stat st;
  return stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}
