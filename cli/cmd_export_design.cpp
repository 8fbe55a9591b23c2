// tavi-cli export-design HOUSE.tav --out FILE [--format uoa|txt|uoab|csv|wsc]
// [--doors dynamic]: the house as a design of the community's exchange formats.
#include <memory>

#include "cli/client_data.h"
#include "cli/command.h"
#include "io/atomic_file.h"
#include "io/design.h"
#include "io/design_formats.h"
#include "io/house_file.h"

namespace tavi::cli {
namespace {

int RunExportDesign(const Args& args) {
  if (args.positional.size() != 1) return Usage("export-design needs one house file");
  const std::string& path = args.positional[0];
  const std::string out = args.Get("out");
  if (out.empty()) return Usage("export-design needs --out FILE");
  DesignFormat format = DesignFormatForWrite(out);
  if (args.Has("format") && !DesignFormatByName(args.Get("format"), &format))
    return Usage("--format must be uoa, txt, uoab, csv or wsc");
  const bool dynamicDoors = args.Has("doors");
  if (dynamicDoors && args.Get("doors") != "dynamic") return Usage("--doors takes 'dynamic'");

  std::string text, error;
  if (!ReadWholeFile(path, &text, &error)) return Fail(error);
  auto image = NewHouseImage();
  const LoadResult loaded = ParseHouseFile(text, *image);
  if (!loaded.ok) return Fail("'" + path + "': " + loaded.error);
  std::unique_ptr<TUOTileData> tiles;
  DynamicTest dynamic;
  if (dynamicDoors) {
    // Doors are told by the tile data.
    tiles = LoadClientForCli(args, &error);
    if (!tiles) return Fail("--doors dynamic needs the client's tile data: " + error);
    const TUOTileData* t = tiles.get();
    dynamic = [t](uint16_t id) { return t->IsDoor(id); };
  }
  Design design = DesignOfImage(*image, dynamic);
  if (design.components.empty()) return Fail("'" + path + "': the house has no tiles");
  design.name = HouseNameOf(path);
  if (!WriteFileAtomically(out, WriteDesign(format, design), &error)) return Fail(error);
  return kOk;
}

const Registrar reg("export-design",
                    "HOUSE.tav --out FILE [--format uoa|txt|uoab|csv|wsc] [--doors dynamic]",
                    "writes the house as a design (format by --format or the file's extension)",
                    {"out", "format", "doors"}, {}, &RunExportDesign);

}  // namespace
}  // namespace tavi::cli
