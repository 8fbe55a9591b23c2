#include "support/fake_tiles.h"

#include "document/aos_tables.h"

namespace tavi::test {

void FakeTileFacts::UseDemoLikeTables() {
  for (int type = 0; type < kAosTypeCount; ++type)
    for (int row = 0; row < AosTableRows(type); ++row)
      for (int col = 0; col < kAosColumns; ++col) {
        const uint16_t id = ObjectTableAt(type, col, row);
        if (id == 0) continue;
        switch (type) {
          case kAosFloors:
            Floor(id);
            break;
          case kAosStairs:
          case kAosAutoStairs:
          case kAosRoofs:
            Height(id, 5);
            break;
          default:
            Height(id, 20);
            break;
        }
      }
  Floor(12788);
  BuildTileCategories([this](uint16_t id) { return int(height[id]); }, category.data());
}

}  // namespace tavi::test
