// tavi-cli clip-import --out FILE.tav: reads clipboard house text on stdin and
// writes the house file.
#include <iostream>
#include <iterator>

#include "cli/command.h"
#include "io/clip_text.h"
#include "io/house_file.h"

namespace tavi::cli {
namespace {

constexpr size_t kMaxInput = size_t(64) << 20;

int RunClipImport(const Args& args) {
  if (!args.positional.empty()) return Usage("clip-import reads its text on stdin");
  const std::string out = args.Get("out");
  if (out.empty()) return Usage("clip-import needs --out FILE.tav");
  std::string text;
  char buf[65536];
  while (std::cin.read(buf, sizeof buf) || std::cin.gcount() > 0) {
    text.append(buf, size_t(std::cin.gcount()));
    if (text.size() > kMaxInput) return Fail("stdin: the text is too large");
  }
  auto image = NewHouseImage();
  std::string name;
  const LoadResult result = ParseClipText(text, *image, &name);
  if (!result.ok) return Fail("stdin: This text has no data or broken. (" + result.error + ")");
  const SaveResult saved = SaveImageToFile(*image, out, ClampBaseHeight(result.baseHeight));
  if (!saved.ok) return Fail(saved.error);
  return kOk;
}

const Registrar reg("clip-import", "--out FILE.tav",
                    "reads clipboard house text on stdin and writes the house file", {"out"}, {},
                    &RunClipImport);

}  // namespace
}  // namespace tavi::cli
