// Handlers of the main window's events: closing, layout, the node toggle, the
// index tree, the tool buttons, the history box, drops and the keyboard shortcuts.
#include <gtk/gtk.h>

#include "core/app/error_report.h"
#include "core/app/paths.h"
#include "core/app/window_title.h"
#include "core/codeview/history.h"
#include "core/codeview/process.h"
#include "gui/code_view.h"
#include "gui/handlers.h"
#include "gui/index_tree_model.h"
#include "gui/index_view.h"
#include "gui/main_window.h"
#include "gui/message_box.h"
#include "gui/widgets.h"

static constexpr int kTraceFileId = 6;

namespace {

void onQuit(Viewer& v, const Event&) { v.app.quitRequested = 1; }

void onSize(Viewer& v, const Event&) { layoutMainWindow(v, true); }

void onSplitter(Viewer& v, const Event&) { layoutMainWindow(v, false); }

void onNodeToggle(Viewer& v, const Event&) {
  GtkTreeView* tree = GTK_TREE_VIEW(v.gui.gadget[IndexTree]);
  if (gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(v.gui.gadget[Main_NodeToggle])))
    gtk_tree_view_expand_all(tree);
  else
    gtk_tree_view_collapse_all(tree);
}

void onAdminButton(Viewer& v, const Event&) {
#ifdef VL_ADMIN_MODE
  popupMenu(v.gui.adminMenu);
#endif
}

void onInfoButton(Viewer& v, const Event&) { popupMenu(v.gui.infoMenu); }

void toggleSelectedNode(Viewer& v) {
  int row = selectedRow(v);
  GtkTreePath* path = row >= 0 ? indexTreeModelPath(v.gui.treeModel, row) : nullptr;
  if (!path) return;
  GtkTreeView* tree = GTK_TREE_VIEW(v.gui.gadget[IndexTree]);
  if (gtk_tree_view_row_expanded(tree, path))
    gtk_tree_view_collapse_row(tree, path);
  else
    gtk_tree_view_expand_row(tree, path, FALSE);
  gtk_tree_path_free(path);
  selectRow(v, row);
}

std::string g_dragUri;

void onDragDataGet(GtkWidget*, GdkDragContext*, GtkSelectionData* data, guint, guint, gpointer) {
  gchar* uris[] = {const_cast<gchar*>(g_dragUri.c_str()), nullptr};
  gtk_selection_data_set_uris(data, uris);
}

// Entries are dragged out as file URIs, so they can be dropped into the editor.
void startEntryDrag(Viewer& v) {
  g_dragUri = entryDragUri(v);
  if (g_dragUri.empty()) return;
  GtkTargetList* targets = gtk_target_list_new(nullptr, 0);
  gtk_target_list_add_uri_targets(targets, 0);
  GtkWidget* tree = v.gui.gadget[IndexTree];
  // Each tree gets the handler once, however often it is dragged from.
  if (!g_object_get_data(G_OBJECT(tree), "vl-drag-source")) {
    g_signal_connect(tree, "drag-data-get", G_CALLBACK(onDragDataGet), nullptr);
    g_object_set_data(G_OBJECT(tree), "vl-drag-source", tree);
  }
  gtk_drag_begin(tree, targets, GDK_ACTION_COPY, 1, treeDragStartEvent());
  gtk_target_list_unref(targets);
}

void onIndexTree(Viewer& v, const Event& e) {
  VL_TRACE();
  switch (e.type) {
    case kTypeLeftDoubleClick:
      toggleSelectedNode(v);
      break;
    case kTypeLeftClick:
    case kTypeChange:
      if (selectedRow(v) >= 0) showSelectedEntry(v, e.type);
      break;
    case kTypeDragStart:
      startEntryDrag(v);
      break;
    default:
      break;
  }
}

void onQuickcopy(Viewer& v, const Event&) {
  std::string text = widgetText(v.gui.gadget[CodeView]);
  if (text.empty()) return;
  gtk_clipboard_set_text(gtk_clipboard_get(GDK_SELECTION_CLIPBOARD), text.c_str(), static_cast<gint>(text.size()));
  flashGadget(v, CodeView);
}

void onHistory(Viewer& v, const Event&) {
  AppState& app = v.app;
  int row = 0;
  if (!historyRowAt(app.historyList, gtk_combo_box_get_active(GTK_COMBO_BOX(v.gui.gadget[Main_CbHistory])), &row))
    return;
  if (static_cast<size_t>(row) >= app.index.topicList.size()) return;
  selectRow(v, row);
  const TopicNode node = app.index.topicList[row];
  setViewText(v.gui.gadget[Main_EdDescript], descriptionFor(node, app.languageBox));
  if (node.file.empty() || node.file == app.currentCodePath) return;
  int ok = loadCodeFile(v, node.file, 0);
  setBackground(v.gui.gadget[Main_EdDescript], ok ? kNoColor : app.alertColor);
  app.currentCodePath = node.file;
  SetWindowTitle(v, node.file);
}

