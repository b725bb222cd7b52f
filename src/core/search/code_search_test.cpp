// Mode 3 against its definition (the texts of mode 2, ";" and the code as the code
// view shows it), and the rows of the match list.
#include "core/search/code_search.h"

#include <gtest/gtest.h>

#include <random>

#include "core/codeview/code_file.h"
#include "core/database/index_builder.h"
#include "core/search/code_reader.h"
#include "core/settings/test_files.h"

namespace {

// Levels 0 and 1 show their group text, deeper levels their German title.
void addRow(IndexModel* m, int level, const std::string& text, const std::string& file = "",
            const std::string& descriptFr = "") {
  TopicNode node;
  node.themeDe = text;
  node.descriptFr = descriptFr;
  node.file = file;
  appendTopic(m, level, level < 2 ? text : "", node);
}

// Reads the code of items below `until` the way the background reader does.
CodeBuffer readCode(const IndexModel& index, const std::string& library, size_t until) {
  std::vector<std::string> paths = codeFilePaths(index, library);
  CodeChunk chunk;
  CodeFileText scratch;
  for (size_t i = 0; i < until; ++i) appendCodeFile(&chunk, paths[i], &scratch);
  CodeBuffer code;
  addCodeChunk(&code, std::move(chunk));
  return code;
}

}  // namespace

TEST(CodeSearch, CodeIsSearchedAsTheCodeViewShowsIt) {
  ScratchFolder lib;
  // UTF-8 with its mark, CR LF line ends and a footer whose lines are never shown.
  writeBytes(lib.file("a.vl"),
             "\xEF\xBB\xBF"
             "OpenWindow(0, 0, 0, 200, 100, \"Gr\xC3\xB6\xC3\x9F"
             "e\")\r\n  Gtk_Window_Set_Icon(*w, icon)\r\n; IDE Options = VL 6\r\n; hidden_call()\r\n");
  // No mark: one character per byte, so the UTF-8 bytes of "ö" are two characters.
  writeBytes(lib.file("b.vl"), "x = \xC3\xB6\n??Debug 1\n");
  IndexModel m;
  addRow(&m, 0, "Root");
  addRow(&m, 1, "Fenster");
  addRow(&m, 2, "Icon", "/a.vl", "Montre");
  addRow(&m, 2, "Latin", "//b.vl");
  addRow(&m, 2, "Gone", "/missing.vl");

  std::string icon = codeSearchedText(m, 2, 0, lib.path());
  EXPECT_EQ(icon, searchedText(m, 2, 2, 0) +
                      ";OpenWindow(0, 0, 0, 200, 100, \"Gr\xC3\xB6\xC3\x9F"
                      "e\")\n  Gtk_Window_Set_Icon(*w, icon)");
  EXPECT_EQ(codeSearchedText(m, 3, 0, lib.path()), searchedText(m, 3, 2, 0) + ";x = \xC3\x83\xC2\xB6\nDebug 1");
  EXPECT_EQ(codeSearchedText(m, 4, 0, lib.path()), searchedText(m, 4, 2, 0));

  SearchBuffer texts;
  CodeBuffer code = readCode(m, lib.path(), m.rowCount());
  EXPECT_EQ(findCodeSearchItem(&texts, code, m, 0, "gtk_window_set_ICON", 0), 2);
  EXPECT_EQ(findCodeSearchItem(&texts, code, m, 0, "hidden_call", 0), -1);
  EXPECT_EQ(findCodeSearchItem(&texts, code, m, 0, "\xC3\x83\xC2\xB6", 0), 3);
  EXPECT_EQ(findCodeSearchItem(&texts, code, m, 0, "?Debug", 0), -1);
  // The written scopes never look into the code.
  EXPECT_EQ(findSearchItem(&texts, m, 2, 0, "gtk_window_set_icon", 0), -1);
}

