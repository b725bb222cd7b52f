// Reader of the language file: four-line blocks (Key, de, en, fr) after "[LanguageItems]",
// tooltips after "[Tooltips]".
#include "core/settings/language_file.h"

#include <errno.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>

#include "core/app/regular_file.h"
#include "core/text/utf8.h"

namespace {

// Longer lines are cut: nothing in the file needs more, and a file without line
// ends must not grow one line without bound.
constexpr size_t kMaxLineBytes = 1u << 20;

// Lines of a file ended by LF, CR LF or CR, read in chunks.
class LineReader {
 public:
  explicit LineReader(int fd) : fd_(fd) {}
  bool next(std::string* line);

 private:
  bool fill();
  int fd_;
  char buf_[65536];
  size_t pos_ = 0;
  size_t len_ = 0;
  bool afterCr_ = false;  // an LF right after a CR ends no second line
};

bool LineReader::fill() {
  for (;;) {
    ssize_t n = read(fd_, buf_, sizeof buf_);
    if (n < 0 && errno == EINTR) continue;
    pos_ = 0;
    len_ = n > 0 ? static_cast<size_t>(n) : 0;
    return len_ > 0;
  }
}

bool LineReader::next(std::string* line) {
  line->clear();
  bool any = false;
  for (;;) {
    if (pos_ == len_ && !fill()) return any;
    if (afterCr_) {
      afterCr_ = false;
      if (buf_[pos_] == '\n') ++pos_;
      continue;
    }
    size_t start = pos_;
    while (pos_ < len_ && buf_[pos_] != '\n' && buf_[pos_] != '\r') ++pos_;
    size_t room = kMaxLineBytes - line->size();
    line->append(buf_ + start, std::min(pos_ - start, room));
    any = true;
    if (pos_ < len_) {
      afterCr_ = buf_[pos_++] == '\r';
      return true;
    }
  }
}

std::string_view withoutLeadingSpaces(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  return s;
}

// "name = value": the name before the first "=" without trailing blanks, the value
// after it without leading blanks; a line without "=" has no name.
struct NamedLine {
  std::string_view name;
  std::string_view value;
};

NamedLine splitNamedLine(std::string_view line) {
  size_t eq = line.find('=');
  if (eq == std::string_view::npos) return {};
  std::string_view name = line.substr(0, eq);
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  return {name, withoutLeadingSpaces(line.substr(eq + 1))};
}

bool nextLine(LineReader* r, std::string* line) {
  if (!r->next(line)) return false;
  line->erase(0, line->size() - withoutLeadingSpaces(*line).size());
  return true;
}

// The three lines after a "Key" line are taken in any case; they count only in
// their places, and only when the block starts with its German line.
void readBlock(LineReader* r, const std::string& key, LanguageTable* t) {
  static constexpr std::string_view kNames[3] = {"de", "en", "fr"};
  std::array<std::string, 3> lines;
  for (std::string& line : lines) nextLine(r, &line);
  if (splitNamedLine(lines[0]).name != kNames[0]) return;
  auto& texts = t->items[key];
  for (int i = 0; i < 3; ++i) {
    NamedLine nl = splitNamedLine(lines[i]);
    // The texts go to GTK, which takes valid UTF-8 only.
    if (nl.name == kNames[i]) texts[i] = repairUtf8(nl.value);
  }
}

void readItems(LineReader* r, LanguageTable* t) {
  std::string line;
  // Everything before the section line is room for a header.
  while (nextLine(r, &line)) {
    if (line == "[LanguageItems]") break;
  }
  bool tooltips = false;
  while (nextLine(r, &line)) {
    if (line == "[Tooltips]") {
      tooltips = true;
      continue;
    }
    NamedLine nl = splitNamedLine(line);
    if (nl.name != "Key") continue;
    readBlock(r, (tooltips ? "TT" : "") + std::string(nl.value), t);
  }
}

}  // namespace

bool loadLanguageFile(const std::string& path, LanguageTable* t) {
  // A fifo or device in the file's place must not hang the start.
  FileStatus status;
  uint64_t size = 0;
  int fd = openRegularFile(path, &status, &size);
  if (fd < 0) return false;
  if (size > kFileSizeLimit) {
    close(fd);
    return false;
  }
  t->items.clear();
  LineReader reader(fd);
  readItems(&reader, t);
  close(fd);
  t->loaded = true;
  return true;
}

bool findLangText(const LanguageTable& t, std::string_view key, bool tooltip, std::string_view languageCode,
                  std::string* out) {
  std::string fallback;
  if (languageCode.empty()) {
    fallback = languageCodeFromLang(getenv("LANG"));
    languageCode = fallback;
  }
  int column = languageCode == "de" ? 0 : languageCode == "en" ? 1 : languageCode == "fr" ? 2 : -1;
  if (column < 0) return false;
  auto it = t.items.find((tooltip ? "TT" : "") + std::string(key));
  if (it == t.items.end() || !it->second[column]) return false;
  *out = *it->second[column];
  return true;
}

std::string_view languageCodeOf(int language) {
  switch (language) {
    case 0:
      return "de";
    case 1:
      return "en";
    case 2:
      return "fr";
    default:
      return "";
  }
}

std::string languageCodeFromLang(const char* langValue) {
  if (!langValue) return "";
  std::string_view v(langValue);
  return std::string(v.substr(0, 2));
}

std::vector<std::string> comboItemTexts(std::string_view text, size_t count) {
  std::vector<std::string> items(count);
  for (std::string& item : items) {
    size_t tab = text.find('\t');
    item = text.substr(0, tab);
    if (tab == std::string_view::npos) break;
    text.remove_prefix(tab + 1);
  }
  return items;
}
