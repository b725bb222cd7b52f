#include "gui/index_tree_model.h"
#include "core/app/text_cut.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

struct VlIndexModel {
  GObject parent;
  const IndexModel* rows;
  gint stamp;
  std::vector<int>* parentOf;    // parent row, -1 for top-level rows
  std::vector<int>* position;    // index among its siblings
  std::vector<int>* childStart;  // children of row r: childList[childStart[r+1] .. childStart[r+2])
  std::vector<int>* childList;   // slot 0 of childStart is the top level
};

struct VlIndexModelClass {
  GObjectClass parent_class;
};

void vl_index_model_tree_model_init(GtkTreeModelIface* iface);

G_DEFINE_TYPE_WITH_CODE(VlIndexModel, vl_index_model, G_TYPE_OBJECT,
                        G_IMPLEMENT_INTERFACE(GTK_TYPE_TREE_MODEL, vl_index_model_tree_model_init))

#define VL_INDEX_MODEL(o) (G_TYPE_CHECK_INSTANCE_CAST((o), vl_index_model_get_type(), VlIndexModel))

void vl_index_model_init(VlIndexModel* m) {
  m->rows = nullptr;
  m->stamp = g_random_int();
  m->parentOf = new std::vector<int>;
  m->position = new std::vector<int>;
  m->childStart = new std::vector<int>;
  m->childList = new std::vector<int>;
}

void vl_index_model_finalize(GObject* object) {
  VlIndexModel* m = VL_INDEX_MODEL(object);
  delete m->parentOf;
  delete m->position;
  delete m->childStart;
  delete m->childList;
  G_OBJECT_CLASS(vl_index_model_parent_class)->finalize(object);
}

void vl_index_model_class_init(VlIndexModelClass* klass) { G_OBJECT_CLASS(klass)->finalize = vl_index_model_finalize; }

// One pass with a stack of open ancestors gives every row its parent; a counting
// pass then lays the children out parent by parent.
void buildLinks(VlIndexModel* m) {
  const IndexModel& rows = *m->rows;
  size_t n = rows.rowCount();
  m->parentOf->assign(n, -1);
  m->position->assign(n, 0);
  std::vector<int> open;
  std::vector<int> count(n + 1, 0);
  auto shownLevel = [&rows](size_t r) { return std::min(rows.level(r), kIndexMaxShownLevel); };
  for (size_t i = 0; i < n; ++i) {
    while (!open.empty() && shownLevel(open.back()) >= shownLevel(i)) open.pop_back();
    int parent = open.empty() ? -1 : open.back();
    (*m->parentOf)[i] = parent;
    (*m->position)[i] = count[parent + 1]++;
    open.push_back(static_cast<int>(i));
  }
  m->childStart->assign(n + 2, 0);
  for (size_t p = 0; p <= n; ++p) (*m->childStart)[p + 1] = (*m->childStart)[p] + count[p];
  m->childList->assign(n, 0);
  for (size_t i = 0; i < n; ++i) {
    int slot = (*m->parentOf)[i] + 1;
    (*m->childList)[(*m->childStart)[slot] + (*m->position)[i]] = static_cast<int>(i);
  }
}

int childCount(VlIndexModel* m, int parent) { return (*m->childStart)[parent + 2] - (*m->childStart)[parent + 1]; }

int nthChild(VlIndexModel* m, int parent, int n) {
  if (n < 0 || n >= childCount(m, parent)) return -1;
  return (*m->childList)[(*m->childStart)[parent + 1] + n];
}

void setIter(VlIndexModel* m, GtkTreeIter* iter, int row) {
  iter->stamp = m->stamp;
  iter->user_data = reinterpret_cast<gpointer>(static_cast<intptr_t>(row));
  iter->user_data2 = nullptr;
  iter->user_data3 = nullptr;
}

int rowOf(GtkTreeIter* iter) { return static_cast<int>(reinterpret_cast<intptr_t>(iter->user_data)); }

GtkTreeModelFlags getFlags(GtkTreeModel*) { return GTK_TREE_MODEL_ITERS_PERSIST; }
gint getNColumns(GtkTreeModel*) { return kIndexColCount; }
GType getColumnType(GtkTreeModel*, gint column) { return column == kIndexColText ? G_TYPE_STRING : GDK_TYPE_COLOR; }

gboolean getIter(GtkTreeModel* model, GtkTreeIter* iter, GtkTreePath* path) {
  VlIndexModel* m = VL_INDEX_MODEL(model);
  gint depth = gtk_tree_path_get_depth(path);
  gint* indices = gtk_tree_path_get_indices(path);
  int row = -1;
  for (gint d = 0; d < depth; ++d) {
    row = nthChild(m, row, indices[d]);
    if (row < 0) return FALSE;
  }
  if (row < 0) return FALSE;
  setIter(m, iter, row);
  return TRUE;
}

