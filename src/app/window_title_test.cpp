#include "app/window_title.h"

#include <gtest/gtest.h>

#include "app/font_setting.h"

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
