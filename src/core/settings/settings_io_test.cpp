#include "core/settings/settings_io.h"

#include <sys/stat.h>

#include <filesystem>
#include <vector>

#include <gtest/gtest.h>

#include "core/settings/test_files.h"

namespace {

const std::string kMark = "\xEF\xBB\xBF";

struct FontCall {
  std::string name;
  int size;
};

// A font loader that records its calls and accepts only the fonts it is given.
struct FakeFonts {
  std::vector<std::string> loadable{"Monospace"};
  std::vector<FontCall> calls;
  FontLoader loader() {
    return [this](const std::string& name, int size) {
      calls.push_back({name, size});
      for (const std::string& n : loadable) {
        if (n == name) return true;
      }
      return false;
    };
  }
};

SettingsStore loadFrom(const ScratchFolder& dir, const std::string& ini, int w = 1920, int h = 1080,
                       FakeFonts* fonts = nullptr) {
  writeBytes(dir.file(kSettingsFileName), ini);
  SettingsStore s = defaultSettings(dir.path());
  FakeFonts own;
  EXPECT_TRUE(loadSettings(&s, dir.file(kSettingsFileName), w, h, (fonts ? fonts : &own)->loader()));
  return s;
}

}  // namespace

TEST(SettingsLoad, NoFileLeavesEverythingAsItWas) {
  ScratchFolder dir;
  SettingsStore s = defaultSettings(dir.path());
  s.splitter = 200;
  FakeFonts fonts;
  EXPECT_FALSE(loadSettings(&s, dir.file(kSettingsFileName), 1920, 1080, fonts.loader()));
  EXPECT_EQ(s.libPath, dir.path());
  EXPECT_EQ(s.splitter, 200);
  // A folder of that name is no settings file either.
  std::filesystem::create_directory(dir.file(kSettingsFileName));
  EXPECT_FALSE(loadSettings(&s, dir.file(kSettingsFileName), 1920, 1080, fonts.loader()));
  EXPECT_TRUE(fonts.calls.empty());
}

// Every key's name is checked by the exact new-file layout and the round trip below.
TEST(SettingsLoad, LoadDefaultsDifferForLibraryPathAndSplitter) {
  ScratchFolder dir;
  writeBytes(dir.file(kSettingsFileName), "db-path=/lib/VL.xml\nCodeEditorPath= /usr/bin/ed \n");
  SettingsStore s = defaultSettings(dir.path());
  s.splitter = 200;
  ASSERT_TRUE(loadSettings(&s, dir.file(kSettingsFileName), 0, 0, nullptr));
  EXPECT_EQ(s.dbPath, "/lib/VL.xml");
  EXPECT_EQ(s.libPath, "");  // a file without "Lib-path" means the program folder, stored as empty
  EXPECT_EQ(s.splitter, 345);
  EXPECT_EQ(s.codeEditorPath, "/usr/bin/ed");
  EXPECT_EQ(s.language, 0);  // the other keys keep their current values
}

TEST(SettingsLoad, LimitsSizesAndPositions) {
  ScratchFolder dir;
  SettingsStore s = loadFrom(dir, "FontSize=3\nWinWidth=5000\nWinHight=5000\nWinX=-5\nWinY=-5\n");
  EXPECT_EQ(s.fontSize, 6);
  EXPECT_EQ(s.winWidth, 1870);
  EXPECT_EQ(s.winHight, 1030);
  EXPECT_EQ(s.winX, 0);
  EXPECT_EQ(s.winY, -5);  // only x is corrected

  s = loadFrom(dir, "FontSize=40\nWinX=-1\nWinWidth=5000\nWinHight=5000\n", 0, -1);
  EXPECT_EQ(s.fontSize, 24);
  EXPECT_EQ(s.winX, -1);
  EXPECT_EQ(s.winWidth, 5000);  // unknown screen size: no limit
  EXPECT_EQ(s.winHight, 5000);
}

