#include "core/app/entry_view.h"

#include "core/app/paths.h"
#include "core/app/window_title.h"
#include "core/codeview/code_file.h"
#include "core/codeview/history.h"

namespace {

constexpr char kDroppedDescription[] = "Extern file ...";

const TopicNode* nodeAt(const AppState& app, int row) {
  if (row < 0 || static_cast<size_t>(row) >= app.index.rowCount()) return nullptr;
  return &app.index.topic(row);
}

// Themes and the root show their own text; entries their description.
std::string rowDescription(const AppState& app, int row) {
  const TopicNode& node = app.index.topic(row);
  return std::string(app.index.level(row) >= 2 ? descriptionFor(node, app.languageBox) : node.text);
}

std::string dropTitle(const std::string& names) { return std::string(kAppTitle) + " ~ " + filePart(firstLine(names)); }

std::string entryTitle(const AppState& app, const std::string& codePath) {
  return windowTitleFor(codePath, app.settings.sourceInTitle, app.settings.dbPath);
}

// The entry's code is loaded unless the view shows it already.
void loadEntryCode(const AppState& app, const std::string& file, EntryView* view) {
  if (file == app.currentCodePath && app.droppedCode.empty()) return;
  view->code = CodeAction::LoadEntry;
  view->codePath = file;
  view->title = entryTitle(app, file);
  view->mark = DescriptionMark::ByLoad;
  view->info = InfoFields::ShowFile;
}

EntryView forRow(const AppState& app, const EntryRequest& r) {
  EntryView view;
  const TopicNode* node = nodeAt(app, r.row);
  if (!node) return view;
  view.visit = Visit{r.row, {}};
  view.description = rowDescription(app, r.row);
  if (node->file.empty()) {
    view.code = CodeAction::Clear;
    view.title = kAppTitle;
    view.info = InfoFields::Clear;
    return view;
  }
  loadEntryCode(app, std::string(node->file), &view);
  // A click on the entry already shown records it; keyboard selections do not.
  view.recordHistory = r.cause == EntryCause::LeftClick;
  view.historyRow = r.row;
  return view;
}

EntryView forHistory(const AppState& app, const EntryRequest& r) {
  EntryView view;
  const TopicNode* node = nodeAt(app, r.row);
  if (!node) return view;
  view.select = r.row;
  view.visit = Visit{r.row, {}};
  view.description = descriptionFor(*node, app.languageBox);
  if (!node->file.empty()) loadEntryCode(app, std::string(node->file), &view);
  return view;
}

EntryView forDrop(const EntryRequest& r) {
  EntryView view;
  std::string ext = codeFileExtension(firstLine(r.dropped));
  if (!extensionAccepted(ext)) {
    view.refusal = unsupportedFileTypeMessage(ext);
    view.refusedType = ext;
    return view;
  }
  view.title = dropTitle(r.dropped);
  view.code = CodeAction::LoadDropped;
  view.codePath = r.dropped;
  view.onlyIfRead = true;
  view.description = kDroppedDescription;
  view.select = -1;
  view.visit = Visit{-1, r.dropped};
  return view;
}

// The selected entry's description follows the topic language at once.
EntryView forLanguage(const AppState& app, const EntryRequest& r) {
  EntryView view;
  if (nodeAt(app, r.row)) view.description = rowDescription(app, r.row);
  return view;
}

// New settings keep what is shown: a dropped file stays the dropped file.
EntryView forSettings(const AppState& app, const EntryRequest& r) {
  EntryView view;
  bool dropped = !app.droppedCode.empty();
  if (r.marksChanged && (dropped || !app.currentCodePath.empty())) {
    view.code = dropped ? CodeAction::LoadDropped : CodeAction::LoadEntry;
    view.codePath = dropped ? app.droppedCode : app.currentCodePath;
  }
  if (r.titleChanged && dropped) view.title = dropTitle(app.droppedCode);
  if (r.titleChanged && !dropped && !app.currentCodePath.empty()) view.title = entryTitle(app, app.currentCodePath);
  return view;
}

// Row numbers lose their meaning with a new database: nothing stays shown.
EntryView forReload() {
  EntryView view;
  view.code = CodeAction::Clear;
  view.title = kAppTitle;
  view.description = "";
  view.mark = DescriptionMark::Clear;
  view.info = InfoFields::Clear;
  view.clearHistory = true;
  return view;
}

EntryView decideByCause(const AppState& app, const EntryRequest& request) {
  switch (request.cause) {
    case EntryCause::Selection:
    case EntryCause::LeftClick:
      return forRow(app, request);
    case EntryCause::HistoryChoice:
      return forHistory(app, request);
    case EntryCause::Drop:
      return forDrop(request);
    case EntryCause::LanguageSwitch:
      return forLanguage(app, request);
    case EntryCause::SettingsChange:
      return forSettings(app, request);
    case EntryCause::Reload:
      return forReload();
  }
  return EntryView();
}

}  // namespace

// Going back or forward shows a row as a selection does, without a history record.
EntryView decideEntryView(const AppState& app, const EntryRequest& request) {
  EntryView view = decideByCause(app, request);
  if (request.retracing) {
    view.visit.reset();
    view.recordHistory = false;
    if (request.cause == EntryCause::Selection && view.description) view.select = request.row;
  }
  return view;
}

EntryRequest retraceRequest(const Visit& visit) {
  EntryRequest request{visit.dropped.empty() ? EntryCause::Selection : EntryCause::Drop, visit.row};
  request.dropped = visit.dropped;
  request.retracing = true;
  return request;
}

std::string lastShownCodePath(const AppState& app) {
  const VisitTrail& trail = app.visits;
  for (size_t i = trail.visits.empty() ? 0 : trail.current + 1; i-- > 0;) {
    const TopicNode* node = trail.visits[i].dropped.empty() ? nodeAt(app, trail.visits[i].row) : nullptr;
    if (node && !node->file.empty()) return std::string(node->file);
  }
  return app.settings.lastEntry;
}

void noteEntryView(AppState* app, const EntryView& view, bool shown) {
  switch (view.code) {
    case CodeAction::LoadEntry:
      app->currentCodePath = view.codePath;
      app->droppedCode.clear();
      break;
    case CodeAction::LoadDropped:
      app->droppedCode = view.codePath;
      break;
    case CodeAction::Clear:
      app->currentCodePath.clear();
      app->droppedCode.clear();
      break;
    case CodeAction::Keep:
      break;
  }
  if (view.clearHistory) {
    app->historyList.clear();
    clearVisits(&app->visits);
  }
  if (view.visit && shown) recordVisit(&app->visits, *view.visit);
  if (view.recordHistory) addToHistory(&app->historyList, view.historyRow);
}

std::string_view descriptionFor(const TopicNode& node, int language) {
  if (language == 0) return node.descriptDe;
  if (language == 1) return node.descriptEn;
  return node.descriptFr;
}

std::string shownCodeFullPath(const AppState& app) {
  return joinLibraryPath(app.settings.libPath, app.currentCodePath);
}
