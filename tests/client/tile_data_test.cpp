// Reading tiledata.mul (both record layouts) and the art index (artidx.mul
// or the art container) into the tile tables.
#include "client/tile_data.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "client/container.h"
#include "client_files.h"
#include "document/aos_tables.h"
#include "support/demo_client.h"
#include "tools/container_writer.h"

namespace tavi {
namespace {

using test::ArtFiles;
using test::kLandSectionBytes;
using test::OldTileDataFile;
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

TEST(TileData, LayoutFollowsTheFileSize) {
  const auto wide = TileDataLayout::kFlags64, narrow = TileDataLayout::kFlags32;
  // Sizes of real files, old and new.
  EXPECT_EQ(TileDataLayoutForSize(1036288), narrow);
  EXPECT_EQ(TileDataLayoutForSize(1644544), narrow);
  EXPECT_EQ(TileDataLayoutForSize(3188736), wide);
  // Whole blocks of either layout; anything else is read as today.
  EXPECT_EQ(TileDataLayoutForSize(493568 + 1316 * 3), wide);
  EXPECT_EQ(TileDataLayoutForSize(428032 + 1188 * 3), narrow);
  EXPECT_EQ(TileDataLayoutForSize(428032 + 1188 * 3 + 1), wide);
  EXPECT_EQ(TileDataLayoutForSize(3188736 + 1188), wide);  // full size or more: new
  EXPECT_EQ(TileDataLayoutForSize(1000), wide);
  EXPECT_EQ(TileDataLayoutForSize(0), wide);
  EXPECT_EQ(MultiRecordSizeFor(narrow), 12);
  EXPECT_EQ(MultiRecordSizeFor(wide), 16);
  EXPECT_STREQ(TileDataLayoutName(narrow), "32-bit flags");
  EXPECT_STREQ(TileDataLayoutName(wide), "64-bit flags");
}

// The same records in both layouts give the same item tables.
TEST(TileData, OlderLayoutReadsAsTheCurrentOne) {
  OldTileDataFile old(96);
  TileDataFile now(96);
  auto item = [&](int id, uint8_t height, uint32_t flags, const char* name, uint8_t weight) {
    old.Item(id, height, flags, name, weight);
    now.Item(id, height, flags, name, weight);
  };
  item(0, 3, 0x80000001u, "zero", 7);
  item(31, 31, 0, "end of block one", 0);
  item(32, 0, 1, "start of block two", 2);
  item(33, 20, 0xFFFFFFFFu, "ABCDEFGHIJKLMNOPQRST", 255);
  item(95, 9, 0x10, "last", 1);
  // The fields between weight and height travel with the record.
  old.Record(40)[9] = now.Record(40)[13] = 0x5A;
  TempDir a, b;
  test::WriteBytes(a / "tiledata.mul", old.bytes);
  test::WriteBytes(b / "tiledata.mul", now.bytes);
  ItemArt(96, {4, 40}).Write(a);
  ItemArt(96, {4, 40}).Write(b);
  auto o = Load(a), n = Load(b);

  EXPECT_EQ(o->Layout, TileDataLayout::kFlags32);
  EXPECT_EQ(n->Layout, TileDataLayout::kFlags64);
  EXPECT_EQ(o->MultiRecordSize(), 12);
  EXPECT_EQ(o->ItemRecordCount, 96u);
  EXPECT_EQ(uint64_t{o->ItemData[0].Flags}, 0x80000001ull);  // widened, not sign-extended
  EXPECT_EQ(uint64_t{o->ItemData[33].Flags}, 0xFFFFFFFFull);
  EXPECT_EQ(o->ItemName(33), "ABCDEFGHIJKLMNOPQRST");
  EXPECT_TRUE(o->IsBackground(32));
  EXPECT_EQ(o->TileHeight(95), 9);
  EXPECT_EQ(std::memcmp(o->ItemData, n->ItemData, sizeof(TileInfo) * 97), 0);
  EXPECT_EQ(o->ItemCount, n->ItemCount);
  EXPECT_EQ(std::memcmp(o->ItemIds, n->ItemIds, sizeof(o->ItemIds)), 0);
  EXPECT_EQ(std::memcmp(o->ItemIndexOf, n->ItemIndexOf, sizeof(o->ItemIndexOf)), 0);
  EXPECT_EQ(std::memcmp(o->TileCategory, n->TileCategory, sizeof(o->TileCategory)), 0);
}

// An art container holding the pictures of `art`, each under its index.
std::vector<uint8_t> ArtContainer(const ArtFiles& art, std::vector<demo::PackedFile> extra = {}) {
  std::vector<demo::PackedFile> files;
  for (uint32_t i = 0; i < art.offsets.size(); ++i) {
    if (art.offsets[i] < 0) continue;
    char name[40];
    std::snprintf(name, sizeof name, "build/artlegacymul/%08u.tga", i);
    files.push_back({name, art.Picture(i)});
  }
  files.insert(files.end(), extra.begin(), extra.end());
  demo::PackedLayout layout;
  layout.capacity = 7;  // several tables
  layout.dataHeader = 8;
  return demo::BuildPackedContainer(files, layout).bytes;
}

TEST(TileData, PicturesFromTheArtContainerMatchArtMul) {
  ArtFiles art;
  art.AddLand(3, [](int i) { return uint16_t(i * 37); });
  art.AddItem(kItemArtBase + 1, 3, 2, {{{0, 3, {0x7C00, 0x03E0, 0x001F}}}, {{1, 1, {0x7FFF}}}});
  art.AddItem(kItemArtBase + 2, 65, 1, {{{64, 1, {0x1234}}}});
  art.AddItem(kItemArtBase + 4, 1, 1, {{{0, 1, {0}}}});
  art.SetEntry(kItemArtBase + 3, -1);
  TempDir loose, packed;
  TileDataFile td(10);
  td.Item(1, 5, 0, "one");
  test::WriteBytes(loose / "tiledata.mul", td.bytes);
  test::WriteBytes(packed / "tiledata.mul", td.bytes);
  art.Write(loose);
  // Beside the pictures: a packed picture and an empty one, neither of which
  // is art, and a name that is no picture at all.
  test::WriteBytes(packed / "artLegacyMUL.uop",
                   ArtContainer(art, {{"build/artlegacymul/00016389.tga", art.Picture(3), true},
                                      {"build/artlegacymul/00016390.tga", {}},
                                      {"build/other/00000007.tga", art.Picture(3)}}));
  auto l = Load(loose);
  // The index path is not read when the art is a container.
  auto p = TUOTileData::Create(packed / "nothing.idx", packed / "tiledata.mul",
                               packed / "artLegacyMUL.uop");
  EXPECT_FALSE(l->ArtInContainer);
  EXPECT_TRUE(p->ArtInContainer);
  EXPECT_EQ(p->ItemData[1].Height, 5);
  // Absent entries are absent art: ids 0, 3 and 5.. have no picture.
  ASSERT_EQ(p->ItemCount, 3u);
  EXPECT_EQ(p->ItemIds[0], 1u);
  EXPECT_EQ(p->ItemIds[2], 4u);
  EXPECT_EQ(p->ItemIndexOf[3], 2);
  EXPECT_EQ(p->PictureCount(), 4u);
  for (uint32_t i : {0u, 4u, 7u, kItemArtBase + 3, kItemArtBase + 5, kItemArtBase + 6,
                     kItemArtBase + 7, kContainerArtIndices, uint32_t(kMaxArtIndex)})
    EXPECT_FALSE(p->HasArt(i)) << i;
  for (uint32_t i : {3u, kItemArtBase + 1, kItemArtBase + 2, kItemArtBase + 4}) {
    ASSERT_TRUE(p->HasArt(i)) << i;
    ArtRGBA a, b;
    ASSERT_TRUE(l->LoadArtRGBA(i, &a)) << i;
    ASSERT_TRUE(p->LoadArtRGBA(i, &b)) << i;
    EXPECT_EQ(a.Pixels, b.Pixels) << i;
    EXPECT_EQ(a.ArtWidth, b.ArtWidth);
    EXPECT_EQ(a.TexHeight, b.TexHeight);
    TBitmap24 x(50, 50, 9), y(50, 50, 9);
    l->DrawArt(x, i, 0, 0);
    p->DrawArt(y, i, 0, 0);
    EXPECT_EQ(x.Bits, y.Bits) << i;
  }
}

TEST(TileData, DamagedArtContainerSaysWhatIsWrong) {
  TempDir dir;
  test::WriteBytes(dir / "tiledata.mul", TileDataFile(1).bytes);
  ArtFiles art = ItemArt(1, {});
  std::vector<uint8_t> good = ArtContainer(art);
  auto expectError = [&](std::vector<uint8_t> bytes, const char* said) {
    test::WriteBytes(dir / "artLegacyMUL.uop", bytes);
    try {
      TUOTileData::Create("", dir / "tiledata.mul", dir / "artLegacyMUL.uop");
      ADD_FAILURE() << "no error for " << said;
    } catch (const TileDataError& e) {
      EXPECT_NE(std::string(e.what()).find(said), std::string::npos) << e.what();
      EXPECT_NE(std::string(e.what()).find(dir / "artLegacyMUL.uop"), std::string::npos);
    }
  };
  std::vector<uint8_t> b = good;
  b[1] = 0;
  expectError(b, "wrong magic");
  b = good;
  b.resize(good.size() - 1);
  expectError(b, "past the end");
  b = good;
  b[12] = 45;  // the first table inside nothing sensible
  expectError(b, "");
  expectError({}, "too short");
  // A missing container names the file too.
  std::remove((dir / "artLegacyMUL.uop").c_str());
  expectError({}, "");
}

// Of entries with a picture's name, the first readable one decides, as a
// lookup by the name finds it: a packed first entry makes the picture absent,
// an entry of an unknown compression is passed over.
TEST(TileData, ArtContainerTakesTheFirstReadableEntryOfAName) {
  ArtFiles art;
  art.AddLand(0, [](int i) { return uint16_t(i); });
  art.AddLand(1, [](int i) { return uint16_t(i * 3); });
  const std::vector<uint8_t> a = art.Picture(0), b = art.Picture(1);
  const char* kPacked = "build/artlegacymul/00016385.tga";
  const char* kOdd = "build/artlegacymul/00016386.tga";
  const char* kTwice = "build/artlegacymul/00016387.tga";
  std::vector<demo::PackedFile> files = {{kPacked, a, true},
                                         {kOdd, a},
                                         {kTwice, a},
                                         {kPacked, b},
                                         {kOdd, b},
                                         {kTwice, b},
                                         {"build/artlegacymul/00000005.tga", b}};
  demo::PackedLayout layout;
  layout.capacity = 2;
  demo::PackedImage img = demo::BuildPackedContainer(files, layout);
  img.bytes[img.entries[1] + 32] = 9;  // the first kOdd: a compression nobody knows
  TempDir dir;
  test::WriteBytes(dir / "tiledata.mul", TileDataFile(8).bytes);
  test::WriteBytes(dir / "artLegacyMUL.uop", img.bytes);
  auto t = TUOTileData::Create("", dir / "tiledata.mul", dir / "artLegacyMUL.uop");
  std::string error;
  auto c = PackedContainer::Open(dir / "artLegacyMUL.uop", &error);
  ASSERT_TRUE(c) << error;

  EXPECT_FALSE(t->HasArt(kItemArtBase + 1));
  EXPECT_EQ(t->ArtIndex[kItemArtBase + 1].Offset, -1);
  for (auto [index, name] : {std::pair{kItemArtBase + 2, kOdd},
                             {kItemArtBase + 3, kTwice},
                             {5u, "build/artlegacymul/00000005.tga"}}) {
    const ContainerEntry* e = c->FindName(name);
    ASSERT_NE(e, nullptr) << name;
    EXPECT_EQ(t->ArtIndex[index].Offset, e->payloadOffset) << name;
    EXPECT_EQ(t->ArtIndex[index].Length, e->storedLength) << name;
  }
  ArtRGBA twice, odd;
  ASSERT_TRUE(t->LoadArtRGBA(kItemArtBase + 3, &twice));
  ASSERT_TRUE(t->LoadArtRGBA(kItemArtBase + 2, &odd));
  EXPECT_NE(twice.Pixels, odd.Pixels);  // the first kTwice holds a, kOdd's readable one b
  EXPECT_EQ(t->PictureCount(), 3u);
}

// A picture the 32-bit art index cannot point at is refused with a message.
TEST(TileData, ArtContainerPictureBeyond2GBIsRefused) {
  std::vector<demo::PackedFile> files = {{"build/artlegacymul/00000001.tga", {1, 2, 3, 4}}};
  demo::PackedImage img = demo::BuildPackedContainer(files);
  const uint64_t far = (uint64_t(1) << 31) + 4096;
  for (int i = 0; i < 8; ++i) img.bytes[img.entries[0] + size_t(i)] = uint8_t(far >> (8 * i));
  TempDir dir;
  test::WriteBytes(dir / "tiledata.mul", TileDataFile(1).bytes);
  test::WriteBytes(dir / "artLegacyMUL.uop", img.bytes);
  // Sparse up to past the picture: only the tables are read.
  ASSERT_EQ(::truncate((dir / "artLegacyMUL.uop").c_str(), off_t(far + 64)), 0);
  try {
    TUOTileData::Create("", dir / "tiledata.mul", dir / "artLegacyMUL.uop");
    ADD_FAILURE() << "a picture beyond 2 GB was taken";
  } catch (const TileDataError& e) {
    EXPECT_NE(std::string(e.what()).find("beyond 2 GB"), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find(dir / "artLegacyMUL.uop"), std::string::npos);
  }
}

// Cut anywhere around the first block headers, the item section reads as the
// file holds it: every record that starts in the file is there, with its
// bytes up to the cut and zeros after them, and nothing else is written.
TEST(TileData, ItemSectionCutAnywhereReadsAsTheFileHoldsIt) {
  TileDataFile full(96);
  for (int id = 0; id < 96; ++id) {
    uint8_t* r = full.Record(id);
    for (int i = 0; i < 41; ++i) r[i] = uint8_t(id * 7 + i + 1);
  }
  std::vector<size_t> cuts = {0, kLandSectionBytes - 1, kLandSectionBytes, full.bytes.size()};
  for (int block : {0, 1, 2})  // around each block header
    for (int d = -2; d <= 6; ++d) cuts.push_back(size_t(int(kLandSectionBytes) + block * 1316 + d));
  for (int id : {0, 1, 31, 32, 33, 63, 64, 95})
    for (int d : {1, 20, 21, 40})
      cuts.push_back(size_t(full.Record(id) - full.bytes.data()) + size_t(d));
  TempDir dir;
  ItemArt(96, {}).Write(dir);
  for (size_t cut : cuts) {
    std::vector<uint8_t> bytes(full.bytes.begin(), full.bytes.begin() + int64_t(cut));
    test::WriteBytes(dir / "tiledata.mul", bytes);
    auto t = Load(dir);
    uint32_t records = 0;
    for (int id = 0; id < 96; ++id) {
      const size_t at = size_t(full.Record(id) - full.bytes.data());
      const size_t starts = id % 32 == 0 ? at - 4 : at;  // a block counts from its header on
      if (starts < cut) records = uint32_t(id + 1);
      uint8_t expected[41] = {};
      for (size_t i = 0; i < 41; ++i)
        if (at + i < cut) expected[i] = full.bytes[at + i];
      ASSERT_EQ(std::memcmp(&t->ItemData[id], expected, 41), 0) << "cut " << cut << " id " << id;
    }
    EXPECT_EQ(t->ItemRecordCount, records) << cut;
    EXPECT_EQ(t->ItemCount, records) << cut;
    const TileInfo zero{};
    for (int id = 96; id < 200; ++id)
      ASSERT_EQ(std::memcmp(&t->ItemData[id], &zero, sizeof zero), 0) << cut << " " << id;
  }
}

TEST(TileData, DemoClientLoads) {
  const std::string& demo = test::DemoClientDir();
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
