#include "gui/code_view.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <future>
#include <limits>
#include <vector>

#include "core/app/error_report.h"
#include "core/app/paths.h"
#include "core/app/topic_link.h"
#include "core/app/window_title.h"
#include "core/codeview/code_file.h"
#include "core/codeview/highlighter.h"
#include "core/codeview/process.h"
#include "core/text/fresh_memory.h"
#include "gui/accessible_names.h"
#include "gui/language_switch.h"
#include "gui/message_box.h"
#include "gui/viewer.h"
#include "gui/widgets.h"

namespace {

GtkTextBuffer* bufferOf(GtkWidget* view) { return gtk_text_view_get_buffer(GTK_TEXT_VIEW(view)); }

// Shows what was drawn so far and handles pending input, without running the
// view's background layout pass, which goes on by itself after the load.
void refresh(GtkWidget* view) {
  gtk_widget_queue_draw(view);
  while (gdk_events_pending()) {
    GdkEvent* event = gdk_event_get();
    if (!event) break;
    gtk_main_do_event(event);
    gdk_event_free(event);
  }
  gdk_window_process_all_updates();
}

void createTags(GtkTextBuffer* buffer) {
  GtkTextTagTable* table = gtk_text_buffer_get_tag_table(buffer);
  if (gtk_text_tag_table_lookup(table, "Disable")) return;
  gtk_text_buffer_create_tag(buffer, "BlueBold", "weight", 700, "foreground", "#0000DC", nullptr);
  gtk_text_buffer_create_tag(buffer, "FBold", "weight", 700, nullptr);
  gtk_text_buffer_create_tag(buffer, "Constant", "weight", 400, "foreground", "#007F00", nullptr);
  gtk_text_buffer_create_tag(buffer, "Function", "weight", 700, "foreground", "#0074A2", nullptr);
  gtk_text_buffer_create_tag(buffer, "FuncCall", "weight", 400, "foreground", "#0074A2", nullptr);
  gtk_text_buffer_create_tag(buffer, "Literal", "weight", 400, "foreground", "#FF0000", nullptr);
  gtk_text_buffer_create_tag(buffer, "Disable", "foreground", "#808080", nullptr);
}

// A link leads to the entry it names, shown as a selection in the tree would show
// it. A target that names no entry goes to the desktop as the toolkit's own handling
// would send it, but a desktop that cannot show it is no fault worth a warning.
gboolean onActivateLink(GtkLabel* label, gchar* uri, gpointer data) {
  Viewer& v = *static_cast<Viewer*>(data);
  int row = findLinkTarget(v.app.index, uri, v.app.languageBox);
  if (row >= 0) {
    selectRow(v.index, row);
    v.events.queue.post(Event{kEventGadget, kWinMain, IndexTree, kTypeChange});
    return TRUE;
  }
  GError* error = nullptr;
  gtk_show_uri(gtk_widget_get_screen(GTK_WIDGET(label)), uri, gtk_get_current_event_time(), &error);
  if (error) g_error_free(error);
  return TRUE;
}

void forgetLinks(CodePane& view) {
  for (CodeLink& link : view.codeLinks)
    if (link.anchor) g_object_unref(link.anchor);
  view.codeLinks.clear();
  view.linkTargets.clear();
  view.labelled.clear();
}

// The labels are the view's children, which do not inherit its font: each takes the
// code font with its zoom from the view.
void followCodeFont(GtkWidget* label, GtkWidget* code) {
  gtk_widget_modify_font(label, pango_context_get_font_description(gtk_widget_get_pango_context(code)));
}

// The label's data that holds its tooltip.
constexpr const char* kLinkTooltip = "link-tooltip";

// Where the link leads is looked up as its label is made, so a long file pays only
// for the links that come into view.
GtkWidget* linkLabel(const CodePane& g, const CodeLink& link) {
  const AppState& app = g.viewer->app;
  const std::string target(linkTarget(g, link));
  int row = findLinkTarget(app.index, target, app.languageBox);
  const std::string tooltip = row < 0 ? std::string() : "\u2192 " + std::string(app.index.row(row).text);
  gchar* markup = g_markup_printf_escaped("<a href=\"%s\">%s</a>", target.c_str(), target.c_str());
  GtkWidget* label = gtk_label_new(nullptr);
  gtk_label_set_markup(GTK_LABEL(label), markup);
  gtk_label_set_use_markup(GTK_LABEL(label), TRUE);
  g_free(markup);
  followCodeFont(label, g.code);
  g_signal_connect(label, "activate-link", G_CALLBACK(onActivateLink), g.viewer);
  nameLinkLabel(label, target);
  // Screen readers get where the link leads, which the view shows as its tooltip.
  if (!tooltip.empty()) {
    atk_object_set_description(gtk_widget_get_accessible(label), tooltip.c_str());
    g_object_set_data_full(G_OBJECT(label), kLinkTooltip, g_strdup(tooltip.c_str()), g_free);
  }
  return label;
}

GtkWidget* shownLabel(const CodeLink& link) {
  GList* widgets = link.shown ? gtk_text_child_anchor_get_widgets(link.anchor) : nullptr;
  GtkWidget* label = widgets ? GTK_WIDGET(widgets->data) : nullptr;
  g_list_free(widgets);
  return label;
}

// The toolkit finds no tooltip for a widget inside a text view, so the view answers
// for its link labels.
gboolean onCodeTooltip(GtkWidget*, gint x, gint y, gboolean, GtkTooltip* tooltip, gpointer data) {
  std::string text = linkTooltipAt(*static_cast<CodePane*>(data), x, y);
  if (text.empty()) return FALSE;
  gtk_tooltip_set_text(tooltip, text.c_str());
  return TRUE;
}

void zoomLinkLabels(CodePane& g) {
  for (size_t i : g.labelled)
    if (GtkWidget* label = shownLabel(g.codeLinks[i])) followCodeFont(label, g.code);
}

void anchorLink(GtkTextBuffer* buffer, CodeLink& link);

// The first line in view; *rect is the visible part.
GtkTextIter topVisibleLine(GtkTextView* view, GdkRectangle* rect) {
  gtk_text_view_get_visible_rect(view, rect);
  GtkTextIter top;
  gtk_text_view_get_line_at_y(view, &top, rect->y, nullptr);
  return top;
}

// The offset of the first line in view.
int visibleTop(GtkTextView* view) {
  GdkRectangle rect;
  GtkTextIter top = topVisibleLine(view, &rect);
  return gtk_text_iter_get_offset(&top);
}

// The lines near the visible part: a screen and more in both directions. Lines the
// view has not measured yet count as zero high, so the range is taken in lines from
// the top visible line, at no less than 8 pixels a line.
CharRange nearVisibleLines(GtkTextView* view) {
  GdkRectangle rect;
  GtkTextIter top = topVisibleLine(view, &rect);
  int lines = 2 * std::max(rect.height, 200) / 8;
  GtkTextIter bottom = top;
  gtk_text_iter_backward_lines(&top, lines);
  gtk_text_iter_forward_lines(&bottom, lines + 1);
  return CharRange{gtk_text_iter_get_offset(&top), gtk_text_iter_get_offset(&bottom)};
}

// The lines in view, and two more at either end. A new text's lines count at no
// less than 8 pixels each until the view has measured them.
CharRange inViewLines(GtkTextView* view) {
  GdkRectangle rect;
  GtkTextIter top = topVisibleLine(view, &rect);
  GtkTextIter bottom = top;
  gtk_text_iter_forward_lines(&bottom, std::max(rect.height, 200) / 8);
  GtkTextIter measured;
  gtk_text_view_get_line_at_y(view, &measured, rect.y + rect.height, nullptr);
  if (gtk_text_iter_compare(&measured, &bottom) < 0) bottom = measured;
  gtk_text_iter_backward_lines(&top, 2);
  gtk_text_iter_forward_lines(&bottom, 3);
  return CharRange{gtk_text_iter_get_offset(&top), gtk_text_iter_get_offset(&bottom)};
}

// Child widgets in a text view cost more the more there are, each with a window of
// its own: a label is made when its line comes into view, and taken away again
// once its line is far from it.
void showVisibleLinks(CodePane& g) {
  if (g.codeLinks.empty()) return;
  GtkTextView* view = GTK_TEXT_VIEW(g.code);
  const CharRange keep = nearVisibleLines(view);
  std::erase_if(g.labelled, [&](size_t i) {
    CodeLink& link = g.codeLinks[i];
    if (link.offset >= keep.start && link.offset <= keep.end) return false;
    if (GtkWidget* label = shownLabel(link)) gtk_container_remove(GTK_CONTAINER(g.code), label);
    link.shown = false;
    return true;
  });
  const CharRange near = inViewLines(view);
  auto it = std::lower_bound(g.codeLinks.begin(), g.codeLinks.end(), near.start,
                             [](const CodeLink& l, int offset) { return l.offset < offset; });
  for (; it != g.codeLinks.end() && it->offset <= near.end; ++it) {
    if (it->shown) continue;
    if (!it->anchor) anchorLink(gtk_text_view_get_buffer(view), *it);
    it->shown = true;
    g.labelled.push_back(static_cast<size_t>(it - g.codeLinks.begin()));
    GtkWidget* label = linkLabel(g, *it);
    gtk_text_view_add_child_at_anchor(view, label, it->anchor);
    gtk_widget_show(label);
  }
}

void markAhead(CodePane& g);

gboolean followViewStep(gpointer data) {
  CodePane& g = *static_cast<CodePane*>(data);
  g.followIdle = 0;
  markAhead(g);
  showVisibleLinks(g);
  return FALSE;
}

// The view moves and is sized while it lays out the lines it shows (Ctrl+End, a
// resize), and the toolkit aborts when the buffer changes then: the marks and
// labels for its new place go in right after, before the next drawing.
constexpr int kFollowPriority = GDK_PRIORITY_REDRAW - 1;
void followSoon(CodePane& g) {
  if (!g.followIdle) g.followIdle = g_idle_add_full(kFollowPriority, followViewStep, &g, nullptr);
}
void onCodeViewMoved(GtkWidget*, gpointer data) { followSoon(*static_cast<CodePane*>(data)); }
void onCodeViewAllocated(GtkWidget*, GtkAllocation*, gpointer data) { followSoon(*static_cast<CodePane*>(data)); }

using Clock = std::chrono::steady_clock;
// An idle step gives input and drawing their turn after this long, with room for
// the last span or anchor it started and for being preempted on a busy machine.
constexpr auto kMarkingStep = std::chrono::microseconds(4000);
// Steps run before the view lays out the lines they mark, and after input and drawing.
constexpr int kMarkingPriority = GDK_PRIORITY_REDRAW + 2;
// The marks the buffer holds at once. The toolkit keeps a few hundred bytes for each
// mark, several times what the marked text takes, so a longer file has its marks on
// the lines around the visible part only: some thousands of lines, far more than
// scrolling reaches between two idle steps.
constexpr size_t kMarksKept = 10000;

// Tags go on and off through one iterator that moves forward from span to span:
// looking each span up from the start of the buffer costs more than the tag itself.
struct TagCursor {
  GtkTextBuffer* buffer;
  GtkTextIter at;
  int offset;

