// Clipboard house text: Base64 variant, size word, zlib stream and cell
// stream. The first byte picks whether the input is taken as text or as an
// unpacked cell stream; a house that decodes must survive a round trip.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "io/clip_text.h"

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
  if (size < 1) return 0;
  std::string error;
  if (data[0] & 1) {
    std::string name;
    const LoadResult r = ParseClipText(
        std::string(reinterpret_cast<const char*>(data + 1), size - 1), *image, &name);
    if (!r.ok) return 0;
  } else {
    if (DecodeCellStream(std::vector<uint8_t>(data + 1, data + size), *image, &error) < 0) return 0;
  }
  // Entries of the decoded house are all carried by the format, so a round
  // trip through the exporter must give the same tiles.
  std::vector<uint8_t> cells;
  if (!EncodeCellStream(*image, &cells, &error)) std::abort();
  if (DecodeCellStream(cells, *again, &error) != image->BaseHeight) std::abort();
  if (again->Width != image->Width || again->Height != image->Height) std::abort();
  return 0;
}
