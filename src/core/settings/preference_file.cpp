// Reading, looking up, changing and rewriting the settings file's entries.
#include "core/settings/preference_file.h"

#include <errno.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>

#include "core/settings/safe_write.h"
#include "core/settings/text_encoding.h"

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

std::string_view trimBlanks(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

// A written text must stay on its line, or it would split into entries of its own.
std::string oneLine(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (isLineEnd(c)) c = ' ';
  }
  return out;
}

PrefEntry parseLine(std::string_view line) {
  PrefEntry e;
  if (line.front() == ';') {
    line.remove_prefix(1);
    if (!line.empty() && line.front() == ' ') line.remove_prefix(1);
    e.kind = PrefEntryKind::Comment;
    e.text = line;
  } else if (line.front() == '[') {
    size_t closing = line.find(']');
    e.kind = PrefEntryKind::Group;
    e.text = line.substr(1, closing == std::string_view::npos ? closing : closing - 1);
  } else {
    size_t eq = line.find('=');
    std::string_view key = line.substr(0, eq);
    while (!key.empty() && isBlank(key.back())) key.remove_suffix(1);
    e.text = key;
    if (eq != std::string_view::npos) {
      std::string_view value = line.substr(eq + 1);
      while (!value.empty() && isBlank(value.front())) value.remove_prefix(1);
      e.value = value;
    }
  }
  return e;
}

// The whole file, or false when it cannot be read (or is too large to be ours).
bool readWhole(int fd, std::string* out) {
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return false;
  if (static_cast<unsigned long long>(st.st_size) > kPrefMaxFileBytes) return false;
  char buf[65536];
  for (;;) {
    ssize_t n = read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    out->append(buf, static_cast<size_t>(n));
    if (out->size() > kPrefMaxFileBytes) return false;
  }
}

bool fileExists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

}  // namespace

// Values beyond the 32-bit range are held at its ends.
std::optional<int> parseLeadingInteger(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || (s[i] >= '\t' && s[i] <= '\r'))) ++i;
  bool negative = i < s.size() && s[i] == '-';
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) ++i;
  if (i == s.size() || s[i] < '0' || s[i] > '9') return std::nullopt;
  long long magnitude = 0;
  for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
    magnitude = magnitude * 10 + (s[i] - '0');
    if (magnitude > static_cast<long long>(INT_MAX) + 1) magnitude = static_cast<long long>(INT_MAX) + 1;
  }
  long long v = negative ? -magnitude : magnitude;
  return static_cast<int>(v > INT_MAX ? INT_MAX : v);
}

std::vector<PrefEntry> parsePreferenceText(std::string_view text) {
  std::vector<PrefEntry> entries;
  size_t pos = 0;
  while (pos < text.size()) {
    while (pos < text.size() && isBlank(text[pos])) ++pos;
    size_t end = pos;
    while (end < text.size() && !isLineEnd(text[end])) ++end;
    if (end > pos) entries.push_back(parseLine(text.substr(pos, end - pos)));
    pos = end;
    while (pos < text.size() && isLineEnd(text[pos])) ++pos;
  }
  return entries;
}

bool PreferenceFile::open(const std::string& path, int flags) {
  close();
  path_ = path;
  active_ = true;
  flags_ = flags;
  // O_NONBLOCK: a fifo put in the file's place must not stall the program.
  int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) {
    fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    readOnly_ = true;
  }
  if (fd < 0) {
    readOnly_ = false;
    mustCreate_ = true;  // the path is kept so that values written now create the file
    return false;
  }
  load(fd);
  ::close(fd);
  return true;
}

void PreferenceFile::load(int fd) {
  std::string raw;
  if (!readWhole(fd, &raw)) {
    // What could not be read must not be replaced by the few keys the program writes.
    readOnly_ = true;
    return;
  }
  if (raw.empty()) {
    withMark_ = false;
    return;
  }
  std::string_view bytes(raw);
  if (bytes.substr(0, 3) == kByteOrderMark) {
    entries_ = parsePreferenceText(bytes.substr(3));
  } else {
    entries_ = parsePreferenceText(unmarkedTextToUtf8(bytes));
  }
}

