// Export costs on large indexes: the duplicate protocol (grouped, so linear in its
// output) and the web page and posting texts, for 20,000 and 100,000 entries.
#include <benchmark/benchmark.h>

#include <string>

#include "core/database/duplicate_protocol.h"
#include "core/database/index_builder.h"
#include "core/exports/posting_export.h"
#include "core/exports/web_page_export.h"

namespace {

// A root, themes of 25 entries, and values that repeat about three times each, as a
// grown database does where entries are copied and edited.
IndexModel makeIndex(int entries) {
  IndexModel index;
  appendTopic(&index, 0, "Root", TopicNode{});
  const int distinct = entries / 3 + 1;
  for (int i = 0; i < entries; ++i) {
    std::string group = "Theme " + std::to_string(i / 25);
    if (i % 25 == 0) {
      TopicNode theme;
      theme.group = group;
      appendTopic(&index, 1, group, theme);
    }
    int v = (i * 7919) % distinct;
    std::string file = "/Folder" + std::to_string(v % 50) + "/example" + std::to_string(v) + ".vl";
    std::string themeDe = (i % 40 == 0 ? "\xE2\x9C\xB0" : "") + std::string("Titel ") + std::to_string(v);
    std::string themeEn = "Title " + std::to_string((v * 3) % distinct);
    std::string descriptDe = "Beschreibung " + std::to_string(v / 2);
    std::string descriptEn = "Description " + std::to_string(v);
    TopicNode e;
    e.group = group;
    e.file = file;
    e.themeDe = themeDe;
    e.themeEn = themeEn;
    e.descriptDe = descriptDe;
    e.descriptEn = descriptEn;
    appendTopic(&index, 2, "", e);  // copies the texts into the index
  }
  return index;
}

void BM_DuplicateProtocol(benchmark::State& state) {
  IndexModel index = makeIndex(static_cast<int>(state.range(0)));
  size_t bytes = 0;
  for (auto _ : state) {
    OutputSink sink;
    renderDuplicateProtocol(index, "VL-LinuxAPI-Toc.xml", &sink);
    bytes = sink.buffer.size();
    benchmark::DoNotOptimize(sink.buffer.data());
  }
  state.counters["protocol_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_DuplicateProtocol)->Arg(20000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_WebPageBody(benchmark::State& state) {
  IndexModel index = makeIndex(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    OutputSink sink;
    renderWebPageBody(index, 0, "Linux", &sink);
    benchmark::DoNotOptimize(sink.buffer.data());
  }
}
BENCHMARK(BM_WebPageBody)->Arg(20000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_Posting(benchmark::State& state) {
  IndexModel index = makeIndex(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    OutputSink sink;
    renderPosting(index, 0, PostingOptions{false, true}, &sink);
    benchmark::DoNotOptimize(sink.buffer.data());
  }
}
BENCHMARK(BM_Posting)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
