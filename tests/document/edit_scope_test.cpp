// Edits as scopes: one undo step, the touched cells' summaries, one recount
// and the cells kept as the last edit; the invariant check itself.
#include "house_builder.h"

namespace tavi::test {
namespace {

using ScopeTest = HouseTest;

TEST_F(ScopeTest, AnEditRecountsOnceAndKeepsItsCells) {
  const int checks = host.checks;
  const uint64_t revision = doc->Revision();
  CellRect r;
  r.Left = 1, r.Top = 2, r.Right = 3, r.Bottom = 2;
  doc->StackInRect(r, 2, 0, 1, kChair);
  EXPECT_EQ(host.checks, checks + 1);  // one Recalculate for three cells
  EXPECT_GT(doc->Revision(), revision);
  EXPECT_EQ(UndoSteps(), 1);
  const CellSet& cells = doc->LastEdit();
  EXPECT_EQ(cells.Count(), 3);
  for (int x = 1; x <= 3; ++x) EXPECT_TRUE(cells.Has(2, x, 2)) << x;
  EXPECT_EQ(doc->LayerCount[2][2][3], 1);
  EXPECT_EQ(doc->TopZ[2][2][3], 3);

  // The next edit replaces the set; a whole-floor edit marks the floor.
  doc->DeleteEntry(2, 2, 2, 0);
  EXPECT_EQ(doc->LastEdit().Count(), 1);
  EXPECT_TRUE(doc->LastEdit().Has(2, 2, 2));
  doc->BuildFoundation(3000, 2968, 29, 21, 20, 22, 23);
  EXPECT_TRUE(doc->LastEdit().WholeFloor(0));
  EXPECT_FALSE(doc->LastEdit().Has(2, 1, 2));
}

TEST_F(ScopeTest, AScopeOfItsOwnUpdatesWhatItNames) {
  {
    TTAVIDoc::EditScope edit(*doc, 3);
    doc->Tiles[3][0][4][4] = {2, kTable, 0};
    edit.Cell(4, 4, 3);
    edit.Cell(40, 4, 3);  // outside the block: ignored
    edit.Changed();
    EXPECT_EQ(doc->LayerCount[3][4][4], 0);  // not yet
  }
  EXPECT_EQ(doc->LayerCount[3][4][4], 1);
  EXPECT_EQ(doc->TopZ[3][4][4], 7);
  EXPECT_TRUE(doc->Modified);
  EXPECT_EQ(UndoSteps(), 1);
  EXPECT_EQ(doc->Undo(), 3);
  EXPECT_EQ(doc->Tiles[3][0][4][4].Id, 0);
}

TEST_F(ScopeTest, InvariantCheckFindsGapsAndStaleSummaries) {
  EXPECT_EQ(doc->CheckInvariants(), "");
  Stack(1, 2, 3, {{kChair, 0}, {kTable, 3}});
  EXPECT_EQ(doc->CheckInvariants(), "");
  doc->Tiles[1][1][3][2].Z = 5;  // TopZ now stale
  EXPECT_NE(doc->CheckInvariants().find("TopZ"), std::string::npos);
  doc->UpdateCell(2, 3, 1);
  doc->Tiles[1][2][3][2] = {9, kLamp, 0};  // LayerCount now stale
  EXPECT_NE(doc->CheckInvariants().find("LayerCount"), std::string::npos);
  doc->Tiles[1][1][3][2] = {0, 0, 0};  // a gap below layer 2
  doc->UpdateCell(2, 3, 1);
  EXPECT_NE(doc->CheckInvariants().find("above an empty layer"), std::string::npos);
  // Outside the plot nothing is looked at.
  doc->Tiles[1][1][3][2] = {3, kTable, 0};
  doc->UpdateCell(2, 3, 1);
  doc->Tiles[4][5][20][20] = {0, kChair, 0};
  EXPECT_EQ(doc->CheckInvariants(), "");
}

}  // namespace
}  // namespace tavi::test
