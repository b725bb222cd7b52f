#include "core/app/error_report.h"

#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

extern char** environ;

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

constexpr char kReportOption[] = "--vl-program-error=";

// Small appends into a fixed buffer: a signal handler may not allocate.
struct TextBuffer {
  char* out;
  size_t size;
  size_t used = 0;

  void add(const char* text) {
    while (*text && used + 1 < size) out[used++] = *text++;
    out[used] = '\0';
  }
  void addNumber(long value) {
    char digits[24];
    int n = 0;
    unsigned long rest = value < 0 ? 0ul - static_cast<unsigned long>(value) : static_cast<unsigned long>(value);
    do {
      digits[n++] = static_cast<char>('0' + rest % 10);
      rest /= 10;
    } while (rest != 0);
    if (value < 0) add("-");
    char text[2] = {0, 0};
    while (n > 0) {
      text[0] = digits[--n];
      add(text);
    }
  }
};

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

size_t formatProgramError(const ProgramError& error, char* out) {
  TextBuffer text{out, kProgramErrorTextSize};
  text.add("A program error was detected:\n\nError Message:   ");
  text.add(signalText(error.errorCode));
  text.add("\nError Code:      ");
  text.addNumber(error.errorCode);
  text.add("\nSourcecode line: ");
  text.addNumber(error.errorLine);
  text.add("\n");
  return text.used;
}

std::string programErrorText(const ProgramError& error) {
  char text[kProgramErrorTextSize];
  return std::string(text, formatProgramError(error, text));
}

void installErrorHandler(void (*report)(const ProgramError& error)) {
  g_report = report;
  struct sigaction action = {};
  action.sa_sigaction = onFatalSignal;
  action.sa_flags = SA_SIGINFO;
  sigemptyset(&action.sa_mask);
  for (int s : kCaught) sigaction(s, &action, nullptr);
}

void restartToReport(const ProgramError& error) {
  static char argument[64];
  TextBuffer text{argument, sizeof argument};
  text.add(kReportOption);
  text.addNumber(error.errorCode);
  text.add(",");
  text.addNumber(error.errorLine);
  char name[] = "vlapi-viewer";
  char* argv[] = {name, argument, nullptr};
  // The signal being handled is blocked, and a blocked mask survives execve.
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
  execve("/proc/self/exe", argv, environ);
  char report[kProgramErrorTextSize];
  size_t length = formatProgramError(error, report);
  if (write(2, report, length) < 0) return;
}

bool parseReportArgument(const char* arg, ProgramError* error) {
  size_t prefix = strlen(kReportOption);
  if (strncmp(arg, kReportOption, prefix) != 0) return false;
  char* end = nullptr;
  long code = strtol(arg + prefix, &end, 10);
  if (*end != ',') return false;
  long line = strtol(end + 1, &end, 10);
  if (*end != '\0') return false;
  error->errorCode = static_cast<int>(code);
  error->errorLine = static_cast<int>(line);
  return true;
}
