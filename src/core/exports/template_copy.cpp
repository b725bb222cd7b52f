// Template lines, the date replacement and the copy into the export.
#include "core/exports/template_copy.h"

#include <errno.h>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr std::string_view kDateWord = "CurrDate";

char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

bool matchesDateWord(std::string_view line, size_t at) {
  if (line.size() - at < kDateWord.size()) return false;
  for (size_t k = 0; k < kDateWord.size(); ++k) {
    if (asciiLower(line[at + k]) != asciiLower(kDateWord[k])) return false;
  }
  return true;
}

// Reads the whole file. Sets *missing when it does not exist.
bool readFile(const std::string& path, std::string* bytes, bool* missing) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  *missing = fd < 0 && errno == ENOENT;
  if (fd < 0) return false;
  char chunk[16384];
  bool ok = true;
  for (;;) {
    ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) ok = false;
    if (n <= 0) break;
    bytes->append(chunk, static_cast<size_t>(n));
  }
  ::close(fd);
  return ok;
}

bool createEmptyFile(const std::string& path) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

}  // namespace

std::vector<std::string_view> splitTemplateLines(std::string_view bytes) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  size_t i = 0;
  while (i < bytes.size()) {
    char c = bytes[i];
    if (c != '\n' && c != '\r') {
      ++i;
      continue;
    }
    lines.push_back(bytes.substr(start, i - start));
    i += (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ? 2 : 1;
    start = i;
  }
  if (start < bytes.size()) lines.push_back(bytes.substr(start));
  return lines;
}

std::string replaceCurrDate(std::string_view line, std::string_view dateText) {
  if (line.find(kDateWord) == std::string_view::npos) return std::string(line);
  std::string out;
  out.reserve(line.size() + dateText.size());
  size_t i = 0;
  while (i < line.size()) {
    if (matchesDateWord(line, i)) {
      out.append(dateText);
      i += kDateWord.size();
    } else {
      out.push_back(line[i++]);
    }
  }
  return out;
}

bool copyTemplate(const std::string& path, bool replaceDate, std::string_view dateText, OutputSink* sink) {
  std::string bytes;
  bool missing = false;
  if (!readFile(path, &bytes, &missing)) {
    if (missing) createEmptyFile(path);  // an empty template contributes no lines
    return false;
  }
  for (std::string_view line : splitTemplateLines(bytes)) {
    if (replaceDate) {
      sinkLine(sink, replaceCurrDate(line, dateText));
    } else {
      sinkLine(sink, line);
    }
  }
  return true;
}
