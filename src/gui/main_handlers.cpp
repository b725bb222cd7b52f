// Handlers of the main window's events: closing, layout, the node toggle, the
// index tree, the tool buttons, the history box, drops and the keyboard shortcuts.
#include <gtk/gtk.h>

#include "core/app/error_report.h"
#include "core/app/window_title.h"
#include "core/codeview/history.h"
#include "gui/code_view.h"
#include "gui/index_view.h"
#include "gui/language_switch.h"
#include "gui/main_window.h"
#include "gui/match_list.h"
#include "gui/message_box.h"
#include "gui/present_entry.h"
#include "gui/search.h"
#include "gui/viewer.h"

namespace {

void onQuit(Viewer& v, const Event&) { v.app.quitRequested = 1; }

void onEscape(Viewer& v, const Event& e) {
  if (!matchListKey(v.matches, MatchListKey::Escape)) onQuit(v, e);
}

void onSize(Viewer& v, const Event&) { layoutMainWindow(v, true); }

void onSplitter(Viewer& v, const Event&) { layoutMainWindow(v, false); }

void onNodeToggle(Viewer& v, const Event&) { expandAll(v.index, nodeTogglePressed(v.main)); }

void onAdminButton(Viewer& v, const Event&) {
#ifdef VL_ADMIN_MODE
  popupMenu(v.main.adminMenu, v.main.gadget[AdminButton]);
#endif
}

void onInfoButton(Viewer& v, const Event&) { popupMenu(v.main.infoMenu, v.main.gadget[Main_Info]); }

void onIndexTree(Viewer& v, const Event& e) {
  VL_TRACE();
  int row = selectedRow(v.index);
  switch (e.type) {
    case kTypeLeftDoubleClick:
      if (row >= 0) toggleRow(v.index, row);
      break;
    case kTypeLeftClick:
    case kTypeChange:
      if (row >= 0)
        presentEntry(v, EntryRequest{e.type == kTypeLeftClick ? EntryCause::LeftClick : EntryCause::Selection, row});
      break;
    case kTypeDragStart:
      startEntryDrag(v.index, v.app);
      break;
    case kTypeRightClick:
      if (row >= 0) popupEntryMenu(v, false);
      break;
    default:
      break;
  }
}

void onQuickcopy(Viewer& v, const Event&) {
  std::string text = codeText(v.code);
  if (text.empty()) return;
  copyToClipboard(text);
  flashCodeView(v.code, v.app);
}

void onHistory(Viewer& v, const Event&) {
  int row = 0;
  GtkWidget* box = v.main.gadget[Main_CbHistory];
  if (!historyRowAt(v.app.historyList, gtk_combo_box_get_active(GTK_COMBO_BOX(box)), &row)) return;
  presentEntry(v, EntryRequest{EntryCause::HistoryChoice, row});
}

void onHelp(Viewer& v, const Event&) {
  if (v.app.index.helpEntryIndex == 0) {
    messageBox(kAppTitle, messageText(v, "#Msg_NoHelpFile"));
    return;
  }
  expandRow(v.index, 1);
  selectRow(v.index, v.app.index.helpEntryIndex);
  v.events.queue.post(Event{kEventGadget, kWinMain, IndexTree, kTypeChange});
}

void onF1(Viewer& v, const Event&) { v.events.queue.post(Event{kEventGadget, kWinMain, Main_Help, kTypeLeftClick}); }

void onF5(Viewer& v, const Event&) { toggleWrap(v.code); }

// Back and forward go over everything shown in this session.
void retrace(Viewer& v, bool forward) {
  Visit to;
  if (forward ? stepForward(&v.app.visits, &to) : stepBack(&v.app.visits, &to)) presentEntry(v, retraceRequest(to));
}

void onBack(Viewer& v, const Event&) { retrace(v, false); }
void onForward(Viewer& v, const Event&) { retrace(v, true); }
void onFocusFind(Viewer& v, const Event&) { focusFindField(v.main); }
// Down walks into an open match list; without one it leaves the field for the tree.
void onDownInFind(Viewer& v, const Event&) {
  if (!matchListKey(v.matches, MatchListKey::Down)) focusSelectedRow(v.index);
}

void onZoomKey(Viewer& v, const Event& e) {
  int step = e.object == kKeyZoomReset ? 3 : v.app.zoomStep + (e.object == kKeyZoomIn ? 1 : -1);
  setCodeZoom(v.code, v.app, step);
}

void onEntryMenuKey(Viewer& v, const Event&) {
  if (selectedRow(v.index) >= 0) popupEntryMenu(v, true);
}

// "Show" acts as a click on the entry pointed at.
void onEntryShow(Viewer& v, const Event&) {
  int row = selectedRow(v.index);
  if (row >= 0) presentEntry(v, EntryRequest{EntryCause::LeftClick, row});
}

void onDrop(Viewer& v, const Event&) {
  EntryRequest request{EntryCause::Drop};
  request.dropped = v.code.droppedFiles;
  presentEntry(v, request);
}

const HandlerEntry kMainHandlers[] = {
    {kWinMain, kEventCloseWindow, kAnyObject, onQuit},
    {kWinMain, kEventSizeWindow, kAnyObject, onSize},
    {kWinMain, kEventGadget, Main_NodeToggle, onNodeToggle},
    {kWinMain, kEventGadget, AdminButton, onAdminButton},
    {kWinMain, kEventGadget, Main_Info, onInfoButton},
    {kWinMain, kEventGadget, MainSplitter, onSplitter},
    {kWinMain, kEventGadget, IndexTree, onIndexTree},
    {kWinMain, kEventGadget, Main_Quickcopy, onQuickcopy},
    {kWinMain, kEventGadget, Main_CbHistory, onHistory},
    {kWinMain, kEventGadget, Main_Help, onHelp},
    {kWinMain, kEventGadget, Main_FindNext, onFindNext},
    {kWinMain, kEventGadget, Main_Find, onFindFieldChanged},
    {kWinMain, kEventGadgetDrop, CodeView, onDrop},
    {kWinMain, kEventMenu, kKeyEscape, onEscape},
    {kWinMain, kEventMenu, kKeyReturn, onReturnKey},
    {kWinMain, kEventMenu, kKeyF1, onF1},
    {kWinMain, kEventMenu, kKeyF3, onFindNext},
    {kWinMain, kEventMenu, kKeyF5, onF5},
    // The keys the viewer added, and the index entries' context menu.
    {kWinMain, kEventMenu, kKeyBack, onBack},
    {kWinMain, kEventMenu, kKeyForward, onForward},
    {kWinMain, kEventMenu, kKeyFocusFind, onFocusFind},
    {kWinMain, kEventMenu, kKeyDownInFind, onDownInFind},
    {kWinMain, kEventMenu, kKeyZoomIn, onZoomKey},
    {kWinMain, kEventMenu, kKeyZoomOut, onZoomKey},
    {kWinMain, kEventMenu, kKeyZoomReset, onZoomKey},
    {kWinMain, kEventMenu, kKeyEntryMenu, onEntryMenuKey},
    {kWinMain, kEventMenu, kMenuEntryShow, onEntryShow},
    {kWinMain, kEventMenu, kMenuEntryCopyCode, onQuickcopy},
};

}  // namespace

HandlerTable mainWindowHandlers() { return handlerTable(kMainHandlers); }
