// The demo client, written by the demo data library and by `tavi-cli
// demodata`: read back with small readers of its own that follow the client
// file layouts, and loaded by the editor's tile data.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "client/tile_data.h"
#include "document/aos_tables.h"
#include "support/cli_run.h"
#include "support/demo_client.h"
#include "support/scratch_dir.h"

namespace tavi {
namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> ReadAll(const fs::path& path) {
  std::ifstream f(path, std::ios::binary);
  std::ostringstream text;
  text << f.rdbuf();
  const std::string bytes = text.str();
  return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

uint32_t U16(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | (b[at + 1] << 8);
}
int32_t I32(const std::vector<uint8_t>& b, size_t at) {
  return int32_t(uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 |
                 uint32_t(b[at + 3]) << 24);
}
int16_t I16(const std::vector<uint8_t>& b, size_t at) {
  return int16_t(U16(b, at));
}

using test::RunCli;
using test::ScratchDir;

std::vector<std::string> FilesBelow(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& e : fs::recursive_directory_iterator(dir))
    names.push_back(fs::relative(e.path(), dir).string() + (e.is_directory() ? "/" : ""));
  std::sort(names.begin(), names.end());
  return names;
}

// The demo client every test here reads (a failure to write it fails the test).
#define DEMO_DIR() const fs::path demo(test::DemoClientDir())

// ---------------------------------------------------------------------------
// The command

TEST(DemoData, SameBytesOnEveryRunAndOneLinePerFile) {
  DEMO_DIR();
  ScratchDir again;
  const fs::path nested = again.path / "a" / "b";  // parents are created
  const test::CliRun run = RunCli({"demodata", nested.string()});
  ASSERT_EQ(run.code, 0) << run.err;
  const std::string& out = run.out;
  const auto files = FilesBelow(demo);
  ASSERT_EQ(files, FilesBelow(nested));
  int plain = 0;
  for (const std::string& f : files) {
    if (f.back() == '/') continue;
    ++plain;
    EXPECT_EQ(ReadAll(demo / f), ReadAll(nested / f)) << f;
  }
  EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), plain);
  EXPECT_NE(out.find("tiledata.mul"), std::string::npos);
}

TEST(DemoData, UsageAndWriteErrors) {
  test::CliRun run = RunCli({"demodata"});
  EXPECT_EQ(run.code, 2);
  EXPECT_FALSE(run.err.empty());

  // A folder that cannot be made: its parent is a plain file.
  ScratchDir scratch;
  std::ofstream(scratch.path / "plain") << "x";
  run = RunCli({"demodata", (scratch.path / "plain" / "client").string()});
  EXPECT_EQ(run.code, 1);
  EXPECT_EQ(test::LineCount(run.err), 1) << run.err;
}

// ---------------------------------------------------------------------------
// tiledata.mul

constexpr size_t kLandSection = 512 * (4 + 32 * 30);
constexpr size_t kItemBlock = 4 + 32 * 41;

size_t ItemRecord(uint32_t id) {
  return kLandSection + (id / 32) * kItemBlock + 4 + (id % 32) * 41;
}
std::string ItemName(const std::vector<uint8_t>& td, uint32_t id) {
  const char* p = reinterpret_cast<const char*>(&td[ItemRecord(id) + 21]);
  return std::string(p, strnlen(p, 20));
}

