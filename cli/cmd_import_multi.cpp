// tavi-cli import-multi --id ID [--base B] --out FILE.tav: a standard house
// from the client's multi files (multi.idx and multi.mul, or the container).
#include <climits>

#include "cli/client_data.h"
#include "cli/command.h"
#include "client/multi_files.h"
#include "io/house_file.h"
#include "io/multi_import.h"
#include "io/multi_menu.h"

namespace tavi::cli {
namespace {

int RunImportMulti(const Args& args) {
  if (!args.positional.empty()) return Usage("import-multi takes no file arguments");
  int id = 0;
  if (!args.Has("id") || !ParseInt(args.Get("id"), 0, INT_MAX, &id))
    return Usage("import-multi needs --id ID (a number from 0)");
  int base = MultiBaseHeight(id);
  if (args.Has("base") && !ParseInt(args.Get("base"), 0, 9, &base))
    return Usage("--base must be a number from 0 to 9");
  const std::string out = args.Get("out");
  if (out.empty()) return Usage("import-multi needs --out FILE.tav");

  std::string idxPath, mulPath, error;
  if (!MultiPathsForCli(args, &idxPath, &mulPath, &error)) return Fail(error);
  // Floor tiles stack below other tiles of equal altitude: the tile data decides.
  std::unique_ptr<TUOTileData> tiles = LoadClientForCli(args, &error);
  if (!tiles) return Fail(error);
  // multi.mul or the multi container; the tile data tells the record size.
  std::vector<MultiComponent> components;
  if (!ReadClientMulti(idxPath, mulPath, tiles->MultiRecordSize(), id, &components, &error))
    return Fail(error);
  auto image = NewHouseImage();
  if (!BuildMultiImage(components, base, tiles.get(), *image, &error)) return Fail(error);
  const SaveResult saved = SaveImageToFile(*image, out);
  if (!saved.ok) return Fail(saved.error);
  return kOk;
}

const Registrar reg("import-multi", "--id ID [--base B] --out FILE.tav",
                    "imports a standard house (base height from the Import Multi menu unless "
                    "given)",
                    {"id", "base", "out"}, {}, &RunImportMulti);

}  // namespace
}  // namespace tavi::cli
