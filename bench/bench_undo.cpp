// Storing a floor in the undo ring and taking it back, against the two plain
// copies of a floor image that the same work needs at the least.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

#include "document/doc_host.h"
#include "document/house_document.h"

namespace {

using namespace tavi;

// Argument: the plot's side (the undo step refreshes every cell of the plot).
void BM_PushUndoAndUndo(benchmark::State& state) {
  PlainDocHost host;
  const int side = int(state.range(0));
  auto doc = std::make_unique<TTAVIDoc>(side, side, nullptr, &host);
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x) doc->Tiles[1][0][y][x].Id = uint16_t(1 + x + y);
  for (auto _ : state) {
    doc->PushUndo(1);
    benchmark::DoNotOptimize(doc->Undo());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_PushUndoAndUndo)->Arg(8)->Arg(32);

void BM_TwoFloorCopies(benchmark::State& state) {
  std::vector<uint8_t> floor(sizeof(FloorImage), 1), slot(sizeof(FloorImage)),
      back(sizeof(FloorImage));
  for (auto _ : state) {
    std::memcpy(slot.data(), floor.data(), slot.size());
    std::memcpy(back.data(), slot.data(), back.size());
    benchmark::DoNotOptimize(back.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_TwoFloorCopies);

}  // namespace
