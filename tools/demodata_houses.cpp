#include "tools/demodata_houses.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <set>

#include "document/aos_tables.h"
#include "tools/demodata_catalog.h"

namespace tavi::demo {

namespace {

bool IsMaterial(uint16_t id, const char* name) {
  return id && name && std::strcmp(Materials()[size_t(Catalog()[id].material)].name, name) == 0;
}

// First row of a table whose columns 0..last are all filled and whose first
// piece passes `ok`; -1 when none does.
template <typename Ok>
int FindRow(int type, int last, Ok ok) {
  for (int row = 0; row < AosTableRows(type); ++row) {
    bool full = true;
    for (int c = 0; c <= last; ++c) full = full && ObjectTableAt(type, c, row) != 0;
    if (full && ok(ObjectTableAt(type, 0, row))) return row;
  }
  return -1;
}

// A full-height row of the material, preferring one with windows.
int WallRow(const char* material) {
  const auto tall = [&](uint16_t id) {
    const ItemFacts& s = Catalog()[id];
    return IsMaterial(id, material) && s.height == 20 && s.shape == Shape::kWallX;
  };
  for (int pass = 0; pass < 2; ++pass)
    for (int row = 0; row < AosTableRows(kAosWalls); ++row) {
      bool same = true;  // every piece of the row drawn in the material
      for (int c = 0; c < 8; ++c)
        same = same && IsMaterial(ObjectTableAt(kAosWalls, c, row), material);
      const uint16_t window = ObjectTableAt(kAosWalls, 1, row);
      if (same && tall(ObjectTableAt(kAosWalls, 0, row)) &&
          (pass == 1 || Catalog()[window].front == kWindow) &&
          Catalog()[ObjectTableAt(kAosWalls, 7, row)].shape == Shape::kCorner)
        return row;
    }
  return std::max(0, FindRow(kAosWalls, 7, tall));
}

// A half-height row of the material for parapets and patio walls, else any.
int LowWallRow(const char* material) {
  // Best: every piece of the row half high in the material; then any row whose
  // run pieces are; then any half-high row at all.
  const auto half = [](uint16_t id) { return id && Catalog()[id].height == 10; };
  for (int pass = 0; pass < 3; ++pass)
    for (int row = 0; row < AosTableRows(kAosWalls); ++row) {
      bool ok = Catalog()[ObjectTableAt(kAosWalls, 0, row)].shape == Shape::kWallX;
      for (int c = 0; c < 8 && ok; ++c) {
        const uint16_t id = ObjectTableAt(kAosWalls, c, row);
        if (pass == 2)
          ok = id && (c != 0 || half(id));
        else if (pass == 1 && c == 7)
          ok = id != 0;
        else
          ok = IsMaterial(id, material) && half(id);
      }
      if (ok) return row;
    }
  return 0;
}

// Rows of the floors and roofs tables drawn in a material; the first row else.
int FloorRow(const char* material) {
  return std::max(0, FindRow(kAosFloors, 3, [&](uint16_t id) {
                    return IsMaterial(id, material) && Catalog()[id].shape == Shape::kFloor;
                  }));
}

int RoofRow(const char* material) {
  return std::max(0, FindRow(kAosRoofs, 7, [&](uint16_t id) { return IsMaterial(id, material); }));
}

int DoorRow() {
  return std::max(
      0, FindRow(kAosDoors, 0, [](uint16_t id) { return Catalog()[id].shape == Shape::kWallX; }));
}

struct Building {
  int x0 = 0, y0 = 0;  // north-west interior cell
  int w = 6, d = 6;    // interior cells
  int stories = 1;
  int wallRow = 0, floorRow = 0, roofRow = -1;  // roofRow -1: flat top with a parapet
  const char* wallMaterial = nullptr;
  bool groundFloor = true;  // lay floor tiles on the ground story
  bool upperFloors = true;  // lay floor tiles on the upper stories
  bool door = true;
  bool top = true;  // a roof or a flat top over the last story
};

class HouseBuilder {
 public:
  explicit HouseBuilder(int base) : base_(base) {}

