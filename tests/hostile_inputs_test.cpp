// Files nobody should give the viewer, given to it anyway: huge, deep, binary or
// garbage. Whatever it reads, it shows the content or its usual message and runs on.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "code_generator.h"
#include "core/app/text_cut.h"
#include "core/codeview/code_file.h"
#include "core/codeview/highlighter.h"
#include "core/database/index_builder.h"
#include "core/text/utf8.h"
#include "gui/code_view.h"
#include "gui/index_tree_model.h"
#include "gui/index_view.h"
#include "gui_fixture.h"

namespace {

void writeBytes(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

// A child process that answers every HTTP request on a loopback port with `body`.
struct FixedBodyServer {
  bool start(const std::string& body) {
    int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (bind(s, reinterpret_cast<sockaddr*>(&address), length) != 0 || listen(s, 8) != 0 ||
        getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) != 0)
      return false;
    port = ntohs(address.sin_port);
    pid = fork();
    if (pid == 0) serve(s, body);
    close(s);
    return pid > 0;
  }
  [[noreturn]] static void serve(int s, const std::string& body) {
    signal(SIGPIPE, SIG_IGN);  // the viewer hangs up once it has had enough
    std::string answer = "HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
    for (;;) {
      int c = accept(s, nullptr, nullptr);
      if (c < 0) _exit(0);
      char request[4096];
      if (read(c, request, sizeof request) > 0) {
        for (size_t done = 0; done < answer.size();) {
          ssize_t n = write(c, answer.data() + done, answer.size() - done);
          if (n <= 0) break;
          done += static_cast<size_t>(n);
        }
      }
      close(c);
    }
  }
  void stop() {
    if (pid <= 0) return;
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    pid = 0;
  }
  ~FixedBodyServer() { stop(); }
  std::string url() const { return "http://127.0.0.1:" + std::to_string(port) + "/Linux/VL-Linux-API-Version.ini"; }

  int port = 0;
  pid_t pid = 0;
};

class HostileInputsTest : public ViewerTest {
 protected:
  // A library folder whose database lists one entry per code file, in order, below a
  // root and one theme: entry i is tree row 2 + i.
  void writeLibrary(const std::vector<std::string>& codeFiles, const std::string& extra = "") {
    lib = folder + "lib/";
    mkdir(lib.c_str(), 0755);
    std::string xml = "<?xml version=\"1.0\"?>\n<lib name=\"T\">Test library v 2026-01-01\n <g name=\"G\">Group\n";
    for (const std::string& file : codeFiles)
      xml += "  <e File=\"/" + file + "\" theme_de=\"" + file + "\" descript_de=\"D\"/>\n";
    xml += " </g>\n</lib>\n";
    writeBytes(lib + "VL-LinuxAPI-Toc.xml", xml);
    useDatabase(lib + "VL-LinuxAPI-Toc.xml", extra);
  }
  void useDatabase(const std::string& path, const std::string& extra = "") {
    writeSettings("db-path=" + path + "\nLib-path=" + folder + "lib/\nabout=1\n" + extra);
  }
  void showEntry(int entry) {
    selectRow(viewer().index, 2 + entry);
    post(kEventGadget, kWinMain, IndexTree, kTypeChange);
  }
  GtkTextBuffer* codeBuffer() { return gtk_text_view_get_buffer(GTK_TEXT_VIEW(gadget(CodeView))); }
  int codeLines() { return gtk_text_buffer_get_line_count(codeBuffer()); }
  int codeChars() { return gtk_text_buffer_get_char_count(codeBuffer()); }
  // Whether any mark of the highlighter lies on or after the line.
  bool markedFrom(int line) {
    GtkTextIter iter;
    gtk_text_buffer_get_iter_at_line(codeBuffer(), &iter, line);
    return gtk_text_iter_forward_to_tag_toggle(&iter, nullptr);
  }
  // The viewer still answers: a click on the root row shows the root's text.
  void expectStillRunning() {
    selectRow(viewer().index, 0);
    post(kEventGadget, kWinMain, IndexTree, kTypeChange);
    EXPECT_EQ(selectedRow(viewer().index), 0);
    EXPECT_EQ(text(Main_EdDescript), app().index.topic(0).text);
    EXPECT_EQ(app().quitRequested, 0);
  }

