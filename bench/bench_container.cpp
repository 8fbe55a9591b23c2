// Opening a client as large as a real packed one (an art container of 43,760
// pictures, about 150 MB, in 44 tables, and a full 3,188,736-byte
// tiledata.mul) against reading its tables and the tile data raw, and against
// opening the same pictures as art.mul with artidx.mul; and one picture from
// the container against the same picture from art.mul.
//
// The cold:1 variants drop the client's files from the page cache before each
// run, as after a reboot: the editor opens the client once per start.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "client/container.h"
#include "client/tile_data.h"
#include "tools/container_writer.h"

namespace {

namespace fs = std::filesystem;

constexpr int kLandPictures = 12000;
constexpr int kItemPictures = 31760;  // 43,760 pictures in all

void Put16(std::vector<uint8_t>& v, uint32_t x) {
  v.push_back(uint8_t(x));
  v.push_back(uint8_t(x >> 8));
}

void WriteFile(const fs::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// A land diamond of 1012 pixels.
std::vector<uint8_t> LandPicture(int seed) {
  std::vector<uint8_t> v;
  for (int i = 0; i < 1012; ++i) Put16(v, uint32_t(seed * 31 + i) & 0x7FFF);
  return v;
}

// Item art 40 x 44 with one run per row: about 4 KB, as a wall piece.
std::vector<uint8_t> ItemPicture(int seed) {
  const int w = 40, h = 44;
  std::vector<uint8_t> v;
  Put16(v, 1);
  Put16(v, 0);
  Put16(v, w);
  Put16(v, h);
  for (int r = 0; r < h; ++r) Put16(v, uint32_t(r * (w + 4)));
  for (int r = 0; r < h; ++r) {
    Put16(v, 0);
    Put16(v, w);
    for (int x = 0; x < w; ++x) Put16(v, uint32_t(seed + r * 7 + x) & 0x7FFF);
    Put16(v, 0);
    Put16(v, 0);
  }
  return v;
}

struct Client {
  fs::path dir;
  std::vector<uint32_t> items;  // art indices of item pictures
  std::string TileData() const { return (dir / "tiledata.mul").string(); }
  std::string ArtIdx() const { return (dir / "artidx.mul").string(); }
  std::string ArtMul() const { return (dir / "art.mul").string(); }
  std::string Container() const { return (dir / "artLegacyMUL.uop").string(); }
};

const Client& TheClient() {
  static const Client client = [] {
    Client c;
    c.dir = fs::temp_directory_path() / ("tavi-bench-packed-" + std::to_string(::getpid()));
    fs::create_directories(c.dir);
    // A full tiledata.mul of the current layout.
    std::vector<uint8_t> td(493568, 0);
    for (int id = 0; id < 65536; ++id) {
      if (id % 32 == 0) td.insert(td.end(), 4, 0);
      std::vector<uint8_t> rec(41, 0);
      rec[20] = uint8_t(id % 21);
      rec[21] = uint8_t('a' + id % 26);
      td.insert(td.end(), rec.begin(), rec.end());
    }
    WriteFile(c.dir / "tiledata.mul", td);
    // The pictures, spread over the index range as in a real client.
    std::vector<tavi::demo::PackedFile> files;
    std::vector<uint8_t> art, idx(size_t(tavi::kContainerArtIndices) * 12, 0xFF);
    auto add = [&](uint32_t index, std::vector<uint8_t> picture) {
      const uint32_t at = uint32_t(art.size()), length = uint32_t(picture.size());
      for (int i = 0; i < 4; ++i) idx[index * 12 + uint32_t(i)] = uint8_t(at >> (8 * i));
      for (int i = 0; i < 4; ++i) idx[index * 12 + 4 + uint32_t(i)] = uint8_t(length >> (8 * i));
      art.insert(art.end(), picture.begin(), picture.end());
      char name[40];
      std::snprintf(name, sizeof name, "build/artlegacymul/%08u.tga", index);
      files.push_back({name, std::move(picture)});
    };
    for (int i = 0; i < kLandPictures; ++i) add(uint32_t(i), LandPicture(i));
    for (int i = 0; i < kItemPictures; ++i) {
      const uint32_t index = tavi::kItemArtBase + uint32_t(i) * 2;
      c.items.push_back(index);
      add(index, ItemPicture(i));
    }
    WriteFile(c.dir / "art.mul", art);
    WriteFile(c.dir / "artidx.mul", idx);
    art.clear();
    art.shrink_to_fit();
    tavi::demo::PackedLayout layout;
    layout.capacity = 1000;
    WriteFile(c.dir / "artLegacyMUL.uop", tavi::demo::BuildPackedContainer(files, layout).bytes);
    return c;
  }();
  static const struct Cleanup {
    ~Cleanup() {
      std::error_code ec;
      fs::remove_all(client.dir, ec);
    }
  } cleanup;
  return client;
}

std::vector<uint8_t> ReadAll(const std::string& path) {
  std::ifstream f(path, std::ios::binary | std::ios::ate);
  std::vector<uint8_t> bytes(size_t(f.tellg()));
  f.seekg(0);
  f.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size()));
  return bytes;
}

