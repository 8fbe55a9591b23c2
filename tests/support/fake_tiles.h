#pragma once
// Tile facts for tests: every id has height 0 and no flags unless set; the
// category words can be built from the real part tables.
#include <array>
#include <cstdint>

#include "document/tile_facts.h"

namespace tavi::test {

class FakeTileFacts : public ITileFacts {
 public:
  std::array<uint8_t, 65536> height{};
  std::array<bool, 65536> background{};
  std::array<uint16_t, 0x4000> category{};

  uint8_t TileHeight(uint16_t id) const override { return height[id]; }
  bool IsBackground(uint16_t id) const override { return background[id]; }
  uint16_t Category(uint16_t id) const override { return id < 0x4000 ? category[id] : 0; }

  // A floor tile: height 0, background flag.
  FakeTileFacts& Floor(uint16_t id) {
    height[id] = 0;
    background[id] = true;
    return *this;
  }
  FakeTileFacts& Height(uint16_t id, uint8_t h) {
    height[id] = h;
    return *this;
  }
  FakeTileFacts& Cat(uint16_t id, uint16_t c) {
    category[id] = c;
    return *this;
  }
  // Heights of the demo client for the table ids (tall walls 20, floors 0 with
  // the background flag, stairs 5, roofs 5) and categories from the real tables.
  void UseDemoLikeTables();
};

}  // namespace tavi::test
