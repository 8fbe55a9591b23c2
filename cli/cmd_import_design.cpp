// tavi-cli import-design FILE --out HOUSE.tav [--format F] [--design N]
// [--base B]: a design of the community's exchange formats as a house.
#include <iostream>
#include <memory>

#include "cli/client_data.h"
#include "cli/command.h"
#include "io/design.h"
#include "io/design_formats.h"
#include "io/house_file.h"

namespace tavi::cli {
namespace {

int RunImportDesign(const Args& args) {
  if (args.positional.size() != 1) return Usage("import-design needs one design file");
  const std::string& path = args.positional[0];
  const std::string out = args.Get("out");
  if (out.empty()) return Usage("import-design needs --out HOUSE.tav");
  DesignFormat format{};
  const bool named = args.Has("format");
  if (named && !DesignFormatByName(args.Get("format"), &format))
    return Usage("--format must be uoa, txt, uoab, csv or wsc");
  int base = 7, pick = 0;
  if (args.Has("base") && !ParseInt(args.Get("base"), 0, 9, &base))
    return Usage("--base must be a number from 0 to 9");
  if (args.Has("design") && !ParseInt(args.Get("design"), 1, 65535, &pick))
    return Usage("--design must be a number from 1");

  DesignFile file;
  std::string error;
  if (!ReadDesignFile(path, named ? &format : nullptr, &file, &error)) return Fail(error);
  if (!file.warning.empty()) std::cerr << "tavi-cli: warning: " << file.warning << "\n";
  if (pick == 0 && file.designs.size() > 1) {
    std::string list;
    for (size_t i = 0; i < file.designs.size(); ++i)
      list += (i ? ", " : "") + std::to_string(i + 1) + " '" + file.designs[i].name + "'";
    return Fail(path + ": the file holds " + std::to_string(file.designs.size()) + " designs (" +
                list + "); choose one with --design N");
  }
  if (pick > int(file.designs.size()))
    return Fail(path + ": the file holds " + std::to_string(file.designs.size()) + " design" +
                (file.designs.size() == 1 ? "" : "s") + ", not " + std::to_string(pick));
  const Design& design = file.designs[size_t(pick > 0 ? pick - 1 : 0)];
  // Floor tiles stack below other tiles of equal altitude when the client's
  // tile data is at hand; the import works without it.
  std::string clientError;
  std::unique_ptr<TUOTileData> tiles = LoadClientForCli(args, &clientError);
  auto image = NewHouseImage();
  if (!BuildDesignImage(design, base, tiles.get(), *image, &error))
    return Fail(path + ": " + error);
  const SaveResult saved = SaveImageToFile(*image, out);
  if (!saved.ok) return Fail(saved.error);
  return kOk;
}

const Registrar reg("import-design", "FILE --out HOUSE.tav [--format F] [--design N] [--base B]",
                    "imports a design (uoa, txt, uoab, csv or wsc; by the file when not given); "
                    "base height 7 unless given",
                    {"out", "format", "design", "base"}, {}, &RunImportDesign);

}  // namespace
}  // namespace tavi::cli
