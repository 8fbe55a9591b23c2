// The foundation builder, "Delete except AoS customize" and part replacement.
#include "document/foundation_tables.h"
#include "house_builder.h"

namespace tavi::test {
namespace {

using FoundationTest = HouseTest;
using ReplaceTest = HouseTest;
using Entries = HouseTest::Entries;

TEST(FoundationTables, GridsAndStyles) {
  EXPECT_EQ(SignAt(5, 3), kDefaultSign);
  EXPECT_EQ(SignAt(0, 0), 2980);
  EXPECT_EQ(SignAt(5, 8), 3086);
  EXPECT_EQ(HangerAt(1, 0), kDefaultHanger);
  EXPECT_EQ(HangerAt(2, 1), 2978);
  EXPECT_EQ(PostAt(0, 0), kDefaultPost);
  EXPECT_EQ(PostAt(5, 3), 982);
  EXPECT_EQ(PostAt(6, 3), 0);
  for (auto [c, r] : {std::pair{-1, 0}, {0, -1}, {8, 0}, {0, 9}, {100, 100}}) {
    EXPECT_EQ(SignAt(c, r), 0);
    EXPECT_EQ(HangerAt(c, r), 0);
    EXPECT_EQ(PostAt(c, r), 0);
  }
  EXPECT_EQ(FoundationStyleAt(4).cornerSE, 101);
  EXPECT_EQ(FoundationStyleAt(99).cornerNW, 102);
  EXPECT_EQ(FoundationHeight(20), 6);
  EXPECT_EQ(FoundationHeight(189), 6);
  EXPECT_EQ(FoundationHeight(765), 7);
  for (const FoundationStyle& s : kFoundationStyles)
    EXPECT_EQ(s.height, FoundationHeight(s.cornerSE));
}

TEST_F(FoundationTest, StyleZeroOnTheDefaultHouse) {
  doc->Clear(true);
  doc->SetBaseHeight(7);
  const FoundationStyle& s = kFoundationStyles[0];
  doc->BuildFoundation(3000, 2968, 29, s.edgeNS, s.cornerSE, s.edgeWE, s.cornerNW);
  EXPECT_EQ(Cell(0, 0, 0), (Entries{{23, 0}}));
  EXPECT_EQ(Cell(0, 0, 3), (Entries{{21, 0}}));
  EXPECT_EQ(Cell(0, 3, 0), (Entries{{22, 0}}));
  EXPECT_EQ(Cell(0, 3, 6), (Entries{{22, 0}, {kFoundFloor, 6}}));
  EXPECT_EQ(Cell(0, 6, 3), (Entries{{21, 0}, {kFoundFloor, 6}}));  // east edge
  EXPECT_EQ(Cell(0, 6, 6), (Entries{{20, 0}, {kFoundFloor, 6}}));
  EXPECT_EQ(Cell(0, 3, 3), (Entries{{kFoundFloor, 6}}));
  EXPECT_EQ(Cell(0, 0, 6), (Entries{{21, 0}, {29, 6}}));
  EXPECT_EQ(Cell(0, 0, 7), (Entries{{3000, 6}, {2968, 6}}));
  EXPECT_EQ(Cell(0, 3, 7), (Entries{{1873, 0}}));  // steps untouched
  EXPECT_EQ(doc->BaseHeight(), 6);
  EXPECT_TRUE(doc->Modified);
  EXPECT_EQ(doc->Undo(), 0);
  EXPECT_EQ(Cell(0, 0, 0), (Entries{{102, 0}}));
  EXPECT_EQ(Cell(0, 3, 3), (Entries{{kFoundFloor, 7}}));
}

TEST_F(FoundationTest, InteriorFloorsAndEmptyPlots) {
  doc->Clear(true);
  Stack(0, 2, 2, {{kFloorPart, 0}, {kChair, 0}, {kLamp, 3}});
  const FoundationStyle& s = kFoundationStyles[4];
  doc->BuildFoundation(kDefaultSign, kDefaultHanger, kDefaultPost, s.edgeNS, s.cornerSE, s.edgeWE,
                       s.cornerNW);
  EXPECT_EQ(Cell(0, 2, 2), (Entries{{kFloorPart, 0}, {kFoundFloor, 7}, {kLamp, 3}}));
  // On an empty plot the floor goes to layer 0, never above an empty layer.
  doc->Clear(false);
  doc->BuildFoundation(kDefaultSign, kDefaultHanger, kDefaultPost, s.edgeNS, s.cornerSE, s.edgeWE,
                       s.cornerNW);
  EXPECT_EQ(Cell(0, 3, 3), (Entries{{kFoundFloor, 7}}));
  // A 1 x 1 plot takes only what fits: the sign and hanger row is row 0.
  doc->SetSize(1, 1);
  doc->Clear(false);
  doc->BuildFoundation(1, 2, 3, 4, 5, 6, 7);
  EXPECT_EQ(Cell(0, 0, 0), (Entries{{1, 7}, {2, 7}}));
  EXPECT_TRUE(Cell(0, 1, 0).empty());
}

TEST_F(FoundationTest, DeleteExceptCustomizationKeepsPartsInPlace) {
  Stack(2, 3, 3, {{kFloorPart, 0}, {kChair, 0}, {kWallNS, 3}, {kLamp, 23}});
  Stack(0, 3, 3, {{kChair, 0}});
  Entries full;
  for (int i = 0; i < 31; ++i) full.push_back({kWallNS, i});
  full.push_back({kLamp, 40});
  Stack(4, 1, 1, full);
  doc->Modified = false;
  doc->DeleteExceptCustomization();
  EXPECT_EQ(Cell(2, 3, 3), (Entries{{kFloorPart, 0}, {kWallNS, 3}}));
  EXPECT_EQ(Cell(0, 3, 3), (Entries{{kChair, 0}}));  // the foundation floor stays whole
  EXPECT_EQ(doc->LayerCount[4][1][1], 31);
  EXPECT_TRUE(doc->Modified);
  EXPECT_EQ(UndoSteps(), 4);
  for (int i = 0; i < 4; ++i) doc->Undo();
  EXPECT_EQ(Cell(2, 3, 3), (Entries{{kFloorPart, 0}, {kChair, 0}, {kWallNS, 3}, {kLamp, 23}}));
  EXPECT_EQ(doc->LayerCount[4][1][1], 32);
}

TEST_F(ReplaceTest, SameColumnOfAnotherRow) {
  Stack(1, 1, 1, {{18, 0}});
  Stack(1, 2, 1, {{kFloorPart, 0}, {16, 0}, {kLamp, 20}});
  Stack(1, 1, 2, {{17, 2}});
  Stack(1, 2, 2, {{19, 0}});
  doc->Tiles[1][0][2][1].Mark = 1;
  EXPECT_TRUE(doc->ReplaceWalls({1, 1, 2, 2}, 1, 3));
  EXPECT_EQ(Cell(1, 1, 1), (Entries{{22, 0}}));
  EXPECT_EQ(Cell(1, 2, 1), (Entries{{kFloorPart, 0}, {20, 0}, {kLamp, 20}}));
  EXPECT_EQ(Cell(1, 1, 2), (Entries{{21, 2}}));
  EXPECT_EQ(doc->Tiles[1][0][2][1].Mark, 1);
  EXPECT_EQ(Cell(1, 2, 2), (Entries{{23, 0}}));
  EXPECT_EQ(UndoSteps(), 1);
  // 18 fills columns 0..2 of its row: the first occurrence decides.
  EXPECT_TRUE(doc->ReplaceWalls({1, 1, 2, 2}, 1, 2));
  EXPECT_TRUE(doc->ReplaceWalls({1, 1, 2, 2}, 1, 0));
  EXPECT_EQ(Cell(1, 1, 1), (Entries{{10, 0}}));
  // Doors, stairs and enchancements use their own tables.
  Stack(1, 3, 3, {{1849, 0}});
  EXPECT_TRUE(doc->ReplaceStairs({3, 3, 4, 4}, 1, 1));
  EXPECT_EQ(Cell(1, 3, 3).front().first, ObjectTableAt(kAosStairs, 1, 1));
  EXPECT_TRUE(doc->ReplaceDoors({3, 3, 4, 4}, 1, 0));  // not a door: left alone
  EXPECT_EQ(Cell(1, 3, 3).front().first, ObjectTableAt(kAosStairs, 1, 1));
  Stack(1, 5, 5, {{44, 0}});
  EXPECT_TRUE(doc->ReplaceEnchancements({5, 5, 6, 6}, 1, 1));
  EXPECT_EQ(Cell(1, 5, 5), (Entries{{470, 0}}));
}

TEST_F(ReplaceTest, MissingPieceGoesAndTheStackClosesUp) {
  Stack(1, 1, 1, {{kFloorPart, 0}, {18, 0}, {kLamp, 20}});
  EXPECT_TRUE(doc->ReplaceWalls({1, 1, 2, 2}, 1, 1));  // row 1 has no column 0
  EXPECT_EQ(Cell(1, 1, 1), (Entries{{kFloorPart, 0}, {kLamp, 20}}));
  EXPECT_EQ(doc->LayerCount[1][1][1], 2);
}

TEST_F(ReplaceTest, RefusedSelectionsChangeNothing) {
  Stack(1, 1, 1, {{18, 0}});
  Stack(1, 1, 2, {{kPlainFloor, 0}, {kChair, 0}});
  EXPECT_FALSE(doc->ReplaceWalls({1, 0, 1, 7}, 1, 3));  // one column wide
  EXPECT_FALSE(doc->ReplaceWalls({0, 1, 7, 1}, 1, 3));  // one row high
  EXPECT_FALSE(doc->ReplaceWalls({0, 0, 7, 7}, 1, 134));
  EXPECT_FALSE(doc->ReplaceWalls({0, 0, 7, 7}, 1, -1));
  EXPECT_FALSE(doc->ReplaceWalls({0, 0, 7, 7}, 5, 3));
  EXPECT_EQ(UndoSteps(), 0);
  EXPECT_FALSE(doc->Modified);
  EXPECT_TRUE(doc->ReplaceWalls({0, 0, 7, 7}, 1, 3));
  EXPECT_EQ(Cell(1, 1, 2), (Entries{{kPlainFloor, 0}, {kChair, 0}}));
}

}  // namespace
}  // namespace tavi::test
