// The client's house cache: folder listing, the house list and the import.
#include <gtest/gtest.h>

#include "io/folder_list.h"
#include "io/multi_cache.h"
#include "io_test_util.h"

namespace tavi {
namespace {

using test::DocFixture;
using test::DocSnapshot;
namespace fs = std::filesystem;

// Two houses: the first spans x -5..5, y -6..6 with a stair tile 20 at z 0;
// the second is small and has tabs between its fields.
std::vector<std::string> CacheLines() {
  return {"version line, ignored", "1 2 4 4 5 6 7",       "20 0 -5 -6 0",
          "30, 0, 5, 6, 27",       "31 0 0 0 5",          "40 0 0 0 87",
          "something else",        "9\t1\t2\t4\t5\t6\t7", "50\t0\t3\t3\t7",
          "51\t0\t4\t3\t0"};
}

TEST(MultiCacheFolders, ListsEntriesWithoutDotsDownToTheCacheFile) {
  test::TempDir dir;
  const fs::path desk = dir.path / "Desktop";
  fs::create_directories(desk / "acct" / "Shard One" / "Hero");
  fs::create_directories(desk / "acct" / "Shard One" / "Alt");
  fs::create_directories(desk / "acct" / "old.shard");
  fs::create_directories(desk / "zeta");
  test::WriteFile((desk / "notes.txt").string(), "x");
  test::WriteFile((desk / "plainfile").string(), "x");
  std::string text;
  for (const std::string& line : CacheLines()) text += line + "\r\n";
  test::WriteFile((desk / "acct" / "Shard One" / "Hero" / "MULTICACHE.DAT").string(), text);
  EXPECT_EQ(DesktopFolder(dir.path.string()), (desk).string());
  EXPECT_EQ(ListAccounts(dir.path.string()),
            (std::vector<std::string>{"acct", "plainfile", "zeta"}));
  EXPECT_EQ(ListShards(dir.path.string(), "acct"), std::vector<std::string>{"Shard One"});
  EXPECT_EQ(ListCharacters(dir.path.string(), "acct", "Shard One"),
            (std::vector<std::string>{"Alt", "Hero"}));
  EXPECT_EQ(CacheFilePath(dir.path.string(), "acct", "Shard One", "Hero"),
            (desk / "acct" / "Shard One" / "Hero" / "MULTICACHE.DAT").string());
  EXPECT_EQ(CacheFilePath(dir.path.string(), "acct", "Shard One", "Alt"), "");
  std::string read;
  std::string error;
  ASSERT_TRUE(
      ReadCacheText(CacheFilePath(dir.path.string(), "acct", "Shard One", "Hero"), &read, &error));
  EXPECT_EQ(read, text);
  EXPECT_FALSE(ReadCacheText(dir.File("none.dat"), &read, &error));
  EXPECT_TRUE(ListAccounts(dir.File("missing")).empty());
  EXPECT_TRUE(ListShards(dir.path.string(), "nobody").empty());
  // The dialog tells a client without any cached house from one with some.
  EXPECT_TRUE(AnyCacheFile(dir.path.string()));
  fs::remove(desk / "acct" / "Shard One" / "Hero" / "MULTICACHE.DAT");
  EXPECT_FALSE(AnyCacheFile(dir.path.string()));
  EXPECT_FALSE(AnyCacheFile(dir.File("missing")));
}

TEST(MultiCacheList, ListsHousesAsTheDialogShowsThem) {
  const auto houses = ListCachedHouses(CacheLines());
  ASSERT_EQ(houses.size(), 2u);
  EXPECT_EQ(CachedHouseLabel(houses[0]), " 0: 11x13");
  EXPECT_EQ(CachedHouseLabel(houses[1]), " 1:  2x 1");
  EXPECT_EQ(houses[1].headerIndex, 1);
  // A house whose count is never reached is not listed; the next header starts afresh.
  const auto partial =
      ListCachedHouses({"v", "a b 3 d e f g", "1 0 0 0 0", "a b 1 d e f g", "1 0 9 9 0"});
  ASSERT_EQ(partial.size(), 1u);
  EXPECT_EQ(partial[0].headerIndex, 1);
  EXPECT_EQ(CachedHouseLabel(partial[0]), " 0:  1x 1");
}

TEST(MultiCacheImport, SplitsAtSevenAndPicksTheBaseHeight) {
  DocFixture f;
  test::MakeEditedHouse(*f.doc);
  const LoadResult r = ImportMultiCache(*f.doc, CacheLines(), 0);
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.baseHeight, 6);
  EXPECT_EQ(f.doc->BaseHeight(), 6);
  EXPECT_EQ(f.doc->Width, 11);
  EXPECT_EQ(f.doc->Height, 13);
  EXPECT_EQ(f.doc->Tiles[0][0][0][0].Id, 20);
  EXPECT_EQ(f.doc->Tiles[2][0][12][10].Id, 30);  // z 27: floor 2, Z 0
  EXPECT_EQ(f.doc->Tiles[2][0][12][10].Z, 0);
  EXPECT_EQ(f.doc->Tiles[0][0][6][5].Id, 31);  // z 5: floor 0
  EXPECT_EQ(f.doc->Tiles[0][0][6][5].Z, 5);
  EXPECT_EQ(f.doc->LayerCount[0][6][5], 1);  // z 87 would be floor 5: skipped
  EXPECT_FALSE(f.doc->Modified);
  EXPECT_FALSE(f.doc->CanUndo());

