// Scene building for the worst case (every layer of every cell of every floor
// filled), and the first-draw decode rate of pictures from the demo client.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "client/tile_data.h"
#include "document/doc_host.h"
#include "document/house_document.h"
#include "render/art_source.h"
#include "render/scene.h"
#include "tools/demodata.h"

namespace tavi {
namespace {

class PlainFacts : public ITileFacts {
 public:
  uint8_t TileHeight(uint16_t id) const override {
    return id % 3 == 0 ? 20 : (id % 3 == 1 ? 0 : 5);
  }
  bool IsBackground(uint16_t id) const override { return id % 3 == 1; }
  uint16_t Category(uint16_t) const override { return 0; }
};

void BM_SceneWorstCase(benchmark::State& st) {
  PlainFacts facts;
  PlainDocHost host;
  auto doc = std::make_unique<TTAVIDoc>(32, 32, &facts, &host);
  doc->Clear(false);
  for (int f = 0; f < kFloors; ++f)
    for (int L = 0; L < kLayers; ++L)
      for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
          doc->Tiles[f][L][y][x] = TileEntry{int16_t(L % 20), uint16_t(100 + (x + y + L) % 50), 1};
  doc->UpdateAllCells();
  static TBackgroundMap ground{};
  ViewState s;
  s.CurrentFloor = 4;
  s.BackgroundMap = &ground;
  s.LargeBG = true;
  s.EditMode = kModeStack;
  s.Selection = CellRect{0, 0, 31, 31};
  SceneInputs in;
  in.Doc = doc.get();
  in.State = &s;
  DrawList list;
  for (auto _ : st) {
    BuildScene(in, &list);
    benchmark::DoNotOptimize(list.Items.data());
  }
  st.counters["items"] = double(list.Items.size());
  st.counters["frames/s"] =
      benchmark::Counter(double(st.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SceneWorstCase)->Unit(benchmark::kMillisecond);

const std::string& DemoDir() {
  static const std::string dir = [] {
    namespace fs = std::filesystem;
    fs::path base = fs::temp_directory_path() / ("tavi-bench-demo-" + std::to_string(::getpid()));
    fs::create_directories(base);
    std::string error;
    if (!tavi::demo::WriteDemoClient(base.string(), nullptr, &error)) return std::string();
    return base.string();
  }();
  return dir;
}

// Every picture of the demo client decoded once, as the first draw of each
// would do.
void BM_FirstDrawDecode(benchmark::State& st) {
  if (DemoDir().empty()) {
    st.SkipWithError("no demo client");
    return;
  }
  auto data = TUOTileData::Create(DemoDir() + "/artidx.mul", DemoDir() + "/tiledata.mul",
                                  DemoDir() + "/art.mul");
  std::vector<uint32_t> indices;
  for (uint32_t i = 0; i < kArtIndexLimit; ++i)
    if (data->HasArt(i)) indices.push_back(i);
  size_t pictures = 0, pixels = 0;
  for (auto _ : st) {
    TArtCache cache(data.get());
    for (uint32_t i : indices)
      if (const ArtRGBA* p = cache.Picture(i)) {
        ++pictures;
        pixels += size_t(p->ArtWidth) * p->ArtHeight;
      }
  }
  st.counters["pictures/s"] = benchmark::Counter(double(pictures), benchmark::Counter::kIsRate);
  st.counters["Mpixels/s"] = benchmark::Counter(pixels / 1e6, benchmark::Counter::kIsRate);
  st.counters["pictures"] = double(indices.size());
}
BENCHMARK(BM_FirstDrawDecode)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tavi
