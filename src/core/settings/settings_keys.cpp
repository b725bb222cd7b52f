// The settings key table in file order, and the conversions between a key's value
// and the text the file and the settings window show.
#include "core/settings/settings_keys.h"

#include <algorithm>

#include "core/app/paths.h"
#include "core/settings/preference_file.h"

namespace {

using S = SettingsStore;
using B = SettingBlock;
using G = SettingGadget;

// X11 window coordinates and sizes are 16-bit.
constexpr int kMaxCoordinate = 32767;

// A choice among `count` items (or a 0/1 switch) shown by a gadget.
constexpr SettingKey choice(const char* key, int S::*number, int defaultNumber, int count, B block, const char* gadget,
                            G kind) {
  return {.key = key,
          .number = number,
          .defaultNumber = defaultNumber,
          .max = count - 1,
          .block = block,
          .gadget = gadget,
          .gadgetKind = kind};
}

constexpr SettingKey text(const char* key, std::string S::*text, const char* defaultText, const char* gadget) {
  return {.key = key,
          .text = text,
          .defaultText = defaultText,
          .gadget = gadget,
          .gadgetKind = gadget ? G::TextField : G::None};
}

constexpr SettingKey window(const char* key, int S::*number, int WindowGeometry::*live, int defaultNumber, int min,
                            int belowMin) {
  return {.key = key,
          .number = number,
          .live = live,
          .defaultNumber = defaultNumber,
          .min = min,
          .max = kMaxCoordinate,
          .belowMin = belowMin,
          .block = B::Window};
}

}  // namespace

const SettingKey kSettingKeys[kSettingKeyCount] = {
    // In the file the database file itself; in memory after the start-up its folder.
    {.key = "db-path",
     .text = &S::dbPath,
     .programFolderAtStart = true,
     .joinsDatabaseFile = true,
     .block = B::Paths,
     .gadget = "Cnf_DbShow",
     .gadgetKind = G::TextField},
    // Empty means the program folder, so a file without the key reads as empty.
    {.key = "Lib-path",
     .text = &S::libPath,
     .programFolderAtStart = true,
     .whenMissing = WhenMissing::TakesDefault,
     .block = B::Paths,
     .gadget = "Cnf_LibShow",
     .gadgetKind = G::TextField},
    choice("about", &S::about, 0, 2, B::About, nullptr, G::None),
    choice("Language", &S::language, 0, 3, B::User, "Cnf_Language", G::LanguageBox),
    choice("SearchHint", &S::searchHint, 0, 3, B::User, "Cnf_SearchFailHint", G::ComboBox),
    choice("SearchMode", &S::searchMode, 0, 4, B::User, "Cnf_SearchMode", G::ComboBox),
    choice("CodeMarks", &S::codeMarks, 0, 3, B::User, "Cnf_CodeMarking", G::ComboBox),
    text("FontName", &S::fontName, "Monospace", "Cnf_Fontname"),
    {.key = "FontSize",
     .number = &S::fontSize,
     .defaultNumber = 10,
     .min = 6,
     .max = 24,
     .belowMin = 6,
     .gadget = "Cnf_FontSize",
     .gadgetKind = G::TextField},
    choice("SavePaths", &S::savePaths, 1, 2, B::User, "Cnf_Paths2Pref", G::CheckBox),
    choice("SourceInTitle", &S::sourceInTitle, 1, 3, B::User, "Cnf_FileNameLen", G::ComboBox),
    choice("SaveWinSetting", &S::saveWinSetting, 0, 2, B::User, "Cnf_WinData2Pref", G::CheckBox),
    choice("DyeingNews", &S::dyeingNews, 1, 2, B::User, "Cnf_DyeNews", G::CheckBox),
    text("CodeEditorPath", &S::codeEditorPath, "", nullptr),
    // -1 is "no stored position"; a window further left is put at the left edge.
    window("WinX", &S::winX, &WindowGeometry::x, -1, -1, 0),
    window("WinY", &S::winY, &WindowGeometry::y, -1, -kMaxCoordinate - 1, -kMaxCoordinate - 1),
    // The main window's own minimum size.
    window("WinWidth", &S::winWidth, &WindowGeometry::width, 800, 640, 640),
    window("WinHight", &S::winHight, &WindowGeometry::height, 600, 400, 400),
    {.key = "Splitter",
     .number = &S::splitter,
     .live = &WindowGeometry::splitter,
     .defaultNumber = 345,
     .max = kMaxCoordinate,
     .whenMissing = WhenMissing::TakesDefault,
     .block = B::Window},
    {.key = "HistoryFiles", .text = &S::historyFiles, .whenMissing = WhenMissing::TakesDefault, .block = B::Session},
    {.key = "LastEntry", .text = &S::lastEntry, .whenMissing = WhenMissing::TakesDefault, .block = B::Session},
    // The index into the zoom factors 0.8 to 1.6; 3 is the font's own size.
    {.key = "ZoomStep",
     .number = &S::zoomStep,
     .defaultNumber = 3,
     .max = 7,
     .whenMissing = WhenMissing::TakesDefault,
     .block = B::Session},
};

int clampSetting(const SettingKey& k, int value) { return value < k.min ? k.belowMin : std::min(value, k.max); }

std::string settingText(const SettingsStore& s, const SettingKey& k) {
  if (k.number) return std::to_string(s.*k.number);
  return k.joinsDatabaseFile ? s.*k.text + s.databaseFileName : s.*k.text;
}

void takeSettingText(SettingsStore* s, const SettingKey& k, std::string_view text) {
  if (k.number) {
    if (std::optional<int> n = parseLeadingInteger(text)) s->*k.number = *n;
  } else {
    s->*k.text = k.joinsDatabaseFile ? folderPart(text) : std::string(text);
  }
}
