#include "core/app/text_cut.h"

#include <gtest/gtest.h>

TEST(TextCutTest, OneLineTextsAreCutAtTheLimitOnCharacters) {
  std::string e = "\xC3\xA9";  // é
  std::string atLimit;
  for (int i = 0; i < 1000; ++i) atLimit += e;
  EXPECT_EQ(cutShownText(atLimit), atLimit);
  EXPECT_EQ(cutShownText(atLimit + "x"), atLimit + "\xE2\x80\xA6");
  // A broken sequence counts as one character per byte and is never split further.
  EXPECT_EQ(cutShownText("\xFF\xFF"
                         "abc",
                         3),
            "\xFF\xFF"
            "a\xE2\x80\xA6");
  EXPECT_EQ(cutShownText("ab\xE2\x82\xAC", 2), "ab\xE2\x80\xA6");
  EXPECT_EQ(utf8CharCount("a\xE2\x82\xAC\x80"), 3u);
}
