#pragma once
// The control window's list of the detail cell's stack.
#include <string>
#include <vector>

#include "document/house_document.h"

namespace tavi {

class TUOTileData;

// One line per entry of the cell on `floor`, the top of the stack first:
// "%2d:" of its Z, the tile's name and "(height)". Without tile data the
// names are empty and the heights come from the document's tile facts. No
// lines for a cell outside the grid or a floor outside 0..4.
std::vector<std::string> DetailLines(const TTAVIDoc& doc, const TUOTileData* tiles, int floor,
                                     int x, int y);

// The list shows the stack without gaps (as many lines as the cell has
// layers), so that each line stands for one layer.
bool DetailListComplete(const TTAVIDoc& doc, int floor, int x, int y, int lineCount);

// The layer a line stands for in a complete list; -1 for no line.
int LayerOfDetailLine(int lineCount, int line);

}  // namespace tavi
