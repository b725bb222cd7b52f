// Timings of the viewer as a user meets it, under a (virtual) display: start-up to
// the first entry shown for generated databases, filling and expanding the tree,
// and loading, marking and showing generated code files.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <gtk/gtk.h>

#include "code_generator.h"
#include "core/database/index_builder.h"
#include "database_generator.h"
#include "gui/code_view.h"
#include "gui/index_view.h"
#include "gui/main_loop.h"
#include "gui/message_box.h"
#include "gui/present_entry.h"
#include "gui/viewer.h"

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// CPU time of all threads: the marks are partly found on another thread.
double cpuMs() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// The peak is counted again from here: a code case's generation holds several
// copies of its file, which the viewer never does.
void resetPeakMemory() { std::ofstream("/proc/self/clear_refs") << "5"; }

// The process's peak resident memory so far, in MB (the kernel's high-water mark).
double peakMb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.starts_with("VmHWM:")) return std::atof(line.c_str() + 6) / 1024;
  return 0;
}

std::string makeFolder() {
  char pattern[] = "/tmp/vlbench-XXXXXX";
  return std::string(mkdtemp(pattern)) + "/";
}

void writeSettings(const std::string& folder, const std::string& db, const std::string& extra) {
  std::ofstream(folder + "LinuxVL API-RuvUduviv.ini") << "db-path=" << db << "\nLib-path=" << folder << "\nabout=1\n"
                                                      << extra;
}

// Start-up to the first entry shown, then the tree fill and expand alone.
void benchStartup(int entries) {
  std::string folder = makeFolder();
  std::string err;
  writeGeneratedDatabase(folder + "db.xml", entries, &err);
  writeSettings(folder, folder + "db.xml", "");
  auto viewer = std::make_unique<Viewer>();
  Viewer& v = *viewer;
  auto start = Clock::now();
  StartOptions options;
  options.programFolder = folder;
  if (!startViewer(v, options)) {
    std::printf("start-up failed for %d entries\n", entries);
    return;
  }
  // The first change event shows the first entry; handle queued events only.
  Event e;
  while (v.events.queue.take(&e)) dispatchEvent(v, e);
  gdk_window_process_all_updates();
  double startup = msSince(start);

  auto fill = Clock::now();
  buildIndexView(v.index, v.app);
  expandAndCount(v.index, v.app);
  gdk_window_process_all_updates();
  double shownMs = msSince(fill);
  while (indexStillOpening(v.index)) gtk_main_iteration_do(FALSE);
  double fillMs = msSince(fill);
  std::printf(
      "%7d entries: start-up to first entry shown %8.1f ms; rebuild + fill + expand tree: first screen %8.1f ms, "
      "all rows %8.1f ms (%zu rows, %d themes, %d entries)\n",
      entries, startup, shownMs, fillMs, v.app.index.rowCount(), v.app.counts.themeCount, v.app.counts.entryCount);
  endViewer(v);
  std::system(("rm -rf '" + folder + "'").c_str());
}

// A code file of the given bytes as the only entry of a library.
struct CodeLibrary {
  std::string folder = makeFolder();
  explicit CodeLibrary(const std::string& bytes) {
    std::ofstream(folder + "Big.vl", std::ios::binary) << bytes;
    std::ofstream(folder + "db.xml") << "<?xml version=\"1.0\"?>\n<r n=\"R\">R\n <t n=\"T\">T\n"
                                        "  <e File=\"/Big.vl\" theme_de=\"Big\"/>\n </t>\n</r>\n";
    writeSettings(folder, folder + "db.xml", "CodeMarks=2\n");
  }
  ~CodeLibrary() { std::system(("rm -rf '" + folder + "'").c_str()); }
};

// The end of the code view's first drawing after `start`, the main loop running
// as it would until then: an unmarked text is drawn from the main loop, a marked
// one before its link labels are made.
struct FirstDrawing {
  bool drawn = false;
  Clock::time_point at;
};

gboolean noteDrawing(GtkWidget*, GdkEvent*, gpointer data) {
  auto& first = *static_cast<FirstDrawing*>(data);
  if (!first.drawn) first = FirstDrawing{true, Clock::now()};
  return FALSE;
}

