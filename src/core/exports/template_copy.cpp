// Template lines, the date replacement and the copy into the export.
#include "core/exports/template_copy.h"

#include <fcntl.h>
#include <unistd.h>

#include "core/app/regular_file.h"
#include "core/settings/text_encoding.h"
#include "core/text/utf8.h"

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

bool createEmptyFile(const std::string& path) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

std::string templateNote(const std::string& path, const std::string& reason) {
  return "Template skipped (" + reason + "):\n" + path;
}

}  // namespace

bool nextTemplateLine(std::string_view bytes, size_t* pos, std::string_view* line) {
  size_t start = *pos;
  if (start >= bytes.size()) return false;
  size_t end = bytes.find_first_of("\r\n", start);
  if (end == std::string_view::npos) end = bytes.size();
  *line = bytes.substr(start, end - start);
  *pos = end + ((end + 1 < bytes.size() && bytes[end] == '\r' && bytes[end + 1] == '\n') ? 2 : 1);
  return true;
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

bool copyTemplate(const std::string& path, bool replaceDate, std::string_view dateText, OutputSink* sink,
                  std::string* note) {
  std::string bytes;
  uint64_t size = 0;
  FileStatus status = readRegularFile(path, kFileSizeLimit, &bytes, &size);
  if (status == FileStatus::Missing) createEmptyFile(path);  // an empty template contributes no lines
  if (note && status == FileStatus::TooLarge) *note = templateNote(path, "too large, " + byteSizeText(size));
  if (note && status == FileStatus::NotRegular) *note = templateNote(path, "not a regular file");
  if (status != FileStatus::Ok) return false;
  // Converted line by line: a template of empty lines must not cost a copy of itself.
  const bool latin1 = !isValidUtf8(bytes);
  size_t pos = 0;
  std::string_view line;
  while (nextTemplateLine(bytes, &pos, &line)) {
    std::string converted;
    if (latin1) line = converted = latin1ToUtf8(line);
    if (replaceDate) {
      sinkLine(sink, replaceCurrDate(line, dateText));
    } else {
      sinkLine(sink, line);
    }
  }
  return true;
}
