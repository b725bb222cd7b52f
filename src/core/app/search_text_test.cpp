// The caseless rule, the scope of each search mode and the one-buffer search.
#include "core/app/search_text.h"

#include <ctype.h>

#include <random>

#include <gtest/gtest.h>

#include "core/database/index_builder.h"
#include "core/text/utf8.h"

namespace {

void addItem(IndexModel* m, const std::string& rowText, const std::string& de, const std::string& en,
             const std::string& fr, const std::string& themeFr = "") {
  const std::string themeEn = rowText + " en";
  TopicNode node;
  node.themeDe = rowText;  // the row shows the German title
  node.themeEn = themeEn;
  node.themeFr = themeFr;
  node.descriptDe = de;
  node.descriptEn = en;
  node.descriptFr = fr;
  appendTopic(m, 2, "", node);
}

IndexModel sampleIndex() {
  IndexModel m;
  addItem(&m, "Fenster öffnen", "Zeigt ein Fenster", "Shows a window", "Montre une fenêtre");
  addItem(&m, "GtkLabel", "Beschriftung", "Caption text", "Étiquette", "Libellé");
  addItem(&m, "Dateien", "Liest Ordner", "Reads folders", "Lit dossiers");
  addItem(&m, "gtk_main", "Hauptschleife", "Main loop", "Boucle principale");
  return m;
}

int find(const IndexModel& m, int mode, int language, const std::string& term, int from = 0) {
  SearchBuffer buffer;
  return findSearchItem(&buffer, m, mode, language, term, from);
}

}  // namespace

TEST(SearchTextFold, AsciiFoldsAndCodePointsFrom256Never) {
  EXPECT_TRUE(searchTextContains("Uses gtk_init", "GTK"));
  EXPECT_TRUE(searchTextContains("GTK", "gtk"));
  // U+0100 and U+0101 are upper and lower case, but lie above the single-byte table.
  EXPECT_FALSE(searchTextContains("\xC4\x80", "\xC4\x81"));
  EXPECT_TRUE(searchTextContains("x\xC4\x81y", "\xC4\x81"));
  // Between U+0080 and U+00FF the locale's table decides: here U+00C4 against U+00E4.
  bool localeFolds = tolower(0xC4) == 0xE4;
  EXPECT_EQ(searchTextContains("\xC3\x84rger", "\xC3\xA4rger"), localeFolds);
  EXPECT_TRUE(searchTextContains("\xC3\xA4rger", "\xC3\xA4RGER"));
}

TEST(SearchTextFold, InvalidBytesAreKeptAndStillMatchThemselves) {
  std::string broken = "ab\xC3(\xFF\xE2\x82";  // cut and stray sequences
  std::string folded = foldSearchText(broken);
  EXPECT_EQ(folded.size(), broken.size());
  EXPECT_TRUE(searchTextContains(broken, "\xFF"));
  EXPECT_TRUE(searchTextContains("X" + broken, "x"));
  EXPECT_FALSE(searchTextContains("\xC3(", "\xC3\xA4"));
}

// The fold takes eight ASCII bytes at a time: every character below U+0100, at
// every place around such a run, folds as the locale's table folds it alone.
TEST(SearchTextFold, EveryLatin1CharacterAtEveryPlaceOfARun) {
  const std::string carrier = "AbCdEfGhIjKlMnOpQrSt@[`{Z";
  for (int c = 1; c < 256; ++c) {
    std::string one, folded(c < 0x80 ? 1 : 0, static_cast<char>(tolower(c)));
    appendUtf8(&one, static_cast<char32_t>(c));
    if (c >= 0x80) appendUtf8(&folded, static_cast<char32_t>(tolower(c) & 0xFF));
    std::string wantCarrier;
    for (char k : carrier) wantCarrier += static_cast<char>(tolower(k));
    for (size_t at = 0; at <= 17; ++at) {
      std::string text = carrier.substr(0, at) + one + carrier.substr(at);
      std::string want = wantCarrier.substr(0, at) + folded + wantCarrier.substr(at);
      ASSERT_EQ(foldSearchText(text), want) << "character " << c << " at " << at;
    }
  }
}

TEST(SearchTextScope, EachModeSearchesItsFields) {
  IndexModel m = sampleIndex();
  EXPECT_EQ(searchedText(m, 1, 1, 0), "GtkLabel");
  EXPECT_EQ(searchedText(m, 1, 0, 1), "GtkLabel;Caption text");
  EXPECT_EQ(searchedText(m, 1, 2, 0), "GtkLabel;GtkLabel;GtkLabel en;Libellé;Beschriftung;Caption text;Étiquette");
  // Mode 1 looks at the index only; mode 0 at the current language's description.
  EXPECT_EQ(find(m, 1, 1, "folders"), -1);
  EXPECT_EQ(find(m, 0, 1, "folders"), 2);
  EXPECT_EQ(find(m, 0, 0, "folders"), -1);
  EXPECT_EQ(find(m, 0, 2, "dossiers"), 2);
  // Mode 2 finds the French title whatever the current language.
  EXPECT_EQ(find(m, 2, 0, "libellé"), 1);
  EXPECT_EQ(find(m, 0, 0, "libellé"), -1);
  // An unknown mode searches like mode 0 instead of finding nothing.
  EXPECT_EQ(searchedText(m, 1, 7, 0), searchedText(m, 1, 0, 0));
  EXPECT_EQ(find(m, 7, 1, "caption"), 1);
}

