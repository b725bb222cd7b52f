// One index search pass without a match, in the widest scope (all languages with
// descriptions), over generated databases; and the one-time fold of the texts.
#include <benchmark/benchmark.h>

#include <map>
#include <string>

#include "core/app/search_text.h"
#include "core/database/database_loader.h"
#include "core/database/index_builder.h"
#include "database_generator.h"

namespace {

const IndexModel& generatedIndex(int entries) {
  static std::map<int, IndexModel> cache;
  auto it = cache.find(entries);
  if (it != cache.end()) return it->second;
  XmlParseResult result;
  IndexModel& model = cache[entries];
  loadDatabaseBuffer(generateDatabase(entries), IndexBuildOptions{}, &model, &result);
  return model;
}

void BM_FindWithoutMatchMode2(benchmark::State& state) {
  const IndexModel& index = generatedIndex(static_cast<int>(state.range(0)));
  SearchBuffer buffer;
  buildSearchBuffer(index, 2, 0, &buffer);
  for (auto _ : state) {
    int item = findSearchItem(&buffer, index, 2, 0, "qxzv nowhere", 0);
    benchmark::DoNotOptimize(item);
    if (item != -1) state.SkipWithError("the term was found");
  }
  state.counters["bytes"] = static_cast<double>(buffer.folded.size());
}

void BM_FoldAllTextsMode2(benchmark::State& state) {
  const IndexModel& index = generatedIndex(static_cast<int>(state.range(0)));
  SearchBuffer buffer;
  for (auto _ : state) {
    buildSearchBuffer(index, 2, 0, &buffer);
    benchmark::DoNotOptimize(buffer.folded.data());
  }
}

// One idle step of the deferred fold: 2,000 items, the widest scope.
void BM_FoldStepMode2(benchmark::State& state) {
  const IndexModel& index = generatedIndex(static_cast<int>(state.range(0)));
  SearchBuffer buffer;
  for (auto _ : state) {
    if (foldSearchTexts(index, 2, 0, 2000, &buffer)) {
      state.PauseTiming();
      buffer = SearchBuffer();
      state.ResumeTiming();
    }
    benchmark::DoNotOptimize(buffer.folded.data());
  }
}

}  // namespace

BENCHMARK(BM_FoldStepMode2)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FindWithoutMatchMode2)->Arg(20000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FoldAllTextsMode2)->Arg(20000)->Arg(100000)->Unit(benchmark::kMillisecond);