  std::string lib;
};

// The marks go in a screen first, then those near a scrolled view, the rest in idle
// steps: once all steps ran, every character of the buffer has exactly the
// highlighter's tags, and every link in view its anchor. A file with more marks
// than the view keeps has them exactly so around the view, wherever it was moved,
// and none elsewhere.
TEST_F(HostileInputsTest, MarksAppliedInStepsAreTheHighlightersExactly) {
  writeLibrary({"small.vl", "big.vl"}, "CodeMarks=2\n");
  writeBytes(lib + "small.vl", generateCodeFileBytes(2000, 7));
  writeBytes(lib + "big.vl", generateCodeFileBytes(20000, 7));
  ASSERT_TRUE(start());
  GtkAdjustment* scroll = gtk_scrolled_window_get_vadjustment(GTK_SCROLLED_WINDOW(viewer().code.codeScroller));
  const CodeMarking& marking = viewer().code.marking;
  for (const char* name : {"small.vl", "big.vl"}) {
    SCOPED_TRACE(name);
    // Loaded here, the marking is still going on: a copy is the text whatever
    // anchors are made.
    ASSERT_TRUE(loadCodeFile(viewer().code, app(), std::string("/") + name, false));
    ASSERT_TRUE(codeMarksPending(viewer().code));
    std::string early = codeText(viewer().code);
    while (gtk_events_pending()) gtk_main_iteration();  // the marks, then the view measures its lines
    EXPECT_FALSE(codeMarksPending(viewer().code));
    EXPECT_EQ(codeText(viewer().code), early);
    CodeFileText file;
    ASSERT_TRUE(readCodeFile(lib + name, &file));
    HighlightResult marks = computeHighlight(file.text, 2);
    ASSERT_GT(marks.links.size(), 10u);
    // The file's characters as the buffer holds them: each link target is one anchor.
    std::vector<int> fileChar;  // by buffer offset; -1 for an anchor
    const auto chars = decodeUtf8(file.text, 0xFFFD);
    const size_t fileChars = chars.size();
    for (size_t c = 0, link = 0; c < fileChars;) {
      bool anchor = link < marks.links.size() && static_cast<int>(c) == marks.links[link].start;
      fileChar.push_back(anchor ? -1 : static_cast<int>(c));
      c = anchor ? static_cast<size_t>(marks.links[link++].end) : c + 1;
    }
    ASSERT_EQ(codeChars(), static_cast<int>(fileChar.size()));
    std::vector<uint8_t> want(fileChars, 0);
    for (const TagSpan& span : marks.spans)
      for (int c = span.start; c < span.end; ++c) want[c] |= static_cast<uint8_t>(1u << int(span.tag));
    GtkTextIter at;
    for (size_t i = 0; i < fileChar.size(); ++i) {
      gtk_text_buffer_get_iter_at_offset(codeBuffer(), &at, static_cast<int>(i));
      bool anchor = gtk_text_iter_get_child_anchor(&at) != nullptr;
      if (fileChar[i] < 0) {  // a link: its anchor, or the placeholder while its line was never near the view
        ASSERT_TRUE(anchor || gtk_text_iter_get_char(&at) == 0xFFFC) << "link at buffer offset " << i;
        continue;
      }
      ASSERT_FALSE(anchor) << "at buffer offset " << i;
      ASSERT_EQ(gtk_text_iter_get_char(&at), chars[fileChar[i]]) << "at buffer offset " << i;
    }
    // From toggle to toggle of any tag: the tags in force over each stretch, which
    // are the highlighter's where the view keeps marks and none elsewhere.
    GtkTextTagTable* table = gtk_text_buffer_get_tag_table(codeBuffer());
    GtkTextTag* tags[kTagCount];
    for (int t = 0; t < kTagCount; ++t) tags[t] = gtk_text_tag_table_lookup(table, tagName(TagId(t)));
    int linksInView = 0;
    auto expectExactAroundView = [&] {
      std::vector<uint8_t> got(fileChar.size(), 0);
      gtk_text_buffer_get_start_iter(codeBuffer(), &at);
      uint8_t inForce = 0;
      for (int from = 0; !gtk_text_iter_is_end(&at);) {
        for (int t = 0; t < kTagCount; ++t) {
          if (gtk_text_iter_begins_tag(&at, tags[t])) inForce |= static_cast<uint8_t>(1u << t);
          if (gtk_text_iter_ends_tag(&at, tags[t])) inForce &= static_cast<uint8_t>(~(1u << t));
        }
        gtk_text_iter_forward_to_tag_toggle(&at, nullptr);
        int to = gtk_text_iter_get_offset(&at);
        for (int i = from; i < to; ++i) got[i] = inForce;
        from = to;
      }
      // The buffer offsets the kept marks cover alone, and those they reach.
      int exactFrom = 0, exactTo = codeChars(), reachFrom = 0, reachTo = codeChars();
      if (!marking.spans.empty()) {
        const std::vector<TagSpan>& placed = marking.spans;
        SpanRange kept = marking.window;
        ASSERT_LT(kept.first, kept.end);
        reachFrom = exactFrom = placed[kept.first].start;
        for (size_t i = 0; i < kept.first; ++i) exactFrom = std::max(exactFrom, placed[i].end);
        if (kept.end < placed.size()) exactTo = placed[kept.end].start;
        reachTo = 0;
        for (size_t i = kept.first; i < kept.end; ++i) reachTo = std::max(reachTo, placed[i].end);
        GtkTextIter top;
        gtk_text_view_get_line_at_y(GTK_TEXT_VIEW(gadget(CodeView)), &top,
                                    static_cast<int>(gtk_adjustment_get_value(scroll)), nullptr);
        EXPECT_GE(gtk_text_iter_get_offset(&top), exactFrom) << "the visible part is marked";
        EXPECT_LT(gtk_text_iter_get_offset(&top), exactTo);
      }
      int wrong = 0;
      for (int i = 0; i < static_cast<int>(fileChar.size()); ++i) {
        uint8_t expected = i >= exactFrom && i < exactTo && fileChar[i] >= 0 ? want[fileChar[i]] : got[i];
        if (i < reachFrom || i >= reachTo) expected = 0;
        if (got[i] != expected && wrong++ == 0) ADD_FAILURE() << "first wrong tags at buffer offset " << i;
      }
      EXPECT_EQ(wrong, 0);
      // The links on the lines in view have their labels.
      GdkRectangle shown;
      gtk_text_view_get_visible_rect(GTK_TEXT_VIEW(gadget(CodeView)), &shown);
      GtkTextIter first, last;
      gtk_text_view_get_line_at_y(GTK_TEXT_VIEW(gadget(CodeView)), &first, shown.y, nullptr);
      gtk_text_view_get_line_at_y(GTK_TEXT_VIEW(gadget(CodeView)), &last, shown.y + shown.height, nullptr);
      for (const CodeLink& link : viewer().code.codeLinks) {
        if (link.offset < gtk_text_iter_get_offset(&first) || link.offset > gtk_text_iter_get_offset(&last)) continue;
        ++linksInView;
        EXPECT_TRUE(link.anchor && link.shown) << "link at " << link.offset;
      }
    };
    expectExactAroundView();
    // Moved to the middle, the view has its marks there at once; those at the top
    // come off in the steps.
    GtkTextIter middle;
    gtk_text_buffer_get_iter_at_line(codeBuffer(), &middle, codeLines() / 2);
    gtk_text_view_scroll_to_iter(GTK_TEXT_VIEW(gadget(CodeView)), &middle, 0, TRUE, 0, 0);
    while (viewer().code.followIdle) gtk_main_iteration_do(FALSE);
    if (!marking.spans.empty()) {
      // The view's first line has its marks, and the top still has its own: the
      // view may have settled in more than one move, each adding a range.
      GtkTextIter top;
      gtk_text_view_get_line_at_y(GTK_TEXT_VIEW(gadget(CodeView)), &top,
                                  static_cast<int>(gtk_adjustment_get_value(scroll)), nullptr);
      int topOffset = gtk_text_iter_get_offset(&top);
      auto first = std::lower_bound(marking.spans.begin(), marking.spans.end(), topOffset,
                                    [](const TagSpan& s, int at) { return s.start < at; });
      size_t inView = static_cast<size_t>(first - marking.spans.begin());
      ASSERT_GE(marking.applied.size(), 2u);
      EXPECT_EQ(marking.applied.front().first, 0u);
      EXPECT_TRUE(std::any_of(marking.applied.begin() + 1, marking.applied.end(),
                              [&](const SpanRange& r) { return r.first <= inView && inView < r.end; }));
    }
    while (codeMarksPending(viewer().code)) gtk_main_iteration_do(FALSE);
    expectExactAroundView();
    // Back at the top, the marks around the middle come off and those of the top
    // go on again.
    gtk_adjustment_set_value(scroll, 0);
    while (codeMarksPending(viewer().code)) gtk_main_iteration_do(FALSE);
    expectExactAroundView();
    EXPECT_GT(linksInView, 0);
  }
}

// Ctrl+End right after a long file is shown, before the view has measured its
// lines, shows the last line, and it stays in view while the rest are measured;
// Ctrl+Home then shows the first.
TEST_F(HostileInputsTest, CtrlEndShowsTheLastLineOfALongFileAtOnce) {
  std::string code;
  for (int i = 0; i < 200000; ++i) code += "x = " + std::to_string(i) + "\n";
  writeLibrary({"long.vl"}, "CodeMarks=2\n");
  writeBytes(lib + "long.vl", code);
  ASSERT_TRUE(start());
  GtkTextView* view = GTK_TEXT_VIEW(gadget(CodeView));
  auto inView = [&](bool last) {
    GtkTextIter at;
    if (last) {
      gtk_text_buffer_get_end_iter(codeBuffer(), &at);
    } else {
      gtk_text_buffer_get_start_iter(codeBuffer(), &at);
    }
    GdkRectangle shown;
    gtk_text_view_get_visible_rect(view, &shown);
    int y = 0, height = 0;
    gtk_text_view_get_line_yrange(view, &at, &y, &height);
    return y >= shown.y && y + height <= shown.y + shown.height;
  };
  ASSERT_TRUE(loadCodeFile(viewer().code, app(), "/long.vl", false));
  gdk_window_process_all_updates();
  g_signal_emit_by_name(view, "move-cursor", GTK_MOVEMENT_BUFFER_ENDS, 1, FALSE);
  while (gtk_events_pending()) gtk_main_iteration();  // every line measured
  EXPECT_TRUE(inView(true));
  g_signal_emit_by_name(view, "move-cursor", GTK_MOVEMENT_BUFFER_ENDS, -1, FALSE);
  while (gtk_events_pending()) gtk_main_iteration();
  EXPECT_TRUE(inView(false));
}

// Lines so dense with marks that the view's share of them covers a few dozen
// lines only: those are the lines in view.
TEST_F(HostileInputsTest, DenseMarksAreKeptOnTheLinesInView) {
  std::string line;
  for (int i = 0; i < 60; ++i) line += "If ";
  std::string dense;
  for (int i = 0; i < 3000; ++i) dense += line + "\n";
  writeLibrary({"dense.vl"}, "CodeMarks=2\n");
  writeBytes(lib + "dense.vl", dense);
  ASSERT_TRUE(start());
  showEntry(0);
  while (gtk_events_pending()) gtk_main_iteration();
  GtkTextView* view = GTK_TEXT_VIEW(gadget(CodeView));
  GtkTextIter at;
  gtk_text_buffer_get_iter_at_line(codeBuffer(), &at, 2000);
  gtk_text_view_scroll_to_iter(view, &at, 0, TRUE, 0, 0);
  while (codeMarksPending(viewer().code)) gtk_main_iteration_do(FALSE);
  GdkRectangle shown;
  gtk_text_view_get_visible_rect(view, &shown);
  gtk_text_view_get_line_at_y(view, &at, shown.y, nullptr);
  const int top = gtk_text_iter_get_line(&at);
  EXPECT_GT(top, 1900);
  for (int line = top; line < top + 30; ++line) {
    gtk_text_buffer_get_iter_at_line(codeBuffer(), &at, line);
    EXPECT_TRUE(gtk_text_iter_begins_tag(&at, nullptr)) << "line " << line;
  }
  gtk_text_buffer_get_start_iter(codeBuffer(), &at);
  EXPECT_FALSE(gtk_text_iter_begins_tag(&at, nullptr)) << "nothing marked far above";
}

TEST_F(HostileInputsTest, HugeCodeFilesLoadWholeAndMarked) {
  std::string big = generateCodeFileBytes(500000, 7);
  ASSERT_GT(big.size(), 15u << 20);
  writeLibrary({"big.vl"}, "CodeMarks=2\nSourceInTitle=0\n");
  writeBytes(lib + "big.vl", big);
  ASSERT_TRUE(start());
  showEntry(0);
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(codeLines(), 500000);  // the footer is hidden
  EXPECT_TRUE(markedFrom(0));
  EXPECT_FALSE(codeMarksPending(viewer().code));
  // Its marks follow the view to the end, where Ctrl+End takes it: the view moves
  // while it lays out the lines it shows, and must not see the buffer change then.
  g_signal_emit_by_name(gadget(CodeView), "move-cursor", GTK_MOVEMENT_BUFFER_ENDS, 1, FALSE);
  while (codeMarksPending(viewer().code)) gtk_main_iteration_do(FALSE);
  EXPECT_TRUE(markedFrom(499990));
  EXPECT_EQ(title(), "Linux VL-ZEZ-Ovidozo-Vivara ~ big.vl");
  expectStillRunning();
}

// Lines the text layout would take minutes over: cut, unmarked, with a note; the
// lines around them are shown and marked as usual.
// With a line cut, the marks are found in the file's own text, and the shown text
// is given back as it goes into the buffer: the buffer still holds all of it.
TEST_F(HostileInputsTest, TextAfterACutLineGoesInWhole) {
  std::string body = std::string(20000, '#') + "\n";
  for (int i = 0; i < 40000; ++i) body += "x = " + std::to_string(i) + "\n";
  writeLibrary({"cut.vl"}, "CodeMarks=2\n");
  writeBytes(lib + "cut.vl", body);
  ASSERT_TRUE(start());
  showEntry(0);
  CodeFileText file;
  ASSERT_TRUE(readCodeFile(lib + "cut.vl", &file));
  EXPECT_EQ(codeText(viewer().code), cutLongCodeLines(file.text).text);
}

TEST_F(HostileInputsTest, OverlongLinesAreCutUnmarkedWithANote) {
  std::string combining = "a";
  for (int i = 0; i < 100000; ++i) combining += "\xCC\x81";
  struct Line {
    std::string text;
    size_t chars;
    int shown;
  };
  const int limit = static_cast<int>(kCodeLineLimit);
  const std::vector<Line> lines = {
      {std::string(100000, '#'), 100000, limit},
      {std::string(200000, '\t'), 200000, limit / 8},  // a tab counts as eight
      {combining, 100001, limit},
      {"Debug \"" + std::string(1 << 20, 'x') + "\" ; end", (1 << 20) + 14, limit},
  };
  std::vector<std::string> files;
  for (size_t i = 0; i < lines.size(); ++i) files.push_back("wide" + std::to_string(i) + ".vl");
  writeLibrary(files, "CodeMarks=2\n");
  for (size_t i = 0; i < lines.size(); ++i)
    writeBytes(lib + files[i], "\xEF\xBB\xBFIf\n" + lines[i].text + "\nEndIf \"s\"\n");
  ASSERT_TRUE(start());
  for (size_t i = 0; i < lines.size(); ++i) {
    SCOPED_TRACE(files[i]);
    showEntry(static_cast<int>(i));
    std::string note = longLineNote(lines[i].chars);
    ASSERT_EQ(codeLines(), 3);
    int noteChars = static_cast<int>(utf8CharCount(note));
    EXPECT_EQ(codeChars(), 3 + lines[i].shown + noteChars + 1 + 9);
    std::string shown = text(CodeView);
    EXPECT_EQ(shown.substr(shown.size() - 10 - note.size(), note.size()), note);
    GtkTextIter iter;
    gtk_text_buffer_get_iter_at_line(codeBuffer(), &iter, 0);
    EXPECT_TRUE(gtk_text_iter_begins_tag(&iter, nullptr)) << "If is marked";
    EXPECT_TRUE(gtk_text_iter_forward_to_tag_toggle(&iter, nullptr));  // If ends
    EXPECT_TRUE(gtk_text_iter_forward_to_tag_toggle(&iter, nullptr));
    EXPECT_EQ(gtk_text_iter_get_line(&iter), 2) << "nothing marked on the cut line";
  }
  expectStillRunning();
}

// No byte sequence reaches GTK as anything but valid UTF-8: NULs end lines, broken
// UTF-8 and a cut UTF-16 unit become "?".
TEST_F(HostileInputsTest, BinaryAndBrokenEncodingsShowAsText) {
  std::string binary("a\0b\x01\xFF\x80z", 7);
  std::string badUtf8 = "\xEF\xBB\xBFok \xC3\x28 \xED\xA0\x80 \xF8\x88\x80\x80\x80 \xE2\x82";
  std::string cutUtf16("\xFF\xFEh\0i\0\x00\xD8x", 9);  // a lone high surrogate, half a unit
  writeLibrary({"bin.vl", "bad.vl", "cut.vl"});
  writeBytes(lib + "bin.vl", binary);
  writeBytes(lib + "bad.vl", badUtf8);
  writeBytes(lib + "cut.vl", cutUtf16);
  ASSERT_TRUE(start());
  showEntry(0);
  EXPECT_EQ(text(CodeView), "a\nb\x01\xC3\xBF\xC2\x80z");
  showEntry(1);
  EXPECT_EQ(text(CodeView), "ok ?( ??? ????? ??");
  showEntry(2);
  EXPECT_EQ(text(CodeView), "hi??");
  EXPECT_TRUE(messages.empty());
  expectStillRunning();
}

TEST_F(HostileInputsTest, DroppedBinaryFilesLoadOrAreRefused) {
  writeLibrary({"a.vl"});
  writeBytes(lib + "a.vl", "Debug 1\n");
  std::string junk(4096, '\0');
  for (size_t i = 0; i < junk.size(); ++i) junk[i] = static_cast<char>(i * 131);
  writeBytes(folder + "junk.vl", junk);
  writeBytes(folder + "junk.bin", junk);
  ASSERT_TRUE(start());
  showEntry(0);
  receiveDroppedFiles(viewer().code, folder + "junk.bin");
  drain();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].second, "File type 'bin' not supported!\nNot loaded!");
  EXPECT_EQ(text(CodeView), "Debug 1");
  receiveDroppedFiles(viewer().code, folder + "junk.vl\n" + folder + "junk.bin");
  drain();
  EXPECT_EQ(messages.size(), 1u);
  EXPECT_EQ(text(Main_EdDescript), "Extern file ...");
  EXPECT_TRUE(g_utf8_validate(text(CodeView).c_str(), -1, nullptr));
  EXPECT_GT(codeLines(), 10);  // every NUL ends a line
  expectStillRunning();
}

