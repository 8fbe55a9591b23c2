#include "client/background_map.h"

#include <iterator>
#include <random>

namespace tavi {

namespace {

// Land ids of a ground type, both ends included.
struct LandRange {
  uint16_t first, last;
};

}  // namespace

void FillBackgroundMap(TBackgroundMap& map, int bgType, uint32_t seed) {
  static const LandRange kPlain[] = {
      {3, 6},      // grass
      {22, 25},    // sand
      {113, 120},  // dirt
      {172, 175},  // jungle
      {282, 285},  // snow
  };
  const bool swamp = bgType == 5;
  if (!swamp && (bgType < 0 || bgType >= int(std::size(kPlain)))) return;

  std::mt19937 rng(seed);
  auto draw = [&rng](LandRange r) {
    return uint16_t(std::uniform_int_distribution<int>(r.first, r.last)(rng));
  };
  std::uniform_int_distribution<int> oneIn16(0, 15);
  for (auto& row : map) {
    for (uint16_t& cell : row) {
      if (!swamp) {
        cell = draw(kPlain[bgType]);
      } else if (oneIn16(rng) == 0) {
        // Swamp: now and then open water, now and then reeds, else marsh.
        cell = draw({29260, 29261});
      } else if (oneIn16(rng) == 0) {
        cell = draw({29238, 29259});
      } else {
        cell = draw({29290, 29295});
      }
    }
  }
}

}  // namespace tavi