// Random indexes, code and terms (many holding ";"), with the code read for only a
// part of the items: every find and every list equals a plain search through the
// written-out texts, where the items not yet read have no code.
TEST(CodeSearch, TwoBuffersMatchThePlainDefinition) {
  std::mt19937 random(7);
  auto pick = [&](std::string_view from, size_t n) {
    std::string s;
    for (size_t i = 0; i < n; ++i) s += from[random() % from.size()];
    return s;
  };
  const std::string_view letters = "abAB;\n ";
  for (int round = 0; round < 30; ++round) {
    ScratchFolder lib;
    IndexModel m;
    size_t count = 1 + random() % 12;
    for (size_t i = 0; i < count; ++i) {
      std::string file = random() % 4 ? "/f" + std::to_string(i) + ".vl" : "";
      if (!file.empty() && random() % 5) writeBytes(lib.file(file.substr(1)), pick(letters, random() % 9));
      addRow(&m, static_cast<int>(1 + i % 2), pick(letters, random() % 5), file, pick(letters, random() % 4));
    }
    size_t covered = random() % (count + 1);
    CodeBuffer code = readCode(m, lib.path(), covered);
    std::vector<std::string> full(count);
    for (size_t i = 0; i < count; ++i)
      full[i] = i < covered ? codeSearchedText(m, i, 0, lib.path()) : searchedText(m, i, 2, 0);
    for (int t = 0; t < 40; ++t) {
      std::string term = pick(letters, 1 + random() % 4);
      std::vector<int> expected;
      for (size_t i = 0; i < count; ++i)
        if (searchTextContains(full[i], term)) expected.push_back(static_cast<int>(i));
      SearchBuffer texts;
      ASSERT_EQ(collectMatches(&texts, code, m, 3, 0, term), expected) << "term " << term;
      int from = static_cast<int>(random() % (count + 1));
      auto first = std::lower_bound(expected.begin(), expected.end(), from);
      ASSERT_EQ(findCodeSearchItem(&texts, code, m, 0, term, from), first == expected.end() ? -1 : *first)
          << "term " << term << " from " << from;
    }
  }
}

TEST(CodeSearch, MatchRowsShowTitleThemeAndTheCodeLine) {
  ScratchFolder lib;
  std::string longTail(300, 'x');
  writeBytes(lib.file("a.vl"), "; first\n\tIf Gtk_Window_Set_Icon(*w, Icon) ; " + longTail + "\nEnd\n");
  writeBytes(lib.file("b.vl"), "Debug \"ICON\"\n");
  IndexModel m;
  addRow(&m, 0, "Root");
  addRow(&m, 1, "Fenster");
  addRow(&m, 2, "Set icon", "/a.vl");
  addRow(&m, 2, "Without icon in code", "/b.vl");
  addRow(&m, 1, "Dateien");
  addRow(&m, 2, "Icon of a file");
  SearchBuffer texts;
  CodeBuffer code = readCode(m, lib.path(), m.rowCount());
  std::vector<std::string> paths = codeFilePaths(m, lib.path());
  EXPECT_EQ(collectMatches(&texts, code, m, 3, 0, "icon"), (std::vector<int>{2, 3, 5}));
  MatchRow row = describeMatch(m, code, "SET_ICON", 2, paths[2]);
  EXPECT_EQ(row.title, "Set icon");
  EXPECT_EQ(row.theme, "Fenster");
  // Indentation dropped, the long tail cut, the term marked in the file's own case.
  EXPECT_EQ(row.codeLine.substr(0, 30), "If Gtk_Window_Set_Icon(*w, Ico");
  EXPECT_EQ(row.codeLine.substr(row.termBegin, row.termLength), "Set_Icon");
  EXPECT_TRUE(row.codeLine.size() < 130u && row.codeLine.ends_with("\xE2\x80\xA6"));
  // A match in the title only shows no code line; the theme is the entry's own.
  MatchRow titleOnly = describeMatch(m, code, "of a", 5, paths[5]);
  EXPECT_EQ(titleOnly.theme, "Dateien");
  EXPECT_TRUE(titleOnly.codeLine.empty());
  // Changed on disk since it was read: the line as it was read, folded.
  writeBytes(lib.file("b.vl"), "Debug \"other\"\n");
  MatchRow changed = describeMatch(m, code, "Icon", 3, paths[3]);
  EXPECT_EQ(changed.codeLine, "debug \"icon\"");
  EXPECT_EQ(changed.termBegin, 7u);
}

// Runs of ";" as long as an item's text and code: each item is searched once, not
// once for every ";" of the term. Invalid UTF-8 in a term finds nothing and ends.
TEST(CodeSearch, HostileTermsEndQuickly) {
  ScratchFolder lib;
  writeBytes(lib.file("a.vl"), std::string(4000, ';') + "\xFF\xFE-no mark here\n");
  IndexModel m;
  for (int i = 0; i < 2000; ++i) addRow(&m, 2, std::string(200, ';'), "/a.vl");
  CodeBuffer code = readCode(m, lib.path(), m.rowCount());
  SearchBuffer texts;
  EXPECT_TRUE(collectMatches(&texts, code, m, 3, 0, std::string(4300, ';') + "x").empty());
  EXPECT_EQ(findCodeSearchItem(&texts, code, m, 0, "\xFF\xFE", 0), -1);
  EXPECT_EQ(findCodeSearchItem(&texts, code, m, 0, "\xC3\xBF\xC3\xBE-NO", 0), 0);
}
