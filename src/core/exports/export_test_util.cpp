// Helpers of the export tests.
#include "core/exports/export_test_util.h"

#include "core/database/index_builder.h"

#include <stdlib.h>
#include <sys/stat.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>

void addRow(IndexModel* index, int level, const std::string& text, const TopicNode& node) {
  appendTopic(index, level, level <= 1 ? text : std::string(), node);
}

std::string_view keptText(const std::string& text) {
  static std::deque<std::string> kept;
  return kept.emplace_back(text);
}

TopicNode entryNode(const std::string& themeDe, const std::string& themeEn, const std::string& file,
                    const std::string& group) {
  TopicNode node;
  node.themeDe = keptText(themeDe);
  node.themeEn = keptText(themeEn);
  node.file = keptText(file);
  node.group = keptText(group);
  return node;
}

IndexModel indexOf(const std::vector<TopicNode>& topics) {
  IndexModel index;
  for (const TopicNode& node : topics) appendTopic(&index, 2, "", node);
  return index;
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