TEST(DemoData, TileDataRecords) {
  DEMO_DIR();
  const auto td = ReadAll(demo / "tiledata.mul");
  ASSERT_EQ(kLandSection, 493568u);
  ASSERT_EQ(td.size(), kLandSection + 512 * kItemBlock);  // items 0 .. 0x3FFF

  // Land records: 8-byte flags, texture, 20-byte name; grass has a name.
  const size_t grass = (3 / 32) * (4 + 32 * 30) + 4 + 3 * 30;
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&td[grass + 10])), "grass");

  const auto height = [&](uint32_t id) { return td[ItemRecord(id) + 20]; };
  const auto flags = [&](uint32_t id) { return td[ItemRecord(id)]; };
  EXPECT_EQ(height(10), 20);    // a full wall
  EXPECT_EQ(height(1849), 5);   // a step
  EXPECT_EQ(height(1657), 20);  // a door
  EXPECT_EQ(height(12788), 0);
  EXPECT_EQ(flags(12788) & 1, 1);  // floors are background tiles
  EXPECT_EQ(flags(10) & 1, 0);
  EXPECT_EQ(height(1873), 5);
  EXPECT_EQ(height(20), 6);  // low foundation style
  EXPECT_EQ(height(101), 7);
  EXPECT_EQ(ItemName(td, 2475), "chest");
  EXPECT_EQ(ItemName(td, 0), "");
  EXPECT_NE(ItemName(td, 10).find("wall"), std::string::npos);
  for (uint32_t id = 0; id < 0x4000; ++id) EXPECT_LE(ItemName(td, id).size(), 20u);

  // Short wall pieces exist, and every full-height wall is 20 high.
  std::set<int> wallHeights;
  for (int row = 0; row < AosTableRows(kAosWalls); ++row)
    if (uint16_t id = ObjectTableAt(kAosWalls, 0, row)) wallHeights.insert(height(id));
  EXPECT_TRUE(wallHeights.count(20) && wallHeights.count(10) && wallHeights.count(5));
}

// ---------------------------------------------------------------------------
// artidx.mul and art.mul, checked picture by picture

struct ArtCheck {
  bool land = false;
  int width = 0, height = 0;
  std::string fault;  // empty when the picture is well formed
};

// Reads one entry as the two encodings define it and reports the first fault.
ArtCheck CheckPicture(const std::vector<uint8_t>& art, int32_t offset, int32_t length) {
  ArtCheck c;
  if (offset < 0 || length <= 0 || size_t(offset) + size_t(length) > art.size()) {
    c.fault = "entry outside art.mul";
    return c;
  }
  const uint32_t probe = uint32_t(I32(art, size_t(offset)));
  if (probe == 0 || probe >= 0x10000) {
    c.land = true;
    c.width = c.height = 44;
    if (length != 2024) c.fault = "land tile of " + std::to_string(length) + " bytes";
    return c;
  }
  const size_t end = size_t(offset) + size_t(length);
  size_t p = size_t(offset) + 4;
  c.width = int(U16(art, p)), c.height = int(U16(art, p + 2));
  if (c.width < 1 || c.width > 1023 || c.height < 1 || c.height > 1023) {
    c.fault = "bad size";
    return c;
  }
  const size_t table = p + 4, data = table + 2 * size_t(c.height);
  size_t last = data;
  for (int r = 0; r < c.height; ++r) {
    size_t q = data + 2 * U16(art, table + 2 * size_t(r));
    int column = 0;
    for (;;) {
      if (q + 4 > end) {
        c.fault = "row " + std::to_string(r) + " runs past the entry";
        return c;
      }
      const int skip = int(U16(art, q)), run = int(U16(art, q + 2));
      q += 4;
      if (skip == 0 && run == 0) break;
      column += skip;
      if (column + run > c.width) {
        c.fault = "run past the width in row " + std::to_string(r);
        return c;
      }
      column += run;
      q += 2 * size_t(run);
    }
    last = std::max(last, q);
  }
  if (last != end) c.fault = "entry length differs from its runs";
  return c;
}

TEST(DemoData, EveryPictureIsWellFormed) {
  DEMO_DIR();
  const auto idx = ReadAll(demo / "artidx.mul");
  const auto art = ReadAll(demo / "art.mul");
  ASSERT_EQ(idx.size(), 0x8000u * 12);
  int land = 0, items = 0;
  for (uint32_t n = 0; n < 0x8000; ++n) {
    const int32_t offset = I32(idx, n * 12), length = I32(idx, n * 12 + 4);
    if (offset == -1) continue;
    const ArtCheck c = CheckPicture(art, offset, length);
    ASSERT_EQ(c.fault, "") << "picture " << n;
    // Land pictures stand below 0x4000 and items above, never the other way.
    ASSERT_EQ(c.land, n < 0x4000) << "picture " << n;
    if (!c.land) {
      EXPECT_EQ(c.width, 44) << n;
    }
    (c.land ? land : items)++;
  }
  EXPECT_EQ(land, 24);  // grass, sand, dirt, jungle, snow
  EXPECT_GT(items, 1500);
}

// ---------------------------------------------------------------------------
// The demo loaded by the editor's tile data

