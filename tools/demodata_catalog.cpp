#include "tools/demodata_catalog.h"

#include <cstdio>

#include "client/light_table.h"
#include "document/aos_tables.h"

namespace tavi::demo {

const std::vector<Material>& Materials() {
  static const std::vector<Material> list = {
      {"stone", {150, 148, 140}, Material::kBlocks},
      {"brick", {168, 82, 60}, Material::kBrick},
      {"wooden", {156, 110, 62}, Material::kPlanks},
      {"plaster", {226, 214, 184}, Material::kPlainWall},
      {"marble", {222, 222, 228}, Material::kTiles},
      {"sandstone", {214, 182, 128}, Material::kBlocks},
      {"log", {122, 82, 46}, Material::kLogs},
      {"dark stone", {96, 96, 104}, Material::kBlocks},
      {"timber", {230, 220, 196}, Material::kTimber},
      {"fieldstone", {138, 128, 108}, Material::kBlocks},
      {"red wood", {142, 64, 46}, Material::kPlanks},
      {"jade", {92, 142, 112}, Material::kTiles},
      {"whitewash", {240, 236, 226}, Material::kPlainWall},
      {"slate", {92, 102, 130}, Material::kTiles},
      {"straw", {206, 180, 96}, Material::kThatch},
      {"clay", {190, 120, 82}, Material::kShingles},
  };
  return list;
}

namespace {

int MaterialIndex(const char* name) {
  const auto& m = Materials();
  for (size_t i = 0; i < m.size(); ++i)
    if (std::string(m[i].name) == name) return int(i);
  return 0;
}

std::string Name(const std::string& a, const char* b) {
  std::string n = a + " " + b;
  if (n.size() > 20) n.resize(20);
  return n;
}

// Rows of the walls table that are the low foundation pieces, with their height.
int FoundationHeightOfId(uint16_t id) {
  switch (id) {
    case 20:
    case 21:
    case 22:
    case 23:
    case 189:
    case 190:
    case 191:
    case 192:
      return 6;
    case 765:
    case 766:
    case 767:
    case 768:
    case 65:
    case 66:
    case 67:
    case 68:
    case 99:
    case 100:
    case 101:
    case 102:
      return 7;
    default:
      return 0;
  }
}

// Material and height of every row of the walls table. An id listed in
// several rows takes its looks from the first. Rows of their own whose three
// pieces along a run differ (so that one can carry a window) are full-height
// walls, one per material in turn, the materials of the standard houses first;
// the other complete rows go round the materials again, the second round as
// half walls and the fourth as quarter walls, so that every material has tall
// and short pieces.
struct WallRowLook {
  int material;
  uint8_t height;
};

bool IsFoundationId(uint16_t id) {
  return FoundationHeightOfId(id) != 0;
}

int MaterialIndex(const char* name);

std::vector<WallRowLook> WallRowLooks(std::vector<int>* ownerRow) {
  static const char* const firstMaterials[] = {
      "plaster",   "fieldstone", "brick",      "wooden",   "timber", "stone", "whitewash", "log",
      "sandstone", "marble",     "dark stone", "red wood", "jade",   "slate", "straw",     "clay"};
  const int nMat = int(Materials().size());
  const int rows = AosTableRows(kAosWalls);
  ownerRow->assign(kItemIds, -1);
  for (int row = 0; row < rows; ++row)
    for (int c = 0; c < kAosColumns; ++c)
      if (uint16_t id = ObjectTableAt(kAosWalls, c, row))
        if ((*ownerRow)[id] < 0) (*ownerRow)[id] = row;
  std::vector<WallRowLook> looks;
  int varied = 0, plain = 0;
  for (int row = 0; row < rows; ++row) {
    uint16_t c[8];
    bool complete = true, own = true;
    for (int i = 0; i < 8; ++i) {
      c[i] = ObjectTableAt(kAosWalls, i, row);
      complete = complete && c[i];
      own = own && c[i] && (*ownerRow)[c[i]] == row;
    }
    WallRowLook look{(row * 5 + 1) % nMat, 20};
    if (complete && !IsFoundationId(c[0])) {
      if (own && c[0] != c[1] && c[1] != c[2] && c[0] != c[2] && c[4] != c[5] && c[5] != c[6]) {
        look.material = MaterialIndex(firstMaterials[varied++ % 16]);
      } else {
        const int round = plain / nMat;
        look.material = plain++ % nMat;
        look.height = round == 1 ? 10 : round == 3 ? 5 : 20;
      }
    }
    looks.push_back(look);
  }
  return looks;
}

int FoundationMaterial(uint16_t id) {
  if (id >= 20 && id <= 23) return MaterialIndex("stone");
  if (id >= 189 && id <= 192) return MaterialIndex("sandstone");
  if (id >= 765 && id <= 768) return MaterialIndex("marble");
  if (id >= 65 && id <= 68) return MaterialIndex("dark stone");
  return MaterialIndex("fieldstone");
}

// Shape of a wall-like piece from its column's joining rules.
Shape WallShapeOfWord(uint16_t word) {
  const bool north = word & 0x0004, west = word & 0x0002;
  if (north && west) return Shape::kCorner;
  if (north) return Shape::kWallX;
  if (west) return Shape::kWallY;
  if ((word & 0x0078) == 0x0078) return Shape::kPost;
  // Joins along x (east/west) or along y (north/south).
  if ((word & 0x0018) && !(word & 0x0060)) return Shape::kWallX;
  if ((word & 0x0060) && !(word & 0x0018)) return Shape::kWallY;
  return Shape::kPost;
}

class Builder {
 public:
  std::vector<ItemFacts> items = std::vector<ItemFacts>(kItemIds);

