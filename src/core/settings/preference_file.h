// The settings file's line format: the whole file is held as an ordered list of
// entries, so unknown keys, comments and groups survive a rewrite (blank lines do not).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Option flags of open and create.
inline constexpr int kPrefCompactKeys = 1;      // key lines as "key=value" rather than "key = value"
inline constexpr int kPrefGapBeforeGroups = 2;  // an empty line before every group line but the first

enum class PrefEntryKind { Group, Comment, Key };

struct PrefEntry {
  PrefEntryKind kind = PrefEntryKind::Key;
  std::string text;   // group name, comment text or key
  std::string value;  // key lines only
};

// What close did with the changes.
enum class PrefWriteBack {
  Unchanged,  // nothing was changed, the file was not touched
  Written,
  ReadOnly,  // the file could be read but not written: changes dropped on purpose
  Failed,    // the new text could not be put in place; the old file is as it was
};

// Files larger than this are not settings files; they are left alone and never rewritten.
inline constexpr size_t kPrefMaxFileBytes = 64u << 20;

class PreferenceFile {
 public:
  PreferenceFile() = default;
  ~PreferenceFile() { close(); }
  PreferenceFile(const PreferenceFile&) = delete;
  PreferenceFile& operator=(const PreferenceFile&) = delete;

  // Loads an existing file. False when it cannot be opened at all; values written
  // afterwards then create it on close.
  bool open(const std::string& path, int flags);
  // Starts an empty file that close writes in any case. False when it cannot be made.
  bool create(const std::string& path, int flags);

  // Lookups see only the keys before the first group line; the first match wins,
  // letter case aside.
  int readInteger(std::string_view key, int defaultValue) const;
  std::string readText(std::string_view key, std::string_view defaultValue) const;
  // Nullopt when the key is missing or its value does not begin with a number.
  std::optional<int> findInteger(std::string_view key) const;
  bool hasKey(std::string_view key) const { return findKey(key) >= 0; }
  void writeInteger(std::string_view key, int value);
  void writeText(std::string_view key, std::string_view text);
  void addComment(std::string_view text);

  // Writes the whole file back if anything changed, then forgets it.
  PrefWriteBack close();

  const std::vector<PrefEntry>& entries() const { return entries_; }
  bool isReadOnly() const { return readOnly_; }

 private:
  void reset();
  void load(int fd);
  int findKey(std::string_view key) const;
  int firstGroupIndex() const;
  std::string serialize() const;

  std::string path_;
  bool active_ = false;  // a file is open, or its path is kept for creating it
  bool dirty_ = false;
  bool readOnly_ = false;
  bool mustCreate_ = false;  // open found no file: close creates it, but never replaces one
  bool withMark_ = true;     // written with the UTF-8 byte-order mark; not for a file that was empty
  int flags_ = 0;
  int cursor_ = -1;  // the entry last written or inserted
  std::vector<PrefEntry> entries_;
};

// The entries of settings text (already UTF-8), in file order.
std::vector<PrefEntry> parsePreferenceText(std::string_view text);

// Like "%d": white space, an optional sign, digits; nullopt when no digit follows.
std::optional<int> parseLeadingInteger(std::string_view s);
