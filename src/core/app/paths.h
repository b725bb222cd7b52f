// Path rules shared by every subsystem. Folders end in "/"; a code path from the
// database begins with "/" and is joined to a folder without adding a separator.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Everything up to and including the last "/" ("" when there is none).
std::string folderPart(std::string_view path);
// Everything after the last "/" (the whole text when there is none).
std::string filePart(std::string_view path);
// The text with all leading "/" characters removed.
std::string_view stripLeadingSlashes(std::string_view path);
// folder + code path without its leading "/" characters; no separator is added.
std::string joinLibraryPath(std::string_view folder, std::string_view codePath);

// The program's own files as written, relative to the program folder.
inline constexpr char kLanguageFileName[] = "RoruvUR EZU-RedIzir.ari";
inline constexpr char kTemplatesFolder[] = "../../Templates/";
inline constexpr char kExportFolder[] = "../../Export/";

// Where the program's own files are. As written they all sit in the program folder,
// the portable folder a user unpacks (and build/stage/). An installed program, whose
// folder has the shared data folder "../share/vlapi-viewer/" beside it, keeps them in
// the usual shared and per-user places whenever the user could not keep them there.
struct FileLocations {
  std::string settingsFile;       // full path
  std::string languageFileName;   // relative to the program folder
  std::string templatesFolder;    // relative to the program folder or absolute, "/" at the end
  std::string exportFolder;       // likewise
  bool makeExportFolder = false;  // the per-user export folder is made on the first export
  std::string firstStartFolder;   // where a first start's database requester opens; "" as written
};

// The environment the per-user places come from.
struct LocationEnvironment {
  std::string xdgConfigHome;
  std::string xdgDataHome;
  std::string home;
};
LocationEnvironment currentLocationEnvironment();

// What the decision asks of the file system; the tests answer from a list.
struct FileProbe {
  bool (*exists)(const std::string& path, void* context);  // a file or folder is there
  bool (*writable)(const std::string& folder, void* context);
  void* context = nullptr;
};
FileProbe diskProbe();

// The shared data folder of an installed program, relative to its program folder.
inline constexpr char kInstalledDataFolder[] = "../share/vlapi-viewer/";

// The files as written: all in the program folder, the settings file by its name.
FileLocations writtenFileLocations(const std::string& settingsFileName);

// `written` holds the names as written: the settings file's name, the language file
// and the two admin folders relative to the program folder.
FileLocations findFileLocations(const std::string& programFolder, const FileLocations& written,
                                const LocationEnvironment& env, const FileProbe& probe);

// A path given relative to the program folder (the viewer's working directory) as
// seen from elsewhere; absolute paths stay as they are.
std::string inProgramFolder(const std::string& programFolder, const std::string& path);

// Makes the folder and any missing parents (mode 0700: they hold one user's files).
// `made` receives the folders created, outermost first. False when one cannot be made.
bool makeFolders(const std::string& folder, std::vector<std::string>* made);
