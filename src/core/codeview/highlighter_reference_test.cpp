// Compares the one-pass highlighter with a plain model of the text buffer's
// repeated forward searches, on generated code, random tricky texts and the
// sample library.
#include "core/codeview/highlighter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "bench/code_generator.h"
#include "core/codeview/code_file.h"
#include "tests/highlight_model.h"

namespace {

void expectSameAsModel(const std::string& text, int codeMarks) {
  SCOPED_TRACE(::testing::Message() << "mode " << codeMarks << ", text:\n" << text);
  ModelResult model = runModel(text, codeMarks);
  HighlightResult got = computeHighlight(text, codeMarks);
  std::u32string chars = toChars(text);
  std::vector<Mask> tags(chars.size(), 0);
  std::vector<int> lastEnd(kTagCount, -1);
  for (size_t i = 0; i < got.spans.size(); ++i) {
    const TagSpan& s = got.spans[i];
    ASSERT_TRUE(s.start < s.end && s.end <= static_cast<int>(chars.size()));
    for (int c = s.start; c < s.end; ++c) tags[c] |= bitOf(s.tag);
    if (i > 0) {  // sorted by start, then tag
      const TagSpan& p = got.spans[i - 1];
      ASSERT_TRUE(p.start < s.start || (p.start == s.start && p.tag < s.tag));
    }
    ASSERT_LT(lastEnd[static_cast<int>(s.tag)], s.start);  // one tag's spans never touch
    lastEnd[static_cast<int>(s.tag)] = s.end;
  }
  EXPECT_EQ(tags, model.tags);
  EXPECT_TRUE(computeSpans(text, codeMarks) == got.spans);
  EXPECT_EQ(got.procedureNames, model.names);
  ASSERT_EQ(got.links.size(), model.links.size());
  for (size_t i = 0; i < got.links.size(); ++i) {
    EXPECT_EQ(got.links[i].start, model.links[i].start);
    EXPECT_EQ(got.links[i].end, model.links[i].end);
    EXPECT_EQ(got.links[i].target, model.links[i].target);
  }
  // Replacing every target by one anchor must give the model's text.
  std::u32string linked;
  size_t at = 0;
  for (const TopicLink& link : got.links) {
    ASSERT_LE(at, static_cast<size_t>(link.start));
    linked.append(chars, at, link.start - at);
    linked += U'\uFFFC';
    at = static_cast<size_t>(link.end);
  }
  linked.append(chars, at);
  EXPECT_TRUE(linked == model.linked);
}

std::string randomText(std::mt19937* random, const std::vector<std::string>& pieces, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += pieces[(*random)() % pieces.size()];
  return text;
}

const std::vector<std::string> kTrickyPieces = {"\"",
                                                "\"",
                                                ";",
                                                ";",
                                                "#",
                                                "# ",
                                                " ",
                                                " ",
                                                "  ",
                                                "\n",
                                                "\n",
                                                "\n",
                                                "Procedure",
                                                "Procedure ",
                                                "ProcedureC ",
                                                "ProcedureDLL  ",
                                                "ProcedureReturn ",
                                                "Procedure.i ",
                                                "EndIf",
                                                "If",
                                                "End",
                                                "endif",
                                                "Foo",
                                                "Bar",
                                                "Foo(",
                                                "(1",
                                                "(",
                                                ")",
                                                ".",
                                                "x",
                                                "$",
                                                "_",
                                                "1",
                                                "ä",
                                                "Öl",
                                                "\t",
                                                ",",
                                                "#Foo",
                                                "And",
                                                "Or",
                                                "; Link to topic:   ",
                                                "Link",
                                                "Debug ",
                                                "é#"};

TEST(HighlighterModel, GeneratedCodeFiles) {
  for (uint32_t seed = 1; seed <= 12; ++seed) {
    std::string text = generateCodeFile(150, seed);
    expectSameAsModel(text, 1);
    expectSameAsModel(text, 2);
  }
}

TEST(HighlighterModel, RandomTrickyTexts) {
  std::mt19937 random(20240611);
  for (int round = 0; round < 4000; ++round) {
    std::string text = randomText(&random, kTrickyPieces, static_cast<int>(random() % 40));
    expectSameAsModel(text, 1 + round % 2);
    if (HasFailure()) return;
  }
}

// Denser in procedure keywords and names, so names of every shape meet their uses.
TEST(HighlighterModel, RandomProcedureTexts) {
  const std::vector<std::string> pieces = {"Procedure ", "Procedure",    " ",   "  ", "\n", "A", "B", "(", "\"",
                                           ";",          "ProcedureC\t", ".l ", "A(", "ä",  "#"};
  std::mt19937 random(77);
  for (int round = 0; round < 3000; ++round) {
    expectSameAsModel(randomText(&random, pieces, static_cast<int>(random() % 30)), 2);
    if (HasFailure()) return;
  }
}

// The reader never leaves "\r" in a text, but the buffer treats "\r", "\r\n" and
// U+2029 as line ends too, and so must the marks.
TEST(HighlighterModel, OtherLineEnds) {
  std::vector<std::string> pieces = kTrickyPieces;
  for (const char* end : {"\r", "\r\n", "\r\n", "\xE2\x80\xA9", "\xE2\x80\xA9"}) pieces.push_back(end);
  std::mt19937 random(5);
  for (int round = 0; round < 3000; ++round) {
    expectSameAsModel(randomText(&random, pieces, static_cast<int>(random() % 40)), 2);
    if (HasFailure()) return;
  }
}

TEST(HighlighterModel, SampleLibraryFiles) {
  std::filesystem::path root = std::filesystem::path(VL_SOURCE_DIR) / "data" / "sample-library";
  std::error_code ec;
  if (!std::filesystem::is_directory(root, ec)) GTEST_SKIP() << "no sample library";
  int files = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root, ec)) {
    std::string ext = entry.path().extension().string();
    if (ext != ".vl" && ext != ".vli" && ext != ".vlf") continue;
    CodeFileText code;
    ASSERT_TRUE(readCodeFile(entry.path().string(), &code)) << entry.path();
    expectSameAsModel(code.text, 2);
    ++files;
  }
  if (files == 0) GTEST_SKIP() << "the sample library holds no code files yet";
}

}  // namespace
