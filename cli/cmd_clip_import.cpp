// tavi-cli clip-import --out FILE.tav: reads clipboard house text on stdin and
// writes the house file.
#include <unistd.h>

#include <cerrno>
#include <cstring>

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
  for (;;) {
    const ssize_t n = ::read(STDIN_FILENO, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    // A folder or a closed descriptor as input is no empty text.
    if (n < 0) return Fail(std::string("stdin: cannot read: ") + std::strerror(errno));
    if (n == 0) break;
    text.append(buf, size_t(n));
    if (text.size() > kMaxInput) return Fail("stdin: the text is too large");
  }
  auto image = NewHouseImage();
  std::string name;
  const LoadResult result = ParseClipText(text, *image, &name);
  if (!result.ok) return Fail("stdin: This text has no data or broken. (" + result.error + ")");
  const SaveResult saved = SaveImageToFile(*image, out);
  if (!saved.ok) return Fail(saved.error);
  return kOk;
}

const Registrar reg("clip-import", "--out FILE.tav",
                    "reads clipboard house text on stdin and writes the house file", {"out"}, {},
                    &RunClipImport);

}  // namespace
}  // namespace tavi::cli
