// Findings of the database check.
#include "tools/database_check.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string_view>
#include <unordered_set>

#include "core/app/paths.h"

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
  const TopicNode& node = in.index->topicList[row];
  const bool noDe = node.themeDe.empty();
  const bool noEn = node.themeEn.empty();
  if (!noDe && !noEn) return;
  const char* missing = noDe && noEn ? "German and English titles" : noDe ? "German title" : "English title";
  findings->push_back(where(in, row) + ": entry without " + missing);
}

void checkCodeFile(const CheckInput& in, size_t row, std::vector<std::string>* findings) {
  const std::string& file = in.index->topicList[row].file;
  if (file.empty()) return;
  std::string full = joinLibraryPath(in.libraryFolder, file);
  if (!isRegularFile(full)) findings->push_back(where(in, row) + ": code file missing: " + full);
}

// The viewer's help command opens the last help entry; earlier ones are dead weight.
void checkHelpEntries(const CheckInput& in, std::vector<std::string>* findings) {
  const std::vector<TopicNode>& topics = in.index->topicList;
  size_t first = topics.size();
  for (size_t i = 0; i < topics.size() && i < in.index->rows.size(); ++i) {
    if (filePart(topics[i].file) != kHelpFileName) continue;
    if (first == topics.size()) {
      first = i;
      continue;
    }
    findings->push_back(where(in, i) + ": another help entry (" + std::string(kHelpFileName) + ") after " +
                        where(in, first) + "; the viewer uses the last one");
  }
}

void checkUnnamedCodeFiles(const CheckInput& in, std::vector<std::string>* findings) {
  std::unordered_set<std::string_view> named;
  for (const TopicNode& node : in.index->topicList) named.insert(stripLeadingSlashes(node.file));
  for (const std::string& code : listCodeFiles(in.libraryFolder)) {
    if (named.count(stripLeadingSlashes(code)) != 0) continue;
    findings->push_back(joinLibraryPath(in.libraryFolder, code) + ": code file named by no entry");
  }
}

bool isCodeExtension(std::string ext) {
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext == ".vl" || ext == ".vli" || ext == ".vlf";
}

}  // namespace

std::vector<std::string> listCodeFiles(const std::string& libraryFolder) {
  namespace fs = std::filesystem;
  std::vector<std::string> codes;
  std::error_code ec;
  fs::recursive_directory_iterator it(libraryFolder, fs::directory_options::skip_permission_denied, ec);
  for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    std::error_code typeError;
    if (!it->is_regular_file(typeError) || !isCodeExtension(it->path().extension().string())) continue;
    codes.push_back("/" + it->path().lexically_relative(libraryFolder).generic_string());
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
  const size_t rows = std::min(in.index->rows.size(), in.index->topicList.size());
  for (size_t i = 0; i < rows; ++i) {
    checkCodeFile(in, i, &findings);
    if (in.index->rows[i].level >= 2) checkTitles(in, i, &findings);
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
