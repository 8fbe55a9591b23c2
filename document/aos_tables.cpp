#include "document/aos_tables.h"

#include <array>
#include <initializer_list>

#include "document/aos_tables_data.h"
#include "document/tile_facts.h"

namespace tavi {

namespace {

constexpr int kCategoryWords = 0x4000;

struct TableRef {
  const uint16_t (*rows)[13];
  int count;
};

TableRef TableOf(int type) {
  switch (type) {
    case kAosWalls:
      return {kAosTableWalls, kAosTableWallsRows};
    case kAosDoors:
      return {kAosTableDoors, kAosTableDoorsRows};
    case kAosFloors:
      return {kAosTableFloors, kAosTableFloorsRows};
    case kAosStairs:
    case kAosAutoStairs:
      return {kAosTableStairs, kAosTableStairsRows};
    case kAosRoofs:
      return {kAosTableRoofs, kAosTableRoofsRows};
    case kAosEnchancements:
      return {kAosTableEnchancements, kAosTableEnchancementsRows};
    default:
      return {nullptr, 0};
  }
}

}  // namespace

int AosTableRows(int type) {
  return TableOf(type).count;
}

uint16_t ObjectTableAt(int type, int column, int row) {
  const TableRef t = TableOf(type);
  if (!t.rows || row < 0 || row >= t.count || column < 0 || column >= kAosColumns) return 0;
  if (type == kAosAutoStairs && (column < 1 || column > 4)) return 0;
  return t.rows[row][column];
}

namespace {

// One column's assignment: the word for tall (height >= 19) and short pieces,
// or a direct word that replaces the category as it is.
struct Mask {
  uint16_t tall = 0;
  uint16_t shortPiece = 0;
  enum Kind : uint8_t { kNone, kByHeight, kDirect } kind = kNone;
};

constexpr Mask H(uint16_t both) {
  return {both, both, Mask::kByHeight};
}
constexpr Mask H(uint16_t tall, uint16_t shortPiece) {
  return {tall, shortPiece, Mask::kByHeight};
}
constexpr Mask D(uint16_t word) {
  return {word, word, Mask::kDirect};
}
constexpr Mask N{};

using RowMasks = std::array<Mask, kAosColumns>;

// A tall piece is one of height 19 or more; every word made by the height rule
// also marks the tile as a customization part.
constexpr int kTallHeight = 19;

struct Builder {
  const std::function<int(uint16_t)>& height;
  uint16_t* categories;

