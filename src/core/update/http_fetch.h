// HTTP downloads through libcurl, which is loaded at run time: the program starts
// and runs without it, only the update check then finds nothing. Also fetching the
// version file.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/update/version_check.h"

// Bounds of one download, so that a silent server or a huge answer cannot hold the
// program (the download runs on the GUI thread) or eat its memory.
struct FetchLimits {
  long connectTimeoutSeconds = 10;
  long transferTimeoutSeconds = 30;       // the whole transfer, connection included
  size_t maxBodyBytes = size_t{1} << 20;  // a larger body is a failed download
};

// The libcurl entry points the download needs, bound from a loaded library.
struct CurlApi {
  void* library = nullptr;
  void* (*easyInit)() = nullptr;
  int (*easySetopt)(void* handle, int option, ...) = nullptr;
  int (*easyPerform)(void* handle) = nullptr;
  void (*easyCleanup)(void* handle) = nullptr;
  void (*slistFreeAll)(void* list) = nullptr;
  void* (*slistAppend)(void* list, const char* text) = nullptr;
};

enum class CurlLoad { kLoaded, kNoLibrary, kMissingSymbol };

// The library names tried for the program's own downloads, in order.
const std::vector<std::string>& curlLibraryNames();

// Opens the first of `names` that loads and binds the six entry points. When that
// library lacks one of them it is closed and no further name is tried.
CurlLoad loadCurlLibrary(const std::vector<std::string>& names, CurlApi* api);
void unloadCurlLibrary(CurlApi* api);

// Whether downloads are possible. The first call loads libcurl and the outcome holds
// for the rest of the run; when no name loads, one error line goes to stderr.
bool httpAvailable();

// HTTP GET of `url` into *body, following redirections (http and https only). The
// status is not examined: any body the server sends is the result. False on every
// failure, *body then unchanged.
bool fetchToMemory(const std::string& url, std::string* body, const FetchLimits& limits = {});

// Address of the version file on the project's web server.
std::string versionFileUrl();

// Downloads the version file from `url`. After a download that brought text, fills
// the record (program version from line `line` + 1, library date from line 5) and
// returns 1 when both values are non-empty, else 0. A failed download returns 0 and
// leaves the record as it was.
int fetchVersionFileFrom(const std::string& url, int line, const FetchLimits& limits, UpdateRecord* record);
// The same from versionFileUrl() with the default limits. The viewer passes 2.
int fetchVersionFile(int line, UpdateRecord* record);