  void Lights() {
    // Every light source of the night view gets a lamp of its size class.
    std::vector<LightInfo> lights(kItemIds);
    BuildLights(lights.data(), kItemIds);
    for (int id = 0; id < kItemIds; ++id) {
      if (lights[size_t(id)].Kind == 0) continue;
      ItemFacts s;
      s.flags = kFlagLight;
      s.weight = 2;
      switch (lights[size_t(id)].Kind) {
        case 1:
          s.shape = (id & 1) ? Shape::kCandle : Shape::kLantern;
          s.height = (id & 1) ? 3 : 4;
          s.name = (id & 1) ? "candle" : "lantern";
          break;
        case 2:
          s.shape = Shape::kBrazier, s.height = 6, s.name = "brazier", s.weight = 20;
          break;
        default:
          s.shape = Shape::kLampPost, s.height = 20, s.name = "lamp post", s.weight = 50;
          s.flags |= kFlagImpassable;
          break;
      }
      s.material = MaterialIndex("dark stone");
      items[size_t(id)] = s;
    }
  }

  void Furniture() {
    Put(kChairId, Shape::kChair, 3, 0, 5, "chair", "wooden");
    Put(kTableId, Shape::kTable, 6, kFlagImpassable | kFlagSurface, 15, "table", "wooden");
    Put(kChestId, Shape::kChest, 4, kFlagImpassable, 25, "chest", "red wood");
    Put(kBoxId, Shape::kBox, 3, kFlagImpassable, 10, "wooden box", "wooden");
    Put(kLampId, Shape::kLantern, 4, kFlagLight, 2, "lamp", "dark stone");
  }

  void Signs() {
    for (int id = 2980; id <= 3086; id += 2) {
      Put(id, Shape::kSign, 2, 0, 5, "sign", "wooden");
      items[id].variant = uint8_t((id - 2980) / 2);
    }
    for (int id = 2968; id <= 2978; id += 2) {
      Put(id, Shape::kHanger, 2, 0, 3, "sign hanger", "dark stone");
      items[id].variant = uint8_t((id - 2968) / 2);
    }
  }

  void Swamp() {
    for (int v = 29238; v <= 29261; ++v) SwampTile(v - 0x4000);
    for (int v = 29290; v <= 29295; ++v) SwampTile(v - 0x4000);
  }

