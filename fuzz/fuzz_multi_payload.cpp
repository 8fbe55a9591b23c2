// The inflated payload of a multi container entry: its components are read
// and laid into a house image; the first byte picks the base height.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "client/multi_files.h"
#include "io/multi_import.h"

namespace {
std::unique_ptr<tavi::HouseImage> image;
}  // namespace

// The house image (about 1 MB) is made once, before the first input.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  image = tavi::NewHouseImage();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tavi;
  if (size < 1) return 0;
  std::vector<MultiComponent> parts;
  std::string error;
  if (!ParseMultiPayload(data + 1, size - 1, &parts, &error)) return 0;
  BuildMultiImage(parts, data[0] % 10, nullptr, *image, &error);
  return 0;
}
