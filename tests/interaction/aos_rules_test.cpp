// What the AoS type list decides for Replace Walls and the catalogue click.
#include "interaction/aos_rules.h"

#include "document/house_builder.h"

namespace tavi::test {
namespace {

using AosRulesTest = HouseTest;

TEST_F(AosRulesTest, ReplaceFollowsTheTypeAndRefusesFloorsAndRoofs) {
  const CellRect rect{1, 1, 2, 2};
  Stack(1, 1, 1, {{18, 0}});
  Stack(1, 2, 2, {{1849, 0}});
  for (int type : {int(kAosFloors), int(kAosRoofs), -1, kAosTypeCount}) {
    EXPECT_FALSE(CanReplaceParts(type)) << type;
    doc->Modified = false;
    EXPECT_FALSE(ReplaceByAosType(*doc, type, rect, 1, 3)) << type;
    EXPECT_FALSE(doc->Modified) << type;
    EXPECT_FALSE(doc->CanUndo()) << type;
  }
  for (int type : {kAosWalls, kAosDoors, kAosStairs, kAosAutoStairs, kAosEnchancements})
    EXPECT_TRUE(CanReplaceParts(type)) << type;

  // Walls swap within the walls table; the staircase stays.
  EXPECT_TRUE(ReplaceByAosType(*doc, kAosWalls, rect, 1, 3));
  EXPECT_EQ(Cell(1, 1, 1), (Entries{{22, 0}}));
  EXPECT_EQ(Cell(1, 2, 2), (Entries{{1849, 0}}));
  // Both kinds of stairs swap within the stairs table.
  EXPECT_TRUE(ReplaceByAosType(*doc, kAosAutoStairs, rect, 1, 1));
  EXPECT_EQ(Cell(1, 2, 2).front().first, ObjectTableAt(kAosStairs, 1, 1));
  EXPECT_EQ(Cell(1, 1, 1), (Entries{{22, 0}}));
  EXPECT_TRUE(ReplaceByAosType(*doc, kAosStairs, rect, 1, 0));
  EXPECT_EQ(Cell(1, 2, 2), (Entries{{1849, 0}}));
  // Enchancements and doors use their own tables.
  Stack(1, 1, 2, {{44, 0}});
  EXPECT_TRUE(ReplaceByAosType(*doc, kAosEnchancements, rect, 1, 1));
  EXPECT_EQ(Cell(1, 1, 2), (Entries{{470, 0}}));
  EXPECT_TRUE(ReplaceByAosType(*doc, kAosDoors, rect, 1, 0));
  EXPECT_EQ(Cell(1, 1, 1), (Entries{{22, 0}}));
}

// A single column or row of walls is left alone by the replacement: the
// command is not offered for it, and run anyway it reports that it did nothing.
TEST_F(AosRulesTest, ReplaceNeedsTwoColumnsAndTwoRows) {
  Stack(1, 1, 1, {{18, 0}});
  Stack(1, 1, 2, {{18, 0}});
  for (const CellRect& thin : {CellRect{1, 1, 1, 3}, CellRect{1, 1, 3, 1}, CellRect{}}) {
    EXPECT_FALSE(SelectionAllowsReplace(thin));
    EXPECT_FALSE(ReplaceByAosType(*doc, kAosWalls, thin, 1, 3));
    EXPECT_EQ(Cell(1, 1, 1), (Entries{{18, 0}}));
    EXPECT_FALSE(doc->CanUndo());
  }
  EXPECT_TRUE(SelectionAllowsReplace(CellRect{1, 1, 2, 2}));
}

TEST(AosTypeAfterCatalogueClick, DoorsAndRoofsMoveOneUp) {
  EXPECT_EQ(AosTypeAfterCatalogueClick(kAosDoors), kAosWalls);
  EXPECT_EQ(AosTypeAfterCatalogueClick(kAosRoofs), kAosAutoStairs);
  for (int type : {int(kAosWalls), int(kAosFloors), int(kAosStairs), int(kAosAutoStairs),
                   int(kAosEnchancements), -1})
    EXPECT_EQ(AosTypeAfterCatalogueClick(type), type) << type;
}

}  // namespace
}  // namespace tavi::test
