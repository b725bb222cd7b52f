#include "gui_fixture.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <memory>

#include "gui/widgets.h"

namespace {
std::unique_ptr<Viewer> g_viewer;
}

Viewer& viewer() { return *g_viewer; }

std::string sampleLibrary() { return std::string(VL_SOURCE_DIR) + "/data/sample-library/"; }

void ViewerTest::SetUp() {
  char pattern[] = "/tmp/vlviewer-test-XXXXXX";
  folder = std::string(mkdtemp(pattern)) + "/";
  complaintsBefore = toolkitComplaints();
  g_viewer = std::make_unique<Viewer>();
  DialogHooks& hooks = dialogHooks();
  hooks.message = [this](const std::string& t, const std::string& m) { messages.emplace_back(t, m); };
  hooks.openFile = [this](const std::string& t, const std::string&, const std::string&) {
    fileRequests.push_back(t);
    return fileAnswer;
  };
  hooks.chooseFolder = [this](const std::string&, const std::string&) { return folderAnswer; };
  hooks.chooseFont = [this](const std::string&) { return fontAnswer; };
  hooks.about = [this](const std::string&) { ++aboutShown; };
}

void ViewerTest::TearDown() {
  endViewer(viewer());
  EXPECT_EQ(toolkitComplaints(), complaintsBefore) << "the toolkit logged warnings (see above)";
  g_viewer.reset();
  dialogHooks() = DialogHooks();
  // The viewer made the test's folder the working folder; leave it before removing it.
  if (chdir(VL_BINARY_DIR) != 0) ADD_FAILURE() << "cannot return to " << VL_BINARY_DIR;
  std::string command = "rm -rf '" + folder + "'";
  if (std::system(command.c_str()) != 0) ADD_FAILURE() << "could not remove " << folder;
}

void ViewerTest::writeSettings(const std::string& lines) {
  std::ofstream out(folder + "LinuxVL API-RuvUduviv.ini", std::ios::binary);
  out << "\xEF\xBB\xBF\n" << lines;
}

void ViewerTest::writeSampleSettings(const std::string& extraLines) {
  writeSettings("db-path=" + sampleLibrary() + "VL-LinuxAPI-Toc.xml\nLib-path=" + sampleLibrary() + "\nabout=1\n" +
                extraLines);
}

bool ViewerTest::start() {
  StartOptions options;
  options.programFolder = folder;
  bool ok = startViewer(viewer(), options);
  if (ok) drain();
  return ok;
}

void ViewerTest::freshViewer() {
  endViewer(viewer());
  g_viewer = std::make_unique<Viewer>();
}

std::string ViewerTest::title(WindowNo no) {
  const char* t = gtk_window_get_title(GTK_WINDOW(topWindow(no)));
  return t ? t : "";
}

std::string ViewerTest::text(int no) { return widgetText(gadget(no)); }
