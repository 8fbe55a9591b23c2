// Standard houses from multi.idx / multi.mul (both record sizes) and from the
// multi container, the import stacking rule and the Import Multi menu table.
#include "io/multi_import.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "client/container.h"
#include "io/multi_menu.h"
#include "io/stacking.h"
#include "io_test_util.h"
#include "support/import_multi.h"
#include "tools/container_writer.h"

namespace tavi {
namespace {

using test::DocFixture;
using test::DocSnapshot;

void Put16(std::string& s, int v) {
  s += char(v & 0xFF);
  s += char((v >> 8) & 0xFF);
}
void Put32(std::string& s, int32_t v) {
  Put16(s, v & 0xFFFF);
  Put16(s, (v >> 16) & 0xFFFF);
}

// multi.idx / multi.mul images: multis[i] lands at id i; an empty list gets
// length 0. Records are 16 bytes, or 12 in older clients.
struct MultiFiles {
  std::string idx, mul;
  int recordSize = 16;
  void Add(const std::vector<MultiComponent>& parts) {
    Put32(idx, parts.empty() ? -1 : int32_t(mul.size()));
    Put32(idx, int32_t(parts.size()) * recordSize);
    Put32(idx, 0);
    for (const MultiComponent& c : parts) {
      Put16(mul, c.id);
      Put16(mul, c.x);
      Put16(mul, c.y);
      Put16(mul, c.z);
      Put32(mul, 1);
      if (recordSize == 16) Put32(mul, 0x7777);
    }
  }
};

// An inflated container entry: id, count, then components with `extra`
// further words each.
std::vector<uint8_t> Payload(uint32_t id, const std::vector<MultiComponent>& parts,
                             uint32_t extra = 0) {
  std::string s;
  Put32(s, int32_t(id));
  Put32(s, int32_t(parts.size()));
  for (const MultiComponent& c : parts) {
    Put16(s, c.id);
    Put16(s, c.x);
    Put16(s, c.y);
    Put16(s, c.z);
    Put16(s, 0);  // flags: imported all the same
    Put32(s, int32_t(extra));
    for (uint32_t i = 0; i < extra; ++i) Put32(s, 0x1234);
  }
  return std::vector<uint8_t>(s.begin(), s.end());
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  test::WriteFile(path, std::string(bytes.begin(), bytes.end()));
}

std::string MultiName(int id) {
  char name[48];
  std::snprintf(name, sizeof name, "build/multicollection/%06d.bin", id);
  return name;
}

bool SameParts(const std::vector<MultiComponent>& a, const std::vector<MultiComponent>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i].id != b[i].id || a[i].x != b[i].x || a[i].y != b[i].y || a[i].z != b[i].z)
      return false;
  return true;
}

const std::vector<MultiComponent> kParts = {
    {300, -7, -7, 0}, {301, 7, 8, 7}, {302, 0, 0, 5}, {0, 3, 3, 0}, {303, -1, 2, -3}};

TEST(ImportStacking, OrdersByAltitudeWithFloorTilesBelowTheirEquals) {
  auto image = NewHouseImage();
  FloorImage& fl = image->Tiles[0];
  StackImportedTile(fl, 1, 1, 10, 5, false);
  StackImportedTile(fl, 1, 1, 11, 3, false);  // lower: goes under
  EXPECT_EQ(fl[0][1][1].Id, 11);
  EXPECT_EQ(fl[1][1][1].Id, 10);
  StackImportedTile(fl, 1, 1, 12, 5, false);  // equal, not a floor: above
  StackImportedTile(fl, 1, 1, 13, 5, true);   // equal, a floor: below the first 5
  StackImportedTile(fl, 1, 1, 14, 5, true);   // and the later floor below that
  const uint16_t want[] = {11, 14, 13, 10, 12};
  for (int l = 0; l < 5; ++l) EXPECT_EQ(fl[l][1][1].Id, want[l]) << l;
  // A full cell: a tile below the top pushes the top entry out; one above is dropped.
  for (int l = 0; l < 27; ++l) StackImportedTile(fl, 1, 1, 100, 9, false);
  EXPECT_FALSE(StackImportedTile(fl, 1, 1, 200, 50, false));
  EXPECT_TRUE(StackImportedTile(fl, 1, 1, 201, 0, false));
  EXPECT_EQ(fl[0][1][1].Id, 201);
  EXPECT_EQ(fl[31][1][1].Id, 100);
}