  TagCursor(GtkTextBuffer* b, int start) : buffer(b), offset(start) {
    gtk_text_buffer_get_iter_at_offset(buffer, &at, start);
  }
  void set(GtkTextTag* tag, const TagSpan& span, bool on) {
    gtk_text_iter_forward_chars(&at, span.start - offset);
    offset = span.start;
    GtkTextIter end = at;
    gtk_text_iter_forward_chars(&end, span.end - span.start);
    if (on) {
      gtk_text_buffer_apply_tag(buffer, tag, &at, &end);
    } else {
      gtk_text_buffer_remove_tag(buffer, tag, &at, &end);
    }
  }
};

struct MarkTags {
  GtkTextTag* tags[kTagCount];
  explicit MarkTags(GtkTextBuffer* buffer) {
    GtkTextTagTable* table = gtk_text_buffer_get_tag_table(buffer);
    for (int t = 0; t < kTagCount; ++t) tags[t] = gtk_text_tag_table_lookup(table, tagName(TagId(t)));
  }
};

// Puts on (or takes off) the tags of spans [from, to) in text order until the
// deadline, reading the clock every few spans only; returns the first span not done.
// Spans of one tag never touch, so taking one off leaves the others of its tag.
size_t setSpans(const CodeMarking& m, GtkTextBuffer* buffer, size_t from, size_t to, bool on,
                Clock::time_point deadline) {
  if (from >= to) return from;
  MarkTags tags(buffer);
  TagCursor cursor(buffer, m.spans[from].start);
  for (int n = 1; from < to; ++n) {
    const TagSpan& span = m.spans[from++];
    cursor.set(tags.tags[int(span.tag)], span, on);
    if (n % 8 == 0 && Clock::now() >= deadline) break;
  }
  return from;
}

void addRange(std::vector<SpanRange>& ranges, SpanRange range) {
  if (range.first >= range.end) return;
  ranges.push_back(range);
  std::sort(ranges.begin(), ranges.end(), [](const SpanRange& a, const SpanRange& b) { return a.first < b.first; });
  size_t kept = 0;
  for (const SpanRange& r : ranges) {
    if (kept > 0 && r.first <= ranges[kept - 1].end) {
      ranges[kept - 1].end = std::max(ranges[kept - 1].end, r.end);
    } else {
      ranges[kept++] = r;
    }
  }
  ranges.resize(kept);
}

void removeRange(std::vector<SpanRange>& ranges, SpanRange range) {
  std::vector<SpanRange> left;
  for (const SpanRange& r : ranges) {
    if (r.end <= range.first || r.first >= range.end) {
      left.push_back(r);
      continue;
    }
    if (r.first < range.first) left.push_back(SpanRange{r.first, range.first});
    if (r.end > range.end) left.push_back(SpanRange{range.end, r.end});
  }
  ranges = std::move(left);
}

size_t firstSpanFrom(const CodeMarking& m, int offset) {
  auto startsBefore = [](const TagSpan& s, int at) { return s.start < at; };
  return static_cast<size_t>(std::lower_bound(m.spans.begin(), m.spans.end(), offset, startsBefore) - m.spans.begin());
}

// The same, kept within the window.
size_t windowSpanFrom(const CodeMarking& m, int offset) {
  return std::clamp(firstSpanFrom(m, offset), m.window.first, m.window.end);
}

// Applies the spans of [from, to) that have no tags yet, in text order, until the
// deadline. True when all of them have theirs.
bool applyBetween(CodeMarking& m, GtkTextBuffer* buffer, size_t from, size_t to, Clock::time_point deadline) {
  size_t at = from;
  bool stopped = false;
  for (const SpanRange& done : m.applied) {
    if (done.end <= at) continue;
    if (done.first >= to) break;
    size_t stop = std::min(done.first, to);
    at = setSpans(m, buffer, at, stop, true, deadline);
    if ((stopped = at < stop)) break;
    at = std::max(at, done.end);
  }
  if (!stopped && at < to) stopped = (at = setSpans(m, buffer, at, to, true, deadline)) < to;
  addRange(m.applied, SpanRange{from, std::min(at, to)});
  return !stopped;
}

// Takes the tags of the spans outside the window off again, until the deadline.
// True when none is left.
bool dropOutsideWindow(CodeMarking& m, GtkTextBuffer* buffer, Clock::time_point deadline) {
  while (!m.applied.empty()) {
    const SpanRange& r = m.applied.front().first < m.window.first ? m.applied.front() : m.applied.back();
    SpanRange outside = r.first < m.window.first ? SpanRange{r.first, std::min(r.end, m.window.first)}
                                                 : SpanRange{std::max(r.first, m.window.end), r.end};
    if (outside.first >= outside.end) return true;
    size_t at = setSpans(m, buffer, outside.first, outside.end, false, deadline);
    removeRange(m.applied, SpanRange{outside.first, at});
    if (at < outside.end) return false;
  }
  return true;
}

// The window of spans for a view whose first line starts at `top`: all of them
// when they are few, else a quarter behind that place and the rest ahead of it, so
// even lines dense with marks have them where the view shows them.
SpanRange windowAt(const CodeMarking& m, int top) {
  size_t count = m.spans.size();
  if (count <= kMarksKept) return SpanRange{0, count};
  size_t from = firstSpanFrom(m, top);
  size_t first = std::min(from - std::min(from, kMarksKept / 4), count - kMarksKept);
  return SpanRange{first, first + kMarksKept};
}

bool marksWaiting(const CodeMarking& m) { return !m.spans.empty(); }

// Every mark of the file is in the buffer: the spans are no longer needed.
bool allMarksApplied(const CodeMarking& m) {
  return m.spans.empty() || (m.applied.size() == 1 && m.applied[0].first == 0 && m.applied[0].end == m.spans.size());
}

gboolean markingStep(gpointer data);

// Moves the window along with the view, in steps of an eighth of it, so scrolling
// takes marks off only once it has gone some way.
void followView(CodePane& g, int top) {
  CodeMarking& m = g.marking;
  SpanRange window = windowAt(m, top);
  size_t moved = window.first > m.window.first ? window.first - m.window.first : m.window.first - window.first;
  if (moved < kMarksKept / 8 && m.window.end > m.window.first) return;
  m.window = window;
  if (!m.idle) m.idle = g_idle_add_full(kMarkingPriority, markingStep, &g, nullptr);
}

// The marks of the lines near the visible part go in at once, so a scrolled view
// shows its part marked; the window follows the view in idle steps.
void markAhead(CodePane& g) {
  CodeMarking& m = g.marking;
  if (!marksWaiting(m)) return;
  GtkTextView* view = GTK_TEXT_VIEW(g.code);
  const CharRange near = nearVisibleLines(view);
  const int top = visibleTop(view);
  followView(g, top);
  GtkTextBuffer* buffer = bufferOf(g.code);
  Clock::time_point deadline = Clock::now() + kMarkingStep;
  // The lines in view and below them first, then those above.
  if (applyBetween(m, buffer, windowSpanFrom(m, top), windowSpanFrom(m, near.end), deadline))
    applyBetween(m, buffer, windowSpanFrom(m, near.start), windowSpanFrom(m, top), deadline);
}

// Marks outside the window come off first; then the window is filled from the
// visible part on, and the part above it last.
gboolean markingStep(gpointer data) {
  CodePane& g = *static_cast<CodePane*>(data);
  CodeMarking& m = g.marking;
  GtkTextBuffer* buffer = bufferOf(g.code);
  Clock::time_point deadline = Clock::now() + kMarkingStep;
  size_t near = windowSpanFrom(m, visibleTop(GTK_TEXT_VIEW(g.code)));
  bool done = dropOutsideWindow(m, buffer, deadline) && applyBetween(m, buffer, near, m.window.end, deadline) &&
              applyBetween(m, buffer, m.window.first, near, deadline);
  showVisibleLinks(g);
  if (!done) return TRUE;
  m.idle = 0;  // the source ends with FALSE
  // A file whose marks all fit is done with them: the marks are freed.
  if (allMarksApplied(m)) m = CodeMarking();
  return FALSE;
}

// Lines of a screen and more: the view has not measured the new text yet, so the
// lines are counted at 8 pixels or more each.
int firstScreensLines(CodePane& g) {
  GdkRectangle rect;
  gtk_text_view_get_visible_rect(GTK_TEXT_VIEW(g.code), &rect);
  return 2 * std::max(rect.height, 200) / 8 + 1;
}

// The offset where the first screens of a new text end.
int endOfLines(GtkTextBuffer* buffer, int lines) {
  GtkTextIter iter;
  gtk_text_buffer_get_iter_at_line(buffer, &iter, lines);
  if (gtk_text_iter_get_line(&iter) < lines) gtk_text_buffer_get_end_iter(buffer, &iter);
  return gtk_text_iter_get_offset(&iter);
}

void beep(const char* arguments) { startProgram("beep", arguments, ""); }

void stopMarking(CodePane& view) {
  CodeMarking& m = view.marking;
  if (m.idle) g_source_remove(m.idle);
  m = CodeMarking();
  if (view.followIdle) g_source_remove(view.followIdle);
  view.followIdle = 0;
}

void setCodeText(CodePane& view, const std::string& text) {
  stopMarking(view);
  forgetLinks(view);
  gtk_text_buffer_set_text(bufferOf(view.code), text.c_str(), static_cast<gint>(text.size()));
}

constexpr std::string_view kPlaceholder = "\xEF\xBF\xBC";  // U+FFFC, where an anchor will go
// Pieces of text shorter than this are gathered before they go into the buffer:
// every insertion has a cost of its own, and a copy of the whole text would cost
// more in fresh memory.
constexpr size_t kInsertChunk = size_t{64} * 1024;

// The text goes in with a placeholder character in place of each link target, in
// pieces of whole lines, before any tag. An anchor is made from its placeholder
// when its line comes near the view: an anchor costs several times a character,
// and the toolkit's table of anchors, rebuilt whole each time it doubles, would
// stall a step for milliseconds in a file of tens of thousands of links. Once
// `textFree` says nothing else reads the text, the part already in the buffer is
// given back to the system, so a big file is not held twice at the end.
template <typename TextFree>
void setCodeTextWithPlaceholders(GtkTextBuffer* buffer, const ShownCode& code, TextFree textFree) {
  const std::string& text = code.text;
  std::string chunk;
  size_t inserted = 0;  // the text before this is in the buffer or the chunk
  // The text is given back a chunk at a time: huge-page steps held a megabyte more
  // of a big file at its peak, for no time gained.
  ReleasedBehind released{text.data(), kInsertChunk};
  auto flush = [&] {
    GtkTextIter end;
    gtk_text_buffer_get_end_iter(buffer, &end);
    gtk_text_buffer_insert(buffer, &end, chunk.data(), static_cast<gint>(chunk.size()));
    chunk.clear();
    if (textFree()) released.upTo(inserted);
  };
  // Pieces of the text (or a placeholder, outside it) in order; a long piece goes
  // in at line ends, which a later insertion cannot join to the next line.
  auto append = [&](std::string_view piece) {
    const bool ofText = piece.data() >= text.data() && piece.data() <= text.data() + text.size();
    auto done = [&](std::string_view part) {
      if (ofText) inserted = static_cast<size_t>(part.data() + part.size() - text.data());
    };
    while (chunk.size() + piece.size() > kInsertChunk) {
      size_t cut = wholeLinesPrefix(piece, kInsertChunk - chunk.size());
      if (cut == 0 && !chunk.empty()) {
        flush();
        continue;
      }
      if (cut == 0) cut = piece.size();  // no line end within reach: in one go
      chunk.append(piece.substr(0, cut));
      done(piece.substr(0, cut));
      flush();
      piece.remove_prefix(cut);
    }
    chunk.append(piece);
    done(piece);
  };
  std::string_view all = text;
  size_t from = 0;
  LinkTargetSearch search = linkTargetSearch(code);
  for (ByteRange target; nextLinkTarget(search, &target);) {
    append(all.substr(from, target.start - from));
    append(kPlaceholder);
    from = target.end;
  }
  append(all.substr(from));
  flush();
}

// Puts the link's anchor in place of its placeholder, with the marks the
// placeholder had.
void anchorLink(GtkTextBuffer* buffer, CodeLink& link) {
  GtkTextIter at, next;
  gtk_text_buffer_get_iter_at_offset(buffer, &at, link.offset);
  GSList* tags = gtk_text_iter_get_tags(&at);
  next = at;
  gtk_text_iter_forward_char(&next);
  gtk_text_buffer_delete(buffer, &at, &next);
  link.anchor = gtk_text_buffer_create_child_anchor(buffer, &at);
  g_object_ref(link.anchor);
  if (!tags) return;
  gtk_text_buffer_get_iter_at_offset(buffer, &at, link.offset);
  next = at;
  gtk_text_iter_forward_char(&next);
  for (GSList* t = tags; t; t = t->next) gtk_text_buffer_apply_tag(buffer, GTK_TEXT_TAG(t->data), &at, &next);
  g_slist_free(tags);
}

void reportMissingFile(CodePane& view, AppState& app, const std::string& asPassed) {
  clearCode(view);
  beep("-f 130.8 -l 100");
  if (app.missingFileWarningArmed == 1) {
    messageBox(kAppTitle, messageText(*view.viewer, "#Msg_MissingFile", {asPassed, app.settings.libPath}));
    app.missingFileWarningArmed = 0;
  } else {
    setCodeText(view, std::string(kMissingFileBanner));
  }
}

// Ctrl + mouse wheel zooms the code font; other scrolling scrolls.
gboolean onScroll(GtkWidget*, GdkEventScroll* event, gpointer data) {
  if (!(event->state & GDK_CONTROL_MASK)) return FALSE;
  Viewer& v = *static_cast<Viewer*>(data);
  int step = v.app.zoomStep;
  if (event->direction == GDK_SCROLL_DOWN) --step;
  if (event->direction == GDK_SCROLL_UP) ++step;
  setCodeZoom(v.code, v.app, step);
  return TRUE;
}

void onDragDataReceived(GtkWidget* widget, GdkDragContext* context, gint, gint, GtkSelectionData* data, guint,
                        guint time, gpointer user) {
  gchar** uris = gtk_selection_data_get_uris(data);
  std::string names;
  for (gchar** u = uris; u && *u; ++u) {
    gchar* name = g_filename_from_uri(*u, nullptr, nullptr);
    if (!name) continue;
    if (!names.empty()) names += '\n';
    names += name;
    g_free(name);
  }
  g_strfreev(uris);
  // The text view would otherwise try to handle the drop as text.
  g_signal_stop_emission_by_name(widget, "drag-data-received");
  gtk_drag_finish(context, !names.empty(), FALSE, time);
  if (!names.empty()) receiveDroppedFiles(*static_cast<CodePane*>(user), names);
}

// A read-only text view refuses every drop while the pointer moves over it; file
// lists are welcome here all the same.
gboolean onDragMotion(GtkWidget* widget, GdkDragContext* context, gint, gint, guint time, gpointer) {
  bool files = gtk_drag_dest_find_target(widget, context, nullptr) != GDK_NONE;
  gdk_drag_status(context, files ? GDK_ACTION_COPY : GdkDragAction(0), time);
  return TRUE;
}

// Ctrl+Home and Ctrl+End move the view to a page the toolkit reckons from the lines
// it has measured so far: early in a long file that is somewhere in its middle, and
// the view then stays there. The view is taken to that end's line instead, which
// stays in view however the lines before it are measured.
void onCodeMoveCursor(GtkTextView* view, GtkMovementStep step, gint count, gboolean, gpointer) {
  if (step != GTK_MOVEMENT_BUFFER_ENDS || count == 0) return;
  GtkTextBuffer* buffer = gtk_text_view_get_buffer(view);
  GtkTextIter end;
  if (count < 0) {
    gtk_text_buffer_get_start_iter(buffer, &end);
  } else {
    gtk_text_buffer_get_end_iter(buffer, &end);
  }
  GtkTextMark* mark = gtk_text_buffer_create_mark(buffer, nullptr, &end, FALSE);
  gtk_text_view_scroll_to_mark(view, mark, 0, TRUE, 0, count < 0 ? 0 : 1);
  gtk_text_buffer_delete_mark(buffer, mark);
}

// The drop's data is already asked for; the text view must not ask again.
gboolean onDragDrop(GtkWidget*, GdkDragContext*, gint, gint, guint, gpointer) { return TRUE; }

GtkWidget* newTextView(GtkWidget** scroller) {
  GtkWidget* view = gtk_text_view_new();
  gtk_text_view_set_editable(GTK_TEXT_VIEW(view), FALSE);
  gtk_text_view_set_left_margin(GTK_TEXT_VIEW(view), 4);
  gtk_text_view_set_right_margin(GTK_TEXT_VIEW(view), 4);
  *scroller = scrolledFrame(view);
  return view;
}

void styleCodeView(CodePane& view, const AppState& app) {
  GtkWidget* code = view.code;
  setCodeFont(view, app.settings.fontName, app.settings.fontSize);
  GdkColor black = toGdkColor(rgb(0, 0, 0));
  gtk_widget_modify_text(code, GTK_STATE_NORMAL, &black);
  setBackground(code, app.codeBackColor);
  gtk_text_view_set_wrap_mode(GTK_TEXT_VIEW(code), GTK_WRAP_NONE);
  gtk_text_view_set_cursor_visible(GTK_TEXT_VIEW(code), FALSE);
  gtk_widget_add_events(code, GDK_SCROLL_MASK);
  view.tabArray = pango_tab_array_new_with_positions(1, FALSE, PANGO_TAB_LEFT, 16384);
  gtk_text_view_set_tabs(GTK_TEXT_VIEW(code), view.tabArray);
  static const GtkTargetEntry uriTarget[] = {{const_cast<gchar*>("text/uri-list"), 0, 0}};
  gtk_drag_dest_set(code, GTK_DEST_DEFAULT_ALL, uriTarget, 1, GdkDragAction(GDK_ACTION_COPY | GDK_ACTION_MOVE));
}

void connectCodeSignals(Viewer& v) {
  CodePane& view = v.code;
  GtkWidget* code = view.code;
  g_signal_connect(code, "drag-motion", G_CALLBACK(onDragMotion), nullptr);
  g_signal_connect(code, "drag-drop", G_CALLBACK(onDragDrop), nullptr);
  g_signal_connect(code, "drag-data-received", G_CALLBACK(onDragDataReceived), &view);
  g_signal_connect(code, "scroll-event", G_CALLBACK(onScroll), &v);
  g_signal_connect_after(code, "move-cursor", G_CALLBACK(onCodeMoveCursor), nullptr);
  gtk_widget_set_has_tooltip(code, TRUE);
  g_signal_connect(code, "query-tooltip", G_CALLBACK(onCodeTooltip), &view);
  // Link labels are made as their lines come into view.
  GtkAdjustment* vadj = gtk_scrolled_window_get_vadjustment(GTK_SCROLLED_WINDOW(view.codeScroller));
  g_signal_connect(vadj, "value-changed", G_CALLBACK(onCodeViewMoved), &view);
  g_signal_connect(code, "size-allocate", G_CALLBACK(onCodeViewAllocated), &view);
}

}  // namespace

