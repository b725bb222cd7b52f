// Helpers of the information, update and external program tests: stand-ins for the
// desktop's programs (a script that logs its arguments, and a wait for that log,
// since programs start detached), the clipboard, and showing an entry by its file.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

#include <gtk/gtk.h>

#include "gui/main_loop.h"
#include "gui_fixture.h"

// An executable script at `path` that writes its argument count and then each
// argument, one a line, to `path` + ".log". The log appears complete or not at all.
inline void writeRecorder(const std::string& path) {
  std::string log = path + ".log";
  std::ofstream out(path);
  out << "#!/bin/sh\n"
      << "printf '%s\\n' \"$#\" \"$@\" > \"" << log << ".$$\"\n"
      << "/bin/mv \"" << log << ".$$\" \"" << log << "\"\n";
  out.close();
  chmod(path.c_str(), 0755);
}

inline std::vector<std::string> readLines(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The recorder's log lines once it has run; empty when it did not run within 10 s.
inline std::vector<std::string> waitForLog(const std::string& recorderPath) {
  std::string log = recorderPath + ".log";
  for (int i = 0; i < 500 && access(log.c_str(), F_OK) != 0; ++i) usleep(20 * 1000);
  return readLines(log);
}

// The text on the default clipboard ("" when it holds none).
inline std::string clipboardText() {
  gchar* text = gtk_clipboard_wait_for_text(gtk_clipboard_get(GDK_SELECTION_CLIPBOARD));
  std::string result = text ? text : "";
  g_free(text);
  return result;
}

inline void setClipboardText(const std::string& text) {
  gtk_clipboard_set_text(gtk_clipboard_get(GDK_SELECTION_CLIPBOARD), text.c_str(), -1);
}

// Selects the index row of the entry with the code path `file` and shows it as a
// keyboard selection does. False when the database has no such entry.
inline bool showEntryWithFile(const std::string& file) {
  Viewer& v = viewer();
  const IndexModel& index = v.app.index;
  for (size_t i = 0; i < index.rowCount(); ++i) {
    if (index.topic(i).file != file) continue;
    selectRow(v.index, static_cast<int>(i));
    v.events.queue.post(Event{kEventGadget, kWinMain, IndexTree, kTypeChange});
    drainEvents(v);
    return true;
  }
  return false;
}
