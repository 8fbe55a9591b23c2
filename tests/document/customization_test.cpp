// Price labels, the part count and the customization rule check.
#include "house_builder.h"

namespace tavi::test {
namespace {

struct CheckTest : HouseTest {
  void SetUp() override {
    HouseTest::SetUp();
    host.showPropriety = true;
  }
  // Runs the after-change hook (which re-runs the check while the view is on).
  void Check() { doc->Recalculate(); }
};
using Entries = HouseTest::Entries;

TEST(PriceLabels, GroupedRightAlignedAndSigned) {
  EXPECT_EQ(FormatPriceLabel(0, ','), "         0 gp");
  EXPECT_EQ(FormatPriceLabel(33500, ','), "    33,500 gp");
  EXPECT_EQ(FormatPriceLabel(1234567, '.'), " 1.234.567 gp");
  EXPECT_EQ(FormatPriceLabel(999, ','), "       999 gp");
  EXPECT_EQ(FormatPriceLabel(1234567890123, ','), "1,234,567,890,123 gp");  // not cut
  EXPECT_EQ(FormatPriceLabel(1000000, 0), "   1000000 gp");
  EXPECT_EQ(FormatDeltaLabel(33500, 0, ','), "+   33,500");
  EXPECT_EQ(FormatDeltaLabel(500, 500, ','), "         0");
  EXPECT_EQ(FormatDeltaLabel(500, 2000, ' '), "-    1 500");
  EXPECT_EQ(FormatDeltaLabel(0, INT64_MIN, ','), "+9,223,372,036,854,775,808");
}

TEST_F(CheckTest, DefaultFoundationPricesSixtySevenParts) {
  host.thousandsSep = ',';
  host.referencePrice = 34000;
  doc->Clear(true);
  EXPECT_EQ(doc->CountParts(), 67);
  EXPECT_EQ(host.price, 33500);
  EXPECT_EQ(host.lblPrice, "    33,500 gp");
  EXPECT_EQ(host.lblDelta, "-      500");
  // Each further part adds 500; ordinary items add nothing.
  doc->PlaceTile(2, 2, false, doc->Tiles[1], 0, kWallNS, 1);
  doc->PlaceTile(3, 3, false, doc->Tiles[1], 0, kChair, 1);
  EXPECT_EQ(host.price, 34000);
  EXPECT_EQ(host.lblDelta, "         0");
  doc->Clear(false);
  EXPECT_EQ(host.price, 0);
  // The foundation is always proper.
  doc->Clear(true);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) EXPECT_FALSE(Marked(0, x, y, 0));
}

TEST_F(CheckTest, GroundFloorStandsOnTheFoundation) {
  Stack(1, 1, 1, {{kFloorPart, 0}, {kChair, 0}});
  Stack(2, 1, 1, {{kFloorPart, 0}, {kChair, 0}});
  // Walls column 0 run along x: made for the north line, not the west line.
  Stack(1, 3, 0, {{kWallNS, 0}});
  Stack(1, 0, 3, {{kWallNS, 0}});
  Stack(1, 0, 5, {{kWallWE, 0}});
  Stack(1, 0, 0, {{102, 0}});         // corner piece: both lines
  Stack(1, 4, 7, {{kFloorPart, 0}});  // front row: never
  Stack(1, 6, 6, {{kChair, 0}});      // ordinary item alone: never flagged
  Check();
  EXPECT_FALSE(Marked(1, 1, 1, 0));
  EXPECT_FALSE(Marked(1, 1, 1, 1));  // a chair shares its floor's mark
  EXPECT_TRUE(Marked(2, 1, 1, 0));   // nothing carries it on floor 2
  EXPECT_TRUE(Marked(2, 1, 1, 1));
  EXPECT_FALSE(Marked(1, 3, 0, 0));
  EXPECT_TRUE(Marked(1, 0, 3, 0));
  EXPECT_FALSE(Marked(1, 0, 5, 0));
  EXPECT_FALSE(Marked(1, 0, 0, 0));
  EXPECT_TRUE(Marked(1, 4, 7, 0));
  EXPECT_FALSE(Marked(1, 6, 6, 0));

  // Switching the view off leaves the marks; on again recomputes them.
  host.showPropriety = false;
  doc->Tiles[1][0][3][0].Id = kWallWE;
  Check();
  EXPECT_TRUE(Marked(1, 0, 3, 0));
  host.showPropriety = true;
  Check();
  EXPECT_FALSE(Marked(1, 0, 3, 0));
}

TEST_F(CheckTest, TallWallsCarryTheFloorAboveAndJoinedWalls) {
  // Floor 1: two tall north-south walls at (2, 2) and (5, 2).
  Stack(1, 2, 2, {{kWallNS, 0}});
  Stack(1, 5, 2, {{kWallNS, 0}});
  // Floor 2: a run of four walls over them, and a floor carried by (2, 2)'s
  // south side through its neighbour.
  for (int x = 2; x <= 5; ++x) Stack(2, x, 2, {{kWallNS, 0}});
  Stack(2, 2, 3, {{kFloorPart, 0}});
  Check();
  for (int x = 2; x <= 5; ++x) EXPECT_FALSE(Marked(2, x, 2, 0)) << x;
  EXPECT_FALSE(Marked(2, 2, 3, 0));  // carried south (0x0080)

  // Carried at one end only: the joined neighbour becomes proper, the next
  // one is out of reach within one pass.
  Stack(1, 5, 2, {});
  Check();
  EXPECT_FALSE(Marked(2, 2, 2, 0));
  EXPECT_FALSE(Marked(2, 3, 2, 0));
  EXPECT_TRUE(Marked(2, 4, 2, 0));
  EXPECT_TRUE(Marked(2, 5, 2, 0));
}

TEST_F(CheckTest, FloorRunsBetweenProperPiecesAreProper) {
  // Floor 2 row 3, x = 1..5, carried at both ends by walls below.
  Stack(1, 1, 3, {{kWallNS, 0}});
  Stack(1, 5, 3, {{kWallNS, 0}});
  for (int x = 1; x <= 6; ++x) Stack(2, x, 3, {{kFloorPart, 0}});
  Stack(2, 3, 3, {{kFloorPart, 0}, {kWallNS, 0}, {kLamp, 20}});
  Check();
  for (int x = 1; x <= 6; ++x) EXPECT_FALSE(Marked(2, x, 3, 0)) << x;  // 6: east of a carrier
  EXPECT_FALSE(Marked(2, 3, 3, 1));  // a part lying on a proper floor
  EXPECT_FALSE(Marked(2, 3, 3, 2));  // and what stands on it
  // A gap in the run cuts it.
  Stack(2, 7, 3, {{kFloorPart, 0}});
  Check();
  EXPECT_TRUE(Marked(2, 7, 3, 0));
}

TEST_F(CheckTest, AWalledRoomCarriesAWholeFloorAbove) {
  // Floor 1: a room x = 0..6, y = 0..6 walled on all four sides.
  Stack(1, 0, 0, {{kWallCorner, 0}});
  for (int i = 1; i <= 6; ++i) {
    Stack(1, i, 0, {{kWallNS, 0}});
    Stack(1, i, 6, {{kWallNS, 0}});
    Stack(1, 0, i, {{kWallWE, 0}});
    if (i < 6) Stack(1, 6, i, {{kWallWE, 0}});
  }
  // Floor 2: a floor over the inside, the walls' cells included east and south.
  for (int y = 1; y <= 6; ++y)
    for (int x = 1; x <= 6; ++x) Stack(2, x, y, {{kFloorPart, 0}});
  Check();
  for (int y = 0; y <= 6; ++y)
    for (int x = 0; x <= 6; ++x) {
      for (int f = 1; f <= 2; ++f) {
        EXPECT_TRUE(doc->LayerCount[f][y][x] == 0 || !Marked(f, x, y, 0))
            << f << ":" << x << "," << y;
      }
    }
  // Without the walls below, the same floor is loose.
  for (int y = 0; y <= 6; ++y)
    for (int x = 0; x <= 6; ++x) Stack(1, x, y, {});
  Check();
  EXPECT_TRUE(Marked(2, 3, 3, 0));
}

TEST_F(CheckTest, RunsFoundLateInAPassAreFollowedUp) {
  // On floor 2, column 5 runs south from a carried piece at y = 1 to row 7,
  // whose piece becomes proper only later in the same pass, by the run along
  // row 7 between two carried pieces. A second pass joins the column up.
  doc->SetSize(12, 12);
  doc->Clear(false);
  const uint16_t kFourWay = ObjectTableAt(kAosWalls, 3, 0);
  for (int x : {1, 5, 7}) Stack(1, x, x == 5 ? 1 : 7, {{kWallNS, 0}});  // carriers
  for (int y = 2; y <= 6; ++y) Stack(2, 5, y, {{kWallWE, 0}});
  Stack(2, 5, 1, {{kWallWE, 0}});
  for (int x = 1; x <= 7; ++x) Stack(2, x, 7, {{x == 5 ? kFourWay : kWallNS, 0}});
  Check();
  for (int y = 1; y <= 7; ++y) EXPECT_FALSE(Marked(2, 5, y, 0)) << "wall 5," << y;
  for (int x = 1; x <= 7; ++x) EXPECT_FALSE(Marked(2, x, 7, 0)) << "wall " << x << ",7";

  // The same with floor pieces, carried at (5, 1), (1, 5) and (7, 5).
  doc->Clear(false);
  for (int x : {1, 5, 7}) Stack(1, x, x == 5 ? 1 : 5, {{kWallNS, 0}});
  for (int y = 1; y <= 5; ++y) Stack(2, 5, y, {{kFloorPart, 0}});
  for (int x = 1; x <= 7; ++x) Stack(2, x, 5, {{kFloorPart, 0}});
  Check();
  for (int y = 1; y <= 5; ++y) EXPECT_FALSE(Marked(2, 5, y, 0)) << "floor 5," << y;
  for (int x = 1; x <= 7; ++x) EXPECT_FALSE(Marked(2, x, 5, 0)) << "floor " << x << ",5";
}

TEST_F(CheckTest, HeadroomAgainstThePartAbove) {
  Stack(1, 2, 2, {{kWallNS, 0}});  // 20 high
  Stack(2, 2, 2, {{kFloorPart, 0}});
  Check();
  EXPECT_FALSE(Marked(1, 2, 2, 0));
  Stack(1, 2, 2, {{kWallNS, 1}});  // its top is one unit into floor 2
  Check();
  EXPECT_TRUE(Marked(1, 2, 2, 0));
  // An ordinary item above the part is fine, a tall one sticking up is not.
  Stack(2, 2, 2, {{kFloorPart, 5}});
  Check();
  EXPECT_FALSE(Marked(1, 2, 2, 0));
  // Floor 4 has nothing above it.
  Stack(4, 4, 4, {{kWallNS, 19}});
  Check();
  EXPECT_TRUE(Marked(4, 4, 4, 0));  // not carried, but no headroom crash
}

TEST_F(CheckTest, NothingStandsOverAStaircase) {
  Stack(1, 2, 2, {{kWallNS, 0}});
  Stack(2, 2, 2, {{kFloorPart, 0}, {kChair, 0}});
  Check();
  EXPECT_FALSE(Marked(2, 2, 2, 0));
  Stack(1, 2, 2, {{kWallNS, 0}, {kStairBlock, 0}});
  Check();
  EXPECT_TRUE(Marked(2, 2, 2, 0));
  EXPECT_TRUE(Marked(2, 2, 2, 1));
}

TEST_F(CheckTest, MarksOutsideThePlotAreLeftAlone) {
  doc->SetSize(4, 4);
  doc->Tiles[1][0][5][5].Mark = 7;
  Stack(1, 3, 3, {{kFloorPart, 0}});  // the front row
  Check();
  EXPECT_EQ(doc->Tiles[1][0][5][5].Mark, 7);
  EXPECT_EQ(doc->Tiles[1][0][3][3].Mark, 1);
}

}  // namespace
}  // namespace tavi::test
