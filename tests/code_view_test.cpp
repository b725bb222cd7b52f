// Showing entries: description, code file, title, marks, missing files, history,
// quick copy, drops and the help entry.
#include <sys/stat.h>

#include <fstream>

#include "gui/code_view.h"
#include "gui/index_tree_model.h"
#include "gui/index_view.h"
#include "gui_fixture.h"

namespace {

class CodeViewTest : public ViewerTest {
 protected:
  // A small library: root, one theme with twelve entries (two of them missing),
  // then the help group.
  void writeLibrary(const std::string& extraSettings = "") {
    lib = folder + "lib/";
    mkdir(lib.c_str(), 0755);
    mkdir((lib + "G").c_str(), 0755);
    std::string xml =
        "<?xml version=\"1.0\"?>\n<lib name=\"Test\">Test library v 2026-01-01\n"
        " <theme name=\"Gadgets\">Gadget examples\n";
    for (int i = 0; i < 12; ++i) {
      std::string n = std::to_string(i);
      std::string file = (i == 1 || i == 2) ? "/G/Missing" + n + ".vl" : "/G/File" + n + ".vl";
      xml += "  <e File=\"" + file + "\" theme_de=\"Titel " + n + "\" theme_en=\"Title " + n + "\" theme_fr=\"Titre " +
             n + "\" descript_de=\"Beschreibung " + n + "\" descript_en=\"Description " + n +
             "\" descript_fr=\"Description fr " + n + "\"/>\n";
      if (i != 1 && i != 2)
        std::ofstream(lib + "G/File" + n + ".vl")
            << "; File " << n << "\nProcedure Sum" << n << "(a, b)\n  ProcedureReturn a + b\nEndProcedure\n"
            << "Debug Sum" << n << "(1, 2) ; \"a;b\"\n"
            << "; Link to topic:   Title <" << n << ">\n"
            << "; IDE Options = Veldra\n; EnableUnicode\n";
    }
    xml +=
        " </theme>\n <theme name=\"ZEZ Ovidozo Vivara\">Help\n"
        "  <e File=\"/ViewerHelp.txt\" theme_de=\"Hilfe\" theme_en=\"Help\" theme_fr=\"Aide\" descript_de=\"H\"/>\n"
        " </theme>\n</lib>\n";
    std::ofstream(lib + "VL-LinuxAPI-Toc.xml") << xml;
    std::ofstream(lib + "ViewerHelp.txt") << "Help text\n";
    writeSettings("db-path=" + lib + "VL-LinuxAPI-Toc.xml\nLib-path=" + lib + "\nabout=1\n" + extraSettings);
  }

  // A mouse click on an entry: the selection changes, then the button is released.
  void click(int row) {
    selectRow(viewer().index, row);
    post(kEventGadget, kWinMain, IndexTree, kTypeChange);
    post(kEventGadget, kWinMain, IndexTree, kTypeLeftClick);
  }

  std::vector<std::string> historyItems() {
    std::vector<std::string> items;
    GtkTreeModel* model = gtk_combo_box_get_model(GTK_COMBO_BOX(gadget(Main_CbHistory)));
    GtkTreeIter iter;
    for (bool ok = gtk_tree_model_get_iter_first(model, &iter); ok; ok = gtk_tree_model_iter_next(model, &iter)) {
      gchar* text = nullptr;
      gtk_tree_model_get(model, &iter, 0, &text, -1);
      items.push_back(text ? text : "");
      g_free(text);
    }
    return items;
  }

  bool hasTag(int offset, const char* name) {
    GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(gadget(CodeView)));
    GtkTextTag* tag = gtk_text_tag_table_lookup(gtk_text_buffer_get_tag_table(buffer), name);
    if (!tag) return false;
    GtkTextIter iter;
    gtk_text_buffer_get_iter_at_offset(buffer, &iter, offset);
    return gtk_text_iter_has_tag(&iter, tag);
  }

  std::string lib;
};

