// The settings line format: whatever the file holds is read without harm, and a
// rewrite reads back as exactly the entries that were read, so saving the settings
// never changes the comments, groups and keys it did not touch.
#include <stddef.h>
#include <stdint.h>

#include <string>
#include <string_view>
#include <vector>

#include "core/settings/preference_file.h"
#include "core/settings/text_encoding.h"
#include "fuzz_util.h"

namespace {

bool sameEntries(const std::vector<PrefEntry>& a, const std::vector<PrefEntry>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i].kind != b[i].kind || a[i].text != b[i].text || a[i].value != b[i].value) return false;
  }
  return true;
}

bool hasLineEnd(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }
bool startsBlank(std::string_view s) { return !s.empty() && (s.front() == ' ' || s.front() == '\t'); }
bool endsBlank(std::string_view s) { return !s.empty() && (s.back() == ' ' || s.back() == '\t'); }

// What a single parse may produce: an entry never spans lines, and the parts the
// writer adds back (";", "[", "]", "=") are never inside the texts they delimit.
void checkEntryShapes(const std::vector<PrefEntry>& entries) {
  for (const PrefEntry& e : entries) {
    FUZZ_CHECK(!hasLineEnd(e.text) && !hasLineEnd(e.value));
    if (e.kind == PrefEntryKind::Group) {
      FUZZ_CHECK(e.text.find(']') == std::string::npos && e.value.empty());
    } else if (e.kind == PrefEntryKind::Comment) {
      FUZZ_CHECK(e.value.empty());
    } else {
      FUZZ_CHECK(e.text.find('=') == std::string::npos);
      FUZZ_CHECK(!startsBlank(e.text) && !endsBlank(e.text) && !startsBlank(e.value));
      FUZZ_CHECK(e.text.empty() || (e.text.front() != ';' && e.text.front() != '['));
    }
  }
}

size_t firstGroup(const std::vector<PrefEntry>& entries) {
  size_t i = 0;
  while (i < entries.size() && entries[i].kind != PrefEntryKind::Group) ++i;
  return i;
}

// Marks the file changed without changing what it holds when a key can be written
// over with its own value; otherwise adds one key where a new key goes. Returns the
// entries the rewritten file must hold.
std::vector<PrefEntry> touch(PreferenceFile* file, std::vector<PrefEntry> entries) {
  size_t groupAt = firstGroup(entries);
  for (size_t i = 0; i < groupAt; ++i) {
    if (entries[i].kind != PrefEntryKind::Key) continue;
    file->writeText(entries[i].text, entries[i].value);
    return entries;
  }
  file->writeInteger("FuzzProbe", -17);
  entries.insert(entries.begin() + static_cast<long>(groupAt), PrefEntry{PrefEntryKind::Key, "FuzzProbe", "-17"});
  return entries;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const int flags = data[0] & (kPrefCompactKeys | kPrefGapBeforeGroups);
  std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  static const std::string path = scratchPath("settings.ini");
  writeScratchFile(path, bytes);

  PreferenceFile file;
  FUZZ_CHECK(file.open(path, flags));
  const std::vector<PrefEntry> first = file.entries();
  std::string_view marked = bytes.substr(0, 3);
  std::vector<PrefEntry> direct =
      marked == "\xEF\xBB\xBF" ? parsePreferenceText(bytes.substr(3)) : parsePreferenceText(unmarkedTextToUtf8(bytes));
  FUZZ_CHECK(sameEntries(first, direct));
  checkEntryShapes(first);

  // Lookups of keys that are there and of keys that are not must not disturb anything.
  if (!first.empty()) {
    (void)file.readInteger(first.front().text, 5);
    (void)file.readText(first.back().text, "x");
  }
  FUZZ_CHECK(file.readInteger("no key\nspans lines", 42) == 42);

  const std::vector<PrefEntry> expected = touch(&file, first);
  FUZZ_CHECK(file.close() == PrefWriteBack::Written);

  PreferenceFile again;
  FUZZ_CHECK(again.open(path, flags));
  FUZZ_CHECK(sameEntries(again.entries(), expected));
  FUZZ_CHECK(again.close() == PrefWriteBack::Unchanged);
  return 0;
}
