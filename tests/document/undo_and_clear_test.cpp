#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "document/house_document.h"
#include "house_builder.h"
#include "support/fake_tiles.h"

namespace tavi {
namespace {

struct DocFixture : ::testing::Test {
  test::FakeTileFacts facts;
  test::InvariantCheckingHost host;
  std::unique_ptr<TTAVIDoc> doc;
  void SetUp() override {
    facts.Floor(12788).Height(100, 20);
    doc = std::make_unique<TTAVIDoc>(8, 8, &facts, &host);
    doc->Clear(true);
    host.doc = doc.get();
  }
};

TEST_F(DocFixture, DefaultFoundationOnEightByEight) {
  EXPECT_EQ(doc->Tiles[0][0][1][1].Id, 12788);
  EXPECT_EQ(doc->Tiles[0][0][1][1].Z, 7);
  EXPECT_EQ(doc->Tiles[0][0][6][6].Id, 101);
  EXPECT_EQ(doc->Tiles[0][1][6][6].Id, 12788);
  EXPECT_EQ(doc->Tiles[0][1][6][6].Z, 7);
  EXPECT_EQ(doc->Tiles[0][0][7][0].Id, 3026);
  EXPECT_EQ(doc->Tiles[0][1][7][0].Id, 2970);
  EXPECT_EQ(doc->Tiles[0][1][6][0].Id, 9);
  EXPECT_EQ(doc->LayerCount[0][6][6], 2);
  EXPECT_EQ(doc->Tiles[0][0][3][7].Id, 0);  // column W-1 stays empty
  EXPECT_FALSE(doc->Modified);
  EXPECT_FALSE(doc->CanUndo());
}

TEST_F(DocFixture, TwoByTwoCornersOverlap) {
  doc->SetSize(2, 2);
  doc->Clear(true);
  EXPECT_EQ(doc->Tiles[0][0][0][0].Id, 101);
  EXPECT_EQ(doc->Tiles[0][1][0][0].Id, 9);
  EXPECT_EQ(doc->Tiles[0][0][1][0].Id, 3026);
  EXPECT_EQ(doc->Tiles[0][1][1][0].Id, 2970);
}

TEST_F(DocFixture, TinyPlotsNeverWriteOutsideThePlot) {
  doc->SetSize(1, 1);
  doc->Clear(true);
  for (int l = 0; l < kLayers; ++l)
    for (int y = 0; y < kGrid; ++y)
      for (int x = 0; x < kGrid; ++x)
        if (x >= 1 || y >= 1) {
          EXPECT_EQ(doc->Tiles[0][l][y][x].Id, 0);
        }
  doc->SetSize(0, 99);
  EXPECT_EQ(doc->Width, 1);
  EXPECT_EQ(doc->Height, 32);
}

TEST_F(DocFixture, UpdateCellUsesTheHighestEntryOnly) {
  doc->Tiles[2][5][3][3] = {4, 100, 0};
  doc->UpdateCell(3, 3, 2);
  EXPECT_EQ(doc->LayerCount[2][3][3], 6);
  EXPECT_EQ(doc->TopZ[2][3][3], 24);
}

TEST_F(DocFixture, FloorPassAgreesWithCellByCell) {
  // Stacks with gaps and entries high up, so the highest entry decides.
  for (int i = 0; i < 3000; ++i) {
    const int l = (i * 7) % kLayers, y = (i * 13) % kGrid, x = (i * 29) % kGrid;
    doc->Tiles[2][l][y][x] = {int16_t(i % 41 - 20), uint16_t(i % 3 == 0 ? 100 : i % 500), 0};
  }
  doc->UpdateFloorCells(2, kGrid, kGrid);
  int32_t layers[kGrid][kGrid], tops[kGrid][kGrid];
  std::memcpy(layers, doc->LayerCount[2], sizeof(layers));
  std::memcpy(tops, doc->TopZ[2], sizeof(tops));
  for (int y = 0; y < kGrid; ++y)
    for (int x = 0; x < kGrid; ++x) {
      doc->UpdateCell(x, y, 2);
      EXPECT_EQ(doc->LayerCount[2][y][x], layers[y][x]);
      EXPECT_EQ(doc->TopZ[2][y][x], tops[y][x]);
    }
}

// Plots of every shape: the cells inside get the summaries UpdateCell gives,
// the cells outside keep theirs.
TEST_F(DocFixture, FloorPassOfPartialPlotsAgreesAndLeavesTheRestAlone) {
  uint32_t seed = 99;
  auto next = [&] { return seed = seed * 1103515245u + 12345u; };
  for (int round = 0; round < 40; ++round) {
    std::memset(doc->Tiles[3], 0, sizeof(FloorImage));
    for (int i = 0; i < 4000; ++i)
      doc->Tiles[3][next() % kLayers][next() % kGrid][next() % kGrid] = {
          int16_t(next() % 60 - 30), uint16_t(next() % 3 == 0 ? 0 : 1 + next() % 700),
          uint16_t(next())};
    const int w = 1 + int(next() % kGrid), h = 1 + int(next() % kGrid);
    for (int y = 0; y < kGrid; ++y)
      for (int x = 0; x < kGrid; ++x) doc->LayerCount[3][y][x] = doc->TopZ[3][y][x] = -7;
    doc->UpdateFloorCells(3, w, h);
    for (int y = 0; y < kGrid; ++y)
      for (int x = 0; x < kGrid; ++x) {
        const int layers = doc->LayerCount[3][y][x], topZ = doc->TopZ[3][y][x];
        if (x >= w || y >= h) {
          ASSERT_EQ(layers, -7);
          ASSERT_EQ(topZ, -7);
          continue;
        }
        doc->UpdateCell(x, y, 3);
        ASSERT_EQ(layers, doc->LayerCount[3][y][x]) << w << "x" << h << " " << x << "," << y;
        ASSERT_EQ(topZ, doc->TopZ[3][y][x]) << w << "x" << h << " " << x << "," << y;
      }
  }
}

// The summaries of a restored floor ask the tile facts for the top entry of
// each cell only, not for every entry of the stacks.
TEST_F(DocFixture, UndoAsksTheTileFactsOncePerCell) {
  struct CountingFacts : ITileFacts {
    mutable int heights = 0;
    uint8_t TileHeight(uint16_t) const override { return ++heights, 3; }
    bool IsBackground(uint16_t) const override { return false; }
    uint16_t Category(uint16_t) const override { return 0; }
  } counting;
  doc->SetSize(32, 32);
  for (int l = 0; l < 20; ++l)
    for (int y = 0; y < kGrid; ++y)
      for (int x = 0; x < kGrid; ++x) doc->Tiles[1][l][y][x] = {int16_t(l), uint16_t(500 + l), 0};
  doc->PushUndo(1);
  host.doc = nullptr;  // other floors' summaries do not follow the swapped facts
  doc->SetFacts(&counting);
  ASSERT_EQ(doc->Undo(), 1);
  EXPECT_LE(counting.heights, kGrid * kGrid);
  EXPECT_EQ(doc->LayerCount[1][4][4], 20);
  EXPECT_EQ(doc->TopZ[1][4][4], 19 + 3);
  doc->SetFacts(&facts);
}

void Edit(TTAVIDoc& d, int floor, int n) {
  d.PushUndo(floor);
  d.Tiles[floor][0][0][n % 8].Id = uint16_t(1000 + n);
  d.UpdateCell(n % 8, 0, floor);
}

TEST_F(DocFixture, RingKeepsSixteenSteps) {
  for (int i = 0; i < 20; ++i) Edit(*doc, 1, i);
  int undone = 0;
  while (doc->CanUndo()) {
    EXPECT_EQ(doc->Undo(), 1);
    ++undone;
  }
  EXPECT_EQ(undone, 16);
  EXPECT_EQ(doc->Undo(), 0);
  // State after the 4th edit: edits 0..3 present, 4.. undone.
  EXPECT_EQ(doc->Tiles[1][0][0][3].Id, 1003);
  EXPECT_EQ(doc->Tiles[1][0][0][4].Id, 0);
}

TEST_F(DocFixture, UndoRedoRoundTripAcrossFloors) {
  Edit(*doc, 3, 0);
  Edit(*doc, 3, 1);
  EXPECT_EQ(doc->Undo(), 3);
  EXPECT_EQ(doc->Undo(), 3);
  EXPECT_EQ(doc->Redo(), 3);
  EXPECT_EQ(doc->Redo(), 3);
  EXPECT_EQ(doc->Tiles[3][0][0][1].Id, 1001);
  EXPECT_FALSE(doc->CanRedo());
  EXPECT_EQ(doc->Undo(), 3);
  EXPECT_EQ(doc->Tiles[3][0][0][1].Id, 0);
  EXPECT_EQ(doc->Tiles[3][0][0][0].Id, 1000);
  Edit(*doc, 1, 5);
  EXPECT_FALSE(doc->CanRedo());
}

// Save, Undo, Close must ask: after a save (Modified cleared) an undo or a
// redo changes the house again. With nothing to undo or redo nothing changes.
TEST_F(DocFixture, UndoAndRedoAfterASaveMarkTheHouseModified) {
  Edit(*doc, 2, 0);
  doc->Modified = false;  // as a save leaves it
  ASSERT_EQ(doc->Undo(), 2);
  EXPECT_TRUE(doc->Modified);
  doc->Modified = false;
  ASSERT_EQ(doc->Redo(), 2);
  EXPECT_TRUE(doc->Modified);
  doc->Modified = false;
  EXPECT_EQ(doc->Redo(), 0);
  EXPECT_FALSE(doc->Modified);
  doc->ResetUndo();
  EXPECT_EQ(doc->Undo(), 0);
  EXPECT_FALSE(doc->Modified);
}

// An undo or a redo recounts only the floor it changed; the price must still
// be the whole house's, whatever happened between (edits on other floors,
// other tile facts, a plot size change, entries written and touched).
TEST_F(DocFixture, PriceAfterUndoAndRedoIsTheWholeHouses) {
  for (uint16_t id = 1000; id < 1032; id += 2) facts.Cat(id, kCatPart);
  test::FakeTileFacts other = facts;
  other.Cat(1000, 0).Cat(1001, kCatPart);
  const auto expect = [&](const char* when) {
    EXPECT_EQ(host.price, doc->CountParts() * 500) << when;
  };
  for (int i = 0; i < 12; ++i) Edit(*doc, 1 + i % 3, i);
  doc->Recalculate();
  expect("after the edits");
  doc->Undo();
  expect("after an undo");
  doc->Tiles[4][0][5][5].Id = 1004;  // a direct write, told to the document
  doc->UpdateCell(5, 5, 4);
  doc->Undo();
  expect("after a direct write and an undo");
  doc->SetFacts(&other);
  doc->Redo();
  expect("after other tile facts and a redo");
  doc->SetFacts(&facts);
  doc->SetSize(3, 3);
  doc->Undo();
  expect("after a smaller plot and an undo");
  doc->SetSize(8, 8);
  while (doc->CanUndo()) {
    doc->Undo();
    expect("undoing all");
  }
  while (doc->CanRedo()) {
    doc->Redo();
    expect("redoing all");
  }
}

}  // namespace
}  // namespace tavi