TEST_F(CodeViewTest, ClickShowsDescriptionCodeAndTitle) {
  writeLibrary();
  ASSERT_TRUE(start());
  click(2);
  EXPECT_EQ(text(Main_EdDescript), "Beschreibung 0");
  EXPECT_EQ(title(), "Linux VL-ZEZ-Ovidozo-Vivara ~ /G/File0.vl");
  // The footer is hidden, the flags are taken from it.
  EXPECT_EQ(text(CodeView),
            "; File 0\nProcedure Sum0(a, b)\n  ProcedureReturn a + b\nEndProcedure\nDebug Sum0(1, 2) ; \"a;b\"\n"
            "; Link to topic:   Title <0>");
  EXPECT_EQ(app().exeIsUnicode, 1);
  EXPECT_EQ(app().currentCodePath, "/G/File0.vl");
  // Marking is off by default: no tags, the link line stays text.
  EXPECT_FALSE(hasTag(0, "Disable"));
}

TEST_F(CodeViewTest, MarksAndLinkLabels) {
  writeLibrary("CodeMarks=2\n");
  ASSERT_TRUE(start());
  click(2);
  std::string code = text(CodeView);
  EXPECT_TRUE(hasTag(0, "Disable"));                             // "; File 0"
  EXPECT_TRUE(hasTag(code.find("Procedure Sum0"), "BlueBold"));  // keyword
  EXPECT_TRUE(hasTag(code.find("Sum0("), "Function"));           // declared name
  EXPECT_TRUE(hasTag(code.find("Sum0(1"), "FuncCall"));          // its call
  EXPECT_FALSE(hasTag(code.find("Sum0(1"), "Function"));
  EXPECT_TRUE(hasTag(code.find("; \"a;b\""), "Disable"));  // comment after code
  EXPECT_FALSE(hasTag(code.find("ProcedureReturn") + 1, "Function"));
  // The link target became a label in the view (one anchor character).
  GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(gadget(CodeView)));
  GtkTextIter end;
  gtk_text_buffer_get_end_iter(buffer, &end);
  gtk_text_iter_backward_char(&end);
  GtkTextChildAnchor* anchor = gtk_text_iter_get_child_anchor(&end);
  ASSERT_NE(anchor, nullptr);
  GList* widgets = gtk_text_child_anchor_get_widgets(anchor);
  ASSERT_NE(widgets, nullptr);
  EXPECT_STREQ(gtk_label_get_text(GTK_LABEL(widgets->data)), "Title <0>");
  g_list_free(widgets);
}

TEST_F(CodeViewTest, MissingFileReportsOnceThenShowsTheBanner) {
  writeLibrary();
  ASSERT_TRUE(start());
  click(3);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].first, "Linux VL-ZEZ-Ovidozo-Vivara");
  EXPECT_EQ(messages[0].second, "Missing file:\n/G/Missing1.vl\n\nCheck library-path in settings:\n" + lib);
  EXPECT_EQ(text(CodeView), "");
  EXPECT_EQ(app().currentCodePath, "/G/Missing1.vl");
  click(4);
  EXPECT_EQ(messages.size(), 1u);
  EXPECT_EQ(text(CodeView), "*************************\n***   Missing file!   ***\n*************************");
}

TEST_F(CodeViewTest, HistoryKeepsTenDistinctEntriesNewestFirst) {
  writeLibrary();
  ASSERT_TRUE(start());
  click(2);
  click(5);
  click(2);
  EXPECT_EQ(historyItems(), (std::vector<std::string>{"Titel 0", "Titel 3"}));  // titles in the topic language
  // Keyboard selection (change events only) adds nothing.
  selectRow(viewer().index, 6);
  post(kEventGadget, kWinMain, IndexTree, kTypeChange);
  EXPECT_EQ(historyItems().size(), 2u);
  for (int row = 2; row <= 13; ++row) click(row);  // twelve entries, two of them missing
  std::vector<std::string> items = historyItems();
  ASSERT_EQ(items.size(), 10u);
  EXPECT_EQ(items[0], "Titel 11");
  EXPECT_EQ(items[9], "Titel 2");
}