void createCodeView(Viewer& v) {
  CodePane& view = v.code;
  view.events = &v.events;
  view.viewer = &v;
  view.description = newTextView(&view.descriptionScroller);
  view.code = newTextView(&view.codeScroller);
  gtk_text_view_set_wrap_mode(GTK_TEXT_VIEW(view.description), GTK_WRAP_WORD);
  gtk_widget_set_tooltip_text(view.description, builtInTooltip(Main_EdDescript));
  styleCodeView(view, v.app);
  connectCodeSignals(v);
}

void destroyCodeView(CodePane& view) {
  stopMarking(view);
  forgetLinks(view);
  if (view.tabArray) pango_tab_array_free(view.tabArray);
  view.tabArray = nullptr;
}

void setDescription(CodePane& view, const std::string& text) {
  gtk_text_buffer_set_text(bufferOf(view.description), text.c_str(), static_cast<gint>(text.size()));
}

void markDescription(CodePane& view, Color c) { setBackground(view.description, c); }

void clearCode(CodePane& view) { setCodeText(view, ""); }

// Placeholders not yet turned into anchors are no part of the text, as anchors
// would not be.
std::string codeText(const CodePane& view) {
  GtkTextBuffer* buffer = bufferOf(view.code);
  std::string text;
  GtkTextIter from, to;
  gtk_text_buffer_get_start_iter(buffer, &from);
  auto append = [&](GtkTextIter* end) {
    gchar* piece = gtk_text_buffer_get_text(buffer, &from, end, TRUE);
    text += piece;
    g_free(piece);
  };
  for (const CodeLink& link : view.codeLinks) {
    if (link.anchor) continue;
    gtk_text_buffer_get_iter_at_offset(buffer, &to, link.offset);
    append(&to);
    from = to;
    gtk_text_iter_forward_char(&from);
  }
  gtk_text_buffer_get_end_iter(buffer, &to);
  append(&to);
  return text;
}

