#include "core/settings/preference_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "core/settings/test_files.h"

namespace {

const std::string kMark = "\xEF\xBB\xBF";

// Opens `bytes` as a settings file, lets `change` work on it, closes it and
// returns the bytes on disk afterwards.
template <typename Change>
std::string rewrite(const ScratchFolder& dir, const std::string& bytes, int flags, Change change) {
  std::string path = dir.file("s.ini");
  writeBytes(path, bytes);
  PreferenceFile f;
  EXPECT_TRUE(f.open(path, flags));
  change(f);
  f.close();
  return readBytes(path);
}

}  // namespace

TEST(PreferenceFile, ParsesEveryKindOfLine) {
  auto e = parsePreferenceText(
      " \t db-path \t=  \t/a b/x.xml  \n"
      ";no blank\n"
      ";  two blanks\n"
      "[Group] trailing\n"
      "[Open\n"
      "Lonely words\n"
      "#Hash=1\n"
      "=empty key\n");
  ASSERT_EQ(e.size(), 8u);
  EXPECT_EQ(e[0].kind, PrefEntryKind::Key);
  EXPECT_EQ(e[0].text, "db-path");
  EXPECT_EQ(e[0].value, "/a b/x.xml  ");  // trailing blanks go only when read
  EXPECT_EQ(e[1].kind, PrefEntryKind::Comment);
  EXPECT_EQ(e[1].text, "no blank");
  EXPECT_EQ(e[2].text, " two blanks");  // only one blank belongs to the ";"
  EXPECT_EQ(e[3].kind, PrefEntryKind::Group);
  EXPECT_EQ(e[3].text, "Group");
  EXPECT_EQ(e[4].text, "Open");
  EXPECT_EQ(e[5].kind, PrefEntryKind::Key);
  EXPECT_EQ(e[5].text, "Lonely words");
  EXPECT_EQ(e[5].value, "");
  EXPECT_EQ(e[6].text, "#Hash");  // "#" starts no comment
  EXPECT_EQ(e[7].text, "");
  EXPECT_EQ(e[7].value, "empty key");
}

TEST(PreferenceFile, LineEndsAndBlankLines) {
  auto lf = parsePreferenceText("a=1\nb=2\n");
  auto crlf = parsePreferenceText("a=1\r\n\r\n   \t\r\nb=2\r\n");
  auto cr = parsePreferenceText("a=1\rb=2");
  for (const auto* e : {&lf, &crlf, &cr}) {
    ASSERT_EQ(e->size(), 2u);
    EXPECT_EQ((*e)[0].value, "1");
    EXPECT_EQ((*e)[1].text, "b");
    EXPECT_EQ((*e)[1].value, "2");
  }
  ScratchFolder dir;
  std::string out =
      rewrite(dir, kMark + "a=1\r\n\r\n; note\r\nb=2\r\n", 1, [](PreferenceFile& f) { f.writeInteger("a", 5); });
  EXPECT_EQ(out, kMark + "\na=5\n; note\nb=2\n");
}

TEST(PreferenceFile, ReadsNumbersLikeScanfAndTextTrimmed) {
  ScratchFolder dir;
  writeBytes(dir.file("s.ini"),
             "SearchMode = \t 2 \t\nFontSize=big\nWinX=-7px\nHuge=99999999999\nLow=-99999999999\n"
             "FontName=\t Mono Sans \t\nPlus=+3\n");
  PreferenceFile f;
  ASSERT_TRUE(f.open(dir.file("s.ini"), 0));
  EXPECT_EQ(f.readInteger("SearchMode", 9), 2);
  EXPECT_EQ(f.readInteger("FontSize", 10), 0);  // letters give 0, not the default
  EXPECT_EQ(f.readInteger("Missing", 10), 10);
  EXPECT_EQ(f.readInteger("WinX", 0), -7);
  EXPECT_EQ(f.readInteger("Plus", 0), 3);
  EXPECT_EQ(f.readInteger("Huge", 0), 2147483647);
  EXPECT_EQ(f.readInteger("Low", 0), -2147483647 - 1);
  EXPECT_EQ(f.readText("FontName", "x"), "Mono Sans");
  EXPECT_EQ(f.readText("Missing", "dflt"), "dflt");
  EXPECT_EQ(f.close(), PrefWriteBack::Unchanged);
}

