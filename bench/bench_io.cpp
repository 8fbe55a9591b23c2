// Loading and saving a dense house, each against a plain read-and-split of
// the same file, and the clipboard text of the same house both ways.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "io/clip_text.h"
#include "io/house_file.h"

namespace {

using namespace tavi;

struct NoFacts : ITileFacts {
  uint8_t TileHeight(uint16_t) const override { return 0; }
  bool IsBackground(uint16_t) const override { return false; }
  uint16_t Category(uint16_t) const override { return 0; }
};

// A 31 x 31 plot with 21 tiles in every cell of every floor: 100,905 entries,
// walls and floors repeating as in a built house.
struct Dense {
  NoFacts facts;
  PlainDocHost host;
  std::unique_ptr<TTAVIDoc> doc;
  std::string path;
  Dense() {
    doc = std::make_unique<TTAVIDoc>(31, 31, &facts, &host);
    doc->Clear(false);
    for (int f = 0; f < kFloors; ++f)
      for (int l = 0; l < 21; ++l)
        for (int y = 0; y < 31; ++y)
          for (int x = 0; x < 31; ++x)
            doc->Tiles[f][l][y][x] = {int16_t(l - 1), uint16_t(1000 + l * 7 + (x + y) % 4), 0};
    doc->UpdateAllCells();
    char tmpl[] = "/tmp/tavi-bench-XXXXXX";
    const int fd = mkstemp(tmpl);
    if (fd >= 0) close(fd);
    path = tmpl;
    SaveToFile(*doc, path, 7);
  }
  ~Dense() { std::remove(path.c_str()); }
};

Dense& House() {
  static Dense dense;
  return dense;
}

void BM_PlainReadAndSplit(benchmark::State& state) {
  const std::string& path = House().path;
  for (auto _ : state) {
    std::string text, error;
    ReadWholeFile(path, &text, &error);
    std::vector<std::string_view> fields;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
      const char c = text[i];
      if (c == ',' || c == '\r' || c == '\n') {
        if (i > start) fields.emplace_back(text.data() + start, i - start);
        start = i + 1;
      }
    }
    benchmark::DoNotOptimize(fields.data());
  }
}
BENCHMARK(BM_PlainReadAndSplit)->Unit(benchmark::kMillisecond);

void BM_LoadFromFile(benchmark::State& state) {
  Dense& h = House();
  auto target = std::make_unique<TTAVIDoc>(8, 8, &h.facts, &h.host);
  target->Clear(false);
  for (auto _ : state) {
    const LoadResult r = LoadFromFile(*target, h.path);
    if (!r.ok) state.SkipWithError(r.error.c_str());
  }
}
BENCHMARK(BM_LoadFromFile)->Unit(benchmark::kMillisecond);

void BM_SaveToFile(benchmark::State& state) {
  Dense& h = House();
  const std::string out = h.path + ".out";
  for (auto _ : state) {
    const SaveResult r = SaveToFile(*h.doc, out, 7);
    if (!r.ok) state.SkipWithError(r.error.c_str());
  }
  std::remove(out.c_str());
}
BENCHMARK(BM_SaveToFile)->Unit(benchmark::kMillisecond);

void BM_ClipExport(benchmark::State& state) {
  Dense& h = House();
  MemoryClipboard clip;
  for (auto _ : state) {
    const SaveResult r = ExportClipText(*h.doc, clip, 76, 7, "dense");
    if (!r.ok) state.SkipWithError(r.error.c_str());
  }
  state.counters["text_bytes"] = double(clip.text.size());
}
BENCHMARK(BM_ClipExport)->Unit(benchmark::kMillisecond);

void BM_ClipImport(benchmark::State& state) {
  Dense& h = House();
  MemoryClipboard clip;
  ExportClipText(*h.doc, clip, 76, 7, "dense");
  auto target = std::make_unique<TTAVIDoc>(8, 8, &h.facts, &h.host);
  target->Clear(false);
  for (auto _ : state) {
    const LoadResult r = ImportClipText(*target, clip, nullptr);
    if (!r.ok) state.SkipWithError(r.error.c_str());
  }
}
BENCHMARK(BM_ClipImport)->Unit(benchmark::kMillisecond);

}  // namespace
