#pragma once
// A picture of the whole plot: every floor up to the chosen one, the ground
// around it, at a given zoom, whatever part of it a view would show. The
// editor's "Save Whole House Image" and tavi-cli render both draw it here.
#include <string>

#include "client/tile_data.h"
#include "document/house_document.h"

namespace tavi {

struct WholeHouseOptions {
  int Floor = -1;  // 0..4; -1: the highest floor that holds a tile
  double Zoom = 1.0;
  bool ShowGrid = true;  // takes the downstair walls along, as the View menu does
  bool ShowCustomize = true;
  bool Night = false;
  int BGType = 0;  // the ground, filled the same way for every picture
  bool LargeBG = false;
};

// The highest floor that holds a tile (0 for an empty house).
int TopBuiltFloor(const TTAVIDoc& doc);

// Draws the picture through the software renderer. False with a message in
// `error` when the zoom lies outside the view's range, the picture would be
// larger than the renderer allows or nothing could be drawn.
bool RenderWholeHouse(TTAVIDoc& doc, const TUOTileData& tiles, const WholeHouseOptions& options,
                      TBitmap24* out, std::string* error);

}  // namespace tavi
