#include "cli/client_data.h"

namespace tavi::cli {

ClientPaths ResolveClientPaths(const Args&) { return {}; }

std::unique_ptr<TUOTileData> LoadClientForCli(const Args&, std::string* error) {
  if (error) *error = "client files not found";
  return nullptr;
}

bool MultiPathsForCli(const Args&, std::string*, std::string*, std::string* error) {
  if (error) *error = "multi.idx / multi.mul not found";
  return false;
}

std::string ClientFolderForCli(const Args&) { return {}; }

}  // namespace tavi::cli