uint64_t Le64(const uint8_t* p) {
  uint64_t v = 0;
  for (int i = 7; i >= 0; --i) v = (v << 8) | p[i];
  return v;
}

// Drops a file's pages from the page cache (only this file's).
void DropFromCache(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return;
  ::fdatasync(fd);
  ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
  ::close(fd);
}

void DropClient(const Client& c) {
  for (const std::string& path : {c.TileData(), c.ArtIdx(), c.ArtMul(), c.Container()})
    DropFromCache(path);
}

// The floor: the container's header and every table read as they are, and
// tiledata.mul read whole; nothing parsed.
void BM_ReadTablesAndTileDataRaw(benchmark::State& state) {
  const Client& c = TheClient();
  const bool cold = state.range(0) != 0;
  size_t tables = 0;
  for (auto _ : state) {
    if (cold) {
      state.PauseTiming();
      DropClient(c);
      state.ResumeTiming();
    }
    const int fd = ::open(c.Container().c_str(), O_RDONLY | O_CLOEXEC);
    uint8_t header[40];
    if (::pread(fd, header, sizeof header, 0) != ssize_t(sizeof header))
      state.SkipWithError("read");
    std::vector<uint8_t> table;
    tables = 0;
    for (uint64_t at = Le64(header + 12); at != 0; ++tables) {
      uint8_t head[12];
      if (::pread(fd, head, sizeof head, off_t(at)) != ssize_t(sizeof head)) break;
      const uint32_t count = uint32_t(head[0] | head[1] << 8 | head[2] << 16 | head[3] << 24);
      table.resize(size_t(count) * 34);
      if (::pread(fd, table.data(), table.size(), off_t(at + 12)) != ssize_t(table.size())) break;
      benchmark::DoNotOptimize(table.data());
      at = Le64(head + 4);
    }
    ::close(fd);
    std::vector<uint8_t> td = ReadAll(c.TileData());
    benchmark::DoNotOptimize(td.data());
  }
  state.counters["tables"] = double(tables);
}
BENCHMARK(BM_ReadTablesAndTileDataRaw)
    ->ArgName("cold")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond);

void BM_OpenPackedClient(benchmark::State& state) {
  const Client& c = TheClient();
  const bool cold = state.range(0) != 0;
  uint32_t items = 0;
  for (auto _ : state) {
    if (cold) {
      state.PauseTiming();
      DropClient(c);
      state.ResumeTiming();
    }
    auto t = tavi::TUOTileData::Create("", c.TileData(), c.Container());
    items = t->ItemCount;
    benchmark::DoNotOptimize(t.get());
  }
  state.counters["items"] = items;
}
BENCHMARK(BM_OpenPackedClient)->ArgName("cold")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_OpenLooseClient(benchmark::State& state) {
  const Client& c = TheClient();
  const bool cold = state.range(0) != 0;
  uint32_t items = 0;
  for (auto _ : state) {
    if (cold) {
      state.PauseTiming();
      DropClient(c);
      state.ResumeTiming();
    }
    auto t = tavi::TUOTileData::Create(c.ArtIdx(), c.TileData(), c.ArtMul());
    items = t->ItemCount;
    benchmark::DoNotOptimize(t.get());
  }
  state.counters["items"] = items;
}
BENCHMARK(BM_OpenLooseClient)->ArgName("cold")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// One picture decoded for a texture, walking through the item pictures.
void PictureBench(benchmark::State& state, bool packed) {
  const Client& c = TheClient();
  auto t = packed ? tavi::TUOTileData::Create("", c.TileData(), c.Container())
                  : tavi::TUOTileData::Create(c.ArtIdx(), c.TileData(), c.ArtMul());
  size_t i = 0;
  for (auto _ : state) {
    tavi::ArtRGBA art;
    if (!t->LoadArtRGBA(c.items[i], &art)) state.SkipWithError("no picture");
    benchmark::DoNotOptimize(art.Pixels.data());
    i = (i + 97) % c.items.size();
  }
}
void BM_PictureFromArtMul(benchmark::State& state) {
  PictureBench(state, false);
}
void BM_PictureFromContainer(benchmark::State& state) {
  PictureBench(state, true);
}
BENCHMARK(BM_PictureFromArtMul)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PictureFromContainer)->Unit(benchmark::kMicrosecond);

}  // namespace
