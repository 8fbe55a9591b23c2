#pragma once
// A document on fake tile facts with the demo heights and the real category
// words, and small helpers to build and read cell stacks.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "document/aos_tables.h"
#include "document/house_document.h"
#include "support/fake_tiles.h"

namespace tavi::test {

// Tiles used throughout: table pieces get their real category words.
constexpr uint16_t kFloorPart = 1305;  // floors row 0: 0x1001, floor tile
constexpr uint16_t kFoundFloor = 12788;
constexpr uint16_t kWallNS = 10;         // walls row 0 column 0, tall: 0x02BD
constexpr uint16_t kWallWE = 13;         // walls row 0 column 4, tall: 0x036B
constexpr uint16_t kWallCorner = 9;      // walls row 0 column 7, tall: 0x032F
constexpr uint16_t kRoof = 1473;         // roofs row 0: 0x2001
constexpr uint16_t kStairBlock = 1848;   // stairs row 0 column 0
constexpr uint16_t kPlainFloor = 14001;  // a floor tile that is no part
constexpr uint16_t kChair = 14002;       // ordinary items, no category
constexpr uint16_t kTable = 14003;       // 5 high
constexpr uint16_t kLamp = 14004;
constexpr uint16_t kBox = 14005;  // 5 high
constexpr uint16_t kChest = 2475;

// A host that checks the document after every operation: each one ends in
// Recalculate, which hands the price to the host.
struct InvariantCheckingHost : PlainDocHost {
  const TTAVIDoc* doc = nullptr;
  int checks = 0;
  void SetPrice(int64_t p, const std::string& a, const std::string& b) override {
    PlainDocHost::SetPrice(p, a, b);
    if (!doc) return;
    ++checks;
    const std::string problem = doc->CheckInvariants();
    EXPECT_TRUE(problem.empty()) << problem;
  }
};

struct HouseTest : ::testing::Test {
  FakeTileFacts facts;
  InvariantCheckingHost host;
  std::unique_ptr<TTAVIDoc> doc;

  void SetUp() override {
    facts.UseDemoLikeTables();
    facts.Floor(kPlainFloor).Height(kTable, 5).Height(kBox, 5).Height(kChair, 3).Height(kLamp, 8);
    for (uint16_t id : {kPlainFloor, kChair, kTable, kLamp, kBox, kChest})
      ASSERT_EQ(facts.Category(id), 0) << id;
    doc = std::make_unique<TTAVIDoc>(8, 8, &facts, &host);
    doc->Clear(false);
    host.doc = doc.get();
  }

  // Writes a whole stack bottom-up, entries as {id, z}.
  void Stack(int floor, int x, int y, std::vector<std::pair<uint16_t, int>> entries) {
    for (int l = 0; l < kLayers; ++l) doc->Tiles[floor][l][y][x] = {0, 0, 0};
    int l = 0;
    for (auto [id, z] : entries) doc->Tiles[floor][l++][y][x] = {int16_t(z), id, 0};
    doc->UpdateCell(x, y, floor);
  }
  // The stack as {id, z} pairs up to the highest non-empty layer.
  std::vector<std::pair<uint16_t, int>> Cell(int floor, int x, int y) const {
    std::vector<std::pair<uint16_t, int>> out;
    int top = 0;
    for (int l = 0; l < kLayers; ++l)
      if (doc->Tiles[floor][l][y][x].Id != 0) top = l + 1;
    for (int l = 0; l < top; ++l)
      out.emplace_back(doc->Tiles[floor][l][y][x].Id, doc->Tiles[floor][l][y][x].Z);
    return out;
  }
  using Entries = std::vector<std::pair<uint16_t, int>>;
  bool Marked(int floor, int x, int y, int layer) const {
    return (doc->Tiles[floor][layer][y][x].Mark & 0xFF) == 1;
  }
  int UndoSteps() const { return (doc->UndoPos - doc->UndoBottom + kUndoSlots) % kUndoSlots; }
};

}  // namespace tavi::test
