// Loader timings on generated databases of 2,000, 20,000 and 100,000 entries: loading
// the file into the index, the rebuild of a language switch and the count pass.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <string>

#include <benchmark/benchmark.h>

#include "core/database/database_loader.h"
#include "core/database/index_builder.h"
#include "database_generator.h"

namespace {

// One file per size, written on first use and removed at exit.
struct GeneratedFiles {
  std::map<int, std::string> paths;
  ~GeneratedFiles() {
    for (const auto& entry : paths) remove(entry.second.c_str());
  }
};

const std::string& databaseFile(int entries) {
  static GeneratedFiles files;
  auto found = files.paths.find(entries);
  if (found != files.paths.end()) return found->second;
  std::string path = "/tmp/bench_database_" + std::to_string(getpid()) + "_" + std::to_string(entries) + ".xml";
  std::string err;
  if (!writeGeneratedDatabase(path, entries, &err)) fprintf(stderr, "%s\n", err.c_str());
  return files.paths[entries] = path;
}

bool loadIndex(int entries, IndexModel* model, benchmark::State& state) {
  XmlParseResult result;
  if (loadDatabaseFile(databaseFile(entries), {}, model, &result) && result.status == 0) return true;
  state.SkipWithError("generated database did not parse");
  return false;
}

// Parsing the file and building the index are one pass now: the index is built from
// the parser's callbacks.
void BM_LoadDatabase(benchmark::State& state) {
  const std::string& path = databaseFile(static_cast<int>(state.range(0)));
  IndexBuildOptions options;
  options.dyeingNews = 0;  // the marker-removing path does the most work
  size_t held = 0;
  for (auto _ : state) {
    IndexModel model;
    XmlParseResult result;
    if (!loadDatabaseFile(path, options, &model, &result) || result.status != 0) {
      state.SkipWithError("generated database did not parse");
      break;
    }
    held = model.bytes();
    benchmark::DoNotOptimize(model.rowCount());
  }
  struct stat info;
  if (stat(path.c_str(), &info) == 0) {
    state.counters["MB"] = static_cast<double>(info.st_size) / 1e6;
    state.counters["heldMB"] = static_cast<double>(held) / 1e6;
    state.SetBytesProcessed(state.iterations() * info.st_size);
  }
}

// The rebuild of the language switch: in place, from the index in memory.
void BM_RebuildIndex(benchmark::State& state) {
  IndexModel model;
  if (!loadIndex(static_cast<int>(state.range(0)), &model, state)) return;
  IndexBuildOptions options;
  options.dyeingNews = 0;
  int language = 0;
  for (auto _ : state) {
    options.topicLanguage = language++ % 3;
    rebuildIndexModel(options, &model);
    benchmark::DoNotOptimize(model.generation);
  }
  state.counters["rows"] = static_cast<double>(model.rowCount());
}

void BM_CountThemesAndEntries(benchmark::State& state) {
  IndexModel model;
  if (!loadIndex(static_cast<int>(state.range(0)), &model, state)) return;
  IndexCounts counts;
  for (auto _ : state) {
    counts = countThemesAndEntries(model, IndexBuildOptions().libraryTitle);
    benchmark::DoNotOptimize(counts);
  }
  state.counters["themes"] = counts.themeCount;
  state.counters["entries"] = counts.entryCount;
}

// A flood of empty elements (issue of hostile libraries): two million "<e/>".
void BM_LoadEmptyElements(benchmark::State& state) {
  std::string xml = "<db>";
  for (int64_t i = 0; i < state.range(0); ++i) xml += "<e/>";
  xml += "</db>";
  size_t held = 0;
  for (auto _ : state) {
    IndexModel model;
    XmlParseResult result;
    loadDatabaseBuffer(xml, {}, &model, &result);
    held = model.bytes();
    benchmark::DoNotOptimize(model.rowCount());
  }
  state.counters["MB"] = static_cast<double>(xml.size()) / 1e6;
  state.counters["heldMB"] = static_cast<double>(held) / 1e6;
}

}  // namespace

BENCHMARK(BM_LoadDatabase)->Arg(2000)->Arg(20000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RebuildIndex)->Arg(2000)->Arg(20000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CountThemesAndEntries)->Arg(2000)->Arg(20000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadEmptyElements)->Arg(2000000)->Unit(benchmark::kMillisecond);