  void Tables() {
    const auto height = [this](uint16_t id) { return int(items[id].height); };
    // Heights first: the shapes of wall-like pieces follow their category words.
    std::vector<int> ownerRow;
    const std::vector<WallRowLook> wallLooks = WallRowLooks(&ownerRow);
    for (int row = 0; row < AosTableRows(kAosWalls); ++row)
      for (int c = 0; c < kAosColumns; ++c)
        if (uint16_t id = ObjectTableAt(kAosWalls, c, row))
          if (ownerRow[id] == row) items[id].height = wallLooks[size_t(row)].height;
    for (int row = 0; row < AosTableRows(kAosDoors); ++row)
      for (int c = 0; c < kAosColumns; ++c)
        if (uint16_t id = ObjectTableAt(kAosDoors, c, row)) items[id].height = 20;
    for (int row = 0; row < AosTableRows(kAosEnchancements); ++row)
      for (int c = 0; c < kAosColumns; ++c)
        if (uint16_t id = ObjectTableAt(kAosEnchancements, c, row))
          items[id].height = row >= 62 ? 0 : IsDefaultEnchancementRow(row) ? 20 : 10;
    std::vector<uint16_t> words(kItemIds, 0);
    BuildTileCategories(height, words.data());

    const int nMat = int(Materials().size());
    for (int row = 0; row < AosTableRows(kAosWalls); ++row) {
      const int mat = wallLooks[size_t(row)].material;
      for (int c = 0; c < kAosColumns; ++c) {
        const uint16_t id = ObjectTableAt(kAosWalls, c, row);
        if (!id || ownerRow[id] != row) continue;
        ItemFacts& s = items[id];
        s.material = mat;
        s.shape = WallShapeOfWord(words[id]);
        s.flags = kFlagWall | kFlagImpassable;
        s.weight = 255;
        s.front = (c == 1 || c == 5 || c == 9) ? kWindow : kPlain;
        if (s.front == kWindow) s.flags |= kFlagWindow;
        const char* what = s.shape == Shape::kPost     ? "post"
                           : s.shape == Shape::kCorner ? "corner"
                           : s.front == kWindow        ? "window"
                                                       : "wall";
        std::string mname = Materials()[size_t(mat)].name;
        if (s.height == 10) mname = "half " + mname;
        if (s.height == 5) mname = "low " + mname;
        s.name = Name(mname, what);
      }
    }
    for (int row = 0; row < AosTableRows(kAosDoors); ++row) {
      const int mat = (row * 3 + 2) % nMat;
      for (int c = 0; c < kAosColumns; ++c) {
        const uint16_t id = ObjectTableAt(kAosDoors, c, row);
        if (!id) continue;
        ItemFacts& s = items[id];
        s.material = mat;
        s.shape = WallShapeOfWord(words[id]);
        s.front = kDoor;
        s.flags = kFlagDoor | kFlagImpassable;
        s.weight = 255;
        s.name = Name(Materials()[size_t(mat)].name, "door");
      }
    }
    for (int row = 0; row < AosTableRows(kAosFloors); ++row) {
      const int mat = (row * 7 + 3) % nMat;
      for (int c = 0; c < kAosColumns; ++c)
        if (uint16_t id = ObjectTableAt(kAosFloors, c, row)) FloorTile(id, mat, c);
    }
    static const char* const stairMaterials[] = {"stone",      "wooden",     "marble",  "sandstone",
                                                 "dark stone", "fieldstone", "red wood"};
    for (int row = 0; row < AosTableRows(kAosStairs); ++row) {
      const int mat = MaterialIndex(stairMaterials[row % 7]);
      for (int c = 0; c < kAosColumns; ++c) {
        const uint16_t id = ObjectTableAt(kAosStairs, c, row);
        if (!id) continue;
        ItemFacts& s = items[id];
        s = ItemFacts();
        s.height = 5;
        s.material = mat;
        s.flags = kFlagSurface | kFlagClimbable;
        s.weight = 255;
        if (c == 0) {
          s.shape = Shape::kBlock;
          s.name = Name(Materials()[size_t(mat)].name, "block");
        } else if (c <= 4) {
          s.shape = Shape::kStep;
          s.dir = uint8_t(c);
          s.name = Name(Materials()[size_t(mat)].name, "stairs");
        } else {
          s.shape = Shape::kStepCorner;
          s.dir = uint8_t(c - 4);
          s.name = Name(Materials()[size_t(mat)].name, "steps");
        }
      }
    }
    for (int row = 0; row < AosTableRows(kAosRoofs); ++row) {
      const int mat = RoofMaterial(row);
      for (int c = 0; c < kAosColumns; ++c) {
        const uint16_t id = ObjectTableAt(kAosRoofs, c, row);
        if (!id) continue;
        ItemFacts& s = items[id];
        s = ItemFacts();
        s.shape = Shape::kRoof;
        s.variant = uint8_t(c);
        s.height = 3;
        s.material = mat;
        s.flags = kFlagRoof | kFlagImpassable;
        s.weight = 255;
        s.name = Name(Materials()[size_t(mat)].name, "roof");
      }
    }
    for (int row = 0; row < AosTableRows(kAosEnchancements); ++row) {
      const int mat = (row * 3 + 4) % nMat;
      for (int c = 0; c < kAosColumns; ++c) {
        const uint16_t id = ObjectTableAt(kAosEnchancements, c, row);
        if (!id) continue;
        if (row >= 62) {
          FloorTile(id, mat, c);
          continue;
        }
        ItemFacts& s = items[id];
        s.material = mat;
        s.shape = WallShapeOfWord(words[id]);
        s.flags = kFlagWall | kFlagImpassable;
        s.weight = 255;
        s.front = (c % 3 == 0 && s.height >= 19) ? kDoorway : kPlain;
        const char* what = s.shape == Shape::kPost ? "pillar"
                           : s.height < 19         ? "railing"
                           : s.front == kDoorway   ? "arch"
                                                   : "wall";
        s.name = Name(Materials()[size_t(mat)].name, what);
      }
    }
  }

