// House file text into a scratch house, then written back and read again:
// the second read must give the same house.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>

#include "io/house_file.h"

namespace {
std::unique_ptr<tavi::HouseImage> image, again;
}  // namespace

// The house images (about 1 MB each) are made once, before the first input.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  image = tavi::NewHouseImage();
  again = tavi::NewHouseImage();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tavi;
  const LoadResult r =
      ParseHouseFile(std::string_view(reinterpret_cast<const char*>(data), size), *image);
  if (!r.ok) return 0;
  const std::string text = HouseFileText(*image);
  const LoadResult r2 = ParseHouseFile(text, *again);
  if (!r2.ok || again->BaseHeight != image->BaseHeight || again->Width != image->Width ||
      again->Height != image->Height ||
      std::memcmp(again->Tiles, image->Tiles, sizeof(image->Tiles)) != 0)
    std::abort();
  return 0;
}
