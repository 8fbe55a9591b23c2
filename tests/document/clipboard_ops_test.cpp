// Cut, copy and paste of a selection through the text clipboard.
#include <string>

#include "house_builder.h"

namespace tavi::test {
namespace {

struct ClipTest : HouseTest {
  MemoryClipboard clip;
  void SetUp() override {
    HouseTest::SetUp();
    facts.Floor(kFoundFloor).Height(kChest, 4);
  }
  void Paste(const std::string& body, int x0 = 0, int y0 = 0, int alt = 0, int floor = 1) {
    clip.SetText(std::string(kClipHeader) + "\r\n" + body);
    doc->PasteAt(x0, y0, alt, 0, floor, clip);
  }
};
using Entries = HouseTest::Entries;

TEST_F(ClipTest, CopyWritesTheHeaderAndOneLinePerEntry) {
  Stack(1, 4, 6, {{kFoundFloor, 7}, {kChest, 7}});
  doc->CopyRect({4, 6, 5, 6}, 1, clip);
  EXPECT_EQ(clip.text, "TAVI File ver 1.00\r\n0,0,7,12788\r\n0,0,7,2475\r\n");
  EXPECT_TRUE(IsSelectionClipText(clip.text));
  EXPECT_EQ(UndoSteps(), 0);

  // Rows first, then columns, then layers; negative altitudes as signed text.
  Stack(2, 1, 1, {{kChair, -3}});
  Stack(2, 0, 2, {{kLamp, 0}});
  doc->CopyRect({0, 1, 1, 2}, 2, clip);
  EXPECT_EQ(clip.text, "TAVI File ver 1.00\r\n1,0,-3,14002\r\n0,1,0,14004\r\n");
}

TEST_F(ClipTest, EmptyCopyKeepsThePreviousClipboard) {
  clip.SetText("earlier");
  doc->CopyRect({1, 1, 3, 3}, 1, clip);
  EXPECT_EQ(clip.text, "earlier");
  doc->CutRect({1, 1, 3, 3}, 1, clip);
  EXPECT_EQ(clip.text, "earlier");
  EXPECT_EQ(UndoSteps(), 1);  // the cut still leaves a step
  EXPECT_FALSE(doc->Modified);
}

TEST_F(ClipTest, CopyAndPasteKeepRelativePositions) {
  Stack(1, 3, 3, {{kFloorPart, 0}, {kChair, 0}});
  Stack(1, 4, 4, {{kLamp, 2}});
  doc->CopyRect({3, 3, 4, 4}, 1, clip);
  doc->PasteAt(6, 1, 0, 0, 1, clip);
  EXPECT_EQ(Cell(1, 6, 1), (Entries{{kFloorPart, 0}, {kChair, 0}}));
  EXPECT_EQ(Cell(1, 7, 2), (Entries{{kLamp, 2}}));
  EXPECT_EQ(UndoSteps(), 1);
  EXPECT_TRUE(doc->Modified);
  // Past the plot's edge the lines are dropped; the rest is pasted.
  doc->PasteAt(7, 7, 0, 0, 1, clip);
  EXPECT_EQ(Cell(1, 7, 7), (Entries{{kFloorPart, 0}, {kChair, 0}}));
  EXPECT_EQ(doc->Tiles[1][0][8][8].Id, 0);
}

TEST_F(ClipTest, PasteInsertsByAltitudeAboveEqualOnes) {
  const Entries cell{{kPlainFloor, 0}, {kTable, 7}};
  Stack(1, 2, 2, cell);
  Paste("0,0,0,14004\r\n", 2, 2, 7);
  EXPECT_EQ(Cell(1, 2, 2), (Entries{{kPlainFloor, 0}, {kTable, 7}, {kLamp, 7}}));
  Stack(1, 2, 2, cell);
  Paste("0,0,0,14004\r\n", 2, 2, 3);
  EXPECT_EQ(Cell(1, 2, 2), (Entries{{kPlainFloor, 0}, {kLamp, 3}, {kTable, 7}}));
  // A floor replaces the floor under it.
  Stack(1, 2, 2, cell);
  Paste("0,0,0,1305\r\n", 2, 2, 0);
  EXPECT_EQ(Cell(1, 2, 2), (Entries{{kFloorPart, 0}, {kTable, 7}}));
}

TEST_F(ClipTest, PartsLockKeepsPartsOutOfCopyAndCut) {
  host.partsLock = true;
  Stack(1, 1, 1, {{kFloorPart, 0}, {kChair, 0}, {kLamp, 3}});
  Stack(1, 2, 1, {{kChair, 0}, {kWallNS, 0}, {kLamp, 20}});
  doc->Tiles[1][1][1][2].Mark = 1;
  doc->CutRect({1, 1, 2, 1}, 1, clip);
  EXPECT_EQ(clip.text,
            "TAVI File ver 1.00\r\n0,0,0,14002\r\n0,0,3,14004\r\n"
            "1,0,0,14002\r\n1,0,20,14004\r\n");
  EXPECT_EQ(Cell(1, 1, 1), (Entries{{kFloorPart, 0}}));
  EXPECT_EQ(Cell(1, 2, 1), (Entries{{kWallNS, 0}}));  // closed up, altitude kept
  EXPECT_EQ(doc->Tiles[1][0][1][2].Mark, 1);
  EXPECT_EQ(doc->LayerCount[1][1][2], 1);
  EXPECT_TRUE(doc->Modified);
}

TEST_F(ClipTest, CutThenPasteRestoresTheStacks) {
  Stack(2, 1, 1, {{kFloorPart, 0}, {kChair, 0}, {kLamp, 3}});
  Stack(2, 2, 2, {{kTable, -2}, {kChest, 5}});
  const Entries a = Cell(2, 1, 1), b = Cell(2, 2, 2);
  doc->CutRect({1, 1, 2, 2}, 2, clip);
  EXPECT_TRUE(Cell(2, 1, 1).empty());
  EXPECT_TRUE(Cell(2, 2, 2).empty());
  doc->PasteAt(1, 1, 0, 0, 2, clip);
  EXPECT_EQ(Cell(2, 1, 1), a);
  EXPECT_EQ(Cell(2, 2, 2), b);
  doc->Undo();
  EXPECT_TRUE(Cell(2, 1, 1).empty());
}

TEST_F(ClipTest, WrongHeaderPastesNothingAndTakesNoSnapshot) {
  for (const char* text :
       {"TAVI File ver 1.0\r\n0,0,0,14002\r\n", "tavi file ver 1.00\r\n0,0,0,1\r\n",
        " TAVI File ver 1.00\r\n0,0,0,1\r\n", "TAVI File ver 1.00 \r\n0,0,0,1\r\n",
        "\"TAVI File ver 1.00\",8,8,7\r\n0,0,0,0,14002\r\n", ""}) {
    clip.SetText(text);
    EXPECT_FALSE(IsSelectionClipText(text)) << text;
    doc->PasteAt(1, 1, 0, 0, 1, clip);
  }
  MemoryClipboard none;
  doc->PasteAt(1, 1, 0, 0, 1, none);
  EXPECT_EQ(UndoSteps(), 0);
  EXPECT_TRUE(Cell(1, 1, 1).empty());
  EXPECT_FALSE(doc->Modified);
}

TEST_F(ClipTest, BadLinesAreSkippedOneByOne) {
  // Every bad line sits between two good ones at (1, 1) and (2, 1).
  const char* bad[] = {
      "0,0,0",                 // too few fields
      "0,0,0,14002,5",         // too many
      "0,0,,14002",            // empty field
      "0,0,1.5,14002",         // fraction
      "0,0,7x,14002",          // trailing garbage
      "0,0,$10,14002",         // hex is not read here
      "0, 0 ,abc,14002",       // letters
      "0,0,-1,0",              // id 0: an empty entry under the stack would hide it
      "0,0,0,-5",              // negative id
      "0,0,0,65536",           // id beyond 16 bits
      "0,0,99999,14002",       // altitude beyond 16 bits
      "0,0,0,99999999999999",  // beyond 32 bits
      "-99999999999,0,0,14002",
      "2147483647,2147483647,0,14002",
      "-2,0,0,14002",  // left of the plot (x0 = 1)
      "0,7,0,14002",   // below the plot (y0 = 1, height 8)
  };
  std::string text;
  for (const char* line : bad)
    text += "0,0,0,14004\r\n" + std::string(line) + "\r\n1,0,0,14004\r\n";
  text += std::string(5000, '7') + "\r\n" + std::string(100000, ',') + "\r\n";
  Paste(text, 1, 1, 0);
  const size_t n = std::size(bad);
  EXPECT_EQ(Cell(1, 1, 1), Entries(n, {kLamp, 0}));
  EXPECT_EQ(Cell(1, 2, 1), Entries(n, {kLamp, 0}));
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      if (!((x == 1 || x == 2) && y == 1)) {
        EXPECT_TRUE(Cell(1, x, y).empty()) << x << "," << y;
      }
  EXPECT_EQ(UndoSteps(), 1);
}

TEST_F(ClipTest, BlanksAroundFieldsAndLoneLineFeedsAreAccepted) {
  Paste(" 0 , 0 ,\t+3 , 14004\n1,0,-2,14002\r2,0,0,14005", 1, 1, 0);
  EXPECT_EQ(Cell(1, 1, 1), (Entries{{kLamp, 3}}));
  EXPECT_EQ(Cell(1, 2, 1), (Entries{{kChair, -2}}));
  EXPECT_EQ(Cell(1, 3, 1), (Entries{{kBox, 0}}));
  clip.SetText("TAVI File ver 1.00\n0,0,0,1\n");
  EXPECT_TRUE(IsSelectionClipText(clip.text));
}

TEST_F(ClipTest, FullCellsTakeNoMorePastedLines) {
  std::string text;
  for (int i = 0; i < 40; ++i) text += "0,0," + std::to_string(i) + ",14002\r\n";
  Paste(text, 3, 3, 0);
  EXPECT_EQ(doc->LayerCount[1][3][3], kLayers);
  EXPECT_EQ(doc->Tiles[1][31][3][3].Z, 31);
  // Altitude arithmetic stays in 16 bits: the raised line is dropped.
  Paste("0,0,32767,14002\r\n", 4, 4, 1);
  EXPECT_TRUE(Cell(1, 4, 4).empty());
  Paste("0,0,-32768,14002\r\n", 4, 4, 0);
  EXPECT_EQ(Cell(1, 4, 4), (Entries{{kChair, -32768}}));
}

}  // namespace
}  // namespace tavi::test
