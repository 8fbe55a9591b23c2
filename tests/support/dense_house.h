#pragma once
// A dense house over the demo client for the rendering tests: every floor
// covered, walls along the outline and every fourth line, things stacked in
// most rooms, a few lights, marks and a gap in some stacks, on a plot of any
// side up to 32. Throws std::runtime_error when the demo client cannot be
// written or read.
#include <memory>
#include <vector>

#include "client/tile_data.h"
#include "document/doc_host.h"
#include "document/house_document.h"
#include "settings/settings.h"

namespace tavi::test {

struct DenseHouse {
  std::unique_ptr<TUOTileData> data;
  PlainDocHost host;
  std::unique_ptr<TTAVIDoc> doc;
  TBackgroundMap ground{};
  std::vector<uint16_t> floors, walls, things, lights;
  int entries = 0;

  explicit DenseHouse(int side);
  bool Ok() const { return doc != nullptr; }
};

}  // namespace tavi::test
