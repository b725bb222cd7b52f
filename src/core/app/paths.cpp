#include "core/app/paths.h"

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