// A dropped fifo is refused at once like a missing file, never waited on; a sparse
// 64 GiB file is refused with its size rather than read.
TEST_F(HostileInputsTest, DroppedFifoAndGiantAreRefused) {
  writeLibrary({"a.vl"});
  ASSERT_EQ(mkfifo((folder + "pipe.vl").c_str(), 0644), 0);
  writeBytes(folder + "giant.vl", "");
  ASSERT_EQ(truncate((folder + "giant.vl").c_str(), off_t{64} << 30), 0);
  ASSERT_TRUE(start());
  receiveDroppedFiles(viewer().code, folder + "pipe.vl");
  drain();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].second.rfind("Missing file:\n" + folder + "pipe.vl", 0), 0u);
  receiveDroppedFiles(viewer().code, folder + "giant.vl");
  drain();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[1].second.rfind("File too large to show (64.0 GiB):\n" + folder + "giant.vl", 0), 0u);
  expectStillRunning();
}

// A million elements of the smallest kind: every one is a row.
TEST_F(HostileInputsTest, MillionElementDatabaseLoads) {
  std::string xml = "<r a=\"1\">Root text v 1.0\n";
  xml.reserve(4u << 20);
  for (int i = 0; i < 999999; ++i) xml += "<e/>";
  xml += "</r>";
  mkdir((folder + "lib").c_str(), 0755);
  writeBytes(folder + "lib/db.xml", xml);
  useDatabase(folder + "lib/db.xml");
  ASSERT_TRUE(start());
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(app().index.rowCount(), 1000000u);
  EXPECT_EQ(app().index.databaseVersion, "1.0");
  selectRow(viewer().index, 999999);
  post(kEventGadget, kWinMain, IndexTree, kTypeChange);
  EXPECT_EQ(selectedRow(viewer().index), 999999);
  expectStillRunning();
}

