// The report of a program error: when a fatal signal arrives, the viewer names the
// signal and the statement of its own code that was running, then ends.
#pragma once

#include <string>

// Kept up to date by VL_TRACE at the statements of our own code that call into
// libraries or handle events: the line of the last one that ran.
extern volatile int currentSourceLine;

#define VL_TRACE() (currentSourceLine = __LINE__)

struct ProgramError {
  int errorCode = 0;   // the signal number
  int errorLine = -1;  // low 24 bits of currentSourceLine; -1 stays -1
};

// "Segmentation violation" for 11, "Unknown error code" for numbers outside 1..31.
const char* signalText(int code);

// The text of the report box, four lines with values lined up at column 17.
std::string programErrorText(const ProgramError& error);

// Enough for the report text with any signal text and line.
inline constexpr size_t kProgramErrorTextSize = 160;
// The same text written into `out` (kProgramErrorTextSize bytes), without allocating,
// so a signal handler may call it. Returns its length.
size_t formatProgramError(const ProgramError& error, char* out);

// Installs one handler for SIGFPE, SIGSEGV, SIGBUS, SIGABRT, SIGTRAP, SIGSYS and
// SIGILL. When one arrives the default actions come back (so a fault inside the
// report cannot loop), then `report` runs; if it returns, the process ends with 1.
// `report` runs inside the signal handler: only async-signal-safe calls there.
void installErrorHandler(void (*report)(const ProgramError& error));

// The program's state is not to be trusted after a fault, and a window cannot be
// shown from a signal handler, so the report is shown by a fresh start of the same
// executable that gets the error in one argument. Async-signal-safe. Returns only when
// the executable could not be started; the report text has gone to standard error then.
void restartToReport(const ProgramError& error);
// The error carried by the argument restartToReport passes; false for any other text.
bool parseReportArgument(const char* arg, ProgramError* error);
