// The right pane of the main window: the description view above the code view.
// Loads code files, applies the highlighter's marks and link labels, zooms, and
// turns dropped files into drop events.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <gtk/gtk.h>

#include "core/app/app_state.h"
#include "core/codeview/code_marks.h"
#include "gui/events.h"

struct Viewer;

// A topic link in the code view: a placeholder character until its line first
// comes near the visible part of the view, then an anchor that holds its label.
// A big file has tens of thousands: a link is kept small, its target in the pane's
// one string of them all.
struct CodeLink {
  GtkTextChildAnchor* anchor = nullptr;  // referenced while listed; null while a placeholder
  int offset = 0;                        // of the anchor character
  int targetFrom = 0;                    // in CodePane::linkTargets
  int targetBytes = 0;
  bool shown = false;
};

// Spans [first, end) of CodeMarking::spans.
struct SpanRange {
  size_t first = 0;
  size_t end = 0;
};

// The marks of the shown file and where they stand in the buffer. The visible part
// gets its marks with the text, the lines around it follow in short idle steps. A
// file with more marks than the view keeps at once has them on the lines around the
// visible part only: they follow the view as it moves, and those it leaves far
// behind are taken off again.
struct CodeMarking {
  std::vector<TagSpan> spans;      // sorted by start; dropped once all are applied
  std::vector<SpanRange> applied;  // the spans whose tags are in the buffer; sorted, apart
  SpanRange window;                // the spans to have applied: all, or those around the view
  guint idle = 0;                  // the pending step's source
};

struct CodePane {
  EventSink* events = nullptr;
  Viewer* viewer = nullptr;  // a link label's target is looked up and shown the moment it is activated
  GtkWidget* description = nullptr;
  GtkWidget* descriptionScroller = nullptr;
  GtkWidget* code = nullptr;
  GtkWidget* codeScroller = nullptr;
  PangoTabArray* tabArray = nullptr;
  std::vector<CodeLink> codeLinks;  // in text order
  std::string linkTargets;          // the links' targets, one after the other
  std::vector<size_t> labelled;     // the links that have a label: those near the view
  CodeMarking marking;
  guint followIdle = 0;      // marks and labels for the view's new place, due before the next drawing
  std::string droppedFiles;  // file names of the last drop, one a line
};

struct Viewer;

// Builds the two views in their scrolled windows; the main window places them.
void createCodeView(Viewer& v);
void destroyCodeView(CodePane& view);

// Loads a code file into the code view. external false: `path` is an entry's code
// path below "Lib-path"; true: the dropped file names, one a line. False when the
// file could not be read (reported as the missing-file rule says).
bool loadCodeFile(CodePane& view, AppState& app, const std::string& path, bool external);
void clearCode(CodePane& view);
std::string codeText(const CodePane& view);

// Shows the text coloured by "CodeMarks", topic link lines turned into labels: the
// visible part at once, the rest in idle steps of a few milliseconds each.
void showMarkedCode(CodePane& pane, const AppState& app, ShownCode code);
// True while marks of the shown file are still to be applied, or to be taken off.
bool codeMarksPending(const CodePane& view);

void setDescription(CodePane& view, const std::string& text);
// The description's background: the alert colour, or the default with kNoColor.
void markDescription(CodePane& view, Color c);

// The code font by the settings, without a zoom factor.
void setCodeFont(CodePane& view, const std::string& name, int size);
// Ctrl + mouse wheel zoom of the code font.
void applyCodeZoom(CodePane& view, const AppState& app, int step);
// Makes `step` (held to the zoom table) the zoom step and applies it when it is new.
void setCodeZoom(CodePane& view, AppState& app, int step);

// The code view's confirming flash after a copy.
void flashCodeView(CodePane& view, const AppState& app);
void toggleWrap(CodePane& view);

// The rest of the link's line after its marker: the topic it leads to.
std::string_view linkTarget(const CodePane& view, const CodeLink& link);
// The tooltip of the link label at x, y of the code view: where the link leads, or ""
// outside labels and for links that lead to no entry.
std::string linkTooltipAt(const CodePane& view, int x, int y);

// Files dropped on the code view (names joined by line feeds) become a drop event.
void receiveDroppedFiles(CodePane& view, const std::string& names);

GtkWidget* codeViewGadget(const CodePane& view, int no);