  // Adds a part; the same piece at the same place is only added once.
  void Add(uint16_t id, int x, int y, int z) {
    if (id && placed_.insert({id, x, y, z}).second)
      parts_.push_back({id, int16_t(x), int16_t(y), int16_t(z)});
  }

  // Foundation blocks under the outline of a rectangle whose top is the base.
  void Plinth(int x0, int y0, int x1, int y1) {
    const bool low = base_ <= 6;
    const uint16_t cornerNW = low ? 23 : 102, edgeWE = low ? 21 : 100, edgeNS = low ? 22 : 99,
                   cornerSE = low ? 20 : 101;
    const int z = base_ - (low ? 6 : 7);
    for (int x = x0; x <= x1; ++x)
      for (int y = y0; y <= y1; ++y) {
        const bool west = x == x0, north = y == y0, east = x == x1, south = y == y1;
        if (!(west || north || east || south)) continue;
        uint16_t id = edgeNS;
        if (west && north)
          id = cornerNW;
        else if (east && south)
          id = cornerSE;
        else if (west || east)
          id = edgeWE;
        Add(id, x, y, z);
      }
  }

  void Steps(int x, int y) { Add(kFrontStepsId, x, y, base_ - 5); }

  void FloorArea(int x0, int y0, int x1, int y1, int floorRow, int z) {
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x)
        Add(ObjectTableAt(kAosFloors, (x * 3 + y * 5) % 4, floorRow), x, y, z);
  }

  // Walls around the interior x0..x0+w-1, y0..y0+d-1 at altitude z: runs on
  // the north and west edges of the interior cells, closing runs one cell
  // beyond the east and south sides, a post at the south-east corner.
  void WallRing(const Building& b, int z, bool withDoor, int row) {
    const int x1 = b.x0 + b.w, y1 = b.y0 + b.d;
    const auto wall = [&](int c) { return ObjectTableAt(kAosWalls, c, row); };
    // A corner or post that does not match the run (ids shared with other
    // rows) is replaced by the two run pieces, or left out.
    const auto matches = [&](int c) {
      const ItemFacts &piece = Catalog()[wall(c)], &run = Catalog()[wall(0)];
      return piece.height == run.height && piece.material == run.material;
    };
    if (matches(7)) {
      Add(wall(7), b.x0, b.y0, z);
    } else {
      Add(wall(0), b.x0, b.y0, z);
      Add(wall(4), b.x0, b.y0, z);
    }
    for (int x = b.x0 + 1; x < x1; ++x) Add(wall((x - b.x0) % 3 == 2 ? 1 : 0), x, b.y0, z);
    for (int y = b.y0 + 1; y < y1; ++y) Add(wall((y - b.y0) % 3 == 2 ? 5 : 4), b.x0, y, z);
    for (int y = b.y0; y < y1; ++y) Add(wall((y - b.y0) % 3 == 1 ? 5 : 4), x1, y, z);
    const int doorX = b.x0 + b.w / 2;
    for (int x = b.x0; x < x1; ++x) {
      if (withDoor && x == doorX) {
        Add(ObjectTableAt(kAosDoors, 0, DoorRow()), x, y1, z);
        continue;
      }
      Add(wall((x - b.x0) % 3 == 1 ? 1 : 0), x, y1, z);
    }
    if (matches(3)) Add(wall(3), x1, y1, z);
  }

  // Steps climbing north along column x from row yStart, from altitude z to z + 20.
  void Staircase(int x, int yStart, int z, int stairRow) {
    for (int j = 0; j < 4; ++j) {
      for (int i = 0; i < j; ++i)
        Add(ObjectTableAt(kAosStairs, 0, stairRow), x, yStart - j, z + 5 * i);
      Add(ObjectTableAt(kAosStairs, 1, stairRow), x, yStart - j, z + 5 * j);
    }
  }

