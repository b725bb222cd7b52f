// The program error report of a program that really faults: the text, the line of
// the statement that ran, and how the process ends.
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "gui_fixture.h"

namespace {

struct Outcome {
  std::string out;  // standard output
  int status = 0;   // as waitpid gives it
};

Outcome runTarget(const std::string& kind, const std::string& folder = "") {
  Outcome result;
  int fds[2];
  if (pipe(fds) != 0) return result;
  pid_t child = fork();
  if (child == 0) {
    dup2(fds[1], 1);
    close(fds[0]);
    close(fds[1]);
    execl(CRASH_TARGET_PATH, CRASH_TARGET_PATH, kind.c_str(), folder.empty() ? nullptr : folder.c_str(),
          static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  char buffer[4096];
  ssize_t n;
  while ((n = read(fds[0], buffer, sizeof buffer)) > 0) result.out.append(buffer, static_cast<size_t>(n));
  close(fds[0]);
  waitpid(child, &result.status, 0);
  return result;
}

// The line of crash_target.cpp that carries the marker comment, or -1.
int markedLine(const std::string& marker) {
  std::ifstream in(std::string(VL_SOURCE_DIR) + "/tests/crash_target.cpp");
  std::string line;
  for (int no = 1; std::getline(in, line); ++no)
    if (line.ends_with("// line:" + marker)) return no;
  return -1;
}

std::string report(const char* message, int code, int line) {
  return std::string("A program error was detected:\n\nError Message:   ") + message +
         "\nError Code:      " + std::to_string(code) + "\nSourcecode line: " + std::to_string(line) + "\n";
}

bool exitedWith(int status, int code) { return WIFEXITED(status) && WEXITSTATUS(status) == code; }

const std::string kBoxTitle = "[Linux VL-ZEZ-Ovidozo-Vivara-Error]\n";

// The box is shown by a fresh start of the program, which then exits with 0.
TEST(CrashReportTest, RealFaultsNameSignalAndLineThenExitZero) {
  struct Case {
    const char* kind;
    const char* message;
    int code;
  } cases[] = {{"segv", "Segmentation violation", SIGSEGV}, {"abrt", "Abort signal", SIGABRT},
               {"fpe", "Floating-point exception", SIGFPE}, {"raise-segv", "Segmentation violation", SIGSEGV},
               {"raise-abrt", "Abort signal", SIGABRT},     {"raise-fpe", "Floating-point exception", SIGFPE}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    int line = markedLine(c.kind);
    ASSERT_GT(line, 0);
    Outcome o = runTarget(c.kind);
    EXPECT_EQ(o.out, kBoxTitle + report(c.message, c.code, line));
    EXPECT_TRUE(exitedWith(o.status, 0)) << o.status;
  }
}

TEST(CrashReportTest, InterruptAndTerminationAreNotCaught) {
  for (int sig : {SIGINT, SIGTERM}) {
    Outcome o = runTarget(sig == SIGINT ? "int" : "term");
    EXPECT_EQ(o.out, "");
    EXPECT_TRUE(WIFSIGNALED(o.status) && WTERMSIG(o.status) == sig) << o.status;
  }
}

// A report that returns ends the process with 1; a fault inside the report meets
// the default action and ends it by that signal, after one report only.
TEST(CrashReportTest, ReturningOrFaultingReportStillEndsTheProcess) {
  Outcome returned = runTarget("returns");
  EXPECT_EQ(returned.out, report("Segmentation violation", SIGSEGV, markedLine("segv")));
  EXPECT_TRUE(exitedWith(returned.status, 1)) << returned.status;
  Outcome twice = runTarget("twice");
  EXPECT_EQ(twice.out, report("Abort signal", SIGABRT, markedLine("abrt")));
  EXPECT_TRUE(WIFSIGNALED(twice.status) && WTERMSIG(twice.status) == SIGSEGV) << twice.status;
}

// The viewer itself, started on the sample library, shows the box and exits with 0.
TEST(CrashReportTest, ViewerShowsTheReportBox) {
  char pattern[] = "/tmp/vlcrash-test-XXXXXX";
  std::string folder = std::string(mkdtemp(pattern)) + "/";
  std::ofstream(folder + "LinuxVL API-RuvUduviv.ini", std::ios::binary)
      << "\xEF\xBB\xBF\ndb-path=" << sampleLibrary() << "VL-LinuxAPI-Toc.xml\nLib-path=" << sampleLibrary()
      << "\nabout=1\n";
  Outcome o = runTarget("viewer", folder);
  EXPECT_EQ(o.out, kBoxTitle + report("Segmentation violation", SIGSEGV, markedLine("viewer")));
  EXPECT_TRUE(exitedWith(o.status, 0)) << o.status;
  EXPECT_EQ(std::system(("rm -rf '" + folder + "'").c_str()), 0);
}

}  // namespace
