// Price count and customization rule check.
//
// The price is 500 gp per customization part. The rule check marks every entry
// that does not stand properly: on every floor above the foundation a part is
// proper only when it is reached from the foundation's edges or from a carrying
// wall below, through joined walls and continuous floor runs.
#include <algorithm>
#include <cstring>
#include <string>

#include "document/house_document.h"

namespace tavi {

namespace {

constexpr int64_t kPricePerPart = 500;
constexpr uint16_t kMarked = 1;
constexpr uint16_t kProper = 0;

// A whole number with thousands separators (none when sep is 0), right-aligned
// in `width` characters; longer numbers are not cut.
std::string FormatGrouped(uint64_t value, bool negative, char sep, int width) {
  char digits[32];
  int n = 0;
  do {
    digits[n++] = char('0' + value % 10);
    value /= 10;
  } while (value != 0);
  std::string out;
  if (negative) out += '-';
  for (int i = n - 1; i >= 0; --i) {
    out += digits[i];
    if (sep != 0 && i > 0 && i % 3 == 0) out += sep;
  }
  if (int(out.size()) < width) out.insert(0, size_t(width) - out.size(), ' ');
  return out;
}

}  // namespace

std::string FormatPriceLabel(int64_t price, char sep) {
  const bool neg = price < 0;
  const uint64_t mag = neg ? uint64_t(0) - uint64_t(price) : uint64_t(price);
  return FormatGrouped(mag, neg, sep, 10) + " gp";
}

std::string FormatDeltaLabel(int64_t price, int64_t reference, char sep) {
  const char sign = reference < price ? '+' : reference == price ? ' ' : '-';
  // The difference of two 64-bit values always fits in 64 unsigned bits.
  const uint64_t mag = reference < price ? uint64_t(price) - uint64_t(reference)
                                         : uint64_t(reference) - uint64_t(price);
  return sign + FormatGrouped(mag, false, sep, 9);
}

void TTAVIDoc::ResetCaches() {
  std::memset(catKnown_, 0, sizeof(catKnown_));
  std::memset(heightKnown_, 0, sizeof(heightKnown_));
}

uint16_t TTAVIDoc::FetchCategory(uint16_t id) {
  if (id >= 0x4000) return Category(id);
  catCache_[id] = Category(id);
  catKnown_[id >> 5] |= 1u << (id & 31);
  return catCache_[id];
}

int TTAVIDoc::FetchHeight(uint16_t id) {
  if (id >= 0x4000) return TileHeight(id);
  heightCache_[id] = uint8_t(TileHeight(id));
  heightKnown_[id >> 5] |= 1u << (id & 31);
  return heightCache_[id];
}

int TTAVIDoc::FloorTop(int floor) const {
  int top = 0;
  for (int y = 0; y < Height; ++y)
    for (int x = 0; x < Width; ++x) top = std::max(top, LayerCount[floor][y][x]);
  return std::min(top, kLayers);
}

int TTAVIDoc::CountParts() const {
  int count = 0;
  for (int f = 0; f < kFloors; ++f)
    for (int l = 0; l < kLayers; ++l)
      for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) {
          const uint16_t id = Tiles[f][l][y][x].Id;
          if (id != 0 && (Category(id) & kCatPart)) ++count;
        }
  return count;
}

void TTAVIDoc::Recalculate() {
  ResetCaches();
  // The same count as CountParts, through the per-check category cache.
  // Per id below 0x4000: 1 part, 0 not (empty entries included), 0xFF not
  // known yet. One table look-up per entry and no branch on the entry.
  std::memset(partState_, 0xFF, sizeof(partState_));
  partState_[0] = 0;
  int64_t count = 0;
  const int W = Width, H = Height;
  for (int f = 0; f < kFloors; ++f)
    for (int l = 0, top = FloorTop(f); l < top; ++l)
      for (int y = 0; y < H; ++y) {
        const TileEntry* row = Tiles[f][l][y];
        for (int x = 0; x < W; ++x) {
          const uint16_t id = row[x].Id;
          if (id >= 0x4000) {
            count += (CachedCategory(id) & kCatPart) ? 1 : 0;
            continue;
          }
          uint8_t part = partState_[id];
          if (part > 1) part = partState_[id] = (CachedCategory(id) & kCatPart) ? 1 : 0;
          count += part;
        }
      }
  const int64_t price = count * kPricePerPart;
  const char sep = host_->ThousandsSeparator();
  host_->SetPrice(price, FormatPriceLabel(price, sep),
                  FormatDeltaLabel(price, host_->ReferencePrice(), sep));
  if (host_->ShowCustomizePropriety()) CheckCustomization();
}