TEST(PreferenceFile, KeysMatchWithoutLetterCaseAndTakeTheWrittenSpelling) {
  ScratchFolder dir;
  std::string out = rewrite(dir, kMark + "\nsearchmode=1\nother=x\n", 1, [](PreferenceFile& f) {
    EXPECT_EQ(f.readInteger("SearchMode", 0), 1);
    EXPECT_EQ(f.readText("OTHER", ""), "x");
    f.writeInteger("SearchMode", 2);
  });
  EXPECT_EQ(out, kMark + "\nSearchMode=2\nother=x\n");
}

TEST(PreferenceFile, OnlyTheFirstOfDuplicateKeysCounts) {
  ScratchFolder dir;
  std::string out = rewrite(dir, kMark + "\nLanguage=1\nLanguage=2\n", 1, [](PreferenceFile& f) {
    EXPECT_EQ(f.readInteger("Language", 0), 1);
    f.writeInteger("Language", 0);
  });
  EXPECT_EQ(out, kMark + "\nLanguage=0\nLanguage=2\n");
}

TEST(PreferenceFile, GroupsHideTheirKeysAndNewKeysGoBeforeTheFirstGroup) {
  ScratchFolder dir;
  std::string out = rewrite(dir, "; top\nA=1\n\n[G1]\nB=2\n[G2]\nC=3\n", 1, [](PreferenceFile& f) {
    EXPECT_EQ(f.readInteger("B", -1), -1);  // only reachable by selecting its group
    f.writeInteger("B", 9);
    f.writeText("New", "v");
  });
  EXPECT_EQ(out, kMark + "\n; top\nA=1\nB=9\nNew=v\n[G1]\nB=2\n[G2]\nC=3\n");

  out = rewrite(dir, "[G]\nx=1\n", 0, [](PreferenceFile& f) { f.writeInteger("k", 1); });
  EXPECT_EQ(out, kMark + "\nk = 1\n[G]\nx = 1\n");  // flags without bit 0: " = "
}

TEST(PreferenceFile, GapFlagPutsEmptyLinesBeforeLaterGroups) {
  ScratchFolder dir;
  std::string out = rewrite(dir, "[A]\na=1\n[B]\n[C]\n", 3, [](PreferenceFile& f) { f.writeInteger("k", 1); });
  EXPECT_EQ(out, kMark + "\nk=1\n[A]\na=1\n\n[B]\n\n[C]\n");
}

TEST(PreferenceFile, NewFileHoldsCommentsAndKeysInWritingOrder) {
  ScratchFolder dir;
  std::string path = dir.file("new.ini");
  PreferenceFile f;
  ASSERT_TRUE(f.create(path, 1));
  f.addComment("Viewer");
  f.writeText("db-path", "/x/VL.xml");
  f.writeInteger("about", 0);
  f.addComment("User settings");
  f.writeInteger("Language", 2);
  f.writeInteger("about", 1);   // an update in place moves the cursor back ...
  f.addComment("after about");  // ... so the next comment follows that entry
  EXPECT_EQ(f.close(), PrefWriteBack::Written);
  EXPECT_EQ(readBytes(path), kMark +
                                 "\n; Viewer\ndb-path=/x/VL.xml\nabout=1\n; after about\n"
                                 "; User settings\nLanguage=2\n");

  ASSERT_TRUE(f.create(dir.file("empty.ini"), 1));
  EXPECT_EQ(f.close(), PrefWriteBack::Written);  // a created file is written even untouched
  EXPECT_EQ(readBytes(dir.file("empty.ini")), kMark + "\n");
}

