// House files: exact text, reading rules, round trips, and failures that must
// leave the document alone.
#include "io/house_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "io_test_util.h"

namespace tavi {
namespace {

using test::DocFixture;
using test::DocSnapshot;
using test::TempDir;

constexpr const char* kHeader88 = "\"TAVI File ver 1.00\",8,8,7\r\n";

TEST(HouseFile, WritesHeaderAndEntriesInFloorRowColumnLayerOrder) {
  DocFixture f(3, 2);
  auto& t = f.doc->Tiles;
  t[1][0][0][2] = {-3, 40000, 1};  // ids above 32767 are written negative
  t[0][1][1][0] = {4, 11, 0};      // a gap below layer 1 is not written
  t[0][0][0][1] = {0, 7, 0};
  t[0][3][0][1] = {20, 8, 0};
  t[0][0][5][5] = {0, 99, 0};  // outside the 3 x 2 plot
  f.doc->SetBaseHeight(9);
  EXPECT_EQ(HouseFileText(*f.doc),
            "\"TAVI File ver 1.00\",3,2,9\r\n"
            "0,1,0,0,7\r\n"
            "0,1,0,20,8\r\n"
            "0,0,1,4,11\r\n"
            "1,2,0,-3,-25536\r\n");
  DocFixture empty;
  EXPECT_EQ(HouseFileText(*empty.doc), kHeader88);
}

TEST(HouseFile, SaveAndLoadKeepEveryEntryAndCloseGaps) {
  TempDir dir;
  DocFixture f(31, 17);
  uint32_t seed = 12345;
  auto next = [&] { return seed = seed * 1103515245u + 12345u; };
  for (int i = 0; i < 3000; ++i) {
    const int fl = next() % 5, x = next() % 31, y = next() % 17, layer = next() % 32;
    f.doc->Tiles[fl][layer][y][x] = {int16_t(next() % 200 - 100), uint16_t(next() % 65535 + 1), 0};
  }
  f.doc->Modified = true;
  const std::string path = dir.File("house.tav");
  f.doc->SetBaseHeight(4);
  ASSERT_TRUE(SaveToFile(*f.doc, path).ok);
  EXPECT_FALSE(f.doc->Modified);

  DocFixture g;
  const LoadResult r = LoadFromFile(*g.doc, path);
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.baseHeight, 4);
  EXPECT_EQ(g.doc->Width, 31);
  EXPECT_EQ(g.doc->Height, 17);
  for (int fl = 0; fl < kFloors; ++fl)
    for (int y = 0; y < 17; ++y)
      for (int x = 0; x < 31; ++x) {
        std::vector<std::pair<int, int>> want, got;
        for (int l = 0; l < kLayers; ++l) {
          const TileEntry& a = f.doc->Tiles[fl][l][y][x];
          if (a.Id) want.emplace_back(a.Z, a.Id);
          const TileEntry& b = g.doc->Tiles[fl][l][y][x];
          if (l < int(want.size()) || b.Id) got.emplace_back(b.Z, b.Id);
        }
        ASSERT_EQ(got, want) << fl << " " << x << " " << y;
        ASSERT_EQ(g.doc->LayerCount[fl][y][x], int(want.size()));
      }
  // A second save writes the same bytes.
  EXPECT_EQ(g.doc->BaseHeight(), 4);
  EXPECT_EQ(HouseFileText(*g.doc), test::ReadFile(path));
}

TEST(HouseFile, ReadsLooseLinesAndStacksInLineOrder) {
  DocFixture f;
  const LoadResult r = LoadFromText(*f.doc,
                                    "\"TAVI File ver 1.00\",4,3,12,extra\n"
                                    "0, 3, 2, 7, 1234\r"
                                    "0,,2,4,7\r\n"   // empty field reads as 0
                                    "0,3,2,-1,55\n"  // stacked after the first
                                    "0,3,2,9\n"      // 4 fields: skipped
                                    "0,3,2,9,1,1\n"  // 6 fields: skipped
                                    "\n"
                                    "1,0,0,$10,0x20\n"
                                    "5,0,0,0,1\n"  // floor 5: skipped
                                    "0,4,0,0,1\n"  // outside the plot: skipped
                                    "-1,0,0,0,1\n"
                                    "0,0,0,70000,-1\n");  // low 16 bits
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.baseHeight, 12);
  EXPECT_EQ(ClampBaseHeight(r.baseHeight), 9);
  EXPECT_EQ(f.doc->BaseHeight(), 9);  // the house holds it clamped
  EXPECT_EQ(ClampBaseHeight(-4), 0);
  const auto& t = f.doc->Tiles;
  EXPECT_EQ(t[0][0][2][3].Id, 1234);
  EXPECT_EQ(t[0][1][2][3].Id, 55);
  EXPECT_EQ(t[0][1][2][3].Z, -1);
  EXPECT_EQ(t[0][0][2][0].Id, 7);
  EXPECT_EQ(t[0][0][2][0].Z, 4);
  EXPECT_EQ(t[1][0][0][0].Z, 16);
  EXPECT_EQ(t[1][0][0][0].Id, 32);
  EXPECT_EQ(t[0][0][0][0].Id, 65535);
  EXPECT_EQ(t[0][0][0][0].Z, int16_t(70000 & 0xFFFF));
  EXPECT_EQ(t[0][0][0][4].Id, 0);
  int total = 0;
  for (int fl = 0; fl < kFloors; ++fl)
    for (int y = 0; y < kGrid; ++y)
      for (int x = 0; x < kGrid; ++x) total += f.doc->LayerCount[fl][y][x];
  EXPECT_EQ(total, 5);
}

