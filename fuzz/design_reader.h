#pragma once
// The common check of the design reader targets: whatever a reader accepts
// is laid into a house (or refused with a message), and a house that was
// laid survives a round trip through the same format's writer and reader.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "demo_tiles.h"
#include "io/design_formats.h"

namespace fuzz {

struct DesignScratch {
  std::unique_ptr<tavi::HouseImage> image;
  const tavi::TUOTileData* tiles = nullptr;
};

// Set up once per process, from LLVMFuzzerInitialize.
inline DesignScratch& Scratch() {
  static DesignScratch s;
  return s;
}

inline void SetUpDesignScratch() {
  Scratch().image = tavi::NewHouseImage();
  Scratch().tiles = &DemoTiles();
}

inline void CheckDesignReader(tavi::DesignFormat format, const uint8_t* data, size_t size) {
  using namespace tavi;
  DesignScratch& s = Scratch();
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  DesignFile file;
  std::string error;
  if (!ReadDesign(format, bytes, "f", &file, &error)) {
    if (error.empty() || error.find('\n') != std::string::npos) std::abort();
    return;
  }
  for (const Design& d : file.designs) {
    if (!BuildDesignImage(d, 7, s.tiles, *s.image, &error)) continue;
    const Design out = DesignOfImage(*s.image);
    DesignFile back;
    if (!ReadDesign(format, WriteDesign(format, out), "g", &back, &error)) std::abort();
    if (back.designs.size() != 1 || back.designs[0].components.size() != out.components.size())
      std::abort();
  }
}

}  // namespace fuzz
