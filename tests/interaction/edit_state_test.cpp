// The edit state's commands on a selection, and the mouse rules reading the
// staircase from it.
#include "interaction/edit_state.h"

#include <gtest/gtest.h>

#include <memory>

#include "document/aos_tables.h"
#include "support/fake_tiles.h"

namespace tavi {
namespace {

constexpr uint16_t kChair = 0x0B4F;

class EditStateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    facts.Height(kChair, 3);
    doc = std::make_unique<TTAVIDoc>(8, 8, &facts, &host);
    doc->Clear(false);
  }
  int Entries(int floor) const {
    int n = 0;
    for (int y = 0; y < kGrid; ++y)
      for (int x = 0; x < kGrid; ++x) n += doc->LayerCount[floor][y][x];
    return n;
  }

  test::FakeTileFacts facts;
  PlainDocHost host;
  std::unique_ptr<TTAVIDoc> doc;
  EditState edit;
};

// Add stacks the current tile on the selection of the current floor, at the
// altitude and by the mode of the edit state; Delete takes the top entry of
// each cell away. Without a
// selection, or without a tile, neither does anything.
TEST_F(EditStateTest, AddAndDeleteWorkOnTheCurrentFloorsSelection) {
  const CellRect sel{1, 2, 3, 2};
  edit.Floor = 2;
  edit.Alt = 4;
  edit.Mode = kModeStack;
  EXPECT_FALSE(AddOnSelection(*doc, edit, sel));  // no tile chosen
  EXPECT_FALSE(doc->CanUndo());
  edit.Tile = kChair;
  EXPECT_FALSE(AddOnSelection(*doc, edit, CellRect()));
  EXPECT_FALSE(DeleteOnSelection(*doc, edit, CellRect()));
  EXPECT_EQ(Entries(2), 0);

  ASSERT_TRUE(AddOnSelection(*doc, edit, sel));
  EXPECT_EQ(Entries(2), 3);
  EXPECT_EQ(Entries(1), 0);
  EXPECT_EQ(doc->Tiles[2][0][2][3].Id, kChair);
  EXPECT_EQ(doc->Tiles[2][0][2][3].Z, 4);
  ASSERT_TRUE(AddOnSelection(*doc, edit, sel));  // stacked on top
  EXPECT_EQ(doc->LayerCount[2][2][1], 2);
  EXPECT_TRUE(doc->CheckInvariants().empty()) << doc->CheckInvariants();

  edit.Floor = 1;  // another floor's selection is another set of cells
  ASSERT_TRUE(DeleteOnSelection(*doc, edit, sel));
  EXPECT_EQ(Entries(2), 6);
  edit.Floor = 2;
  ASSERT_TRUE(DeleteOnSelection(*doc, edit, sel));
  EXPECT_EQ(Entries(2), 3);
  EXPECT_EQ(doc->LayerCount[2][2][2], 1);
}

// While the staircase is on, Add lays it on the selection instead of the
// current tile; the row a click lays is kept to the staircase table.
TEST_F(EditStateTest, TheStaircaseReplacesTheCurrentTile) {
  edit.Tile = kChair;
  edit.AutoStairs = true;
  edit.StairsDirection = 1;
  edit.StairsRow = 0;
  ASSERT_TRUE(AddOnSelection(*doc, edit, CellRect{2, 2, 4, 4}));
  EXPECT_GT(Entries(1), 0);
  for (int y = 2; y <= 4; ++y)
    for (int x = 2; x <= 4; ++x) EXPECT_NE(doc->Tiles[1][0][y][x].Id, kChair);

  const int last = AosTableRows(kAosAutoStairs) - 1;
  edit.StairsRow = last + 5;
  EXPECT_EQ(edit.PlacedStairsRow(), last);
  edit.StairsRow = -3;
  EXPECT_EQ(edit.PlacedStairsRow(), 0);
  edit.StairsRow = 2;
  EXPECT_EQ(edit.PlacedStairsRow(), 2);
}

}  // namespace
}  // namespace tavi