TEST(SettingsLoad, FontIsCheckedOnlyWhenChangedAndFallsBack) {
  ScratchFolder dir;
  FakeFonts fonts;
  fonts.loadable.push_back("Hack");
  SettingsStore s = loadFrom(dir, "FontName=Monospace\nFontSize=10\n", 1920, 1080, &fonts);
  EXPECT_TRUE(fonts.calls.empty());

  s = loadFrom(dir, "FontName=Hack\nFontSize=30\n", 1920, 1080, &fonts);
  ASSERT_EQ(fonts.calls.size(), 1u);
  EXPECT_EQ(fonts.calls[0].name, "Hack");
  EXPECT_EQ(fonts.calls[0].size, 24);  // checked after the size limit
  EXPECT_EQ(s.fontName, "Hack");

  fonts.calls.clear();
  s = loadFrom(dir, "FontName=NoSuchFont\nFontSize=12\n", 1920, 1080, &fonts);
  ASSERT_EQ(fonts.calls.size(), 2u);
  EXPECT_EQ(fonts.calls[1].name, "Monospace");
  EXPECT_EQ(fonts.calls[1].size, 10);
  EXPECT_EQ(s.fontName, "Monospace");
  EXPECT_EQ(s.fontSize, 10);
}

TEST(SettingsLoad, LeavesTheFileUntouched) {
  ScratchFolder dir;
  std::string original = "Language=1\r\n\r\n";
  loadFrom(dir, original);
  EXPECT_EQ(readBytes(dir.file(kSettingsFileName)), original);
}

TEST(SettingsSave, NewFileLayout) {
  ScratchFolder dir;
  SettingsStore s = defaultSettings("/prog/");
  s.dbPath = "/lib/";
  s.libPath = "/lib/";
  s.fontName = "Hack";
  s.saveWinSetting = 1;
  WindowGeometry w{11, 22, 1000, 700, 300};
  ASSERT_TRUE(saveSettings(s, dir.file(kSettingsFileName), &w));
  EXPECT_EQ(readBytes(dir.file(kSettingsFileName)),
            kMark +
                "\n; Viewer\ndb-path=/lib/VL-LinuxAPI-Toc.xml\nLib-path=/lib/\nabout=0\n"
                "; User settings\nLanguage=0\nSearchHint=0\nSearchMode=0\nCodeMarks=0\n"
                "FontName=Hack\nFontSize=10\nSavePaths=1\nSourceInTitle=1\nSaveWinSetting=1\n"
                "DyeingNews=1\nCodeEditorPath=\n; App settings\nWinX=11\nWinY=22\nWinWidth=1000\n"
                "WinHight=700\nSplitter=300\n");
}

TEST(SettingsSave, ExistingFileIsUpdatedInPlaceWithoutNewComments) {
  ScratchFolder dir;
  std::string path = dir.file(kSettingsFileName);
  writeBytes(path, kMark + "\n; mine\nlanguage=1\nUnknown=keep\n\n[Later]\nWinX=5\n");
  SettingsStore s = defaultSettings("/prog/");
  s.language = 2;
  s.about = 1;
  s.savePaths = 0;  // with about 1: the paths are not written
  ASSERT_TRUE(saveSettings(s, path, nullptr));
  EXPECT_EQ(readBytes(path), kMark +
                                 "\n; mine\nLanguage=2\nUnknown=keep\nabout=1\nSearchHint=0\nSearchMode=0\n"
                                 "CodeMarks=0\nFontName=Monospace\nFontSize=10\nSavePaths=0\nSourceInTitle=1\n"
                                 "SaveWinSetting=0\nDyeingNews=1\nCodeEditorPath=\n[Later]\nWinX=5\n");
}

TEST(SettingsSave, PathsAreStoredOnlyWhenWantedOrBeforeTheFirstAbout) {
  ScratchFolder dir;
  std::string path = dir.file(kSettingsFileName);
  SettingsStore s = defaultSettings("/prog/");
  s.dbPath = "/old/";
  s.libPath = "/oldlib/";
  ASSERT_TRUE(saveSettings(s, path, nullptr));

  SettingsStore changed = s;
  changed.dbPath = "/new/";
  changed.libPath = "/newlib/";
  changed.savePaths = 0;
  changed.about = 1;
  ASSERT_TRUE(saveSettings(changed, path, nullptr));
  SettingsStore back = defaultSettings("/prog/");
  ASSERT_TRUE(loadSettings(&back, path, 0, 0, nullptr));
  EXPECT_EQ(back.dbPath, "/old/VL-LinuxAPI-Toc.xml");
  EXPECT_EQ(back.libPath, "/oldlib/");

  changed.about = 0;  // the about dialog not shown yet: paths always go in
  ASSERT_TRUE(saveSettings(changed, path, nullptr));
  ASSERT_TRUE(loadSettings(&back, path, 0, 0, nullptr));
  EXPECT_EQ(back.dbPath, "/new/VL-LinuxAPI-Toc.xml");
  EXPECT_EQ(back.libPath, "/newlib/");
}

