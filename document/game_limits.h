#pragma once
// What a house must meet to be built in the game (beside the customization
// rule check): a plot size the game offers, and the top floor only on large
// plots.
#include <cstdint>
#include <string>
#include <vector>

namespace tavi {

class TTAVIDoc;

// True when the game offers a plot of W x H (both 7..18, by the game's list).
bool GamePlotOffered(int W, int H);
// The game's foundation multi of a W x H plot (meaningful when offered).
int GameFoundationMulti(int W, int H);
// True when the game gives a W x H plot four floors above the foundation.
bool GamePlotHasFourFloors(int W, int H);

// One line per limit the house breaks (empty when it meets them all). The
// plot is the document's size less the last column and the steps row.
std::vector<std::string> GameLimitFaults(const TTAVIDoc& doc);

}  // namespace tavi
