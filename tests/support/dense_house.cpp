#include "support/dense_house.h"

#include <stdexcept>

#include "support/demo_client.h"

namespace tavi::test {

DenseHouse::DenseHouse(int side) {
  const std::string& dir = DemoClientDir();
  data = TUOTileData::Create(dir + "/artidx.mul", dir + "/tiledata.mul", dir + "/art.mul");
  if (!data) throw std::runtime_error("the demo client's tile data could not be read from " + dir);
  for (uint32_t id = 1; id < 0x4000; ++id) {
    const auto i = uint16_t(id);
    if (!data->HasArt(kItemArtBase + id)) continue;
    const int h = data->TileHeight(i);
    if (data->Lights[id].Kind != 0)
      lights.push_back(i);
    else if (h == 0 && data->IsBackground(i))
      floors.push_back(i);
    else if (h == 20 && (data->Category(i) & kCatPart))
      walls.push_back(i);
    else if (h > 0 && h < 16)
      things.push_back(i);
  }
  if (floors.empty() || walls.empty() || things.empty())
    throw std::runtime_error("the demo client lacks floors, walls or things for a dense house");
  doc = std::make_unique<TTAVIDoc>(side, side, data.get(), &host);
  doc->Clear(false);
  auto put = [&](int f, int x, int y, uint16_t id, int z, uint16_t mark = 0) {
    const int l = doc->LayerCount[f][y][x];
    if (l >= kLayers) return;
    doc->Tiles[f][l][y][x] = TileEntry{int16_t(z), id, mark};
    doc->UpdateCell(x, y, f);
    ++entries;
  };
  for (int f = 0; f < kFloors; ++f)
    for (int y = 0; y < side; ++y)
      for (int x = 0; x < side; ++x) {
        put(f, x, y, floors[(x + y + f) % floors.size()], f == 0 ? 7 : 0);
        const bool wall = x == 0 || y == 0 || x % 4 == 0 || y % 4 == 0;
        if (wall && (x + y + f) % 7 != 3) {
          put(f, x, y, walls[(x * 3 + y + f) % walls.size()], 0, (x + y) % 11 == 0 ? 1 : 0);
        } else if ((x * 7 + y * 3 + f) % 5 != 0) {
          put(f, x, y, things[(x + y * 5 + f) % things.size()], 0);
          put(f, x, y, things[(x * 2 + y + f) % things.size()], 4);
          if ((x + y) % 3 == 0) put(f, x, y, things[(x + 2 * y) % things.size()], 9);
        } else if (!lights.empty()) {
          put(f, x, y, lights[(x + y + f) % lights.size()], 0);
        }
      }
  // A gap: layers above an empty entry are not drawn.
  if (side > 6 && doc->LayerCount[2][5][5] > 2) doc->Tiles[2][1][5][5].Id = 0;
  doc->UpdateAllCells();
  FillBackgroundMap(ground, 0, 1);
}

}  // namespace tavi::test
