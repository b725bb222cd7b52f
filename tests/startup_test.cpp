// Start-up on the sample library and on broken set-ups.
#include <fstream>

#include "core/database/index_builder.h"
#include "gui/index_tree_model.h"
#include "gui/index_view.h"
#include "gui_fixture.h"

using StartupTest = ViewerTest;

TEST_F(StartupTest, SelectsAndShowsTheFirstRow) {
  writeSampleSettings();
  ASSERT_TRUE(start());
  EXPECT_EQ(selectedRow(viewer().index), 0);
  // The root row shows its text as description; it has no code file.
  EXPECT_EQ(text(Main_EdDescript), app().index.topic(0).text);
  EXPECT_EQ(title(), "Linux VL-ZEZ-Ovidozo-Vivara");
  EXPECT_TRUE(gtk_widget_has_focus(gadget(Main_Find)));
  EXPECT_TRUE(gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(gadget(Main_NodeToggle))));
  EXPECT_TRUE(messages.empty());
  // The sample library has more than six themes; the viewer's own group is not one of them.
  EXPECT_GE(app().counts.themeCount, 6);
  EXPECT_GT(app().counts.entryCount, app().counts.themeCount * 3);
}

TEST_F(StartupTest, TreeIsFullyExpandedAndColoured) {
  writeSampleSettings();
  ASSERT_TRUE(start());
  GtkTreeView* tree = GTK_TREE_VIEW(gadget(IndexTree));
  GtkTreeModel* model = gtk_tree_view_get_model(tree);
  ASSERT_NE(model, nullptr);
  // Every row with children is open.
  const IndexModel& index = app().index;
  int parents = 0;
  for (size_t i = 0; i + 1 < index.rowCount(); ++i) {
    if (index.row(i + 1).level <= index.row(i).level) continue;
    GtkTreePath* path = indexTreeModelPath(model, static_cast<int>(i));
    ASSERT_NE(path, nullptr);
    EXPECT_TRUE(gtk_tree_view_row_expanded(tree, path)) << "row " << i;
    gtk_tree_path_free(path);
    ++parents;
  }
  EXPECT_GT(parents, 6);
  // Root row: dark grey with white text; the viewer's own group light grey.
  GtkTreeIter iter;
  ASSERT_TRUE(gtk_tree_model_get_iter_first(model, &iter));
  GdkColor* bg = nullptr;
  GdkColor* fg = nullptr;
  gtk_tree_model_get(model, &iter, 1, &fg, 2, &bg, -1);
  ASSERT_TRUE(bg && fg);
  EXPECT_EQ(bg->red >> 8, 127);
  EXPECT_EQ(fg->red >> 8, 255);
  gdk_color_free(bg);
  gdk_color_free(fg);
  GtkTreeIter group;
  ASSERT_TRUE(gtk_tree_model_iter_children(model, &group, &iter));
  gchar* groupText = nullptr;
  gtk_tree_model_get(model, &group, 0, &groupText, 2, &bg, -1);
  EXPECT_STREQ(groupText, "ZEZ Ovidozo Vivara");
  ASSERT_TRUE(bg);
  EXPECT_EQ(bg->red >> 8, 200);
  g_free(groupText);
  gdk_color_free(bg);
}

namespace {

// Rows with children whose rows are not open in the tree.
int closedParents(GtkTreeView* tree, const IndexModel& index) {
  int closed = 0;
  for (size_t i = 0; i < index.rowCount(); ++i) {
    if (!rowHasChildren(index, i)) continue;
    GtkTreePath* path = indexTreeModelPath(gtk_tree_view_get_model(tree), static_cast<int>(i));
    closed += gtk_tree_view_row_expanded(tree, path) ? 0 : 1;
    gtk_tree_path_free(path);
  }
  return closed;
}

}  // namespace