  void Apply(uint16_t id, const Mask& m) const {
    if (id == 0 || id >= kCategoryWords || m.kind == Mask::kNone) return;
    if (m.kind == Mask::kDirect) {
      categories[id] = m.tall;
    } else {
      categories[id] = uint16_t((height(id) < kTallHeight ? m.shortPiece : m.tall) | kCatPart);
    }
  }
  void ApplyRows(int type, const RowMasks& masks) const {
    for (int row = 0; row < AosTableRows(type); ++row) ApplyRow(type, row, masks);
  }
  void ApplyRow(int type, int row, const RowMasks& masks) const {
    for (int c = 0; c < kAosColumns; ++c) Apply(ObjectTableAt(type, c, row), masks[c]);
  }
};

// clang-format off
// Walls, and the first eight columns of the doors: runs along x (0..2), the
// four-way piece (3), runs along y (4..6) and the corner (7).
constexpr RowMasks kWallMasks = {H(0x2BD, 0x3D), H(0x2BD, 0x3D), H(0x2BD, 0x3D), H(0x279, 0x79),
                                 H(0x36B, 0x6B), H(0x36B, 0x6B), H(0x36B, 0x6B), H(0x32F, 0x2F),
                                 H(0x2BD, 0x3D), H(0x2BD, 0x3D), H(0x36B, 0x6B), H(0x36B, 0x6B),
                                 N};
constexpr RowMasks kDoorMasks = {H(0x2BD, 0x3D), H(0x2BD, 0x3D), H(0x2BD, 0x3D), H(0x279, 0x79),
                                 H(0x36B, 0x6B), H(0x36B, 0x6B), H(0x36B, 0x6B), H(0x32F, 0x2F),
                                 N, N, N, N, N};

constexpr RowMasks AllDirect(uint16_t word) {
  RowMasks m{};
  for (auto& c : m) c = D(word);
  return m;
}

// The words of the enchancement rows, row by row; sixteen rows share the
// default fitting words, the others have words of their own.
std::array<RowMasks, 64> EnchancementMasks() {
  const RowMasks fitting = {H(0x69D),        H(0x69D),        H(0x2BD, 0x3D), H(0x279, 0x79),
                            H(0x36B, 0x6B),  H(0x763),        H(0x763),       H(0x32F, 0x2F),
                            N, N, N, N, N};
  std::array<RowMasks, 64> rows{};
  auto set = [&rows](std::initializer_list<int> which, const RowMasks& m) {
    for (int r : which) rows[r] = m;
  };
  set({0, 1, 2, 9, 10, 13, 15, 18, 19, 20, 23, 24, 25, 28, 60, 61}, fitting);
  set({3}, {H(0x34), H(0x4A), H(0x2C), H(0x52), H(0x2A), H(0x4A), N, N, N, N, N, N, N});
  set({4}, {H(0x2F), H(0x40), H(0x10), N, N, N, N, N, N, N, N, N, N});
  const Mask w = H(0x201);
  set({5, 6, 7, 8, 37, 38}, {w, w, w, w, w, w, w, w, N, N, N, N, N});
  set({11}, {H(0x2C), H(0x34), H(0x2C), H(0x34), H(0x4A), H(0x2A), H(0x4A), H(0x2A), N, N, N, N, N});
  set({12}, {N, H(0x40), H(0x201), H(0x2F), H(0x201), H(0x10), N, N, N, N, N, N, N});
  set({14}, {H(0x3D), H(0x3D), H(0x3D), H(0x79), H(0x6B), H(0x6B), H(0x6B), N, N, N, N, N, N});
  set({16, 32, 44},
      {H(0x68), H(0x48), H(0x58), H(0x50), H(0x70), H(0x30), H(0x38), H(0), N, N, N, N, N});
  set({17},
      {H(0x1C), H(0x62), H(0x62), H(0x1C), H(0x62), H(0x1C), H(0x29C), H(0x362), N, N, N, N, N});
  set({21, 26}, {w, w, w, w, w, w, w, H(0), N, N, N, N, N});
  set({22, 27}, {N, H(0x2BD), H(0x2BD), N, H(0x36B), H(0x36B), N, N, N, N, N, N, N});
  set({29}, {H(0x36B, 0x6B), H(0x763), N, H(0x69D), H(0x2BD, 0x3D), N, H(0x69D), H(0x763), N, N,
             N, N, N});
  set({30}, {N, H(0x69D), H(0x2BD, 0x3D), N, H(0x36B, 0x6B), H(0x763), N, N, N, N, N, N, N});
  set({31},
      {H(0x279), H(0x279), H(0x279), H(0x279), H(0x38), H(0x50), H(0x40), H(0x10), N, N, N, N, N});
  set({33}, {H(0x640), H(0x610), H(0x620), H(0x608), H(0x640), H(0x608), H(0x648), H(0x648), N, N,
             N, N, N});
  set({34}, {w, w, w, N, N, N, N, N, N, N, N, N, N});
  set({35}, {H(0x42), H(0x79), H(0x62), H(0x1C), H(0), H(0x2E), H(0x14), N, N, N, N, N, N});
  set({36}, {H(0x79), H(0x79), H(0x1C), H(0x62), H(0x1C), H(0x62), N, N, N, N, N, N, N});
  set({39, 40, 41, 42, 43},
      {H(0x1C), H(0x42), H(0x1C), H(0x42), H(0x1C), H(0x42), H(0x1C), H(0x42), N, N, N, N, N});
  set({45},
      {H(0x50), H(0x68), H(0x79), H(0x38), H(0x40), H(0x3D), H(0x10), H(0x6B), N, N, N, N, N});
  set({46}, {N, N, H(0x40), H(0x3D), H(0x10), H(0x6B), N, N, N, N, N, N, N});
  set({47}, {H(0x2BD), H(0x279), H(0x36B), N, H(0x3D), H(0x79), H(0x6B), N, N, N, N, N, N});
  set({48},
      {H(0x3D), H(0x79), H(0x6B), H(0x2F), H(0x3D), H(0x79), H(0x6B), H(0x2F), N, N, N, N, N});
  set({49},
      {H(0x70), H(0x6B), H(0x58), H(0x3D), H(0x6B), H(0x70), H(0x3D), H(0x58), N, N, N, N, N});
  set({50}, {N, H(0x79), H(0x3D), H(0x6B), H(0x2F), H(0x3D), H(0x6B), N, N, N, N, N, N});
  set({51}, {N, H(0x58), H(0x70), H(0x58), H(0x70), H(0x50), H(0x3D), H(0x6B), N, N, N, N, N});
  set({52, 53, 54, 55},
      {H(0x3D), H(0x30), H(0x48), H(0x6B), N, N, H(0x41C), H(0x462), N, N, N, N, N});
  set({56, 57, 58, 59}, {N, H(0), H(0), H(0), H(0), H(0), H(0), N, N, N, N, N, N});
  set({62, 63}, AllDirect(0x1001));
  return rows;
}
// clang-format on

}  // namespace

void BuildTileCategories(const std::function<int(uint16_t)>& height, uint16_t* categories) {
  for (int i = 0; i < kCategoryWords; ++i) categories[i] = 0;
  const Builder b{height, categories};
  // Later assignments overwrite earlier ones: walls, doors, floors, stairs,
  // roofs, enchancements, each row by row.
  b.ApplyRows(kAosWalls, kWallMasks);
  b.ApplyRows(kAosDoors, kDoorMasks);
  b.ApplyRows(kAosFloors, AllDirect(0x1001));
  b.ApplyRows(kAosStairs, AllDirect(0x1801));
  b.ApplyRows(kAosRoofs, AllDirect(0x2001));
  static const std::array<RowMasks, 64> enchancements = EnchancementMasks();
  for (int row = 0; row < AosTableRows(kAosEnchancements) && row < 64; ++row)
    b.ApplyRow(kAosEnchancements, row, enchancements[row]);
}

}  // namespace tavi
