#include "render/scene.h"

#include <cstring>
#include <memory>

#include "render/projection.h"

namespace tavi {

namespace {

constexpr DrawColor kWhite{1, 1, 1, 1};
constexpr DrawColor kGridColor{0.5f, 0, 1, 0.5f};
constexpr DrawColor kDownstairColor{0, 1, 0, 1};
constexpr DrawColor kMarkColor{1, 0.5f, 0, 1};
constexpr DrawColor kPointedColor{1, 0, 0, 1};
constexpr DrawColor kSelectedColor{1, 1, 0, 1};

bool InSelection(const CellRect& s, int x, int y) {
  return !s.Empty() && x >= s.Left && x <= s.Right && y >= s.Top && y <= s.Bottom;
}

int ClampFloor(int f) {
  return f < 0 ? 0 : (f >= kFloors ? kFloors - 1 : f);
}

// The scratch floor of the live preview; one per thread, allocated once.
struct ScratchBlock {
  FloorImage Tiles;
};
FloorImage& ScratchFloor() {
  thread_local std::unique_ptr<ScratchBlock> scratch(new ScratchBlock);
  return scratch->Tiles;
}

void DrawGround(const TTAVIDoc& doc, const ViewState& s, DrawList* out) {
  if (!s.BackgroundMap) return;
  const TBackgroundMap& map = *s.BackgroundMap;
  int w = doc.Width, h = doc.Height;
  int y0 = 0, y1 = h, x0 = 0, x1 = w, dy = 0, dx = 0;
  if (s.LargeBG) {  // four times the plot each way, the plot in the middle
    y0 = -2 * h, y1 = 2 * h, x0 = -2 * w, x1 = 2 * w, dy = 2 * h, dx = 2 * w;
  }
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) {
      DrawItem it;
      it.Kind = DrawKind::kTile;
      it.Ground = true;
      it.Art = map[y + dy][x + dx];
      ScenePoint a = CellAnchor(x, y, h);
      it.X = a.X;
      it.Y = a.Y;
      out->Items.push_back(it);
    }
}

void DrawSelectionOutlines(const TTAVIDoc& doc, const ViewState& s, int cur, int base,
                           DrawList* out) {
  const CellRect& sel = s.Selection;
  if (s.EditMode == kModeImmediate || sel.Empty() || sel.Top < 0) return;
  int lift = FloorBase(cur, s.BaseHeight) * kAltitudePixels;
  for (int y = sel.Top; y <= sel.Bottom && y < doc.Height; ++y)
    for (int x = sel.Left; x <= sel.Right && x < doc.Width; ++x) {
      ScenePoint a;
      if (s.Projection && x < s.Projection->PlotWidth() && y < s.Projection->PlotHeight()) {
        a = s.Projection->Anchor(cur, x, y);
      } else {
        a = CellAnchor(x, y, doc.Height);
        a.Y -= lift;
      }
      DrawItem it;
      it.Kind = DrawKind::kOutline;
      it.X = a.X;
      it.Y = a.Y;
      it.Key = DepthKey(x, y, 0, 0, base);
      it.Color = kSelectedColor;
      it.Cell = int16_t(y * kGrid + x);
      it.Floor = int8_t(cur);
      out->Items.push_back(it);
    }
}

// The drawing of one floor: what it decides once for all its cells, and the
// name of the last entry drawn (a grid diamond reports the name loaded before
// it).
class FloorDrawing {
 public:
  FloorDrawing(const TTAVIDoc& doc, int base, bool isCurrent, int f, const ViewState& s,
               DrawList* out)
      : doc_(doc),
        s_(s),
        out_(out),
        w_(doc.Width),
        h_(doc.Height),
        base_(base),
        f_(f),
        isCurrent_(isCurrent),
        grid_(isCurrent && s.View.ShowGrid),
        hideWalls_(isCurrent && s.View.HideWalls),
        pointing_(isCurrent && s.ShiftDown && s.EditMode == kModeImmediate),
        selecting_(isCurrent && s.EditMode != kModeImmediate) {}