// A file cut in the middle of its last line loads, but says so: the last id
// may be shortened (1657 cut to 16). Every whole file ends its last line.
TEST(HouseFile, ALastLineWithoutItsEndWarnsTheFileMayBeCutShort) {
  DocFixture f;
  LoadResult r = LoadFromText(*f.doc, "\"TAVI File ver 1.00\",4,3,7\r\n0,1,1,0,16");
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.warning, kCutShortWarning);
  EXPECT_EQ(f.doc->Tiles[0][0][1][1].Id, 16);
  for (const char* whole :
       {"\"TAVI File ver 1.00\",4,3,7\r\n0,1,1,0,1657\r\n",
        "\"TAVI File ver 1.00\",4,3,7\n0,1,1,0,1657\n", "\"TAVI File ver 1.00\",4,3,7\r"}) {
    r = LoadFromText(*f.doc, whole);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.warning, "") << whole;
  }
}

TEST(HouseFile, KeepsTheFirst32EntriesOfACell) {
  std::string text = kHeader88;
  for (int i = 1; i <= 33; ++i)
    text += "2,1,1," + std::to_string(i) + "," + std::to_string(i) + "\r\n";
  DocFixture f;
  ASSERT_TRUE(LoadFromText(*f.doc, text).ok);
  EXPECT_EQ(f.doc->LayerCount[2][1][1], 32);
  EXPECT_EQ(f.doc->Tiles[2][31][1][1].Id, 32);
}

TEST(HouseFile, EveryFailedLoadLeavesTheDocumentAlone) {
  TempDir dir;
  const std::vector<std::string> bad = {
      "",
      "TAVI File ver 1.00,8,8,7\r\n0,1,1,0,5\r\n",  // unquoted version text
      "\"TAVI File ver 1.01\",8,8,7\r\n",
      "\"tavi file ver 1.00\",8,8,7\r\n",
      "\"TAVI File ver 1.00\",8,8\r\n",  // too few fields
      "\"TAVI File ver 1.00\",0,8,7\r\n",
      "\"TAVI File ver 1.00\",8,33,7\r\n",
      "\"TAVI File ver 1.00\",-8,8,7\r\n",
      "\"TAVI File ver 1.00\",8,8,-1\r\n0,1,1,0,5\r\n",
  };
  for (size_t i = 0; i < bad.size(); ++i) {
    DocFixture f;
    test::MakeEditedHouse(*f.doc);
    const DocSnapshot before(*f.doc);
    const std::string path = dir.File("bad" + std::to_string(i) + ".tav");
    test::WriteFile(path, bad[i]);
    const LoadResult r = LoadFromFile(*f.doc, path);
    EXPECT_FALSE(r.ok) << i;
    EXPECT_EQ(r.Code(), -1);
    EXPECT_FALSE(r.error.empty());
    EXPECT_TRUE(DocSnapshot(*f.doc) == before) << "case " << i;
    EXPECT_TRUE(f.doc->CanUndo());
  }
  DocFixture f;
  test::MakeEditedHouse(*f.doc);
  const DocSnapshot before(*f.doc);
  const LoadResult missing = LoadFromFile(*f.doc, dir.File("none.tav"));
  EXPECT_EQ(missing.failure, LoadFailure::kFile);
  EXPECT_TRUE(DocSnapshot(*f.doc) == before);
  test::WriteFile(dir.File("v.tav"), "\"TAVI File ver 2\",8,8,7\r\n");
  EXPECT_EQ(LoadFromFile(*f.doc, dir.File("v.tav")).failure, LoadFailure::kVersion);
}

