// Packed containers: the input is the container. Its tables are read, every
// entry's payload is read and inflated under a small cap and read as a
// multi, and the input is opened as a client's art container: the art index
// is built and the first pictures decoded.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "client/container.h"
#include "client/multi_files.h"
#include "client/tile_data.h"
#include "io/multi_import.h"

namespace {

std::string FolderBase() {
  struct stat st {};
  return ::stat("/dev/shm", &st) == 0 && S_ISDIR(st.st_mode) ? "/dev/shm/" : "/tmp/";
}

const std::string& Folder() {
  static const std::string dir = [] {
    const std::string d = FolderBase() + "fuzz_container." + std::to_string(::getpid());
    ::mkdir(d.c_str(), 0700);
    // A tiledata.mul of one block of items.
    const int fd = ::open((d + "/tiledata.mul").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd >= 0) {
      const bool sized = ::ftruncate(fd, 493568 + 4 + 32 * 41) == 0;
      (void)sized;  // without it the tile data just has no items
      ::close(fd);
    }
    return d + "/";
  }();
  static const int cleanup = std::atexit([] {
    ::unlink((dir + "artLegacyMUL.uop").c_str());
    ::unlink((dir + "tiledata.mul").c_str());
    ::rmdir(dir.c_str());
  });
  (void)cleanup;
  return dir;
}

}  // namespace

// The scratch folder is made once, before the first input.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  Folder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tavi;
  std::string error;
  auto c = PackedContainer::FromBytes(std::vector<uint8_t>(data, data + size), "fuzz.uop", &error);
  if (!c) return 0;
  std::vector<uint8_t> payload;
  std::vector<MultiComponent> parts;
  for (const ContainerEntry& e : c->Entries()) {
    if (!c->ReadPayload(e, 1 << 16, &payload, &error)) continue;
    ParseMultiPayload(payload.data(), payload.size(), &parts, &error);
  }
  ReadContainerMulti(*c, 0, &parts, &error);
  (void)c->FindName("build/multicollection/housing.bin");

  // The same bytes as a client's art container.
  const std::string dir = Folder();
  const int fd = ::open((dir + "artLegacyMUL.uop").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (fd < 0) return 0;
  const bool written = ::write(fd, data, size) == ssize_t(size);
  ::close(fd);
  if (!written) return 0;
  try {
    auto tiles = TUOTileData::Create("", dir + "tiledata.mul", dir + "artLegacyMUL.uop");
    TBitmap24 bmp(44, 60);
    ArtRGBA art;
    for (uint32_t i = 0; i < 4; ++i) {
      tiles->LoadArtRGBA(i, &art);
      tiles->DrawArt(bmp, i, 0, 0);
      tiles->LoadArtRGBA(kItemArtBase + i, &art);
      tiles->DrawArt(bmp, kItemArtBase + i, 0, 0);
    }
  } catch (const TileDataError&) {
  }
  return 0;
}
