// Export costs on large indexes: the duplicate protocol (grouped, so linear in its
// output) and the web page and posting texts, for 20,000 and 100,000 entries.
#include <benchmark/benchmark.h>

#include <string>

#include "core/database/duplicate_protocol.h"
#include "core/exports/posting_export.h"
#include "core/exports/web_page_export.h"

namespace {

// A root, themes of 25 entries, and values that repeat about three times each, as a
// grown database does where entries are copied and edited.
IndexModel makeIndex(int entries) {
  IndexModel index;
  auto add = [&](int level, const std::string& text, TopicNode node) {
    index.rows.push_back(IndexRow{text, level});
    index.topicList.push_back(std::move(node));
  };
  add(0, "Root", TopicNode{});
  const int distinct = entries / 3 + 1;
  for (int i = 0; i < entries; ++i) {
    if (i % 25 == 0) {
      TopicNode theme;
      theme.group = "Theme " + std::to_string(i / 25);
      add(1, theme.group, theme);
    }
    TopicNode e;
    int v = (i * 7919) % distinct;
    e.group = "Theme " + std::to_string(i / 25);
    e.file = "/Folder" + std::to_string(v % 50) + "/example" + std::to_string(v) + ".vl";
    e.themeDe = (i % 40 == 0 ? "\xE2\x9C\xB0" : "") + std::string("Titel ") + std::to_string(v);
    e.themeEn = "Title " + std::to_string((v * 3) % distinct);
    e.descriptDe = "Beschreibung " + std::to_string(v / 2);
    e.descriptEn = "Description " + std::to_string(v);
    add(2, e.themeDe, e);
  }
  return index;
}

void BM_DuplicateProtocol(benchmark::State& state) {
  IndexModel index = makeIndex(static_cast<int>(state.range(0)));
  size_t bytes = 0;
  for (auto _ : state) {
    OutputSink sink;
    renderDuplicateProtocol(index.topicList, "VL-LinuxAPI-Toc.xml", &sink);
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
