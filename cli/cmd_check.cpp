// tavi-cli check FILE.tav: runs the customization rule check on the house and
// lists the entries it marks, one "floor x y layer id" line each (floors, then
// rows, columns and layers in order), then "marked: N", then one "game: ..."
// line per limit of the game the house breaks (plot size, the top floor).
#include <iostream>
#include <memory>

#include "cli/client_data.h"
#include "cli/command.h"
#include "document/game_limits.h"

namespace tavi::cli {
namespace {

int RunCheck(const Args& args) {
  if (args.positional.size() != 1) return Usage("check needs one house file");
  const std::string& path = args.positional[0];
  std::string error;
  std::unique_ptr<TUOTileData> tiles = LoadClientForCli(args, &error);
  if (!tiles) return Fail("the rule check needs the client's tile data: " + error);
  PlainDocHost host;
  int base = 0;
  std::unique_ptr<TTAVIDoc> doc = LoadHouseForCli(path, tiles.get(), &host, &base, &error);
  if (!doc) return Fail(error);
  doc->CheckCustomization();
  int marked = 0;
  for (int f = 0; f < kFloors; ++f)
    for (int y = 0; y < doc->Height; ++y)
      for (int x = 0; x < doc->Width; ++x)
        for (int layer = 0; layer < kLayers; ++layer) {
          const TileEntry& e = doc->Tiles[f][layer][y][x];
          if (e.Id == 0 || (e.Mark & 0xFF) != 1) continue;
          std::cout << f << ' ' << x << ' ' << y << ' ' << layer << ' ' << e.Id << '\n';
          ++marked;
        }
  std::cout << "marked: " << marked << '\n';
  for (const std::string& fault : GameLimitFaults(*doc)) std::cout << "game: " << fault << '\n';
  return kOk;
}

const Registrar reg("check", "FILE.tav",
                    "runs the customization rule check; prints each marked entry as "
                    "'floor x y layer id', then 'marked: N', then a 'game: ...' line per "
                    "limit of the game the house breaks",
                    {}, {}, &RunCheck);

}  // namespace
}  // namespace tavi::cli