// Each element inside the one before, all the way down: the tree shows every level.
TEST_F(HostileInputsTest, HundredThousandDeepNestingLoads) {
  const int depth = 100000;
  std::string xml;
  xml.reserve(size_t{depth} * 16);
  for (int i = 0; i < depth; ++i) xml += "<e g=\"n\">";
  for (int i = 0; i < depth; ++i) xml += "</e>";
  mkdir((folder + "lib").c_str(), 0755);
  writeBytes(folder + "lib/db.xml", xml);
  useDatabase(folder + "lib/db.xml");
  ASSERT_TRUE(start());
  EXPECT_TRUE(messages.empty());
  ASSERT_EQ(app().index.rowCount(), static_cast<size_t>(depth));
  EXPECT_EQ(app().index.level(depth - 1), depth - 1);
  selectRow(viewer().index, depth - 1);
  post(kEventGadget, kWinMain, IndexTree, kTypeChange);
  EXPECT_EQ(selectedRow(viewer().index), depth - 1);
  expectStillRunning();
}

// Rows deeper than the tree shows sit at its deepest level, in their order, so
// every row keeps its number; rows after the deep part are placed as before.
TEST(IndexTreeDepthTest, DeepRowsAreShownFlatWithTheirNumbers) {
  IndexModel index;
  for (int level = 0; level < 300; ++level) appendTopic(&index, level, "deep", TopicNode{});
  appendTopic(&index, 1, "theme", TopicNode{});
  appendTopic(&index, 2, "", TopicNode{});
  GtkTreeModel* model = indexTreeModelNew(&index);
  // A walk in tree order meets the rows in number order.
  std::vector<int> order;
  int deepest = 0;
  GtkTreeIter iter;
  bool more = gtk_tree_model_get_iter_first(model, &iter);
  while (more) {
    int row = indexTreeModelRow(&iter);
    order.push_back(row);
    GtkTreePath* path = gtk_tree_model_get_path(model, &iter);
    deepest = std::max(deepest, gtk_tree_path_get_depth(path));
    GtkTreeIter back;
    EXPECT_TRUE(gtk_tree_model_get_iter(model, &back, path));
    EXPECT_EQ(indexTreeModelRow(&back), row);
    gtk_tree_path_free(path);
    GtkTreeIter next;
    if (gtk_tree_model_iter_children(model, &next, &iter)) {
      iter = next;
      continue;
    }
    for (;;) {
      next = iter;
      if (gtk_tree_model_iter_next(model, &next)) {
        iter = next;
        break;
      }
      if (!(more = gtk_tree_model_iter_parent(model, &next, &iter))) break;
      iter = next;
    }
  }
  std::vector<int> expected(index.rowCount());
  for (size_t i = 0; i < expected.size(); ++i) expected[i] = static_cast<int>(i);
  EXPECT_EQ(order, expected);
  EXPECT_EQ(deepest, kIndexMaxShownLevel + 1);
  // Rows 99..299 are siblings below row 98; the theme after them is a child of the root.
  GtkTreePath* path = indexTreeModelPath(model, 299);
  EXPECT_EQ(gtk_tree_path_get_indices(path)[kIndexMaxShownLevel], 299 - kIndexMaxShownLevel);
  gtk_tree_path_free(path);
  path = indexTreeModelPath(model, 301);
  gchar* where = gtk_tree_path_to_string(path);
  EXPECT_STREQ(where, "0:1:0");
  g_free(where);
  gtk_tree_path_free(path);
  g_object_unref(model);
}

