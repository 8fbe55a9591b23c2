// tiledata.mul, artidx.mul and art.mul from one input: the first two bytes
// give the index length in entries, the next two the art length in bytes; the
// rest is tiledata.mul. Every picture named by the index is decoded.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "client/tile_data.h"

namespace {

// A memory file system when there is one: every input writes three files.
std::string FolderBase() {
  struct stat st {};
  return ::stat("/dev/shm", &st) == 0 && S_ISDIR(st.st_mode) ? "/dev/shm/" : "/tmp/";
}

void RemoveTempFolder() {
  const std::string d = FolderBase() + "fuzz_tiledata." + std::to_string(::getpid());
  ::unlink((d + "/artidx.mul").c_str());
  ::unlink((d + "/art.mul").c_str());
  ::unlink((d + "/tiledata.mul").c_str());
  ::rmdir(d.c_str());
}

const std::string& TempFolder() {
  static const std::string dir = [] {
    std::string d = FolderBase() + "fuzz_tiledata." + std::to_string(::getpid());
    ::mkdir(d.c_str(), 0700);
    return d + "/";
  }();
  static const int cleanup = std::atexit(RemoveTempFolder);
  (void)cleanup;
  return dir;
}

void Write(const std::string& path, const uint8_t* data, size_t n) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(reinterpret_cast<const char*>(data), std::streamsize(n));
}

}  // namespace

// The scratch folder is made once, before the first input.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  TempFolder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  size_t idxLen = size_t(data[0] | (data[1] << 8)) * 12;
  size_t artLen = size_t(data[2] | (data[3] << 8));
  data += 4;
  size -= 4;
  idxLen = std::min(idxLen, size);
  artLen = std::min(artLen, size - idxLen);
  const std::string dir = TempFolder();
  Write(dir + "artidx.mul", data, idxLen);
  Write(dir + "art.mul", data + idxLen, artLen);
  // The item section starts far into tiledata.mul: the land section before
  // it is left as a hole of zeros.
  {
    const std::string td = dir + "tiledata.mul";
    const int fd = ::open(td.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0) return 0;
    const size_t rest = size - idxLen - artLen;
    const bool ok = ::ftruncate(fd, off_t(493568 + rest)) == 0 &&
                    ::pwrite(fd, data + idxLen + artLen, rest, 493568) == ssize_t(rest);
    ::close(fd);
    if (!ok) return 0;
  }

  auto tiles = tavi::TUOTileData::Create(dir + "artidx.mul", dir + "tiledata.mul", dir + "art.mul");
  tavi::TBitmap24 bmp(44, 60);
  // A texture can take 4 MB, so only the first pictures are decoded for one.
  for (uint32_t i = 0; i < tiles->ArtIndexCount && i < 64; ++i) {
    tavi::ArtRGBA art;
    if (i < 8) tiles->LoadArtRGBA(i, &art);
    tiles->DrawArt(bmp, i, 0, 0);
    tiles->DrawArt(bmp, i, -30, -20);
  }
  for (uint32_t id = 0; id < tiles->ItemCount && id < 64; ++id)
    (void)tiles->ItemName(tiles->ItemIds[id]);
  return 0;
}
