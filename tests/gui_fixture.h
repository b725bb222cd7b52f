// A viewer started on a folder of its own for each GUI test: the settings file is
// written by the test, message boxes and requesters are answered by the test.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include "gui/main_loop.h"
#include "gui/message_box.h"
#include "gui/viewer.h"

std::string sampleLibrary();  // data/sample-library/ of the source tree, with "/"

// How many warnings and criticals the toolkit has logged in this test program.
int toolkitComplaints();

// The viewer of the running test.
Viewer& viewer();

class ViewerTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes the settings file (lines after the byte-order mark and an empty line).
  void writeSettings(const std::string& lines);
  // Settings that open the sample library with the about dialog already seen.
  void writeSampleSettings(const std::string& extraLines = "");
  // Starts the viewer in the test's program folder and handles the first events.
  bool start();
  // Ends the viewer and puts a new one, not yet started, in its place.
  void freshViewer();
  void drain() { drainEvents(viewer()); }
  void post(EventKind kind, WindowNo window, int object, EventType type = kTypeLeftClick) {
    viewer().events.queue.post(Event{kind, window, object, type});
    drain();
  }
  GtkWidget* gadget(int no) { return gadgetWidget(viewer(), no); }
  GtkWidget* topWindow(int no) { return windowWidget(viewer(), WindowNo(no)); }
  AppState& app() { return viewer().app; }
  std::string title(WindowNo no = kWinMain);
  std::string text(int no);

  std::string folder;                                         // the program folder, with "/"
  std::vector<std::pair<std::string, std::string>> messages;  // title, text
  std::vector<std::string> fileRequests;                      // titles of file requesters
  std::string fileAnswer;                                     // what the file requester returns
  std::string folderAnswer;
  std::string fontAnswer;
  int aboutShown = 0;
  int complaintsBefore = 0;
};