// Titles, descriptions and the group text of a megabyte each.
TEST_F(HostileInputsTest, MegabyteAttributeValuesAreShown) {
  std::string mega(1 << 20, 'w');
  mkdir((folder + "lib").c_str(), 0755);
  std::string xml = "<r a=\"" + mega + "\">v v v 2\n <g name=\"" + mega + "\">G\n  <e File=\"/" + mega +
                    ".vl\" theme_de=\"" + mega + "\" theme_en=\"" + mega + "\" descript_de=\"" + mega +
                    "\"/>\n </g>\n</r>\n";
  writeBytes(folder + "lib/db.xml", xml);
  useDatabase(folder + "lib/db.xml");
  ASSERT_TRUE(start());
  ASSERT_EQ(app().index.rowCount(), 3u);
  EXPECT_EQ(app().index.row(2).text.size(), mega.size());
  // The tree and the title show the texts cut, the description in full.
  GtkTreeModel* model = gtk_tree_view_get_model(GTK_TREE_VIEW(gadget(IndexTree)));
  GtkTreeIter row;
  ASSERT_TRUE(gtk_tree_model_get_iter_first(model, &row));
  gchar* rowText = nullptr;
  gtk_tree_model_get(model, &row, kIndexColText, &rowText, -1);
  EXPECT_EQ(std::string(rowText), cutShownText(app().index.row(0).text));
  g_free(rowText);
  selectRow(viewer().index, 2);
  post(kEventGadget, kWinMain, IndexTree, kTypeChange);
  EXPECT_EQ(text(Main_EdDescript), mega);
  // The file name is far too long for the file system: the usual missing-file report.
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].second.substr(0, 14), "Missing file:\n");
  EXPECT_EQ(utf8CharCount(title()), kShownTextLimit + 1);
  expectStillRunning();
}

