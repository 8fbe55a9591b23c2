#include "document/rule_check.h"

#include <cstring>

#include "document/house_document.h"
#include "document/tile_fact_cache.h"

namespace tavi {

namespace {

constexpr uint16_t kMarked = 1;
constexpr uint16_t kProper = 0;

// What every pass reads: the floors, the plot, each floor's highest stack
// (no entry lies above it, so the passes stop there) and the tile facts.
struct House {
  FloorImage* floors;
  int W, H;
  int top[kFloors];
  TileFactCache& facts;

  uint16_t Cat(const TileEntry& e) const { return e.Id ? facts.Category(e.Id) : 0; }
  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < W && y < H; }
};

// The pieces of one floor the passes look at: the category of each cell's
// layer-0 entry, and its wall entry, the lowest of layers 0 and 1 that is a
// part but not of the floor kind (layer -1: the cell has none). Categories do
// not change during a check, so this is read once per floor.
struct FloorParts {
  uint16_t ground[kGrid][kGrid];
  int8_t wallLayer[kGrid][kGrid];
  uint16_t wallCat[kGrid][kGrid];

  bool HasWall(int x, int y) const { return wallLayer[y][x] >= 0; }
};

FloorParts ReadFloor(House& h, int f) {
  FloorParts p;
  const FloorImage& T = h.floors[f];
  for (int y = 0; y < h.H; ++y)
    for (int x = 0; x < h.W; ++x) {
      p.ground[y][x] = h.Cat(T[0][y][x]);
      p.wallLayer[y][x] = -1;
      p.wallCat[y][x] = 0;
      for (int l = 0; l < 2; ++l) {
        const uint16_t c = l == 0 ? p.ground[y][x] : h.Cat(T[1][y][x]);
        if ((c & kCatPart) && !(c & kCatFloorKind)) {
          p.wallLayer[y][x] = int8_t(l);
          p.wallCat[y][x] = c;
          break;
        }
      }
    }
  return p;
}

bool IsProper(const TileEntry& e) {
  return e.Mark == kProper;
}
bool WallProper(const FloorImage& T, const FloorParts& p, int x, int y) {
  return p.HasWall(x, y) && IsProper(T[p.wallLayer[y][x]][y][x]);
}
void MakeWallProper(FloorImage& T, const FloorParts& p, int x, int y) {
  T[p.wallLayer[y][x]][y][x].Mark = kProper;
}

// Walks from (x, y) one cell at a time in direction (dx, dy), east or south,
// while `joined(from, to)` lets it go on; at the first proper cell, makes the
// cells passed over proper. True when there were any.
template <typename Joined, typename Proper, typename MakeProper>
bool CloseRun(const House& h, int x, int y, int dx, int dy, Joined joined, Proper proper,
              MakeProper makeProper) {
  int n = 1;
  for (;; ++n) {
    const int px = x + (n - 1) * dx, py = y + (n - 1) * dy;
    const int nx = px + dx, ny = py + dy;
    if (nx >= h.W || ny >= h.H || !joined(px, py, nx, ny)) return false;
    if (proper(nx, ny)) break;
  }
  for (int k = 1; k < n; ++k) makeProper(x + k * dx, y + k * dy);
  return n > 1;
}

// Every entry above the foundation starts marked; the foundation is proper.
void StartMarks(House& h) {
  for (int f = 0; f < kFloors; ++f)
    for (int l = 0; l < h.top[f]; ++l)
      for (int y = 0; y < h.H; ++y)
        for (int x = 0; x < h.W; ++x) h.floors[f][l][y][x].Mark = f == 0 ? kProper : kMarked;
}

// The ground floor stands on the foundation: its inside freely, except pieces
// that need a tall neighbour; its west and north lines only with pieces made
// for them; the front row never.
void GroundFloor(House& h) {
  for (int y = 0; y < h.H; ++y)
    for (int x = 0; x < h.W; ++x) {
      TileEntry& e = h.floors[1][0][y][x];
      const uint16_t c = h.Cat(e);
      auto has = [c](uint16_t bits) { return (c & bits) == bits; };
      bool ok = false;
      if (y >= 1 && y <= h.H - 2)
        ok = x >= 1 ? (has(kCatPart) && !(c & kCatNeedsTall)) : has(kCatWestLine);
      else if (y == 0)
        ok = x >= 1 ? has(kCatNorthLine) : has(kCatWestLine | kCatNorthLine);
      if (ok) e.Mark = kProper;
    }
}

// A run of floor pieces between two proper ones is proper, eastwards along a
// row and southwards along a column. Runs made proper late in a pass can
// complete runs seen earlier, so the pass repeats until nothing changes; it
// ends because it only ever clears marks.
void FloorRuns(House& h, int f, const FloorParts& p) {
  FloorImage& T = h.floors[f];
  auto floorKind = [&p](int, int, int x, int y) { return (p.ground[y][x] & kCatFloorKind) != 0; };
  auto proper = [&T](int x, int y) { return IsProper(T[0][y][x]); };
  auto makeProper = [&T](int x, int y) { T[0][y][x].Mark = kProper; };
  for (bool changed = true; changed;) {
    changed = false;
    for (int y = 0; y < h.H; ++y)
      for (int x = 0; x < h.W; ++x) {
        if (!proper(x, y) || !(p.ground[y][x] & kCatFloorKind)) continue;
        changed |= CloseRun(h, x, y, 1, 0, floorKind, proper, makeProper);
        changed |= CloseRun(h, x, y, 0, 1, floorKind, proper, makeProper);
      }
  }
}

// A part lying directly on a proper floor piece is proper, unless it needs a
// tall neighbour.
void PartsOnFloors(House& h, int f, const FloorParts& p) {
  FloorImage& T = h.floors[f];
  for (int y = 0; y < h.H; ++y)
    for (int x = 0; x < h.W; ++x) {
      if (!IsProper(T[0][y][x]) || !(p.ground[y][x] & kCatFloorKind)) continue;
      const uint16_t c1 = h.Cat(T[1][y][x]);
      if ((c1 & kCatPart) && !(c1 & kCatNeedsTall)) T[1][y][x].Mark = kProper;
    }
}

// Joined wall pieces between two proper ones are proper: eastwards while each
// piece joins east and the next joins west, southwards while each joins south
// and the next joins north. Repeats until nothing changes, as the floor runs.
void WallRuns(House& h, int f, const FloorParts& p) {
  FloorImage& T = h.floors[f];
  auto joinedEast = [&p](int px, int py, int nx, int ny) {
    return p.HasWall(nx, ny) && (p.wallCat[py][px] & kCatJoinEast) &&
           (p.wallCat[ny][nx] & kCatJoinWest);
  };
  auto joinedSouth = [&p](int px, int py, int nx, int ny) {
    return p.HasWall(nx, ny) && (p.wallCat[py][px] & kCatJoinSouth) &&
           (p.wallCat[ny][nx] & kCatJoinNorth);
  };
  auto proper = [&T, &p](int x, int y) { return WallProper(T, p, x, y); };
  auto makeProper = [&T, &p](int x, int y) { MakeWallProper(T, p, x, y); };
  for (bool changed = true; changed;) {
    changed = false;
    for (int y = 0; y < h.H; ++y)
      for (int x = 0; x < h.W; ++x) {
        if (!proper(x, y)) continue;
        changed |= CloseRun(h, x, y, 1, 0, joinedEast, proper, makeProper);
        changed |= CloseRun(h, x, y, 0, 1, joinedSouth, proper, makeProper);
      }
  }
}

// The four sides of a wall piece, in the order the neighbour step takes them:
// the join bit a piece needs towards that side, and the one its neighbour
// there needs back.
struct Side {
  int dx, dy;
  uint16_t join, joinBack;
};
constexpr Side kSides[] = {
    {-1, 0, kCatJoinWest, kCatJoinEast},    // west
    {1, 0, kCatJoinEast, kCatJoinWest},     // east
    {0, -1, kCatJoinNorth, kCatJoinSouth},  // north
    {0, 1, kCatJoinSouth, kCatJoinNorth},   // south
};

// Whether a wall piece may join the neighbour `n` on `side`: the joins match;
// a neighbour east of a piece in the first two rows must be made for the north
// line, one south of a piece in the first two columns for the west line; and
// a neighbour that needs a tall piece is only joined by a full-height one.
bool Joins(uint16_t c, uint16_t n, const Side& side, int x, int y) {
  if (!(c & side.join) || !(n & side.joinBack)) return false;
  if (side.dx > 0 && y < 2 && !(n & kCatNorthLine)) return false;
  if (side.dy > 0 && x < 2 && !(n & kCatWestLine)) return false;
  return (c & kCatFullHeight) || !(n & kCatNeedsTall);
}

// One step of joining: every wall proper at the start of the pass makes its
// joined neighbours proper.
void NeighbourStep(House& h, int f, const FloorParts& p) {
  FloorImage& T = h.floors[f];
  bool wasProper[kGrid][kGrid];
  for (int y = 0; y < h.H; ++y)
    for (int x = 0; x < h.W; ++x) wasProper[y][x] = WallProper(T, p, x, y);
  for (int y = 0; y < h.H; ++y)
    for (int x = 0; x < h.W; ++x) {
      if (!wasProper[y][x]) continue;
      for (const Side& side : kSides) {
        const int nx = x + side.dx, ny = y + side.dy;
        if (h.Inside(nx, ny) && p.HasWall(nx, ny) &&
            Joins(p.wallCat[y][x], p.wallCat[ny][nx], side, x, y))
          MakeWallProper(T, p, nx, ny);
      }
    }
}

// What stands on a wall, or on a part in a cell without a wall, shares its
// mark; ordinary items on an ordinary tile are never flagged.
void StackInheritance(House& h, int f, const FloorParts& p) {
  FloorImage& T = h.floors[f];
  int8_t from[kGrid][kGrid];  // the layer a cell's stack takes its mark from; -1: proper
  for (int y = 0; y < h.H; ++y)
    for (int x = 0; x < h.W; ++x)
      from[y][x] = p.HasWall(x, y) ? p.wallLayer[y][x] : (p.ground[y][x] & kCatPart) ? 0 : -1;
  for (int l = 0; l < h.top[f]; ++l)
    for (int y = 0; y < h.H; ++y)
      for (int x = 0; x < h.W; ++x) {
        const int source = from[y][x];
        if (source < 0)
          T[l][y][x].Mark = kProper;
        else if (l > source)
          T[l][y][x].Mark = T[source][y][x].Mark;
      }
}

// Nothing may stand over a staircase of the floor below: every entry of such
// a cell is marked.
void OverStairs(House& h, int f) {
  const FloorImage& below = h.floors[f - 1];
  bool stairs[kGrid][kGrid];
  bool any = false;
  std::memset(stairs, 0, sizeof(stairs));
  for (int l = 0; l < h.top[f - 1]; ++l)
    for (int y = 0; y < h.H; ++y)
      for (int x = 0; x < h.W; ++x) {
        const uint16_t id = below[l][y][x].Id;
        if (id != 0 && (h.facts.Category(id) & kCatStairs)) any = stairs[y][x] = true;
      }
  if (!any) return;
  FloorImage& T = h.floors[f];
  for (int l = 0; l < h.top[f]; ++l)
    for (int y = 0; y < h.H; ++y)
      for (int x = 0; x < h.W; ++x)
        if (stairs[y][x]) T[l][y][x].Mark = kMarked;
}

// Makes the layer-0 entry of floor f + 1 at (x, y) proper when it is of the
// floor kind.
void ProperIfFloor(const House& h, FloorImage& N, int x, int y) {
  if (h.Cat(N[0][y][x]) & kCatFloorKind) N[0][y][x].Mark = kProper;
}

// The layer-0 entry of floor f + 1 over a carrying wall at (x, y): proper
// unless it lies on the west or north line without being made for it; a floor
// piece also makes the floor pieces beside it proper. True when the wall's own
// carrying east and south still applies: the cell above is empty or holds a
// proper piece that is not of the floor kind.
bool CarryEntryAbove(const House& h, FloorImage& N, int x, int y) {
  TileEntry& e = N[0][y][x];
  if (e.Id == 0) return true;
  const uint16_t c = h.Cat(e);
  if ((x == 0 && !(c & kCatWestLine)) || (y == 0 && !(c & kCatNorthLine))) return false;
  e.Mark = kProper;
  if (!(c & kCatFloorKind)) return true;
  if (x > 1) ProperIfFloor(h, N, x - 1, y);
  if (x < h.W - 1) ProperIfFloor(h, N, x + 1, y);
  if (y > 1) ProperIfFloor(h, N, x, y - 1);
  if (y < h.H - 2) ProperIfFloor(h, N, x, y + 1);
  return false;
}

// Proper full-height walls of floor f carry the layer-0 entries of floor
// f + 1 above them: a piece on the west or north line only when made for it,
// a floor piece together with the floor pieces beside it. Walls that carry
// east or south also carry the floor piece on that side.
void Carrying(House& h, int f, const FloorParts& p) {
  const FloorImage& T = h.floors[f];
  FloorImage& N = h.floors[f + 1];
  for (int y = 0; y < h.H; ++y)
    for (int x = 0; x < h.W; ++x) {
      const uint16_t wall = p.wallCat[y][x];
      if (!WallProper(T, p, x, y) || !(wall & kCatFullHeight)) continue;
      if (!CarryEntryAbove(h, N, x, y)) continue;
      if ((wall & kCatCarryEast) && x < h.W - 1) ProperIfFloor(h, N, x + 1, y);
      if ((wall & kCatCarrySouth) && y < h.H - 2) ProperIfFloor(h, N, x, y + 1);
    }
}

// Headroom: in a cell whose layer-0 entry on floor f + 1 is a part, every
// entry of floor f's stack whose top, measured from the next floor's base,
// lies above that part's altitude is marked.
void Headroom(House& h, int f) {
  FloorImage& T = h.floors[f];
  const FloorImage& N = h.floors[f + 1];
  for (int y = 0; y < h.H; ++y)
    for (int x = 0; x < h.W; ++x) {
      if (!(h.Cat(N[0][y][x]) & kCatPart)) continue;
      const int partZ = N[0][y][x].Z;
      for (int l = 0; l < kLayers && T[l][y][x].Id != 0; ++l) {
        TileEntry& e = T[l][y][x];
        if (e.Z + h.facts.Height(e.Id) - 20 > partZ) e.Mark = kMarked;
      }
    }
}

}  // namespace

void CheckRules(TTAVIDoc& doc, TileFactCache& facts) {
  facts.Reset(doc.Facts());
  House h{doc.Tiles, doc.Width, doc.Height, {}, facts};
  for (int f = 0; f < kFloors; ++f) h.top[f] = doc.FloorTop(f);

  StartMarks(h);
  GroundFloor(h);
  for (int f = 1; f < kFloors; ++f) {
    const FloorParts parts = ReadFloor(h, f);
    FloorRuns(h, f, parts);
    PartsOnFloors(h, f, parts);
    WallRuns(h, f, parts);
    NeighbourStep(h, f, parts);
    StackInheritance(h, f, parts);
    if (f >= 2) OverStairs(h, f);
    if (f + 1 < kFloors) {
      Carrying(h, f, parts);
      Headroom(h, f);
    }
  }
}

}  // namespace tavi
