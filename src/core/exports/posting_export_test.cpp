#include "core/exports/posting_export.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "core/database/index_builder.h"
#include "core/exports/export_test_util.h"

namespace {

const std::string kNew = "\xE2\x9C\xB0";

// Root, two themes of two entries, the second entry of the first theme new in its
// German title; rows show the German titles as the index does with markers kept.
IndexModel twoThemes(const std::string& showEn = "Show") {
  IndexModel index;
  addRow(&index, 0, "Root");
  addRow(&index, 1, "Dateien");
  addRow(&index, 2, "Lesen", entryNode("Lesen", "Read", "/Files/read.vl"));
  addRow(&index, 2, kNew + "Schreiben", entryNode(kNew + "Schreiben", "Write", "/Files/write.vl"));
  addRow(&index, 1, "Fenster");
  addRow(&index, 2, "Zeigen", entryNode("Zeigen", showEn, "/Win/show.vl"));
  addRow(&index, 2, "Verbergen", entryNode("Verbergen", "Hide", "/Win/"));
  return index;
}

std::string render(const IndexModel& index, bool newsOnly, bool withFileName = false) {
  PostingOptions options;
  options.newsOnly = newsOnly;
  options.withFileName = withFileName;
  OutputSink sink;
  renderPosting(index, 0, options, &sink);
  return sink.buffer;
}

TEST(PostingTest, AllEntriesOneBlockPerTheme) {
  EXPECT_EQ(render(twoThemes(), false), "\n[b]Dateien[/b]: \tLesen\n[b]Dateien[/b]: \t" + kNew +
                                            "Schreiben\n"
                                            "\n[b]Fenster[/b]: \tZeigen\n[b]Fenster[/b]: \tVerbergen\n");
}

TEST(PostingTest, NewsFollowTheShownTitle) {
  EXPECT_EQ(render(twoThemes(), true), "\n[b]Dateien[/b]: \t" + kNew + "Schreiben\n\n");
  // "DyeingNews" off with German topic language: the loader removed the marker from
  // the shown title and the record, so nothing is news and only the blocks remain.
  IndexModel off = twoThemes();
  IndexBuildOptions look;
  look.dyeingNews = 0;
  applyIndexLook(look, &off);
  EXPECT_EQ(off.topic(3).themeDe, "Schreiben");
  EXPECT_EQ(render(off, true), "\n\n");
  // English topic language: the English title decides, the German one is written.
  IndexModel english = twoThemes(kNew + "Show");
  look.dyeingNews = 1;
  look.topicLanguage = 1;
  applyIndexLook(look, &english);
  EXPECT_EQ(render(english, true), "\n\n[b]Fenster[/b]: \tZeigen\n");
}

TEST(PostingTest, ThemesWithoutEntriesDeepRowsAndEmptyTitles) {
  IndexModel index;
  addRow(&index, 0, "Root");
  addRow(&index, 2, "orphan", entryNode("Orphan", "", "/o.vl"));  // follows the root: skipped
  addRow(&index, 1, "Leer");
  addRow(&index, 1, "T's");
  addRow(&index, 2, "", entryNode("", "", "/e.vl"));
  addRow(&index, 3, "deep", entryNode("Deep", "", "/d.vl"));
  addRow(&index, 2, "after", entryNode("After", "", "/a.vl"));  // follows level 3: skipped
  EXPECT_EQ(render(index, false), "\n[b]T's[/b]: \t\n");
}

TEST(PostingTest, FileListFormAddsQuotedFileName) {
  EXPECT_EQ(render(twoThemes(), false, true),
            "\n[b]Dateien[/b]: \tLesen\t[b]File:[/b] \"read.vl\"\n"
            "[b]Dateien[/b]: \t" +
                kNew +
                "Schreiben\t[b]File:[/b] \"write.vl\"\n"
                "\n[b]Fenster[/b]: \tZeigen\t[b]File:[/b] \"show.vl\"\n"
                "[b]Fenster[/b]: \tVerbergen\t[b]File:[/b] \"\"\n");
}

class PostingFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = makeScratchFolder();
    settings_.exportFolder = root_;
  }
  void TearDown() override { removeScratchFolder(root_); }
  std::string root_;
  ExportSettings settings_;
};

TEST_F(PostingFileTest, FilesAndMessages) {
  ExportResult posting = exportPosting(twoThemes(), settings_, true);
  EXPECT_TRUE(posting.ok && posting.shown);
  EXPECT_EQ(posting.title, "Linux VL-ZEZ-Ovidozo-Vivara");
  EXPECT_EQ(posting.message, "text-Export done to ...\n" + root_ + "ForumPosting.txt");
  EXPECT_EQ(readTestFile(root_ + "ForumPosting.txt"), render(twoThemes(), true));
  ExportResult list = exportFileList(twoThemes(), settings_);
  EXPECT_EQ(list.message, "text-Export done to ...\n" + root_ + "FileList.txt");
  EXPECT_EQ(readTestFile(root_ + "FileList.txt"), render(twoThemes(), false, true));
}

TEST_F(PostingFileTest, UncreatableFileIsReported) {
  settings_.exportFolder = root_ + "missing/";
  ExportResult posting = exportPosting(twoThemes(), settings_, false);
  EXPECT_FALSE(posting.ok);
  EXPECT_TRUE(posting.shown);
  EXPECT_EQ(posting.message, "Couldn't create\n" + root_ + "missing/ForumPosting.txt");
  EXPECT_EQ(exportFileList(twoThemes(), settings_).message, "Couldn't create\n" + root_ + "missing/FileList.txt");
}

}  // namespace