TEST(PreferenceFile, EncodingOfFilesWithoutMark) {
  ScratchFolder dir;
  // ISO 8859-1 "ä" is read as "ä" and written back as UTF-8 with the mark.
  std::string out = rewrite(dir, "Name=K\xE4se\n", 1, [](PreferenceFile& f) {
    EXPECT_EQ(f.readText("Name", ""), "K\xC3\xA4se");
    f.writeInteger("n", 1);
  });
  EXPECT_EQ(out, kMark + "\nName=K\xC3\xA4se\nn=1\n");
  // UTF-8 without the mark is not converted a second time.
  out = rewrite(dir, "Name=K\xC3\xA4se\n", 1, [](PreferenceFile& f) {
    EXPECT_EQ(f.readText("Name", ""), "K\xC3\xA4se");
    f.writeInteger("n", 1);
  });
  EXPECT_EQ(out, kMark + "\nName=K\xC3\xA4se\nn=1\n");
  // With the mark the bytes are taken as they are.
  out = rewrite(dir, kMark + "Name=\xC3\xA4\n", 1, [](PreferenceFile& f) { f.writeInteger("n", 1); });
  EXPECT_EQ(out, kMark + "\nName=\xC3\xA4\nn=1\n");
}

TEST(PreferenceFile, EmptyFileIsWrittenWithoutMark) {
  ScratchFolder dir;
  std::string out = rewrite(dir, "", 1, [](PreferenceFile& f) { f.writeInteger("about", 1); });
  EXPECT_EQ(out, "about=1\n");
}

TEST(PreferenceFile, ReadingAloneNeverRewrites) {
  ScratchFolder dir;
  std::string path = dir.file("s.ini");
  std::string original = "a=1\r\n\r\n\xE4=2\n";
  writeBytes(path, original);
  struct stat before, after;
  ASSERT_EQ(stat(path.c_str(), &before), 0);
  {
    PreferenceFile f;
    ASSERT_TRUE(f.open(path, 0));
    EXPECT_EQ(f.readInteger("a", 0), 1);
  }  // the destructor closes
  ASSERT_EQ(stat(path.c_str(), &after), 0);
  EXPECT_EQ(before.st_ino, after.st_ino);
  EXPECT_EQ(readBytes(path), original);
}

TEST(PreferenceFile, LineBreaksInWrittenTextsCannotAddEntries) {
  ScratchFolder dir;
  std::string out = rewrite(dir, "", 1, [](PreferenceFile& f) {
    f.writeText("CodeEditorPath", "/odd\nLanguage=2\r");
    f.addComment("two\nlines");
  });
  EXPECT_EQ(out, "CodeEditorPath=/odd Language=2 \n; two lines\n");
  PreferenceFile f;
  ASSERT_TRUE(f.open(dir.file("s.ini"), 0));
  EXPECT_EQ(f.readInteger("Language", -1), -1);
}

TEST(PreferenceFile, MissingFileIsCreatedOnlyWhenSomethingIsWritten) {
  ScratchFolder dir;
  PreferenceFile f;
  EXPECT_FALSE(f.open(dir.file("none.ini"), 1));
  EXPECT_EQ(f.readInteger("a", 4), 4);
  EXPECT_EQ(f.close(), PrefWriteBack::Unchanged);
  EXPECT_FALSE(std::filesystem::exists(dir.file("none.ini")));

  EXPECT_FALSE(f.open(dir.file("none.ini"), 1));
  f.writeInteger("a", 4);
  EXPECT_EQ(f.close(), PrefWriteBack::Written);
  EXPECT_EQ(readBytes(dir.file("none.ini")), kMark + "\na=4\n");
}

TEST(PreferenceFile, OpeningAnotherFileWritesBackTheFirst) {
  ScratchFolder dir;
  writeBytes(dir.file("one.ini"), "a=1\n");
  writeBytes(dir.file("two.ini"), "b=1\n");
  PreferenceFile f;
  ASSERT_TRUE(f.open(dir.file("one.ini"), 1));
  f.writeInteger("a", 2);
  ASSERT_TRUE(f.open(dir.file("two.ini"), 1));
  EXPECT_EQ(readBytes(dir.file("one.ini")), kMark + "\na=2\n");
  EXPECT_EQ(f.readInteger("b", 0), 1);
  EXPECT_EQ(f.readInteger("a", 0), 0);
}

