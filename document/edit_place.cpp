// Placing tiles: the four kind rules of a single placement, the staircases and
// the rectangle stacking of the control window's "Add".
#include <algorithm>
#include <limits>
#include <optional>
#include <utility>

#include "document/aos_tables.h"
#include "document/house_document.h"

namespace tavi {

namespace {

// Altitudes produced by arithmetic on stored values stay inside int16.
int16_t ClampZ(long long z) {
  return int16_t(std::clamp<long long>(z, std::numeric_limits<int16_t>::min(),
                                       std::numeric_limits<int16_t>::max()));
}

// Moves the stack of cell (x, y) up one layer, adding `lift` to the altitude of
// every non-empty moved entry. Layer 0 keeps its old content until rewritten.
void ShiftUp(FloorImage& image, int x, int y, int lift) {
  for (int n = kLayers - 2; n >= 0; --n) {
    const TileEntry& src = image[n][y][x];
    TileEntry& dst = image[n + 1][y][x];
    dst.Id = src.Id;
    dst.Z = src.Id != 0 ? ClampZ(src.Z + lift) : 0;
    dst.Mark = uint16_t((dst.Mark & 0xFF00) | (src.Mark & 0x00FF));
  }
}

// The stairs piece for a staircase; false for an unknown row or direction and
// for a row that has no step piece for that direction.
bool StairPieces(int direction, int row, uint16_t* block, uint16_t* step) {
  if (direction < 1 || direction > 4 || row < 0 || row >= AosTableRows(kAosStairs)) return false;
  *block = ObjectTableAt(kAosStairs, 0, row);
  *step = ObjectTableAt(kAosStairs, direction, row);
  return *step != 0;
}

void EmptyCell(FloorImage& image, int x, int y) {
  for (int l = 0; l < kLayers; ++l) {
    image[l][y][x].Id = 0;
    image[l][y][x].Z = 0;
  }
}

// One cell of a staircase: `k` blocks under a step at altitude 5 k.
void WriteStairCell(FloorImage& image, int x, int y, int k, uint16_t block, uint16_t step,
                    bool writeMark) {
  EmptyCell(image, x, y);
  for (int l = 0; l <= k; ++l) {
    TileEntry& e = image[l][y][x];
    e.Id = l < k ? block : step;
    e.Z = e.Id != 0 ? int16_t(5 * l) : 0;
    if (writeMark) e.Mark = 0;
  }
}

}  // namespace

bool TTAVIDoc::ClipToPlot(const CellRect& in, CellRect* out) const {
  if (in.Empty()) return false;
  CellRect r = in;
  if (r.Left > r.Right) std::swap(r.Left, r.Right);
  if (r.Top > r.Bottom) std::swap(r.Top, r.Bottom);
  r.Left = std::max(r.Left, 0);
  r.Top = std::max(r.Top, 0);
  r.Right = std::min(r.Right, Width - 1);
  r.Bottom = std::min(r.Bottom, Height - 1);
  if (r.Left > r.Right || r.Top > r.Bottom) return false;
  *out = r;
  return true;
}

bool TTAVIDoc::LockedPart(uint16_t id) const {
  return id != 0 && host_->PartsLock() && (Category(id) & kCatPart);
}

namespace {

// The four kind rules of a placement, on `image`. Each returns false when the
// placement is refused (nothing written). `full`: the cell's top layer was
// taken before the placement.

// Floors go to the bottom at altitude 0; a floor already there is replaced.
bool PutFloor(const TTAVIDoc& doc, FloorImage& image, int x, int y, uint16_t id, bool full) {
  TileEntry& base = image[0][y][x];
  if (base.Id == id) return false;
  if (base.Id != 0 && !doc.IsFloorTile(base.Id)) {
    if (full) return false;  // a full cell keeps its top entry
    ShiftUp(image, x, y, 0);
  }
  base = {0, id, 0};
  return true;
}

// A wall part replaces everything standing on the cell except its floor.
bool PutWall(const TTAVIDoc& doc, FloorImage& image, int x, int y, uint16_t id) {
  const uint16_t base = image[0][y][x].Id;
  const int t = (base != 0 && doc.IsFloorTile(base)) ? 1 : 0;
  if (image[t][y][x].Id == id) return false;
  image[t][y][x] = {0, id, 0};
  for (int l = t + 1; l < kLayers; ++l) {
    image[l][y][x].Id = 0;
    image[l][y][x].Z = 0;
  }
  return true;
}

// Roofs slide under the stack three units below the working altitude.
bool PutRoof(const TTAVIDoc& doc, FloorImage& image, int x, int y, uint16_t id, int minZ,
             bool full) {
  TileEntry& base = image[0][y][x];
  if (base.Id == id) return false;
  const int z0 = minZ - 3;
  if (base.Id != 0 && !doc.IsRoofPart(base.Id)) {
    if (full) return false;
    const int d = std::max(0, z0 - base.Z);
    ShiftUp(image, x, y, d);
  }
  base = {ClampZ(z0), id, 0};
  return true;
}

// Anything else is stacked on top, never starting above altitude 20. Never
// refused (a full or too high stack simply takes nothing).
bool PutOnTop(const TTAVIDoc& doc, FloorImage& image, int x, int y, uint16_t id, int minZ,
              int floor) {
  const int n = doc.LayerCount[floor][y][x];
  if (n >= kLayers) return true;
  const int z = doc.TopZ[floor][y][x];
  if (z < 21) image[n][y][x] = {ClampZ(std::max(z, minZ)), id, 0};
  return true;
}

}  // namespace

bool TTAVIDoc::PlaceTile(int x, int y, bool preview, FloorImage& image, int minZ, uint16_t id,
                         int floor) {
  if (!ValidCell(x, y, floor) || id == 0) return false;
  const bool full = image[kLayers - 1][y][x].Id != 0;
  bool placed;
  if (IsFloorTile(id))
    placed = PutFloor(*this, image, x, y, id, full);
  else if (IsWallPart(id))
    placed = PutWall(*this, image, x, y, id);
  else if (IsRoofPart(id))
    placed = PutRoof(*this, image, x, y, id, minZ, full);
  else
    placed = PutOnTop(*this, image, x, y, id, minZ, floor);
  if (!placed || preview) return false;
  EditScope edit(*this);  // the caller took the snapshot
  edit.Cell(x, y, floor);
  edit.Changed();
  return true;
}

bool TTAVIDoc::PlaceAutoStairs(int x, int y, bool preview, FloorImage& image, int direction,
                               int row, int floor) {
  if (!ValidFloor(floor)) return true;
  // A preview writes the scratch image only.
  std::optional<EditScope> edit;
  if (!preview) edit.emplace(*this, floor);
  uint16_t block = 0, step = 0;
  if (StairPieces(direction, row, &block, &step)) {
    static const int kDx[5] = {0, 0, 1, 0, -1};
    static const int kDy[5] = {0, -1, 0, 1, 0};
    for (int k = 0; k < 4; ++k) {
      const int cx = x + kDx[direction] * k, cy = y + kDy[direction] * k;
      if (!InPlot(cx, cy)) break;
      WriteStairCell(image, cx, cy, k, block, step, true);
      if (edit) edit->Cell(cx, cy, floor);
    }
  }
  if (edit) edit->Changed();
  return true;
}

namespace {

// Line k (0..3) of a staircase across rectangle r climbing in `direction`:
// one row or column of cells, counted from the side the stairs start at.
CellRect StairLine(const CellRect& r, int direction, int k) {
  CellRect line = r;
  switch (direction) {
    case 1:
      line.Top = line.Bottom = r.Bottom - k;
      break;
    case 2:
      line.Left = line.Right = r.Left + k;
      break;
    case 3:
      line.Top = line.Bottom = r.Top + k;
      break;
    default:
      line.Left = line.Right = r.Right - k;
      break;
  }
  return line;
}

// The staircase written into the cells of r (emptied first): up to four lines
// of k blocks under a step, as many as the rectangle holds.
void WriteStairsInRect(FloorImage& image, const CellRect& r, int direction, uint16_t block,
                       uint16_t step) {
  for (int y = r.Top; y <= r.Bottom; ++y)
    for (int x = r.Left; x <= r.Right; ++x) EmptyCell(image, x, y);
  for (int k = 0; k < 4; ++k) {
    const CellRect line = StairLine(r, direction, k);
    if (line.Left < r.Left || line.Right > r.Right || line.Top < r.Top || line.Bottom > r.Bottom)
      break;
    for (int y = line.Top; y <= line.Bottom; ++y)
      for (int x = line.Left; x <= line.Right; ++x)
        WriteStairCell(image, x, y, k, block, step, false);
  }
}

}  // namespace

bool TTAVIDoc::PlaceStairsInRect(const CellRect& rect, int floor, int direction, int row) {
  CellRect r;
  if (!ValidFloor(floor) || !ClipToPlot(rect, &r)) return true;
  EditScope edit(*this, floor);
  edit.Changed();
  uint16_t block = 0, step = 0;
  // An unknown row or direction leaves the selection as it was.
  if (!StairPieces(direction, row, &block, &step)) return true;
  WriteStairsInRect(Tiles[floor], r, direction, block, step);
  for (int y = r.Top; y <= r.Bottom; ++y)
    for (int x = r.Left; x <= r.Right; ++x) edit.Cell(x, y, floor);
  return true;
}

void TTAVIDoc::StackInRect(const CellRect& rect, int floor, int minZ, int mode, uint16_t id) {
  CellRect r;
  if (!ValidFloor(floor) || !ClipToPlot(rect, &r)) return;
  EditScope edit(*this, floor);
  if (mode == 1 && id != 0) {
    for (int y = r.Top; y <= r.Bottom; ++y)
      for (int x = r.Left; x <= r.Right; ++x) {
        const int n = LayerCount[floor][y][x];
        const int top = TopZ[floor][y][x];
        if (n >= kLayers || top >= 21) continue;
        TileEntry& e = Tiles[floor][n][y][x];
        e.Z = ClampZ(std::max(top, minZ));
        e.Id = id;
        edit.Cell(x, y, floor);
        edit.Changed();
      }
  }
}

}  // namespace tavi