// Ten megabytes of noise hold no usable settings: the defaults apply, so the
// database is looked for in the program folder, and the viewer starts on it.
TEST_F(HostileInputsTest, GarbageSettingsFileFallsBackToDefaults) {
  std::string garbage(10u << 20, '\0');
  uint32_t state = 12345;
  for (char& c : garbage) {
    state = state * 1103515245u + 12345u;
    c = static_cast<char>(state >> 23);
  }
  writeBytes(folder + "LinuxVL API-RuvUduviv.ini", garbage);
  std::ifstream sample(sampleLibrary() + "VL-LinuxAPI-Toc.xml", std::ios::binary);
  std::ofstream(folder + "VL-LinuxAPI-Toc.xml", std::ios::binary) << sample.rdbuf();
  ASSERT_TRUE(start()) << (messages.empty() ? "" : messages[0].second);
  EXPECT_TRUE(fileRequests.empty());
  EXPECT_EQ(app().settings.databaseFilePath, folder + "VL-LinuxAPI-Toc.xml");
  EXPECT_GT(app().index.rowCount(), 10u);
  expectStillRunning();
}

TEST_F(HostileInputsTest, LanguageFileWithHundredThousandKeys) {
  std::string lang = "header\n[LanguageItems]\n";
  lang.reserve(8u << 20);
  for (int i = 0; i < 100000; ++i) {
    std::string n = std::to_string(i);
    lang += "Key = #Junk_" + n + "\nde = d" + n + "\nen = e" + n + "\nfr = f" + n + "\n";
  }
  lang += "Key = #Main_Info\nde = Info\nen = About it\nfr = A propos\n";
  lang += "Key = #Cnf_LabelHint\nde = n\nen = " + std::string(50000, '\t') + "\nfr = n\n[Tooltips]\n";
  writeBytes(folder + "RoruvUR EZU-RedIzir.ari", lang);
  writeSampleSettings("Language=1\n");
  ASSERT_TRUE(start());
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(app().languageTable.items.size(), 100002u);
  EXPECT_EQ(app().languageTable.items.at("#Junk_99999")[2], "f99999");
  EXPECT_EQ(std::string(gtk_label_get_text(GTK_LABEL(gadget(Cnf_LabelHint)))),
            std::string(kShownTextLimit, '\t') + "\xE2\x80\xA6");
  expectStillRunning();
}

