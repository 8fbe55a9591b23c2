// One edit on a dense house (the after-change recount and rule check included)
// against one plain scan of the whole tile block (the ratios are for
// information; no target is set), and a 32 x 32 paste.
#include <benchmark/benchmark.h>

#include <array>
#include <cstring>
#include <memory>

#include "bench/ratio.h"
#include "document/aos_tables.h"
#include "document/house_document.h"

namespace {

using namespace tavi;
namespace bench = tavi::bench;

// Heights like the demo client's, categories from the part tables.
class BenchFacts : public ITileFacts {
 public:
  BenchFacts() {
    for (int type = 0; type < kAosTypeCount; ++type)
      for (int row = 0; row < AosTableRows(type); ++row)
        for (int col = 0; col < kAosColumns; ++col) {
          const uint16_t id = ObjectTableAt(type, col, row);
          if (id == 0) continue;
          if (type == kAosFloors) {
            background_[id] = true;
            height_[id] = 0;
          } else {
            height_[id] = (type == kAosStairs || type == kAosRoofs) ? 5 : 20;
          }
        }
    background_[12788] = true;
    for (int id = 14000; id < 14100; ++id) height_[id] = uint8_t(id % 9);
    BuildTileCategories([this](uint16_t id) { return int(height_[id]); }, category_.data());
  }
  uint8_t TileHeight(uint16_t id) const override { return height_[id]; }
  bool IsBackground(uint16_t id) const override { return background_[id]; }
  uint16_t Category(uint16_t id) const override { return id < 0x4000 ? category_[id] : 0; }

 private:
  std::array<uint8_t, 65536> height_{};
  std::array<bool, 65536> background_{};
  std::array<uint16_t, 0x4000> category_{};
};

constexpr uint16_t kFloorA = 1305, kFloorB = 1306;
constexpr uint16_t kWallNS = 10, kWallWE = 13;

struct DenseHouse {
  BenchFacts facts;
  PlainDocHost host;
  std::unique_ptr<TTAVIDoc> doc = std::make_unique<TTAVIDoc>(32, 32, &facts, &host);

  DenseHouse() {
    host.showPropriety = true;
    doc->Clear(true);
    // Floors 1..4: a floor everywhere, a wall grid every fourth line, and a
    // few stacked items on every cell.
    for (int f = 1; f < kFloors; ++f)
      for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
          int l = 0;
          auto put = [&](uint16_t id, int z) { doc->Tiles[f][l++][y][x] = {int16_t(z), id, 0}; };
          put(kFloorA, 0);
          if (y % 4 == 0)
            put(kWallNS, 0);
          else if (x % 4 == 0)
            put(kWallWE, 0);
          for (int k = 0; k < 4; ++k) put(uint16_t(14000 + (x + y + k) % 100), 2 * k);
          doc->UpdateCell(x, y, f);
        }
    doc->Recalculate();
  }
};

// The floor of the edits below: one plain scan of the whole tile block.
uint32_t PlainScan(const TTAVIDoc& doc) {
  uint32_t sum = 0;
  for (int f = 0; f < kFloors; ++f)
    for (int l = 0; l < kLayers; ++l)
      for (int y = 0; y < kGrid; ++y)
        for (int x = 0; x < kGrid; ++x) sum += doc.Tiles[f][l][y][x].Id;
  benchmark::DoNotOptimize(sum);
  return sum;
}

void BM_PlainScan(benchmark::State& state) {
  DenseHouse h;
  for (auto _ : state) PlainScan(*h.doc);
}
BENCHMARK(BM_PlainScan);

// A floor tile swapped in place on floor 2: cell update, price, rule check.
void BM_EditWithCheck(benchmark::State& state) {
  DenseHouse h;
  bool flip = false;
  bench::PathAgainstFloor(
      state, 0,
      [&] {
        flip = !flip;
        h.doc->PlaceTile(9, 9, false, h.doc->Tiles[2], 0, flip ? kFloorB : kFloorA, 2);
      },
      [&] { PlainScan(*h.doc); });
}
BENCHMARK(BM_EditWithCheck)->UseManualTime();

// The same with the undo snapshot the main window takes per click.
void BM_EditWithUndoAndCheck(benchmark::State& state) {
  DenseHouse h;
  bool flip = false;
  bench::PathAgainstFloor(
      state, 0,
      [&] {
        flip = !flip;
        h.doc->PushUndo(2);
        h.doc->PlaceTile(9, 9, false, h.doc->Tiles[2], 0, flip ? kFloorB : kFloorA, 2);
      },
      [&] { PlainScan(*h.doc); });
}
BENCHMARK(BM_EditWithUndoAndCheck)->UseManualTime();

void BM_RuleCheckOnly(benchmark::State& state) {
  DenseHouse h;
  bench::PathAgainstFloor(
      state, 0, [&] { h.doc->CheckCustomization(); }, [&] { PlainScan(*h.doc); });
}
BENCHMARK(BM_RuleCheckOnly)->UseManualTime();

// A full floor of clipboard text (32 x 32 cells, 6 entries each) pasted into
// an empty floor.
void BM_Paste32x32(benchmark::State& state) {
  DenseHouse h;
  MemoryClipboard clip;
  h.doc->CopyRect({0, 0, 31, 31}, 1, clip);
  h.host.showPropriety = false;
  for (auto _ : state) {
    state.PauseTiming();
    std::memset(h.doc->Tiles[3], 0, sizeof(FloorImage));
    for (int y = 0; y < kGrid; ++y)
      for (int x = 0; x < kGrid; ++x) h.doc->UpdateCell(x, y, 3);
    state.ResumeTiming();
    h.doc->PasteAt(0, 0, 0, 0, 3, clip);
  }
  state.counters["bytes"] = double(clip.text.size());
}
BENCHMARK(BM_Paste32x32);

}  // namespace
