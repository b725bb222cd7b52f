#include "core/settings/language_keys.h"

#include <algorithm>
#include <set>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "core/settings/language_file.h"

namespace {

int windowOfPrefix(std::string_view key) {
  if (key.starts_with("#Main_") || key.starts_with("#PuInf_") || key.starts_with("#PuIdx_") || key.starts_with("#Msg_"))
    return 0;
  if (key.starts_with("#Cnf_")) return 1;
  if (key.starts_with("#DbA_")) return 2;
  if (key.starts_with("#Upt_")) return 3;
  return -1;
}

int tabs(std::string_view s) { return static_cast<int>(std::count(s.begin(), s.end(), '\t')); }

const std::string kLanguageFile = std::string(VL_SOURCE_DIR) + "/data/RoruvUR EZU-RedIzir.ari";

}  // namespace

TEST(LanguageKeys, TableIsConsistent) {
  std::set<std::string> texts, tooltips;
  for (const UiText& t : kUiTexts) {
    bool tooltip = t.kind == UiTextKind::Tooltip;
    EXPECT_TRUE((tooltip ? tooltips : texts).insert(t.key).second) << t.key;
    if (t.kind != UiTextKind::AccessName) {
      EXPECT_EQ(windowOfPrefix(t.key), t.window) << t.key;
    }
    // Combo boxes hold three items, the search-mode box four.
    int items = std::string_view(t.key) == "#Cnf_SearchMode" ? 4 : 3;
    EXPECT_EQ(tabs(t.german), t.kind == UiTextKind::ComboItems ? items - 1 : 0) << t.key;
    EXPECT_EQ(t.menuItem != 0, t.kind == UiTextKind::MenuItem) << t.key;
    EXPECT_EQ(germanUiText(t.key, tooltip), t.german) << t.key;
  }
}

// The language file shipped with the program must carry every text of the table in
// all three languages, with the German texts the windows are built with.
TEST(LanguageKeys, ShippedLanguageFileIsComplete) {
  LanguageTable table;
  ASSERT_TRUE(loadLanguageFile(kLanguageFile, &table)) << kLanguageFile;
  for (const UiText& t : kUiTexts) {
    bool tooltip = t.kind == UiTextKind::Tooltip;
    std::string out;
    ASSERT_TRUE(findLangText(table, t.key, tooltip, "de", &out)) << t.key;
    if (t.kind == UiTextKind::Message) {  // built in is the English text, as the file writes it
      std::string english;
      ASSERT_TRUE(findLangText(table, t.key, false, "en", &english)) << t.key;
      EXPECT_EQ(fillMessage(english, {}), fillMessage(t.german, {})) << t.key;
      continue;
    }
    EXPECT_EQ(out, t.german) << t.key;
    for (const char* code : {"en", "fr"}) {
      ASSERT_TRUE(findLangText(table, t.key, tooltip, code, &out)) << t.key << " " << code;
      EXPECT_FALSE(out.empty()) << t.key << " " << code;
      if (t.kind != UiTextKind::ComboItems) continue;
      size_t items = static_cast<size_t>(tabs(t.german)) + 1;
      for (const std::string& item : comboItemTexts(out, items)) EXPECT_FALSE(item.empty()) << t.key;
      EXPECT_EQ(tabs(out), tabs(t.german)) << t.key << " " << code;
    }
  }
  EXPECT_EQ(table.items.size(), size_t(kUiTextCount));
}

TEST(LanguageKeys, MessagesFillTheirValuesOnceAndBreakLinesFromTheFile) {
  EXPECT_EQ(fillMessage("Datei '%s' fehlt:\\n%s", {"a%s\\n", "b"}), "Datei 'a%s\\n' fehlt:\nb");
  EXPECT_EQ(fillMessage("%s and %s", {"one"}), "one and %s");
  EXPECT_EQ(fillMessage("100%", {"x"}), "100%");
}
