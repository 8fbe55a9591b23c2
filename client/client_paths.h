#pragma once
// Where the game client's files are: the five files the editor reads and the
// client folder discovery found. The editor's settings carry these paths.
#include <string>

namespace tavi {

struct ClientPaths {
  std::string ArtIdx, Art, TileData, MultiIdx, Multi;
  // The client folder found by discovery (empty if none); never stored.
  std::string ClientDir;
};

}  // namespace tavi
