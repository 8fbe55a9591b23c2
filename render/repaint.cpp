#include "render/repaint.h"

#include <algorithm>
#include <cmath>

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
         a.LargeBG == b.LargeBG && a.Projection == b.Projection && a.Zoom == b.Zoom &&
         a.ScrollX == b.ScrollX && a.ScrollY == b.ScrollY;
}

PixelRect Union(const PixelRect& a, const PixelRect& b) {
  if (a.Empty()) return b;
  if (b.Empty()) return a;
  return {std::min(a.X0, b.X0), std::min(a.Y0, b.Y0), std::max(a.X1, b.X1), std::max(a.Y1, b.Y1)};
}

// Adds the rectangles of the items of `floor` in the given cells.
void AddCellRects(const DrawList& list, int floor, const std::vector<uint8_t>& changed,
                  IArtSource* art, const RasterView& view, std::vector<PixelRect>* perCell) {
  for (const DrawItem& it : list.Items) {
    if (it.Floor != floor || it.Cell < 0 || !changed[size_t(it.Cell)]) continue;
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

bool SameBasis(const FrameBasis& a, const FrameBasis& b) {
  return a.Valid && b.Valid && a.Doc == b.Doc && a.Revision == b.Revision &&
         a.TileData == b.TileData && SameViewBasis(a.State, b.State) && a.Ground == b.Ground &&
         a.View.Width == b.View.Width && a.View.Height == b.View.Height &&
         a.View.Zoom == b.View.Zoom && a.View.ScrollX == b.View.ScrollX &&
         a.View.ScrollY == b.View.ScrollY;
}

RepaintPlan PlanRepaint(const FrameBasis& lastBasis, const DrawList& last,
                        const SceneMarks& lastMarks, const FrameBasis& basis, const DrawList& next,
                        const SceneMarks& marks, IArtSource* art) {
  RepaintPlan plan;
  if (!SameBasis(lastBasis, basis) || lastMarks.Floor != marks.Floor) return plan;
  std::vector<int> cells;
  ChangedCells(lastMarks, marks, &cells);
  plan.Full = false;
  if (cells.empty()) return plan;
  std::vector<uint8_t> changed(kGrid * kGrid, 0);
  for (int c : cells) changed[size_t(c)] = 1;
  std::vector<PixelRect> perCell(kGrid * kGrid);
  AddCellRects(last, marks.Floor, changed, art, basis.View, &perCell);
  AddCellRects(next, marks.Floor, changed, art, basis.View, &perCell);
  // Rectangles that overlap become one; past a handful, everything is one.
  constexpr size_t kMaxRects = 8;
  std::vector<PixelRect>& rects = plan.Rects;
  for (int c : cells) {
    PixelRect r = perCell[size_t(c)];
    if (r.Empty()) continue;
    for (bool merged = true; merged;) {
      merged = false;
      for (size_t i = 0; i < rects.size(); ++i)
        if (rects[i].Overlaps(r)) {
          r = Union(r, rects[i]);
          rects.erase(rects.begin() + std::ptrdiff_t(i));
          merged = true;
          break;
        }
    }
    rects.push_back(r);
    if (rects.size() > kMaxRects) {
      PixelRect all;
      for (const PixelRect& x : rects) all = Union(all, x);
      rects.assign(1, all);
    }
  }
  int64_t area = 0;
  for (const PixelRect& r : rects) area += r.Area();
  if (area > kMostOfTheView * double(basis.View.Width) * basis.View.Height) {
    plan.Full = true;
    plan.Rects.clear();
  }
  return plan;
}

}  // namespace tavi
