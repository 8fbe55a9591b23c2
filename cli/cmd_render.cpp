// tavi-cli render: draws a house as the editor's view would show it with the
// whole scene visible, through the software renderer, and writes BMP, JPEG or
// PNG by the file name's extension.
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>

#include "cli/client_data.h"
#include "cli/command.h"
#include "document/doc_host.h"
#include "document/house_document.h"
#include "io/atomic_file.h"
#include "io/house_file.h"
#include "render/image_export.h"
#include "render/projection.h"
#include "render/whole_house.h"
#include "settings/settings.h"

namespace tavi::cli {
namespace {

// "0.5", "2" or "150%".
bool ParseZoom(std::string s, double* out) {
  bool percent = !s.empty() && s.back() == '%';
  if (percent) s.pop_back();
  if (s.empty()) return false;
  char* end = nullptr;
  double v = std::strtod(s.c_str(), &end);
  if (*end != '\0' || !std::isfinite(v) || !(v > 0)) return false;
  *out = percent ? v / 100.0 : v;
  return true;
}

int RunRender(const Args& args) {
  if (args.positional.size() != 1) return Usage("render needs one house file");
  const std::string out = args.Get("out");
  if (out.empty()) return Usage("render needs --out IMAGE");

  double zoom = 1.0;
  if (args.Has("zoom") && !ParseZoom(args.Get("zoom"), &zoom))
    return Usage("--zoom takes a positive number (0.5, 2 or 150%)");
  if (zoom < kMinZoom || zoom > kMaxZoom)
    return Usage("--zoom must lie from 0.01 to 16 (1% to 1600%), the view's range");
  // A JPEG gets the editor's own quality unless one is given.
  const ImageFormat format = ImageFormatForCli(out);
  int quality = 0;
  if (args.Has("quality")) {
    if (!ParseInt(args.Get("quality"), 50, 90, &quality) ||
        (quality != 90 && quality != 70 && quality != 50))
      return Usage("--quality takes 90, 70 or 50");
  } else if (format == ImageFormat::kJpeg) {
    quality = JpegQualityFor(LoadCliSettings().JpegQuality);
  }
  int bgType = 0;
  if (args.Has("bg") && !ParseInt(args.Get("bg"), 0, 5, &bgType))
    return Usage("--bg takes a ground type 0..5");
  int floor = -1;
  if (args.Has("floor") && !ParseInt(args.Get("floor"), 0, kFloors - 1, &floor))
    return Usage("--floor takes a floor 0..4");

  std::string error;
  std::unique_ptr<TUOTileData> data = LoadClientForCli(args, &error);
  if (!data) return Fail(error);

  PlainDocHost host;
  host.showPropriety = true;  // the view's customization marks start switched on
  int storedBase = 0;
  std::unique_ptr<TTAVIDoc> doc =
      LoadHouseForCli(args.positional[0], data.get(), &host, &storedBase, &error);
  if (!doc) return Fail(error);
  doc->Recalculate();

  WholeHouseOptions options;
  options.Floor = floor;
  options.Zoom = zoom;
  options.ShowGrid = !args.Has("no-grid");
  options.Night = args.Has("night");
  options.BGType = bgType;
  options.LargeBG = args.Has("large-bg");
  TBitmap24 picture;
  if (!RenderWholeHouse(*doc, *data, options, &picture, &error)) return Fail(out + ": " + error);
  std::string bytes;
  if (!EncodeImage(picture, format, quality, &bytes))
    return Fail(out + ": the picture cannot be encoded");
  if (!WriteFileAtomically(out, bytes, &error)) return Fail(error);
  return kOk;
}

Registrar reg("render",
              "FILE.tav --out IMAGE [--floor F] [--zoom Z] [--night] [--no-grid] [--bg TYPE] "
              "[--large-bg] [--quality 90|70|50]",
              "draws the house with the whole scene visible and writes BMP, JPEG (.jpg) or PNG "
              "(.png); JPEG quality from the editor's settings unless given",
              {"out", "floor", "zoom", "bg", "quality"}, {"night", "no-grid", "large-bg"},
              &RunRender);

}  // namespace
}  // namespace tavi::cli