TEST(HouseFile, SuccessfulLoadEmptiesTheUndoHistory) {
  DocFixture f;
  test::MakeEditedHouse(*f.doc);
  ASSERT_TRUE(LoadFromText(*f.doc, std::string(kHeader88) + "0,1,1,0,5\r\n").ok);
  EXPECT_FALSE(f.doc->CanUndo());
  EXPECT_FALSE(f.doc->Modified);
  EXPECT_EQ(f.doc->Tiles[0][0][1][1].Id, 5);
  EXPECT_EQ(f.doc->Tiles[0][0][0][0].Id, 0);  // the old foundation is gone
}

TEST(HouseFile, FailedSaveKeepsModifiedAndTheOldFile) {
  TempDir dir;
  DocFixture f;
  test::MakeEditedHouse(*f.doc);
  const std::string path = dir.File("keep.tav");
  test::WriteFile(path, "old contents");
  if (geteuid() != 0) {
    chmod(dir.path.c_str(), 0500);  // no new files in the folder
    const SaveResult r = SaveToFile(*f.doc, path);
    chmod(dir.path.c_str(), 0700);
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.error.empty());
    EXPECT_TRUE(f.doc->Modified);
    EXPECT_EQ(test::ReadFile(path), "old contents");
  }
  // A folder in the way of the target, and a folder that does not exist.
  std::filesystem::create_directory(dir.File("taken.tav"));
  std::filesystem::create_directory(dir.File("taken.tav/inside"));
  EXPECT_FALSE(SaveToFile(*f.doc, dir.File("taken.tav")).ok);
  EXPECT_FALSE(SaveToFile(*f.doc, dir.File("no/such/folder/x.tav")).ok);
  EXPECT_TRUE(f.doc->Modified);
  // A good save replaces the file and leaves no temporary file behind.
  ASSERT_TRUE(SaveToFile(*f.doc, path).ok);
  EXPECT_FALSE(f.doc->Modified);
  EXPECT_EQ(test::ReadFile(path).compare(0, 28, kHeader88), 0);
  int entries = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir.path)) entries += !e.path().empty();
  EXPECT_EQ(entries, 2);  // keep.tav and the folder
}

TEST(HouseFile, SavingThroughALinkReplacesTheLinkedFile) {
  TempDir dir;
  DocFixture f;
  test::WriteFile(dir.File("real.tav"), "old");
  std::filesystem::create_symlink("real.tav", dir.path / "link.tav");
  ASSERT_TRUE(SaveToFile(*f.doc, dir.File("link.tav")).ok);
  EXPECT_TRUE(std::filesystem::is_symlink(dir.path / "link.tav"));
  EXPECT_EQ(test::ReadFile(dir.File("real.tav")), kHeader88);
}

TEST(HouseFile, TitleUsesTheNameWithoutFolderOrExtension) {
  EXPECT_EQ(WindowTitleFor("/home/u/houses/Keep.v2.tav"), "Tavi Editor - Keep.v2");
  EXPECT_EQ(WindowTitleFor("C:\\houses\\tower.tav"), "Tavi Editor - tower");
  EXPECT_EQ(WindowTitleFor("C:tower"), "Tavi Editor - tower");
  EXPECT_EQ(WindowTitleFor("my.dir/house"), "Tavi Editor - house");
  EXPECT_EQ(WindowTitleFor(""), "Tavi Editor - ");
  EXPECT_EQ(HouseNameOf("a.b/c.tav"), "c");
}

}  // namespace
}  // namespace tavi