TEST(PreferenceFile, ReadOnlyFileIsLeftUntouched) {
  if (!permissionsBindUs()) GTEST_SKIP() << "root can open a 0444 file for writing";
  ScratchFolder dir;
  std::string path = dir.file("s.ini");
  writeBytes(path, "a=1\n\n");
  ASSERT_EQ(chmod(path.c_str(), 0444), 0);
  PreferenceFile f;
  ASSERT_TRUE(f.open(path, 1));
  EXPECT_TRUE(f.isReadOnly());
  EXPECT_EQ(f.readInteger("a", 0), 1);
  f.writeInteger("a", 2);
  EXPECT_EQ(f.close(), PrefWriteBack::ReadOnly);
  EXPECT_EQ(readBytes(path), "a=1\n\n");
}

TEST(PreferenceFile, UnopenableExistingFileIsNeverReplaced) {
  if (!permissionsBindUs()) GTEST_SKIP() << "root can open a 0000 file";
  ScratchFolder dir;
  std::string path = dir.file("s.ini");
  writeBytes(path, "secret=1\n");
  ASSERT_EQ(chmod(path.c_str(), 0), 0);
  PreferenceFile f;
  EXPECT_FALSE(f.open(path, 1));
  f.writeInteger("a", 2);
  EXPECT_EQ(f.close(), PrefWriteBack::Failed);
  chmod(path.c_str(), 0644);
  EXPECT_EQ(readBytes(path), "secret=1\n");
}

TEST(PreferenceFile, FilesThatAreNoSettingsTextAreNeverRewritten) {
  ScratchFolder dir;
  // Too large to be read whole: every read gives its default, and a write must
  // not replace the unknown content with the few keys written.
  std::string big = dir.file("big.ini");
  writeBytes(big, "a=1\n");
  ASSERT_EQ(truncate(big.c_str(), static_cast<off_t>(kPrefMaxFileBytes) + 1), 0);
  PreferenceFile f;
  ASSERT_TRUE(f.open(big, 1));
  EXPECT_EQ(f.readInteger("a", 7), 7);
  f.writeInteger("a", 2);
  EXPECT_EQ(f.close(), PrefWriteBack::ReadOnly);
  EXPECT_EQ(std::filesystem::file_size(big), kPrefMaxFileBytes + 1);
  // A fifo in the file's place must neither block the open nor be replaced.
  std::string fifo = dir.file("fifo.ini");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
  ASSERT_TRUE(f.open(fifo, 1));
  f.writeInteger("a", 2);
  EXPECT_EQ(f.close(), PrefWriteBack::ReadOnly);
  EXPECT_FALSE(f.create(fifo, 1));  // a save that starts a new file refuses it too
  EXPECT_TRUE(std::filesystem::is_fifo(fifo));
}

TEST(PreferenceFile, RewriteGoesThroughSymbolicLinkAndKeepsMode) {
  ScratchFolder dir;
  std::filesystem::create_directory(dir.file("real"));
  std::string target = dir.file("real/s.ini");
  writeBytes(target, "a=1\n");
  ASSERT_EQ(chmod(target.c_str(), 0604), 0);
  std::string link = dir.file("s.ini");
  ASSERT_EQ(symlink("real/s.ini", link.c_str()), 0);
  PreferenceFile f;
  ASSERT_TRUE(f.open(link, 1));
  f.writeInteger("a", 2);
  EXPECT_EQ(f.close(), PrefWriteBack::Written);
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(readBytes(target), kMark + "\na=2\n");
  EXPECT_EQ(permissionBits(target), 0604u);
}

TEST(PreferenceFile, FailedWriteBackIsReported) {
  ScratchFolder dir;
  std::filesystem::create_directory(dir.file("sub"));
  std::string path = dir.file("sub/s.ini");
  writeBytes(path, "a=1\n");
  PreferenceFile f;
  ASSERT_TRUE(f.open(path, 1));
  f.writeInteger("a", 2);
  std::filesystem::remove_all(dir.file("sub"));  // nowhere left to put the new file
  EXPECT_EQ(f.close(), PrefWriteBack::Failed);
}
