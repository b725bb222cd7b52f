#include "core/settings/language_keys.h"

#include <algorithm>
#include <set>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "core/settings/language_file.h"

namespace {

int windowOfPrefix(std::string_view key) {
  if (key.starts_with("#Main_") || key.starts_with("#PuInf_")) return 0;
  if (key.starts_with("#Cnf_")) return 1;
  if (key.starts_with("#DbA_")) return 2;
  if (key.starts_with("#Upt_")) return 3;
  return -1;
}

int tabs(std::string_view s) { return static_cast<int>(std::count(s.begin(), s.end(), '\t')); }

const std::string kLanguageFile = std::string(VL_SOURCE_DIR) + "/data/RoruvUR EZU-RedIzir.ari";

}  // namespace

TEST(LanguageKeys, TableIsConsistent) {
  std::set<std::string> labels, tooltips;
  for (const LabelTextKey& k : kLabelTextKeys) {
    EXPECT_TRUE(labels.insert(k.key).second) << k.key;
    EXPECT_EQ(windowOfPrefix(k.key), k.window) << k.key;
    EXPECT_EQ(tabs(k.german), k.kind == LangTextKind::ComboItems ? 2 : 0) << k.key;
  }
  for (const MenuTextKey& k : kMenuTextKeys) {
    EXPECT_TRUE(labels.insert(k.key).second) << k.key;
    EXPECT_GE(k.menuItem, 9);
    EXPECT_LE(k.menuItem, 12);
  }
  for (const TooltipTextKey& k : kTooltipTextKeys) {
    EXPECT_TRUE(tooltips.insert(k.key).second) << k.key;
    EXPECT_EQ(windowOfPrefix(k.key), k.window) << k.key;
    EXPECT_NE(std::string_view(k.german), "");
  }
}

// The language file shipped with the program must carry every text of the table in
// all three languages, with the German texts the windows are built with.
TEST(LanguageKeys, ShippedLanguageFileIsComplete) {
  LanguageTable t;
  ASSERT_TRUE(loadLanguageFile(kLanguageFile, &t)) << kLanguageFile;
  auto check = [&](const char* key, const char* german, bool tooltip, bool combo) {
    std::string out;
    ASSERT_TRUE(findLangText(t, key, tooltip, "de", &out)) << key;
    EXPECT_EQ(out, german) << key;
    for (const char* code : {"en", "fr"}) {
      ASSERT_TRUE(findLangText(t, key, tooltip, code, &out)) << key << " " << code;
      if (combo) {
        for (const std::string& item : comboItemTexts(out)) EXPECT_FALSE(item.empty()) << key;
        EXPECT_EQ(tabs(out), 2) << key << " " << code;
      }
    }
  };
  for (const LabelTextKey& k : kLabelTextKeys) {
    check(k.key, k.german, false, k.kind == LangTextKind::ComboItems);
  }
  for (const MenuTextKey& k : kMenuTextKeys) check(k.key, k.german, false, false);
  for (const TooltipTextKey& k : kTooltipTextKeys) check(k.key, k.german, true, false);
  EXPECT_EQ(t.items.size(), size_t(kLabelTextKeyCount + kMenuTextKeyCount + kTooltipTextKeyCount));
}
