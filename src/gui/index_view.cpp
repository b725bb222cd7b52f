#include "gui/index_view.h"

#include <algorithm>

#include "core/app/error_report.h"
#include "core/database/index_builder.h"
#include "gui/index_tree_model.h"
#include "gui/search.h"

static constexpr int kTraceFileId = 3;

namespace {

GtkTreeView* treeOf(Viewer& v) { return GTK_TREE_VIEW(v.gui.gadget[IndexTree]); }

// Fixed-height mode keeps a 100,000-row tree from measuring every row; the column
// then needs a width of its own, estimated from the longest row.
void setColumnWidth(Viewer& v) {
  GtkWidget* tree = v.gui.gadget[IndexTree];
  PangoContext* context = gtk_widget_get_pango_context(tree);
  PangoFontMetrics* metrics = pango_context_get_metrics(context, nullptr, nullptr);
  int charWidth = pango_font_metrics_get_approximate_char_width(metrics) / PANGO_SCALE;
  pango_font_metrics_unref(metrics);
  long widest = 0;
  for (const IndexRow& row : v.app.index.rows) {
    long chars = g_utf8_strlen(row.text.c_str(), static_cast<gssize>(row.text.size()));
    widest = std::max(widest, (row.level + 1) * 20L + chars * std::max(charWidth, 6));
  }
  GtkTreeViewColumn* column = gtk_tree_view_get_column(treeOf(v), 0);
  gtk_tree_view_column_set_fixed_width(column, static_cast<int>(std::min(widest + 16, 30000L)));
}

}  // namespace

void detachIndexModel(Viewer& v) {
  if (!v.gui.gadget[IndexTree]) return;
  bool was = v.gui.suppressEvents;
  v.gui.suppressEvents = true;
  gtk_tree_view_set_model(treeOf(v), nullptr);
  if (v.gui.treeModel) g_object_unref(v.gui.treeModel);
  v.gui.treeModel = nullptr;
  v.gui.suppressEvents = was;
}

void attachIndexModel(Viewer& v) {
  VL_TRACE();
  detachIndexModel(v);
  GtkTreeViewColumn* column = gtk_tree_view_get_column(treeOf(v), 0);
  gtk_tree_view_column_set_sizing(column, GTK_TREE_VIEW_COLUMN_FIXED);
  setColumnWidth(v);
  gtk_tree_view_set_fixed_height_mode(treeOf(v), TRUE);
  v.gui.treeModel = indexTreeModelNew(&v.app.index);
  bool was = v.gui.suppressEvents;
  v.gui.suppressEvents = true;
  gtk_tree_view_set_model(treeOf(v), v.gui.treeModel);
  v.gui.suppressEvents = was;
}

void buildIndexView(Viewer& v) {
  VL_TRACE();
  detachIndexModel(v);
  AppState& app = v.app;
  app.index.clear();
  IndexBuildOptions options;
  options.topicLanguage = app.languageBox;
  options.dyeingNews = app.settings.dyeingNews;
  options.libraryTitle = app.libraryTitle;
  options.treeColorA = app.treeColorA;
  options.treeColorB = app.treeColorB;
  options.treeColorC = app.treeColorC;
  options.treeColorD = app.treeColorD;
  if (app.document.hasRoot()) buildIndex(app.document, options, &app.index);
  forgetSearchTexts();  // the search folds the texts of the new rows when it next runs
  attachIndexModel(v);
}

void expandAndCount(Viewer& v) {
  VL_TRACE();
  // One call opens the whole tree; the counts come from the rows with the same
  // result as opening and inspecting them one by one.
  gtk_tree_view_expand_all(treeOf(v));
  v.app.counts = countThemesAndEntries(v.app.index, v.app.libraryTitle);
}

void rebuildIndex(Viewer& v) {
  int row = selectedRow(v);
  buildIndexView(v);
  setNodeToggle(v, true);
  gtk_tree_view_expand_all(treeOf(v));
  selectRow(v, row);
}

int selectedRow(Viewer& v) {
  GtkTreeSelection* selection = gtk_tree_view_get_selection(treeOf(v));
  GtkTreeIter iter;
  if (!v.gui.treeModel || !gtk_tree_selection_get_selected(selection, nullptr, &iter)) return -1;
  return indexTreeModelRow(&iter);
}

void selectRow(Viewer& v, int row) {
  bool was = v.gui.suppressEvents;
  v.gui.suppressEvents = true;
  GtkTreeSelection* selection = gtk_tree_view_get_selection(treeOf(v));
  GtkTreePath* path = v.gui.treeModel ? indexTreeModelPath(v.gui.treeModel, row) : nullptr;
  if (path) {
    // A row inside a closed node is opened to; the row itself stays as it is.
    GtkTreePath* parent = gtk_tree_path_copy(path);
    if (gtk_tree_path_up(parent) && gtk_tree_path_get_depth(parent) > 0)
      gtk_tree_view_expand_to_path(treeOf(v), parent);
    gtk_tree_path_free(parent);
    gtk_tree_selection_select_path(selection, path);
    gtk_tree_view_set_cursor(treeOf(v), path, nullptr, FALSE);
    gtk_tree_path_free(path);
  } else {
    gtk_tree_selection_unselect_all(selection);
  }
  v.gui.suppressEvents = was;
}

void setNodeToggle(Viewer& v, bool pressed) {
  bool was = v.gui.suppressEvents;
  v.gui.suppressEvents = true;
  GtkToggleButton* toggle = GTK_TOGGLE_BUTTON(v.gui.gadget[Main_NodeToggle]);
  gtk_toggle_button_set_active(toggle, pressed);
  v.gui.suppressEvents = was;
}