  // A hipped roof over the interior: every cell slopes up from its nearest
  // eave, cells on the diagonals take corner pieces. An odd width or depth
  // gets one more column or row of overhang, so that opposite slopes always
  // meet in a ridge line and never need a ridge piece.
  void HipRoof(const Building& b, int z) {
    const auto roof = [&](int c) { return ObjectTableAt(kAosRoofs, c, b.roofRow); };
    const int W = b.w + (b.w & 1), D = b.d + (b.d & 1);
    for (int y = 0; y < D; ++y)
      for (int x = 0; x < W; ++x) {
        const int north = y, south = D - 1 - y, west = x, east = W - 1 - x;
        const int ring = std::min(std::min(north, south), std::min(west, east));
        int piece;
        if (north == ring && west == ring)
          piece = 4;
        else if (north == ring && east == ring)
          piece = 5;
        else if (south == ring && east == ring)
          piece = 6;
        else if (south == ring && west == ring)
          piece = 7;
        else if (north == ring)
          piece = 2;  // rises to the south
        else if (south == ring)
          piece = 0;  // rises to the north
        else if (west == ring)
          piece = 1;  // rises to the east
        else
          piece = 3;  // rises to the west
        Add(roof(piece), b.x0 + x, b.y0 + y, z + 3 * ring);
      }
  }

  void Build(const Building& b) {
    const int stairRow = 0;
    for (int s = 0; s < b.stories; ++s) {
      const int z = base_ + 20 * s;
      if (s == 0 ? b.groundFloor : b.upperFloors) {
        for (int y = b.y0; y < b.y0 + b.d; ++y)
          for (int x = b.x0; x < b.x0 + b.w; ++x) {
            const int sx = s % 2 ? b.x0 + b.w - 2 : b.x0 + 1;  // stairs of the story below
            if (s > 0 && b.upperFloors && x == sx && y >= b.y0 + b.d - 5 && y <= b.y0 + b.d - 2)
              continue;
            Add(ObjectTableAt(kAosFloors, (x * 3 + y * 5) % 4, b.floorRow), x, y, z);
          }
      }
      if (s > 0 && b.upperFloors && b.d >= 6) {
        const int sx = s % 2 ? b.x0 + b.w - 2 : b.x0 + 1;
        Staircase(sx, b.y0 + b.d - 2, z - 20, stairRow);
      }
      WallRing(b, z, s == 0 && b.door, b.wallRow);
    }
    const int top = base_ + 20 * b.stories;
    if (!b.top) return;
    if (b.roofRow >= 0) {
      HipRoof(b, top);
    } else {
      FloorArea(b.x0, b.y0, b.x0 + b.w - 1, b.y0 + b.d - 1, b.floorRow, top);
      Building parapet = b;
      WallRing(parapet, top, false, LowWallRow(b.wallMaterial));
    }
  }

  // Shifts the parts so that the origin lies in the middle of the footprint.
  std::vector<Component> Centred() const {
    if (parts_.empty()) return parts_;
    int minX = parts_[0].x, maxX = minX, minY = parts_[0].y, maxY = minY;
    for (const Component& c : parts_) {
      minX = std::min<int>(minX, c.x), maxX = std::max<int>(maxX, c.x);
      minY = std::min<int>(minY, c.y), maxY = std::max<int>(maxY, c.y);
    }
    const int cx = (minX + maxX + 1) / 2, cy = (minY + maxY + 1) / 2;
    std::vector<Component> out = parts_;
    for (Component& c : out) c.x = int16_t(c.x - cx), c.y = int16_t(c.y - cy);
    return out;
  }