// Selection to the view painted for one code file, by "CodeMarks"; then the time
// until the marks of the whole text are in place.
// The file's bytes are written and let go first: the peaks are the viewer's own.
void benchCodeBytes(const char* name, std::string bytes, const std::vector<int>& marksList) {
  CodeLibrary lib(bytes);
  const size_t size = bytes.size();
  std::string().swap(bytes);
  auto viewer = std::make_unique<Viewer>();
  Viewer& v = *viewer;
  StartOptions options;
  options.programFolder = lib.folder;
  if (!startViewer(v, options)) return;
  drainEvents(v);
  for (int marks : marksList) {
    v.app.settings.codeMarks = marks;
    v.app.currentCodePath.clear();
    clearCode(v.code);  // each value starts from an empty view
    gdk_window_process_all_updates();
    selectRow(v.index, 2);
    resetPeakMemory();
    FirstDrawing first;
    gulong noting = g_signal_connect_after(v.code.code, "expose-event", G_CALLBACK(noteDrawing), &first);
    auto start = Clock::now();
    double cpuStart = cpuMs();
    presentEntry(v, EntryRequest{EntryCause::Selection, 2});
    gdk_window_process_all_updates();
    double done = msSince(start);  // the entry's handling, labels and all
    while (!first.drawn && msSince(start) < 10000) gtk_main_iteration_do(FALSE);
    g_signal_handler_disconnect(v.code.code, noting);
    // A view never drawn within 10 s counts as shown at the end of the wait.
    double shown = first.drawn ? std::chrono::duration<double, std::milli>(first.at - start).count() : msSince(start);
    double shownPeak = peakMb();
    // The longest turn of the main loop while the marks go in: how long input
    // could wait.
    double longestTurn = 0;
    while (codeMarksPending(v.code)) {
      auto turn = Clock::now();
      gtk_main_iteration_do(FALSE);
      longestTurn = std::max(longestTurn, msSince(turn));
    }
    double marked = msSince(start);
    double cpuMarked = cpuMs() - cpuStart;
    double peakMarked = peakMb();
    // Forty pages down, one at a time as Page Down moves: each until the view has
    // answered, with its marks and labels for the new place and the drawing.
    GtkAdjustment* scroll = gtk_scrolled_window_get_vadjustment(GTK_SCROLLED_WINDOW(v.code.codeScroller));
    double longestPage = 0;
    for (int page = 1; page <= 40; ++page) {
      auto moved = Clock::now();
      gtk_adjustment_set_value(scroll,
                               std::min(gtk_adjustment_get_value(scroll) + gtk_adjustment_get_page_size(scroll),
                                        gtk_adjustment_get_upper(scroll) - gtk_adjustment_get_page_size(scroll)));
      while (v.code.followIdle) gtk_main_iteration_do(FALSE);
      gdk_window_process_all_updates();
      longestPage = std::max(longestPage, msSince(moved));
      while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
    }
    std::printf(
        "%-28s %9zu bytes, CodeMarks %d: shown %8.1f ms, handled %8.1f ms, all marks %8.1f ms (CPU %8.1f ms, "
        "longest turn %5.1f ms); peak %6.1f MB shown, %6.1f MB marked; a page down at most %5.1f ms\n",
        name, size, marks, shown, done, marked, cpuMarked, longestTurn, shownPeak, peakMarked, longestPage);
  }
  endViewer(v);
}

// A library whose root, theme and entry titles are `title`: start-up to the first
// entry shown and painted.
void benchTitle(const char* name, const std::string& title) {
  std::string folder = makeFolder();
  std::ofstream(folder + "db.xml") << "<?xml version=\"1.0\"?>\n<r n=\"" << title << "\">R\n <t n=\"" << title
                                   << "\">T\n  <e File=\"/x.vl\" theme_de=\"" << title << "\"/>\n </t>\n</r>\n";
  writeSettings(folder, folder + "db.xml", "");
  auto viewer = std::make_unique<Viewer>();
  Viewer& v = *viewer;
  auto start = Clock::now();
  StartOptions options;
  options.programFolder = folder;
  if (startViewer(v, options)) {
    drainEvents(v);
    gdk_window_process_all_updates();
    std::printf("%-28s %9zu bytes: start-up to first entry shown %8.1f ms\n", name, title.size(), msSince(start));
    endViewer(v);
  }
  std::system(("rm -rf '" + folder + "'").c_str());
}

