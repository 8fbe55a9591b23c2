// tavi-cli clip-export FILE.tav [--width N] [--name NAME]: prints the house as
// clipboard text.
#include <iostream>

#include "cli/command.h"
#include "io/clip_text.h"
#include "io/house_file.h"

namespace tavi::cli {
namespace {

int RunClipExport(const Args& args) {
  if (args.positional.size() != 1) return Usage("clip-export needs one house file");
  const std::string& path = args.positional[0];
  int width = 76;
  if (args.Has("width") && !ParseInt(args.Get("width"), 1, 4096, &width))
    return Usage("--width must be a number from 1 to 4096");
  const std::string name = args.Has("name") ? args.Get("name") : HouseNameOf(path);

  std::string text, error, warning;
  if (!ReadWholeFile(path, &text, &error)) return Fail(error);
  auto image = NewHouseImage();
  const LoadResult loaded = ParseHouseFile(text, *image);
  if (!loaded.ok) return Fail("'" + path + "': " + loaded.error);
  const std::string clip = BuildClipText(*image, width, name, &error, &warning);
  if (clip.empty()) return Fail("'" + path + "': " + error);
  if (!warning.empty()) std::cerr << "tavi-cli: warning: " << warning << "\n";
  std::cout.write(clip.data(), std::streamsize(clip.size()));
  std::cout.flush();
  return std::cout ? kOk : Fail("cannot write the text");
}

const Registrar reg("clip-export", "FILE.tav [--width N] [--name NAME]",
                    "prints the whole-house clipboard text (CR LF line ends)", {"width", "name"},
                    {}, &RunClipExport);

}  // namespace
}  // namespace tavi::cli