namespace {

// What the other core finds while the buffer takes the text.
struct FoundMarks {
  std::vector<TagSpan> spans;
  std::vector<CodeLink> links;
  std::string linkTargets;
};

// `textRead` is set once the shown text is read to its end: the buffer's side may
// then give back what it has taken in.
FoundMarks findMarks(const ShownCode& code, int codeMarks, std::atomic<bool>& textRead) {
  FoundMarks found;
  PlacedLinks placed = placeLinks(code);
  size_t targetBytes = 0;
  for (const ByteRange& t : placed.targetBytes) targetBytes += t.end - t.start;
  found.linkTargets.reserve(targetBytes);
  found.links.reserve(placed.anchors.size());
  for (size_t i = 0; i < placed.anchors.size(); ++i) {
    const ByteRange& t = placed.targetBytes[i];
    CodeLink link;
    link.offset = placed.anchors[i];
    link.targetFrom = static_cast<int>(found.linkTargets.size());
    link.targetBytes = static_cast<int>(t.end - t.start);
    found.linkTargets.append(code.text, t.start, t.end - t.start);
    found.links.push_back(link);
  }
  // Only the targets in characters are needed from here on.
  placed.anchors = std::vector<int>();
  placed.targetBytes = std::vector<ByteRange>();
  const bool markedElsewhere = &code.markedText() != &code.text;
  if (markedElsewhere) textRead.store(true, std::memory_order_release);
  std::vector<TagSpan> spans = computeSpans(code.markedText(), codeMarks);
  textRead.store(true, std::memory_order_release);
  found.spans = placeSpans(code, std::move(spans), placed.targets);
  return found;
}

}  // namespace

