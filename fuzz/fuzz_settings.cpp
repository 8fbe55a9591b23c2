// A settings file of any bytes: read, written back in place, read again.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "settings/profile_file.h"
#include "settings/settings.h"

namespace {

std::string Folder() {
  return "/tmp/fuzz_settings." + std::to_string(::getpid());
}

void RemoveTempFolder() {
  ::unlink((Folder() + "/tavi.ini").c_str());
  ::rmdir(Folder().c_str());
}

bool SameStored(const tavi::TSettings& a, const tavi::TSettings& b) {
  return a.ArtIdx == b.ArtIdx && a.Multi == b.Multi && a.Width == b.Width &&
         a.Language == b.Language && a.nBookmark == b.nBookmark &&
         a.BookmarkCodes == b.BookmarkCodes && a.isLargeBG == b.isLargeBG &&
         a.LastChar == b.LastChar && a.HomeURL == b.HomeURL;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  // The profile text round-trips unchanged, and what was read is what is read
  // back after writing it.
  tavi::ProfileFile ini(text);
  if (ini.Text() != text) std::abort();
  const tavi::TSettings s = tavi::ReadSettings(ini);
  tavi::WriteSettings(ini, s);
  if (!SameStored(tavi::ReadSettings(ini), s)) std::abort();

  // Now and then through a real file (writing one is slow).
  if (size % 16 == 0) {
    static const std::string dir = [] {
      ::mkdir(Folder().c_str(), 0700);
      std::atexit(RemoveTempFolder);
      return Folder() + "/";
    }();
    const std::string path = dir + "tavi.ini";
    {
      std::ofstream f(path, std::ios::binary | std::ios::trunc);
      f.write(text.data(), std::streamsize(text.size()));
    }
    const tavi::TSettings fromFile = tavi::LoadSettings(path);
    // Client paths that name nothing on disk are stored empty.
    if (!tavi::SaveSettings(path, fromFile) ||
        !SameStored(tavi::LoadSettings(path), tavi::WithoutMissingClientPaths(fromFile)))
      std::abort();
  }
  return 0;
}
