// House file text loaded into the editor's document over the demo client's
// tile data, then priced, checked, turned into a scene and rendered.
#include <cstdint>
#include <string_view>

#include "io/house_file.h"
#include "loaded_house.h"

namespace {
fuzz::LoadedHouse* house = nullptr;
}  // namespace

// The demo client is written and loaded once, before the first input.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  house = new fuzz::LoadedHouse;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const tavi::LoadResult r = tavi::LoadFromText(*house->doc, text);
  if (!r.ok) return 0;
  house->Exercise(uint32_t(size));
  return 0;
}