  // The grid diamond (inner cells only) and the stack of one cell.
  void Cell(const FloorImage& tiles, int x, int y) {
    const ScenePoint a = CellAnchor(x, y, h_);
    if (grid_ && x > 0 && x < w_ - 1 && y > 0 && y < h_ - 1) GridDiamond(x, y, a);
    if (isCurrent_ && s_.IsHidden(x, y)) return;
    Stack(tiles, x, y, a);
  }

 private:
  void GridDiamond(int x, int y, ScenePoint a) {
    DrawItem it;
    it.Kind = DrawKind::kCell;
    it.X = a.X;
    it.Y = a.Y - base_ * kAltitudePixels;
    it.Key = DepthKey(x, y, 0, 0, base_);
    it.Color = kGridColor;
    it.Name = lastName_;
    it.Cell = int16_t(y * kGrid + x);
    it.Floor = int8_t(f_);
    out_->Items.push_back(it);
  }

  // The entries from layer 0 up to the first empty one; hidden walls are
  // skipped.
  void Stack(const FloorImage& tiles, int x, int y, ScenePoint a) {
    for (int L = 0; L < kLayers; ++L) {
      const TileEntry& e = tiles[L][y][x];
      if (e.Id == 0) break;  // nothing above an empty entry is drawn
      const int th = doc_.TileHeight(e.Id);
      if (hideWalls_ && (th == 19 || th == 20)) continue;
      Entry(e, x, y, L, th, a);
    }
  }

  // The tint of an entry; the last that applies wins.
  DrawColor Tint(const TileEntry& e, int x, int y, int L, int th) const {
    DrawColor c = kWhite;
    if (s_.View.ShowDownstairs && L == 0 && th == 0 && f_ >= 1 && doc_.TopZ[f_ - 1][y][x] >= 20)
      c = kDownstairColor;
    if (s_.View.ShowCustomize && (e.Mark & 0xFF) != 0) c = kMarkColor;
    if (pointing_ && x == s_.HoverX && y == s_.HoverY && L == s_.HoverLayer) c = kPointedColor;
    if (selecting_ && InSelection(s_.Selection, x, y)) c = kSelectedColor;
    return c;
  }

  void Entry(const TileEntry& e, int x, int y, int L, int th, ScenePoint a) {
    DrawItem it;
    it.Kind = DrawKind::kTile;
    it.Art = kItemArtBase + e.Id;
    it.X = a.X;
    it.Y = a.Y - (e.Z + base_) * kAltitudePixels;
    it.Key = DepthKey(x, y, e.Z, th, base_);
    it.Color = Tint(e, x, y, L, th);
    it.Name = lastName_ = EntryName(x, y, L);
    it.Cell = int16_t(y * kGrid + x);
    it.Floor = int8_t(f_);
    out_->Items.push_back(it);
  }

  const TTAVIDoc& doc_;
  const ViewState& s_;
  DrawList* out_;
  const int w_, h_, base_, f_;
  const bool isCurrent_, grid_, hideWalls_, pointing_, selecting_;
  int32_t lastName_ = -1;
};

}  // namespace

void DrawFloor(const TTAVIDoc& doc, const FloorImage& tiles, int base, bool isCurrent, int f,
               const ViewState& s, DrawList* out) {
  const int w = doc.Width, h = doc.Height;
  FloorDrawing drawing(doc, base, isCurrent, f, s, out);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) drawing.Cell(tiles, x, y);
}

