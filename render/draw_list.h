#pragma once
// One frame of the house view as a list of primitives in drawing order. The
// same list feeds the OpenGL view, the software renderer and the picking, so
// what is drawn, exported and picked cannot drift apart.
#include <cstdint>
#include <vector>

namespace tavi {

// Depth keys: a larger key is nearer. A key k lands at window depth
// 1 - k / 10240; the ground lies at depth 1 (the far end).
constexpr double kDepthKeyRange = 10240.0;

enum class DrawKind : uint8_t {
  kTile,     // art picture anchored on a cell square
  kCell,     // untextured cell diamond
  kOutline,  // closed line loop inside a cell diamond (selection)
};

struct DrawColor {
  float R = 1, G = 1, B = 1, A = 1;
  bool operator==(const DrawColor& o) const { return R == o.R && G == o.G && B == o.B && A == o.A; }
};

struct DrawItem {
  DrawKind Kind = DrawKind::kTile;
  bool Ground = false;  // drawn at the far end whatever the key
  uint32_t Art = 0;     // art index (tiles)
  // Top-left of the cell's 44 x 44 square in scene units. A picture of
  // w x h pixels covers left = X - (w - 44) / 2, top = Y - (h - 44).
  int32_t X = 0, Y = 0;
  int32_t Key = 0;  // depth key
  DrawColor Color;
  int32_t Name = -1;  // entry name (y * 32 + x) * 32 + layer, -1 none
  // The plot cell (y * 32 + x) and floor the item belongs to; -1 for the
  // ground.
  int16_t Cell = -1;
  int8_t Floor = -1;
};

// A light disc of the night view, centre in scene units.
struct DrawLight {
  float X = 0, Y = 0, Radius = 0;
  float R = 1, G = 1, B = 1;
};

struct DrawList {
  std::vector<DrawItem> Items;
  bool Night = false;
  std::vector<DrawLight> Lights;  // night view only, drawn in this order
  void Clear() {
    Items.clear();
    Lights.clear();
    Night = false;
  }
};

// Window depth of an item in 0..1. Keys beyond the range are held at its ends
// so that a tile of an extreme altitude stays visible instead of being clipped.
inline float ItemDepth(const DrawItem& item) {
  if (item.Ground) return 1.0f;
  double d = 1.0 - item.Key / kDepthKeyRange;
  if (d < 0) d = 0;
  if (d > 1) d = 1;
  return static_cast<float>(d);
}

// Rectangle of a picture of w x h pixels anchored on a cell square at (x, y);
// a picture of odd width starts half a pixel left.
struct QuadRect {
  float Left, Top, Right, Bottom;
};
inline QuadRect TileRect(int32_t x, int32_t y, int w, int h) {
  float left = x - (w - 44) / 2.0f;
  float top = static_cast<float>(y - (h - 44));
  return {left, top, left + w, top + h};
}

}  // namespace tavi
