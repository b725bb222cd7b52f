// Timings of the viewer as a user meets it, under a (virtual) display: start-up to
// the first entry shown for generated databases, filling and expanding the tree,
// and loading, marking and showing generated code files.
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

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
  double fillMs = msSince(fill);
  std::printf(
      "%7d entries: start-up to first entry shown %8.1f ms; rebuild + fill + expand tree %8.1f ms "
      "(%zu rows, %d themes, %d entries)\n",
      entries, startup, fillMs, v.app.index.rowCount(), v.app.counts.themeCount, v.app.counts.entryCount);
  endViewer(v);
  std::system(("rm -rf '" + folder + "'").c_str());
}

// Selection to title set for a code file of `lines` lines, marked in mode 2.
void benchCodeFile(int lines) {
  std::string folder = makeFolder();
  std::ofstream(folder + "Big.vl") << generateCodeFileBytes(lines, 7);
  std::ofstream(folder + "db.xml") << "<?xml version=\"1.0\"?>\n<r n=\"R\">R\n <t n=\"T\">T\n"
                                      "  <e File=\"/Big.vl\" theme_de=\"Big\"/>\n </t>\n</r>\n";
  writeSettings(folder, folder + "db.xml", "CodeMarks=2\n");
  auto viewer = std::make_unique<Viewer>();
  Viewer& v = *viewer;
  StartOptions options;
  options.programFolder = folder;
  if (!startViewer(v, options)) return;
  drainEvents(v);
  for (int marks : {0, 2}) {
    v.app.settings.codeMarks = marks;
    v.app.currentCodePath.clear();
    selectRow(v.index, 2);
    auto start = Clock::now();
    presentEntry(v, EntryRequest{EntryCause::Selection, 2});
    double ms = msSince(start);
    std::printf("%7d lines, CodeMarks %d: load, mark and show %8.1f ms\n", lines, marks, ms);
  }
  endViewer(v);
  std::system(("rm -rf '" + folder + "'").c_str());
}

}  // namespace

int main(int argc, char** argv) {
  gtk_init(&argc, &argv);
  setvbuf(stdout, nullptr, _IONBF, 0);
  dialogHooks().message = [](const std::string& t, const std::string& m) {
    std::printf("message: %s: %s\n", t.c_str(), m.c_str());
  };
  for (int n : {2000, 20000, 100000}) benchStartup(n);
  for (int n : {2000, 20000, 100000}) benchCodeFile(n);
  return 0;
}
