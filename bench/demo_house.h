#pragma once
// Houses over the synthetic demo client for the benchmarks, written once per
// program by the demo client library into a temporary folder:
//   dense: a built 32 x 32 house, floors 0..4: a floor on every cell, walls
//          along every fifth line, two to four things stacked in the rooms
//          (about 20,000 entries)
//   worst: every layer of every cell of every floor of a 32 x 32 plot
//          (163,840 entries)
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "client/tile_data.h"
#include "document/doc_host.h"
#include "document/house_document.h"
#include "tools/demodata.h"

namespace tavi::bench {

// Items of a client by kind, to build houses from.
struct TilePools {
  std::vector<uint16_t> floors, walls, things;
  TilePools() = default;
  explicit TilePools(const TUOTileData& data) { Fill(data); }
  void Fill(const TUOTileData& data) {
    for (uint32_t id = 1; id < 0x4000; ++id) {
      const auto i = uint16_t(id);
      if (!data.HasArt(kItemArtBase + id)) continue;
      const int h = data.TileHeight(i);
      if (h == 0 && data.IsBackground(i))
        floors.push_back(i);
      else if (h == 20 && (data.Category(i) & kCatPart))
        walls.push_back(i);
      else if (h > 0 && h < 16)
        things.push_back(i);
    }
  }
  bool Ok() const { return !floors.empty() && !walls.empty() && !things.empty(); }
};

struct DemoClient : TilePools {
  std::string dir;
  std::unique_ptr<TUOTileData> data;

  DemoClient() {
    namespace fs = std::filesystem;
    const fs::path base =
        fs::temp_directory_path() / ("tavi-bench-client-" + std::to_string(::getpid()));
    fs::create_directories(base);
    std::string error;
    if (!demo::WriteDemoClient(base.string(), nullptr, &error)) return;
    dir = base.string();
    data = TUOTileData::Create(dir + "/artidx.mul", dir + "/tiledata.mul", dir + "/art.mul");
    Fill(*data);
  }
  ~DemoClient() {
    std::error_code ec;
    if (!dir.empty()) std::filesystem::remove_all(dir, ec);
  }
  bool Ok() const { return data && TilePools::Ok(); }

  static DemoClient& Get() {
    static DemoClient client;
    return client;
  }
};

// Returns the number of entries placed.
inline int BuildDenseHouse(TTAVIDoc& doc, const TilePools& d) {
  doc.SetSize(32, 32);
  doc.Clear(false);
  int n = 0;
  auto put = [&](int f, int x, int y, uint16_t id, int z) {
    const int l = doc.LayerCount[f][y][x];
    if (l >= kLayers) return;
    doc.Tiles[f][l][y][x] = TileEntry{int16_t(z), id, 0};
    doc.UpdateCell(x, y, f);
    ++n;
  };
  for (int f = 0; f < kFloors; ++f)
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) {
        put(f, x, y, d.floors[size_t(x + y + f) % d.floors.size()], f == 0 ? 7 : 0);
        const bool wall = x % 5 == 0 || y % 5 == 0;
        if (wall && (x + y) % 7 != 3) {
          put(f, x, y, d.walls[size_t(x * 3 + y + f) % d.walls.size()], 0);
          continue;
        }
        const int things = 2 + (x * 7 + y * 3 + f) % 5;
        for (int k = 0; k < things; ++k)
          put(f, x, y, d.things[size_t(x + y * 5 + f + 11 * k) % d.things.size()], 4 * k);
      }
  return n;
}

inline int BuildWorstHouse(TTAVIDoc& doc, const TilePools& d) {
  doc.SetSize(32, 32);
  for (int f = 0; f < kFloors; ++f)
    for (int l = 0; l < kLayers; ++l)
      for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
          const auto& pool = l == 0 ? d.floors : (l % 3 == 0 ? d.walls : d.things);
          doc.Tiles[f][l][y][x] =
              TileEntry{int16_t(l % 20), pool[size_t(x + y + l) % pool.size()], 0};
        }
  doc.UpdateAllCells();
  return kFloors * kLayers * 32 * 32;
}

}  // namespace tavi::bench
