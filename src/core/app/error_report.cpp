#include "core/app/error_report.h"

#include <signal.h>
#include <unistd.h>

volatile int currentSourceLine = -1;

namespace {

const char* const kSignalTexts[] = {"Hangup signal",
                                    "Interrupt signal",
                                    "Quit signal",
                                    "Illegal instruction",
                                    "Trace trap",
                                    "Abort signal",
                                    "BUS Error",
                                    "Floating-point exception",
                                    "Kill signal",
                                    "Userdefined signal 1",
                                    "Segmentation violation",
                                    "Userdefined signal 2",
                                    "Broken pipe",
                                    "Alarm clock signal",
                                    "Termination signal",
                                    "Floating-point stack fault",
                                    "Child status has changed",
                                    "Continue signal",
                                    "Stop signal",
                                    "Keyboard stop",
                                    "Background read from tty",
                                    "Background write to tty",
                                    "Urgent condition on socket",
                                    "CPU limit exceeded",
                                    "File size limit exceeded",
                                    "Virtual alarm clock",
                                    "Profiling alarm clock",
                                    "Window size chang",
                                    "I/O now possible",
                                    "Power failure restart",
                                    "Bad system call"};

const int kCaught[] = {SIGFPE, SIGSEGV, SIGBUS, SIGABRT, SIGTRAP, SIGSYS, SIGILL};

void (*g_report)(const ProgramError&) = nullptr;

void onFatalSignal(int sig, siginfo_t*, void*) {
  for (int s : kCaught) signal(s, SIG_DFL);
  ProgramError error;
  error.errorCode = sig;
  int line = currentSourceLine;
  error.errorLine = line == -1 ? -1 : (line & 0xFFFFFF);
  if (g_report) g_report(error);
  _exit(1);
}

}  // namespace

const char* signalText(int code) {
  if (code >= 1 && code <= 31) return kSignalTexts[code - 1];
  return "Unknown error code";
}

std::string programErrorText(const ProgramError& error) {
  std::string text = "A program error was detected:\n\n";
  text += "Error Message:   " + std::string(signalText(error.errorCode)) + "\n";
  text += "Error Code:      " + std::to_string(error.errorCode) + "\n";
  text += "Sourcecode line: " + std::to_string(error.errorLine) + "\n";
  return text;
}

void installErrorHandler(void (*report)(const ProgramError& error)) {
  g_report = report;
  struct sigaction action = {};
  action.sa_sigaction = onFatalSignal;
  action.sa_flags = SA_SIGINFO;
  sigemptyset(&action.sa_mask);
  for (int s : kCaught) sigaction(s, &action, nullptr);
}