TEST(ImportStacking, SplitsAltitudesIntoFloors) {
  const int cases[][3] = {{0, 0, 0},  {6, 0, 6},   {7, 1, 0},   {26, 1, 19},
                          {27, 2, 0}, {-3, 0, -3}, {86, 4, 19}, {87, 5, 0}};
  for (const auto& c : cases) {
    int floor, z;
    SplitAltitude(c[0], 7, &floor, &z);
    EXPECT_EQ(floor, c[1]) << c[0];
    EXPECT_EQ(z, c[2]) << c[0];
  }
}

TEST(MultiImport, SizesThePlotToTheFootprintAndStacks) {
  DocFixture f;
  f.facts.Floor(500);
  MultiFiles files;
  files.Add({{1, 0, 0, 0}});
  files.Add({{300, -7, -7, 0},
             {301, 7, 8, 7},
             {302, 0, 0, 5},
             {303, 0, 0, 3},
             {304, 1, 1, 27},
             {305, 1, 1, 27},
             {500, 1, 1, 27},
             {306, 2, 2, 90},  // floor 5: skipped
             {0, 3, 3, 0},     // no tile
             {307, 2, 2, -3}});
  std::istringstream idx(files.idx), mul(files.mul);
  std::vector<MultiComponent> parts;
  std::string error;
  ASSERT_TRUE(ReadMultiComponents(idx, mul, 1, &parts, &error)) << error;
  ASSERT_EQ(parts.size(), 10u);
  auto image = NewHouseImage();
  ASSERT_TRUE(BuildMultiImage(parts, 7, &f.facts, *image, &error)) << error;
  EXPECT_EQ(image->Width, 15);
  EXPECT_EQ(image->Height, 16);
  const auto& t = image->Tiles;
  EXPECT_EQ(t[0][0][0][0].Id, 300);
  EXPECT_EQ(t[1][0][15][14].Id, 301);
  EXPECT_EQ(t[1][0][15][14].Z, 0);
  EXPECT_EQ(t[0][0][7][7].Id, 303);  // z 3 read second goes below z 5
  EXPECT_EQ(t[0][1][7][7].Id, 302);
  EXPECT_EQ(t[2][0][8][8].Id, 500);  // the floor tile below its equals
  EXPECT_EQ(t[2][1][8][8].Id, 304);
  EXPECT_EQ(t[2][2][8][8].Id, 305);
  EXPECT_EQ(t[0][0][9][9].Id, 307);
  EXPECT_EQ(t[0][0][9][9].Z, -3);
  EXPECT_EQ(image->CountEntries(), 8);
}

TEST(MultiImport, TileZeroHoldsItsLayerWhileStackingButLeavesNoGap) {
  // 0 at z 7 sits between 5 and 9 and is then taken by 10 as an empty layer.
  const std::vector<MultiComponent> parts = {{1, 0, 0, 5},  {3, 0, 0, 9}, {0, 0, 0, 7},
                                             {2, 0, 0, 10}, {0, 1, 0, 3}, {4, 1, 0, 4}};
  auto image = NewHouseImage();
  std::string error;
  ASSERT_TRUE(BuildMultiImage(parts, 100, nullptr, *image, &error));
  const auto& t = image->Tiles[0];
  EXPECT_EQ(t[0][0][0].Id, 1);
  EXPECT_EQ(t[1][0][0].Id, 2);
  EXPECT_EQ(t[2][0][0].Id, 3);
  EXPECT_EQ(t[0][0][1].Id, 4);
  EXPECT_EQ(t[1][0][1].Id, 0);
}

TEST(MultiImport, ReplacesTheDocumentOnlyWhenTheMultiFits) {
  test::TempDir dir;
  MultiFiles files;
  files.Add({});                             // 0: no components
  files.Add({{5, 0, 0, 0}, {6, 40, 0, 0}});  // 1: 41 cells wide
  files.Add({{5, 0, 0, 0}, {6, 1, 2, 10}});  // 2: fits
  const std::string idx = dir.File("multi.idx"), mul = dir.File("multi.mul");
  test::WriteFile(idx, files.idx +
                           std::string("\x30\0\0\0\x20\0\0\0\0\0\0\0", 12) +  // 3: past the end
                           std::string("\0\0\0\0\x0f\0\0\0\0\0\0\0", 12));    // 4: 15 bytes
  test::WriteFile(mul, files.mul);
  for (int id : {0, 1, 3, 4, 5, -1, 1 << 30}) {
    DocFixture f;
    test::MakeEditedHouse(*f.doc);
    const DocSnapshot before(*f.doc);
    const LoadResult r = test::ImportClientMulti(*f.doc, id, 7, idx, mul);
    EXPECT_FALSE(r.ok) << id;
    EXPECT_FALSE(r.error.empty());
    EXPECT_TRUE(DocSnapshot(*f.doc) == before) << id;
  }
  DocFixture f;
  test::MakeEditedHouse(*f.doc);
  const DocSnapshot before(*f.doc);
  EXPECT_EQ(test::ImportClientMulti(*f.doc, 2, 7, dir.File("nothing.idx"), mul).failure,
            LoadFailure::kFile);
  EXPECT_TRUE(DocSnapshot(*f.doc) == before);
  const LoadResult r = test::ImportClientMulti(*f.doc, 2, 6, idx, mul);
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.baseHeight, 6);
  EXPECT_EQ(f.doc->Width, 2);
  EXPECT_EQ(f.doc->Height, 3);
  EXPECT_EQ(f.doc->Tiles[1][0][2][1].Id, 6);
  EXPECT_EQ(f.doc->Tiles[1][0][2][1].Z, 4);
  EXPECT_FALSE(f.doc->Modified);
  EXPECT_FALSE(f.doc->CanUndo());
}

