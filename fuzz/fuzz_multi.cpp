// multi.idx / multi.mul: the input is split into an index and a data file;
// the first two bytes pick the multi id (low 12 bits) and the base height (top
// 4 bits), the next two the index length. Components stack over the demo
// client's tile facts, so that floor tiles take their own rule.
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>

#include "client/multi_files.h"
#include "demo_tiles.h"
#include "io/multi_import.h"

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
  if (size < 4) return 0;
  const int id = data[0] | ((data[1] & 0x0F) << 8);
  const size_t idxLen = data[2] | (size_t(data[3]) << 8);
  const char* rest = reinterpret_cast<const char*>(data + 4);
  const size_t restLen = size - 4;
  const size_t cut = idxLen < restLen ? idxLen : restLen;
  std::istringstream idx(std::string(rest, cut)), mul(std::string(rest + cut, restLen - cut));
  std::vector<MultiComponent> parts;
  std::string error;
  if (!ReadMultiComponents(idx, mul, id, &parts, &error)) return 0;
  BuildMultiImage(parts, data[1] >> 4, &fuzz::DemoTiles(), *image, &error);
  return 0;
}
