#include "core/app/window_title.h"

#include <gtest/gtest.h>

#include "core/app/font_setting.h"

TEST(WindowTitle, ThreeLengths) {
  EXPECT_EQ(windowTitleFor("/Gadgets/Button.vl", 0, "/home/u/api/"), "Linux VL-ZEZ-Ovidozo-Vivara ~ Button.vl");
  EXPECT_EQ(windowTitleFor("/Gadgets/Button.vl", 1, "/home/u/api/"),
            "Linux VL-ZEZ-Ovidozo-Vivara ~ /Gadgets/Button.vl");
  EXPECT_EQ(windowTitleFor("/Gadgets/Button.vl", 2, "/home/u/api/"),
            "Linux VL-ZEZ-Ovidozo-Vivara ~ /home/u/api/Gadgets/Button.vl");
}

TEST(FontSetting, FamilyAndSize) {
  EXPECT_EQ(fontSettingFamily("DejaVu Sans 10"), "DejaVu Sans");
  EXPECT_EQ(fontSettingSize("DejaVu Sans 10"), 10);
  EXPECT_EQ(fontSettingFamily("Sans 12.5"), "Sans");
  EXPECT_EQ(fontSettingSize("Sans 12.5"), 12);
  // Without a trailing size the whole text is the family and the size is 10.
  EXPECT_EQ(fontSettingFamily("Sans"), "Sans");
  EXPECT_EQ(fontSettingSize("Sans"), 10);
  EXPECT_EQ(fontSettingFamily("Serif 0"), "Serif 0");
  EXPECT_EQ(fontSettingSize(""), 10);
}

// The desktop setting is outside our control: only plain decimal numbers count as
// a size, and no text may make the size overflow.
TEST(FontSetting, OnlyDecimalNumbersAreSizes) {
  EXPECT_EQ(fontSettingFamily("Sans Infinity"), "Sans Infinity");
  EXPECT_EQ(fontSettingSize("Sans Infinity"), 10);
  EXPECT_EQ(fontSettingFamily("Noto Nan"), "Noto Nan");
  EXPECT_EQ(fontSettingSize("Noto Nan"), 10);
  EXPECT_EQ(fontSettingFamily("Sans 0x0"), "Sans 0x0");
  EXPECT_EQ(fontSettingFamily("Sans 12px"), "Sans");
  EXPECT_EQ(fontSettingSize("Sans 12px"), 12);
  EXPECT_EQ(fontSettingSize("Sans 1e99"), 1);
  int huge = fontSettingSize("Sans 99999999999999999999");
  EXPECT_GT(huge, 0);
  EXPECT_EQ(fontSettingFamily("Sans 99999999999999999999"), "Sans");
  // A fraction reads the same whatever the locale's decimal mark.
  EXPECT_EQ(fontSettingFamily("Sans 0.5"), "Sans");
}
