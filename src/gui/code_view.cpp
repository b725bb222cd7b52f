#include "gui/code_view.h"

#include <algorithm>
#include <vector>

#include "core/app/error_report.h"
#include "core/app/paths.h"
#include "core/app/window_title.h"
#include "core/codeview/code_file.h"
#include "core/codeview/highlighter.h"
#include "core/codeview/history.h"
#include "core/codeview/process.h"
#include "gui/index_view.h"
#include "gui/message_box.h"
#include "gui/widgets.h"

static constexpr int kTraceFileId = 5;

namespace {

GtkTextBuffer* bufferOf(GtkWidget* view) { return gtk_text_view_get_buffer(GTK_TEXT_VIEW(view)); }

void setEntry(Viewer& v, int gadget, const std::string& text) {
  if (v.gui.gadget[gadget]) gtk_entry_set_text(GTK_ENTRY(v.gui.gadget[gadget]), text.c_str());
}

void setLabel(Viewer& v, int gadget, const char* text) {
  if (v.gui.gadget[gadget]) gtk_label_set_text(GTK_LABEL(v.gui.gadget[gadget]), text);
}

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

// Applies the spans of the given tags; the refresh steps fall between the groups.
void applySpans(GtkTextBuffer* buffer, const HighlightResult& marks, std::initializer_list<TagId> tags) {
  GtkTextTagTable* table = gtk_text_buffer_get_tag_table(buffer);
  for (const TagSpan& span : marks.spans) {
    bool wanted = false;
    for (TagId t : tags) wanted = wanted || t == span.tag;
    if (!wanted) continue;
    GtkTextIter start, end;
    gtk_text_buffer_get_iter_at_offset(buffer, &start, span.start);
    gtk_text_buffer_get_iter_at_offset(buffer, &end, span.end);
    gtk_text_buffer_apply_tag(buffer, gtk_text_tag_table_lookup(table, tagName(span.tag)), &start, &end);
  }
}

gboolean onActivateLink(GtkLabel*, gchar*, gpointer) {
  return FALSE;  // GTK's own handling hands the target to the desktop
}

void forgetLinks(Gui& g) {
  for (CodeLink& link : g.codeLinks) g_object_unref(link.anchor);
  g.codeLinks.clear();
}

// From the last link to the first, so the offsets of the earlier ones stay valid.
void replaceLinkTargets(Gui& g, GtkTextBuffer* buffer, const HighlightResult& marks) {
  forgetLinks(g);
  g.codeLinks.resize(marks.links.size());
  for (size_t i = marks.links.size(); i-- > 0;) {
    const TopicLink& link = marks.links[i];
    GtkTextIter start, end;
    gtk_text_buffer_get_iter_at_offset(buffer, &start, link.start);
    gtk_text_buffer_get_iter_at_offset(buffer, &end, link.end);
    gtk_text_buffer_delete(buffer, &start, &end);
    CodeLink& cl = g.codeLinks[i];
    cl.anchor = gtk_text_buffer_create_child_anchor(buffer, &start);
    g_object_ref(cl.anchor);
    cl.target = link.target;
  }
  // Each earlier target shrank to one anchor character.
  int shift = 0;
  for (size_t i = 0; i < marks.links.size(); ++i) {
    g.codeLinks[i].offset = marks.links[i].start - shift;
    shift += marks.links[i].end - marks.links[i].start - 1;
  }
}

GtkWidget* linkLabel(const std::string& target) {
  gchar* markup = g_markup_printf_escaped("<a href=\"%s\">%s</a>", target.c_str(), target.c_str());
  GtkWidget* label = gtk_label_new(nullptr);
  gtk_label_set_markup(GTK_LABEL(label), markup);
  gtk_label_set_use_markup(GTK_LABEL(label), TRUE);
  g_free(markup);
  g_signal_connect(label, "activate-link", G_CALLBACK(onActivateLink), nullptr);
  return label;
}

// Child widgets in a text view cost more the more there are, so a label is made
// only when its line comes near the visible part (a screen above and below).
void showVisibleLinks(Viewer& v) {
  Gui& g = v.gui;
  if (g.codeLinks.empty()) return;
  GtkTextView* view = GTK_TEXT_VIEW(g.gadget[CodeView]);
  GdkRectangle rect;
  gtk_text_view_get_visible_rect(view, &rect);
  // Lines the view has not measured yet count as zero high, so the range is taken
  // in lines from the top visible line: a screen and more in both directions, at
  // no less than 8 pixels a line.
  int lines = 2 * std::max(rect.height, 200) / 8;
  GtkTextIter top, bottom;
  gtk_text_view_get_line_at_y(view, &top, rect.y, nullptr);
  bottom = top;
  gtk_text_iter_backward_lines(&top, lines);
  gtk_text_iter_forward_lines(&bottom, lines + 1);
  int first = gtk_text_iter_get_offset(&top);
  int last = gtk_text_iter_get_offset(&bottom);
  auto it = std::lower_bound(g.codeLinks.begin(), g.codeLinks.end(), first,
                             [](const CodeLink& l, int offset) { return l.offset < offset; });
  for (; it != g.codeLinks.end() && it->offset <= last; ++it) {
    if (it->shown) continue;
    it->shown = true;
    GtkWidget* label = linkLabel(it->target);
    gtk_text_view_add_child_at_anchor(view, label, it->anchor);
    gtk_widget_show(label);
  }
}

void onCodeViewMoved(GtkWidget*, gpointer) { showVisibleLinks(viewer()); }
void onCodeViewAllocated(GtkWidget*, GtkAllocation*, gpointer) { showVisibleLinks(viewer()); }

void beep(const char* arguments) { startProgram("beep", arguments, ""); }

void reportMissingFile(Viewer& v, const std::string& asPassed) {
  AppState& app = v.app;
  clearCodeView(v);
  beep("-f 130.8 -l 100");
  if (app.missingFileWarningArmed == 1) {
    messageBox(kAppTitle, missingFileMessage(asPassed, app.settings.libPath));
    app.missingFileWarningArmed = 0;
  } else {
    setViewText(v.gui.gadget[CodeView], std::string(kMissingFileBanner));
  }
}

void refreshHistoryBox(Viewer& v) {
  GtkComboBox* box = GTK_COMBO_BOX(v.gui.gadget[Main_CbHistory]);
  bool was = v.gui.suppressEvents;
  v.gui.suppressEvents = true;
  gtk_list_store_clear(GTK_LIST_STORE(gtk_combo_box_get_model(box)));
  for (const std::string& text : historyItemTexts(v.app.historyList, v.app.index.topicList))
    gtk_combo_box_append_text(box, text.c_str());
  gtk_combo_box_set_active(box, 0);
  v.gui.suppressEvents = was;
}

}  // namespace

