#include "core/database/index_builder.h"

#include "core/database/database_loader.h"

#include <string>

#include <gtest/gtest.h>

namespace {

const std::string kStar = "\xE2\x9C\xB0";    // U+2730
const std::string kReturn = "\xE2\x86\xBA";  // U+21BA
const std::string kRoot = "<db Name=\"Lib\">VL Linux API 1.7</db>";

// Loads into *model, so what carries over from an earlier build is kept.
void load(const std::string& xml, const IndexBuildOptions& options, IndexModel* model) {
  XmlParseResult result;
  EXPECT_TRUE(loadDatabaseBuffer(xml, options, model, &result));
  EXPECT_EQ(result.status, 0) << result.errorText;
}

IndexModel build(const std::string& xml, const IndexBuildOptions& options = {}) {
  IndexModel model;
  load(xml, options, &model);
  return model;
}

IndexBuildOptions withLanguage(int language, int dyeingNews) {
  IndexBuildOptions options;
  options.topicLanguage = language;
  options.dyeingNews = dyeingNews;
  return options;
}

// A root with one theme holding one entry with the given titles; the entry is row 2.
std::string oneEntry(const std::string& de, const std::string& en, const std::string& fr) {
  return "<db Name=\"Lib\"><t Group=\"Files\"><e File=\"/f.vl\" theme_de=\"" + de + "\" theme_en=\"" + en +
         "\" theme_fr=\"" + fr + "\"/></t></db>";
}

}  // namespace

TEST(IndexBuilderMarkers, NewTopicsAreBlueWhileDyeingAndLoseTheMarkerOtherwise) {
  std::string xml = oneEntry(kStar + "Fenster", "Window", "Fen\xC3\xAAtre");
  IndexModel dyed = build(xml, withLanguage(0, 1));
  EXPECT_EQ(dyed.row(2).text, kStar + "Fenster");
  EXPECT_EQ(dyed.row(2).foreground, kNewTopicColor);

  IndexModel plain = build(xml, withLanguage(0, 0));
  EXPECT_EQ(plain.row(2).text, "Fenster");
  EXPECT_EQ(plain.row(2).foreground, kNoColor);
  EXPECT_EQ(plain.topic(2).themeDe, "Fenster");

  // The German title decides the colour whatever language is shown.
  for (int language : {1, 2, 7}) {
    EXPECT_EQ(build(xml, withLanguage(language, 1)).row(2).foreground, kNewTopicColor);
  }
  // Any language other than 0 and 1 is French.
  EXPECT_EQ(build(xml, withLanguage(7, 1)).row(2).text, "Fen\xC3\xAAtre");
}

// The index is all that is kept of the file: a rebuild in another language or
// with the markers shown again gets the titles back as they were read.
TEST(IndexBuilderMarkers, RebuildsInPlaceRestoreRemovedMarkers) {
  IndexModel model = build(oneEntry(kStar + "Neu", kReturn + "New", "Nouveau"), withLanguage(0, 0));
  EXPECT_EQ(model.topic(2).themeDe, "Neu");
  rebuildIndexModel(withLanguage(1, 0), &model);
  EXPECT_EQ(model.topic(2).themeDe, kStar + "Neu");
  EXPECT_EQ(model.row(2).text, "New");
  rebuildIndexModel(withLanguage(0, 1), &model);
  EXPECT_EQ(model.row(2).text, kStar + "Neu");
  EXPECT_EQ(model.row(2).foreground, kNewTopicColor);
  EXPECT_EQ(model.topic(2).themeEn, kReturn + "New");
}

