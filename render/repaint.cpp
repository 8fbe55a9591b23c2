#include "render/repaint.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace tavi {

namespace {

bool SameSwitches(const ViewSwitches& a, const ViewSwitches& b) {
  return a.HideWalls == b.HideWalls && a.ShowGrid == b.ShowGrid &&
         a.ShowDownstairs == b.ShowDownstairs && a.ShowCustomize == b.ShowCustomize &&
         a.Night == b.Night;
}

// The fields of the view state that may change more than the marked cells.
// (The others: Alt, CurrentTile, the stairs, the hover cell and layer,
// Shift, the carried tile and the selection.)
bool SameViewBasis(const ViewState& a, const ViewState& b) {
  return a.CurrentFloor == b.CurrentFloor && a.BaseHeight == b.BaseHeight &&
         a.EditMode == b.EditMode && a.HiddenCells == b.HiddenCells &&
         SameSwitches(a.View, b.View) && a.BackgroundMap == b.BackgroundMap &&
         a.LargeBG == b.LargeBG && a.Projection == b.Projection && a.Zoom == b.Zoom;
}

// The parts of a view state that the marked cells show: the preview's
// inputs while there is one, the pointed entry while Shift points, the
// selection outside the Immediate mode. Fields that draw nothing stay at
// their defaults.
struct DrawnMarks {
  int Preview = 0;  // 1 automatic stairs, 2 the current tile, 3 the carried tile
  int X = -1, Y = -1, A = 0, B = 0;
  bool Pointing = false;
  int PointX = -1, PointY = -1, PointLayer = 0;
  CellRect Selection;
  bool operator==(const DrawnMarks& o) const {
    return Preview == o.Preview && X == o.X && Y == o.Y && A == o.A && B == o.B &&
           Pointing == o.Pointing && PointX == o.PointX && PointY == o.PointY &&
           PointLayer == o.PointLayer && Selection.Left == o.Selection.Left &&
           Selection.Top == o.Selection.Top && Selection.Right == o.Selection.Right &&
           Selection.Bottom == o.Selection.Bottom;
  }
};

// The same conditions as the scene's (render/scene.cpp, BuildScene and DrawFloor).
DrawnMarks MarksOf(const ViewState& s, const TTAVIDoc* doc) {
  DrawnMarks m;
  const bool hover = s.HoverX != -1 && doc && doc->InPlot(s.HoverX, s.HoverY);
  if (hover && !s.ShiftDown && s.EditMode == kModeImmediate) {
    m.Preview = s.AutoStairs ? 1 : 2;
    m.A = s.AutoStairs ? s.StairsDirection : s.Alt;
    m.B = s.AutoStairs ? s.StairsRow : s.CurrentTile;
  } else if (hover && s.EditMode == kModeInner && s.CarriedId != 0) {
    m.Preview = 3;
    m.A = s.Alt;
    m.B = s.CarriedId;
  }
  if (m.Preview) m.X = s.HoverX, m.Y = s.HoverY;
  if (s.ShiftDown && s.EditMode == kModeImmediate) {
    m.Pointing = true;
    m.PointX = s.HoverX, m.PointY = s.HoverY, m.PointLayer = s.HoverLayer;
  }
  if (s.EditMode != kModeImmediate && !s.Selection.Empty()) m.Selection = s.Selection;
  return m;
}

PixelRect Union(const PixelRect& a, const PixelRect& b) {
  if (a.Empty()) return b;
  if (b.Empty()) return a;
  return {std::min(a.X0, b.X0), std::min(a.Y0, b.Y0), std::max(a.X1, b.X1), std::max(a.Y1, b.Y1)};
}

// Adds the rectangles of the items in the changed cells: bit f of a cell's
// entry in `changed` stands for floor f.
void AddCellRects(const DrawList& list, const std::vector<uint8_t>& changed, IArtSource* art,
                  const RasterView& view, std::vector<PixelRect>* perCell) {
  for (const DrawItem& it : list.Items) {
    if (it.Cell < 0 || it.Floor < 0 || !(changed[size_t(it.Cell)] >> it.Floor & 1)) continue;
    int w = kCellPixels, h = kCellPixels;
    if (it.Kind == DrawKind::kTile && (!art || !art->PictureSize(it.Art, &w, &h))) continue;
    PixelRect& r = (*perCell)[size_t(it.Cell)];
    r = Union(r, ItemPixels(it, w, h, view));
  }
}

}  // namespace

