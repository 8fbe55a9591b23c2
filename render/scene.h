#pragma once
// Builds the draw list of one frame of the house view: the ground, floors 0 up
// to the current floor with their depth keys and tints, the grid, the live
// preview of a placement, the selection outlines and the night view's lights.
#include <array>
#include <utility>
#include <vector>

#include "client/tile_data.h"
#include "document/house_document.h"
#include "render/draw_list.h"
#include "render/pick.h"
#include "render/view_state.h"

namespace tavi {

// What the scene reads besides the document and the view state.
struct SceneInputs {
  TTAVIDoc* Doc = nullptr;            // the live preview runs on a scratch copy
  const LightInfo* Lights = nullptr;  // kCategoryIds entries; null: no lights
  const ViewState* State = nullptr;
};

// What a frame draws on the current floor's cells apart from the document
// itself: the live preview, the pointed entry and the selection. Two frames
// whose other inputs are equal differ only in the cells whose marks differ.
struct SceneMarks {
  enum : uint8_t {
    kSelected = 1,  // the selection tint
    kOutline = 2,   // the selection outline
    kPointed = 4,   // the pointed entry's cell (PointedLayer)
    kPreview = 8,   // the preview changed the cell's stack (in Preview)
  };
  int Floor = -1;
  int PointedLayer = -1;
  std::array<uint8_t, kGrid * kGrid> Flags{};
  // The stacks the preview changed, in cell order (y * 32 + x).
  std::vector<std::pair<uint16_t, std::array<TileEntry, kLayers>>> Preview;
  void Clear();
};

// The cells (y * 32 + x) whose marks differ between two frames, ascending.
void ChangedCells(const SceneMarks& a, const SceneMarks& b, std::vector<int>* cells);

// The whole frame, in drawing order. `out` is cleared first; its storage is
// reused between frames. `marks`, when given, receives the frame's marks.
void BuildScene(const SceneInputs& in, DrawList* out, SceneMarks* marks = nullptr);

// The picking pass: the document's own current floor with the current floor's
// rules (hidden cells, Hide Walls, grid), no preview, no ground, no outlines.
void BuildPickPass(const SceneInputs& in, DrawList* out);

// One floor in drawing order: grid diamonds and tiles.
void DrawFloor(const TTAVIDoc& doc, const FloorImage& tiles, int base, bool isCurrent, int f,
               const ViewState& state, DrawList* out);

// The light discs of the night view for floors f0 down to 0, centres in scene
// units (the backends subtract the scroll offset).
void DrawLights(const TTAVIDoc& doc, const LightInfo* lights, int f0, const ViewState& state,
                DrawList* out);

// The depth key of a tile in cell (x, y).
inline int32_t DepthKey(int x, int y, int z, int height, int base) {
  return (2 * x + y) * 100 + z + height + base;
}

// The name of an entry, and back (PickName in render/pick.h).
inline int32_t EntryName(int x, int y, int layer) {
  return PickName{x, y, layer}.Encode();
}
inline void DecodeEntryName(int32_t name, int* x, int* y, int* layer) {
  const PickName p = PickName::Decode(name);
  *x = p.x;
  *y = p.y;
  *layer = p.layer;
}

}  // namespace tavi