TEST(IndexBuilderMarkers, OnlyTheShownTitleIsShortened) {
  IndexModel english = build(oneEntry(kStar + "Neu", kStar + "New", kStar + "Nouveau"), withLanguage(1, 0));
  EXPECT_EQ(english.row(2).text, "New");
  EXPECT_EQ(english.row(2).foreground, kNoColor);
  EXPECT_EQ(english.topic(2).themeEn, "New");
  EXPECT_EQ(english.topic(2).themeDe, kStar + "Neu");
  EXPECT_EQ(english.topic(2).themeFr, kStar + "Nouveau");

  IndexModel onlyEnglishMarked = build(oneEntry("Alt", kStar + "New", "Vieux"), withLanguage(1, 1));
  EXPECT_EQ(onlyEnglishMarked.row(2).text, kStar + "New");
  EXPECT_EQ(onlyEnglishMarked.row(2).foreground, kNoColor);

  std::string revised = oneEntry(kReturn + "Ge\xC3\xA4ndert", "Changed", "Chang\xC3\xA9");
  EXPECT_EQ(build(revised, withLanguage(0, 0)).row(2).text, "Ge\xC3\xA4ndert");
  IndexModel revisedDyed = build(revised, withLanguage(0, 1));
  EXPECT_EQ(revisedDyed.row(2).text, kReturn + "Ge\xC3\xA4ndert");
  EXPECT_EQ(revisedDyed.row(2).foreground, kNoColor);

  // A marker later in the title is text, not a marker.
  EXPECT_EQ(build(oneEntry("A" + kStar, "B", "C"), withLanguage(0, 0)).row(2).text, "A" + kStar);
}

TEST(IndexBuilderMarkers, ThemesAreColouredByTheirGermanTitleToo) {
  IndexModel model = build("<db Name=\"L\"><t Group=\"G\" theme_de=\"" + kStar + "x\"/></db>");
  EXPECT_EQ(model.row(1).foreground, kNewTopicColor);
  EXPECT_EQ(model.row(1).text, "G");  // themes show their group text, not a title
}

TEST(IndexBuilderGroups, GroupTextRowTextsAndBackgrounds) {
  IndexBuildOptions options;
  options.libraryTitle = "Own";
  IndexModel model = build("<db a=\"Ti\" b=\"tle\">r</db>", options);
  EXPECT_EQ(model.row(0).text, "Title");  // two other attributes join without a gap
  EXPECT_EQ(model.row(0).background, options.treeColorB);
  EXPECT_EQ(model.row(0).foreground, options.treeColorC);

  model = build(
      "<db Name=\"Lib\"><t n=\"O\" m=\"wn\"><e File=\"/a\" theme_de=\"A\"/></t>"
      "<t n=\"Other\"/></db>",
      options);
  ASSERT_EQ(model.rowCount(), 4u);
  EXPECT_EQ(model.row(1).text, "Own");
  EXPECT_EQ(model.row(1).background, options.treeColorA);
  EXPECT_EQ(model.row(2).background, kNoColor);
  EXPECT_EQ(model.row(3).background, options.treeColorD);
  EXPECT_EQ(model.row(3).level, 1);
  EXPECT_EQ(model.row(2).level, 2);
}

TEST(IndexBuilderGroups, CurrentGroupCarriesOverAndIntoBuilds) {
  IndexModel model;
  model.currentGroup = "Earlier";
  load(
      "<db><t Group=\"\"><e File=\"/a\"/></t>"
      "<t Group=\"G1\"><e File=\"/b\"/></t><t Group=\"G2\"/></db>",
      {}, &model);
  EXPECT_EQ(model.topic(0).group, "Earlier");  // empty group texts keep the old one
  EXPECT_EQ(model.topic(2).group, "Earlier");
  EXPECT_EQ(model.topic(3).group, "G1");
  EXPECT_EQ(model.topic(4).group, "G1");
  EXPECT_EQ(model.topic(5).group, "G2");
  rebuildIndexModel({}, &model);  // a language switch rebuilds from the index in memory
  EXPECT_EQ(model.topic(0).group, "G2");
}

TEST(IndexBuilderText, TextIsTrimmedAndNeedsAnAttribute) {
  IndexModel model = build(
      "<db Name=\"L\"> \t\r\n Root\ttext \n<t>lost</t>"
      "<t g=\"x\">\n  Theme\r\n  text\t</t></db>");
  EXPECT_EQ(model.topic(0).text, "Root\ttext");
  EXPECT_EQ(model.topic(1).text, "");
  EXPECT_EQ(model.topic(2).text, "Theme\r\n  text");
  EXPECT_EQ(build("<db a=\"1\"> \n\t</db>").topic(0).text, "");
}

