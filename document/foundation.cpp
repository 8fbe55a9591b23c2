// The foundation builder and "Delete except AoS customize".
#include "document/foundation_tables.h"
#include "document/house_document.h"

namespace tavi {

const FoundationStyle kFoundationStyles[kFoundationStyleCount] = {
    {20, 22, 21, 23, 6}, {189, 191, 190, 192, 6}, {765, 766, 767, 768, 7},
    {65, 66, 67, 68, 7}, {101, 99, 100, 102, 7},
};

namespace {

constexpr uint16_t kPosts[kPostRows][kPostColumns] = {
    {9, 29, 54, 90, 147, 169, 177, 204},
    {251, 257, 263, 298, 347, 353, 424, 441},
    {466, 514, 553, 600, 601, 602, 603, 660},
    {666, 672, 898, 970, 974, 982, 0, 0},
};

bool InGrid(int column, int row, int columns, int rows) {
  return column >= 0 && row >= 0 && column < columns && row < rows;
}

}  // namespace

const FoundationStyle& FoundationStyleAt(int index) {
  if (index < 0 || index >= kFoundationStyleCount) index = kDefaultFoundationStyle;
  return kFoundationStyles[index];
}

int FoundationHeight(uint16_t cornerSE) {
  return cornerSE == 20 || cornerSE == 189 ? 6 : 7;
}

uint16_t SignAt(int column, int row) {
  if (!InGrid(column, row, kSignColumns, kSignRows)) return 0;
  return uint16_t(2980 + 2 * (kSignColumns * row + column));
}

uint16_t HangerAt(int column, int row) {
  if (!InGrid(column, row, kHangerColumns, kHangerRows)) return 0;
  return uint16_t(2968 + 2 * (kHangerColumns * row + column));
}

uint16_t PostAt(int column, int row) {
  if (!InGrid(column, row, kPostColumns, kPostRows)) return 0;
  return kPosts[row][column];
}

void TTAVIDoc::BuildFoundation(uint16_t sign, uint16_t hanger, uint16_t post, uint16_t edgeNS,
                               uint16_t cornerSE, uint16_t edgeWE, uint16_t cornerNW) {
  EditScope edit(*this, 0);
  edit.Floor(0);
  edit.Changed();
  const int height = FoundationHeight(cornerSE);
  const int W = Width, H = Height;
  FloorImage& T = Tiles[0];
  // Plots narrower or shallower than two cells get only what fits.
  auto put = [&](int x, int y, int layer, uint16_t id, int z) {
    if (!InPlot(x, y)) return;
    T[layer][y][x].Z = int16_t(z);
    T[layer][y][x].Id = id;
  };
  put(0, 0, 0, cornerNW, 0);
  for (int y = 1; y <= H - 2; ++y) put(0, y, 0, edgeWE, 0);
  for (int x = 1; x <= W - 3; ++x) put(x, H - 2, 0, edgeNS, 0);
  put(W - 2, H - 2, 0, cornerSE, 0);
  for (int y = 1; y <= H - 3; ++y) put(W - 2, y, 0, edgeWE, 0);
  for (int x = 1; x <= W - 2; ++x) put(x, 0, 0, edgeNS, 0);
  for (int y = 1; y <= H - 2; ++y)
    for (int x = 1; x <= W - 2; ++x) {
      if (T[0][y][x].Id == kFoundationFloorTile)
        T[0][y][x].Z = int16_t(height);
      else if (T[0][y][x].Id == 0)  // never above a gap, where it would not be drawn
        put(x, y, 0, kFoundationFloorTile, height);
      else
        put(x, y, 1, kFoundationFloorTile, height);
    }
  put(0, H - 2, 1, post, height);
  put(0, H - 1, 0, sign, height);
  put(0, H - 1, 1, hanger, height);
  SetBaseHeight(height);
}

void TTAVIDoc::DeleteExceptCustomization() {
  EditScope edit(*this);
  edit.Changed();
  for (int f = 1; f < kFloors; ++f) {
    edit.Snapshot(f);
    for (int y = 0; y < Height; ++y)
      for (int x = 0; x < Width; ++x) {
        // From the top down, so the parts above a removed entry keep their
        // altitude and everything goes in one pass.
        for (int l = kLayers - 1; l >= 0; --l) {
          const uint16_t id = Tiles[f][l][y][x].Id;
          if (id != 0 && !(Category(id) & kCatPart)) RemoveLayer(x, y, f, l);
        }
        edit.Cell(x, y, f);
      }
  }
}

}  // namespace tavi
