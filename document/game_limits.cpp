#include "document/game_limits.h"

#include "document/house_document.h"

namespace tavi {

bool GamePlotOffered(int W, int H) {
  if (W < 7 || W > 18 || H < 7 || H > 18) return false;
  if (W == 7) return H <= 12;
  if (W <= 12) {
    if (H <= 13) return true;
    if (W == 9) return H == 14;
    if (W == 10) return H <= 15;
    if (W == 11) return H <= 16;
    if (W == 12) return H <= 17;
    return false;
  }
  if (W == 13) return H >= 8;
  return H >= W - 5;
}

int GameFoundationMulti(int W, int H) {
  return 0x13EC + (W - 7) * 12 + (H - 7);
}

bool GamePlotHasFourFloors(int W, int H) {
  return W >= 14 || H >= 14;
}

std::vector<std::string> GameLimitFaults(const TTAVIDoc& doc) {
  std::vector<std::string> faults;
  const int W = doc.Width - 1, H = doc.Height - 1;
  const std::string size = std::to_string(W) + "x" + std::to_string(H);
  if (!GamePlotOffered(W, H)) faults.push_back("the game offers no " + size + " plot");
  if (!GamePlotHasFourFloors(W, H)) {
    bool used = false;
    for (int y = 0; y < doc.Height && !used; ++y)
      for (int x = 0; x < doc.Width && !used; ++x)
        for (int l = 0; l < kLayers && !used; ++l) used = doc.Tiles[4][l][y][x].Id != 0;
    if (used) faults.push_back("floor 4 is used; the game gives a " + size + " plot three floors");
  }
  return faults;
}

}  // namespace tavi
