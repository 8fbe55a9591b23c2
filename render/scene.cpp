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

}  // namespace

// NOLINTNEXTLINE(readability-function-cognitive-complexity): not split yet
void DrawFloor(const TTAVIDoc& doc, const FloorImage& tiles, int base, bool isCurrent, int f,
               const ViewState& s, DrawList* out) {
  const int w = doc.Width, h = doc.Height;
  const bool grid = isCurrent && s.View.ShowGrid;
  const bool hideWalls = isCurrent && s.View.HideWalls;
  const bool pointing = isCurrent && s.ShiftDown && s.EditMode == kModeImmediate;
  const bool selecting = isCurrent && s.EditMode != kModeImmediate;
  int32_t lastName = -1;  // a grid diamond reports the name loaded before it
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      ScenePoint a = CellAnchor(x, y, h);
      if (grid && x > 0 && x < w - 1 && y > 0 && y < h - 1) {
        DrawItem it;
        it.Kind = DrawKind::kCell;
        it.X = a.X;
        it.Y = a.Y - base * kAltitudePixels;
        it.Key = DepthKey(x, y, 0, 0, base);
        it.Color = kGridColor;
        it.Name = lastName;
        it.Cell = int16_t(y * kGrid + x);
        it.Floor = int8_t(f);
        out->Items.push_back(it);
      }
      const bool hidden = isCurrent && s.IsHidden(x, y);
      for (int L = 0; L < kLayers; ++L) {
        const TileEntry& e = tiles[L][y][x];
        if (e.Id == 0) break;  // nothing above an empty entry is drawn
        if (hidden) break;
        int th = doc.TileHeight(e.Id);
        if (hideWalls && (th == 19 || th == 20)) continue;
        DrawColor c = kWhite;
        if (s.View.ShowDownstairs && L == 0 && th == 0 && f >= 1 && doc.TopZ[f - 1][y][x] >= 20)
          c = kDownstairColor;
        if (s.View.ShowCustomize && (e.Mark & 0xFF) != 0) c = kMarkColor;
        if (pointing && x == s.HoverX && y == s.HoverY && L == s.HoverLayer) c = kPointedColor;
        if (selecting && InSelection(s.Selection, x, y)) c = kSelectedColor;
        DrawItem it;
        it.Kind = DrawKind::kTile;
        it.Art = kItemArtBase + e.Id;
        it.X = a.X;
        it.Y = a.Y - (e.Z + base) * kAltitudePixels;
        it.Key = DepthKey(x, y, e.Z, th, base);
        it.Color = c;
        it.Name = lastName = EntryName(x, y, L);
        it.Cell = int16_t(y * kGrid + x);
        it.Floor = int8_t(f);
        out->Items.push_back(it);
      }
    }
}

// NOLINTNEXTLINE(readability-function-cognitive-complexity): not split yet
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
        if (!vis[y][x]) continue;
        int count = doc.LayerCount[f][y][x];
        if (count > kLayers) count = kLayers;
        for (int L = 0; L < count; ++L) {
          const TileEntry& e = doc.Tiles[f][L][y][x];
          if (e.Id == 0 || e.Id >= kCategoryIds) continue;
          const LightInfo& li = lights[e.Id];
          if (li.Kind == 0) continue;
          ScenePoint a = CellAnchor(x, y, h);
          DrawLight d;
          d.X = float(a.X + kHalfCell + li.OffsetX);
          d.Y = float(a.Y + kHalfCell + li.OffsetY - (e.Z + base) * kAltitudePixels);
          d.Radius = float((li.Kind - 0.5) * kCellPixels);
          d.R = li.Red;
          d.G = li.Green;
          d.B = li.Blue;
          out->Lights.push_back(d);
        }
        if (count > 0) vis[y][x] = false;  // an occupied cell shades the floors below
      }
    for (int y = 0; y + 1 < h; ++y)
      for (int x = 0; x + 1 < w; ++x) vis[y][x] = vis[y + 1][x + 1];
    for (int y = 0; y < h; ++y) vis[y][w - 1] = true;
    for (int x = 0; x < w; ++x) vis[h - 1][x] = true;
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

// The marks of the current floor, the preview's stacks taken from `shown`
// (the floor image drawn) where it differs from the document.
// NOLINTNEXTLINE(readability-function-cognitive-complexity): not split yet
void MarkCells(const TTAVIDoc& doc, const ViewState& s, int cur, const FloorImage* shown,
               SceneMarks* marks) {
  marks->Clear();
  marks->Floor = cur;
  const int w = doc.Width, h = doc.Height;
  const CellRect& sel = s.Selection;
  const bool selecting = s.EditMode != kModeImmediate;
  const bool outlines = selecting && !sel.Empty() && sel.Top >= 0;
  const bool pointing = s.ShiftDown && s.EditMode == kModeImmediate;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t flags = 0;
      if (selecting && InSelection(sel, x, y)) flags |= SceneMarks::kSelected;
      if (outlines && InSelection(sel, x, y)) flags |= SceneMarks::kOutline;
      if (pointing && x == s.HoverX && y == s.HoverY) flags |= SceneMarks::kPointed;
      if (shown) {
        bool differs = false;
        for (int L = 0; L < kLayers && !differs; ++L)
          differs = std::memcmp(&(*shown)[L][y][x], &doc.Tiles[cur][L][y][x], sizeof(TileEntry));
        if (differs) {
          flags |= SceneMarks::kPreview;
          std::array<TileEntry, kLayers> stack;
          for (int L = 0; L < kLayers; ++L) stack[size_t(L)] = (*shown)[L][y][x];
          marks->Preview.emplace_back(uint16_t(y * kGrid + x), stack);
        }
      }
      marks->Flags[size_t(y) * kGrid + size_t(x)] = flags;
    }
  if (pointing) marks->PointedLayer = s.HoverLayer;
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