 private:
  int base_;
  std::vector<Component> parts_;
  std::set<std::array<int, 4>> placed_;
};

struct HousePlan {
  int multiId, base, w, d, stories;
  const char* wall;
  const char* floor;
  const char* roof;  // nullptr: flat top
  int patio;         // rows of patio in front of the house
};

std::vector<Component> PlainHouse(const HousePlan& plan) {
  HouseBuilder h(plan.base);
  Building b;
  b.x0 = 0, b.y0 = 0, b.w = plan.w, b.d = plan.d, b.stories = plan.stories;
  b.wallRow = WallRow(plan.wall);
  b.wallMaterial = plan.wall;
  b.floorRow = FloorRow(plan.floor);
  b.roofRow = plan.roof ? RoofRow(plan.roof) : -1;
  const int south = plan.d + plan.patio;
  h.Plinth(0, 0, plan.w, south);
  if (plan.patio > 0) {
    h.FloorArea(0, plan.d, plan.w - 1, south - 1, FloorRow("marble"), plan.base);
    const int low = LowWallRow(plan.wall);
    for (int x = 0; x < plan.w; ++x)
      if (x != plan.w / 2) h.Add(ObjectTableAt(kAosWalls, 0, low), x, south, plan.base);
    for (int y = plan.d + 1; y < south; ++y) {
      h.Add(ObjectTableAt(kAosWalls, 4, low), 0, y, plan.base);
      h.Add(ObjectTableAt(kAosWalls, 4, low), plan.w, y, plan.base);
    }
  }
  h.Build(b);
  h.Steps(plan.w / 2, south + 1);
  return h.Centred();
}

std::vector<Component> Castle(int base) {
  HouseBuilder h(base);
  // The curtain wall: two stories of stone around a cobbled yard.
  Building ring;
  ring.x0 = 0, ring.y0 = 0, ring.w = 29, ring.d = 28, ring.stories = 2;
  ring.wallRow = WallRow("stone");
  ring.wallMaterial = "stone";
  ring.floorRow = FloorRow("fieldstone");
  ring.upperFloors = false;
  ring.top = false;
  h.Plinth(0, 0, ring.w, ring.d);
  h.Build(ring);
  // The keep inside, three stories.
  Building keep;
  keep.x0 = 9, keep.y0 = 3, keep.w = 11, keep.d = 10, keep.stories = 3;
  keep.wallRow = WallRow("dark stone");
  keep.wallMaterial = "dark stone";
  keep.floorRow = FloorRow("wooden");
  h.Build(keep);
  // Towers on the four corners, a story above the curtain wall.
  const std::pair<int, int> corners[] = {
      {0, 0}, {ring.w - 5, 0}, {0, ring.d - 5}, {ring.w - 5, ring.d - 5}};
  for (const auto& [tx, ty] : corners) {
    Building tower;
    tower.x0 = tx, tower.y0 = ty, tower.w = 5, tower.d = 5, tower.stories = 3;
    tower.wallRow = ring.wallRow;
    tower.wallMaterial = "stone";
    tower.floorRow = ring.floorRow;
    tower.door = false;
    h.Build(tower);
  }
  h.Steps(ring.w / 2, ring.d + 1);
  return h.Centred();
}

}  // namespace

std::vector<StandardHouse> StandardHouses() {
  static const HousePlan plans[] = {
      {100, 7, 6, 6, 1, "plaster", "wooden", "clay", 0},
      {102, 7, 6, 6, 1, "fieldstone", "stone", "slate", 0},
      {104, 7, 6, 6, 1, "brick", "wooden", "clay", 0},
      {106, 7, 6, 6, 1, "wooden", "wooden", "wooden", 0},
      {108, 7, 6, 6, 1, "timber", "wooden", "clay", 0},
      {110, 7, 6, 6, 1, "plaster", "wooden", "straw", 0},
      {116, 7, 10, 10, 1, "brick", "wooden", "slate", 0},
      {118, 7, 10, 10, 2, "timber", "wooden", "clay", 0},
      {120, 7, 10, 10, 2, "plaster", "stone", "slate", 0},
      {122, 6, 14, 14, 3, "stone", "stone", nullptr, 0},
      {124, 6, 20, 20, 2, "dark stone", "stone", nullptr, 0},
      {126, 6, 0, 0, 0, nullptr, nullptr, nullptr, 0},  // the castle, built apart
      {140, 7, 12, 8, 2, "brick", "wooden", "clay", 6},
      {150, 4, 12, 10, 1, "marble", "marble", nullptr, 6},
      {152, 6, 6, 6, 2, "stone", "stone", nullptr, 0},
      {154, 8, 8, 7, 1, "log", "wooden", "wooden", 0},
      {156, 6, 8, 7, 1, "sandstone", "sandstone", nullptr, 4},
      {158, 5, 11, 10, 2, "whitewash", "marble", "clay", 0},
      {160, 7, 7, 6, 1, "stone", "wooden", "slate", 0},
      {162, 4, 7, 6, 1, "marble", "marble", nullptr, 0},
  };
  std::vector<StandardHouse> out;
  for (const HousePlan& p : plans)
    out.push_back({p.multiId, p.base, p.multiId == 126 ? Castle(p.base) : PlainHouse(p)});
  return out;
}

