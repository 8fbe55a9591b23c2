// Storing a floor in the undo ring and taking it back on the dense demo house
// (about 20,000 entries, the demo client's tile facts), against the two plain
// copies of a floor image that the same work needs at the least. With the
// rule check off the undo still recounts the price; with it on it also runs
// the whole check (for information: its cost is the check's own).
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

#include "bench/demo_house.h"
#include "bench/ratio.h"
#include "document/doc_host.h"
#include "document/house_document.h"

namespace tavi::bench {
namespace {

struct TwoCopies {
  std::vector<uint8_t> floor = std::vector<uint8_t>(sizeof(FloorImage), 1),
                       slot = std::vector<uint8_t>(sizeof(FloorImage)),
                       back = std::vector<uint8_t>(sizeof(FloorImage));
  void Run() {
    std::memcpy(slot.data(), floor.data(), slot.size());
    std::memcpy(back.data(), slot.data(), back.size());
    benchmark::DoNotOptimize(back.data());
    benchmark::ClobberMemory();
  }
};

void SnapshotAndUndo(benchmark::State& st, bool ruleCheck) {
  DemoClient& d = DemoClient::Get();
  if (!d.Ok()) return st.SkipWithError("no demo client");
  PlainDocHost host;
  auto doc = std::make_unique<TTAVIDoc>(32, 32, d.data.get(), &host);
  const int entries = BuildDenseHouse(*doc, d);
  host.showPropriety = ruleCheck;
  doc->Recalculate();
  TwoCopies copies;
  int floor = 0;
  PathAgainstFloor(
      st, ruleCheck ? 0 : 3.0,
      [&] {
        doc->PushUndo(2);
        floor = doc->Undo();
        benchmark::ClobberMemory();
      },
      [&] { copies.Run(); });
  if (floor != 2) st.SkipWithError("the undo did not restore floor 2");
  st.counters["entries"] = entries;
}

void BM_SnapshotAndUndo(benchmark::State& st) {
  SnapshotAndUndo(st, false);
}
void BM_SnapshotAndUndoWithRuleCheck(benchmark::State& st) {
  SnapshotAndUndo(st, true);
}
BENCHMARK(BM_SnapshotAndUndo)->Unit(benchmark::kMicrosecond)->UseManualTime();
BENCHMARK(BM_SnapshotAndUndoWithRuleCheck)->Unit(benchmark::kMicrosecond)->UseManualTime();

// The price recount every undo ends with (rule check off), alone: what it
// adds to the undo's own copies and cell summaries.
void BM_PriceRecount(benchmark::State& st) {
  DemoClient& d = DemoClient::Get();
  if (!d.Ok()) return st.SkipWithError("no demo client");
  PlainDocHost host;
  auto doc = std::make_unique<TTAVIDoc>(32, 32, d.data.get(), &host);
  BuildDenseHouse(*doc, d);
  TwoCopies copies;
  PathAgainstFloor(
      st, 0, [&] { doc->Recalculate(); }, [&] { copies.Run(); });
  st.counters["price"] = double(host.price);
}
BENCHMARK(BM_PriceRecount)->Unit(benchmark::kMicrosecond)->UseManualTime();

void BM_TwoFloorCopies(benchmark::State& st) {
  TwoCopies copies;
  for (auto _ : st) copies.Run();
}
BENCHMARK(BM_TwoFloorCopies)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tavi::bench
