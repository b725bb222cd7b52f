#include "core/codeview/code_marks.h"

#include <gtest/gtest.h>

#include "core/app/text_cut.h"

namespace {

struct Placed {
  PlacedLinks links;
  std::vector<TagSpan> spans;
};

Placed place(const ShownCode& code) {
  Placed m{placeLinks(code), {}};
  m.spans = placeSpans(code, computeHighlight(code.markedText(), 2).spans, m.links.targets);
  return m;
}

std::vector<std::string> tagsAt(const Placed& m, int offset) {
  std::vector<std::string> names;
  for (const TagSpan& s : m.spans)
    if (s.start <= offset && offset < s.end) names.push_back(tagName(s.tag));
  return names;
}

}  // namespace

TEST(CodeMarksTest, LongLinesAreCutWithANoteAndStayUnmarked) {
  std::string wide = "Debug \"" + std::string(kCodeLineLimit, 'x') + "\" ; end";
  std::string atLimit(kCodeLineLimit / 8, '\t');  // a tab counts as eight
  ShownCode code = cutLongCodeLines("If a\r\n" + wide + "\n" + atLimit + "\nDebug \"s\"");
  std::string note = longLineNote(kCodeLineLimit + 14);
  std::string expected = "If a\r\n" + wide.substr(0, kCodeLineLimit) + note + "\n" + atLimit + "\nDebug \"s\"";
  ASSERT_EQ(code.text, expected);
  ASSERT_EQ(code.plain.size(), 1u);
  EXPECT_EQ(code.plain[0].start, 6);
  EXPECT_EQ(code.plain[0].end, 6 + static_cast<int>(kCodeLineLimit + utf8CharCount(note)));

  EXPECT_EQ(code.markedText(), "If a\r\n" + wide + "\n" + atLimit + "\nDebug \"s\"");
  Placed m = place(code);
  EXPECT_TRUE(m.links.anchors.empty());
  int afterCut = code.plain[0].end + 1 + static_cast<int>(kCodeLineLimit / 8) + 1;
  EXPECT_EQ(tagsAt(m, 0), std::vector<std::string>{"BlueBold"});
  for (const TagSpan& s : m.spans) EXPECT_TRUE(s.end <= code.plain[0].start || s.start >= code.plain[0].end);
  EXPECT_EQ(tagsAt(m, afterCut), std::vector<std::string>{"BlueBold"});
  EXPECT_EQ(tagsAt(m, afterCut + 7), std::vector<std::string>{"Literal"});
  std::string crLines;  // lines ended by "\r" alone, in one stretch with the long line
  for (int i = 0; i < 700; ++i) crLines += "ab\r";
  ShownCode mixed = cutLongCodeLines("x\n" + crLines + wide);
  ASSERT_EQ(mixed.plain.size(), 1u);
  EXPECT_EQ(mixed.plain[0].start, 2 + 2100);
  ShownCode tabs = cutLongCodeLines(atLimit + "\t");
  EXPECT_EQ(tabs.text, atLimit + longLineNote(kCodeLineLimit / 8 + 1));
}

// The links are found in the shown text without the highlighter; they must be the
// highlighter's own, including around a cut line whose kept part and note would
// spell a link marker.
TEST(CodeMarksTest, LongTextsAreCutAfterTheirLastWholeLineWithANote) {
  std::string fits = "a\nb";
  EXPECT_FALSE(cutLongCodeText(&fits, 3, 10, 3));
  EXPECT_EQ(fits, "a\nb");
  std::string lines = "abc\ndef\nghi";
  EXPECT_TRUE(cutLongCodeText(&lines, 9, 10, 11));
  EXPECT_EQ(lines, "abc\ndef\n" + longTextNote(7, 11));
  std::string oneLine =
      "ab\xC3\xA4"
      "cd";  // the limit falls inside the two bytes of the umlaut
  EXPECT_TRUE(cutLongCodeText(&oneLine, 3, 10, 6));
  EXPECT_EQ(oneLine, "ab\n" + longTextNote(2, 6));
  std::string manyLines = "a\nb\nc\nd";  // cut by its number of lines
  EXPECT_FALSE(cutLongCodeText(&manyLines, 100, 4, 7));
  EXPECT_TRUE(cutLongCodeText(&manyLines, 100, 3, 7));
  EXPECT_EQ(manyLines, "a\nb\nc\n" + longTextNote(5, 7));
  EXPECT_EQ(longTextNote(24u << 20, 256u << 20),
            "; \xE2\x80\xA6 [text of 256.0 MiB cut after 24.0 MiB: the rest is not shown]");
}

TEST(CodeMarksTest, LinksAreTheHighlightersOutsideCutLines) {
  std::string cutMarker = std::string(kCodeLineLimit - 16, 'x') + "; Link to topic:" + std::string(20, 'y');
  std::string text = "a; Link to topic:   \xC3\xA9t\r\n" + cutMarker +
                     "\n; Link to topic:   x ; Link to topic:   y\xE2\x80\xA9; Link to topic:   z";
  ShownCode code = cutLongCodeLines(text);
  ASSERT_EQ(code.plain.size(), 1u);
  PlacedLinks placed = placeLinks(code);
  std::vector<TopicLink> expected = computeHighlight(text, 2).links;
  ASSERT_EQ(placed.anchors.size(), 3u);
  ASSERT_EQ(expected.size(), 3u);
  int cut = code.plain[0].end - code.cutFrom[0].end;  // the cut line's length change
  for (size_t i = 0; i < 3; ++i) {
    const ByteRange& bytes = placed.targetBytes[i];
    EXPECT_EQ(code.text.substr(bytes.start, bytes.end - bytes.start), expected[i].target);
    EXPECT_EQ(placed.targets[i].start, expected[i].start + (i > 0 ? cut : 0));
    EXPECT_EQ(placed.targets[i].end, expected[i].end + (i > 0 ? cut : 0));
  }
  // The view's own search for the targets, which counts no characters, finds the same.
  ShownCode uncut = cutLongCodeLines(
      "a; Link to topic:   \xC3\xA9t\r\n; Link to topic:   x ; Link to topic:   y\xE2\x80\xA9; Link to topic:   z");
  ASSERT_EQ(placeLinks(uncut).targetBytes.size(), 3u);
  for (const ShownCode* c : {&code, &uncut}) {
    std::vector<ByteRange> found;
    LinkTargetSearch search = linkTargetSearch(*c);
    for (ByteRange target; nextLinkTarget(search, &target);) found.push_back(target);
    EXPECT_TRUE(found == placeLinks(*c).targetBytes);
  }
}

// The view takes a long text in pieces: each ends after a line end, never between
// the CR and LF of one, nor inside a character.
TEST(CodeMarksTest, InsertedPiecesEndAtWholeLines) {
  struct Case {
    std::string_view text;
    size_t most;
    size_t expected;
  };
  const Case cases[] = {
      {"ab\ncd", 3, 3}, {"ab\ncd", 2, 0},    {"ab\r\ncd", 3, 0}, {"ab\r\ncd", 4, 4},
      {"ab\rcd", 3, 3}, {"a\nb\r\nc", 4, 2}, {"ab\ncd", 9, 5},   {"\xC3\xA4\n\xC3\xA4\xC3\xA4", 5, 3},
  };
  for (const Case& c : cases)
    EXPECT_EQ(wholeLinesPrefix(c.text, c.most), c.expected) << testing::PrintToString(std::string(c.text)) << c.most;
}
