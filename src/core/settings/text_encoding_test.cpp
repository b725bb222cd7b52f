#include "core/settings/text_encoding.h"

#include <gtest/gtest.h>

TEST(TextEncoding, AcceptsWellFormedUtf8) {
  EXPECT_TRUE(isValidUtf8(""));
  EXPECT_TRUE(isValidUtf8("plain ascii=1"));
  EXPECT_TRUE(isValidUtf8("K\xC3\xA4se \xE2\x82\xAC \xF0\x9F\x90\xA7"));  // ä, euro sign, 4-byte form
  EXPECT_TRUE(isValidUtf8("\xF4\x8F\xBF\xBF"));                           // U+10FFFF, the last one
}

TEST(TextEncoding, RejectsWhatIsNotUtf8) {
  EXPECT_FALSE(isValidUtf8("K\xE4se"));           // ISO 8859-1 ä
  EXPECT_FALSE(isValidUtf8("\xC0\x80"));          // overlong NUL
  EXPECT_FALSE(isValidUtf8("\xE0\x80\xAF"));      // overlong "/"
  EXPECT_FALSE(isValidUtf8("\xED\xA0\x80"));      // surrogate
  EXPECT_FALSE(isValidUtf8("\xF4\x90\x80\x80"));  // above U+10FFFF
  EXPECT_FALSE(isValidUtf8("ab\xE2\x82"));        // cut off at the end
  EXPECT_FALSE(isValidUtf8("\xC3(x"));            // lead byte without its follower
}

TEST(TextEncoding, UnmarkedTextIsConvertedOnlyWhenNotUtf8) {
  EXPECT_EQ(latin1ToUtf8("a\xE4\xFF"), "a\xC3\xA4\xC3\xBF");
  EXPECT_EQ(unmarkedTextToUtf8("K\xE4se"), "K\xC3\xA4se");
  // Already UTF-8: taken as it is, not converted a second time.
  EXPECT_EQ(unmarkedTextToUtf8("K\xC3\xA4se"), "K\xC3\xA4se");
}
