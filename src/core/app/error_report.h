// The report of a program error: when a fatal signal arrives, the viewer names the
// signal and the statement of its own code that was running, then ends.
#pragma once

#include <string>

// Kept up to date by VL_TRACE at the statements of our own code that call into
// libraries or handle events: the file id in the high 8 bits, the line in the low 24.
extern volatile int currentSourceLine;

#define VL_TRACE() (currentSourceLine = (kTraceFileId << 24) | __LINE__)

struct ProgramError {
  int errorCode = 0;   // the signal number
  int errorLine = -1;  // low 24 bits of currentSourceLine; -1 stays -1
};

// "Segmentation violation" for 11, "Unknown error code" for numbers outside 1..31.
const char* signalText(int code);

// The text of the report box, four lines with values lined up at column 17.
std::string programErrorText(const ProgramError& error);

// Installs one handler for SIGFPE, SIGSEGV, SIGBUS, SIGABRT, SIGTRAP, SIGSYS and
// SIGILL. When one arrives the default actions come back (so a fault inside the
// report cannot loop), then `report` runs; if it returns, the process ends with 1.
void installErrorHandler(void (*report)(const ProgramError& error));
