// A program that faults on purpose, for the tests of the program error report. The
// first argument names the fault; the report goes to standard output.
//   crash_target segv|abrt|fpe|raise-segv|raise-abrt|raise-fpe|int|term|returns|twice
//   crash_target viewer <program folder>: the viewer's own report after a real start
// Message boxes go to standard output as "[title]" and their text.
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "core/app/error_report.h"
#include "gui/message_box.h"
#include "gui/viewer.h"

namespace {

void writeOut(const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    ssize_t n = write(1, text.data() + done, text.size() - done);
    if (n <= 0) return;
    done += static_cast<size_t>(n);
  }
}

// Reports as a signal handler may: no allocation, one write.
void reportAndReturn(const ProgramError& error) {
  char text[kProgramErrorTextSize];
  size_t length = formatProgramError(error, text);
  if (write(1, text, length) < 0) return;
}

// A fault inside the report itself must end the process, not run the report again.
void reportAndFault(const ProgramError& error) {
  reportAndReturn(error);
  volatile int* nowhere = nullptr;
  *nowhere = 2;
}

// The lines below are found by their marker comments in the tests.
int fault(const std::string& kind) {
  volatile int* nowhere = nullptr;
  volatile int zero = 0, dividend = 1000;  // both unknown, so the compiler emits a division
  volatile int quotient = 0;
  if (kind == "segv") {
    VL_TRACE();  // line:segv
    *nowhere = 1;
  }
  if (kind == "abrt") {
    VL_TRACE();  // line:abrt
    abort();
  }
  if (kind == "fpe") {
    VL_TRACE();  // line:fpe
    quotient = dividend / zero;
  }
  if (kind == "raise-segv") {
    VL_TRACE();  // line:raise-segv
    raise(SIGSEGV);
  }
  if (kind == "raise-abrt") {
    VL_TRACE();  // line:raise-abrt
    raise(SIGABRT);
  }
  if (kind == "raise-fpe") {
    VL_TRACE();  // line:raise-fpe
    raise(SIGFPE);
  }
  if (kind == "int") {
    VL_TRACE();  // line:int
    raise(SIGINT);
  }
  if (kind == "term") {
    VL_TRACE();  // line:term
    raise(SIGTERM);
  }
  return quotient;
}

// Starts the viewer on the folder's settings with message boxes going to standard
// output, then faults inside the running program.
int faultInViewer(const char* programFolder) {
  if (!gtk_init_check(nullptr, nullptr)) return 6;
  StartOptions options;
  options.programFolder = programFolder;
  static Viewer viewer;  // lives until the fault ends the process
  if (!startViewer(viewer, options)) return 3;
  volatile int* nowhere = nullptr;
  VL_TRACE();  // line:viewer
  *nowhere = 1;
  return 4;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  ProgramError error;
  dialogHooks().message = [](const std::string& title, const std::string& text) {
    writeOut("[" + title + "]\n" + text);
  };
  // The fresh start that shows the report, as the viewer's own does.
  if (parseReportArgument(argv[1], &error)) return showProgramError(error);
  std::string kind = argv[1];
  if (kind == "viewer") return argc < 3 ? 2 : faultInViewer(argv[2]);
  if (kind == "returns") {
    installErrorHandler(reportAndReturn);
    kind = "segv";
  } else if (kind == "twice") {
    installErrorHandler(reportAndFault);
    kind = "abrt";
  } else {
    installErrorHandler(restartToReport);  // as the viewer does
  }
  fault(kind);
  return 5;  // no fault happened
}
