#include "core/app/window_title.h"

#include "core/app/paths.h"

std::string windowTitleFor(std::string_view codePath, int sourceInTitle, std::string_view dbPath) {
  std::string title = std::string(kAppTitle) + " ~ ";
  if (sourceInTitle == 0) return title + filePart(codePath);
  if (sourceInTitle == 2) return title + joinLibraryPath(dbPath, codePath);
  return title + std::string(codePath);
}