TEST(IndexBuilderText, DatabaseVersionIsTheFourthBlankSeparatedField) {
  EXPECT_EQ(build("<db a=\"1\">\n  VL Linux API 2.3.1  \n</db>").databaseVersion, "2.3.1");
  EXPECT_EQ(build("<db a=\"1\">VL  Linux API 2.3.1</db>").databaseVersion, "API");
  EXPECT_EQ(build("<db a=\"1\">VL Linux API</db>").databaseVersion, "");
  EXPECT_EQ(build("<db a=\"1\">a b c d e</db>").databaseVersion, "d");
  EXPECT_EQ(build("<db>VL Linux API 2.3.1</db>").databaseVersion, "");  // no attribute, no text

  IndexModel model;
  model.databaseVersion = "old";
  load("<db a=\"1\">three short words</db>", {}, &model);
  EXPECT_EQ(model.databaseVersion, "");  // every build recomputes it
  // Only the root counts: a deeper element with a long text leaves it alone.
  EXPECT_EQ(build("<db a=\"1\">VL Linux API 9<t g=\"1\">a b c d</t></db>").databaseVersion, "9");
}

TEST(IndexBuilderRows, CommentsDoNotShiftRowsAndRecords) {
  IndexModel model = build(
      "<db Name=\"L\"><!-- c --><t g=\"T\"><e File=\"/a.vl\" theme_de=\"A\"/>"
      "<!-- between --><e File=\"/b.vl\" theme_de=\"B\"/></t></db>");
  ASSERT_EQ(model.rowCount(), 4u);
  EXPECT_EQ(model.row(3).text, "B");
  EXPECT_EQ(model.topic(3).file, "/b.vl");
}

TEST(IndexBuilderRows, HelpEntryIsTheLastViewerHelpFile) {
  IndexModel model = build(
      "<db Name=\"L\"><t g=\"T\"><e File=\"/Help/ViewerHelp.txt\"/>"
      "<e File=\"/ViewerHelp.txt.bak\"/><e File=\"/Other/ViewerHelp.txt\"/>"
      "<e File=\"/xViewerHelp.txt\"/></t></db>");
  EXPECT_EQ(model.helpEntryIndex, 4);
  IndexModel none = build(kRoot);
  EXPECT_EQ(none.helpEntryIndex, 0);
}

TEST(IndexBuilderRows, DeepNestingBuilds) {
  const int depth = 100000;
  std::string xml;
  for (int i = 0; i < depth; ++i) xml += "<e g=\"x\">";
  for (int i = 0; i < depth; ++i) xml += "</e>";
  IndexModel deep = build(xml);
  ASSERT_EQ(deep.rowCount(), static_cast<size_t>(depth));
  EXPECT_EQ(deep.row(depth - 1).level, depth - 1);
  EXPECT_TRUE(rowHasChildren(deep, depth - 2));
  EXPECT_FALSE(rowHasChildren(deep, depth - 1));
}

TEST(IndexBuilderCount, ThemesNeedChildrenAndTheOwnGroupIsLeftOut) {
  IndexBuildOptions options;
  IndexModel model = build(
      "<db Name=\"L\">"
      "<t g=\"ZEZ Ovidozo Vivara\"><e File=\"/help.txt\"/><e File=\"/about.txt\"/></t>"
      "<t g=\"Empty theme\"/>"
      "<t g=\"Files\"><e File=\"/a.vl\"/><e theme_de=\"no file\"/>"
      "<e File=\"/b.vl\"><sub File=\"/deep.vl\"/></e></t>"
      "<t g=\"More\"><e File=\"/c.vl\"/></t></db>",
      options);
  EXPECT_FALSE(rowHasChildren(model, 4));  // the empty theme is a leaf
  EXPECT_TRUE(rowHasChildren(model, 5));
  IndexCounts counts = countThemesAndEntries(model, options.libraryTitle);
  // Files and More are themes; /a.vl and /c.vl are entries: no file, a parent and a
  // level-3 leaf do not count.
  EXPECT_EQ(counts.themeCount, 2);
  EXPECT_EQ(counts.entryCount, 2);

  IndexModel renamed = build(
      "<db Name=\"L\"><t g=\"Own\"><e File=\"/x\"/></t>"
      "<t g=\"Next\"><e File=\"/y\"/></t></db>");
  IndexCounts own = countThemesAndEntries(renamed, "Own");
  EXPECT_EQ(own.themeCount, 1);
  EXPECT_EQ(own.entryCount, 1);  // the theme after the own group counts again
}