void showMarkedCode(CodePane& pane, const AppState& app, ShownCode code) {
  VL_TRACE();
  // The marks, and the links with their anchors' places, are found on the other core
  // while the buffer takes the text: the text's characters are counted there, and
  // the buffer needs only the targets' bytes, found as it goes.
  int codeMarks = app.settings.codeMarks;
  std::atomic<bool> textRead = false;
  std::future<FoundMarks> found = std::async(std::launch::async | std::launch::deferred, [&code, codeMarks, &textRead] {
    return findMarks(code, codeMarks, textRead);
  });
  // Text and the first marks go in while no view shows the buffer: every change of
  // a shown buffer makes the view re-measure, which costs several times the change
  // itself.
  setCodeText(pane, "");
  GtkWidget* view = pane.code;
  GtkTextBuffer* buffer = bufferOf(view);
  g_object_ref(buffer);
  GtkTextBuffer* spare = gtk_text_buffer_new(gtk_text_buffer_get_tag_table(buffer));
  gtk_text_view_set_buffer(GTK_TEXT_VIEW(view), spare);
  g_object_unref(spare);
  setCodeTextWithPlaceholders(buffer, code, [&] { return textRead.load(std::memory_order_acquire); });
  createTags(buffer);
  int firstScreens = endOfLines(buffer, firstScreensLines(pane));
  CodeMarking& m = pane.marking;
  FoundMarks marks = found.get();
  m.spans = std::move(marks.spans);
  // Both sides found the same links, in the same order.
  pane.codeLinks = std::move(marks.links);
  pane.linkTargets = std::move(marks.linkTargets);
  code = ShownCode();
  // The first screens are marked before they are shown; their labels come with the
  // first drawing.
  m.window = windowAt(m, 0);
  applyBetween(m, buffer, 0, std::min(firstSpanFrom(m, firstScreens), m.window.end), Clock::time_point::max());
  bool done = allMarksApplied(m);
  if (done) m = CodeMarking();
  gtk_text_view_set_buffer(GTK_TEXT_VIEW(view), buffer);
  g_object_unref(buffer);
  if (!done) pane.marking.idle = g_idle_add_full(kMarkingPriority, markingStep, &pane, nullptr);
  refresh(view);
  showVisibleLinks(pane);
  refresh(view);
}

