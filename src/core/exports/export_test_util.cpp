// Helpers of the export tests.
#include "core/exports/export_test_util.h"

#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>

void addRow(IndexModel* index, int level, const std::string& text, const TopicNode& node) {
  IndexRow row;
  row.text = text;
  row.level = level;
  index->rows.push_back(row);
  index->topicList.push_back(node);
}

TopicNode entryNode(const std::string& themeDe, const std::string& themeEn, const std::string& file,
                    const std::string& group) {
  TopicNode node;
  node.themeDe = themeDe;
  node.themeEn = themeEn;
  node.file = file;
  node.group = group;
  return node;
}

std::string makeScratchFolder() {
  const char* tmp = getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/vl-exports-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) return "/nonexistent-scratch/";
  return pattern + "/";
}

void removeScratchFolder(const std::string& folder) {
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
}

std::string readTestFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeTestFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

bool testFileExists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}
