// What the main window shows for an entry, decided in one place whatever asked for
// it: a selected row, a history choice, a drop, a language switch, a settings
// change or a database reload. The GTK layer applies the decision as it is.
#pragma once

#include <optional>
#include <string>

#include "core/app/app_state.h"

enum class EntryCause { Selection, LeftClick, HistoryChoice, Drop, LanguageSwitch, SettingsChange, Reload };

struct EntryRequest {
  explicit EntryRequest(EntryCause c, int r = -1) : cause(c), row(r) {}

  EntryCause cause;
  int row;                    // the selected row, or the row of the chosen history item
  std::string dropped;        // Drop: the file names, one a line
  bool marksChanged = false;  // SettingsChange: "CodeMarks" changed
  bool titleChanged = false;  // SettingsChange: "SourceInTitle" changed
  bool retracing = false;     // back or forward: the row is selected, the trail stays as it is
};

enum class CodeAction { Keep, LoadEntry, LoadDropped, Clear };
enum class DescriptionMark { Keep, ByLoad, Clear };  // ByLoad: alert colour when the code could not be read
enum class InfoFields { Keep, ShowFile, Clear };     // the information window's file and format fields

inline constexpr int kKeepSelection = -2;

struct EntryView {
  std::string refusal;      // a dropped file of another type: shown, and nothing else changes
  std::string refusedType;  // its extension, for the message in the current language
  std::optional<std::string> title;
  CodeAction code = CodeAction::Keep;
  std::string codePath;         // the entry's code path, or the dropped file names
  bool onlyIfRead = false;      // the rest applies only when the code file could be read
  int select = kKeepSelection;  // -1 clears the selection
  std::optional<std::string> description;
  DescriptionMark mark = DescriptionMark::Keep;
  InfoFields info = InfoFields::Keep;
  bool recordHistory = false;  // `select`'s row, or request.row, goes to the front
  int historyRow = -1;
  bool clearHistory = false;
  std::optional<Visit> visit;  // recorded on the back/forward trail once shown
};

EntryView decideEntryView(const AppState& app, const EntryRequest& request);

// The state behind the view: the shown code path, the dropped files, the history.
// `shown` is false when a drop could not be read: the trail does not keep it.
void noteEntryView(AppState* app, const EntryView& view, bool shown = true);

// The code path of the entry shown now, or of the last one before it that has a
// code file; the stored "LastEntry" when nothing with a code file was shown.
std::string lastShownCodePath(const AppState& app);

// What shows a visit of the trail again.
EntryRequest retraceRequest(const Visit& visit);

// The description of an entry in the topic language: German for 0, English for 1,
// else French.
std::string_view descriptionFor(const TopicNode& node, int language);

// The file the code view loaded for the shown entry: "Lib-path" + its code path
// without the leading "/". Every command on "the shown file" uses this one path.
std::string shownCodeFullPath(const AppState& app);
