// The language file reader against a plain model of its rules, on whole files in
// memory. A leading option byte can push the text across the reader's 64 KiB
// chunk border, where a CR LF pair or a block may be split between two reads.
#include <stddef.h>
#include <stdint.h>

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/settings/language_file.h"
#include "core/settings/language_table.h"
#include "core/text/utf8.h"
#include "fuzz_util.h"

namespace {

constexpr size_t kReaderChunk = 65536;
constexpr size_t kMaxLineBytes = 1u << 20;

// Lines end at LF, CR LF or CR; a final line needs no line end. Leading blanks
// (not tabs) are not part of a line.
std::vector<std::string> modelLines(std::string_view bytes) {
  std::vector<std::string> lines;
  size_t i = 0;
  while (i < bytes.size()) {
    size_t end = bytes.find_first_of("\r\n", i);
    if (end == std::string_view::npos) end = bytes.size();
    std::string_view line = bytes.substr(i, std::min(end - i, kMaxLineBytes));
    line.remove_prefix(std::min(line.find_first_not_of(' '), line.size()));
    lines.emplace_back(line);
    i = end;
    if (i < bytes.size()) i += bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n' ? 2 : 1;
  }
  return lines;
}

// Name before the first "=" without trailing blanks; value after it without leading
// blanks. No "=" means no name.
bool named(std::string_view line, std::string_view name, std::string* value) {
  size_t eq = line.find('=');
  if (eq == std::string_view::npos) return false;
  std::string_view n = line.substr(0, eq);
  while (!n.empty() && n.back() == ' ') n.remove_suffix(1);
  if (n != name) return false;
  std::string_view v = line.substr(eq + 1);
  v.remove_prefix(std::min(v.find_first_not_of(' '), v.size()));
  *value = v;
  return true;
}

// A language whose line the block lacks has no text; an empty line is an empty text.
using Items = std::map<std::string, std::array<std::optional<std::string>, 3>>;

Items modelItems(const std::vector<std::string>& lines) {
  Items items;
  size_t i = 0;
  while (i < lines.size() && lines[i] != "[LanguageItems]") ++i;
  bool tooltips = false;
  for (++i; i < lines.size(); ++i) {
    std::string key;
    if (lines[i] == "[Tooltips]") {
      tooltips = true;
      continue;
    }
    if (!named(lines[i], "Key", &key)) continue;
    std::array<std::string, 3> block;  // missing lines at the end of the file read as empty
    for (int k = 0; k < 3; ++k) block[k] = i + 1 + k < lines.size() ? lines[i + 1 + k] : "";
    i += 3;
    static constexpr std::string_view kNames[3] = {"de", "en", "fr"};
    std::string value;
    if (!named(block[0], kNames[0], &value)) continue;
    auto& texts = items[(tooltips ? "TT" : "") + key];
    for (int k = 0; k < 3; ++k) {
      if (named(block[k], kNames[k], &value)) texts[k] = repairUtf8(value);  // GTK takes valid UTF-8 only
    }
  }
  return items;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  std::string bytes;
  if (data[0] & 0x80) {
    // A header line long enough that the items start just before the chunk border.
    size_t lead = kReaderChunk - 64 + (data[0] & 0x7F) - 1;
    bytes.assign(lead, 'x');
    bytes += '\n';
  }
  bytes.append(reinterpret_cast<const char*>(data) + 1, size - 1);
  static const std::string path = scratchPath("language.ari");
  writeScratchFile(path, bytes);

  LanguageTable table;
  table.items["stale"] = {"a", "b", "c"};  // a load replaces whatever was there
  FUZZ_CHECK(loadLanguageFile(path, &table));
  FUZZ_CHECK(table.loaded);

  Items expected = modelItems(modelLines(bytes));
  FUZZ_CHECK(table.items.size() == expected.size());
  for (const auto& [key, texts] : expected) {
    auto it = table.items.find(key);
    FUZZ_CHECK(it != table.items.end());
    FUZZ_CHECK(it->second == texts);
    std::string found;
    bool tooltip = key.starts_with("TT");
    std::string_view plain = tooltip ? std::string_view(key).substr(2) : std::string_view(key);
    bool got = findLangText(table, plain, tooltip, "en", &found);
    FUZZ_CHECK(got == texts[1].has_value() && (!got || found == *texts[1]));
  }
  return 0;
}