const std::string& descriptionFor(const TopicNode& node, int language) {
  if (language == 0) return node.descriptDe;
  if (language == 1) return node.descriptEn;
  return node.descriptFr;
}

void setViewText(GtkWidget* textView, const std::string& text) {
  if (textView == viewer().gui.gadget[CodeView]) forgetLinks(viewer().gui);
  gtk_text_buffer_set_text(bufferOf(textView), text.c_str(), static_cast<gint>(text.size()));
}

void clearCodeView(Viewer& v) { setViewText(v.gui.gadget[CodeView], ""); }

void SetWindowTitle(Viewer& v, const std::string& codePath) {
  const SettingsStore& s = v.app.settings;
  gtk_window_set_title(GTK_WINDOW(v.gui.window[kWinMain]), windowTitleFor(codePath, s.sourceInTitle, s.dbPath).c_str());
}

void highlightCode(Viewer& v) {
  VL_TRACE();
  GtkWidget* view = v.gui.gadget[CodeView];
  GtkTextBuffer* buffer = bufferOf(view);
  GtkTextIter start, end;
  gtk_text_buffer_get_bounds(buffer, &start, &end);
  gchar* text = gtk_text_buffer_get_text(buffer, &start, &end, TRUE);
  HighlightResult marks = computeHighlight(text ? text : "", v.app.settings.codeMarks);
  g_free(text);
  // Tags and anchors go into the buffer while no view shows it: every change of a
  // shown buffer makes the view re-measure, which costs more the longer the text.
  g_object_ref(buffer);
  GtkTextBuffer* spare = gtk_text_buffer_new(gtk_text_buffer_get_tag_table(buffer));
  gtk_text_view_set_buffer(GTK_TEXT_VIEW(view), spare);
  g_object_unref(spare);
  gtk_text_buffer_get_bounds(buffer, &start, &end);
  gtk_text_buffer_remove_all_tags(buffer, &start, &end);
  createTags(buffer);
  applySpans(buffer, marks, {TagId::Disable, TagId::Literal});
  applySpans(buffer, marks, {TagId::Constant});
  applySpans(buffer, marks, {TagId::BlueBold, TagId::FBold, TagId::Function, TagId::FuncCall});
  replaceLinkTargets(v.gui, buffer, marks);
  gtk_text_view_set_buffer(GTK_TEXT_VIEW(view), buffer);
  g_object_unref(buffer);
  refresh(view);
  showVisibleLinks(v);
  refresh(view);
  v.app.procedureNames = std::move(marks.procedureNames);
}

int loadCodeFile(Viewer& v, const std::string& path, int isExternal) {
  VL_TRACE();
  AppState& app = v.app;
  app.sourceIsUtf8 = app.exeIsUnicode = app.subsystemKind = 0;
  std::string file;
  if (!isExternal) {
    file = joinLibraryPath(app.settings.libPath, path);
  } else {
    file = firstLine(path);
    std::string ext = codeFileExtension(file);
    if (!extensionAccepted(ext)) {
      messageBox(kAppTitle, unsupportedFileTypeMessage(ext));
      return 0;
    }
    gtk_window_set_title(GTK_WINDOW(v.gui.window[kWinMain]), (std::string(kAppTitle) + " ~ " + filePart(file)).c_str());
  }
  CodeFileText code;
  VL_TRACE();
  if (!readCodeFile(file, &code)) {
    reportMissingFile(v, path);
    return 0;
  }
  app.sourceIsUtf8 = code.sourceIsUtf8;
  app.exeIsUnicode = code.exeIsUnicode;
  app.subsystemKind = code.subsystemKind;
  setViewText(v.gui.gadget[CodeView], code.text);
  if (app.settings.codeMarks != 0 && extensionAccepted(codeFileExtension(path))) highlightCode(v);
  return 1;
}

