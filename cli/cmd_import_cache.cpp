// tavi-cli import-cache CACHEFILE --house N --out FILE.tav: one cached house,
// numbered as list-cache lists them.

#include <climits>

#include "cli/client_data.h"
#include "cli/command.h"
#include "io/house_file.h"
#include "io/multi_cache.h"

namespace tavi::cli {
namespace {

int RunImportCache(const Args& args) {
  if (args.positional.size() != 1) return Usage("import-cache needs one cache file");
  int house = 0;
  if (!args.Has("house") || !ParseInt(args.Get("house"), 0, INT_MAX, &house))
    return Usage("import-cache needs --house N (a number from 0)");
  const std::string out = args.Get("out");
  if (out.empty()) return Usage("import-cache needs --out FILE.tav");
  std::string text;
  std::string error;
  if (!ReadCacheText(args.positional[0], &text, &error)) return Fail(error);
  // Floor tiles stack below other tiles of equal altitude: the tile data decides.
  std::unique_ptr<TUOTileData> tiles = LoadClientForCli(args, &error);
  if (!tiles) return Fail(error);
  // Houses are numbered as list-cache and the editor's dialog list them: a
  // header whose components never complete is no house and takes no number.
  const std::vector<CachedHouse> listed = ListCachedHouses(text);
  if (size_t(house) >= listed.size())
    return Fail("'" + args.positional[0] + "': house " + std::to_string(house) +
                " is not in the cache (it lists " + std::to_string(listed.size()) + ")");
  auto image = NewHouseImage();
  const int base =
      BuildCacheImage(text, listed[size_t(house)].headerIndex, tiles.get(), *image, &error);
  if (base < 0) return Fail("'" + args.positional[0] + "': " + error);
  const SaveResult saved = SaveImageToFile(*image, out);
  if (!saved.ok) return Fail(saved.error);
  return kOk;
}

const Registrar reg("import-cache", "CACHEFILE --house N --out FILE.tav",
                    "imports one cached house", {"house", "out"}, {}, &RunImportCache);

}  // namespace
}  // namespace tavi::cli