namespace {

// A customized house on its foundation: plot W x H (the steps row included),
// outline tiles at altitude 0, the foundation floor on top, then the building.
std::vector<Component> CustomHouse(int W, int H, int style, int stories, const char* wall,
                                   const char* roof) {
  static const uint16_t styles[5][4] = {
      {20, 22, 21, 23},
      {189, 191, 190, 192},
      {765, 766, 767, 768},
      {65, 66, 67, 68},
      {101, 99, 100, 102}};  // south-east corner, north/south edge, west/east edge, north-west
  const uint16_t* s = styles[style];
  const int height = (s[0] == 20 || s[0] == 189) ? 6 : 7;
  HouseBuilder h(7);
  h.Add(s[3], 0, 0, 0);
  for (int y = 1; y <= H - 2; ++y) h.Add(s[2], 0, y, 0);
  for (int x = 1; x <= W - 3; ++x) h.Add(s[1], x, H - 2, 0);
  h.Add(s[0], W - 2, H - 2, 0);
  for (int y = 1; y <= H - 3; ++y) h.Add(s[2], W - 2, y, 0);
  for (int x = 1; x <= W - 2; ++x) h.Add(s[1], x, 0, 0);
  for (int y = 1; y <= H - 2; ++y)
    for (int x = 1; x <= W - 2; ++x) h.Add(kFoundationFloorId, x, y, height);
  for (int x = 1; x <= W - 2; ++x) h.Add(kFrontStepsId, x, H - 1, 0);
  h.Add(9, 0, H - 2, height);
  h.Add(3026, 0, H - 1, height);
  h.Add(2970, 0, H - 1, height);
  Building b;
  b.x0 = 1, b.y0 = 1, b.w = W - 3, b.d = H - 3, b.stories = stories;
  b.wallRow = WallRow(wall);
  b.wallMaterial = wall;
  b.floorRow = FloorRow("wooden");
  b.roofRow = roof ? RoofRow(roof) : -1;
  b.groundFloor = false;  // the foundation floor is the ground floor
  h.Build(b);
  // Some furniture inside.
  h.Add(kTableId, 3, 3, 7);
  h.Add(kChairId, 2, 3, 7);
  h.Add(kChestId, W - 4, 2, 7);
  h.Add(kLampId, 3, 3, 13);
  return h.Centred();
}

}  // namespace

std::vector<CachedHouse> CachedHouses() {
  return {
      {"DEMOACCOUNT", "Demo Shard", "Builder", CustomHouse(8, 8, 0, 1, "plaster", "clay")},
      {"DEMOACCOUNT", "Demo Shard", "Builder", CustomHouse(11, 10, 4, 2, "brick", nullptr)},
      {"DEMOACCOUNT", "Test Shard", "Carpenter", CustomHouse(9, 8, 2, 1, "wooden", "wooden")},
      {"SECONDACCOUNT", "Demo Shard", "Architect", CustomHouse(14, 13, 3, 2, "timber", "slate")},
  };
}

std::vector<CachedHouse> CharactersWithoutCache() {
  return {{"DEMOACCOUNT", "Demo Shard", "Mason", {}}};
}

}  // namespace tavi::demo
