#include "core/settings/settings_keys.h"

#include <set>
#include <string>

#include <gtest/gtest.h>

#include "core/settings/test_files.h"

namespace {

SettingsStore loadLine(const std::string& path, const std::string& line) {
  writeBytes(path, line + "\n");
  SettingsStore s = defaultSettings("/prog/");
  EXPECT_TRUE(loadSettings(&s, path, 0, 0, nullptr));
  return s;
}

}  // namespace

TEST(SettingKeys, TableIsConsistent) {
  std::set<std::string> keys;
  for (const SettingKey& k : kSettingKeys) {
    EXPECT_TRUE(keys.insert(k.key).second) << k.key;
    EXPECT_NE(k.text == nullptr, k.number == nullptr) << k.key;
    if (!k.number) continue;
    EXPECT_EQ(clampSetting(k, k.defaultNumber), k.defaultNumber) << k.key;  // also: the range is not empty
    EXPECT_EQ(clampSetting(k, k.belowMin), k.belowMin) << k.key;
  }
}

// Each key read from a file: a value in its range is kept, one outside it is held to
// the range, and a value that is no number gives the default.
TEST(SettingKeys, EveryKeyIsReadWithinItsRange) {
  ScratchFolder dir;
  const std::string path = dir.file(kSettingsFileName);
  const SettingsStore fresh = defaultSettings("/prog/");
  for (const SettingKey& k : kSettingKeys) {
    SCOPED_TRACE(k.key);
    const std::string key = std::string(k.key) + "=";
    if (k.text) {
      EXPECT_EQ(loadLine(path, key + " some text ").*k.text, "some text");
      continue;
    }
    EXPECT_EQ(loadLine(path, key + std::to_string(k.min)).*k.number, k.min);
    EXPECT_EQ(loadLine(path, key + std::to_string(k.max)).*k.number, k.max);
    EXPECT_EQ(loadLine(path, key + std::to_string(k.min - 1)).*k.number, k.belowMin);
    EXPECT_EQ(loadLine(path, key + std::to_string(k.max + 1)).*k.number, k.max);
    EXPECT_EQ(loadLine(path, key + "abc").*k.number, fresh.*k.number);
  }
  // The values that used to reach the toolkit.
  EXPECT_EQ(loadLine(path, "WinWidth=0").winWidth, 640);
  EXPECT_EQ(loadLine(path, "SearchHint=-5").searchHint, 0);
  EXPECT_EQ(loadLine(path, "FontSize=-2147483648").fontSize, 6);
}
