#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "document/house_document.h"
#include "support/fake_tiles.h"

namespace tavi {
namespace {

struct DocFixture : ::testing::Test {
  test::FakeTileFacts facts;
  PlainDocHost host;
  std::unique_ptr<TTAVIDoc> doc;
  void SetUp() override {
    facts.Floor(12788).Height(100, 20);
    doc = std::make_unique<TTAVIDoc>(8, 8, &facts, &host);
    doc->Clear(true);
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

}  // namespace
}  // namespace tavi
