#include "core/settings/language_file.h"

#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "core/settings/test_files.h"

namespace {

LanguageTable loadText(const std::string& text) {
  ScratchFolder dir;
  writeBytes(dir.file("lang.ari"), text);
  LanguageTable t;
  EXPECT_TRUE(loadLanguageFile(dir.file("lang.ari"), &t));
  EXPECT_TRUE(t.loaded);
  return t;
}

std::string text(const LanguageTable& t, const char* key, const char* code, bool tooltip = false) {
  std::string out = "<none>";
  findLangText(t, key, tooltip, code, &out);
  return out;
}

}  // namespace

TEST(LanguageFile, ReadsBlocksOfBothSections) {
  LanguageTable t = loadText(
      "; header\nKey = #Ignored\nde = vor dem Abschnitt\n"
      "[LanguageItems]\n"
      "Key = #Cnf_LangLabel\nde = Sprache\nen = Language\nfr = Langue\n"
      "\n; comment between blocks\n"
      "[Tooltips]\n"
      "Key = #Main_Find\nde = Suchen\nen = Find\nfr = Chercher\n");
  EXPECT_EQ(t.items.size(), 2u);
  EXPECT_EQ(text(t, "#Cnf_LangLabel", "de"), "Sprache");
  EXPECT_EQ(text(t, "#Cnf_LangLabel", "en"), "Language");
  EXPECT_EQ(text(t, "#Cnf_LangLabel", "fr"), "Langue");
  EXPECT_EQ(text(t, "#Main_Find", "en", true), "Find");
  EXPECT_EQ(text(t, "#Main_Find", "en"), "<none>");  // a tooltip is no label text
  EXPECT_EQ(text(t, "#Cnf_LangLabel", "en", true), "<none>");
  EXPECT_EQ(text(t, "#Ignored", "de"), "<none>");
}

TEST(LanguageFile, NoSectionLineGivesAnEmptyLoadedTable) {
  LanguageTable t = loadText("Key = #A\nde = a\nen = a\nfr = a\n");
  EXPECT_TRUE(t.items.empty());
  EXPECT_EQ(text(t, "#A", "de"), "<none>");
}

TEST(LanguageFile, BlanksAroundNamesAndValues) {
  LanguageTable t = loadText(
      "[LanguageItems]\n"
      "   Key   =  #A\n"
      "de =  zwei Leerzeichen  \n"
      "en=x = y\n"
      "fr =\ttab\n"
      "\tKey = #B\nde = b\nen = b\nfr = b\n");
  EXPECT_EQ(text(t, "#A", "de"), "zwei Leerzeichen  ");  // trailing blanks stay
  EXPECT_EQ(text(t, "#A", "en"), "x = y");               // later "=" belong to the value
  EXPECT_EQ(text(t, "#A", "fr"), "\ttab");               // only blanks are dropped after "="
  EXPECT_EQ(text(t, "#B", "de"), "<none>");              // a tab before "Key" hides the line
}

TEST(LanguageFile, AllLineEndsReadTheSame) {
  for (const char* eol : {"\n", "\r\n", "\r"}) {
    std::string file = std::string("[LanguageItems]") + eol + "Key = #A" + eol + "de = a" + eol + "en = b" + eol +
                       "fr = c" + eol + "[Tooltips]" + eol + "Key = #A" + eol + "de = t" + eol + eol + eol;
    LanguageTable t = loadText(file);
    EXPECT_EQ(text(t, "#A", "fr"), "c") << "line end " << int(eol[0]) << " " << strlen(eol);
    EXPECT_EQ(text(t, "#A", "de", true), "t");
  }
}

// The file is read in 64 KiB chunks: a line end or a character split between two
// of them reads like any other.
TEST(LanguageFile, ChunkBordersSplitNothing) {
  const std::string_view splits[][2] = {
      {"Key = #A\r", "\nde = Gr\xC3\xBC\xC3\x9F\n"},  // CR LF
      {"Key = #A\r", "de = Gr\xC3\xBC\xC3\x9F\n"},    // a CR alone ends the chunk
      {"Key = #A\nde = Gr\xC3", "\xBC\xC3\x9F\n"},    // a two-byte character
  };
  for (const auto& split : splits) {
    std::string file = "[LanguageItems]\n; ";
    file.append(65536 - file.size() - 1 - split[0].size(), '-').append("\n");
    file.append(split[0]).append(split[1]).append("en = b\nfr = c\n");
    LanguageTable t = loadText(file);
    EXPECT_EQ(text(t, "#A", "de"), "Gr\xC3\xBC\xC3\x9F");
    EXPECT_EQ(text(t, "#A", "fr"), "c");
  }
}