void onHelp(Viewer& v, const Event&) {
  if (v.app.index.helpEntryIndex == 0) {
    messageBox(kAppTitle, "No help-file found.");
    return;
  }
  GtkTreePath* second = indexTreeModelPath(v.gui.treeModel, 1);
  if (second) {
    gtk_tree_view_expand_row(GTK_TREE_VIEW(v.gui.gadget[IndexTree]), second, FALSE);
    gtk_tree_path_free(second);
  }
  selectRow(v, v.app.index.helpEntryIndex);
  v.gui.events.post(Event{kEventGadget, kWinMain, IndexTree, kTypeChange});
}

void onF1(Viewer& v, const Event&) { v.gui.events.post(Event{kEventGadget, kWinMain, Main_Help, kTypeLeftClick}); }

void onF5(Viewer& v, const Event&) {
  GtkTextView* code = GTK_TEXT_VIEW(v.gui.gadget[CodeView]);
  gtk_text_view_set_wrap_mode(code, GtkWrapMode(gtk_text_view_get_wrap_mode(code) ^ 2));
}

void onDrop(Viewer& v, const Event&) {
  if (!loadCodeFile(v, v.gui.droppedFiles, 1)) return;
  setViewText(v.gui.gadget[Main_EdDescript], "Extern file ...");
  selectRow(v, -1);
}

void onDragDataReceived(GtkWidget* widget, GdkDragContext* context, gint, gint, GtkSelectionData* data, guint,
                        guint time, gpointer) {
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
  if (!names.empty()) receiveDroppedFiles(viewer(), names);
}

// A read-only text view refuses every drop while the pointer moves over it; file
// lists are welcome here all the same.
gboolean onCodeViewDragMotion(GtkWidget* widget, GdkDragContext* context, gint, gint, guint time, gpointer) {
  bool files = gtk_drag_dest_find_target(widget, context, nullptr) != GDK_NONE;
  gdk_drag_status(context, files ? GDK_ACTION_COPY : GdkDragAction(0), time);
  return TRUE;
}

// The drop's data is already asked for; the text view must not ask again.
gboolean onCodeViewDragDrop(GtkWidget*, GdkDragContext*, gint, gint, guint, gpointer) { return TRUE; }

const HandlerEntry kMainHandlers[] = {
    {kWinMain, kEventCloseWindow, -1, onQuit},
    {kWinMain, kEventSizeWindow, -1, onSize},
    {kWinMain, kEventGadget, Main_NodeToggle, onNodeToggle},
    {kWinMain, kEventGadget, AdminButton, onAdminButton},
    {kWinMain, kEventGadget, Main_Info, onInfoButton},
    {kWinMain, kEventGadget, MainSplitter, onSplitter},
    {kWinMain, kEventGadget, IndexTree, onIndexTree},
    {kWinMain, kEventGadget, Main_Quickcopy, onQuickcopy},
    {kWinMain, kEventGadget, Main_CbHistory, onHistory},
    {kWinMain, kEventGadget, Main_Help, onHelp},
    {kWinMain, kEventGadgetDrop, CodeView, onDrop},
    {kWinMain, kEventMenu, kKeyEscape, onQuit},
    {kWinMain, kEventMenu, kKeyF1, onF1},
    {kWinMain, kEventMenu, kKeyF5, onF5},
};

}  // namespace

std::string entryDragUri(Viewer& v) {
  int row = selectedRow(v);
  if (row < 0 || static_cast<size_t>(row) >= v.app.index.topicList.size()) return std::string();
  const std::string& file = v.app.index.topicList[row].file;
  if (file.empty()) return std::string();
  std::string full = joinLibraryPath(v.app.settings.libPath, file);
  if (!fileExists(full)) return std::string();
  gchar* absolute = g_canonicalize_filename(full.c_str(), nullptr);
  gchar* uri = g_filename_to_uri(absolute, nullptr, nullptr);
  g_free(absolute);
  std::string result = uri ? uri : "";
  g_free(uri);
  return result;
}

void receiveDroppedFiles(Viewer& v, const std::string& names) {
  v.gui.droppedFiles = names;
  postEvent(v.gui, kEventGadgetDrop, kWinMain, CodeView);
}

// Signals of the code view that are not events of the loop: drops and zoom.
void connectCodeViewSignals(Viewer& v) {
  GtkWidget* code = v.gui.gadget[CodeView];
  g_signal_connect(code, "drag-motion", G_CALLBACK(onCodeViewDragMotion), nullptr);
  g_signal_connect(code, "drag-drop", G_CALLBACK(onCodeViewDragDrop), nullptr);
  g_signal_connect(code, "drag-data-received", G_CALLBACK(onDragDataReceived), nullptr);
  g_signal_connect(code, "scroll-event", G_CALLBACK(onCodeViewScroll), nullptr);
  connectLinkWatch(v);
}

HandlerTable mainWindowHandlers() { return {kMainHandlers, G_N_ELEMENTS(kMainHandlers)}; }
