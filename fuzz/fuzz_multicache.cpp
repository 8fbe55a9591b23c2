// Multicache.dat text: the house list and the import of the first houses,
// stacked over the demo client's tile facts.
#include <cstdint>
#include <string_view>

#include "demo_tiles.h"
#include "io/comma_text.h"
#include "io/multi_cache.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tavi;
  const std::vector<std::string> lines =
      SplitLines(std::string_view(reinterpret_cast<const char*>(data), size));
  const std::vector<CachedHouse> houses = ListCachedHouses(lines);
  for (const CachedHouse& h : houses) (void)CachedHouseLabel(h);
  static auto image = NewHouseImage();
  std::string error;
  for (int n = 0; n < 3; ++n) BuildCacheImage(lines, n, &fuzz::DemoTiles(), *image, &error);
  return 0;
}
