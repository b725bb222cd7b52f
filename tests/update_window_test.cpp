// The update window against a local web server, and the about dialog.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "gui/about_dialog.h"
#include "gui_fixture.h"

namespace {

// A free port on the loopback interface, or 0.
int freePort() {
  int s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  int port = 0;
  if (bind(s, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
      getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) == 0)
    port = ntohs(address.sin_port);
  close(s);
  return port;
}

bool accepts(int port) {
  int s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bool ok = connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  close(s);
  return ok;
}

// Each test serves its own folder; VLAPI_UPDATE_URL points the check at it.
class UpdateWindowTest : public ViewerTest {
 protected:
  void SetUp() override {
    ViewerTest::SetUp();
    mkdir((folder + "www").c_str(), 0755);
    mkdir((folder + "www/Linux").c_str(), 0755);
    port = freePort();
    ASSERT_NE(port, 0);
    startServer();
    setenv("VLAPI_UPDATE_URL", url().c_str(), 1);
  }
  void TearDown() override {
    stopServer();
    unsetenv("VLAPI_UPDATE_URL");
    ViewerTest::TearDown();
  }
  std::string url() { return "http://127.0.0.1:" + std::to_string(port) + "/Linux/VL-Linux-API-Version.ini"; }

  void startServer() {
    std::string portText = std::to_string(port);
    std::string root = folder + "www";
    server = fork();
    if (server == 0) {
      int null = open("/dev/null", O_WRONLY);
      dup2(null, 1);
      dup2(null, 2);
      // The viewer of an earlier test may have left us in a folder that is gone.
      if (chdir(root.c_str()) != 0) _exit(127);
      execlp("python3", "python3", "-m", "http.server", "--bind", "127.0.0.1", portText.c_str(), "--directory",
             root.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    ASSERT_GT(server, 0);
    for (int i = 0; i < 500 && !accepts(port); ++i) usleep(20 * 1000);
    ASSERT_TRUE(accepts(port)) << "the local web server did not start";
  }
  void stopServer() {
    if (server <= 0) return;
    kill(server, SIGTERM);
    waitpid(server, nullptr, 0);
    server = 0;
  }
  void serve(const std::string& content) {
    std::ofstream(folder + "www/Linux/VL-Linux-API-Version.ini", std::ios::binary) << content;
  }
  std::vector<std::string> answers() { return {text(Upt_AnswerGtk2), text(Upt_AnswerGtk3), text(Upt_AnswerXml)}; }
  bool visible() { return gtk_widget_get_visible(topWindow(kWinUpdate)); }

  int port = 0;
  pid_t server = 0;
};

const char kArrow[] = " \xE2\x86\x92 ";

TEST_F(UpdateWindowTest, AnswersForNewerProgramAndLibrary) {
  serve("[Version]\n; the viewer reads lines 3 and 5\nAppGtk2=0.25.40\nAppGtk3=0.26.1\nLibrary=2027-01-10\n");
  writeSampleSettings();
  ASSERT_TRUE(start());
  ASSERT_EQ(app().index.databaseVersion, "2026-11-20");
  EXPECT_EQ(answers(), (std::vector<std::string>{"", "", ""}));
  // The check always compares the program's own version.
  app().versionText = "9.9.9";
  post(kEventMenu, kWinMain, kMenuIsUpdate);
  EXPECT_TRUE(visible());
  EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(topWindow(kWinUpdate))), "Veldra-Linux-API-Viewer: Update check");
  EXPECT_EQ(answers(), (std::vector<std::string>{std::string("yes:  0.25.36") + kArrow + "0.25.40", " - ",
                                                 std::string("yes:  2026-11-20") + kArrow + "2027-01-10"}));
  EXPECT_EQ(app().versionText, "0.25.36");
  EXPECT_EQ(app().remoteAppVersion, "0.25.40");
  EXPECT_EQ(app().remoteDatabaseVersion, "2027-01-10");
}

TEST_F(UpdateWindowTest, EqualVersionsAnswerNoAndCrLfFilesReadTheSame) {
  serve("[Version]\r\n;\r\nAppGtk2=0.25.36\r\nAppGtk3=0.25.36\r\nLibrary=2026-11-20\r\n");
  writeSampleSettings();
  ASSERT_TRUE(start());
  post(kEventMenu, kWinMain, kMenuIsUpdate);
  EXPECT_EQ(answers(), (std::vector<std::string>{"no:  0.25.36", " - ", "no:  2026-11-20"}));
  // Only the date is compared on the library line; a later one is an update.
  serve("[Version]\r\n;\r\nAppGtk2=0.25.36\r\nAppGtk3=0.25.36\r\nLibrary=2026-11-21\r\n");
  post(kEventMenu, kWinMain, kMenuIsUpdate);
  EXPECT_EQ(text(Upt_AnswerXml), std::string("yes:  2026-11-20") + kArrow + "2026-11-21");
}

TEST_F(UpdateWindowTest, UnusableVersionFileKeepsThePreviousAnswersAndShowsTheWindow) {
  serve("[Version]\n;\nAppGtk2=0.26.0\nAppGtk3=0.26.0\nLibrary=2027-01-10\n");
  writeSampleSettings();
  ASSERT_TRUE(start());
  post(kEventMenu, kWinMain, kMenuIsUpdate);
  std::vector<std::string> first = answers();
  ASSERT_EQ(first[0], std::string("yes:  0.25.36") + kArrow + "0.26.0");
  // Escape hides the window and keeps its answers.
  post(kEventMenu, kWinUpdate, kKeyEscape);
  ASSERT_FALSE(visible());
  // Four lines only: no library value.
  serve("[Version]\n;\nAppGtk2=0.27.0\nAppGtk3=0.27.0\n");
  post(kEventMenu, kWinMain, kMenuIsUpdate);
  EXPECT_TRUE(visible());
  EXPECT_EQ(answers(), first);
  // The download itself worked: the record holds what the file said.
  EXPECT_EQ(app().remoteAppVersion, "0.27.0");
  EXPECT_EQ(app().remoteDatabaseVersion, "");
  // The server is gone.
  stopServer();
  post(kEventMenu, kWinMain, kMenuIsUpdate);
  EXPECT_EQ(answers(), first);
  EXPECT_TRUE(messages.empty());
  post(kEventCloseWindow, kWinUpdate, 0);
  EXPECT_FALSE(visible());
  EXPECT_EQ(app().quitRequested, 0);
}

using AboutDialogTest = ViewerTest;

TEST_F(AboutDialogTest, ShownAtEveryStartUntilTheSettingsAreSaved) {
  writeSettings("db-path=" + sampleLibrary() + "VL-LinuxAPI-Toc.xml\nLib-path=" + sampleLibrary() + "\nabout=0\n");
  ASSERT_TRUE(start());
  EXPECT_EQ(aboutShown, 1);
  EXPECT_EQ(app().settings.about, 1);
  // Nothing saved it, so the next start shows it again.
  freshViewer();
  ASSERT_TRUE(start());
  EXPECT_EQ(aboutShown, 2);
  ASSERT_TRUE(saveViewerSettings(viewer()));
  freshViewer();
  ASSERT_TRUE(start());
  EXPECT_EQ(aboutShown, 2);
}

TEST_F(AboutDialogTest, InfoMenuShowsTheVersionAfterAnEmptyLine) {
  std::vector<std::string> versions;
  dialogHooks().about = [&versions](const std::string& version) { versions.push_back(version); };
  writeSampleSettings();
  ASSERT_TRUE(start());
  EXPECT_TRUE(versions.empty());
  post(kEventMenu, kWinMain, kMenuAboutApp);
  ASSERT_EQ(versions.size(), 1u);
  EXPECT_EQ(versions[0], "\n0.25.36 gtk2");
}

TEST_F(AboutDialogTest, DialogCarriesItsTextsAndTheLogo) {
  writeSampleSettings();
  ASSERT_TRUE(start());
  GdkPixbuf* logo = gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, 48, 48);
  GtkWidget* dialog = buildAboutDialog(logo);
  GtkAboutDialog* about = GTK_ABOUT_DIALOG(dialog);
  EXPECT_STREQ(gtk_about_dialog_get_version(about), "\n0.25.36 gtk2");
  EXPECT_STREQ(gtk_about_dialog_get_program_name(about), "Veldra-Linux-API-Viewer");
  EXPECT_STREQ(gtk_about_dialog_get_comments(about),
               "Viewer f\xC3\xBCr die Veldra-API-Funktions-Sammlung.\nViewer for the Veldra API-functions-collection.");
  EXPECT_NE(std::string(gtk_about_dialog_get_website(about)).find("http"), std::string::npos);
  EXPECT_EQ(gtk_about_dialog_get_logo(about), logo);
  gtk_widget_destroy(dialog);
  dialog = buildAboutDialog(nullptr);
  EXPECT_NE(gtk_about_dialog_get_logo(GTK_ABOUT_DIALOG(dialog)), logo);
  gtk_widget_destroy(dialog);
  g_object_unref(logo);
}

}  // namespace
