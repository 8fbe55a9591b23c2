// Reading tiledata.mul and artidx.mul into the tile tables.
#include <gtest/gtest.h>

#include <memory>

#include "client/tile_data.h"
#include "client_files.h"
#include "document/aos_tables.h"
#include "support/demo_client.h"

namespace tavi {
namespace {

using test::ArtFiles;
using test::TempDir;
using test::TileDataFile;

std::unique_ptr<TUOTileData> Load(const TempDir& dir) {
  return TUOTileData::Create(dir / "artidx.mul", dir / "tiledata.mul", dir / "art.mul");
}

// Art for every item id below `items` except the ones in `absent`.
ArtFiles ItemArt(int items, std::initializer_list<int> absent) {
  ArtFiles art;
  art.AddItem(0, 1, 1, {{{0, 1, {0x7FFF}}}});
  for (int id = 0; id < items; ++id) art.SetEntry(kItemArtBase + id, 0);
  for (int id : absent) art.SetEntry(kItemArtBase + id, -1);
  return art;
}

TEST(TileData, RecordsAroundTheBlockHeaders) {
  TempDir dir;
  TileDataFile td(70);
  td.Item(0, 3, 0x8000000000000001ull, "zero", 7)
      .Item(31, 31, 0, "end of block one")
      .Item(32, 32, 1, "start of block two")
      .Item(33, 20, 0, "ABCDEFGHIJKLMNOPQRST")  // 20 characters, no terminator
      .Item(69, 9, 0, "last");
  test::WriteBytes(dir / "tiledata.mul", td.bytes);
  ItemArt(70, {}).Write(dir);
  auto t = Load(dir);

  EXPECT_EQ(uint64_t{t->ItemData[0].Flags}, 0x8000000000000001ull);
  EXPECT_EQ(t->ItemData[0].Weight, 7);
  EXPECT_EQ(t->ItemData[0].Height, 3);
  EXPECT_EQ(t->ItemName(0), "zero");
  EXPECT_EQ(t->ItemData[31].Height, 31);
  EXPECT_EQ(t->ItemName(31), "end of block one");
  EXPECT_EQ(t->ItemData[32].Height, 32);
  EXPECT_EQ(uint64_t{t->ItemData[32].Flags}, 1u);
  EXPECT_EQ(t->ItemName(32), "start of block two");
  EXPECT_EQ(t->ItemName(33), "ABCDEFGHIJKLMNOPQRST");
  EXPECT_EQ(t->ItemData[69].Height, 9);
  // Ids past the records read as zero.
  EXPECT_EQ(t->ItemData[70].Height, 0);
  EXPECT_EQ(t->ItemName(70), "");
  EXPECT_EQ(t->ItemName(1u << 20), "");
  // The facts the document asks for.
  EXPECT_EQ(t->TileHeight(31), 31);
  EXPECT_TRUE(t->IsBackground(32));
  EXPECT_FALSE(t->IsBackground(31));
  EXPECT_EQ(t->Category(0x4000), 0);
}

TEST(TileData, ItemListSkipsAbsentArt) {
  TempDir dir;
  test::WriteBytes(dir / "tiledata.mul", TileDataFile(10).bytes);
  ItemArt(10, {2, 3, 7}).Write(dir);
  auto t = Load(dir);

  ASSERT_EQ(t->ItemCount, 7u);
  const uint32_t expected[] = {0, 1, 4, 5, 6, 8, 9};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(t->ItemIds[i], expected[i]);
  // An id without art points where the next id with art stands.
  EXPECT_EQ(t->ItemIndexOf[2], 2);
  EXPECT_EQ(t->ItemIndexOf[3], 2);
  EXPECT_EQ(t->ItemIndexOf[4], 2);
  EXPECT_EQ(t->ItemIndexOf[7], 5);
  EXPECT_EQ(t->ItemIndexOf[8], 5);
  EXPECT_EQ(t->ItemIndexOf[9], 6);
}

TEST(TileData, IndexEntriesPastTheIndexFileCountAsPresent) {
  TempDir dir;
  test::WriteBytes(dir / "tiledata.mul", TileDataFile(40).bytes);
  ArtFiles art = ItemArt(20, {5});
  art.Write(dir);
  auto t = Load(dir);
  EXPECT_EQ(t->ArtIndexCount, kItemArtBase + 20);
  EXPECT_EQ(t->ItemCount, 39u);
  EXPECT_EQ(t->ArtIndex[kItemArtBase + 30].Offset, 0);
}

TEST(TileData, ShortAndTruncatedFiles) {
  TempDir dir;
  ItemArt(100, {}).Write(dir);
  // Shorter than the land section: no items at all.
  test::WriteBytes(dir / "tiledata.mul", std::vector<uint8_t>(1000, 0x55));
  EXPECT_EQ(Load(dir)->ItemCount, 0u);
  test::WriteBytes(dir / "tiledata.mul", {});
  EXPECT_EQ(Load(dir)->ItemCount, 0u);

  // A record cut short keeps zeros in its missing bytes.
  TileDataFile td(3);
  td.Item(2, 0xAB, 0, "cut");
  td.bytes.resize(td.bytes.size() - 30);  // record 2 keeps 11 bytes: no height
  td.Item(2, 0, 0xFFFFFFFFFFFFFFFFull);
  test::WriteBytes(dir / "tiledata.mul", td.bytes);
  auto t = Load(dir);
  EXPECT_EQ(t->ItemCount, 3u);
  EXPECT_EQ(uint64_t{t->ItemData[2].Flags}, 0xFFFFFFFFFFFFFFFFull);
  EXPECT_EQ(t->ItemData[2].Height, 0);
  EXPECT_EQ(t->ItemName(2), "");

  // A file ending inside a block header still gives the record that would follow.
  TileDataFile td2(32);
  td2.bytes.push_back(0xEE);
  test::WriteBytes(dir / "tiledata.mul", td2.bytes);
  t = Load(dir);
  EXPECT_EQ(t->ItemCount, 33u);
  EXPECT_EQ(t->ItemData[32].Height, 0);
}

TEST(TileData, OversizedFilesAreBounded) {
  TempDir dir;
  // More records than item ids and an index with more entries than the table.
  TileDataFile td(65536 + 64);
  td.Item(65535, 42, 0, "last id");
  test::WriteBytes(dir / "tiledata.mul", td.bytes);
  ArtFiles art;
  art.AddItem(0, 1, 1, {{{0, 1, {1}}}});
  art.SetEntry(kMaxArtIndex + 100, 0);
  for (auto& o : art.offsets) o = 0;
  art.Write(dir);
  auto t = Load(dir);
  EXPECT_EQ(t->ArtIndexCount, uint32_t(kMaxArtIndex));
  EXPECT_EQ(t->ItemCount, 65536u);  // every item id has art
  EXPECT_EQ(t->ItemIds[65535], 65535u);
  EXPECT_EQ(t->ItemIndexOf[65535], 65535);
  EXPECT_EQ(t->ItemData[65535].Height, 42);
  EXPECT_EQ(t->ItemData[65536].Height, 0);
  EXPECT_FALSE(t->HasArt(kMaxArtIndex + 100));
}

TEST(TileData, GarbageFilesLoadWithoutHarm) {
  TempDir dir;
  std::vector<uint8_t> junk(kMaxArtIndex * 12 + 5);
  uint32_t s = 12345;
  for (auto& b : junk) b = uint8_t((s = s * 1103515245u + 12345u) >> 24);
  test::WriteBytes(dir / "artidx.mul", junk);
  test::WriteBytes(dir / "tiledata.mul", std::vector<uint8_t>(junk.begin(), junk.begin() + 600000));
  test::WriteBytes(dir / "art.mul", std::vector<uint8_t>(junk.begin(), junk.begin() + 70000));
  auto t = Load(dir);
  ASSERT_TRUE(t);
  ArtRGBA out;
  TBitmap24 bmp(60, 60);
  for (uint32_t i = 0; i < uint32_t(kMaxArtIndex); i += 97) {
    t->LoadArtRGBA(i, &out);
    t->DrawArt(bmp, i, 0, 0);
  }
}

TEST(TileData, LightsAndCategories) {
  TempDir dir;
  TileDataFile td(0x4000);
  td.Item(10, 20).Item(6, 5);  // a tall and a short wall piece
  test::WriteBytes(dir / "tiledata.mul", td.bytes);
  ItemArt(1, {}).Write(dir);
  auto t = Load(dir);

  auto light = [&](int id) {
    const LightInfo& l = t->Lights[id];
    return std::vector<int>{l.OffsetX, l.OffsetY, l.Kind, l.Red, l.Green, l.Blue};
  };
  EXPECT_EQ(light(0x462), (std::vector<int>{0, 0, 1, 128, 128, 128}));
  EXPECT_EQ(light(0x480), (std::vector<int>{0, 0, 1, 128, 128, 128}));
  EXPECT_EQ(light(0x481), (std::vector<int>{0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(light(0xA12), (std::vector<int>{0, 0, 1, 128, 128, 96}));
  EXPECT_EQ(light(0xA14), (std::vector<int>{0, 0, 1, 128, 128, 96}));
  EXPECT_EQ(light(0xB1D), (std::vector<int>{0, 0, 2, 128, 128, 128}));
  EXPECT_EQ(light(0xB20), (std::vector<int>{0, 0, 3, 128, 128, 128}));
  EXPECT_EQ(light(0xB21), (std::vector<int>{0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(light(0xB28), (std::vector<int>{0, 0, 3, 128, 128, 128}));
  EXPECT_EQ(light(0x19AA), (std::vector<int>{0, 0, 1, 128, 96, 96}));
  EXPECT_EQ(light(0x3287), (std::vector<int>{0, 0, 1, 128, 96, 96}));
  EXPECT_EQ(light(0x3E3A), (std::vector<int>{0, 0, 1, 128, 128, 128}));
  EXPECT_EQ(light(0x3E3B), (std::vector<int>{0, 0, 0, 0, 0, 0}));
  int lit = 0;
  for (const LightInfo& l : t->Lights) lit += l.Kind != 0;
  EXPECT_EQ(lit, 391);

  EXPECT_EQ(t->Category(10), 0x02BD);
  EXPECT_EQ(t->Category(6), 0x0079);
  EXPECT_EQ(t->Category(1305), 0x1001);
  EXPECT_EQ(t->Category(0), 0);
}

TEST(TileData, MissingFilesNameTheFile) {
  TempDir dir;
  test::WriteBytes(dir / "tiledata.mul", TileDataFile(1).bytes);
  ItemArt(1, {}).Write(dir);
  auto expectError = [](const std::string& a, const std::string& t, const std::string& r,
                        const std::string& named) {
    try {
      TUOTileData::Create(a, t, r);
      ADD_FAILURE() << "no error for " << named;
    } catch (const TileDataError& e) {
      EXPECT_NE(std::string(e.what()).find(named), std::string::npos) << e.what();
    }
  };
  expectError(dir / "nope.idx", dir / "tiledata.mul", dir / "art.mul", dir / "nope.idx");
  expectError(dir / "artidx.mul", dir / "nope.td", dir / "art.mul", dir / "nope.td");
  expectError(dir / "artidx.mul", dir / "tiledata.mul", dir / "nope.art", dir / "nope.art");
  expectError(dir / "artidx.mul", dir / "tiledata.mul", dir.str(), dir.str());
}

TEST(TileData, DemoClientLoads) {
  const std::string& demo = test::DemoClientDir();
  if (demo.empty()) GTEST_SKIP() << "no demo client";
  auto t = TUOTileData::Create(demo + "/artidx.mul", demo + "/tiledata.mul", demo + "/art.mul");
  EXPECT_GT(t->ItemCount, 100u);
  // Every part of the walls table has a picture and a word.
  int decoded = 0;
  for (int row = 0; row < AosTableRows(kAosWalls); ++row)
    for (int c = 0; c < 8; ++c) {
      const uint16_t id = ObjectTableAt(kAosWalls, c, row);
      if (!id) continue;
      EXPECT_NE(t->Category(id), 0) << id;
      ArtRGBA art;
      decoded += t->LoadArtRGBA(kItemArtBase + id, &art);
    }
  EXPECT_GT(decoded, 900);
}

}  // namespace
}  // namespace tavi