namespace {

// The light disc of a lit entry whose cell is anchored at `a` and whose
// altitude, floor base included, is `z`.
DrawLight LightDisc(const LightInfo& li, ScenePoint a, int z) {
  DrawLight d;
  d.X = float(a.X + kHalfCell + li.OffsetX);
  d.Y = float(a.Y + kHalfCell + li.OffsetY - z * kAltitudePixels);
  d.Radius = float((li.Kind - 0.5) * kCellPixels);
  d.R = li.Red;
  d.G = li.Green;
  d.B = li.Blue;
  return d;
}

// The light discs of the stack of one cell of floor f, from layer 0 up. True
// when the cell holds any entry.
bool CellLights(const TTAVIDoc& doc, const LightInfo* lights, int f, int x, int y, int base,
                DrawList* out) {
  int count = doc.LayerCount[f][y][x];
  if (count > kLayers) count = kLayers;
  for (int L = 0; L < count; ++L) {
    const TileEntry& e = doc.Tiles[f][L][y][x];
    if (e.Id == 0 || e.Id >= kCategoryIds) continue;
    const LightInfo& li = lights[e.Id];
    if (li.Kind == 0) continue;
    out->Lights.push_back(LightDisc(li, CellAnchor(x, y, doc.Height), e.Z + base));
  }
  return count > 0;
}

// From one floor to the one below, a cell stays visible when the cell one
// step south-east of it was; the last row and column are always visible.
void ShadeFloorBelow(bool (&vis)[kGrid][kGrid], int w, int h) {
  for (int y = 0; y + 1 < h; ++y)
    for (int x = 0; x + 1 < w; ++x) vis[y][x] = vis[y + 1][x + 1];
  for (int y = 0; y < h; ++y) vis[y][w - 1] = true;
  for (int x = 0; x < w; ++x) vis[h - 1][x] = true;
}

}  // namespace

void DrawLights(const TTAVIDoc& doc, const LightInfo* lights, int f0, const ViewState& s,
                DrawList* out) {
  if (!lights) return;
  const int w = doc.Width, h = doc.Height;
  bool vis[kGrid][kGrid];
  for (auto& row : vis)
    for (bool& v : row) v = true;
  int base = f0 > 0 ? s.BaseHeight + (f0 - 1) * kFloorStep : 0;
  for (int f = f0; f >= 0; --f) {
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        // an occupied cell shades the floors below
        if (vis[y][x] && CellLights(doc, lights, f, x, y, base, out)) vis[y][x] = false;
      }
    ShadeFloorBelow(vis, w, h);
    base = f > 1 ? base - kFloorStep : 0;
  }
}

void SceneMarks::Clear() {
  Floor = -1;
  PointedLayer = -1;
  Flags.fill(0);
  Preview.clear();
}

void ChangedCells(const SceneMarks& a, const SceneMarks& b, std::vector<int>* cells) {
  cells->clear();
  size_t ia = 0, ib = 0;  // the next preview stacks of each
  for (int i = 0; i < kGrid * kGrid; ++i) {
    const uint8_t fa = a.Flags[size_t(i)], fb = b.Flags[size_t(i)];
    const auto* sa = fa & SceneMarks::kPreview ? &a.Preview[ia++].second : nullptr;
    const auto* sb = fb & SceneMarks::kPreview ? &b.Preview[ib++].second : nullptr;
    bool changed = fa != fb || a.Floor != b.Floor;
    if (!changed && (fa & SceneMarks::kPointed)) changed = a.PointedLayer != b.PointedLayer;
    if (!changed && sa && sb) changed = std::memcmp(sa->data(), sb->data(), sizeof(*sa)) != 0;
    if (changed) cells->push_back(i);
  }
}

namespace {

// What marks a cell of the current floor apart from the preview: the
// selection tint and outline, and the pointer.
struct CellMarking {
  const ViewState& s;
  bool selecting, outlines, pointing;

  explicit CellMarking(const ViewState& state)
      : s(state),
        selecting(state.EditMode != kModeImmediate),
        outlines(selecting && !state.Selection.Empty() && state.Selection.Top >= 0),
        pointing(state.ShiftDown && state.EditMode == kModeImmediate) {}

