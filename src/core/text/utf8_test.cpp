#include "core/text/utf8.h"

#include <gtest/gtest.h>

#include "core/app/search_text.h"
#include "core/codeview/code_file.h"
#include "core/settings/text_encoding.h"

namespace {

std::string replaced(std::string_view shown, std::string_view by) {
  std::string out;
  for (char c : shown) c == '?' ? out.append(by) : out.append(1, c);
  return out;
}

// Every reader of UTF-8 agrees on which bytes are well-formed: the code file shows a
// "?" for each byte outside a sequence, the version file a U+FFFD, the highlighter
// counts it as one character, the settings file takes the text as ISO 8859-1 instead,
// and the search keeps it as it is.
TEST(Utf8, EveryReaderSplitsTheSameWay) {
  struct Case {
    std::string_view bytes;
    std::string_view shown;  // "?" for each byte that begins no well-formed sequence
  } cases[] = {
      {"", ""},
      {"plain ascii=1", "plain ascii=1"},
      {"K\xC3\xA4se \xE2\x82\xAC \xF0\x9F\x90\xA7", "K\xC3\xA4se \xE2\x82\xAC \xF0\x9F\x90\xA7"},
      {"\xED\x9F\xBF \xEF\xBF\xBF \xF4\x8F\xBF\xBF",
       "\xED\x9F\xBF \xEF\xBF\xBF \xF4\x8F\xBF\xBF"},        // last before limits
      {"K\xE4se", "K?se"},                                   // ISO 8859-1
      {"\x80x", "?x"},                                       // stray continuation byte
      {"\xC0\x80 \xC0\xAF", "?? ??"},                        // overlong NUL and "/"
      {"\xE0\x80\xAF \xE0\x9F\xBFx", "??? ???x"},            // overlong three-byte forms
      {"\xED\xA0\x80", "???"},                               // surrogate half
      {"\xF4\x90\x80\x80 \xF5\x80\x80\x80", "???? ????"},    // past U+10FFFF
      {"\xFF\xFE", "??"},                                    // never in UTF-8
      {"x\xE2\x86", "x??"},                                  // cut off at the end
      {"\xE2(\x92 \xC3(x", "?(? ?(x"},                       // broken in the middle
      {"\xE2\x82z\xF0\x9F\x98\x80", "??z\xF0\x9F\x98\x80"},  // a short one spoils only itself
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::string(c.bytes)));
    bool valid = c.shown.find('?') == std::string_view::npos;
    EXPECT_EQ(isValidUtf8(c.bytes), valid);
    EXPECT_EQ(repairUtf8(c.bytes), replaced(c.shown, "\xEF\xBF\xBD"));
    std::string decoded;
    for (char32_t ch : decodeUtf8(c.bytes, U'?')) appendUtf8(&decoded, ch);
    EXPECT_EQ(decoded, c.shown);
    CodeFileText code;
    decodeCodeBytes("\xEF\xBB\xBF-" + std::string(c.bytes), &code);  // "-": leading "?" are dropped
    EXPECT_EQ(code.text, "-" + std::string(c.shown));
    EXPECT_EQ(unmarkedTextToUtf8(c.bytes), valid ? std::string(c.bytes) : latin1ToUtf8(c.bytes));
    EXPECT_EQ(foldSearchText(c.bytes).size(), c.bytes.size());
  }
}

TEST(Utf8, EncodesEachLength) {
  std::string out;
  for (char32_t c : {U'A', U'\u00E4', U'\u20AC', U'\U0001F427', U'\U0010FFFF'}) appendUtf8(&out, c);
  EXPECT_EQ(out, "A\xC3\xA4\xE2\x82\xAC\xF0\x9F\x90\xA7\xF4\x8F\xBF\xBF");
  EXPECT_EQ(decodeUtf8(out, U'?'), U"A\u00E4\u20AC\U0001F427\U0010FFFF");
  EXPECT_EQ(latin1ToUtf8("a\xE4\xFF"), "a\xC3\xA4\xC3\xBF");
}

}  // namespace
