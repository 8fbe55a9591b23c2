// Multicache.dat text: the house list and the import of the first houses,
// stacked over the demo client's tile facts.
#include <cstdint>
#include <memory>
#include <string_view>

#include "demo_tiles.h"
#include "io/comma_text.h"
#include "io/multi_cache.h"

namespace {
std::unique_ptr<tavi::HouseImage> image;
}  // namespace

// The house image (about 1 MB) is made once, before the first input.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  image = tavi::NewHouseImage();
  fuzz::DemoTiles();  // the demo client, written and loaded
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tavi;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::vector<CachedHouse> houses = ListCachedHouses(text);
  for (const CachedHouse& h : houses) (void)CachedHouseLabel(h);
  std::string error;
  for (int n = 0; n < 3; ++n) BuildCacheImage(text, n, &fuzz::DemoTiles(), *image, &error);
  return 0;
}