TEST(SettingsSave, WindowKeysOnlyWithTheSettingAndALiveWindow) {
  ScratchFolder dir;
  std::string path = dir.file(kSettingsFileName);
  writeBytes(path, "WinX=5\nWinWidth=640\n");
  SettingsStore s = defaultSettings("/prog/");
  WindowGeometry w{100, 100, 1000, 800, 400};
  ASSERT_TRUE(saveSettings(s, path, &w));  // SaveWinSetting 0
  s.saveWinSetting = 1;
  ASSERT_TRUE(saveSettings(s, path, nullptr));  // no main window yet
  SettingsStore back = defaultSettings("/prog/");
  ASSERT_TRUE(loadSettings(&back, path, 0, 0, nullptr));
  EXPECT_EQ(back.winX, 5);
  EXPECT_EQ(back.winWidth, 640);
  EXPECT_EQ(back.splitter, 345);

  ASSERT_TRUE(saveSettings(s, path, &w));
  ASSERT_TRUE(loadSettings(&back, path, 0, 0, nullptr));
  EXPECT_EQ(back.winX, 100);
  EXPECT_EQ(back.winWidth, 1000);
  EXPECT_EQ(back.winHight, 800);
  EXPECT_EQ(back.splitter, 400);
  EXPECT_EQ(s.winWidth, 800);  // the live values are written, the store keeps its own
}

TEST(SettingsSave, SavedValuesLoadBack) {
  ScratchFolder dir;
  std::string path = dir.file(kSettingsFileName);
  SettingsStore s = defaultSettings("/prog/");
  s.dbPath = "/lib/ä/";
  s.databaseFileName = "Other.xml";
  s.libPath = "/lib/ä/";
  s.language = 1;
  s.searchHint = 2;
  s.searchMode = 1;
  s.codeMarks = 2;
  s.fontSize = 14;
  s.sourceInTitle = 0;
  s.dyeingNews = 0;
  s.codeEditorPath = "/usr/bin/my editor";
  ASSERT_TRUE(saveSettings(s, path, nullptr));
  SettingsStore back = defaultSettings("/prog/");
  ASSERT_TRUE(loadSettings(&back, path, 0, 0, nullptr));
  EXPECT_EQ(back.dbPath, "/lib/ä/Other.xml");
  EXPECT_EQ(back.libPath, s.libPath);
  EXPECT_EQ(back.language, 1);
  EXPECT_EQ(back.searchHint, 2);
  EXPECT_EQ(back.searchMode, 1);
  EXPECT_EQ(back.codeMarks, 2);
  EXPECT_EQ(back.fontSize, 14);
  EXPECT_EQ(back.sourceInTitle, 0);
  EXPECT_EQ(back.dyeingNews, 0);
  EXPECT_EQ(back.codeEditorPath, "/usr/bin/my editor");
}

TEST(SettingsSave, RememberedKeysAppearOnlyOnceTheyHoldSomething) {
  ScratchFolder dir;
  std::string path = dir.file(kSettingsFileName);
  SettingsStore s = defaultSettings("/prog/");
  ASSERT_TRUE(saveSettings(s, path, nullptr));
  const std::string written = readBytes(path);  // the layout NewFileLayout checks
  ASSERT_TRUE(saveSettings(s, path, nullptr));
  EXPECT_EQ(readBytes(path), written);

  s.historyFiles = "/G/A.vl|/G/B.vl";
  s.lastEntry = "/G/B.vl";
  s.zoomStep = 5;
  ASSERT_TRUE(saveSettings(s, path, nullptr));
  EXPECT_EQ(readBytes(path), written + "HistoryFiles=/G/A.vl|/G/B.vl\nLastEntry=/G/B.vl\nZoomStep=5\n");
  s.zoomStep = 3;  // back at the default, a key the file holds is still written
  ASSERT_TRUE(saveSettings(s, path, nullptr));
  EXPECT_NE(readBytes(path).find("ZoomStep=3\n"), std::string::npos);
}

TEST(SettingsSave, FailuresAreReportedAndReadOnlyFileIsLeftAlone) {
  ScratchFolder dir;
  SettingsStore s = defaultSettings("/prog/");
  EXPECT_FALSE(saveSettings(s, dir.file("missing/") + kSettingsFileName, nullptr));
  EXPECT_FALSE(std::filesystem::exists(dir.file("missing")));
  if (!permissionsBindUs()) GTEST_SKIP() << "root can write a 0444 file";
  std::string path = dir.file(kSettingsFileName);
  writeBytes(path, "Language=1\n");
  ASSERT_EQ(chmod(path.c_str(), 0444), 0);
  EXPECT_FALSE(saveSettings(s, path, nullptr));  // the user hears of it; the file stays
  EXPECT_EQ(readBytes(path), "Language=1\n");
}

