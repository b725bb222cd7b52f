// Decoding and marking generated code files of 2,000, 20,000 and 100,000 lines (and
// decoding a 20 MB file), plus the shapes that would make a search per name or per
// keyword quadratic.
#include <benchmark/benchmark.h>

#include <string>

#include "code_generator.h"
#include "core/codeview/code_file.h"
#include "core/codeview/code_marks.h"
#include "core/codeview/highlighter.h"

namespace {

void BM_DecodeCodeBytes(benchmark::State& state) {
  std::string bytes = generateCodeFileBytes(static_cast<int>(state.range(0)), 1);
  CodeFileText text;
  for (auto _ : state) {
    decodeCodeBytes(bytes, &text);
    benchmark::DoNotOptimize(text.text.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}
// 500,000 lines are a file of about 20 MB.
BENCHMARK(BM_DecodeCodeBytes)->Arg(2000)->Arg(20000)->Arg(100000)->Arg(500000)->Unit(benchmark::kMillisecond);

void BM_ComputeHighlight(benchmark::State& state) {
  CodeFileText text;
  decodeCodeBytes(generateCodeFileBytes(static_cast<int>(state.range(0)), 1), &text);
  for (auto _ : state) {
    HighlightResult result = computeHighlight(text.text, 2);
    benchmark::DoNotOptimize(result.spans.data());
  }
}
BENCHMARK(BM_ComputeHighlight)->Arg(2000)->Arg(20000)->Arg(100000)->Arg(500000)->Unit(benchmark::kMillisecond);

// A generated file of the benchmark's number of lines, as the code view shows it.
ShownCode shownGeneratedCode(const benchmark::State& state) {
  CodeFileText text;
  decodeCodeBytes(generateCodeFileBytes(static_cast<int>(state.range(0)), 7), &text);
  return cutLongCodeLines(std::move(text.text));
}

// Finding the link targets the view shows as labels, with their places in
// characters: done on the marking thread while the text goes in.
void BM_PlaceLinks(benchmark::State& state) {
  ShownCode code = shownGeneratedCode(state);
  for (auto _ : state) {
    PlacedLinks placed = placeLinks(code);
    benchmark::DoNotOptimize(placed.anchors.data());
    state.counters["links"] = static_cast<double>(placed.anchors.size());
  }
}
BENCHMARK(BM_PlaceLinks)->Arg(100000)->Arg(500000)->Unit(benchmark::kMillisecond);

// What the view itself looks for while the characters are counted on the other core.
void BM_LinkTargetSearch(benchmark::State& state) {
  ShownCode code = shownGeneratedCode(state);
  for (auto _ : state) {
    LinkTargetSearch search = linkTargetSearch(code);
    size_t last = 0;
    for (ByteRange target; nextLinkTarget(search, &target);) last = target.end;
    benchmark::DoNotOptimize(last);
  }
}
BENCHMARK(BM_LinkTargetSearch)->Arg(100000)->Arg(500000)->Unit(benchmark::kMillisecond);

// Every line declares a different name that starts with a non-word character.
void BM_HighlightManyOddNames(benchmark::State& state) {
  std::string text;
  for (int i = 0; i < state.range(0); ++i) text += "Procedure (" + std::to_string(i) + "\n";
  for (auto _ : state) benchmark::DoNotOptimize(computeHighlight(text, 2).spans.data());
}
BENCHMARK(BM_HighlightManyOddNames)->Arg(20000)->Unit(benchmark::kMillisecond);

// Procedure keywords with no blank anywhere behind them.
void BM_HighlightNoBlanks(benchmark::State& state) {
  std::string text;
  for (int i = 0; i < state.range(0); ++i) text += "Procedure\tProcedureC\t\"x\"#y;\n";
  for (auto _ : state) benchmark::DoNotOptimize(computeHighlight(text, 2).spans.data());
}
BENCHMARK(BM_HighlightNoBlanks)->Arg(20000)->Unit(benchmark::kMillisecond);

void BM_DecodeOneLongLine(benchmark::State& state) {
  std::string bytes(1 << 20, 'x');
  CodeFileText text;
  for (auto _ : state) {
    decodeCodeBytes(bytes, &text);
    benchmark::DoNotOptimize(text.text.data());
  }
}
BENCHMARK(BM_DecodeOneLongLine)->Unit(benchmark::kMillisecond);

}  // namespace
