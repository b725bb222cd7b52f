// Loader timings on generated databases of 2,000, 20,000 and 100,000 entries: parsing
// the file, building the index and the count pass.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <string>

#include <benchmark/benchmark.h>

#include "core/database/index_builder.h"
#include "core/database/xml_document.h"
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

bool loadDocument(int entries, XmlDocument* doc, benchmark::State& state) {
  XmlParseResult result;
  if (parseDatabaseFile(databaseFile(entries), doc, &result) && result.status == 0) return true;
  state.SkipWithError("generated database did not parse");
  return false;
}

void BM_ParseDatabase(benchmark::State& state) {
  const std::string& path = databaseFile(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    XmlDocument doc;
    XmlParseResult result;
    if (!parseDatabaseFile(path, &doc, &result) || result.status != 0) {
      state.SkipWithError("generated database did not parse");
      break;
    }
    benchmark::DoNotOptimize(doc.elements.data());
  }
  struct stat info;
  if (stat(path.c_str(), &info) == 0) {
    state.counters["MB"] = static_cast<double>(info.st_size) / 1e6;
    state.SetBytesProcessed(state.iterations() * info.st_size);
  }
}

void BM_BuildIndex(benchmark::State& state) {
  XmlDocument doc;
  if (!loadDocument(static_cast<int>(state.range(0)), &doc, state)) return;
  IndexBuildOptions options;
  options.dyeingNews = 0;  // the marker-removing path does the most work
  for (auto _ : state) {
    IndexModel model;
    buildIndex(doc, options, &model);
    benchmark::DoNotOptimize(model.rows.data());
  }
  state.counters["rows"] = static_cast<double>(doc.elements.size());
}

void BM_CountThemesAndEntries(benchmark::State& state) {
  XmlDocument doc;
  if (!loadDocument(static_cast<int>(state.range(0)), &doc, state)) return;
  IndexModel model;
  buildIndex(doc, {}, &model);
  IndexCounts counts;
  for (auto _ : state) {
    counts = countThemesAndEntries(model, IndexBuildOptions().libraryTitle);
    benchmark::DoNotOptimize(counts);
  }
  state.counters["themes"] = counts.themeCount;
  state.counters["entries"] = counts.entryCount;
}

}  // namespace

BENCHMARK(BM_ParseDatabase)->Arg(2000)->Arg(20000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildIndex)->Arg(2000)->Arg(20000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CountThemesAndEntries)->Arg(2000)->Arg(20000)->Arg(100000)->Unit(benchmark::kMicrosecond);