class DemoTiles : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const std::string& dir = test::DemoClientDir();
    if (!dir.empty())
      tiles_ = TUOTileData::Create(dir + "/artidx.mul", dir + "/tiledata.mul", dir + "/art.mul")
                   .release();
  }
  static void TearDownTestSuite() {
    delete tiles_;
    tiles_ = nullptr;
  }
  void SetUp() override { ASSERT_TRUE(tiles_) << "no demo client"; }
  static TUOTileData* tiles_;
};
TUOTileData* DemoTiles::tiles_ = nullptr;

TEST_F(DemoTiles, EveryPartHasArtAndAPlausibleHeight) {
  const TUOTileData& t = *tiles_;
  for (int type = 0; type < kAosTypeCount; ++type)
    for (int row = 0; row < AosTableRows(type); ++row)
      for (int c = 0; c < kAosColumns; ++c) {
        const uint16_t id = ObjectTableAt(type, c, row);
        if (!id) continue;
        ASSERT_TRUE(t.HasArt(kItemArtBase + id)) << "type " << type << " id " << id;
        const int h = t.TileHeight(id);
        switch (type) {
          case kAosFloors:
            EXPECT_TRUE(h == 0 && t.IsBackground(id)) << id;
            break;
          case kAosStairs:
          case kAosAutoStairs:
            EXPECT_EQ(h, 5) << id;
            break;
          case kAosRoofs:
            EXPECT_TRUE(h >= 3 && h <= 5) << id;
            break;
          case kAosDoors:
            EXPECT_EQ(h, 20) << id;
            break;
          default:
            EXPECT_TRUE(h <= 20) << id;
            break;
        }
        EXPECT_FALSE(t.ItemName(id).empty()) << id;
      }
  // Foundation, sign, hanger and post pieces and the furniture.
  for (uint16_t id : {20, 21, 22, 23,  189, 190, 191,  192,   765, 766, 767,  768,  65,   66,
                      67, 68, 99, 100, 101, 102, 1873, 12788, 9,   982, 2475, 2473, 2894, 2938})
    EXPECT_TRUE(t.HasArt(kItemArtBase + id)) << id;
  for (int id = 2968; id <= 3086; id += 2) EXPECT_TRUE(t.HasArt(kItemArtBase + id)) << id;
}

TEST_F(DemoTiles, CategoriesOfTypicalPieces) {
  const TUOTileData& t = *tiles_;
  EXPECT_EQ(t.Category(10), 0x02BD);    // tall wall along x
  EXPECT_EQ(t.Category(13), 0x036B);    // tall wall along y
  EXPECT_EQ(t.Category(1305), 0x1001);  // floor
  EXPECT_EQ(t.Category(1849), 0x1801);  // stairs
  EXPECT_EQ(t.Category(1473), 0x2001);  // roof
  // A short wall row yields the short words.
  bool sawShort = false;
  for (int row = 0; row < AosTableRows(kAosWalls) && !sawShort; ++row) {
    const uint16_t id = ObjectTableAt(kAosWalls, 0, row);
    if (id && t.TileHeight(id) == 10 && ObjectTableAt(kAosWalls, 0, row) != 0) {
      // Ids shared with later tables may carry another word; take a plain one.
      if (t.Category(id) == 0x003D) sawShort = true;
    }
  }
  EXPECT_TRUE(sawShort);
}

TEST_F(DemoTiles, GroundLightsAndPictures) {
  const TUOTileData& t = *tiles_;
  // Every ground the background map can hold, swamp items included.
  for (int id :
       {3, 4, 5, 6, 22, 25, 113, 120, 172, 175, 282, 285, 29238, 29259, 29260, 29261, 29290, 29295})
    EXPECT_TRUE(t.HasArt(uint32_t(id))) << id;
  ArtRGBA land;
  ASSERT_TRUE(t.LoadArtRGBA(3, &land));
  EXPECT_EQ(land.ArtWidth, 44);
  EXPECT_EQ(land.Pixels[(0 * 64 + 21) * 4 + 3], 255);  // row 0 covers columns 21 and 22
  EXPECT_EQ(land.Pixels[(0 * 64 + 20) * 4 + 3], 0);
  ArtRGBA swamp;
  ASSERT_TRUE(t.LoadArtRGBA(29240, &swamp));
  EXPECT_EQ(swamp.ArtWidth, 44);
  EXPECT_EQ(swamp.ArtHeight, 44);

  // The lamp is a light source with a picture taller than a floor tile.
  EXPECT_NE(t.Lights[0xA22].Kind, 0);
  ArtRGBA wall;
  ASSERT_TRUE(t.LoadArtRGBA(kItemArtBase + 10, &wall));
  EXPECT_EQ(wall.ArtHeight, 44 + 20 * 4);
  int lightsWithArt = 0, lights = 0;
  for (int id = 0; id < 0x4000; ++id)
    if (t.Lights[id].Kind) ++lights, lightsWithArt += t.HasArt(kItemArtBase + uint32_t(id));
  EXPECT_GT(lights, 0);
  EXPECT_EQ(lightsWithArt, lights);
}

