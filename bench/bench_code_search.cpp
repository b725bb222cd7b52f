// The search through the code: reading and folding every code file of a generated
// library of 20,000 or 100,000 entries of 100 lines (in the background reader, as
// the viewer does), one mode-3 pass without a match, and the match list of a term
// that many entries hold. The "memory" counter is the folded code's memory over the
// bytes of code on disk.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>

#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>

#include "code_generator.h"
#include "core/database/database_loader.h"
#include "core/search/code_reader.h"
#include "core/search/code_search.h"
#include "database_generator.h"

namespace {

struct Library {
  std::string folder;
  IndexModel index;
  size_t codeBytes = 0;
  CodeBuffer code;  // filled by the first read
};

std::vector<std::string>& libraryFolders() {
  static std::vector<std::string> folders;
  return folders;
}

void removeLibraries() {
  std::error_code ec;
  for (const std::string& folder : libraryFolders()) std::filesystem::remove_all(folder, ec);
}

// The library lies in a scratch folder for the length of the run, its files freshly
// written, so reading them measures the page cache as after a first start.
Library& library(int entries) {
  static std::map<int, Library> cache;
  auto it = cache.find(entries);
  if (it != cache.end()) return it->second;
  Library& lib = cache[entries];
  std::string pattern = std::filesystem::temp_directory_path().string() + "/vlcode-XXXXXX";
  if (!mkdtemp(pattern.data())) abort();
  lib.folder = pattern + "/";
  if (libraryFolders().empty()) atexit(removeLibraries);
  libraryFolders().push_back(lib.folder);
  XmlParseResult result;
  loadDatabaseBuffer(generateDatabase(entries), IndexBuildOptions{}, &lib.index, &result);
  std::vector<std::string> paths = codeFilePaths(lib.index, lib.folder);
  for (size_t i = 0; i < paths.size(); ++i) {
    if (paths[i].empty()) continue;
    std::filesystem::create_directories(std::filesystem::path(paths[i]).parent_path());
    std::string bytes = generateCodeFileBytes(100, static_cast<uint32_t>(i));
    std::ofstream(paths[i], std::ios::binary) << bytes;
    lib.codeBytes += bytes.size();
  }
  return lib;
}

struct Waiter {
  std::mutex lock;
  std::condition_variable woken;
  bool wake = false;
};

// Reads the whole library through the background reader and the hand-over, the
// owner's side running on this thread.
void readInBackground(const Library& lib, CodeBuffer* code) {
  Waiter waiter;
  CodeReader reader;
  reader.userData = &waiter;
  reader.notify = [](void* data) {
    Waiter* w = static_cast<Waiter*>(data);
    std::lock_guard<std::mutex> hold(w->lock);
    w->wake = true;
    w->woken.notify_one();
  };
  *code = CodeBuffer{};
  startCodeReading(&reader, codeFilePaths(lib.index, lib.folder));
  for (CodeReadProgress progress; !progress.finished;) {
    {
      std::unique_lock<std::mutex> hold(waiter.lock);
      waiter.woken.wait(hold, [&] { return waiter.wake; });
      waiter.wake = false;
    }
    std::vector<CodeChunk> chunks;
    takeCodeChunks(&reader, &chunks, &progress);
    for (CodeChunk& chunk : chunks) addCodeChunk(code, std::move(chunk));
  }
}

Library& readLibrary(int entries) {
  Library& lib = library(entries);
  if (lib.code.itemsCovered == 0) readInBackground(lib, &lib.code);
  return lib;
}

// CPU time of the whole process, the reading thread's included: on a busy machine
// the wall time mostly measures the other programs.
double processCpuMs() {
  rusage usage;
  getrusage(RUSAGE_SELF, &usage);
  return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
         (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

void BM_ReadAndFoldAllCode(benchmark::State& state) {
  Library& lib = library(static_cast<int>(state.range(0)));
  double cpuBefore = processCpuMs();
  for (auto _ : state) readInBackground(lib, &lib.code);
  state.counters["cpuMs"] = (processCpuMs() - cpuBefore) / static_cast<double>(state.iterations());
  state.counters["MB"] = static_cast<double>(lib.codeBytes) / 1e6;
  state.counters["memory"] = static_cast<double>(codeBufferMemory(lib.code)) / static_cast<double>(lib.codeBytes);
  state.counters["overFolded"] =
      static_cast<double>(codeBufferMemory(lib.code)) / static_cast<double>(codeBufferSize(lib.code));
}

void BM_CodeSearchPassWithoutMatch(benchmark::State& state) {
  Library& lib = readLibrary(static_cast<int>(state.range(0)));
  SearchBuffer texts;
  buildSearchBuffer(lib.index, 2, 0, &texts);  // the written search's part, built once per language
  for (auto _ : state) {
    int item = findCodeSearchItem(&texts, lib.code, lib.index, 0, "qxzv nowhere", 0);
    benchmark::DoNotOptimize(item);
    if (item != -1) state.SkipWithError("the term was found");
  }
  state.counters["MB"] = static_cast<double>(codeBufferSize(lib.code)) / 1e6;
}

// The same pass over the folded code with glibc's memmem, the yardstick of the
// two-byte filter the search uses.
void BM_MemmemPassWithoutMatch(benchmark::State& state) {
  Library& lib = readLibrary(static_cast<int>(state.range(0)));
  const std::string_view needle = "qxzv nowhere";
  for (auto _ : state)
    for (const CodeChunk& chunk : lib.code.chunks)
      if (memmem(chunk.folded.data(), chunk.folded.size(), needle.data(), needle.size()))
        state.SkipWithError("the term was found");
}

// "#VL_Limit" stands in almost every generated file: the list holds most entries,
// and its first page is described with its code lines.
void BM_MatchListOfCommonTerm(benchmark::State& state) {
  Library& lib = readLibrary(static_cast<int>(state.range(0)));
  SearchBuffer texts;
  buildSearchBuffer(lib.index, 2, 0, &texts);
  std::vector<std::string> paths = codeFilePaths(lib.index, lib.folder);
  size_t count = 0;
  for (auto _ : state) {
    std::vector<int> items = collectMatches(&texts, lib.code, lib.index, 3, 0, "#vl_limit");
    for (size_t i = 0; i < items.size() && i < 12; ++i)
      benchmark::DoNotOptimize(
          describeMatch(lib.index, lib.code, "#vl_limit", items[i], paths[items[i]]).codeLine.data());
    count = items.size();
  }
  state.counters["matches"] = static_cast<double>(count);
}

}  // namespace

BENCHMARK(BM_ReadAndFoldAllCode)->Arg(20000)->Arg(100000)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CodeSearchPassWithoutMatch)->Arg(20000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemmemPassWithoutMatch)->Arg(20000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MatchListOfCommonTerm)->Arg(20000)->Arg(100000)->Unit(benchmark::kMillisecond);
