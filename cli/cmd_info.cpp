// tavi-cli info FILE.tav: plot size, base height, number of entries, and with
// the client's tile data the number of customization parts and their price.
#include <iostream>
#include <memory>

#include "cli/client_data.h"
#include "cli/command.h"

namespace tavi::cli {
namespace {

int RunInfo(const Args& args) {
  if (args.positional.size() != 1) return Usage("info needs one house file");
  const std::string& path = args.positional[0];
  std::string ignored;
  std::unique_ptr<TUOTileData> tiles = LoadClientForCli(args, &ignored);
  PlainDocHost host;
  int base = 0;
  std::string error;
  std::unique_ptr<TTAVIDoc> doc = LoadHouseForCli(path, tiles.get(), &host, &base, &error);
  if (!doc) return Fail(error);
  int entries = 0;
  for (int f = 0; f < kFloors; ++f)
    for (int layer = 0; layer < kLayers; ++layer)
      for (int y = 0; y < doc->Height; ++y)
        for (int x = 0; x < doc->Width; ++x) entries += doc->Tiles[f][layer][y][x].Id != 0;
  std::cout << "size: " << doc->Width << "x" << doc->Height << "\n"
            << "base: " << base << "\n"
            << "entries: " << entries << "\n";
  if (tiles) {
    const int parts = doc->CountParts();
    std::cout << "parts: " << parts << "\n"
              << "price: " << int64_t(parts) * 500 << "\n";
  }
  return kOk;
}

const Registrar reg("info", "FILE.tav",
                    "prints size, base height and entries; parts and price with the client's "
                    "tile data",
                    {}, {}, &RunInfo);

}  // namespace
}  // namespace tavi::cli
