// Deleting entries and moving them through a cell's stack.
#include "house_builder.h"

namespace tavi::test {
namespace {

using RemoveTest = HouseTest;
using Entries = HouseTest::Entries;

TEST_F(RemoveTest, DeleteInRectTakesOneEntryPerCell) {
  Stack(1, 1, 1, {{kFloorPart, 0}, {kChair, 0}, {kWallNS, 0}});
  Stack(1, 2, 1, {{kFloorPart, 0}});
  doc->DeleteInRect({1, 1, 3, 1}, 1);
  EXPECT_EQ(Cell(1, 1, 1), (Entries{{kFloorPart, 0}, {kChair, 0}}));
  EXPECT_TRUE(Cell(1, 2, 1).empty());
  EXPECT_EQ(UndoSteps(), 1);
  EXPECT_TRUE(doc->Modified);

  // Parts Lock: the highest entry that is no part goes, the parts above drop
  // one layer but keep their altitude.
  host.partsLock = true;
  Stack(1, 1, 1, {{kFloorPart, 0}, {kChair, 0}, {kWallNS, 3}});
  Stack(1, 2, 1, {{kFloorPart, 0}, {kWallNS, 0}});
  doc->Modified = false;
  doc->DeleteInRect({1, 1, 2, 1}, 1);
  EXPECT_EQ(Cell(1, 1, 1), (Entries{{kFloorPart, 0}, {kWallNS, 3}}));
  EXPECT_EQ(doc->LayerCount[1][1][1], 2);
  EXPECT_EQ(Cell(1, 2, 1), (Entries{{kFloorPart, 0}, {kWallNS, 0}}));
  EXPECT_TRUE(doc->Modified);
}

TEST_F(RemoveTest, DeleteEntryDropsWhatRestedOnIt) {
  // A 0-high floor under a table: the table moves down a layer, same altitude.
  Stack(1, 1, 1, {{kPlainFloor, 0}, {kTable, 0}});
  doc->DeleteEntry(1, 1, 1, 0);
  EXPECT_EQ(Cell(1, 1, 1), (Entries{{kTable, 0}}));
  // A 5-high box carrying a lamp: the lamp drops by 5; so does everything above.
  Stack(1, 2, 1, {{kBox, 0}, {kLamp, 5}, {kChair, 13}});
  doc->DeleteEntry(2, 1, 1, 0);
  EXPECT_EQ(Cell(1, 2, 1), (Entries{{kLamp, 0}, {kChair, 8}}));
  // Not resting on it (altitude differs): no drop.
  Stack(1, 3, 1, {{kBox, 0}, {kLamp, 7}});
  doc->DeleteEntry(3, 1, 1, 0);
  EXPECT_EQ(Cell(1, 3, 1), (Entries{{kLamp, 7}}));
  EXPECT_EQ(UndoSteps(), 3);
}

TEST_F(RemoveTest, DeleteEntryRefusalsTakeNoSnapshot) {
  Stack(1, 1, 1, {{kWallNS, 0}});
  host.partsLock = true;
  doc->DeleteEntry(1, 1, 1, 0);  // locked part
  doc->DeleteEntry(1, 1, 1, 1);  // empty entry
  doc->DeleteEntry(1, 1, 1, 32);
  doc->DeleteEntry(1, 1, 1, -1);
  doc->DeleteEntry(9, 1, 1, 0);
  doc->RemoveEntry(1, 1, 1, 0);
  EXPECT_EQ(UndoSteps(), 0);
  EXPECT_FALSE(doc->Modified);
  EXPECT_EQ(Cell(1, 1, 1), (Entries{{kWallNS, 0}}));
}

TEST_F(RemoveTest, DeleteEntryInAFullCellAndAboveAGap) {
  Entries full;
  for (int i = 0; i < kLayers; ++i) full.push_back({kChair, i});
  Stack(1, 1, 1, full);
  doc->DeleteEntry(1, 1, 1, 31);
  EXPECT_EQ(doc->LayerCount[1][1][1], 31);
  doc->DeleteEntry(1, 1, 1, 0);
  EXPECT_EQ(doc->LayerCount[1][1][1], 30);
  EXPECT_EQ(doc->Tiles[1][0][1][1].Z, 1);

  // A loaded stack with a gap: entries above the gap are not lost. (Such a
  // stack breaks the packing the invariant check asks for.)
  host.doc = nullptr;
  Stack(1, 2, 2, {{kBox, 0}, {kLamp, 5}});
  doc->Tiles[1][31][2][2] = {9, kChest, 0};
  doc->UpdateCell(2, 2, 1);
  doc->DeleteEntry(2, 2, 1, 0);
  EXPECT_EQ(doc->Tiles[1][0][2][2].Id, kLamp);
  EXPECT_EQ(doc->Tiles[1][31][2][2].Id, kChest);
}

TEST_F(RemoveTest, RaiseWalksThroughAltitudesThenPastTheNeighbour) {
  Stack(1, 1, 1, {{kChair, 5}, {kLamp, 7}});
  EXPECT_EQ(doc->RaiseEntry(1, 1, 1, 0), 1);
  EXPECT_EQ(doc->Tiles[1][0][1][1].Z, 6);
  EXPECT_EQ(doc->RaiseEntry(1, 1, 1, 0), 1);
  EXPECT_EQ(doc->Tiles[1][0][1][1].Z, 7);
  EXPECT_EQ(doc->RaiseEntry(1, 1, 1, 0), 0);  // swapped: now on top of the list
  EXPECT_EQ(Cell(1, 1, 1), (Entries{{kLamp, 7}, {kChair, 7}}));
  EXPECT_EQ(UndoSteps(), 3);

  Stack(1, 2, 2, {{kChair, 20}});
  EXPECT_EQ(doc->RaiseEntry(2, 2, 1, 0), -1);
  EXPECT_EQ(UndoSteps(), 3);
  EXPECT_EQ(doc->RaiseEntry(2, 2, 1, 1), -1);  // empty entry
  EXPECT_EQ(doc->RaiseEntry(2, 2, 1, 40), -1);
  EXPECT_EQ(doc->RaiseEntry(-2, 2, 1, 0), -1);
  EXPECT_EQ(UndoSteps(), 3);
}

TEST_F(RemoveTest, LowerWalksDownAndStopsAtMinusThree) {
  Stack(1, 1, 1, {{kChair, 3}, {kLamp, 4}});
  EXPECT_EQ(doc->LowerEntry(1, 1, 1, 1), 0);  // 4 -> 3, still the top
  EXPECT_EQ(doc->Tiles[1][1][1][1].Z, 3);
  EXPECT_EQ(doc->LowerEntry(1, 1, 1, 1), 1);  // meets the chair: swapped
  EXPECT_EQ(Cell(1, 1, 1), (Entries{{kLamp, 3}, {kChair, 3}}));
  Stack(1, 2, 2, {{kChair, -3}});
  EXPECT_EQ(doc->LowerEntry(2, 2, 1, 0), -1);
  EXPECT_EQ(doc->Tiles[1][0][2][2].Z, -3);
  // Stored altitudes at the end of the 16-bit range do not wrap.
  Stack(1, 3, 3, {{kChair, -32768}});
  EXPECT_EQ(doc->LowerEntry(3, 3, 1, 0), -1);
  Stack(1, 4, 4, {{kChair, 0}, {kLamp, 32767}});
  EXPECT_EQ(doc->RaiseEntry(4, 4, 1, 1), -1);
  EXPECT_EQ(doc->Tiles[1][1][4][4].Z, 32767);
  // Passing an equal neighbour needs no arithmetic and still works there.
  Stack(1, 4, 4, {{kChair, 0}, {kLamp, 32767}, {kChest, 32767}});
  EXPECT_EQ(doc->RaiseEntry(4, 4, 1, 1), 0);
  EXPECT_EQ(doc->Tiles[1][2][4][4].Id, kLamp);
}

TEST_F(RemoveTest, RemoveEntryKeepsTheAltitudesAbove) {
  Stack(1, 1, 1, {{kBox, 0}, {kLamp, 5}, {kChair, 13}});
  doc->Tiles[1][1][1][1].Mark = 1;
  doc->RemoveEntry(1, 1, 1, 0);
  EXPECT_EQ(Cell(1, 1, 1), (Entries{{kLamp, 5}, {kChair, 13}}));
  EXPECT_EQ(doc->Tiles[1][0][1][1].Mark, 1);  // the mark moves with its entry
  EXPECT_EQ(doc->LayerCount[1][1][1], 2);
  // An empty entry names nothing: the top entry stays.
  doc->RemoveEntry(1, 1, 1, 5);
  EXPECT_EQ(doc->LayerCount[1][1][1], 2);
  doc->Undo();
  EXPECT_EQ(Cell(1, 1, 1), (Entries{{kBox, 0}, {kLamp, 5}, {kChair, 13}}));
}

}  // namespace
}  // namespace tavi::test