  uint8_t Flags(int x, int y) const {
    uint8_t flags = 0;
    if (selecting && InSelection(s.Selection, x, y)) flags |= SceneMarks::kSelected;
    if (outlines && InSelection(s.Selection, x, y)) flags |= SceneMarks::kOutline;
    if (pointing && x == s.HoverX && y == s.HoverY) flags |= SceneMarks::kPointed;
    return flags;
  }
};

// Whether any layer of cell (x, y) differs between the two floor images.
bool StackDiffers(const FloorImage& a, const FloorImage& b, int x, int y) {
  for (int L = 0; L < kLayers; ++L)
    if (std::memcmp(&a[L][y][x], &b[L][y][x], sizeof(TileEntry)) != 0) return true;
  return false;
}

// Keeps the stack of cell (x, y) of the floor image drawn as a preview stack.
void AddPreviewStack(const FloorImage& shown, int x, int y, SceneMarks* marks) {
  std::array<TileEntry, kLayers> stack;
  for (int L = 0; L < kLayers; ++L) stack[size_t(L)] = shown[L][y][x];
  marks->Preview.emplace_back(uint16_t(y * kGrid + x), stack);
}

// The marks of the current floor, the preview's stacks taken from `shown`
// (the floor image drawn) where it differs from the document.
void MarkCells(const TTAVIDoc& doc, const ViewState& s, int cur, const FloorImage* shown,
               SceneMarks* marks) {
  marks->Clear();
  marks->Floor = cur;
  const int w = doc.Width, h = doc.Height;
  const CellMarking marking(s);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t flags = marking.Flags(x, y);
      if (shown && StackDiffers(*shown, doc.Tiles[cur], x, y)) {
        flags |= SceneMarks::kPreview;
        AddPreviewStack(*shown, x, y, marks);
      }
      marks->Flags[size_t(y) * kGrid + size_t(x)] = flags;
    }
  if (marking.pointing) marks->PointedLayer = s.HoverLayer;
}

}  // namespace

void BuildScene(const SceneInputs& in, DrawList* out, SceneMarks* marks) {
  out->Clear();
  if (marks) marks->Clear();
  if (!in.Doc || !in.State) return;
  TTAVIDoc& doc = *in.Doc;
  const ViewState& s = *in.State;
  DrawGround(doc, s, out);
  const int cur = ClampFloor(s.CurrentFloor);
  const bool hover = s.HoverX != -1 && doc.InPlot(s.HoverX, s.HoverY);
  const FloorImage* preview = nullptr;
  int base = 0;
  for (int f = 0; f <= cur; ++f) {
    const bool isCur = f == cur;
    if (isCur && hover && !s.ShiftDown && s.EditMode == kModeImmediate) {
      FloorImage& copy = ScratchFloor();
      std::memcpy(&copy, &doc.Tiles[f], sizeof(FloorImage));
      if (s.AutoStairs)
        doc.PlaceAutoStairs(s.HoverX, s.HoverY, true, copy, s.StairsDirection, s.StairsRow, f);
      else
        doc.PlaceTile(s.HoverX, s.HoverY, true, copy, s.Alt, s.CurrentTile, f);
      DrawFloor(doc, copy, base, true, f, s, out);
      preview = &copy;
    } else if (isCur && hover && s.EditMode == kModeInner && s.CarriedId != 0) {
      FloorImage& copy = ScratchFloor();
      std::memcpy(&copy, &doc.Tiles[f], sizeof(FloorImage));
      doc.PlaceTile(s.HoverX, s.HoverY, true, copy, s.Alt, s.CarriedId, f);
      DrawFloor(doc, copy, base, true, f, s, out);
      preview = &copy;
    } else {
      DrawFloor(doc, doc.Tiles[f], base, isCur, f, s, out);
    }
    base += f == 0 ? s.BaseHeight : kFloorStep;
  }
  DrawSelectionOutlines(doc, s, cur, base, out);
  if (marks) MarkCells(doc, s, cur, preview, marks);
  if (s.View.Night) {
    out->Night = true;
    DrawLights(doc, in.Lights, cur, s, out);
  }
}

void BuildPickPass(const SceneInputs& in, DrawList* out) {
  out->Clear();
  if (!in.Doc || !in.State) return;
  const int cur = ClampFloor(in.State->CurrentFloor);
  DrawFloor(*in.Doc, in.Doc->Tiles[cur], FloorBase(cur, in.State->BaseHeight), true, cur, *in.State,
            out);
}

}  // namespace tavi