TEST(LanguageFile, IncompleteAndRepeatedBlocks) {
  LanguageTable t = loadText(
      "[LanguageItems]\n"
      "Key = #NoGerman\nxx = ?\nen = e\nfr = f\n"  // not started by "de": nothing stored
      "Key = #Dup\nde = first\nen = first\nfr = first\n"
      "Key = #Dup\nde = second\nxx = ?\nfr = second\n"  // overwrites what it carries
      "Key = #Empty\nde = leer\nen =\nfr =  \n"
      "Key = #Short\nde = kurz\n");  // file ends inside the block
  EXPECT_EQ(t.items.count("#NoGerman"), 0u);
  EXPECT_EQ(text(t, "#Dup", "de"), "second");
  EXPECT_EQ(text(t, "#Dup", "en"), "first");
  EXPECT_EQ(text(t, "#Dup", "fr"), "second");
  EXPECT_EQ(text(t, "#Empty", "en"), "");  // an empty text is a text
  EXPECT_EQ(text(t, "#Empty", "fr"), "");
  EXPECT_EQ(text(t, "#Short", "de"), "kurz");
  EXPECT_EQ(text(t, "#Short", "en"), "<none>");  // never set: the gadget keeps its own text
}

// GTK takes valid UTF-8 only; broken bytes become U+FFFD, the rest stays.
TEST(LanguageFile, InvalidUtf8IsRepaired) {
  LanguageTable t = loadText("[LanguageItems]\nKey = #A\nde = Gr\xFC\xC3\xBC\nen = \xC0\xAF\nfr = ok\n");
  EXPECT_EQ(text(t, "#A", "de"), "Gr\xEF\xBF\xBD\xC3\xBC");
  EXPECT_EQ(text(t, "#A", "en"), "\xEF\xBF\xBD\xEF\xBF\xBD");
  EXPECT_EQ(text(t, "#A", "fr"), "ok");
}

TEST(LanguageFile, MissingFileLeavesTheTableAsItWas) {
  ScratchFolder dir;
  LanguageTable t;
  t.items["#A"] = {"a", "b", "c"};
  EXPECT_FALSE(loadLanguageFile(dir.file("none.ari"), &t));
  EXPECT_FALSE(loadLanguageFile(dir.path(), &t));  // a folder is no language file
  ASSERT_EQ(mkfifo(dir.file("fifo.ari").c_str(), 0644), 0);
  EXPECT_FALSE(loadLanguageFile(dir.file("fifo.ari"), &t));  // refused at once, never waited on
  EXPECT_FALSE(t.loaded);
  EXPECT_EQ(t.items.size(), 1u);
}

TEST(LanguageFile, LookupLanguageCodes) {
  LanguageTable t = loadText("[LanguageItems]\nKey = #A\nde = a\nen = b\nfr = c\n");
  EXPECT_EQ(text(t, "#A", "es"), "<none>");
  const char* saved = getenv("LANG");
  std::string restore = saved ? saved : "";
  setenv("LANG", "fr_FR.UTF-8", 1);
  EXPECT_EQ(text(t, "#A", ""), "c");
  setenv("LANG", "C", 1);
  EXPECT_EQ(text(t, "#A", ""), "<none>");
  unsetenv("LANG");
  EXPECT_EQ(text(t, "#A", ""), "<none>");
  if (saved) setenv("LANG", restore.c_str(), 1);
}

TEST(LanguageFile, ComboItemTexts) {
  auto items = comboItemTexts("one\ttwo\tthree");
  EXPECT_EQ(items[0], "one");
  EXPECT_EQ(items[1], "two");
  EXPECT_EQ(items[2], "three");
  items = comboItemTexts("only\t");
  EXPECT_EQ(items[0], "only");
  EXPECT_EQ(items[1], "");
  EXPECT_EQ(items[2], "");
  items = comboItemTexts("a\tb\tc\tignored");
  EXPECT_EQ(items[2], "c");
}
