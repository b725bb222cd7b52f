#include "core/codeview/highlighter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/codeview/code_file.h"

namespace {

using Texts = std::vector<std::string>;

// Code points of the text in UTF-8, so spans can be read back as text.
std::vector<std::string> charsOf(std::string_view text) {
  std::vector<std::string> chars;
  for (size_t i = 0; i < text.size();) {
    size_t len = 1;
    while (i + len < text.size() && (static_cast<unsigned char>(text[i + len]) & 0xC0) == 0x80) ++len;
    chars.emplace_back(text.substr(i, len));
    i += len;
  }
  return chars;
}

// The texts carrying the tag, one per span, in text order.
Texts marked(std::string_view text, TagId tag, int codeMarks = 2) {
  std::vector<std::string> chars = charsOf(text);
  Texts out;
  for (const TagSpan& s : computeHighlight(text, codeMarks).spans) {
    if (s.tag != tag) continue;
    std::string piece;
    for (int i = s.start; i < s.end; ++i) piece += chars[static_cast<size_t>(i)];
    out.push_back(piece);
  }
  return out;
}

TEST(Highlighter, WordCharactersAreAsciiOnly) {
  for (char32_t c : {U'$', U'_', U'0', U'9', U'A', U'Z', U'a', U'z'}) EXPECT_TRUE(isIdentifierChar(c));
  for (char32_t c : {U'#', U'.', U' ', U'@', U'[', U'`', U'{', U'/', U':', U'\u00e4', U'\u0100'})
    EXPECT_FALSE(isIdentifierChar(c));
  EXPECT_TRUE(isIdentifierChar(std::string_view("x-")));
  EXPECT_FALSE(isIdentifierChar(std::string_view("-x")));
  EXPECT_FALSE(isIdentifierChar(std::string_view("")));
  EXPECT_FALSE(isIdentifierChar(std::string_view("\xC3\xA4")));
}

TEST(Highlighter, KeywordTableAndProcedureKeywords) {
  EXPECT_EQ(keywordTable.front(), "And");
  EXPECT_EQ(keywordTable.back(), "XOr");
  std::string procedureKeywords = "Procedure;ProcedureC;ProcedureCDLL;ProcedureDLL";
  int procedures = 0;
  for (size_t k = 0; k < keywordTable.size(); ++k) {
    for (size_t j = 0; j < k; ++j) EXPECT_NE(keywordTable[j], keywordTable[k]);
    bool listed = procedureKeywords.find(keywordTable[k]) != std::string::npos;
    EXPECT_EQ(isProcedureKeyword(keywordTable[k]), listed) << keywordTable[k];
    procedures += listed;
  }
  EXPECT_EQ(procedures, 4);
  EXPECT_STREQ(tagName(TagId::BlueBold), "BlueBold");
  EXPECT_STREQ(tagName(TagId::Disable), "Disable");
}

TEST(Highlighter, ModeZeroMarksNothing) {
  HighlightResult r = computeHighlight("Procedure A()\n; Link to topic:   x\n#C \"s\"", 0);
  EXPECT_TRUE(r.spans.empty());
  EXPECT_TRUE(r.procedureNames.empty());
  EXPECT_TRUE(r.links.empty());
}

TEST(Highlighter, CommentsDependOnQuotesOfThisAndThePreviousLine) {
  // The quotes up to the ";" are odd: the ";" lies in a string.
  EXPECT_EQ(marked("a = \"\"\nb$ = \"x;y\"", TagId::Disable), Texts{});
  EXPECT_EQ(marked("a = \"\"\nx = 1 ; note", TagId::Disable), Texts{"; note"});
  EXPECT_EQ(marked("; it\"s\nx = 1 ; note", TagId::Disable), Texts{"; it\"s"});
  // Only the line right before counts, not the ones above it.
  EXPECT_EQ(marked("\"\n\nx ; c", TagId::Disable), Texts{"; c"});
  // The first ";" of a comment hides the rest of the line, quotes included.
  EXPECT_EQ(marked(";a;\"b\"\n;c", TagId::Disable), (Texts{";a;\"b\"", ";c"}));
  EXPECT_EQ(marked("s$ = \"a;b\" ; c", TagId::Disable), Texts{"; c"});
}

TEST(Highlighter, StringLiterals) {
  EXPECT_EQ(marked("Debug \"abc\"", TagId::Literal), Texts{"abc"});
  EXPECT_EQ(marked("Debug \"abc\"", TagId::BlueBold), Texts{"Debug"});
  EXPECT_EQ(marked("x = \"\" + \"y\"", TagId::Literal), Texts{"y"});
  // An unterminated quote pairs with the next quote, wherever it is.
  EXPECT_EQ(marked("a = \"abc\nb = \"x\"", TagId::Literal), Texts{"abc\nb = "});
  EXPECT_EQ(marked("a = \"abc\nb = 1", TagId::Literal), Texts{});
  // A quote in a comment opens nothing, but may close a string opened before it.
  EXPECT_EQ(marked("; don\"t\nx = \"s\"", TagId::Literal), Texts{"s"});
  EXPECT_EQ(marked("a = \"\" + \"x\ny = 1\n; c\"d", TagId::Literal), Texts{"x\ny = 1\n; c"});
}

TEST(Highlighter, Constants) {
  EXPECT_EQ(marked("x = #MyConst+1", TagId::Constant), Texts{"#MyConst"});
  EXPECT_EQ(marked("a#b", TagId::Constant), Texts{});
  EXPECT_EQ(marked("x = # 1", TagId::Constant), Texts{"#"});
  // A "#" in a string is a constant too; the string's colour wins on screen.
  EXPECT_EQ(marked("s$ = \"#x\"", TagId::Constant), Texts{"#x"});
  EXPECT_EQ(marked("s$ = \"#x\"", TagId::Literal), Texts{"#x"});
  EXPECT_EQ(marked("; #x", TagId::Constant), Texts{});
  // The character behind a constant, and behind an unmarked "#", is skipped.
  EXPECT_EQ(marked("##B", TagId::Constant), Texts{"#"});
  EXPECT_EQ(marked("a##B #C", TagId::Constant), Texts{"#C"});
  EXPECT_EQ(marked("\xC3\xA4#K", TagId::Constant), Texts{"#K"});
}

TEST(Highlighter, KeywordsAreWholeCaseSensitiveWordsOutsideCommentsAndStrings) {
  EXPECT_EQ(marked("If a : EndIf", TagId::BlueBold), (Texts{"If", "EndIf"}));
  EXPECT_EQ(marked("endif\nENDIF\nEndIfs\nxIf\nIf$", TagId::BlueBold), Texts{});
  EXPECT_EQ(marked("Debug \"If\" ; If", TagId::BlueBold), Texts{"Debug"});
  // Non-ASCII letters do not join words.
  EXPECT_EQ(marked("\xC3\xA4If.For", TagId::BlueBold), (Texts{"If", "For"}));
  EXPECT_EQ(marked("If a : EndIf", TagId::FBold, 1), (Texts{"If", "EndIf"}));
  EXPECT_EQ(marked("If a : EndIf", TagId::BlueBold, 1), Texts{});
  // An unknown mode still marks everything but the keywords.
  EXPECT_EQ(marked("Procedure P()", TagId::Function, 3), Texts{"P"});
  EXPECT_EQ(computeHighlight("If x", 3).spans.size(), 0u);
}

TEST(Highlighter, ProcedureDeclarationsAndCalls) {
  std::string code =
      "x = Sum(0, 1)\n"
      "Procedure.i  Sum(a, b)\n"
      "  ProcedureReturn a + b\n"
      "EndProcedure\n"
      "y = Sum(1, 2) ; Sum\n"
      "s$ = \"Sum\" + Summary";
  EXPECT_EQ(marked(code, TagId::BlueBold), (Texts{"Procedure", "ProcedureReturn", "EndProcedure"}));
  EXPECT_EQ(marked(code, TagId::Function), Texts{"Sum"});
  EXPECT_EQ(marked(code, TagId::FuncCall), (Texts{"Sum", "Sum"}));
  EXPECT_EQ(computeHighlight(code, 2).procedureNames, Texts{"Sum"});
  // The name is marked in both modes.
  EXPECT_EQ(marked(code, TagId::Function, 1), Texts{"Sum"});
}

TEST(Highlighter, ProcedureNamesFollowTheNextBlank) {
  // The first blank may lie far behind the keyword; the name is what follows it.
  EXPECT_EQ(computeHighlight("Procedure(x)\nx = 1", 2).procedureNames, Texts{"="});
  EXPECT_EQ(computeHighlight("Procedure (1\nProcedure (2", 2).procedureNames, (Texts{"(1", "(2"}));
  EXPECT_EQ(computeHighlight("ProcedureDLL\n  \n  Foo", 2).procedureNames, Texts{"\n"});
  // Blanks up to the end of the text give an empty name.
  EXPECT_EQ(computeHighlight("Procedure   ", 2).procedureNames, Texts{""});
  // No blank behind it: the keyword is marked, no name is taken.
  HighlightResult r = computeHighlight("x.i = 1\nProcedure", 2);
  EXPECT_TRUE(r.procedureNames.empty());
  EXPECT_EQ(marked("x.i = 1\nProcedure", TagId::BlueBold), Texts{"Procedure"});
  // A keyword between the keyword and the end of the name it found is skipped.
  EXPECT_EQ(marked("Procedure\tProcedure X", TagId::BlueBold), Texts{"Procedure"});
  EXPECT_EQ(marked("Procedure\tProcedure X", TagId::Function), Texts{"X"});
}

TEST(Highlighter, NamesAreCollectedPerKeywordInTableOrder) {
  std::string code = "ProcedureDLL D()\nProcedureC C()\nProcedure B()\nProcedureCDLL E()\nProcedure A()";
  EXPECT_EQ(computeHighlight(code, 2).procedureNames, (Texts{"B", "A", "C", "E", "D"}));
}

TEST(Highlighter, CallsOfOddNames) {
  // Duplicate names mark the same as one; a use before the declaration counts.
  EXPECT_EQ(marked("A()\nProcedure A()\nProcedure A()\nA()", TagId::FuncCall), (Texts{"A", "A"}));
  // A name that starts with a non-word character is found where that character
  // does not follow a word character.
  std::string code = "Procedure (1\nx = ((1) + a(1 + (12";
  EXPECT_EQ(marked(code, TagId::FuncCall), Texts{"(1"});
  // A name that starts with the line end of the line before.
  EXPECT_EQ(marked("Procedure \nFoo\nx = (1)\nFoo\n1\nFoo", TagId::FuncCall), Texts{"\nFoo"});
  // An empty name marks nothing.
  EXPECT_EQ(marked("x\nProcedure ", TagId::FuncCall), Texts{});
}

TEST(Highlighter, TopicLinks) {
  std::string code = "x = 1\n; Link to topic:   Gadgets Overview\n; Link to topic:   a<&b\n";
  HighlightResult r = computeHighlight(code, 1);
  ASSERT_EQ(r.links.size(), 2u);
  EXPECT_EQ(r.links[0].target, "Gadgets Overview");
  EXPECT_EQ(r.links[0].start, 25);
  EXPECT_EQ(r.links[0].end, 41);
  EXPECT_EQ(r.links[1].target, "a<&b");  // escaping is left to the label
  EXPECT_EQ(marked(code, TagId::Disable), (Texts{"; Link to topic:   Gadgets Overview", "; Link to topic:   a<&b"}));
  // Offsets count characters, not bytes; an empty target is still a link.
  r = computeHighlight("\xC3\xA4\xC3\xB6\n; Link to topic:   ", 2);
  ASSERT_EQ(r.links.size(), 1u);
  EXPECT_EQ(r.links[0].start, 22);
  EXPECT_EQ(r.links[0].end, 22);
  // A marker inside the target belongs to the target.
  r = computeHighlight("; Link to topic:   ; Link to topic:   x", 2);
  ASSERT_EQ(r.links.size(), 1u);
  EXPECT_EQ(r.links[0].target, "; Link to topic:   x");
  EXPECT_TRUE(computeHighlight("; Link to topic:  x", 2).links.empty());
}

TEST(Highlighter, OffsetsCountCodePoints) {
  HighlightResult r = computeHighlight("\xF0\x9F\x98\x80\xC3\xA4 = #X", 2);
  ASSERT_EQ(r.spans.size(), 1u);
  EXPECT_EQ(r.spans[0].start, 5);
  EXPECT_EQ(r.spans[0].end, 7);
  EXPECT_EQ(r.spans[0].tag, TagId::Constant);
  // Bytes outside a well-formed sequence (here an overlong NUL and a surrogate)
  // count one character each.
  r = computeHighlight("\xC0\x80\xED\xA0\x80#A", 2);
  ASSERT_EQ(r.spans.size(), 1u);
  EXPECT_EQ(r.spans[0].start, 5);
  EXPECT_EQ(r.spans[0].end, 7);
}

TEST(Highlighter, MarksOfOneTagGiveOneSpan) {
  // Both keywords take the same name after the same blank.
  HighlightResult r = computeHighlight("ProcedureC\tProcedure X", 2);
  EXPECT_EQ(r.procedureNames, (Texts{"X", "X"}));
  int functionSpans = 0;
  for (const TagSpan& s : r.spans) functionSpans += s.tag == TagId::Function;
  EXPECT_EQ(functionSpans, 1);
  // Calls separated by blanks stay apart.
  EXPECT_EQ(marked("Procedure A()\nA A A", TagId::FuncCall), (Texts{"A", "A", "A"}));
}

// The marks of a big file are collected while the tags behind are given back: a
// block repeated past several megabytes is marked the same in every copy.
TEST(Highlighter, BigFileIsMarkedAlikeThroughout) {
  const std::string block = "If a = #B ; \xC3\xA4 note\n  s$ = \"\xC3\xA4 x\" : EndIf\n";
  const std::vector<TagSpan> one = computeSpans(block, 2);
  ASSERT_EQ(one.size(), 5u);
  const int blockChars = static_cast<int>(charsOf(block).size());
  const int copies = (7 << 20) / static_cast<int>(block.size());
  std::string text;
  for (int i = 0; i < copies; ++i) text += block;
  const std::vector<TagSpan> all = computeSpans(text, 2);
  ASSERT_EQ(all.size(), one.size() * static_cast<size_t>(copies));
  for (size_t i = 0; i < all.size(); ++i) {
    const TagSpan& s = one[i % one.size()];
    const int shift = static_cast<int>(i / one.size()) * blockChars;
    ASSERT_TRUE(all[i] == (TagSpan{s.start + shift, s.end + shift, s.tag})) << "span " << i;
  }
}

}  // namespace