TEST(SearchTextScope, SemicolonJoinsFieldsButItemsStayApart) {
  IndexModel m = sampleIndex();
  EXPECT_EQ(find(m, 0, 1, "label;caption"), 1);
  EXPECT_EQ(find(m, 1, 1, "label;caption"), -1);
  // Item 0 ends in "öffnen", item 1 begins with "Gtk": no match runs across them.
  EXPECT_EQ(find(m, 1, 0, "nengtk"), -1);
  EXPECT_EQ(find(m, 1, 0, "öffnen"), 0);
}

TEST(SearchTextFind, StartsAtTheGivenItemWithoutWrapping) {
  IndexModel m = sampleIndex();
  EXPECT_EQ(find(m, 1, 0, "gtk"), 1);
  EXPECT_EQ(find(m, 1, 0, "gtk", 2), 3);
  EXPECT_EQ(find(m, 1, 0, "gtk", 4), -1);
  EXPECT_EQ(find(m, 1, 0, "gtk", 99), -1);
  EXPECT_EQ(find(m, 1, 0, "gtk", -5), 1);
  EXPECT_EQ(find(m, 1, 0, ""), -1);
  EXPECT_EQ(find(IndexModel{}, 0, 0, "x"), -1);
}

TEST(SearchTextFind, BufferFollowsModeLanguageAndIndex) {
  IndexModel m = sampleIndex();
  SearchBuffer buffer;
  EXPECT_EQ(findSearchItem(&buffer, m, 1, 0, "loop", 0), -1);
  EXPECT_EQ(findSearchItem(&buffer, m, 0, 1, "loop", 0), 3);
  EXPECT_EQ(findSearchItem(&buffer, m, 0, 0, "loop", 0), -1);
  addItem(&m, "Loop extra", "", "", "");
  EXPECT_FALSE(searchBufferCurrent(buffer, m, 0, 0));
  EXPECT_EQ(findSearchItem(&buffer, m, 0, 0, "loop", 0), 4);
}

// Folding in steps gives the buffer of one pass; a step for another language
// starts over.
TEST(SearchTextFind, FoldingInStepsGivesTheSameBuffer) {
  IndexModel m = sampleIndex();
  SearchBuffer whole;
  buildSearchBuffer(m, 2, 1, &whole);
  SearchBuffer steps;
  EXPECT_FALSE(foldSearchTexts(m, 2, 0, 3, &steps));
  int unfinished = 0;
  while (!foldSearchTexts(m, 2, 1, 1, &steps)) ++unfinished;
  EXPECT_EQ(unfinished, 3);
  EXPECT_EQ(steps.folded, whole.folded);
  EXPECT_EQ(steps.starts, whole.starts);
  EXPECT_TRUE(searchBufferCurrent(steps, m, 2, 1));
}

// The buffer search must find exactly what the plain rule finds, item by item.
TEST(SearchTextFind, AgreesWithThePlainRuleOnRandomTexts) {
  std::mt19937 random(7);
  const char* pieces[] = {"a", "B", ";", "gtk", "Ä", "ä", "\xC4\x80", "é", " ", "x"};
  auto randomText = [&](int parts) {
    std::string s;
    for (int i = 0; i < parts; ++i) s += pieces[random() % 10];
    return s;
  };
  IndexModel m;
  for (int i = 0; i < 60; ++i) addItem(&m, randomText(4), randomText(3), randomText(3), randomText(3), randomText(2));
  SearchBuffer buffer;
  for (int round = 0; round < 400; ++round) {
    int mode = static_cast<int>(random() % 3);
    int language = static_cast<int>(random() % 3);
    int from = static_cast<int>(random() % 62);
    std::string term = randomText(1 + static_cast<int>(random() % 3));
    int expected = -1;
    for (size_t i = std::max(from, 0); i < m.rowCount() && expected < 0; ++i)
      if (searchTextContains(searchedText(m, i, mode, language), term)) expected = static_cast<int>(i);
    ASSERT_EQ(findSearchItem(&buffer, m, mode, language, term, from), expected)
        << "term '" << term << "' mode " << mode << " from " << from;
  }
}

TEST(SearchTextFind, LongestFindablePrefixCountsCharacters) {
  IndexModel m = sampleIndex();
  SearchBuffer buffer;
  auto prefix = [&](const std::string& term) { return longestFindablePrefix(&buffer, m, 1, 0, term); };
  EXPECT_EQ(prefix("gtkla"), 5u);
  EXPECT_EQ(prefix("gtklaX"), 5u);
  EXPECT_EQ(prefix("gtk_mainzzzzzzzzzzzzzzzzzzzzzz"), 8u);
  EXPECT_EQ(prefix("fenster \xC3\xB6"
                   "ffnenQ"),
            14u);  // "ö" is one character
  EXPECT_EQ(prefix("q" + std::string(3 << 20, 'x')), 0u);
  EXPECT_EQ(prefix(""), 0u);
}
