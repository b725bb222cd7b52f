// Small helpers shared by the fuzz targets: a scratch file per process for the
// readers that only take a path, and a check that aborts with a message.
#pragma once

#include <string>
#include <string_view>

// A path in the temporary folder that belongs to this process and target.
std::string scratchPath(std::string_view name);

// Replaces the file's content; aborts when that fails, since the target would then
// test nothing.
void writeScratchFile(const std::string& path, std::string_view bytes);

// Reports the broken property and aborts, so the fuzzer keeps the input.
[[noreturn]] void fuzzFail(const char* what, const char* file, int line);

#define FUZZ_CHECK(cond)                              \
  do {                                                \
    if (!(cond)) fuzzFail(#cond, __FILE__, __LINE__); \
  } while (0)
