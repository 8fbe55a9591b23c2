#pragma once
// The demo client's houses: the standard houses of the Import Multi menu (as
// multi components) and a few customized houses for the multi caches.
#include <cstdint>
#include <string>
#include <vector>

namespace tavi::demo {

struct Component {
  uint16_t id;
  int16_t x, y, z;  // offsets from the house's origin; z is the altitude
};

struct StandardHouse {
  int multiId;
  int baseHeight;  // altitude of the ground floor
  std::vector<Component> parts;
};

// One multi per entry of the Import Multi menu, in menu order.
std::vector<StandardHouse> StandardHouses();

struct CachedHouse {
  std::string account, shard, character;
  std::vector<Component> parts;
};

// Customized houses as the client caches them, grouped by character.
std::vector<CachedHouse> CachedHouses();
// Character folders without a cache file (a character who never saw a house).
std::vector<CachedHouse> CharactersWithoutCache();

}  // namespace tavi::demo