TEST(MultiImport, OlderClientsHaveTwelveByteRecords) {
  MultiFiles old, now;
  old.recordSize = 12;
  for (MultiFiles* f : {&old, &now}) {
    f->Add({});
    f->Add(kParts);
  }
  std::vector<MultiComponent> a, b;
  std::string error;
  std::istringstream oi(old.idx), om(old.mul), ni(now.idx), nm(now.mul);
  ASSERT_TRUE(ReadMultiComponents(oi, om, 1, &a, &error, kOldMultiRecordSize)) << error;
  ASSERT_TRUE(ReadMultiComponents(ni, nm, 1, &b, &error)) << error;
  EXPECT_EQ(a.size(), kParts.size());
  EXPECT_TRUE(SameParts(a, kParts));
  EXPECT_TRUE(SameParts(b, kParts));
  // Through the files, with the size given.
  test::TempDir dir;
  test::WriteFile(dir.File("multi.idx"), old.idx);
  test::WriteFile(dir.File("multi.mul"), old.mul);
  ASSERT_TRUE(ReadClientMulti(dir.File("multi.idx"), dir.File("multi.mul"), 12, 1, &a, &error))
      << error;
  EXPECT_TRUE(SameParts(a, kParts));
  int count = 0;
  ASSERT_TRUE(CountClientMultis(dir.File("multi.idx"), dir.File("multi.mul"), 12, &count, &error));
  EXPECT_EQ(count, 1);
}

TEST(MultiPayload, ComponentsWithAndWithoutFurtherWords) {
  std::vector<MultiComponent> out;
  std::string error;
  for (uint32_t extra : {0u, 1u, 3u}) {
    std::vector<uint8_t> p = Payload(1, kParts, extra);
    p.push_back(0xAB);  // bytes after the last component are not read
    ASSERT_TRUE(ParseMultiPayload(p.data(), p.size(), &out, &error)) << error;
    EXPECT_TRUE(SameParts(out, kParts)) << extra;
  }
  // Cut short, anywhere: a message and nothing read.
  const std::vector<uint8_t> whole = Payload(1, kParts, 2);
  for (size_t n = 0; n < whole.size(); ++n) {
    EXPECT_FALSE(ParseMultiPayload(whole.data(), n, &out, &error)) << n;
    EXPECT_TRUE(out.empty());
    EXPECT_FALSE(error.empty());
  }
  std::vector<uint8_t> p = Payload(1, {});
  EXPECT_FALSE(ParseMultiPayload(p.data(), p.size(), &out, &error));
  EXPECT_NE(error.find("no components"), std::string::npos);
  // Counts larger than the data, with and without further words.
  p = Payload(1, kParts);
  p[4] = p[5] = p[6] = p[7] = 0xFF;
  EXPECT_FALSE(ParseMultiPayload(p.data(), p.size(), &out, &error));
  p = Payload(1, kParts, 1);
  p[8 + 10] = p[8 + 11] = p[8 + 12] = p[8 + 13] = 0xFF;
  EXPECT_FALSE(ParseMultiPayload(p.data(), p.size(), &out, &error));
  EXPECT_NE(error.find("cut short"), std::string::npos);
}