// ---------------------------------------------------------------------------
// multi.idx / multi.mul

TEST(DemoData, MultisForEveryMenuHouse) {
  DEMO_DIR();
  const auto idx = ReadAll(demo / "multi.idx");
  const auto mul = ReadAll(demo / "multi.mul");
  const auto td = ReadAll(demo / "tiledata.mul");
  const auto artIdx = ReadAll(demo / "artidx.mul");
  ASSERT_EQ(idx.size() % 12, 0u);
  const std::set<int> tags = {100, 102, 104, 106, 108, 110, 116, 118, 120, 122,
                              124, 126, 140, 150, 152, 154, 156, 158, 160, 162};
  for (size_t m = 0; m * 12 < idx.size(); ++m) {
    const int32_t offset = I32(idx, m * 12), length = I32(idx, m * 12 + 4);
    if (!tags.count(int(m))) {
      EXPECT_TRUE(offset == -1 && length <= 0) << "multi " << m;
      continue;
    }
    ASSERT_GT(length, 0) << m;
    ASSERT_EQ(length % 16, 0) << m;
    ASSERT_LE(size_t(offset) + size_t(length), mul.size()) << m;
    int minX = 1 << 20, maxX = -minX, minY = minX, maxY = -minX, minZ = minX, maxZ = -minX;
    bool door = false, floor = false;
    for (int32_t at = offset; at < offset + length; at += 16) {
      const uint16_t id = uint16_t(U16(mul, size_t(at)));
      const int x = I16(mul, size_t(at) + 2), y = I16(mul, size_t(at) + 4),
                z = I16(mul, size_t(at) + 6);
      minX = std::min(minX, x), maxX = std::max(maxX, x);
      minY = std::min(minY, y), maxY = std::max(maxY, y);
      minZ = std::min(minZ, z), maxZ = std::max(maxZ, z);
      ASSERT_GT(id, 0);
      ASSERT_LT(id, 0x4000);
      EXPECT_GE(I32(artIdx, (0x4000u + id) * 12), 0) << "part " << id << " of multi " << m;
      door = door || (td[ItemRecord(id) + 3] & 0x20);  // door flag
      floor = floor || (td[ItemRecord(id)] & 1);
    }
    EXPECT_LE(maxX - minX + 1, 32) << m;
    EXPECT_LE(maxY - minY + 1, 32) << m;
    EXPECT_GE(minZ, -7) << m;
    EXPECT_LT(maxZ, 4 + 80) << m;  // stays below the fifth floor for every base height
    EXPECT_TRUE(door) << m;
    EXPECT_TRUE(floor) << m;
  }
}

// Lines of a house file written by an import: the header's fields and the entry count.
struct HouseFileSummary {
  int width = 0, height = 0, base = 0, entries = 0;
};
HouseFileSummary SummariseHouseFile(const fs::path& path) {
  HouseFileSummary s;
  std::ifstream in(path);
  std::string line;
  if (!std::getline(in, line)) return s;
  std::sscanf(line.c_str(), "\"TAVI File ver 1.00\",%d,%d,%d", &s.width, &s.height, &s.base);
  while (std::getline(in, line)) s.entries += !line.empty() && line != "\r";
  return s;
}