bool codeMarksPending(const CodePane& view) { return view.marking.idle != 0 || view.followIdle != 0; }

bool loadCodeFile(CodePane& view, AppState& app, const std::string& path, bool external) {
  VL_TRACE();
  app.sourceIsUtf8 = app.exeIsUnicode = app.subsystemKind = 0;
  std::string file = external ? firstLine(path) : joinLibraryPath(app.settings.libPath, path);
  CodeFileText code;
  VL_TRACE();
  std::string refusal;
  if (!readShownCodeFile(file, {kShownCodeBytes, kShownCodeLines}, &code, &refusal)) {
    if (refusal.empty()) {
      reportMissingFile(view, app, path);
    } else {
      clearCode(view);
      messageBox(kAppTitle, refusal);
    }
    return false;
  }
  app.sourceIsUtf8 = code.sourceIsUtf8;
  app.exeIsUnicode = code.exeIsUnicode;
  app.subsystemKind = code.subsystemKind;
  ShownCode shown = cutLongCodeLines(std::move(code.text));
  if (app.settings.codeMarks != 0 && extensionAccepted(codeFileExtension(path))) {
    showMarkedCode(view, app, std::move(shown));
  } else {
    setCodeText(view, shown.text);
  }
  return true;
}

void flashCodeView(CodePane& view, const AppState& app) {
  flashWidget(view.code, app.copyFlashColor, app.codeBackColor);
}

