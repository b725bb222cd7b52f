// Reading the database while the toolkit starts. Connecting to the display,
// loading the theme and building the windows take about as long as parsing a
// large database, and neither needs the other, so the parse runs on a second
// processor from the program's first moment. Start-up takes the result where it
// opens the database, in its written order, so every message about the file
// still comes at the same point.
#pragma once

#include <atomic>
#include <string>
#include <thread>

#include "core/database/database_loader.h"

struct DatabasePrefetch {
  std::string path;  // empty: nothing was started, or it was taken
  std::thread worker;
  std::atomic<bool> done{false};  // the worker has finished
  BlockSupply supply;             // the index's memory, made ready while start-up waits for the read
  IndexModel model;
  XmlParseResult result;
  bool loaded = false;
  bool failed = false;  // the read threw

  DatabasePrefetch() = default;
  DatabasePrefetch(const DatabasePrefetch&) = delete;
  DatabasePrefetch& operator=(const DatabasePrefetch&) = delete;
  ~DatabasePrefetch();
};

// Starts reading `path` on another thread. Only absolute paths are read ahead: a
// relative one depends on the working folder, which start-up may still change.
void startDatabasePrefetch(DatabasePrefetch* prefetch, const std::string& path);

// The database path start-up will open when the settings file names an existing
// one; empty when it would ask the user or the settings cannot say yet.
std::string databasePathToPrefetch(const std::string& programFolder, const std::string& settingsFile);

// Waits for the read of `path`, making the memory it fills ready meanwhile, and
// hands it over as loadDatabaseFile would have loaded it with `options` into a
// fresh model (*loaded is what it returns). False, with nothing changed, when no
// read of that path was started: the caller loads the file itself. A prefetch is
// taken once.
bool takePrefetchedDatabase(DatabasePrefetch* prefetch, const std::string& path, const IndexBuildOptions& options,
                            IndexModel* model, XmlParseResult* result, bool* loaded);