  const LoadResult second = ImportMultiCache(*f.doc, CacheLines(), 1);
  ASSERT_TRUE(second.ok) << second.error;
  EXPECT_EQ(second.baseHeight, 7);  // id 51 at z 0 is no reason for 6
  EXPECT_EQ(f.doc->Width, 2);
  EXPECT_EQ(f.doc->Tiles[1][0][0][0].Id, 50);
}

TEST(MultiCacheImport, OnlyKnownTileIdsStackAsFloorTiles) {
  DocFixture f;
  f.facts.Floor(5);
  // 65541 keeps the low 16 bits 5, a floor tile, but names no tile itself:
  // it goes above its equal like any other tile. -65531 likewise.
  const std::vector<std::string> lines = {
      "v", "a b 4 d e f g", "100 0 0 0 0", "65541 0 0 0 0", "-65531 0 0 0 0", "5 0 0 0 0"};
  ASSERT_TRUE(ImportMultiCache(*f.doc, lines, 0).ok);
  const uint16_t want[] = {5, 100, 5, 5};
  for (int l = 0; l < 4; ++l) EXPECT_EQ(f.doc->Tiles[0][l][0][0].Id, want[l]) << l;
  EXPECT_EQ(f.doc->LayerCount[0][0][0], 4);
}

// The cache's lines are walked in place: every kind of line end counts, the
// messages name the right line, and a header claiming more components than
// the file holds is refused before anything is read or reserved.
TEST(MultiCacheImport, LinesWalkedInPlaceKeepTheirNumbers) {
  DocFixture f;
  const std::string mixed = "v\r\na b 2 d e f g\r1 0 0 0 0\n2 0 1 1 0\r\n";
  ASSERT_EQ(ListCachedHouses(mixed).size(), 1u);
  EXPECT_EQ(CachedHouseLabel(ListCachedHouses(mixed)[0]), " 0:  2x 2");
  ASSERT_TRUE(ImportMultiCache(*f.doc, mixed, 0).ok);
  EXPECT_EQ(f.doc->Tiles[0][0][1][1].Id, 2);

  const std::unique_ptr<HouseImage> owned = NewHouseImage();
  HouseImage& image = *owned;
  std::string error;
  EXPECT_LT(BuildCacheImage("v\n\nx\na b 2 d e f g\n1 0 0 0 0\n2 0 1\n", 0, nullptr, image, &error),
            0);
  EXPECT_EQ(error, "line 6: a component needs 5 fields, it has 3");
  EXPECT_LT(BuildCacheImage("v\n\na b 2147483647 d e f g\n1 0 0 0 0\n", 0, nullptr, image, &error),
            0);
  EXPECT_EQ(error, "house 0 (line 3): its 2147483647 component lines run past the end");
}

TEST(MultiCacheImport, FailuresLeaveTheDocumentAndBaseHeightAlone) {
  std::vector<std::vector<std::string>> files = {
      {"v", "a b 3 d e f g", "1 0 0 0 0", "2 0 1 1 0"},   // runs past the end
      {"v", "a b 2 d e f g", "1 0 0 0 0", "2 0 1"},       // short component line
      {"v", "a b 2 d e f g", "1 0 0 0 0", "2 0 40 0 0"},  // 41 cells wide
      {"v", "a b 0 d e f g"},                             // no components
      {"v", "1 0 0 0 0"},                                 // no house at all
      {},
  };
  for (size_t i = 0; i < files.size(); ++i) {
    for (int house : {0, -1, 3}) {
      DocFixture f;
      test::MakeEditedHouse(*f.doc);
      f.doc->SetBaseHeight(3);
      const DocSnapshot before(*f.doc);
      const LoadResult r = ImportMultiCache(*f.doc, files[i], house);
      EXPECT_FALSE(r.ok) << i << " " << house;
      EXPECT_FALSE(r.error.empty());
      EXPECT_TRUE(DocSnapshot(*f.doc) == before) << i << " " << house;
      EXPECT_EQ(f.doc->BaseHeight(), 3);
    }
  }
}

}  // namespace
}  // namespace tavi
