#pragma once
// What the document needs to know about an item tile: its height, whether it is
// a background (floor) tile, and its customization category word. The client's
// tile data implements this; tests use a small fake.
#include <cstdint>

namespace tavi {

class ITileFacts {
 public:
  virtual ~ITileFacts() = default;
  // Item height in altitude units (tiledata byte 20).
  virtual uint8_t TileHeight(uint16_t id) const = 0;
  // Bit 0 of the tiledata flags word.
  virtual bool IsBackground(uint16_t id) const = 0;
  // Category word built from the customization-part tables (0 for ids >= 0x4000).
  virtual uint16_t Category(uint16_t id) const = 0;
};

// Category bits of the customization-part catalogue.
enum : uint16_t {
  kCatPart = 0x0001,       // counted in the price, kept by "Delete except", Parts Lock
  kCatWestLine = 0x0002,   // may stand on x = 0
  kCatNorthLine = 0x0004,  // may stand on y = 0
  kCatJoinEast = 0x0008,
  kCatJoinWest = 0x0010,
  kCatJoinSouth = 0x0020,
  kCatJoinNorth = 0x0040,
  kCatCarrySouth = 0x0080,  // carries the floor tile south of it on the floor above
  kCatCarryEast = 0x0100,   // carries the floor tile east of it on the floor above
  kCatFullHeight = 0x0200,  // carries the floor above
  kCatNeedsTall = 0x0400,
  kCatStairs = 0x0800,  // the cell above on the next floor must stay empty
  kCatFloorKind = 0x1000,
  kCatRoofKind = 0x2000,
};

}  // namespace tavi