// A large index opens the rows below the first screen after it; whatever is done
// with the tree meanwhile acts on the fully open tree.
TEST_F(StartupTest, LargeTreeOpensFullyAndYieldsToWhatIsDoneWithIt) {
  std::ofstream db(folder + "large.xml");
  db << "<?xml version=\"1.0\"?>\n<r n=\"Root\">R\n";
  for (int theme = 0; theme < 300; ++theme) {
    db << " <t n=\"Theme " << theme << "\">T\n";
    for (int entry = 0; entry < 10; ++entry)  // the last entry has the longest title
      db << "  <e File=\"/x.vl\" theme_de=\"E" << entry << (theme == 299 && entry == 9 ? std::string(300, 'w') : "")
         << "\"/>\n";
    db << " </t>\n";
  }
  db << "</r>\n";
  db.close();
  writeSettings("db-path=" + folder + "large.xml\nabout=1\n");
  for (int round = 0; round < 3; ++round) {
    StartOptions options;
    options.programFolder = folder;
    ASSERT_TRUE(startViewer(viewer(), options));
    ASSERT_TRUE(indexStillOpening(viewer().index));
    GtkTreeView* tree = GTK_TREE_VIEW(gadget(IndexTree));
    const IndexModel& index = app().index;
    const int last = static_cast<int>(index.rowCount()) - 1;
    if (round == 1) {  // a row far below the first screen is shown in its open theme
      selectRow(viewer().index, last);
      EXPECT_EQ(selectedRow(viewer().index), last);
      EXPECT_EQ(closedParents(tree, index), 0);
    } else if (round == 2) {  // closing everything is not undone by the rest of the opening
      expandAll(viewer().index, false);
      drain();
      EXPECT_EQ(closedParents(tree, index), 301);
      break;
    }
    // The column is as wide as the first screens' rows, then as the widest row.
    GtkTreeViewColumn* column = gtk_tree_view_get_column(tree, 0);
    const int firstWidth = gtk_tree_view_column_get_fixed_width(column);
    drain();
    EXPECT_FALSE(indexStillOpening(viewer().index));
    EXPECT_EQ(closedParents(tree, index), 0);
    EXPECT_LT(firstWidth, 300 * 6);
    EXPECT_GE(gtk_tree_view_column_get_fixed_width(column), 300 * 6);
    freshViewer();
  }
}

TEST_F(StartupTest, EscapeEndsTheProgram) {
  writeSampleSettings();
  ASSERT_TRUE(start());
  post(kEventMenu, kWinMain, kKeyEscape);
  EXPECT_EQ(app().quitRequested, 1);
}

TEST_F(StartupTest, CancelledRequesterAtFirstStartEndsWithMessage) {
  fileAnswer = "";
  EXPECT_FALSE(start());
  ASSERT_EQ(fileRequests.size(), 1u);
  EXPECT_EQ(fileRequests[0], "Choose database 'VL-LinuxAPI-Toc.xml' ...");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].first, "Linux VL-ZEZ-Ovidozo-Vivara-Error");
  EXPECT_EQ(messages[0].second, "No database selected. Programm canceled!");
  // Nothing is saved: no settings file appears.
  EXPECT_FALSE(std::ifstream(folder + "LinuxVL API-RuvUduviv.ini").good());
}

TEST_F(StartupTest, EmptyDatabaseCannotBeOpened) {
  std::ofstream(folder + "empty.xml").close();
  writeSettings("db-path=" + folder + "empty.xml\nabout=1\n");
  EXPECT_FALSE(start());
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].second, "The database '" + folder + "empty.xml' cannot be opened.");
}

TEST_F(StartupTest, XmlErrorIsReportedWithLineAndColumn) {
  std::ofstream(folder + "bad.xml") << "<?xml version=\"1.0\"?>\n<root a=\"1\">\n<entry b=\"x\" b=\"y\"/>\n</root>\n";
  writeSettings("db-path=" + folder + "bad.xml\nabout=1\n");
  EXPECT_FALSE(start());
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].first, "Linux VL-ZEZ-Ovidozo-VivaraError");
  EXPECT_EQ(messages[0].second.rfind("Error in the XML file:\rMessage: duplicate attribute\rLine: 3   Character: ", 0),
            0u)
      << messages[0].second;
}

TEST_F(StartupTest, ResizeKeepsButtonsAtTheRightEdge) {
  writeSampleSettings();
  ASSERT_TRUE(start());
  MainWindow& main = viewer().main;
  main.lastWidth = 1000;
  main.lastHeight = 700;
  post(kEventSizeWindow, kWinMain, 0);
  int x = 0;
  gtk_container_child_get(GTK_CONTAINER(main.frame.fixed), gadget(Main_Info), "x", &x, nullptr);
  EXPECT_EQ(x, 1000 - 34);
  gtk_container_child_get(GTK_CONTAINER(main.frame.fixed), gadget(Main_Quickcopy), "x", &x, nullptr);
  EXPECT_EQ(x, 1000 - 134);
  int w = 0, h = 0;
  gtk_widget_get_size_request(gadget(MainSplitter), &w, &h);
  EXPECT_EQ(w, 990);
  EXPECT_EQ(h, 662);
}
