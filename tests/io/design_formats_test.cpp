// The design exchange formats: the worked examples byte for byte, the
// tolerant readers, faults named by line or byte offset, the house mapping
// both ways (round trips over random houses, the game's foundation) and the
// game's plot limits.
#include "io/design_formats.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include <tuple>

#include "document/foundation_tables.h"
#include "document/game_limits.h"
#include "io/design.h"
#include "io/multi_import.h"
#include "io/stacking.h"
#include "io_test_util.h"
#include "support/rng.h"

namespace tavi {
namespace {

using test::DocFixture;
using test::DocSnapshot;

constexpr DesignFormat kAllFormats[] = {DesignFormat::kUoaText, DesignFormat::kMultiText,
                                        DesignFormat::kUoaBinary, DesignFormat::kCsv,
                                        DesignFormat::kWsc};

// The worked example: a 2 x 2 plot (document 3 x 3) with three tiles on
// floor 1 at base height 7, the door 1653 spawned by the server.
Design WorkedExample() {
  DocFixture f(3, 3);
  f.doc->Tiles[1][0][0][0] = {0, 12788, 0};
  f.doc->Tiles[1][0][0][1] = {0, 7, 0};
  f.doc->Tiles[1][0][1][0] = {0, 1653, 0};
  Design d = DesignOfHouse(*f.doc, [](uint16_t id) { return id == 1653; });
  d.name = "Demo";
  d.category = "Houses";
  d.subsection = "Small";
  return d;
}

std::string Hex(const std::string& bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string s;
  for (unsigned char c : bytes) {
    if (!s.empty()) s += ' ';
    s += digits[c >> 4];
    s += digits[c & 15];
  }
  return s;
}

TEST(DesignFormats, WorkedExamplesComeOutByteForByte) {
  const Design d = WorkedExample();
  EXPECT_EQ(WriteUoaText(d),
            "6 version\r\n1 template id\r\n-1 item version\r\n3 num components\r\n"
            "12788 0 0 7 1\r\n7 1 0 7 1\r\n1653 0 1 7 0\r\n");
  EXPECT_EQ(WriteMultiText(d), "0x31F4 0 0 7 1\r\n0x7 1 0 7 1\r\n0x675 0 1 7 0\r\n");
  EXPECT_EQ(WriteDesignCsv(d),
            "TileID,OffsetX,OffsetY,OffsetZ,Flag,Cliloc\r\n0x31f4,0,0,7,0x1,\r\n"
            "0x7,1,0,7,0x1,\r\n0x675,0,1,7,0x0,\r\n");
  const std::string binary = WriteUoaBinary({d});
  EXPECT_EQ(binary.size(), 79u);
  EXPECT_EQ(Hex(binary),
            "01 00 01 04 44 65 6D 6F 01 06 48 6F 75 73 65 73 01 05 53 6D 61 6C 6C 02 00 00 00 02 "
            "00 00 00 02 00 00 00 02 00 00 00 03 00 00 00 F4 31 00 00 00 00 07 00 01 00 00 00 07 "
            "00 01 00 00 00 07 00 01 00 00 00 75 06 00 00 01 00 07 00 01 00 00 00");
  EXPECT_EQ(WriteWsc(d).rfind("SECTION WORLDITEM 0\r\n{\r\n\tID\t12788\r\n\tX\t0\r\n\tY\t0\r\n"
                              "\tZ\t7\r\n\tColor\t0\r\n}\r\n\r\nSECTION WORLDITEM 1\r\n",
                              0),
            0u);
}

using Key = std::tuple<int, int, int, int>;  // id, x, y, z

std::multiset<Key> KeysOf(const Design& d) {
  std::multiset<Key> keys;
  for (const DesignComponent& c : d.components)
    if (c.id != 0) keys.insert({c.id, c.x, c.y, c.z});
  return keys;
}

TEST(DesignFormats, ReadersGiveBackWhatTheWritersWrote) {
  const Design d = WorkedExample();
  for (DesignFormat format : kAllFormats) {
    DesignFile file;
    std::string error;
    ASSERT_TRUE(ReadDesign(format, WriteDesign(format, d), "x", &file, &error))
        << DesignFormatName(format) << ": " << error;
    ASSERT_EQ(file.designs.size(), 1u);
    EXPECT_EQ(file.warning, "");
    // World items stand on the ground: the lowest at z 0.
    Design expected = d;
    if (format == DesignFormat::kWsc)
      for (DesignComponent& c : expected.components) c.z -= 7;
    EXPECT_EQ(KeysOf(file.designs[0]), KeysOf(expected)) << DesignFormatName(format);
    const bool hasFlags = format != DesignFormat::kUoaBinary && format != DesignFormat::kWsc;
    for (const DesignComponent& c : file.designs[0].components)
      EXPECT_EQ(c.flags, hasFlags && c.id == 1653 ? 0 : 1) << DesignFormatName(format);
  }
  DesignFile file;
  std::string error;
  ASSERT_TRUE(ReadUoaBinary(WriteUoaBinary({d}), "x", &file, &error));
  EXPECT_EQ(file.designs[0].name, "Demo");
  EXPECT_EQ(file.designs[0].subsection, "Small");
  EXPECT_EQ(file.designs[0].components[2].level, 1);
}

TEST(DesignFormats, TextReadersAreTolerant) {
  DesignFile file;
  std::string error;
  // Header lines anywhere, blank lines, a count that does not match: a warning.
  ASSERT_TRUE(
      ReadUoaText("6 version\n1 template id\n-1 item version\n5 num components\n\n"
                  "7 1 0 7 1\r\n8 -1 2 0 0",
                  "a.uoa.txt", &file, &error))
      << error;
  EXPECT_EQ(file.designs[0].components.size(), 2u);
  EXPECT_EQ(file.warning, "a.uoa.txt: line 4: the header counts 5 components, the file holds 2");
  EXPECT_EQ(file.designs[0].components[1].y, 2);
  EXPECT_EQ(file.designs[0].components[1].flags, 0);

  ASSERT_TRUE(ReadMultiText("0x31F4 0 0 7 1\r\n\r\n1653\t0  1\t7 None\n0x7 1 0 7 Background\n",
                            "m.txt", &file, &error))
      << error;
  ASSERT_EQ(file.designs[0].components.size(), 3u);
  EXPECT_EQ(file.designs[0].components[1].id, 1653);
  EXPECT_EQ(file.designs[0].components[1].flags, 0);
  EXPECT_EQ(file.designs[0].components[2].flags, 1);

  // CSV: a dialect with further columns, and the hue dialect (flags 1).
  ASSERT_TRUE(
      ReadDesignCsv("TileID,OffsetX,OffsetY,OffsetZ,Flag,Flag64,TileIds\n"
                    "0x675,0,1,7,0x0,0x0000000000000000,12 13\n",
                    "b.csv", &file, &error))
      << error;
  EXPECT_EQ(file.designs[0].components[0].id, 0x675);
  EXPECT_EQ(file.designs[0].components[0].flags, 0);
  ASSERT_TRUE(ReadDesignCsv("id,x,y,z,hue,flags\n1653,0,-1,7,0,0\n", "c.csv", &file, &error));
  EXPECT_EQ(file.designs[0].components[0].id, 1653);
  EXPECT_EQ(file.designs[0].components[0].flags, 1);

  // WSC: world positions, other keys and other sections; the lowest z goes to 0.
  ASSERT_TRUE(
      ReadWsc("SECTION WORLDITEM 1\n{\n\tSERIAL 1073741825\n\tID 12788\n\tX 1400\n"
              "\tY 1600\n\tZ 5\n\tColor 33\n}\nSECTION WORLDMOB 2\n{\n\tID 400\n}\n"
              "SECTION WORLDITEM 3\n{\nID 0x7\nX 1401\nY 1601\nZ 25\n}\n",
              "w.wsc", &file, &error))
      << error;
  ASSERT_EQ(file.designs[0].components.size(), 2u);
  EXPECT_FALSE(file.designs[0].anchored);
  EXPECT_EQ(file.designs[0].components[0].z, 0);
  EXPECT_EQ(file.designs[0].components[1].z, 20);
  EXPECT_EQ(file.designs[0].components[1].id, 7);
}

TEST(DesignFormats, FaultsNameTheFileAndTheLineOrByteOffset) {
  struct Case {
    DesignFormat format;
    std::string bytes, message;
  };
  std::string hugeCount = WriteUoaBinary({WorkedExample()});
  hugeCount.replace(39, 4, std::string("\xFF\xFF\xFF\x7F", 4));   // 2^31 - 1 components
  std::string hugeString("\x01\x00\x01\xFF\xFF\xFF\xFF\x07", 8);  // a name of 2 GB
  const Case cases[] = {
      {DesignFormat::kUoaText, "6 version\r\n3 num components\r\n1 2 3\r\n", "f: line 3: "},
      {DesignFormat::kUoaText, "6 version\r\n1 0x2 0 0 1\r\n", "f: line 2: '0x2' is not"},
      {DesignFormat::kUoaText, "6 version\r\n70000 0 0 0 1\r\n", "f: line 2: '70000'"},
      {DesignFormat::kUoaText, "0x7 0 0 0 1\r\n", "f: line 1: no \"version\" header"},
      {DesignFormat::kUoaText, "6 version\r\nx num components\r\n", "f: line 2: the component"},
      {DesignFormat::kMultiText, "0x7 0 0 0 1\r\n0x7 0 0x1 0 1\r\n", "f: line 2: x, y and z"},
      {DesignFormat::kMultiText, "0x7 0 40000 0 1", "f: line 1: x, y and z"},
      {DesignFormat::kMultiText, "0xG 0 0 0 1", "f: line 1: the item id"},
      {DesignFormat::kMultiText, "0xCCCCCCCCCCCCCCCC31F4 0 0 0 1", "f: line 1: the item id"},
      {DesignFormat::kMultiText, "0x7 0 0 -99999999999999999999 1", "f: line 1: x, y and z"},
      {DesignFormat::kMultiText, "0x7 0 0 0 Static", "f: line 1: the flags"},
      {DesignFormat::kCsv, "id,x,y,z,hue,flags\n0x7,0,0,0,0,1\n", "f: line 2: the id is not"},
      {DesignFormat::kCsv, "TileID,OffsetX,OffsetY,OffsetZ,Flag,Cliloc\n0x7,0,0\n", "f: line 2: "},
      {DesignFormat::kCsv, "a,b,c\n", "f: line 1: the header row"},
      {DesignFormat::kWsc, "SECTION WORLDITEM 1\n{\nID 7\nX 1\n}\n", "f: line 1: the world item"},
      {DesignFormat::kWsc, "SECTION WORLDITEM 1\n{\nID 7\nX 0x10\n", "f: line 4: X is not"},
      {DesignFormat::kWsc, "SECTION WORLDITEM 1\n{\nID 7\n", "f: line 1: the section is not"},
      {DesignFormat::kUoaBinary, std::string("\x03\x00", 2), "f: byte offset 0: version 3"},
      {DesignFormat::kUoaBinary,
       std::string("\x01\x00\x01\x05"
                   "Ab",
                   6),
       "f: byte offset 4: "},
      {DesignFormat::kUoaBinary, std::string("\x01\x00\x02", 3), "f: byte offset 2: the name"},
      {DesignFormat::kUoaBinary, std::string("\x02\x00\x00\x00", 4), "f: byte offset 2: "},
      {DesignFormat::kUoaBinary, hugeCount, "f: byte offset 39: the design claims 2147483647"},
      {DesignFormat::kUoaBinary, hugeString, "f: byte offset 8: the name claims 2147483647"},
      {DesignFormat::kUoaBinary, hugeCount.substr(0, 50), "f: byte offset 39: the design"},
  };
  for (const Case& c : cases) {
    DesignFile file;
    std::string error;
    EXPECT_FALSE(ReadDesign(c.format, c.bytes, "f", &file, &error)) << c.message;
    EXPECT_EQ(error.rfind(c.message, 0), 0u) << error;
    EXPECT_EQ(error.find('\n'), std::string::npos) << error;
  }
}

TEST(DesignFormats, FormatsAreToldByNameExtensionAndContent) {
  const std::string binary = WriteUoaBinary({WorkedExample()});
  EXPECT_EQ(DesignFormatForRead("a.uoa", binary), DesignFormat::kUoaBinary);
  EXPECT_EQ(DesignFormatForRead("a.uoa", "6 version\r\n"), DesignFormat::kUoaText);
  EXPECT_EQ(DesignFormatForRead("a.TXT", "6 version\r\n"), DesignFormat::kUoaText);
  EXPECT_EQ(DesignFormatForRead("a.txt", "0x7 0 0 0 1\r\n"), DesignFormat::kMultiText);
  // A byte order mark in front of a text changes nothing.
  const std::string marked = "\xEF\xBB\xBF" + WriteUoaText(WorkedExample());
  EXPECT_EQ(DesignFormatForRead("a.txt", marked), DesignFormat::kUoaText);
  DesignFile file;
  std::string error;
  ASSERT_TRUE(ReadDesign(DesignFormat::kUoaText, marked, "a.txt", &file, &error)) << error;
  EXPECT_EQ(file.warning, "");
  ASSERT_TRUE(ReadDesign(DesignFormat::kMultiText,
                         "\xEF\xBB\xBF"
                         "0x7 0 0 0 1",
                         "m", &file, &error))
      << error;
  EXPECT_EQ(DesignFormatForRead("a.csv", "id,x"), DesignFormat::kCsv);
  EXPECT_EQ(DesignFormatForRead("a", "SECTION WORLDITEM 1"), DesignFormat::kWsc);
  EXPECT_EQ(DesignFormatForWrite("a.uoa.txt"), DesignFormat::kUoaText);
  EXPECT_EQ(DesignFormatForWrite("a.txt"), DesignFormat::kMultiText);
  EXPECT_EQ(DesignFormatForWrite("a.wsc"), DesignFormat::kWsc);
  for (DesignFormat format : kAllFormats) {
    DesignFormat back;
    ASSERT_TRUE(DesignFormatByName(DesignFormatName(format), &back));
    EXPECT_EQ(back, format);
  }
}

// The game's foundation multi of a W x H plot, from its description.
std::multiset<Key> GameFoundation(int W, int H) {
  const int minX = -((W - 1) / 2), minY = -((H - 1) / 2);
  const int maxX = minX + W - 1, maxY = minY + H - 1;
  std::multiset<Key> keys;
  for (int y = minY; y <= maxY; ++y)
    for (int x = minX; x <= maxX; ++x) {
      int id = 0;
      if (x == minX && y == minY)
        id = 0x66;
      else if (x == maxX && y == maxY)
        id = 0x65;
      else if (y == minY)
        id = 0x63;
      else if (x == minX || x == maxX)
        id = 0x64;
      else if (y == maxY)
        id = 0x63;
      if (id) keys.insert({id, x, y, 0});
      if (x > minX && y > minY) keys.insert({0x31F4, x, y, 7});
    }
  for (int x = minX + 1; x <= maxX; ++x) keys.insert({1873, x, maxY + 1, 0});
  keys.insert({kDefaultPost, minX, maxY, 7});
  keys.insert({kDefaultSign, minX, maxY + 1, 7});
  keys.insert({kDefaultHanger, minX, maxY + 1, 7});
  return keys;
}

TEST(DesignMapping, DefaultFoundationExportsAsTheGamesFoundationAndImportsBackOntoIt) {
  int offered = 0;
  for (int W = 7; W <= 18; ++W)
    for (int H = 7; H <= 18; ++H) {
      if (!GamePlotOffered(W, H)) continue;
      ++offered;
      DocFixture f(W + 1, H + 1);
      f.doc->Clear(true);
      const Design d = DesignOfHouse(*f.doc);
      ASSERT_EQ(KeysOf(d), GameFoundation(W, H)) << W << "x" << H;
      // Anchored: the foundation lands on the default layout's cells.
      DocFixture g(5, 5);
      ASSERT_TRUE(ImportDesign(*g.doc, d, 7).ok);
      EXPECT_EQ(g.doc->Width, W + 1);
      EXPECT_EQ(g.doc->Height, H + 1);
      EXPECT_EQ(KeysOf(DesignOfHouse(*g.doc)), KeysOf(d));
      EXPECT_EQ(g.doc->Tiles[0][0][0][0].Id, 0x66);
      EXPECT_EQ(g.doc->Tiles[1][0][H][0].Id, kDefaultSign);  // z 7: floor 1
    }
  EXPECT_EQ(offered, 6 + 5 * 7 + 1 + 2 + 3 + 4 + 11 + (10 + 9 + 8 + 7 + 6));
  EXPECT_EQ(GameFoundationMulti(7, 7), 0x13EC);
  EXPECT_EQ(GameFoundationMulti(18, 18), 0x13EC + 11 * 12 + 11);
}

// A random house on a foundation: entries on every floor within the plot and
// the steps row, up to three more per cell and floor, Z 0..19.
void RandomHouse(TTAVIDoc& doc, test::Rng& rng) {
  doc.SetSize(2 + rng.Below(30), 2 + rng.Below(30));
  doc.Clear(true);
  const int entries = rng.Below(300);
  for (int i = 0; i < entries; ++i) {
    const int f = rng.Below(kFloors), x = rng.Below(doc.Width - 1), y = rng.Below(doc.Height);
    for (int l = 0; l < 6; ++l) {
      TileEntry& e = doc.Tiles[f][l][y][x];
      if (e.Id != 0) continue;
      if (l >= 3 && f == 0) break;
      e.Id = uint16_t(1 + rng.Below(0x7FFF));
      e.Z = int16_t(rng.Below(20));
      break;
    }
  }
  doc.UpdateAllCells();
}

TEST(DesignMapping, RoundTripsKeepComponentsAndPlotInEveryFormat) {
  test::Rng rng{19};
  for (int round = 0; round < 60; ++round) {
    DocFixture f;
    RandomHouse(*f.doc, rng);
    const int base = 7;
    // Some ids go out as spawned by the server: the flags must come back.
    const DynamicTest dynamic = [](uint16_t id) { return id % 5 == 0; };
    const Design first = DesignOfHouse(*f.doc, dynamic);
    for (DesignFormat format : kAllFormats) {
      DesignFile file;
      std::string error;
      ASSERT_TRUE(ReadDesign(format, WriteDesign(format, first), "r", &file, &error)) << error;
      DocFixture g(4, 4);
      const LoadResult r = ImportDesign(*g.doc, file.designs[0], base);
      ASSERT_TRUE(r.ok) << DesignFormatName(format) << ": " << r.error;
      EXPECT_EQ(g.doc->Width, f.doc->Width) << DesignFormatName(format);
      EXPECT_EQ(g.doc->Height, f.doc->Height) << DesignFormatName(format);
      EXPECT_EQ(KeysOf(DesignOfHouse(*g.doc)), KeysOf(first)) << DesignFormatName(format);
      if (format == DesignFormat::kUoaBinary || format == DesignFormat::kWsc) continue;
      std::multiset<std::tuple<int, int, int, int, int>> read, written;
      for (const DesignComponent& c : file.designs[0].components)
        read.insert({c.id, c.x, c.y, c.z, c.flags});
      for (const DesignComponent& c : DesignOfHouse(*g.doc, dynamic).components)
        written.insert({c.id, c.x, c.y, c.z, c.flags});
      EXPECT_EQ(read, written) << DesignFormatName(format);
    }
  }
}

TEST(DesignMapping, DesignsThatDoNotFitAreRefusedAndLeaveTheHouseAlone) {
  DocFixture f;
  test::MakeEditedHouse(*f.doc);
  const DocSnapshot before(*f.doc);
  auto refused = [&](std::vector<DesignComponent> parts, bool anchored, const char* what) {
    Design d;
    d.anchored = anchored;
    d.components = std::move(parts);
    const LoadResult r = ImportDesign(*f.doc, d, 7);
    EXPECT_FALSE(r.ok) << what;
    EXPECT_EQ(r.error.find('\n'), std::string::npos);
    EXPECT_TRUE(DocSnapshot(*f.doc) == before) << what;
  };
  refused({{7, -16, 0, 0}, {7, 15, 0, 0}}, true, "32 columns anchored");
  refused({{7, 0, 0, 0}, {7, 31, 0, 0}}, false, "32 columns by bounds");
  refused({{7, 0, -15, 0}, {7, 0, 17, 0}}, true, "33 rows with the steps");
  refused({{7, 0, 0, 7 + 80}}, true, "above floor 4");
  refused({{0, 0, 0, 0}}, true, "only empty entries");
  std::vector<DesignComponent> tall(33, DesignComponent{7, 0, 0, 0});
  refused(tall, true, "33 tiles in a cell");
  // The largest plot fits: 31 x 31 and the steps row.
  Design d;
  d.components = {{7, -15, -15, 0}, {7, 15, 16, 0}, {0, 90, 90, 0}};
  const LoadResult r = ImportDesign(*f.doc, d, 7);
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(f.doc->Width, 32);
  EXPECT_EQ(f.doc->Height, 32);
}

// Laying appends on top of a stack without walking it; the result must be
// the layer walk's, tile 0, floor tiles, full cells and all.
TEST(DesignMapping, LayingEqualsTheLayerWalk) {
  test::FakeTileFacts facts;
  facts.Floor(5);
  test::Rng rng{7};
  for (int round = 0; round < 40; ++round) {
    std::vector<MultiComponent> parts;
    const int n = rng.Below(3000);
    for (int i = 0; i < n; ++i)
      parts.push_back({uint16_t(rng.Below(8)), int16_t(rng.Below(4)), int16_t(rng.Below(3)),
                       int16_t(rng.Below(120) - 5)});
    auto fast = NewHouseImage(), walk = NewHouseImage();
    fast->ClearTiles();
    walk->ClearTiles();
    const LaidCount laid = LayComponents(parts, 0, 0, 7, &facts, *fast);
    int above = 0, dropped = 0;
    for (const MultiComponent& c : parts) {
      int floor, z;
      SplitAltitude(c.z, 7, &floor, &z);
      if (floor >= kFloors) {
        ++above;
        continue;
      }
      dropped += !StackImportedTile(walk->Tiles[floor], c.x, c.y, c.id, int16_t(z), c.id == 5);
    }
    walk->CompactStacks();
    EXPECT_EQ(laid.aboveTop, above);
    EXPECT_EQ(laid.dropped, dropped);
    ASSERT_EQ(std::memcmp(fast->Tiles, walk->Tiles, sizeof(walk->Tiles)), 0) << round;
  }
}

TEST(GameLimits, PlotSizesAndTheTopFloor) {
  EXPECT_TRUE(GamePlotOffered(7, 12));
  EXPECT_FALSE(GamePlotOffered(7, 13));
  EXPECT_FALSE(GamePlotOffered(8, 14));
  EXPECT_TRUE(GamePlotOffered(9, 14));
  EXPECT_FALSE(GamePlotOffered(9, 15));
  EXPECT_TRUE(GamePlotOffered(12, 17));
  EXPECT_FALSE(GamePlotOffered(13, 7));
  EXPECT_TRUE(GamePlotOffered(13, 18));
  EXPECT_FALSE(GamePlotOffered(16, 10));
  EXPECT_TRUE(GamePlotOffered(16, 11));
  EXPECT_FALSE(GamePlotOffered(19, 19));

  DocFixture f(11, 11);  // a 10 x 10 plot
  f.doc->Clear(true);
  EXPECT_TRUE(GameLimitFaults(*f.doc).empty());
  f.doc->Tiles[4][0][3][3] = {0, 7, 0};
  EXPECT_EQ(GameLimitFaults(*f.doc),
            std::vector<std::string>{"floor 4 is used; the game gives a 10x10 plot three floors"});
  f.doc->SetSize(11, 15);  // 10 x 14: four floors
  EXPECT_TRUE(GameLimitFaults(*f.doc).empty());
  f.doc->SetSize(9, 16);  // 8 x 15
  EXPECT_EQ(GameLimitFaults(*f.doc), std::vector<std::string>{"the game offers no 8x15 plot"});
}

}  // namespace
}  // namespace tavi