void TTAVIDoc::CheckCustomization() {
  Touch();  // the marks are drawn
  ResetCaches();
  const int W = Width, H = Height;

  // Every entry above the foundation starts marked; the foundation is proper.
  // No entry lies above a floor's highest stack, so the passes stop there.
  int top[kFloors];
  for (int f = 0; f < kFloors; ++f) {
    top[f] = FloorTop(f);
    for (int l = 0; l < top[f]; ++l)
      for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) Tiles[f][l][y][x].Mark = f == 0 ? kProper : kMarked;
  }

  auto cat = [this](const TileEntry& e) -> uint16_t { return e.Id ? CachedCategory(e.Id) : 0; };
  auto has = [](uint16_t c, uint16_t bits) { return (c & bits) == bits; };

  // The ground floor stands on the foundation: its inside freely, its west and
  // north lines only with pieces made for them. The front row never.
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      TileEntry& e = Tiles[1][0][y][x];
      const uint16_t c = cat(e);
      bool ok = false;
      if (y >= 1 && y <= H - 2)
        ok = x >= 1 ? (has(c, kCatPart) && !(c & kCatNeedsTall)) : has(c, kCatWestLine);
      else if (y == 0)
        ok = x >= 1 ? has(c, kCatNorthLine) : has(c, kCatWestLine | kCatNorthLine);
      if (ok) e.Mark = kProper;
    }

  uint16_t c0[kGrid][kGrid];
  int8_t inheritFrom[kGrid][kGrid];
  bool overStairs[kGrid][kGrid];
  int8_t wallLayer[kGrid][kGrid];
  uint16_t wallCat[kGrid][kGrid];
  bool wallSnap[kGrid][kGrid];

  for (int f = 1; f < kFloors; ++f) {
    FloorImage& T = Tiles[f];
    auto proper = [&T](int l, int y, int x) { return T[l][y][x].Mark == kProper; };
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) c0[y][x] = cat(T[0][y][x]);

    // Floor runs: a run of floor pieces between two proper ones is proper.
    for (bool changed = true; changed;) {
      changed = false;
      for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
          if (!proper(0, y, x) || !(c0[y][x] & kCatFloorKind)) continue;
          for (int nx = x + 1; nx < W && (c0[y][nx] & kCatFloorKind); ++nx)
            if (proper(0, y, nx)) {
              for (int k = x + 1; k < nx; ++k) T[0][y][k].Mark = kProper;
              changed |= nx > x + 1;
              break;
            }
          for (int ny = y + 1; ny < H && (c0[ny][x] & kCatFloorKind); ++ny)
            if (proper(0, ny, x)) {
              for (int k = y + 1; k < ny; ++k) T[0][k][x].Mark = kProper;
              changed |= ny > y + 1;
              break;
            }
        }
    }

    // A part lying directly on a proper floor piece.
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) {
        if (!proper(0, y, x) || !(c0[y][x] & kCatFloorKind)) continue;
        const uint16_t c1 = cat(T[1][y][x]);
        if ((c1 & kCatPart) && !(c1 & kCatNeedsTall)) T[1][y][x].Mark = kProper;
      }

    // The wall entry of a cell: the lowest of layers 0 and 1 that is a part
    // but not of the floor kind.
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) {
        wallLayer[y][x] = -1;
        wallCat[y][x] = 0;
        for (int l = 0; l < 2; ++l) {
          const uint16_t c = cat(T[l][y][x]);
          if ((c & kCatPart) && !(c & kCatFloorKind)) {
            wallLayer[y][x] = int8_t(l);
            wallCat[y][x] = c;
            break;
          }
        }
      }
    auto wallProper = [&](int y, int x) {
      return wallLayer[y][x] >= 0 && proper(wallLayer[y][x], y, x);
    };
    auto setWallProper = [&](int y, int x) { T[wallLayer[y][x]][y][x].Mark = kProper; };

    // Wall runs: joined pieces between two proper ones are proper.
    for (bool changed = true; changed;) {
      changed = false;
      for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
          if (!wallProper(y, x)) continue;
          if (wallCat[y][x] & kCatJoinEast) {
            for (int nx = x + 1; nx < W && wallLayer[y][nx] >= 0; ++nx) {
              if (!(wallCat[y][nx - 1] & kCatJoinEast) || !(wallCat[y][nx] & kCatJoinWest)) break;
              if (wallProper(y, nx)) {
                for (int k = x + 1; k < nx; ++k) setWallProper(y, k);
                changed |= nx > x + 1;
                break;
              }
            }
          }
          if (wallCat[y][x] & kCatJoinSouth) {
            for (int ny = y + 1; ny < H && wallLayer[ny][x] >= 0; ++ny) {
              if (!(wallCat[ny - 1][x] & kCatJoinSouth) || !(wallCat[ny][x] & kCatJoinNorth)) break;
              if (wallProper(ny, x)) {
                for (int k = y + 1; k < ny; ++k) setWallProper(k, x);
                changed |= ny > y + 1;
                break;
              }
            }
          }
        }
    }

    // One step of joining: a proper wall makes its joined neighbours proper. A
    // piece that needs a tall neighbour is only made proper by a full-height one.
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) wallSnap[y][x] = wallProper(y, x);
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) {
        if (!wallSnap[y][x]) continue;
        const uint16_t c = wallCat[y][x];
        const bool tall = c & kCatFullHeight;
        auto accepts = [&](int ny, int nx) { return tall || !(wallCat[ny][nx] & kCatNeedsTall); };
        if (x >= 1 && wallLayer[y][x - 1] >= 0 && (c & kCatJoinWest) &&
            (wallCat[y][x - 1] & kCatJoinEast) && accepts(y, x - 1))
          setWallProper(y, x - 1);
        if (x <= W - 2 && wallLayer[y][x + 1] >= 0 && (c & kCatJoinEast) &&
            (wallCat[y][x + 1] & kCatJoinWest) && (y >= 2 || (wallCat[y][x + 1] & kCatNorthLine)) &&
            accepts(y, x + 1))
          setWallProper(y, x + 1);
        if (y >= 1 && wallLayer[y - 1][x] >= 0 && (c & kCatJoinNorth) &&
            (wallCat[y - 1][x] & kCatJoinSouth) && accepts(y - 1, x))
          setWallProper(y - 1, x);
        if (y <= H - 2 && wallLayer[y + 1][x] >= 0 && (c & kCatJoinSouth) &&
            (wallCat[y + 1][x] & kCatJoinNorth) &&
            !(x < 2 && !(wallCat[y + 1][x] & kCatWestLine)) && accepts(y + 1, x))
          setWallProper(y + 1, x);
      }

    // What stands on a wall (or on a part without a wall) shares its mark;
    // ordinary items on an ordinary tile are never flagged.
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x)
        inheritFrom[y][x] = wallLayer[y][x] >= 0 ? wallLayer[y][x] : (c0[y][x] & kCatPart) ? 0 : -1;
    for (int l = 0; l < top[f]; ++l)
      for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
          const int from = inheritFrom[y][x];
          if (from < 0)
            T[l][y][x].Mark = kProper;
          else if (l > from)
            T[l][y][x].Mark = T[from][y][x].Mark;
        }

    // Nothing may stand over a staircase of the floor below.
    if (f >= 2) {
      const FloorImage& B = Tiles[f - 1];
      bool any = false;
      std::memset(overStairs, 0, sizeof(overStairs));
      for (int l = 0; l < top[f - 1]; ++l)
        for (int y = 0; y < H; ++y)
          for (int x = 0; x < W; ++x) {
            const uint16_t id = B[l][y][x].Id;
            if (id != 0 && (CachedCategory(id) & kCatStairs)) any = overStairs[y][x] = true;
          }
      if (any)
        for (int l = 0; l < top[f]; ++l)
          for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
              if (overStairs[y][x]) T[l][y][x].Mark = kMarked;
    }

    if (f == kFloors - 1) break;

    // Proper full-height walls carry the floor above.
    FloorImage& N = Tiles[f + 1];
    auto properIfFloor = [&](int y, int x) {
      if (cat(N[0][y][x]) & kCatFloorKind) N[0][y][x].Mark = kProper;
    };
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) {
        if (!wallProper(y, x) || !(wallCat[y][x] & kCatFullHeight)) continue;
        TileEntry& e = N[0][y][x];
        if (e.Id != 0) {
          const uint16_t ce = cat(e);
          if ((x == 0 && !(ce & kCatWestLine)) || (y == 0 && !(ce & kCatNorthLine))) continue;
          if (ce & kCatFloorKind) {
            e.Mark = kProper;
            if (x > 1) properIfFloor(y, x - 1);
            if (x < W - 1) properIfFloor(y, x + 1);
            if (y > 1) properIfFloor(y - 1, x);
            if (y < H - 2) properIfFloor(y + 1, x);
            continue;
          }
          e.Mark = kProper;
        }
        if ((wallCat[y][x] & kCatCarryEast) && x < W - 1) properIfFloor(y, x + 1);
        if ((wallCat[y][x] & kCatCarrySouth) && y < H - 2) properIfFloor(y + 1, x);
      }

    // Headroom: nothing may stick up through the part lying over it.
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) {
        const TileEntry& above = N[0][y][x];
        if (!(cat(above) & kCatPart)) continue;
        for (int l = 0; l < kLayers && T[l][y][x].Id != 0; ++l) {
          TileEntry& e = T[l][y][x];
          if (e.Z + CachedHeight(e.Id) - 20 > above.Z) e.Mark = kMarked;
        }
      }
  }
}

}  // namespace tavi