bool PreferenceFile::create(const std::string& path, int flags) {
  close();
  // Only a regular file is ever written: a device or fifo in its place stays as it is.
  struct stat st;
  if (stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) return false;
  // The content is put in place whole by close; here it is only made sure the file can exist.
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK | O_NOCTTY, 0666);
  if (fd < 0) return false;
  ::close(fd);
  path_ = path;
  active_ = true;
  dirty_ = true;
  flags_ = flags;
  return true;
}

int PreferenceFile::findKey(std::string_view key) const {
  std::string wanted(key);
  for (size_t i = 0; i < entries_.size(); ++i) {
    const PrefEntry& e = entries_[i];
    if (e.kind == PrefEntryKind::Group) break;
    // Letter case aside, equal keys have equal lengths: a cheap filter for long files.
    if (e.kind == PrefEntryKind::Key && e.text.size() == wanted.size() &&
        strcasecmp(e.text.c_str(), wanted.c_str()) == 0) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

int PreferenceFile::firstGroupIndex() const {
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (entries_[i].kind == PrefEntryKind::Group) return static_cast<int>(i);
  }
  return static_cast<int>(entries_.size());
}

int PreferenceFile::readInteger(std::string_view key, int defaultValue) const {
  int i = findKey(key);
  return i < 0 ? defaultValue : parseLeadingInteger(entries_[i].value).value_or(0);
}

std::optional<int> PreferenceFile::findInteger(std::string_view key) const {
  int i = findKey(key);
  return i < 0 ? std::nullopt : parseLeadingInteger(entries_[i].value);
}

std::string PreferenceFile::readText(std::string_view key, std::string_view defaultValue) const {
  int i = findKey(key);
  return std::string(i < 0 ? defaultValue : trimBlanks(entries_[i].value));
}

void PreferenceFile::writeInteger(std::string_view key, int value) { writeText(key, std::to_string(value)); }

void PreferenceFile::writeText(std::string_view key, std::string_view text) {
  if (!active_) return;
  int i = findKey(key);
  if (i < 0) {
    i = firstGroupIndex();
    entries_.insert(entries_.begin() + i, PrefEntry{PrefEntryKind::Key, "", ""});
  }
  entries_[i].text = oneLine(key);
  entries_[i].value = oneLine(text);
  cursor_ = i;
  dirty_ = true;
}

void PreferenceFile::addComment(std::string_view text) {
  if (!active_) return;
  int i = cursor_ + 1;
  entries_.insert(entries_.begin() + i, PrefEntry{PrefEntryKind::Comment, oneLine(text), ""});
  cursor_ = i;
  dirty_ = true;
}

std::string PreferenceFile::serialize() const {
  std::string out;
  if (withMark_) {
    out += kByteOrderMark;
    out += '\n';
  }
  bool firstGroup = true;
  for (const PrefEntry& e : entries_) {
    if (e.kind == PrefEntryKind::Group) {
      if ((flags_ & kPrefGapBeforeGroups) && !firstGroup) out += '\n';
      firstGroup = false;
      out += '[' + e.text + ']';
    } else if (e.kind == PrefEntryKind::Comment) {
      out += "; " + e.text;
    } else {
      out += e.text + ((flags_ & kPrefCompactKeys) ? "=" : " = ") + e.value;
    }
    out += '\n';
  }
  return out;
}

PrefWriteBack PreferenceFile::close() {
  PrefWriteBack result = PrefWriteBack::Unchanged;
  if (active_ && dirty_) {
    if (readOnly_) {
      result = PrefWriteBack::ReadOnly;
    } else if (mustCreate_ && fileExists(path_)) {
      // It is there but could not be opened: replacing it would lose what it holds.
      result = PrefWriteBack::Failed;
    } else {
      result = replaceFileContent(path_, serialize(), nullptr) ? PrefWriteBack::Written : PrefWriteBack::Failed;
    }
  }
  reset();
  return result;
}

void PreferenceFile::reset() {
  path_.clear();
  active_ = dirty_ = readOnly_ = mustCreate_ = false;
  withMark_ = true;
  flags_ = 0;
  cursor_ = -1;
  entries_.clear();
}