GtkTreePath* getPath(GtkTreeModel* model, GtkTreeIter* iter) {
  VlIndexModel* m = VL_INDEX_MODEL(model);
  std::vector<int> indices;
  for (int row = rowOf(iter); row >= 0; row = (*m->parentOf)[row]) indices.push_back((*m->position)[row]);
  GtkTreePath* path = gtk_tree_path_new();
  for (auto it = indices.rbegin(); it != indices.rend(); ++it) gtk_tree_path_append_index(path, *it);
  return path;
}

void setColor(GValue* value, Color c) {
  if (c == kNoColor) {
    g_value_set_boxed(value, nullptr);
    return;
  }
  GdkColor color = {0, static_cast<guint16>(colorRed(c) * 257), static_cast<guint16>(colorGreen(c) * 257),
                    static_cast<guint16>(colorBlue(c) * 257)};
  g_value_set_boxed(value, &color);
}

void getValue(GtkTreeModel* model, GtkTreeIter* iter, gint column, GValue* value) {
  VlIndexModel* m = VL_INDEX_MODEL(model);
  const IndexRow row = m->rows->row(rowOf(iter));
  g_value_init(value, getColumnType(model, column));
  if (column == kIndexColText && row.text.size() > kShownTextLimit)  // bytes bound characters
    g_value_set_string(value, cutShownText(row.text).c_str());
  else if (column == kIndexColText)
    g_value_set_string(value, row.text.data());  // the index's texts end in NUL
  else
    setColor(value, column == kIndexColForeground ? row.foreground : row.background);
}

gboolean iterNext(GtkTreeModel* model, GtkTreeIter* iter) {
  VlIndexModel* m = VL_INDEX_MODEL(model);
  int row = rowOf(iter);
  int next = nthChild(m, (*m->parentOf)[row], (*m->position)[row] + 1);
  if (next < 0) return FALSE;
  setIter(m, iter, next);
  return TRUE;
}

gboolean iterNthChild(GtkTreeModel* model, GtkTreeIter* iter, GtkTreeIter* parent, gint n) {
  VlIndexModel* m = VL_INDEX_MODEL(model);
  int child = nthChild(m, parent ? rowOf(parent) : -1, n);
  if (child < 0) return FALSE;
  setIter(m, iter, child);
  return TRUE;
}

gboolean iterChildren(GtkTreeModel* model, GtkTreeIter* iter, GtkTreeIter* parent) {
  return iterNthChild(model, iter, parent, 0);
}

gboolean iterHasChild(GtkTreeModel* model, GtkTreeIter* iter) {
  return childCount(VL_INDEX_MODEL(model), rowOf(iter)) > 0;
}

gint iterNChildren(GtkTreeModel* model, GtkTreeIter* iter) {
  return childCount(VL_INDEX_MODEL(model), iter ? rowOf(iter) : -1);
}

gboolean iterParent(GtkTreeModel* model, GtkTreeIter* iter, GtkTreeIter* child) {
  VlIndexModel* m = VL_INDEX_MODEL(model);
  int parent = (*m->parentOf)[rowOf(child)];
  if (parent < 0) return FALSE;
  setIter(m, iter, parent);
  return TRUE;
}

// Where rows are: iterators, paths and the walk through the tree.
void initNavigation(GtkTreeModelIface* iface) {
  iface->get_iter = getIter;
  iface->get_path = getPath;
  iface->iter_next = iterNext;
  iface->iter_children = iterChildren;
  iface->iter_has_child = iterHasChild;
  iface->iter_n_children = iterNChildren;
  iface->iter_nth_child = iterNthChild;
  iface->iter_parent = iterParent;
}

void vl_index_model_tree_model_init(GtkTreeModelIface* iface) {
  iface->get_flags = getFlags;
  iface->get_n_columns = getNColumns;
  iface->get_column_type = getColumnType;
  iface->get_value = getValue;
  initNavigation(iface);
}

}  // namespace

GtkTreeModel* indexTreeModelNew(const IndexModel* rows) {
  VlIndexModel* m = VL_INDEX_MODEL(g_object_new(vl_index_model_get_type(), nullptr));
  m->rows = rows;
  buildLinks(m);
  return GTK_TREE_MODEL(m);
}

int indexTreeModelRow(GtkTreeIter* iter) { return rowOf(iter); }

bool indexTreeModelIter(GtkTreeModel* model, int row, GtkTreeIter* iter) {
  VlIndexModel* m = VL_INDEX_MODEL(model);
  if (row < 0 || static_cast<size_t>(row) >= m->rows->rowCount()) return false;
  setIter(m, iter, row);
  return true;
}

GtkTreePath* indexTreeModelPath(GtkTreeModel* model, int row) {
  GtkTreeIter iter;
  if (!indexTreeModelIter(model, row, &iter)) return nullptr;
  return getPath(model, &iter);
}