// A paste of unfindable text into the search field, until its search has ended.
void benchPaste(const char* name, size_t bytes) {
  std::string folder = makeFolder();
  std::string err;
  writeGeneratedDatabase(folder + "db.xml", 2000, &err);
  writeSettings(folder, folder + "db.xml", "SearchHint=2\n");
  auto viewer = std::make_unique<Viewer>();
  Viewer& v = *viewer;
  StartOptions options;
  options.programFolder = folder;
  if (startViewer(v, options)) {
    drainEvents(v);
    GtkEditable* field = GTK_EDITABLE(gadgetWidget(v, Main_Find));
    std::string paste(bytes, 'q');
    auto start = Clock::now();
    gint pos = 0;
    gtk_editable_insert_text(field, paste.c_str(), static_cast<gint>(paste.size()), &pos);
    gtk_editable_set_position(field, pos);
    drainEvents(v);
    gdk_window_process_all_updates();
    std::printf("%-28s %9zu bytes: paste to search done %8.1f ms (field keeps %zu bytes)\n", name, bytes,
                msSince(start), std::string(gtk_entry_get_text(GTK_ENTRY(field))).size());
    endViewer(v);
  }
  std::system(("rm -rf '" + folder + "'").c_str());
}

struct CodeCase {
  const char* name;
  std::string (*bytes)();
};

const CodeCase kCodeCases[] = {
    {"lines-2000", [] { return generateCodeFileBytes(2000, 7); }},
    {"lines-20000", [] { return generateCodeFileBytes(20000, 7); }},
    {"lines-100000", [] { return generateCodeFileBytes(100000, 7); }},
    {"file-20MB", [] { return generateCodeFileBytes(500000, 7); }},
    {"file-200MB", [] { return generateCodeFileBytes(5000000, 7); }},  // shown up to kShownCodeBytes
    {"nul-200MB", [] { return std::string(200u << 20, '\0'); }},       // as a sparse file reads
    {"short-lines-200MB",
     [] {
       std::string s;
       for (int i = 0; i < 100 << 20; ++i) s += "x\n";
       return s;
     }},
    {"hash-line-20000", [] { return std::string(20000, '#'); }},
    {"hash-line-100000", [] { return std::string(100000, '#'); }},
    {"tab-line-1000", [] { return std::string(1000, '\t'); }},
    {"tab-line-2000", [] { return std::string(2000, '\t'); }},
    {"tab-line-5000", [] { return std::string(5000, '\t'); }},
    {"tab-line-50000", [] { return std::string(50000, '\t'); }},
    {"tab-line-200000", [] { return std::string(200000, '\t'); }},
    {"combining-200KB",
     [] {
       std::string s =
           "\xEF\xBB\xBF"
           "a";  // read as UTF-8
       for (int i = 0; i < 100000; ++i) s += "\xCC\x81";
       return s;
     }},
    {"hash-lines-2500000",
     [] {
       std::string s;
       for (int i = 0; i < 2500000; ++i) s += "#\n";
       return s;
     }},
    {"link-lines-1000000",  // a label for every line
     [] {
       std::string s;
       for (int i = 0; i < 1000000; ++i) s += "; Link to topic:   Topic\n";
       return s;
     }},
};

}  // namespace

int main(int argc, char** argv) {
  returnLargeBlocksWhenFreed();  // as the viewer's own start does
  gtk_init(&argc, &argv);
  setvbuf(stdout, nullptr, _IONBF, 0);
  dialogHooks().message = [](const std::string& t, const std::string& m) {
    std::printf("message: %s: %s\n", t.c_str(), m.c_str());
  };
  // "bench_viewer code NAME..." runs only those code cases, unmarked and marked;
  // "code0" and "code2" run one "CodeMarks" value only, so that one case under
  // /usr/bin/time -v gives the peak memory of that value. No argument runs the
  // usual set.
  std::string mode = argc > 2 ? argv[1] : "";
  if (mode == "code" || mode == "code0" || mode == "code2") {
    std::vector<int> marks = mode == "code0"   ? std::vector<int>{0}
                             : mode == "code2" ? std::vector<int>{2}
                                               : std::vector<int>{0, 2};
    for (int i = 2; i < argc; ++i)
      for (const CodeCase& c : kCodeCases)
        if (argv[i] == std::string(c.name)) benchCodeBytes(c.name, c.bytes(), marks);
    return 0;
  }
  // "bench_viewer texts" runs the titles and the paste that are hard to lay out.
  if (argc > 1 && std::string(argv[1]) == "texts") {
    std::string tabs;
    for (int i = 0; i < 50000; ++i) tabs += "&#9;";
    benchTitle("title-50000-tabs", tabs);
    benchPaste("paste-3MB", 3u << 20);
    return 0;
  }
  for (int n : {2000, 20000, 100000}) benchStartup(n);
  for (const char* name : {"lines-2000", "lines-20000", "lines-100000"})
    for (const CodeCase& c : kCodeCases)
      if (name == std::string(c.name)) benchCodeBytes(c.name, c.bytes(), {0, 2});
  return 0;
}