PixelRect ItemPixels(const DrawItem& it, int w, int h, const RasterView& view) {
  if (w <= 0 || h <= 0) return {};
  double left = it.X, top = it.Y;
  if (it.Kind == DrawKind::kTile) {
    const QuadRect q = TileRect(it.X, it.Y, w, h);
    left = q.Left;
    top = q.Top;
  }
  PixelRect r;
  r.X0 = int(std::floor(left * view.Zoom - view.ScrollX)) - 1;
  r.Y0 = int(std::floor(top * view.Zoom - view.ScrollY)) - 1;
  r.X1 = int(std::ceil((left + w) * view.Zoom - view.ScrollX)) + 1;
  r.Y1 = int(std::ceil((top + h) * view.Zoom - view.ScrollY)) + 1;
  r.X0 = std::max(r.X0, 0);
  r.Y0 = std::max(r.Y0, 0);
  r.X1 = std::min(r.X1, view.Width);
  r.Y1 = std::min(r.Y1, view.Height);
  return r;
}

void FrameBasis::Set(const TTAVIDoc* doc, const void* tileData, const ViewState& state,
                     const RasterView& view) {
  Valid = true;
  Doc = doc;
  Revision = doc ? doc->Revision() : 0;
  TileData = tileData;
  State = state;
  Ground.clear();
  if (state.BackgroundMap)
    for (const auto& row : *state.BackgroundMap)
      Ground.insert(Ground.end(), row.begin(), row.end());
  View = view;
}

namespace {

// A region of most of the view is drawn whole.
RepaintPlan Finish(RepaintPlan& plan, const RasterView& view) {
  int64_t area = 0;
  for (const PixelRect& r : plan.Rects) area += r.Area();
  if (area > kMostOfTheView * double(view.Width) * view.Height) {
    plan.Full = true;
    plan.MoveX = plan.MoveY = 0;
    plan.Rects.clear();
  }
  return plan;
}

bool SameLights(const DrawList& a, const DrawList& b) {
  if (a.Night != b.Night || a.Lights.size() != b.Lights.size()) return false;
  for (size_t i = 0; i < a.Lights.size(); ++i) {
    const DrawLight &p = a.Lights[i], &q = b.Lights[i];
    if (p.X != q.X || p.Y != q.Y || p.Radius != q.Radius || p.R != q.R || p.G != q.G || p.B != q.B)
      return false;
  }
  return true;
}

}  // namespace

namespace {

// Equal but for the house's revision and the scroll.
bool SameBasisButHouseAndScroll(const FrameBasis& a, const FrameBasis& b) {
  return a.Valid && b.Valid && a.Doc == b.Doc && a.TileData == b.TileData &&
         SameViewBasis(a.State, b.State) && a.Ground == b.Ground && a.View.Width == b.View.Width &&
         a.View.Height == b.View.Height && a.View.Zoom == b.View.Zoom;
}

bool SameScroll(const FrameBasis& a, const FrameBasis& b) {
  return a.State.ScrollX == b.State.ScrollX && a.State.ScrollY == b.State.ScrollY &&
         a.View.ScrollX == b.View.ScrollX && a.View.ScrollY == b.View.ScrollY;
}

}  // namespace

bool SameBasis(const FrameBasis& a, const FrameBasis& b) {
  return SameBasisButHouse(a, b) && a.Revision == b.Revision;
}

bool SameBasisButHouse(const FrameBasis& a, const FrameBasis& b) {
  return SameBasisButHouseAndScroll(a, b) && SameScroll(a, b);
}

bool SameDrawing(const ViewState& a, const ViewState& b, const TTAVIDoc* doc) {
  return SameViewBasis(a, b) && a.ScrollX == b.ScrollX && a.ScrollY == b.ScrollY &&
         MarksOf(a, doc) == MarksOf(b, doc);
}

