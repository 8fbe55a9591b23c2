// Opening a client as large as a real packed one (an art container of 43,760
// pictures, about 150 MB, in 44 tables, and a full 3,188,736-byte
// tiledata.mul) against its floor, reading the container's tables and the
// tile data raw, and against opening the same pictures as loose files
// (art.mul with artidx.mul); and one picture from the container against the
// same picture from art.mul.
//
// Each path runs alternately with what it is measured against, in the same
// run (the counters floor_ms, ratio and target, as bench/ratio.h). The editor
// opens the client once per start, so besides warm (the files in the page
// cache, and whatever the other of the two left in the processor caches)
// there are flushed:1 (the files in the page cache, the processor caches
// emptied before each of the two) and cold:1 (the files dropped from the
// page cache before each, as after a reboot). BM_OpenPackedShuffled opens a
// container whose entries are listed in no order at all; it has no target.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <malloc.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench/ratio.h"
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
  // The same pictures, the entries in a random order.
  std::string Shuffled() const { return (dir / "shuffled" / "artLegacyMUL.uop").string(); }
};

const Client& TheClient() {
  static const Client client = [] {
    // Warm means the memory too: every buffer comes from memory the process
    // already has, never fresh pages from the system, for the path and its
    // floor alike (otherwise which of them meets the faults of fresh pages
    // depends on what the allocator happened to give back in between).
    ::mallopt(M_MMAP_THRESHOLD, 256 << 20);
    ::mallopt(M_TRIM_THRESHOLD, 1 << 30);
    Client c;
    c.dir = fs::temp_directory_path() / ("tavi-bench-packed-" + std::to_string(::getpid()));
    fs::create_directories(c.dir / "shuffled");
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
    WriteFile(c.Container(), tavi::demo::BuildPackedContainer(files, layout).bytes);
    std::shuffle(files.begin(), files.end(), std::mt19937(20240601));
    WriteFile(c.Shuffled(), tavi::demo::BuildPackedContainer(files, layout).bytes);
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
  for (const std::string& path :
       {c.TileData(), c.ArtIdx(), c.ArtMul(), c.Container(), c.Shuffled()})
    DropFromCache(path);
}

// The floor: the container's header and each table (its head, then its
// entries) read as they are, and tiledata.mul read whole into a buffer of its
// size; nothing parsed, nothing else.
bool ReadTablesAndTileDataRaw(const Client& c) {
  const int fd = ::open(c.Container().c_str(), O_RDONLY | O_CLOEXEC);
  uint8_t header[40];
  bool ok = ::pread(fd, header, sizeof header, 0) == ssize_t(sizeof header);
  std::vector<uint8_t> table;
  for (uint64_t at = ok ? Le64(header + 12) : 0; ok && at != 0;) {
    uint8_t head[12] = {};
    ok = ::pread(fd, head, sizeof head, off_t(at)) == ssize_t(sizeof head);
    const uint32_t count = uint32_t(head[0] | head[1] << 8 | head[2] << 16 | head[3] << 24);
    table.resize(ok ? size_t(count) * 34 : 0);
    ok = ok && ::pread(fd, table.data(), table.size(), off_t(at + 12)) == ssize_t(table.size());
    benchmark::DoNotOptimize(table.data());
    at = Le64(head + 4);
  }
  ::close(fd);
  const int td = ::open(c.TileData().c_str(), O_RDONLY | O_CLOEXEC);
  struct stat st {};
  ok = ok && ::fstat(td, &st) == 0;
  const size_t size = ok ? size_t(st.st_size) : 0;
  const std::unique_ptr<uint8_t[]> bytes(new uint8_t[size]);
  ok = ok && ::read(td, bytes.get(), size) == ssize_t(size);
  benchmark::DoNotOptimize(bytes.get());
  ::close(td);
  return ok;
}

// Reads through more memory than the processor caches hold, so that what
// follows finds none of the files' pages there, as at start-up.
void FlushProcessorCaches() {
  static std::vector<uint64_t> junk(size_t(64) << 17);  // 64 MB
  uint64_t sum = 0;
  for (size_t i = 0; i < junk.size(); i += 8) sum += junk[i];
  benchmark::DoNotOptimize(sum);
}

// A path against what it is measured against, alternating. Arguments: cold
// (the client's files dropped from the page cache before each of the two),
// flushed (the files in the page cache, but none of them in the processor
// caches: otherwise each of the two reads what the other has just brought
// there).
template <class Path, class Floor>
void AgainstFloor(benchmark::State& state, double target, Path&& path, Floor&& floor) {
  const Client& c = TheClient();
  const bool cold = state.range(0) != 0;
  const bool flushed = state.range(1) != 0;
  auto prepare = [&] {
    if (cold) DropClient(c);
    if (flushed) FlushProcessorCaches();
  };
  tavi::bench::PathAgainstFloorPrepared(state, target, prepare, path, floor);
}

uint32_t OpenPacked(const std::string& container) {
  return tavi::TUOTileData::Create("", TheClient().TileData(), container)->ItemCount;
}

uint32_t OpenLoose() {
  const Client& c = TheClient();
  return tavi::TUOTileData::Create(c.ArtIdx(), c.TileData(), c.ArtMul())->ItemCount;
}

void BM_OpenPackedAgainstRawReads(benchmark::State& state) {
  const Client& c = TheClient();
  uint32_t items = 0;
  bool ok = true;
  AgainstFloor(
      state, 2.0, [&] { items = OpenPacked(c.Container()); },
      [&] { ok = ReadTablesAndTileDataRaw(c) && ok; });
  if (!ok) state.SkipWithError("the raw reads failed");
  state.counters["items"] = items;
}
BENCHMARK(BM_OpenPackedAgainstRawReads)
    ->ArgNames({"cold", "flushed"})
    ->Args({0, 0})
    ->Args({0, 1})
    ->Args({1, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();

void BM_OpenPackedAgainstLoose(benchmark::State& state) {
  const Client& c = TheClient();
  uint32_t packed = 0, loose = 0;
  AgainstFloor(
      state, 1.5, [&] { packed = OpenPacked(c.Container()); }, [&] { loose = OpenLoose(); });
  if (packed != loose) state.SkipWithError("the two clients differ");
  state.counters["items"] = packed;
}
BENCHMARK(BM_OpenPackedAgainstLoose)
    ->ArgNames({"cold", "flushed"})
    ->Args({0, 0})
    ->Args({0, 1})
    ->Args({1, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();

// The loose client against the same raw reads, for comparison.
void BM_OpenLooseAgainstRawReads(benchmark::State& state) {
  const Client& c = TheClient();
  bool ok = true;
  AgainstFloor(
      state, 0, [&] { OpenLoose(); }, [&] { ok = ReadTablesAndTileDataRaw(c) && ok; });
  if (!ok) state.SkipWithError("the raw reads failed");
}
BENCHMARK(BM_OpenLooseAgainstRawReads)
    ->ArgNames({"cold", "flushed"})
    ->Args({0, 0})
    ->Args({0, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();

// Entries in no order: every one is looked up in the name table.
void BM_OpenPackedShuffled(benchmark::State& state) {
  const Client& c = TheClient();
  uint32_t packed = 0, loose = 0;
  AgainstFloor(
      state, 0, [&] { packed = OpenPacked(c.Shuffled()); }, [&] { loose = OpenLoose(); });
  if (packed != loose) state.SkipWithError("the two clients differ");
}
BENCHMARK(BM_OpenPackedShuffled)
    ->ArgNames({"cold", "flushed"})
    ->Args({0, 0})
    ->Args({0, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();

// One picture decoded for a texture, walking through the item pictures,
// from the container against from art.mul.
void BM_PictureFromContainer(benchmark::State& state) {
  const Client& c = TheClient();
  auto packed = tavi::TUOTileData::Create("", c.TileData(), c.Container());
  auto loose = tavi::TUOTileData::Create(c.ArtIdx(), c.TileData(), c.ArtMul());
  size_t i = 0;
  bool ok = true;
  auto decode = [&](const tavi::TUOTileData& t) {
    tavi::ArtRGBA art;
    ok = t.LoadArtRGBA(c.items[i], &art) && ok;
    benchmark::DoNotOptimize(art.Pixels.data());
  };
  // The floor runs first: both decode picture i, then the next pair the next.
  tavi::bench::PathAgainstFloor(
      state, 1.2,
      [&] {
        decode(*packed);
        i = (i + 97) % c.items.size();
      },
      [&] { decode(*loose); });
  if (!ok) state.SkipWithError("no picture");
}
BENCHMARK(BM_PictureFromContainer)->Unit(benchmark::kMicrosecond)->UseManualTime();

}  // namespace