TEST(SettingsSave, PerUserFolderIsMadeByTheFirstSaveAndNotLeftByAFailedOne) {
  ScratchFolder dir;
  SettingsStore s = defaultSettings("/prog/");
  s.language = 2;
  const std::string path = dir.file("config/vlapi-viewer/") + kSettingsFileName;
  ASSERT_TRUE(saveSettings(s, path, nullptr, true));
  SettingsStore back = defaultSettings("/prog/");
  ASSERT_TRUE(loadSettings(&back, path, 0, 0, nullptr));
  EXPECT_EQ(back.language, 2);
  // A file name the file system refuses: the folders made for it go again.
  EXPECT_FALSE(saveSettings(s, dir.file("new/sub/") + std::string(300, 'x'), nullptr, true));
  EXPECT_FALSE(std::filesystem::exists(dir.file("new")));
}

TEST(DatabaseChoice, SettlesFromTheStoredPath) {
  ScratchFolder dir;
  writeBytes(dir.file("My.xml"), "<x/>");
  SettingsStore s = defaultSettings(dir.path());
  s.dbPath = dir.file("My.xml");
  EXPECT_EQ(settleDatabasePath(&s, true), DatabaseChoice::Ready);
  EXPECT_EQ(s.databaseFilePath, dir.file("My.xml"));
  EXPECT_EQ(s.databaseFileName, "My.xml");
  EXPECT_EQ(s.dbPath, dir.path());

  s = defaultSettings(dir.path());  // a folder: the default file name is looked for there
  EXPECT_EQ(settleDatabasePath(&s, true), DatabaseChoice::ReadyAndSave);
  EXPECT_EQ(s.databaseFilePath, dir.path() + "VL-LinuxAPI-Toc.xml");

  std::string bare = dir.path().substr(0, dir.path().size() - 1);  // folder written without "/"
  s.dbPath = bare;
  EXPECT_EQ(settleDatabasePath(&s, true), DatabaseChoice::ReadyAndSave);
  EXPECT_EQ(s.databaseFilePath, bare + "/VL-LinuxAPI-Toc.xml");
  EXPECT_EQ(s.dbPath, bare + "/");

  s.dbPath = dir.file("gone.xml");
  EXPECT_EQ(settleDatabasePath(&s, true), DatabaseChoice::Ask);
  s.dbPath = "";
  EXPECT_EQ(settleDatabasePath(&s, true), DatabaseChoice::Ask);
  s.dbPath = dir.file("My.xml");
  EXPECT_EQ(settleDatabasePath(&s, false), DatabaseChoice::Ask);  // first start
}

TEST(DatabaseChoice, ChosenFileIsTakenAndCancelKeepsTheStoredPath) {
  SettingsStore s = defaultSettings("/prog/");
  s.dbPath = "/media/stick/";
  EXPECT_FALSE(takeChosenDatabase(&s, ""));
  EXPECT_EQ(s.dbPath, "/media/stick/");
  EXPECT_EQ(s.databaseFileName, "VL-LinuxAPI-Toc.xml");
  EXPECT_EQ(s.databaseFilePath, "");
  EXPECT_TRUE(takeChosenDatabase(&s, "/home/u/api/Other.xml"));
  EXPECT_EQ(s.dbPath, "/home/u/api/");
  EXPECT_EQ(s.databaseFileName, "Other.xml");
  EXPECT_EQ(s.databaseFilePath, "/home/u/api/Other.xml");
}

TEST(DatabaseChoice, FileWithoutDbPathLooksInTheProgramFolderAndStoresTheFullPath) {
  ScratchFolder dir;
  std::string path = dir.file(kSettingsFileName);
  writeBytes(path, kMark + "\nabout=1\nSavePaths=1\n");
  SettingsStore s = defaultSettings(dir.path());
  ASSERT_TRUE(loadSettings(&s, path, 0, 0, nullptr));
  ASSERT_EQ(settleDatabasePath(&s, true), DatabaseChoice::ReadyAndSave);
  ASSERT_TRUE(saveSettings(s, path, nullptr));
  SettingsStore back = defaultSettings("/elsewhere/");
  ASSERT_TRUE(loadSettings(&back, path, 0, 0, nullptr));
  EXPECT_EQ(back.dbPath, dir.path() + "VL-LinuxAPI-Toc.xml");
}