  void Foundation() {
    for (uint16_t id : {20,  21,  22, 23, 189, 190, 191, 192, 765, 766,
                        767, 768, 65, 66, 67,  68,  99,  100, 101, 102}) {
      ItemFacts& s = items[id];
      s = ItemFacts();
      s.shape = Shape::kBlock;
      s.height = uint8_t(FoundationHeightOfId(id));
      s.material = FoundationMaterial(id);
      s.flags = kFlagImpassable | kFlagSurface;
      s.weight = 255;
      s.name = "foundation";
    }
    ItemFacts& steps = items[kFrontStepsId];
    steps.shape = Shape::kStep;
    steps.dir = kNorth;
    steps.name = "steps";
    steps.material = MaterialIndex("stone");
    FloorTile(kFoundationFloorId, MaterialIndex("wooden"), 0);
    items[kFoundationFloorId].name = "wooden floor";
  }

 private:
  static bool IsDefaultEnchancementRow(int row) {
    for (int r : {0, 1, 2, 9, 10, 13, 15, 18, 19, 20, 23, 24, 25, 28, 60, 61})
      if (r == row) return true;
    return false;
  }

  static int RoofMaterial(int row) {
    static const char* const roofs[] = {"clay", "slate", "wooden", "log", "straw", "stone"};
    return MaterialIndex(roofs[(row / 2) % 6]);
  }

  void Put(int id, Shape shape, uint8_t height, uint64_t flags, uint8_t weight, const char* name,
           const char* material) {
    ItemFacts& s = items[size_t(id)];
    s = ItemFacts();
    s.shape = shape;
    s.height = height;
    s.flags = flags;
    s.weight = weight;
    s.name = name;
    s.material = MaterialIndex(material);
  }

  void FloorTile(uint16_t id, int mat, int column) {
    ItemFacts& s = items[id];
    s = ItemFacts();
    s.shape = Shape::kFloor;
    s.height = 0;
    s.flags = kFlagBackground | kFlagSurface;
    s.weight = 255;
    s.material = mat;
    s.variant = uint8_t(column);
    s.name = Name(Materials()[size_t(mat)].name, "floor");
  }

  void SwampTile(int id) {
    ItemFacts& s = items[size_t(id)];
    s = ItemFacts();
    s.shape = Shape::kSwamp;
    s.flags = kFlagBackground;
    s.weight = 255;
    s.variant = uint8_t(id & 0xFF);
    s.name = "swamp";
  }
};

}  // namespace

const std::vector<ItemFacts>& Catalog() {
  static const std::vector<ItemFacts> items = [] {
    Builder b;
    // Later groups overwrite earlier ones where ids are shared.
    b.Lights();
    b.Furniture();
    b.Signs();
    b.Tables();
    b.Foundation();
    b.Swamp();
    return b.items;
  }();
  return items;
}

}  // namespace tavi::demo