TEST_F(CodeViewTest, ChoosingAHistoryItemShowsThatEntry) {
  writeLibrary();
  ASSERT_TRUE(start());
  click(2);
  click(5);
  gtk_combo_box_set_active(GTK_COMBO_BOX(gadget(Main_CbHistory)), 1);
  drain();
  EXPECT_EQ(selectedRow(viewer().index), 2);
  EXPECT_EQ(app().currentCodePath, "/G/File0.vl");
  EXPECT_EQ(title(), "Linux VL-ZEZ-Ovidozo-Vivara ~ /G/File0.vl");
  // The information window names the file the code view shows, as its copy icon does.
  EXPECT_EQ(text(DbA_File), "/G/File0.vl");
  // The history itself does not change.
  EXPECT_EQ(historyItems(), (std::vector<std::string>{"Titel 3", "Titel 0"}));
}

// Opens the box's list and waits until the toolkit says it is shown: on a busy display
// (the sanitizer run) the list's pointer grab can be refused for a moment.
bool openList(GtkComboBox* box, Viewer& v) {
  for (int attempt = 0; attempt < 50; ++attempt) {
    gtk_combo_box_popup(box);
    drainEvents(v);
    gboolean shown = FALSE;
    g_object_get(box, "popup-shown", &shown, nullptr);
    if (shown) return true;
    g_usleep(20000);
  }
  return false;
}

TEST_F(CodeViewTest, ChoosingTheActiveHistoryItemShowsItsEntryToo) {
  writeLibrary();
  ASSERT_TRUE(start());
  click(2);
  click(5);
  selectRow(viewer().index, 6);
  post(kEventGadget, kWinMain, IndexTree, kTypeChange);
  GtkComboBox* box = GTK_COMBO_BOX(gadget(Main_CbHistory));
  // A list closed without a choice changes nothing.
  ASSERT_TRUE(openList(box, viewer()));
  gtk_combo_box_popdown(box);
  drain();
  EXPECT_EQ(gtk_combo_box_get_active(box), 0);
  EXPECT_EQ(app().currentCodePath, "/G/File4.vl");
  ASSERT_TRUE(openList(box, viewer()));
  gtk_combo_box_set_active(box, 0);
  gtk_combo_box_popdown(box);
  drain();
  EXPECT_EQ(selectedRow(viewer().index), 5);
  EXPECT_EQ(app().currentCodePath, "/G/File3.vl");
  EXPECT_EQ(gtk_combo_box_get_active(box), 0);
}

TEST_F(CodeViewTest, LanguageKeySwitchesTheShownDescriptionAtOnce) {
  writeLibrary();
  ASSERT_TRUE(start());
  click(2);
  click(2);  // into the history box
  ASSERT_EQ(text(Main_EdDescript), "Beschreibung 0");
  post(kEventMenu, kWinMain, kKeyF6);
  EXPECT_EQ(text(Main_EdDescript), "Description 0");
  EXPECT_EQ(historyItems(), (std::vector<std::string>{"Title 0"}));  // the titles follow too
  EXPECT_EQ(text(CodeView).rfind("; File 0", 0), 0u);
}

TEST_F(CodeViewTest, QuickCopyCopiesTheCodeOnlyWhenThereIsSome) {
  writeLibrary();
  ASSERT_TRUE(start());
  GtkClipboard* clipboard = gtk_clipboard_get(GDK_SELECTION_CLIPBOARD);
  gtk_clipboard_set_text(clipboard, "before", -1);
  post(kEventGadget, kWinMain, Main_Quickcopy, kTypeLeftClick);  // root row: empty code view
  gchar* held = gtk_clipboard_wait_for_text(clipboard);
  EXPECT_STREQ(held, "before");
  g_free(held);
  click(2);
  post(kEventGadget, kWinMain, Main_Quickcopy, kTypeLeftClick);
  held = gtk_clipboard_wait_for_text(clipboard);
  EXPECT_EQ(std::string(held ? held : ""), text(CodeView));
  g_free(held);
}

