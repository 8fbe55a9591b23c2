// The compiled-in part tables and the category words derived from them.
#include "document/aos_tables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>
#include <vector>

#include "document/tile_facts.h"

namespace tavi {
namespace {

struct TableFigures {
  int type;
  int rows;
  int ids;
  int distinct;
  int lowest;
  int highest;
};

// Ids of a type, row by row, zero entries left out.
std::vector<uint16_t> IdsOf(int type) {
  std::vector<uint16_t> ids;
  for (int row = 0; row < AosTableRows(type); ++row)
    for (int c = 0; c < kAosColumns; ++c)
      if (uint16_t id = ObjectTableAt(type, c, row)) ids.push_back(id);
  return ids;
}

TEST(AosTables, FiguresOfEveryTable) {
  // Roofs reach 11389: their rows carry the current ids of five materials.
  const TableFigures figures[] = {
      {kAosWalls, 134, 938, 581, 6, 10810},    {kAosDoors, 19, 134, 134, 804, 10779},
      {kAosFloors, 72, 463, 457, 1035, 13522}, {kAosStairs, 10, 81, 81, 1006, 1991},
      {kAosRoofs, 50, 313, 313, 1459, 11389},  {kAosEnchancements, 64, 404, 382, 24, 16134},
  };
  for (const TableFigures& f : figures) {
    SCOPED_TRACE(f.type);
    EXPECT_EQ(AosTableRows(f.type), f.rows);
    const std::vector<uint16_t> ids = IdsOf(f.type);
    EXPECT_EQ(int(ids.size()), f.ids);
    EXPECT_EQ(int(std::set<uint16_t>(ids.begin(), ids.end()).size()), f.distinct);
    EXPECT_EQ(*std::min_element(ids.begin(), ids.end()), f.lowest);
    EXPECT_EQ(*std::max_element(ids.begin(), ids.end()), f.highest);
  }
  EXPECT_EQ(AosTableRows(kAosAutoStairs), 10);
}

void ExpectRow(int type, int row, std::vector<uint16_t> expected) {
  expected.resize(kAosColumns, 0);
  for (int c = 0; c < kAosColumns; ++c)
    EXPECT_EQ(ObjectTableAt(type, c, row), expected[c])
        << "type " << type << " row " << row << " column " << c;
}

TEST(AosTables, TellingRows) {
  ExpectRow(kAosWalls, 0, {10, 7, 12, 6, 13, 8, 11, 9});
  ExpectRow(kAosWalls, 1, {0, 14, 15});
  ExpectRow(kAosWalls, 2, {18, 18, 18, 16, 17, 17, 17, 19});
  ExpectRow(kAosWalls, 3, {22, 22, 22, 20, 21, 21, 21, 23});
  ExpectRow(kAosDoors, 0, {1657, 1659, 1653, 1655, 1661, 1663, 1665, 1667});
  ExpectRow(kAosDoors, 15, {0, 0, 9251, 0, 0, 9247});
  ExpectRow(kAosFloors, 0, {1305, 1306, 1307, 1308, 1309, 1310, 1311, 1312});
  ExpectRow(kAosFloors, 1, {1313, 1314, 1315, 1316, 1181, 1182, 1183, 1184});
  ExpectRow(kAosFloors, 71, {0, 10634, 10635, 10636, 10637, 10638, 10639});
  ExpectRow(kAosStairs, 0, {1848, 1849, 1852, 1851, 1850, 1856, 1854, 1862, 1861});
  ExpectRow(kAosStairs, 9, {1978, 1979, 0, 0, 1980, 0, 0, 0, 1991});
  ExpectRow(kAosRoofs, 0, {1473, 1460, 1472, 1461, 1459, 1471, 1464, 1463});
  ExpectRow(kAosEnchancements, 0, {44, 0, 41, 40, 42, 0, 43, 29});
  ExpectRow(kAosEnchancements, 3, {480, 481, 482, 483, 484, 485});
}

TEST(AosTables, ObjectTableAtLimits) {
  EXPECT_EQ(ObjectTableAt(kAosWalls, 3, 0), 6);
  EXPECT_EQ(ObjectTableAt(kAosWalls, 0, 2), 18);
  EXPECT_EQ(ObjectTableAt(kAosStairs, 0, 0), 1848);
  // The auto-stacking stairs share the stairs rows but only the four steps.
  for (int row = 0; row < 10; ++row) {
    EXPECT_EQ(ObjectTableAt(kAosAutoStairs, 0, row), 0);
    for (int c = 1; c <= 4; ++c)
      EXPECT_EQ(ObjectTableAt(kAosAutoStairs, c, row), ObjectTableAt(kAosStairs, c, row));
    for (int c = 5; c < kAosColumns; ++c) EXPECT_EQ(ObjectTableAt(kAosAutoStairs, c, row), 0);
  }
  EXPECT_EQ(ObjectTableAt(kAosAutoStairs, 1, 0), 1849);
  // Out of range in every direction gives 0, never a read outside the tables.
  EXPECT_EQ(ObjectTableAt(kAosWalls, 0, 134), 0);
  EXPECT_EQ(ObjectTableAt(kAosEnchancements, 0, 64), 0);
  EXPECT_EQ(ObjectTableAt(7, 0, 0), 0);
  EXPECT_EQ(ObjectTableAt(1000000, 0, 0), 0);
  EXPECT_EQ(ObjectTableAt(-1, 0, 0), 0);
  EXPECT_EQ(ObjectTableAt(kAosWalls, -1, 0), 0);
  EXPECT_EQ(ObjectTableAt(kAosWalls, 0, -1), 0);
  EXPECT_EQ(ObjectTableAt(kAosWalls, kAosColumns, 0), 0);
  EXPECT_EQ(AosTableRows(7), 0);
  EXPECT_EQ(AosTableRows(-1), 0);
}

class Categories : public ::testing::Test {
 protected:
  std::array<uint8_t, 65536> height{};
  std::array<uint16_t, 0x4000> words{};
  void Build() {
    BuildTileCategories([this](uint16_t id) { return int(height[id]); }, words.data());
  }
};

TEST_F(Categories, WallWordsFollowTheHeight) {
  // 10 stands only in column 0 of the walls.
  height[10] = 20;
  Build();
  EXPECT_EQ(words[10], 0x02BD);
  height[10] = 5;
  Build();
  EXPECT_EQ(words[10], 0x003D);
  // Height 18 is short, 19 is tall (the four-way piece 6 of row 0).
  height[6] = 18;
  Build();
  EXPECT_EQ(words[6], 0x0079);
  height[6] = 19;
  Build();
  EXPECT_EQ(words[6], 0x0279);
  // Columns 4..6 and 7 of the same row.
  height[13] = 20;
  height[9] = 20;
  Build();
  EXPECT_EQ(words[13], 0x036B);
  EXPECT_EQ(words[9], 0x032F);
  // Door column 7 (1667) short.
  EXPECT_EQ(words[1667], 0x002F);
}

TEST_F(Categories, DirectWordsAndEmptyEntries) {
  for (auto& h : height) h = 20;
  Build();
  EXPECT_EQ(words[0], 0);  // empty entries never receive a word
  EXPECT_EQ(words[1305], 0x1001);
  EXPECT_EQ(words[1848], 0x1801);
  EXPECT_EQ(words[1473], 0x2001);
  EXPECT_EQ(words[11389], 0x2001);
  EXPECT_EQ(words[6173], 0x1001);  // enchancement row 62
  // A mask of 0 still marks a customization part.
  EXPECT_EQ(words[ObjectTableAt(kAosEnchancements, 7, 16)], 0x0001);
  // Enchancement row 3 is height independent.
  EXPECT_EQ(words[480], 0x0035);
  EXPECT_EQ(words[483], 0x0053);
  // An id that stands in no table keeps 0.
  EXPECT_EQ(words[1], 0);
  int marked = 0;
  for (uint16_t w : words) marked += w != 0;
  EXPECT_GT(marked, 1500);
  for (uint16_t w : words) EXPECT_EQ(w & ~0x3FFF, 0);
}

TEST_F(Categories, LaterTablesOverwriteEarlierOnes) {
  for (auto& h : height) h = 20;
  Build();
  // Walls row 125 column 2 (tall 0x2BD), then enchancement row 61 column 0.
  EXPECT_EQ(words[10722], 0x069D);
  // Walls column 1 (0x2BD), then enchancement column 4 (tall 0x36B).
  EXPECT_EQ(words[10726], 0x036B);
  // Walls column 3 (0x279), then enchancement column 1.
  EXPECT_EQ(words[10721], 0x069D);
  // Within the enchancements, the last row wins: 9541 ends in row 8 column 6.
  EXPECT_EQ(words[9541], 0x0201);
  // 2299 in rows 52..55 column 6.
  EXPECT_EQ(words[2299], 0x041D);
}

TEST_F(Categories, RebuildStartsFromZero) {
  words.fill(0xFFFF);
  Build();
  EXPECT_EQ(words[0], 0);
  EXPECT_EQ(words[1], 0);
}

}  // namespace
}  // namespace tavi