class MultiContainer : public ::testing::Test {
 protected:
  void SetUp() override {
    std::vector<demo::PackedFile> files = {
        {MultiName(2), Payload(2, kParts, 1), true},
        {},
        {MultiName(3), Payload(3, {{5, 0, 0, 0}, {6, 1, 2, 10}}), true},
        {"build/multicollection/housing.bin", std::vector<uint8_t>(40, 0xEE), true},
        {MultiName(4), std::vector<uint8_t>(kMaxMultiPayload + 1, 0), true},  // a zlib bomb
        {MultiName(5), Payload(5, {}), true},
        {MultiName(6), Payload(6, {{5, 0, 0, 0}, {6, 40, 0, 0}})}};  // stored as it is
    image = demo::BuildPackedContainer(files);
    path = dir.File("MultiCollection.uop");
    WriteBytes(path, image.bytes);
  }
  test::TempDir dir;
  demo::PackedImage image;
  std::string path;
};

TEST_F(MultiContainer, ReadsMultisByIdAndRefusesBrokenOnes) {
  std::string error;
  auto c = PackedContainer::Open(path, &error);
  ASSERT_TRUE(c) << error;
  std::vector<MultiComponent> out;
  ASSERT_TRUE(ReadContainerMulti(*c, 2, &out, &error)) << error;
  EXPECT_TRUE(SameParts(out, kParts));
  ASSERT_TRUE(ReadContainerMulti(*c, 6, &out, &error)) << error;
  EXPECT_EQ(out.size(), 2u);
  for (int id : {0, 1, 4, 5, 7, -1, 1 << 30}) {
    EXPECT_FALSE(ReadContainerMulti(*c, id, &out, &error)) << id;
    EXPECT_TRUE(out.empty());
    EXPECT_NE(error.find("multi " + std::to_string(id)), std::string::npos) << error;
  }
  // The housing entry is no multi and is not counted.
  int count = 0;
  ASSERT_TRUE(CountClientMultis("", path, 16, &count, &error)) << error;
  EXPECT_EQ(count, 5);
}

TEST_F(MultiContainer, ImportReplacesTheDocumentOrLeavesItAlone) {
  for (int id : {1, 4, 5, 6}) {
    DocFixture f;
    test::MakeEditedHouse(*f.doc);
    const DocSnapshot before(*f.doc);
    const LoadResult r = test::ImportClientMulti(*f.doc, id, 7, "", path);
    EXPECT_FALSE(r.ok) << id;
    EXPECT_EQ(r.failure, LoadFailure::kFormat) << id;
    EXPECT_FALSE(r.error.empty());
    EXPECT_TRUE(DocSnapshot(*f.doc) == before) << id;
  }
  DocFixture f;
  test::MakeEditedHouse(*f.doc);
  const DocSnapshot before(*f.doc);
  EXPECT_EQ(test::ImportClientMulti(*f.doc, 3, 7, "", dir.File("missing.uop")).failure,
            LoadFailure::kFile);
  // A damaged container: the reason, and the house as it was.
  std::vector<uint8_t> loop = image.bytes;
  loop[image.tables[0] + 4] = uint8_t(image.tables[0]);
  WriteBytes(dir.File("loop.uop"), loop);
  const LoadResult damaged = test::ImportClientMulti(*f.doc, 3, 7, "", dir.File("loop.uop"));
  EXPECT_EQ(damaged.failure, LoadFailure::kFormat);
  EXPECT_NE(damaged.error.find("loops"), std::string::npos) << damaged.error;
  EXPECT_TRUE(DocSnapshot(*f.doc) == before);

  // The index path is not needed; the record size does not matter.
  const LoadResult r = test::ImportClientMulti(*f.doc, 3, 6, dir.File("nothing.idx"), path, 12);
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(f.doc->Width, 2);
  EXPECT_EQ(f.doc->Height, 3);
  EXPECT_EQ(f.doc->Tiles[1][0][2][1].Id, 6);
  EXPECT_EQ(f.doc->Tiles[1][0][2][1].Z, 4);
  EXPECT_FALSE(f.doc->Modified);
}

TEST(MultiMenu, BaseHeightsFollowTheTags) {
  ASSERT_EQ(kImportMultiMenuCount, 20u);
  int small = 0;
  for (const MultiMenuItem& item : kImportMultiMenu) {
    EXPECT_EQ(item.baseHeight, MultiBaseHeight(item.tag)) << item.caption;
    small += item.smallHouse;
  }
  EXPECT_EQ(small, 6);
  EXPECT_EQ(MultiBaseHeight(150), 4);
  EXPECT_EQ(MultiBaseHeight(154), 8);
  EXPECT_EQ(MultiBaseHeight(158), 5);
  EXPECT_EQ(MultiBaseHeight(156), 6);
  EXPECT_EQ(MultiBaseHeight(999), 7);
}

}  // namespace
}  // namespace tavi