TEST_F(CodeViewTest, DroppedFiles) {
  writeLibrary();
  ASSERT_TRUE(start());
  click(2);
  std::ofstream(folder + "notes.txt") << "text\n";
  receiveDroppedFiles(viewer().code, folder + "notes.txt");
  drain();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].second, "File type 'txt' not supported!\nNot loaded!");
  EXPECT_EQ(selectedRow(viewer().index), 2);  // nothing else changed
  std::ofstream(folder + "x.vlf") << "Debug 1\n";
  receiveDroppedFiles(viewer().code, folder + "x.vlf\n" + folder + "notes.txt");
  drain();
  EXPECT_EQ(text(CodeView), "Debug 1");
  EXPECT_EQ(text(Main_EdDescript), "Extern file ...");
  EXPECT_EQ(selectedRow(viewer().index), -1);
  EXPECT_EQ(title(), "Linux VL-ZEZ-Ovidozo-Vivara ~ x.vlf");
  EXPECT_EQ(app().currentCodePath, "/G/File0.vl");
}

TEST_F(CodeViewTest, DraggedEntriesAreFileUris) {
  writeLibrary();
  // A library path that takes a detour still gives the plain absolute path.
  writeSettings("db-path=" + lib + "VL-LinuxAPI-Toc.xml\nLib-path=" + lib + "G/../\nabout=1\n");
  ASSERT_TRUE(start());
  click(2);
  EXPECT_EQ(entryDragUri(viewer().index, viewer().app), "file://" + lib + "G/File0.vl");
  click(3);  // its file is missing
  EXPECT_EQ(entryDragUri(viewer().index, viewer().app), "");
  click(1);  // a theme has no file
  EXPECT_EQ(entryDragUri(viewer().index, viewer().app), "");
}

TEST_F(CodeViewTest, HelpKeyShowsTheHelpEntry) {
  writeLibrary();
  ASSERT_TRUE(start());
  post(kEventMenu, kWinMain, kKeyF1);
  EXPECT_EQ(selectedRow(viewer().index), app().index.helpEntryIndex);
  EXPECT_EQ(text(CodeView), "Help text");
}

TEST_F(CodeViewTest, F5TogglesWrapAndDoubleClickTogglesANode) {
  writeLibrary();
  ASSERT_TRUE(start());
  GtkTextView* code = GTK_TEXT_VIEW(gadget(CodeView));
  post(kEventMenu, kWinMain, kKeyF5);
  EXPECT_EQ(gtk_text_view_get_wrap_mode(code), GTK_WRAP_WORD);
  post(kEventMenu, kWinMain, kKeyF5);
  EXPECT_EQ(gtk_text_view_get_wrap_mode(code), GTK_WRAP_NONE);
  GtkTreeView* tree = GTK_TREE_VIEW(gadget(IndexTree));
  GtkTreePath* theme = indexTreeModelPath(viewer().index.model, 1);
  selectRow(viewer().index, 1);
  post(kEventGadget, kWinMain, IndexTree, kTypeLeftDoubleClick);
  EXPECT_FALSE(gtk_tree_view_row_expanded(tree, theme));
  post(kEventGadget, kWinMain, IndexTree, kTypeLeftDoubleClick);
  EXPECT_TRUE(gtk_tree_view_row_expanded(tree, theme));
  EXPECT_EQ(selectedRow(viewer().index), 1);
  gtk_tree_path_free(theme);
}

// The wheel as the code view receives it.
gboolean wheel(GtkWidget* view, GdkEventScroll* scroll) {
  gboolean handled = FALSE;
  g_signal_emit_by_name(view, "scroll-event", scroll, &handled);
  return handled;
}

