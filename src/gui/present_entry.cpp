#include "gui/present_entry.h"

#include "core/app/error_report.h"
#include "core/app/window_title.h"
#include "core/codeview/history.h"
#include "gui/language_switch.h"
#include "gui/message_box.h"
#include "gui/viewer.h"

namespace {

// True when the code view shows what the view asked for.
bool applyCode(Viewer& v, const EntryView& view) {
  switch (view.code) {
    case CodeAction::LoadEntry:
      return loadCodeFile(v.code, v.app, view.codePath, false);
    case CodeAction::LoadDropped:
      return loadCodeFile(v.code, v.app, view.codePath, true);
    case CodeAction::Clear:
      clearCode(v.code);
      return true;
    case CodeAction::Keep:
      return true;
  }
  return true;
}

void applyInfo(Viewer& v, const EntryView& view) {
  const AppState& app = v.app;
  if (view.info == InfoFields::ShowFile) {
    showFileInfo(v.info, view.codePath, app.sourceIsUtf8, app.exeIsUnicode);
    showSourceFormatLabels(v.main, app.sourceIsUtf8, app.exeIsUnicode, app.subsystemKind);
  } else if (view.info == InfoFields::Clear) {
    clearFileInfo(v.info);
  }
}

void applySelection(Viewer& v, const EntryView& view) {
  if (view.select != kKeepSelection) selectRow(v.index, view.select);
  if (view.description) setDescription(v.code, *view.description);
}

}  // namespace

void presentEntry(Viewer& v, const EntryRequest& request) {
  VL_TRACE();
  EntryView view = decideEntryView(v.app, request);
  if (!view.refusal.empty()) {
    messageBox(kAppTitle, messageText(v, "#Msg_FileType", {view.refusedType}));
    return;
  }
  if (view.title) setMainTitle(v.main, *view.title);
  // The description stands before a slow load or its message; a drop's only after it.
  if (!view.onlyIfRead) applySelection(v, view);
  bool read = applyCode(v, view);
  noteEntryView(&v.app, view, read || !view.onlyIfRead);
  if (view.onlyIfRead && !read) return;
  if (view.onlyIfRead) applySelection(v, view);
  if (view.mark != DescriptionMark::Keep)
    markDescription(v.code, view.mark == DescriptionMark::ByLoad && !read ? v.app.alertColor : kNoColor);
  applyInfo(v, view);
  if (view.recordHistory || view.clearHistory)
    setHistoryItems(v.main, v.events, historyItems(v.app.historyList, v.app.index));
}

void rebuildIndexInPlace(Viewer& v) {
  rebuildIndex(v.index, v.app);
  setNodeToggle(v.main, v.events, true);
  // The history box shows the titles as the index does.
  setHistoryItems(v.main, v.events, historyItems(v.app.historyList, v.app.index));
  presentEntry(v, EntryRequest{EntryCause::LanguageSwitch, selectedRow(v.index)});
}
