#include "core/update/utf8_repair.h"

#include <gtest/gtest.h>

namespace {
const std::string kBad = "\xEF\xBF\xBD";
}

TEST(Utf8Repair, ValidTextIsUnchanged) {
  const std::string text = "Api=2016-01-10 \xE2\x86\x92 f\xC3\xBCr \xF0\x9F\x90\xA7 \xF4\x8F\xBF\xBF \xED\x9F\xBF";
  EXPECT_EQ(repairUtf8(text), text);
  EXPECT_EQ(repairUtf8(""), "");
}

TEST(Utf8Repair, EachBadByteBecomesOneReplacement) {
  EXPECT_EQ(repairUtf8("a\xFF"
                       "b"),
            "a" + kBad + "b");                                           // never valid
  EXPECT_EQ(repairUtf8("\xC0\x80"), kBad + kBad);                        // overlong NUL
  EXPECT_EQ(repairUtf8("\xE0\x80\xAF"), kBad + kBad + kBad);             // overlong "/"
  EXPECT_EQ(repairUtf8("\xED\xA0\x80"), kBad + kBad + kBad);             // surrogate half
  EXPECT_EQ(repairUtf8("\xF4\x90\x80\x80"), kBad + kBad + kBad + kBad);  // above U+10FFFF
  EXPECT_EQ(repairUtf8("\x80x"), kBad + "x");                            // stray continuation
  EXPECT_EQ(repairUtf8("x\xE2\x86"), "x" + kBad + kBad);                 // cut off at the end
  EXPECT_EQ(repairUtf8("\xE2(\x92"), kBad + "(" + kBad);                 // broken in the middle
}