namespace {

// The strips a scroll by (moveX, moveY) brings into a view of w x h.
void AddStrips(int moveX, int moveY, int w, int h, std::vector<PixelRect>* rects) {
  if (moveX > 0) rects->push_back({w - moveX, 0, w, h});
  if (moveX < 0) rects->push_back({0, 0, -moveX, h});
  if (moveY > 0) rects->push_back({0, h - moveY, w, h});
  if (moveY < 0) rects->push_back({0, 0, w, -moveY});
}

// The floors to draw again in each cell (bit f for floor f): the marked
// floor where the marks changed; where the house changed, the floor changed
// and the one over it, whose look depends on the floor below (Show Downstair
// walls).
std::vector<uint8_t> ChangedFloors(const std::vector<int>& markCells, int markFloor,
                                   const std::vector<int>& houseCells) {
  std::vector<uint8_t> changed(kGrid * kGrid, 0);
  if (markFloor >= 0 && markFloor < kFloors)
    for (int c : markCells) changed[size_t(c)] |= uint8_t(1u << markFloor);
  for (int c : houseCells) {
    const int f = c / (kGrid * kGrid);
    changed[size_t(c % (kGrid * kGrid))] |= uint8_t(3u << f);
  }
  return changed;
}

// Adds a rectangle; rectangles that overlap become one, and past a handful,
// everything is one.
void AddMerged(PixelRect r, std::vector<PixelRect>* rects) {
  constexpr size_t kMaxRects = 8;
  for (bool merged = true; merged;) {
    merged = false;
    for (size_t i = 0; i < rects->size(); ++i)
      if ((*rects)[i].Overlaps(r)) {
        r = Union(r, (*rects)[i]);
        rects->erase(rects->begin() + std::ptrdiff_t(i));
        merged = true;
        break;
      }
  }
  rects->push_back(r);
  if (rects->size() > kMaxRects) {
    PixelRect all;
    for (const PixelRect& x : *rects) all = Union(all, x);
    rects->assign(1, all);
  }
}

}  // namespace

RepaintPlan PlanRepaint(const FrameBasis& lastBasis, const DrawList& last,
                        const SceneMarks& lastMarks, const FrameBasis& basis, const DrawList& next,
                        const SceneMarks& marks, IArtSource* art, bool canMove) {
  RepaintPlan plan;
  if (!SameBasisButHouseAndScroll(lastBasis, basis) || lastMarks.Floor != marks.Floor) return plan;
  const int moveX = basis.View.ScrollX - lastBasis.View.ScrollX;
  const int moveY = basis.View.ScrollY - lastBasis.View.ScrollY;
  const int w = basis.View.Width, h = basis.View.Height;
  if (!SameScroll(lastBasis, basis)) {
    // A scroll moves the pixels already drawn (by whole pixels, in the day:
    // the night's shading is not moved) and draws the strips that came into view.
    if (!canMove || next.Night || std::abs(moveX) >= w || std::abs(moveY) >= h) return plan;
    plan.MoveX = moveX;
    plan.MoveY = moveY;
  }
  std::vector<int> houseCells;
  // The house changed: in the cells the document tells, unless it cannot
  // (then anything may look different), and the night's lights, which
  // depend on the cells around, must not have moved.
  if (lastBasis.Revision != basis.Revision &&
      (!basis.Doc || !basis.Doc->ChangedCellsSince(lastBasis.Revision, &houseCells) ||
       !SameLights(last, next)))
    return plan;
  std::vector<int> cells;
  ChangedCells(lastMarks, marks, &cells);
  plan.Full = false;
  AddStrips(moveX, moveY, w, h, &plan.Rects);
  if (cells.empty() && houseCells.empty()) return Finish(plan, basis.View);
  const std::vector<uint8_t> changed = ChangedFloors(cells, marks.Floor, houseCells);
  std::vector<PixelRect> perCell(kGrid * kGrid);
  AddCellRects(last, changed, art, basis.View, &perCell);
  AddCellRects(next, changed, art, basis.View, &perCell);
  for (int c = 0; c < kGrid * kGrid; ++c)
    if (changed[size_t(c)] && !perCell[size_t(c)].Empty())
      AddMerged(perCell[size_t(c)], &plan.Rects);
  return Finish(plan, basis.View);
}

}  // namespace tavi
