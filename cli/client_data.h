#pragma once
// Where tavi-cli finds the client's files: the folder named by --client DIR
// (file names matched ignoring case), else the editor's settings and the
// client discovery.
#include <memory>
#include <string>

#include "cli/command.h"
#include "client/tile_data.h"
#include "document/house_document.h"
#include "settings/settings.h"

namespace tavi::cli {

struct ClientPaths {
  std::string dir;                                     // the client folder ("" when unknown)
  std::string tileData, artIdx, art, multiIdx, multi;  // "" when not found
};

// Resolves the client's folder and files for a command: the folder named by
// --client, else the editor's settings completed by the client discovery.
ClientPaths ResolveClientPaths(const Args& args);

// The editor's settings (tavi.ini where the editor keeps it).
TSettings LoadCliSettings();

// Loads the tile data for a command; null with a message naming what is
// missing or unreadable.
std::unique_ptr<TUOTileData> LoadClientForCli(const Args& args, std::string* error);

// The paths of multi.idx and multi.mul, or of the multi container (the index
// path is then not needed); false with a message when missing.
bool MultiPathsForCli(const Args& args, std::string* idxPath, std::string* mulPath,
                      std::string* error);

// Reads a house file into a new document over `facts` (may be null) and
// `host`; null with a message naming the file when it cannot be read. The
// stored base height goes to *baseHeight.
std::unique_ptr<TTAVIDoc> LoadHouseForCli(const std::string& path, const ITileFacts* facts,
                                          IDocHost* host, int* baseHeight, std::string* error);

}  // namespace tavi::cli
