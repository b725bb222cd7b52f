// Findings of the database check.
#include "tools/database_check.h"

#include <dirent.h>
#include <errno.h>
#include <string.h>
#include <sys/stat.h>

#include <algorithm>
#include <string_view>
#include <unordered_set>

#include "core/app/paths.h"
#include "core/codeview/code_file.h"

namespace {

constexpr std::string_view kHelpFileName = "ViewerHelp.txt";

std::string where(const CheckInput& in, size_t row) {
  if (row < in.elementLines.size()) return in.databasePath + ":" + std::to_string(in.elementLines[row]);
  return in.databasePath;
}

bool isRegularFile(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

void checkTitles(const CheckInput& in, size_t row, std::vector<std::string>* findings) {
  const TopicNode& node = in.index->topic(row);
  const bool noDe = node.themeDe.empty();
  const bool noEn = node.themeEn.empty();
  if (!noDe && !noEn) return;
  const char* missing = noDe && noEn ? "German and English titles" : noDe ? "German title" : "English title";
  findings->push_back(where(in, row) + ": entry without " + missing);
}

void checkCodeFile(const CheckInput& in, size_t row, std::vector<std::string>* findings) {
  std::string_view file = in.index->topic(row).file;
  if (file.empty()) return;
  std::string full = joinLibraryPath(in.libraryFolder, file);
  if (!isRegularFile(full)) findings->push_back(where(in, row) + ": code file missing: " + full);
}

// The viewer's help command opens the last help entry; earlier ones are dead weight.
void checkHelpEntries(const CheckInput& in, std::vector<std::string>* findings) {
  const size_t rows = in.index->rowCount();
  size_t first = rows;
  for (size_t i = 0; i < rows; ++i) {
    if (filePart(in.index->topic(i).file) != kHelpFileName) continue;
    if (first == rows) {
      first = i;
      continue;
    }
    findings->push_back(where(in, i) + ": another help entry (" + std::string(kHelpFileName) + ") after " +
                        where(in, first) + "; the viewer uses the last one");
  }
}

void checkUnnamedCodeFiles(const CheckInput& in, std::vector<std::string>* findings) {
  std::unordered_set<std::string_view> named;
  for (size_t i = 0; i < in.index->rowCount(); ++i) named.insert(stripLeadingSlashes(in.index->topic(i).file));
  std::vector<std::string> errors;
  for (const std::string& code : listCodeFiles(in.libraryFolder, &errors)) {
    if (named.count(stripLeadingSlashes(code)) != 0) continue;
    findings->push_back(joinLibraryPath(in.libraryFolder, code) + ": code file named by no entry");
  }
  findings->insert(findings->end(), errors.begin(), errors.end());
}

// The type of a folder entry, asking the file system only where readdir cannot tell.
// A link counts as what it names, but a linked folder is not walked (it may loop).
unsigned char entryType(const std::string& path, unsigned char type) {
  struct stat st;
  if (type == DT_UNKNOWN && lstat(path.c_str(), &st) == 0) type = static_cast<unsigned char>(IFTODT(st.st_mode));
  if (type != DT_LNK) return type;
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) ? DT_REG : DT_LNK;
}

// Reads one folder whole and closes it before anything below it is opened, so a deep
// tree costs one descriptor at a time. `relative` ends in "/" (or is empty).
void readFolder(const std::string& root, const std::string& relative, std::vector<std::string>* codes,
                std::vector<std::string>* subfolders, std::vector<std::string>* errors) {
  const std::string folder = root + relative;
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) {
    errors->push_back(folder + ": cannot read the folder: " + strerror(errno));
    return;
  }
  for (;;) {
    errno = 0;
    struct dirent* e = readdir(dir);
    if (e == nullptr) break;
    std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    unsigned char type = entryType(folder + name, e->d_type);
    if (type == DT_DIR) subfolders->push_back(relative + name + "/");
    if (type == DT_REG && extensionAccepted(codeFileExtension(name))) codes->push_back("/" + relative + name);
  }
  if (errno != 0) errors->push_back(folder + ": cannot read the folder: " + strerror(errno));
  closedir(dir);
}

}  // namespace

std::vector<std::string> listCodeFiles(const std::string& libraryFolder, std::vector<std::string>* errors) {
  std::string root = libraryFolder;
  if (!root.empty() && root.back() != '/') root += '/';
  std::vector<std::string> codes;
  std::vector<std::string> pending = {""};
  while (!pending.empty()) {
    std::string relative = std::move(pending.back());
    pending.pop_back();
    readFolder(root, relative, &codes, &pending, errors);
  }
  std::sort(codes.begin(), codes.end());
  return codes;
}

std::vector<std::string> checkDatabase(const CheckInput& in) {
  std::vector<std::string> findings;
  if (in.parseResult.status != 0) {
    findings.push_back(in.databasePath + ":" + std::to_string(in.parseResult.line) + ": Error in the XML file: " +
                       in.parseResult.errorText + " (character " + std::to_string(in.parseResult.column) + ")");
  }
  for (size_t i = 0; i < in.index->rowCount(); ++i) {
    checkCodeFile(in, i, &findings);
    if (in.index->row(i).level >= 2) checkTitles(in, i, &findings);
  }
  checkHelpEntries(in, &findings);
  struct stat st;
  if (stat(in.libraryFolder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
    findings.push_back(in.libraryFolder + ": library folder not found");
  } else {
    checkUnnamedCodeFiles(in, &findings);
  }
  return findings;
}