TEST_F(CodeViewTest, CtrlWheelZoomsWithinTheTable) {
  writeLibrary();
  ASSERT_TRUE(start());
  GdkEventScroll scroll = {};
  scroll.type = GDK_SCROLL;
  scroll.state = GDK_CONTROL_MASK;
  scroll.direction = GDK_SCROLL_UP;
  for (int i = 0; i < 8; ++i) wheel(gadget(CodeView), &scroll);
  EXPECT_EQ(app().zoomStep, 7);
  scroll.direction = GDK_SCROLL_DOWN;
  for (int i = 0; i < 9; ++i) wheel(gadget(CodeView), &scroll);
  EXPECT_EQ(app().zoomStep, 0);
  // Without Control the view scrolls as usual.
  scroll.state = 0;
  EXPECT_FALSE(wheel(gadget(CodeView), &scroll));
  PangoFontDescription* font =
      pango_font_description_copy(pango_context_get_font_description(gtk_widget_get_pango_context(gadget(CodeView))));
  EXPECT_NEAR(pango_font_description_get_size(font) / double(PANGO_SCALE), 10 * 0.8, 0.05);
  pango_font_description_free(font);
}

}  // namespace

namespace {

int labelsShown() {
  int n = 0;
  for (const CodeLink& link : viewer().code.codeLinks) n += link.shown;
  return n;
}

// A label is made as its line comes into view and taken away once the view is far
// from it, so there are never more than the view's few.
TEST_F(ViewerTest, LinkLabelsAppearAsTheirLinesComeIntoView) {
  std::string lib = folder;
  std::string code;
  for (int i = 0; i < 3000; ++i)
    code += i % 100 == 0 ? "; Link to topic:   Topic " + std::to_string(i) + "\n" : "x = 1\n";
  std::ofstream(lib + "Long.vl") << code;
  std::ofstream(lib + "db.xml") << "<?xml version=\"1.0\"?>\n<r n=\"R\">R\n <t n=\"T\">T\n"
                                   "  <e File=\"/Long.vl\" theme_de=\"Long\"/>\n </t>\n</r>\n";
  writeSettings("db-path=" + lib + "db.xml\nLib-path=" + lib + "\nabout=1\nCodeMarks=1\n");
  ASSERT_TRUE(start());
  gtk_window_resize(GTK_WINDOW(topWindow(kWinMain)), 800, 600);
  selectRow(viewer().index, 2);
  post(kEventGadget, kWinMain, IndexTree, kTypeChange);
  const std::vector<CodeLink>& links = viewer().code.codeLinks;
  ASSERT_EQ(links.size(), 30u);
  EXPECT_TRUE(links.front().shown);
  EXPECT_FALSE(links.back().shown);
  EXPECT_LT(labelsShown(), 30);
  // Every link target is out of the text; one anchor character stands in for each.
  EXPECT_EQ(text(CodeView).find("Topic 2900"), std::string::npos);
  GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(gadget(CodeView)));
  GtkTextIter last;  // the line of the last link
  gtk_text_buffer_get_iter_at_offset(buffer, &last, links.back().offset);
  gtk_text_view_scroll_to_iter(GTK_TEXT_VIEW(gadget(CodeView)), &last, 0, TRUE, 0, 0.5);
  for (int i = 0; i < 50 && !links.back().shown; ++i) {
    drain();
    g_usleep(10000);
  }
  EXPECT_TRUE(links.back().shown);
  EXPECT_FALSE(links.front().shown);
  EXPECT_EQ(labelsShown(), static_cast<int>(viewer().code.labelled.size()));
  EXPECT_LT(labelsShown(), 10);
  GtkTextIter at;
  gtk_text_buffer_get_iter_at_child_anchor(buffer, &at, links.back().anchor);
  EXPECT_EQ(gtk_text_iter_get_offset(&at), links.back().offset);
  GList* children = gtk_container_get_children(GTK_CONTAINER(gadget(CodeView)));
  EXPECT_EQ(static_cast<int>(g_list_length(children)), labelsShown());
  g_list_free(children);
}

}  // namespace
