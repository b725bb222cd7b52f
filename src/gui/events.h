// The event record, the queue of the main loop and the rows of the dispatch
// tables. Every user action, and the events the program posts to itself, arrive
// here as numbers: kind, window, object, type.
#pragma once

#include <cstddef>
#include <deque>

enum EventKind { kEventMenu = 1, kEventCloseWindow = 2, kEventGadget = 3, kEventSizeWindow = 6, kEventGadgetDrop = 11 };

// Clicks count when the button is released inside the gadget.
enum EventType {
  kTypeLeftClick,
  kTypeRightClick,
  kTypeLeftDoubleClick,
  kTypeRightDoubleClick,
  kTypeChange = 768,
  kTypeDragStart = 2048
};

enum WindowNo { kWinMain = 0, kWinSettings = 1, kWinDbInfo = 2, kWinUpdate = 3, kWindowCount = 4 };

// Gadget numbers shared by all windows.
enum GadgetNo {
  Main_NodeToggle = 0,
  AdminButton = 1,
  LabelSrc = 2,
  LabelExe = 3,
  LabelSub = 4,
  Main_FindNext = 5,
  Main_Find = 6,
  Main_Setting = 7,
  Main_Help = 8,
  Main_Info = 9,
  MainSplitter = 10,
  IndexTree = 11,
  RightPane = 12,
  Main_EdDescript = 13,
  CodeView = 14,
  Main_Quickcopy = 15,
  Main_CbHistory = 16,
  // settings window
  Cnf_LabelDB = 17,
  Cnf_DbShow,
  Cnf_DbChoose,
  Cnf_LabelLib,
  Cnf_LibShow,
  Cnf_LibChoose,
  Cnf_Paths2Pref,
  Cnf_Apply,
  Cnf_Frame1,
  Cnf_LangLabel,
  Cnf_Language,
  Cnf_LangFont,
  Cnf_Fontname,
  Cnf_FontSize,
  Cnf_FontChoose,
  Cnf_LabelSearch,
  Cnf_SearchMode,
  Cnf_LabelHint,
  Cnf_SearchFailHint,
  Cnf_LabelTitle,
  Cnf_FileNameLen,
  Cnf_LabelMark,
  Cnf_CodeMarking,
  Cnf_DyeNews,
  Cnf_WinData2Pref,
  Cnf_Frame2,
  Cnf_Cancel,
  Cnf_OkSave,  // = 44
  // database information window
  DbA_LabelDb = 45,
  DbA_Db,
  DbA_LabelCont,
  DbA_Cont,
  DbA_LabelLib,
  DbA_Lib,
  DbA_LabelFile,
  DbA_File,
  DbA_LabelSrcForm,
  DbA_SrcForm,
  DbA_LabelExeForm,
  DbA_ExeForm,
  DbA_LabelTop,
  DbA_Top,
  DbA_LabelEnt,
  DbA_Ent,
  DbA_Frame1,
  DbA_Frame2,
  DbA_ToDb,
  DbA_CopyFile,  // = 64
  // update window
  Upt_LabelAppGtk2 = 65,
  Upt_LabelAppGtk3,
  Upt_LabelXml,
  Upt_AnswerGtk2,
  Upt_AnswerGtk3,
  Upt_AnswerXml,
  kGadgetCount = 71,
};

// Menu event numbers: admin menu 1..7, info menu 9..12, keyboard shortcuts 13..22;
// then the shortcuts and index menu items the viewer added (the mouse's back and
// forward buttons post the numbers of Alt+Left and Alt+Right).
enum MenuNo {
  kMenuExportWebPage = 1,
  kMenuPostingAll = 2,
  kMenuPostingNews = 3,
  kMenuFileList = 4,
  kMenuDuplicates = 5,
  kMenuEditHelp = 6,
  kMenuCopyCodePath = 7,
  kMenuAboutApp = 9,
  kMenuAboutDb = 10,
  kMenuIsUpdate = 11,
  kMenuOpenCode = 12,
  kKeyReturn = 13,
  kKeyEscape = 14,
  kKeyF1 = 15,
  kKeyF3 = 16,
  kKeyF5 = 17,
  kKeyF6 = 18,
  kKeyAltG = 19,
  kKeyAltE = 20,
  kKeyAltD = 21,
  kKeyAltF = 22,
  kKeyBack = 23,       // Alt+Left
  kKeyForward = 24,    // Alt+Right
  kKeyFocusFind = 25,  // Ctrl+F, Ctrl+L
  kKeyZoomIn = 26,     // Ctrl+plus
  kKeyZoomOut = 27,    // Ctrl+minus
  kKeyZoomReset = 28,  // Ctrl+0
  kKeyDownInFind = 29,
  kKeyEntryMenu = 30,  // the Menu key on the index
  kMenuEntryShow = 31,
  kMenuEntryCopyCode = 32,
  kMenuEntryCopyPath = 33,
  kMenuEntryEdit = 34,
  kMenuEntryOpen = 35,
  kMenuEntryShowFolder = 36,
  kMenuNoCount = 37,
};

// `object` is a GadgetNo for gadget and drop events, a MenuNo for menu events and 0
// otherwise.
struct Event {
  EventKind kind = kEventMenu;
  WindowNo window = kWinMain;
  int object = 0;
  EventType type = kTypeLeftClick;
};

// First in, first out. Events the program posts to itself queue behind the ones
// already waiting, so they are handled in the order they happened.
class EventQueue {
 public:
  void post(const Event& e) { queue_.push_back(e); }
  bool empty() const { return queue_.empty(); }
  size_t size() const { return queue_.size(); }
  bool take(Event* e) {
    if (queue_.empty()) return false;
    *e = queue_.front();
    queue_.pop_front();
    return true;
  }
  void clear() { queue_.clear(); }

 private:
  std::deque<Event> queue_;
};

// Where the windows' signals go. While the program itself changes widgets the
// signals those changes raise are no user action, so they are not posted.
struct EventSink {
  EventQueue queue;
  bool suppressed = false;

  void post(EventKind kind, WindowNo window, int object, EventType type = kTypeLeftClick) {
    if (!suppressed) queue.post(Event{kind, window, object, type});
  }
};

// Suppresses the sink's events for one scope, restoring the state it found.
class SuppressEvents {
 public:
  explicit SuppressEvents(EventSink& sink) : sink_(sink), was_(sink.suppressed) { sink.suppressed = true; }
  ~SuppressEvents() { sink_.suppressed = was_; }
  SuppressEvents(const SuppressEvents&) = delete;
  SuppressEvents& operator=(const SuppressEvents&) = delete;

 private:
  EventSink& sink_;
  bool was_;
};

struct Viewer;
using EventHandler = void (*)(Viewer& v, const Event& e);

inline constexpr int kAnyObject = -1;

// One row of a dispatch table.
struct HandlerEntry {
  WindowNo window;
  EventKind kind;
  int object;  // kAnyObject matches every object
  EventHandler handler;
};

// Each component hands the loop one table of its rows.
struct HandlerTable {
  const HandlerEntry* entries;
  size_t count;
};

template <size_t N>
constexpr HandlerTable handlerTable(const HandlerEntry (&rows)[N]) {
  return {rows, N};
}
