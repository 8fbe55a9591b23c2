#pragma once
// Which part of the house view a new frame must draw. The frame is drawn
// whole when anything but the house's cells, the mouse state, the placement
// inputs and the selection changed (the floor, the zoom, the scroll, the
// view's size, a View switch, the plot size...). Otherwise only the cells
// whose marks changed (the live preview, the pointed entry, the selection,
// render/scene.h) and the cells the document reports changed (an edit, an
// undo or redo, the rule check's marks: TTAVIDoc::ChangedCellsSince) look
// different: the region to draw again is everything the old and the new
// frame draw for those cells, as a few rectangles of window pixels. Drawing
// every quad of the new frame that overlaps such a rectangle, clipped to it,
// gives exactly the pixels a whole frame would.
#include <cstdint>
#include <vector>

#include "client/background_map.h"
#include "document/house_document.h"
#include "render/art_source.h"
#include "render/draw_list.h"
#include "render/projection.h"
#include "render/raster.h"
#include "render/scene.h"
#include "render/view_state.h"

namespace tavi {

// The window pixels an item can touch: its quad (a tile's picture of w x h
// pixels, a 44 x 44 cell square otherwise) rounded out by a pixel, clipped to
// the view. Empty for a tile without a picture.
PixelRect ItemPixels(const DrawItem& it, int w, int h, const RasterView& view);

// Everything besides the cell marks that decides a frame.
struct FrameBasis {
  bool Valid = false;
  const TTAVIDoc* Doc = nullptr;
  uint64_t Revision = 0;
  const void* TileData = nullptr;  // pictures and lights
  ViewState State;
  std::vector<uint16_t> Ground;  // the ground map's cells, when there is one
  RasterView View;               // in pixels: size, zoom and scroll
  void Set(const TTAVIDoc* doc, const void* tileData, const ViewState& state,
           const RasterView& view);
};

// True when two frames differ at most in the cells their marks tell apart.
bool SameBasis(const FrameBasis& a, const FrameBasis& b);
// The same, but the house may have changed (the revisions may differ).
bool SameBasisButHouse(const FrameBasis& a, const FrameBasis& b);

// True when two view states draw the same frame of the same house (`doc`
// at one revision): the fields that draw nothing in either are left out (the
// current tile or the Alt while no preview shows, the hover cell without a
// preview or a pointed entry, the selection in the Immediate mode). A view
// asked to show `b` while it shows `a` need not draw at all.
bool SameDrawing(const ViewState& a, const ViewState& b, const TTAVIDoc* doc);

struct RepaintPlan {
  bool Full = true;
  // Not whole: first the pixels drawn move by (-MoveX, -MoveY), the scroll's
  // change (their depth with them); then the regions are drawn again (the
  // strips that came into view among them; there may be none).
  int MoveX = 0, MoveY = 0;
  std::vector<PixelRect> Rects;
};

// A region of more than this share of the view is drawn whole.
constexpr double kMostOfTheView = 0.5;

// The plan for the frame `next` after `last`. Picture sizes come from `art`.
// A change of the scroll alone draws whole unless the caller `canMove` its
// pixels.
RepaintPlan PlanRepaint(const FrameBasis& lastBasis, const DrawList& last,
                        const SceneMarks& lastMarks, const FrameBasis& basis, const DrawList& next,
                        const SceneMarks& marks, IArtSource* art, bool canMove = false);

}  // namespace tavi
