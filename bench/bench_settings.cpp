// Reading a language file of 100,000 items and a 10 MB settings file of garbage lines.
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include <benchmark/benchmark.h>

#include "core/settings/language_file.h"
#include "core/settings/preference_file.h"
#include "core/settings/settings_io.h"
#include "core/settings/settings_store.h"

namespace {

std::string scratchFile(const char* name) {
  return (std::filesystem::temp_directory_path() / (std::string("vlbench-") + std::to_string(getpid()) + "-" + name))
      .string();
}

void writeFile(const std::string& path, const std::string& bytes) {
  FILE* f = fopen(path.c_str(), "wb");
  if (!f) return;
  fwrite(bytes.data(), 1, bytes.size(), f);
  fclose(f);
}

std::string languageFileText(int items) {
  std::string text = "; generated\n[LanguageItems]\n";
  for (int i = 0; i < items; ++i) {
    if (i == items / 2) text += "[Tooltips]\n";
    std::string n = std::to_string(i);
    text += "Key = #Gadget_" + n + "\nde = Beschriftung Nummer " + n + "  \nen = Label number " + n +
            "\nfr = Libell\xC3\xA9 num\xC3\xA9ro " + n + "\n\n";
  }
  return text;
}

// Lines of printable noise: keys, half-keys, comments, groups and blank lines, and
// a few bytes that make the file ISO 8859-1, all before the program's own keys.
std::string garbageSettingsText(size_t bytes) {
  std::mt19937 rng(42);
  std::string text;
  while (text.size() < bytes) {
    int len = 5 + static_cast<int>(rng() % 60);
    std::string line;
    for (int i = 0; i < len; ++i) line += static_cast<char>(' ' + rng() % 95);
    switch (rng() % 8) {
      case 0:
        line = ";" + line;
        break;
      case 1:
        line = "\t  " + line;
        break;
      case 2:
        line += "\xE4";
        break;
      case 3:
        line.clear();
        break;
      default:
        break;
    }
    text += line + (rng() % 4 == 0 ? "\r\n" : "\n");
  }
  for (char& c : text) {
    if (c == '[') c = '(';  // a group line would hide the program's keys behind it
  }
  return text + "Language=1\nFontSize=12\n";
}

void BM_LanguageFile100k(benchmark::State& state) {
  std::string path = scratchFile("lang.ari");
  writeFile(path, languageFileText(100000));
  for (auto _ : state) {
    LanguageTable t;
    benchmark::DoNotOptimize(loadLanguageFile(path, &t));
    benchmark::DoNotOptimize(t.items.size());
  }
  std::filesystem::remove(path);
}
BENCHMARK(BM_LanguageFile100k)->Unit(benchmark::kMillisecond);

void BM_LoadSettingsFrom10MBOfGarbage(benchmark::State& state) {
  std::string path = scratchFile("garbage.ini");
  writeFile(path, garbageSettingsText(10u << 20));
  for (auto _ : state) {
    SettingsStore s = defaultSettings("/prog/");
    benchmark::DoNotOptimize(loadSettings(&s, path, 1920, 1080, nullptr));
    benchmark::DoNotOptimize(s.fontSize);
  }
  std::filesystem::remove(path);
}
BENCHMARK(BM_LoadSettingsFrom10MBOfGarbage)->Unit(benchmark::kMillisecond);

void BM_SaveSettingsInto10MBOfGarbage(benchmark::State& state) {
  std::string path = scratchFile("garbage-save.ini");
  std::string text = garbageSettingsText(10u << 20);
  SettingsStore s = defaultSettings("/prog/");
  s.saveWinSetting = 1;
  WindowGeometry w;
  for (auto _ : state) {
    state.PauseTiming();
    writeFile(path, text);
    state.ResumeTiming();
    benchmark::DoNotOptimize(saveSettings(s, path, &w));
  }
  std::filesystem::remove(path);
}
BENCHMARK(BM_SaveSettingsInto10MBOfGarbage)->Unit(benchmark::kMillisecond);

}  // namespace