void toggleWrap(CodePane& view) {
  GtkTextView* code = GTK_TEXT_VIEW(view.code);
  gtk_text_view_set_wrap_mode(code, GtkWrapMode(gtk_text_view_get_wrap_mode(code) ^ 2));
}

void setCodeFont(CodePane& view, const std::string& name, int size) {
  PangoFontDescription* font = pango_font_description_from_string(name.c_str());
  pango_font_description_set_size(font, size * PANGO_SCALE);
  gtk_widget_modify_font(view.code, font);
  pango_font_description_free(font);
  zoomLinkLabels(view);
}

void applyCodeZoom(CodePane& view, const AppState& app, int step) {
  GtkWidget* code = view.code;
  PangoContext* context = gtk_widget_get_pango_context(code);
  PangoFontDescription* font = pango_font_description_copy(pango_context_get_font_description(context));
  pango_font_description_set_size(font, app.settings.fontSize * pango_units_from_double(app.zoomTable[step]));
  gtk_widget_modify_font(code, font);
  pango_font_description_free(font);
  zoomLinkLabels(view);
  if (step == 3) beep("-f 100 -l 20");  // a tick marks the normal size
  gtk_widget_queue_draw(code);
}

void setCodeZoom(CodePane& view, AppState& app, int step) {
  app.zoomStep = std::clamp(step, 0, static_cast<int>(app.zoomTable.size()) - 1);
  if (app.zoomStep == app.zoomStepApplied) return;
  applyCodeZoom(view, app, app.zoomStep);
  app.zoomStepApplied = app.zoomStep;
}

std::string linkTooltipAt(const CodePane& view, int x, int y) {
  for (size_t i : view.labelled) {
    GtkWidget* label = shownLabel(view.codeLinks[i]);
    const char* tooltip = label ? static_cast<const char*>(g_object_get_data(G_OBJECT(label), kLinkTooltip)) : nullptr;
    int lx = 0, ly = 0;
    if (!tooltip || !gtk_widget_translate_coordinates(view.code, label, x, y, &lx, &ly)) continue;
    GtkAllocation a;
    gtk_widget_get_allocation(label, &a);
    if (lx >= 0 && ly >= 0 && lx < a.width && ly < a.height) return tooltip;
  }
  return std::string();
}

std::string_view linkTarget(const CodePane& view, const CodeLink& link) {
  return std::string_view(view.linkTargets)
      .substr(static_cast<size_t>(link.targetFrom), static_cast<size_t>(link.targetBytes));
}

void receiveDroppedFiles(CodePane& view, const std::string& names) {
  view.droppedFiles = names;
  view.events->post(kEventGadgetDrop, kWinMain, CodeView);
}

GtkWidget* codeViewGadget(const CodePane& view, int no) {
  if (no == Main_EdDescript) return view.description;
  return no == CodeView ? view.code : nullptr;
}
