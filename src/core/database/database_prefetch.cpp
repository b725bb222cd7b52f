#include "core/database/database_prefetch.h"

#include <chrono>
#include <utility>

#include "core/database/index_builder.h"
#include "core/settings/settings_io.h"

DatabasePrefetch::~DatabasePrefetch() {
  if (worker.joinable()) worker.join();
}

void startDatabasePrefetch(DatabasePrefetch* prefetch, const std::string& path) {
  if (path.empty() || path[0] != '/' || !prefetch->path.empty()) return;
  prefetch->path = path;
  prefetch->loaded = false;
  prefetch->failed = false;
  prefetch->done = false;
  // Opened and set up here, parsed there (see beginDatabaseRead).
  DatabaseReadPtr read = beginDatabaseRead(path, prefetch->model, &prefetch->supply);
  if (!read) return;  // not loaded, as loadDatabaseFile would have said at once
  prefetch->worker = std::thread([prefetch, read = std::move(read)] {
    try {
      prefetch->loaded = finishDatabaseRead(read.get(), IndexBuildOptions(), &prefetch->model, &prefetch->result);
    } catch (...) {  // out of memory: start-up reads the file again itself and reports it there
      prefetch->failed = true;
    }
    prefetch->done.store(true, std::memory_order_release);
  });
}

std::string databasePathToPrefetch(const std::string& programFolder, const std::string& settingsFile) {
  SettingsStore s = defaultSettings(programFolder);
  // Neither the screen nor the fonts matter to the database path.
  const bool loaded = loadSettings(&s, settingsFile, 0, 0, [](const std::string&, int) { return true; });
  return settleDatabasePath(&s, loaded) == DatabaseChoice::Ask ? std::string() : s.databaseFilePath;
}

bool takePrefetchedDatabase(DatabasePrefetch* prefetch, const std::string& path, const IndexBuildOptions& options,
                            IndexModel* model, XmlParseResult* result, bool* loaded) {
  if (prefetch->path.empty()) return false;
  while (prefetch->worker.joinable() && !prefetch->done.load(std::memory_order_acquire)) {
    if (!prefetch->supply.prepare()) std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  if (prefetch->worker.joinable()) prefetch->worker.join();
  prefetch->supply.release();
  const bool same = prefetch->path == path && !prefetch->failed;
  prefetch->path.clear();
  if (same) {
    *loaded = prefetch->loaded;
    if (*loaded) {
      applyIndexLook(options, &prefetch->model);
      *model = std::move(prefetch->model);
      *result = std::move(prefetch->result);
    }
  }
  prefetch->model = IndexModel();  // what was not handed over is not kept
  return same;
}