// A version file of two megabytes is no version file: the download fails, the
// window shows the previous answers and nothing else is said.
TEST_F(HostileInputsTest, HugeVersionFileKeepsThePreviousAnswers) {
  writeSampleSettings();
  ASSERT_TRUE(start());
  FixedBodyServer good;
  ASSERT_TRUE(good.start("[Version]\n;\nAppGtk2=0.26.0\nAppGtk3=0.26.0\nLibrary=2027-01-10\n"));
  setenv("VLAPI_UPDATE_URL", good.url().c_str(), 1);
  post(kEventMenu, kWinMain, kMenuIsUpdate);
  good.stop();
  std::string first = text(Upt_AnswerGtk2);
  ASSERT_NE(first, "");
  FixedBodyServer huge;
  ASSERT_TRUE(
      huge.start("[Version]\n;\nAppGtk2=0.99.0\nAppGtk3=0.99.0\nLibrary=2099-01-10\n" + std::string(2u << 20, 'x')));
  setenv("VLAPI_UPDATE_URL", huge.url().c_str(), 1);
  post(kEventMenu, kWinMain, kMenuIsUpdate);
  EXPECT_EQ(text(Upt_AnswerGtk2), first);
  EXPECT_EQ(app().remoteAppVersion, "0.26.0");
  // A version line longer than any version is none: a failed check, as above.
  FixedBodyServer wide;
  std::string wideLine(200000, '\t');
  ASSERT_TRUE(wide.start("[Version]\n;\nAppGtk2=" + wideLine + "\nAppGtk3=" + wideLine + "\nLibrary=x\n"));
  setenv("VLAPI_UPDATE_URL", wide.url().c_str(), 1);
  post(kEventMenu, kWinMain, kMenuIsUpdate);
  EXPECT_EQ(app().remoteAppVersion, "");
  EXPECT_EQ(text(Upt_AnswerGtk2), first);
  unsetenv("VLAPI_UPDATE_URL");
  EXPECT_TRUE(gtk_widget_get_visible(topWindow(kWinUpdate)));
  EXPECT_TRUE(messages.empty());
  expectStillRunning();
}

}  // namespace
