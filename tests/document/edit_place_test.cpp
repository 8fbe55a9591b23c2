// Placing by tile kind, staircases and rectangle stacking.
#include <cstring>

#include "house_builder.h"

namespace tavi::test {
namespace {

using PlaceTest = HouseTest;
using Entries = HouseTest::Entries;

TEST_F(PlaceTest, SamePressPartTwiceIsRefusedAndChangesNothing) {
  for (uint16_t id : {kFloorPart, kWallNS, kRoof}) {
    Stack(1, 2, 2, {});
    EXPECT_TRUE(doc->PlaceTile(2, 2, false, doc->Tiles[1], 10, id, 1)) << id;
    const Entries before = Cell(1, 2, 2);
    doc->Modified = false;
    EXPECT_FALSE(doc->PlaceTile(2, 2, false, doc->Tiles[1], 10, id, 1)) << id;
    EXPECT_EQ(Cell(1, 2, 2), before);
    EXPECT_FALSE(doc->Modified);
  }
}

TEST_F(PlaceTest, KindDecidesWhereTheTileGoes) {
  // A floor goes under a chair; the chair keeps its altitude.
  Stack(1, 1, 1, {{kChair, 7}});
  doc->PlaceTile(1, 1, false, doc->Tiles[1], 0, kFloorPart, 1);
  EXPECT_EQ(Cell(1, 1, 1), (Entries{{kFloorPart, 0}, {kChair, 7}}));
  // A second floor replaces the first in place.
  doc->PlaceTile(1, 1, false, doc->Tiles[1], 0, kPlainFloor, 1);
  EXPECT_EQ(Cell(1, 1, 1), (Entries{{kPlainFloor, 0}, {kChair, 7}}));

  // A wall keeps only the floor under it.
  Stack(1, 2, 1, {{kFloorPart, 0}, {kChair, 0}, {kTable, 3}, {kLamp, 8}});
  doc->PlaceTile(2, 1, false, doc->Tiles[1], 0, kWallNS, 1);
  EXPECT_EQ(Cell(1, 2, 1), (Entries{{kFloorPart, 0}, {kWallNS, 0}}));
  EXPECT_EQ(doc->LayerCount[1][1][2], 2);
  // Without a floor it replaces layer 0.
  Stack(1, 3, 1, {{kChair, 0}, {kLamp, 3}});
  doc->PlaceTile(3, 1, false, doc->Tiles[1], 0, kWallNS, 1);
  EXPECT_EQ(Cell(1, 3, 1), (Entries{{kWallNS, 0}}));

  // A roof at Alt 10 goes under the stack at 7 and lifts it by 7.
  Stack(1, 4, 1, {{kFloorPart, 0}, {kChair, 0}});
  doc->PlaceTile(4, 1, false, doc->Tiles[1], 10, kRoof, 1);
  EXPECT_EQ(Cell(1, 4, 1), (Entries{{kRoof, 7}, {kFloorPart, 7}, {kChair, 7}}));
  // A roof already at the bottom is replaced in place, nothing lifted.
  doc->PlaceTile(4, 1, false, doc->Tiles[1], 19, 1460, 1);
  EXPECT_EQ(Cell(1, 4, 1), (Entries{{1460, 16}, {kFloorPart, 7}, {kChair, 7}}));
  // A roof below the bottom entry lifts nothing.
  Stack(1, 5, 1, {{kChair, 12}});
  doc->PlaceTile(5, 1, false, doc->Tiles[1], 3, kRoof, 1);
  EXPECT_EQ(Cell(1, 5, 1), (Entries{{kRoof, 0}, {kChair, 12}}));
}

TEST_F(PlaceTest, StackingRespectsTopAndAlt) {
  Stack(1, 1, 1, {});
  doc->PlaceTile(1, 1, false, doc->Tiles[1], 12, kChair, 1);
  EXPECT_EQ(Cell(1, 1, 1), (Entries{{kChair, 12}}));
  Stack(1, 2, 2, {{kTable, 10}});  // top 15
  doc->PlaceTile(2, 2, false, doc->Tiles[1], 12, kChair, 1);
  EXPECT_EQ(Cell(1, 2, 2), (Entries{{kTable, 10}, {kChair, 15}}));
  Stack(1, 3, 3, {{kTable, 15}});  // top 20: still allowed
  doc->PlaceTile(3, 3, false, doc->Tiles[1], 0, kChair, 1);
  EXPECT_EQ(Cell(1, 3, 3).back(), std::make_pair(kChair, 20));

  // Top at 21: nothing is written, yet the call reports a change.
  Stack(1, 4, 4, {{kTable, 16}});
  doc->Modified = false;
  EXPECT_TRUE(doc->PlaceTile(4, 4, false, doc->Tiles[1], 0, kChair, 1));
  EXPECT_EQ(Cell(1, 4, 4), (Entries{{kTable, 16}}));
  EXPECT_TRUE(doc->Modified);

  // A full cell takes nothing more on top.
  Entries full;
  for (int i = 0; i < kLayers; ++i) full.push_back({kChair, 0});
  Stack(1, 5, 5, full);
  doc->PlaceTile(5, 5, false, doc->Tiles[1], 0, kLamp, 1);
  EXPECT_EQ(Cell(1, 5, 5), full);
}

TEST_F(PlaceTest, FullCellKeepsItsTopEntryWhenAFloorOrRoofArrives) {
  Entries full;
  for (int i = 0; i < kLayers; ++i) full.push_back({uint16_t(kChair + (i == 31)), 0});
  for (uint16_t id : {kFloorPart, kRoof}) {
    Stack(1, 1, 1, full);
    EXPECT_FALSE(doc->PlaceTile(1, 1, false, doc->Tiles[1], 10, id, 1));
    EXPECT_EQ(Cell(1, 1, 1), full);
  }
}

TEST_F(PlaceTest, PreviewWritesOnlyTheScratchImage) {
  Stack(2, 3, 3, {{kFloorPart, 0}, {kTable, 0}});
  static FloorImage scratch;
  std::memcpy(scratch, doc->Tiles[2], sizeof scratch);
  doc->Modified = false;
  host.price = -1;
  EXPECT_FALSE(doc->PlaceTile(3, 3, true, scratch, 4, kChair, 2));
  EXPECT_EQ(scratch[2][3][3].Id, kChair);
  EXPECT_EQ(scratch[2][3][3].Z, 5);  // on the real document's TopZ
  EXPECT_EQ(Cell(2, 3, 3), (Entries{{kFloorPart, 0}, {kTable, 0}}));
  EXPECT_FALSE(doc->Modified);
  EXPECT_EQ(host.price, -1);  // no recount
  EXPECT_EQ(UndoSteps(), 0);

  EXPECT_TRUE(doc->PlaceAutoStairs(3, 3, true, scratch, 2, 0, 2));
  EXPECT_EQ(UndoSteps(), 0);
  EXPECT_EQ(doc->LayerCount[2][3][3], 2);
}

TEST_F(PlaceTest, OutsideThePlotOrFloorsNothingIsWritten) {
  doc->SetSize(4, 4);
  EXPECT_FALSE(doc->PlaceTile(4, 0, false, doc->Tiles[1], 0, kChair, 1));
  EXPECT_FALSE(doc->PlaceTile(0, -1, false, doc->Tiles[1], 0, kFloorPart, 1));
  EXPECT_FALSE(doc->PlaceTile(0, 0, false, doc->Tiles[0], 0, kChair, 5));
  EXPECT_FALSE(doc->PlaceTile(0, 0, false, doc->Tiles[0], 0, kChair, -1));
  EXPECT_EQ(doc->Tiles[1][0][0][4].Id, 0);
  EXPECT_FALSE(doc->Modified);
}

TEST_F(PlaceTest, AutoStairsStopAtThePlotEdge) {
  // Direction 2 (east), two cells from the east edge of the 8-wide plot.
  doc->PlaceAutoStairs(6, 2, false, doc->Tiles[1], 2, 0, 1);
  const uint16_t step = 1852;  // stairs row 0, east
  EXPECT_EQ(Cell(1, 6, 2), (Entries{{step, 0}}));
  EXPECT_EQ(Cell(1, 7, 2), (Entries{{kStairBlock, 0}, {step, 5}}));
  EXPECT_EQ(UndoSteps(), 1);
  EXPECT_TRUE(doc->Modified);

  // North from row 1: two cells, the clicked one and the one above.
  Stack(1, 2, 1, {{kChair, 0}, {kLamp, 3}});
  doc->PlaceAutoStairs(2, 1, false, doc->Tiles[1], 1, 0, 1);
  EXPECT_EQ(Cell(1, 2, 1), (Entries{{1849, 0}}));
  EXPECT_EQ(Cell(1, 2, 0), (Entries{{kStairBlock, 0}, {1849, 5}}));
}

TEST_F(PlaceTest, StairsWithUnknownDirectionOrRowWriteNothing) {
  Stack(1, 3, 3, {{kChair, 0}});
  for (auto [dir, row] : {std::pair{0, 0}, {5, 0}, {-7, 0}, {1, 10}, {2, -1}, {3, 100000}}) {
    doc->Modified = false;
    EXPECT_TRUE(doc->PlaceAutoStairs(3, 3, false, doc->Tiles[1], dir, row, 1));
    EXPECT_TRUE(doc->Modified);
    EXPECT_TRUE(doc->PlaceStairsInRect({2, 2, 4, 4}, 1, dir, row));
    EXPECT_EQ(Cell(1, 3, 3), (Entries{{kChair, 0}}));
  }
  // Row 9 has no east step: nothing is laid rather than a cleared cell.
  doc->PlaceAutoStairs(3, 3, false, doc->Tiles[1], 2, 9, 1);
  EXPECT_EQ(Cell(1, 3, 3), (Entries{{kChair, 0}}));
}

TEST_F(PlaceTest, StairsInRectLayFourLinesAcrossTheClimb) {
  Stack(1, 2, 7, {{kChair, 0}});
  doc->PlaceStairsInRect({1, 2, 3, 7}, 1, 3, 0);  // south, rows 2..7
  const uint16_t step = 1851;
  for (int x = 1; x <= 3; ++x) {
    EXPECT_EQ(Cell(1, x, 2), (Entries{{step, 0}}));
    EXPECT_EQ(Cell(1, x, 5),
              (Entries{{kStairBlock, 0}, {kStairBlock, 5}, {kStairBlock, 10}, {step, 15}}));
    EXPECT_TRUE(Cell(1, x, 6).empty());
    EXPECT_TRUE(Cell(1, x, 7).empty());  // cleared, beyond the fourth line
  }
  // West climbs from the right column.
  doc->PlaceStairsInRect({4, 0, 5, 0}, 1, 4, 0);
  EXPECT_EQ(Cell(1, 5, 0), (Entries{{1850, 0}}));
  EXPECT_EQ(Cell(1, 4, 0), (Entries{{kStairBlock, 0}, {1850, 5}}));
}

TEST_F(PlaceTest, StackInRectOnlyInStackMode) {
  Stack(1, 1, 1, {{kTable, 16}});  // top 21: refused
  Stack(1, 2, 1, {{kTable, 0}});
  doc->StackInRect({1, 1, 2, 2}, 1, 0, 0, kLamp);
  EXPECT_EQ(UndoSteps(), 1);
  EXPECT_EQ(doc->LayerCount[1][1][2], 1);
  EXPECT_FALSE(doc->Modified);
  doc->StackInRect({1, 1, 2, 2}, 1, 2, 1, kLamp);
  EXPECT_EQ(Cell(1, 1, 1), (Entries{{kTable, 16}}));
  EXPECT_EQ(Cell(1, 2, 1), (Entries{{kTable, 0}, {kLamp, 5}}));
  EXPECT_EQ(Cell(1, 1, 2), (Entries{{kLamp, 2}}));
  EXPECT_TRUE(doc->Modified);
  // A rectangle reaching past the plot only touches the plot.
  doc->StackInRect({6, 6, 40, 40}, 1, 0, 1, kLamp);
  EXPECT_EQ(doc->Tiles[1][0][8][8].Id, 0);
  EXPECT_EQ(doc->Tiles[1][0][7][7].Id, kLamp);
}

TEST_F(PlaceTest, TwentyStrokesLeaveSixteenUndoSteps) {
  for (int i = 0; i < 20; ++i) {
    doc->PushUndo(1);
    doc->PlaceTile(i % 8, i / 8, false, doc->Tiles[1], 0, kChair, 1);
  }
  int undone = 0;
  while (doc->CanUndo()) {
    doc->Undo();
    ++undone;
  }
  EXPECT_EQ(undone, 16);
  for (int i = 0; i < 20; ++i) EXPECT_EQ(doc->LayerCount[1][i / 8][i % 8], i < 4 ? 1 : 0) << i;
}

}  // namespace
}  // namespace tavi::test