void showSourceFormat(Viewer& v) {
  const AppState& app = v.app;
  setEntry(v, DbA_SrcForm, app.sourceIsUtf8 ? "UTF8" : "Ascii");
  setEntry(v, DbA_ExeForm, app.exeIsUnicode ? "Unicode" : "Ascii");
  setLabel(v, LabelSrc, app.sourceIsUtf8 ? "Src: UTF8" : "Src: Ascii");
  setLabel(v, LabelExe, app.exeIsUnicode ? "Exe: UNI" : "Exe: Ascii");
  setLabel(v, LabelSub, app.subsystemKind == 1 ? "Sub: gtk2" : app.subsystemKind == 2 ? "Sub: gtk3" : "");
}

void clearSourceFormat(Viewer& v) {
  setEntry(v, DbA_File, "");
  setEntry(v, DbA_SrcForm, "");
  setEntry(v, DbA_ExeForm, "");
}

void showSelectedEntry(Viewer& v, int eventType) {
  VL_TRACE();
  AppState& app = v.app;
  int row = selectedRow(v);
  if (row < 0 || static_cast<size_t>(row) >= app.index.topicList.size()) return;
  const TopicNode& node = app.index.topicList[row];
  const std::string& description = app.index.rows[row].level >= 2 ? descriptionFor(node, app.languageBox) : node.text;
  setViewText(v.gui.gadget[Main_EdDescript], description);
  if (node.file.empty()) {
    app.currentCodePath.clear();
    gtk_window_set_title(GTK_WINDOW(v.gui.window[kWinMain]), kAppTitle);
    clearSourceFormat(v);
    clearCodeView(v);
    return;
  }
  if (node.file != app.currentCodePath) {
    std::string file = node.file;  // the load may show a message box; keep our own copy
    int ok = loadCodeFile(v, file, 0);
    setBackground(v.gui.gadget[Main_EdDescript], ok ? kNoColor : app.alertColor);
    app.currentCodePath = file;
    showSourceFormat(v);
    SetWindowTitle(v, file);
    setEntry(v, DbA_File, file);
  }
  if (eventType == kTypeLeftClick && node.file == app.currentCodePath) {
    addToHistory(&app.historyList, row);
    refreshHistoryBox(v);
  }
}

void flashGadget(Viewer& v, int gadget) {
  GtkWidget* w = v.gui.gadget[gadget];
  bool copyFlash = gadget == CodeView || gadget == DbA_File;
  setBackground(w, copyFlash ? v.app.copyFlashColor : v.app.alertColor);
  gtk_widget_queue_draw(w);
  processPendingEvents();
  sleepMs(200);
  setBackground(w, gadget == CodeView ? v.app.codeBackColor : kNoColor);
}

void ApplyCodeZoom(Viewer& v, int step) {
  GtkWidget* view = v.gui.gadget[CodeView];
  PangoContext* context = gtk_widget_get_pango_context(view);
  PangoFontDescription* font = pango_font_description_copy(pango_context_get_font_description(context));
  pango_font_description_set_size(font, v.app.settings.fontSize * pango_units_from_double(v.app.zoomTable[step]));
  gtk_widget_modify_font(view, font);
  pango_font_description_free(font);
  if (step == 3) beep("-f 100 -l 20");  // a tick marks the normal size
  gtk_widget_queue_draw(view);
}

void connectLinkWatch(Viewer& v) {
  GtkWidget* view = v.gui.gadget[CodeView];
  GtkAdjustment* vadj = gtk_scrolled_window_get_vadjustment(GTK_SCROLLED_WINDOW(v.gui.scroller[CodeView]));
  g_signal_connect(vadj, "value-changed", G_CALLBACK(onCodeViewMoved), nullptr);
  g_signal_connect(view, "size-allocate", G_CALLBACK(onCodeViewAllocated), nullptr);
}

gboolean onCodeViewScroll(GtkWidget*, GdkEventScroll* event, gpointer) {
  if (!(event->state & GDK_CONTROL_MASK)) return FALSE;
  Viewer& v = viewer();
  AppState& app = v.app;
  if (event->direction == GDK_SCROLL_DOWN && app.zoomStep > 0) --app.zoomStep;
  if (event->direction == GDK_SCROLL_UP && app.zoomStep < 7) ++app.zoomStep;
  if (app.zoomStep != app.zoomStepApplied) {
    ApplyCodeZoom(v, app.zoomStep);
    app.zoomStepApplied = app.zoomStep;
  }
  return TRUE;
}
