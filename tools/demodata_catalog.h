#pragma once
// What the demo client knows about each item id: height, flags, weight, name
// and the shape its picture is drawn in. Ids without an entry are blank
// records without art.
#include <cstdint>
#include <string>
#include <vector>

#include "tools/demodata_canvas.h"

namespace tavi::demo {

constexpr int kItemIds = 0x4000;

enum class Shape : uint8_t {
  kNone,
  kFloor,       // flat diamond
  kSwamp,       // flat diamond of swampy ground
  kWallX,       // slab along the cell's north edge (runs along x)
  kWallY,       // slab along the cell's west edge (runs along y)
  kPost,        // pillar in the north corner
  kCorner,      // both slabs, meeting in the north corner
  kBlock,       // a solid block over the whole cell
  kStep,        // a block with a stepped top, rising towards `dir`
  kStepCorner,  // a block whose upper quarter stands in corner `dir`
  kRoof,        // a roof piece, `variant` picks slope, ridge or cap
  kSign,
  kHanger,
  kChair,
  kTable,
  kChest,
  kBox,
  kCandle,
  kLantern,
  kBrazier,
  kLampPost,
};

// Directions of a slope or step: where it rises to.
enum Dir : uint8_t { kNorth = 1, kEast = 2, kSouth = 3, kWest = 4 };

// Window, door or plain front on a wall face.
enum Front : uint8_t { kPlain = 0, kWindow, kDoorway, kDoor };

struct Material {
  const char* name;
  Rgb colour;
  enum Pattern : uint8_t {
    kPlainWall,
    kBrick,
    kBlocks,
    kPlanks,
    kLogs,
    kTiles,
    kTimber,
    kThatch,
    kShingles
  } pattern;
};

const std::vector<Material>& Materials();

struct ItemFacts {
  Shape shape = Shape::kNone;
  uint8_t height = 0;
  uint64_t flags = 0;
  uint8_t weight = 0;
  std::string name;
  int material = 0;
  uint8_t front = kPlain;
  uint8_t dir = 0;
  uint8_t variant = 0;
};

// Flag bits written to the item records (bit 0 marks flat background tiles).
enum : uint64_t {
  kFlagBackground = 0x1,
  kFlagWall = 0x10,
  kFlagImpassable = 0x40,
  kFlagSurface = 0x200,
  kFlagClimbable = 0x400,
  kFlagWindow = 0x1000,
  kFlagLight = 0x800000,
  kFlagRoof = 0x10000000,
  kFlagDoor = 0x20000000,
};

// The catalogue of every item id 0 .. 0x3FFF; built once, the same on every run.
const std::vector<ItemFacts>& Catalog();

// Furniture ids written by the demo client.
constexpr uint16_t kChairId = 2894;
constexpr uint16_t kTableId = 2938;
constexpr uint16_t kChestId = 2475;
constexpr uint16_t kBoxId = 2473;
constexpr uint16_t kLampId = 0xA22;  // a light source of kind 1
constexpr uint16_t kFoundationFloorId = 12788;
constexpr uint16_t kFrontStepsId = 1873;

}  // namespace tavi::demo
