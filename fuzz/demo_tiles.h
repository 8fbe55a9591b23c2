#pragma once
// The demo client's tile facts and art for the fuzz targets: written once per
// process into a scratch folder (a memory file system when there is one) and
// loaded; the folder goes at once, the open art file stays readable.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "client/tile_data.h"
#include "tools/demodata.h"

namespace fuzz {

inline const tavi::TUOTileData& DemoTiles() {
  static const std::unique_ptr<tavi::TUOTileData> tiles = [] {
    struct stat st {};
    const std::string base =
        ::stat("/dev/shm", &st) == 0 && S_ISDIR(st.st_mode) ? "/dev/shm/" : "/tmp/";
    const std::string dir = base + "fuzz_demo_client." + std::to_string(::getpid());
    std::string error;
    if (!tavi::demo::WriteDemoClient(dir, nullptr, &error)) {
      std::fprintf(stderr, "cannot write the demo client: %s\n", error.c_str());
      std::abort();
    }
    auto loaded =
        tavi::TUOTileData::Create(dir + "/artidx.mul", dir + "/tiledata.mul", dir + "/art.mul");
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    return loaded;
  }();
  return *tiles;
}

}  // namespace fuzz
