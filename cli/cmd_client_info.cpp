// tavi-cli client-info [--client DIR]: what was found of the client and how
// it is read, one "key: value" line each, for users whose client is not found.
#include <sys/stat.h>

#include <iostream>

#include "cli/client_data.h"
#include "cli/command.h"
#include "client/container.h"
#include "client/multi_files.h"
#include "client/paths.h"
#include "client/tile_data.h"
#include "io/multi_import.h"

namespace tavi::cli {
namespace {

std::string Described(const std::string& path) {
  const char* kind = ClientFileKindName(ClientFileKindOf(path));
  return path.empty() ? std::string(kind) : std::string(kind) + " " + path;
}

int RunClientInfo(const Args& args) {
  if (!args.positional.empty()) return Usage("client-info takes no file arguments");

  const ClientPaths p = ResolveClientPaths(args);
  std::cout << "folder: " << (p.dir.empty() ? std::string("none") : p.dir) << "\n"
            << "TileData: " << Described(p.tileData) << "\n"
            << "ArtIdx: " << Described(p.artIdx) << "\n"
            << "Art: " << Described(p.art) << "\n"
            << "MultiIdx: " << Described(p.multiIdx) << "\n"
            << "Multi: " << Described(p.multi) << "\n";

  // The layout follows from the size of tiledata.mul alone.
  struct stat st {};
  const bool haveTileData =
      !p.tileData.empty() && ::stat(p.tileData.c_str(), &st) == 0 && S_ISREG(st.st_mode);
  const TileDataLayout layout = TileDataLayoutForSize(haveTileData ? uint64_t(st.st_size) : 0);
  std::cout << "tile data layout: " << (haveTileData ? TileDataLayoutName(layout) : "unknown")
            << "\n"
            << "multi record size: "
            << (haveTileData ? std::to_string(MultiRecordSizeFor(layout)) : "unknown") << "\n";

  std::string failure, error;
  std::unique_ptr<TUOTileData> tiles = LoadClientForCli(args, &error);
  if (!tiles) failure = error;
  std::cout << "item records: " << (tiles ? std::to_string(tiles->ItemRecordCount) : "unknown")
            << "\n"
            << "pictures: " << (tiles ? std::to_string(tiles->PictureCount()) : "unknown") << "\n";

  std::string idxPath, mulPath;
  int multis = 0;
  bool counted = MultiPathsForCli(args, &idxPath, &mulPath, &error) &&
                 CountClientMultis(idxPath, mulPath, MultiRecordSizeFor(layout), &multis, &error);
  if (!counted && failure.empty()) failure = error;
  std::cout << "multis: " << (counted ? std::to_string(multis) : "unknown") << "\n";
  // What loads all the same but is not whole: an empty or cut tiledata.mul,
  // container entries of a compression this reader cannot read.
  if (tiles && !tiles->Damage.empty()) std::cout << "warning: " << tiles->Damage << "\n";
  for (const std::string& path : {p.art, p.multi}) {
    if (path.empty() || !IsContainerPath(path)) continue;
    std::string ignored;
    const std::unique_ptr<PackedContainer> c = PackedContainer::Open(path, &ignored);
    if (c && c->UnreadableCount() > 0)
      std::cout << "skipped: " << c->UnreadableCount() << " entries of '" << path
                << "' use a compression this editor cannot read\n";
  }
  std::cout.flush();
  if (!failure.empty()) return Fail(failure);
  return kOk;
}

const Registrar reg("client-info", "[--client DIR]",
                    "prints the client folder and files found, their kind (loose, container, "
                    "absent), the tile data layout, and how many item records, pictures and "
                    "multis they hold",
                    {}, {}, &RunClientInfo);

}  // namespace
}  // namespace tavi::cli