// Every standard house goes into the editor whole: no part falls off the plot,
// above the top floor or out of a full cell.
TEST(DemoData, EveryMultiImportsWhole) {
  DEMO_DIR();
  const auto idx = ReadAll(demo / "multi.idx");
  ScratchDir out;
  for (int tag : {100, 102, 104, 106, 108, 110, 116, 118, 120, 122,
                  124, 126, 140, 150, 152, 154, 156, 158, 160, 162}) {
    const fs::path tav = out.path / (std::to_string(tag) + ".tav");
    ASSERT_EQ(RunCli({"import-multi", "--id", std::to_string(tag), "--client", demo.string(),
                      "--out", tav})
                  .code,
              0)
        << tag;
    const HouseFileSummary s = SummariseHouseFile(tav);
    EXPECT_EQ(s.entries, I32(idx, size_t(tag) * 12 + 4) / 16) << tag;
    EXPECT_TRUE(s.width >= 2 && s.width <= 32 && s.height >= 2 && s.height <= 32) << tag;
  }
}

// ---------------------------------------------------------------------------
// desktop/<account>/<shard>/<character>/Multicache.dat

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> f;
  std::string cur;
  for (char ch : line) {
    if (ch == '\t') {
      f.push_back(cur);
      cur.clear();
    } else if (ch != '\r') {
      cur += ch;
    }
  }
  f.push_back(cur);
  return f;
}

// The cache tree as the import dialog walks it; each cached house also goes
// into the editor whole, on the low base height when it stands on the low
// foundation style.
TEST(DemoData, MultiCacheTree) {
  DEMO_DIR();
  const fs::path desktop = demo / "desktop";
  ScratchDir out;
  int caches = 0, houses = 0, foundationAtZero = 0, charactersWithoutCache = 0;
  for (const auto& account : fs::directory_iterator(desktop))
    for (const auto& shard : fs::directory_iterator(account.path()))
      for (const auto& character : fs::directory_iterator(shard.path())) {
        for (const fs::path& p : {account.path(), shard.path(), character.path()})
          EXPECT_EQ(p.filename().string().find('.'), std::string::npos) << p;
        const fs::path cache = character.path() / "Multicache.dat";
        if (!fs::exists(cache)) {
          ++charactersWithoutCache;
          continue;
        }
        ++caches;
        std::istringstream in(std::string([&] {
          auto b = ReadAll(cache);
          return std::string(b.begin(), b.end());
        }()));
        std::string line;
        std::getline(in, line);  // the first line is not a house
        for (int number = 0; std::getline(in, line); ++number) {
          const auto header = Fields(line);
          ASSERT_EQ(header.size(), 7u) << cache << ": " << line;
          const int n = std::stoi(header[2]);
          ASSERT_GT(n, 0);
          int minX = 1 << 20, maxX = -minX, minY = minX, maxY = -minX;
          bool lowFoundation = false;
          for (int i = 0; i < n; ++i) {
            ASSERT_TRUE(std::getline(in, line)) << cache << " ends inside a house";
            const auto f = Fields(line);
            ASSERT_EQ(f.size(), 5u) << line;
            const int id = std::stoi(f[0]), x = std::stoi(f[2]), y = std::stoi(f[3]),
                      z = std::stoi(f[4]);
            minX = std::min(minX, x), maxX = std::max(maxX, x);
            minY = std::min(minY, y), maxY = std::max(maxY, y);
            lowFoundation = lowFoundation || ((id == 20 || id == 189) && z == 0);
          }
          EXPECT_LE(maxX - minX + 1, 32);
          EXPECT_LE(maxY - minY + 1, 32);
          foundationAtZero += lowFoundation;
          ++houses;

          const fs::path tav = out.path / (std::to_string(houses) + ".tav");
          ASSERT_EQ(RunCli({"import-cache", cache, "--house", std::to_string(number), "--client",
                            demo.string(), "--out", tav})
                        .code,
                    0)
              << cache;
          const HouseFileSummary s = SummariseHouseFile(tav);
          EXPECT_EQ(s.entries, n) << cache << " house " << number;
          EXPECT_EQ(s.width, maxX - minX + 1);
          EXPECT_EQ(s.base, lowFoundation ? 6 : 7) << cache << " house " << number;
        }
      }
  EXPECT_GE(caches, 2);
  EXPECT_GE(houses, 3);
  EXPECT_GE(charactersWithoutCache, 1);
  EXPECT_GT(foundationAtZero, 0);  // one house stands on the low foundation style
  int accounts = 0;
  for (const auto& e : fs::directory_iterator(desktop)) accounts += e.is_directory();
  EXPECT_GE(accounts, 2);
}

}  // namespace
}  // namespace tavi
