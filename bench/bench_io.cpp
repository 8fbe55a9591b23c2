// Loading and saving a dense house (100,905 entries), each against a plain
// read-and-split of the same file, and the clipboard text of the same house
// both ways.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "bench/ratio.h"
#include "io/clip_text.h"
#include "io/house_file.h"

namespace {

using namespace tavi;
namespace bench = tavi::bench;

struct NoFacts : ITileFacts {
  uint8_t TileHeight(uint16_t) const override { return 0; }
  bool IsBackground(uint16_t) const override { return false; }
  uint16_t Category(uint16_t) const override { return 0; }
};

// A 31 x 31 plot with 21 tiles in every cell of every floor: 100,905 entries,
// walls and floors repeating as in a built house.
struct Dense {
  NoFacts facts;
  PlainDocHost host;
  std::unique_ptr<TTAVIDoc> doc;
  std::string path;
  Dense() {
    doc = std::make_unique<TTAVIDoc>(31, 31, &facts, &host);
    doc->Clear(false);
    for (int f = 0; f < kFloors; ++f)
      for (int l = 0; l < 21; ++l)
        for (int y = 0; y < 31; ++y)
          for (int x = 0; x < 31; ++x)
            doc->Tiles[f][l][y][x] = {int16_t(l - 1), uint16_t(1000 + l * 7 + (x + y) % 4), 0};
    doc->UpdateAllCells();
    path = TempFile(MemoryFolder());
    diskPath = TempFile("/tmp");
    SaveToFile(*doc, path);
  }
  ~Dense() {
    std::remove(path.c_str());
    std::remove(diskPath.c_str());
  }
  // The house lives on a memory file system where there is one: a save asks
  // the disk to flush the file, and on a disk that wait would swamp the
  // editor's own work (it is measured apart, on /tmp).
  static std::string MemoryFolder() {
    struct stat st;
    return stat("/dev/shm", &st) == 0 && S_ISDIR(st.st_mode) ? "/dev/shm" : "/tmp";
  }
  static std::string TempFile(const std::string& folder) {
    std::string name = folder + "/tavi-bench-XXXXXX";
    const int fd = mkstemp(name.data());
    if (fd >= 0) close(fd);
    return name;
  }
  std::string diskPath;
};

Dense& House() {
  static Dense dense;
  return dense;
}

// The floor of both directions: one read of the whole file into a buffer of
// its size, and one pass over it that cuts it into fields (views, no copies)
// kept in a vector reserved up front.
size_t PlainReadAndSplit(const std::string& path, std::vector<char>& text,
                         std::vector<std::string_view>& fields) {
  const int fd = open(path.c_str(), O_RDONLY);
  struct stat st;
  if (fd < 0 || fstat(fd, &st) != 0) return 0;
  text.resize(size_t(st.st_size));
  size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = read(fd, text.data() + done, text.size() - done);
    if (n <= 0) break;
    done += size_t(n);
  }
  close(fd);
  fields.clear();
  size_t start = 0;
  for (size_t i = 0; i < done; ++i) {
    const char c = text[i];
    if (c == ',' || c == '\r' || c == '\n') {
      if (i > start) fields.emplace_back(text.data() + start, i - start);
      start = i + 1;
    }
  }
  benchmark::DoNotOptimize(fields.data());
  return fields.size();
}

struct Floor {
  std::vector<char> text;
  std::vector<std::string_view> fields;
  explicit Floor(const std::string& path) {
    struct stat st;
    if (stat(path.c_str(), &st) == 0) fields.reserve(size_t(st.st_size) / 2);
  }
  void Run(const std::string& path) { PlainReadAndSplit(path, text, fields); }
};

void BM_PlainReadAndSplit(benchmark::State& state) {
  const std::string& path = House().path;
  Floor floor(path);
  for (auto _ : state) floor.Run(path);
  state.counters["fields"] = double(floor.fields.size());
}
BENCHMARK(BM_PlainReadAndSplit)->Unit(benchmark::kMillisecond);

void BM_LoadFromFile(benchmark::State& state) {
  Dense& h = House();
  auto target = std::make_unique<TTAVIDoc>(8, 8, &h.facts, &h.host);
  target->Clear(false);
  Floor floor(h.path);
  bool ok = true;
  bench::PathAgainstFloor(
      state, 3.0, [&] { ok = ok && LoadFromFile(*target, h.path).ok; }, [&] { floor.Run(h.path); });
  if (!ok) state.SkipWithError("the house did not load");
  state.counters["entries"] = 100905;
}
BENCHMARK(BM_LoadFromFile)->Unit(benchmark::kMillisecond)->UseManualTime();

// The whole save: the text, then the file written beside the target and
// renamed over it (with its flush to the disk).
void BM_SaveToFile(benchmark::State& state) {
  Dense& h = House();
  const std::string out = h.path + ".out";
  Floor floor(h.path);
  bool ok = true;
  bench::PathAgainstFloor(
      state, 3.0, [&] { ok = ok && SaveToFile(*h.doc, out).ok; }, [&] { floor.Run(h.path); });
  if (!ok) state.SkipWithError("the house was not saved");
  std::remove(out.c_str());
}
BENCHMARK(BM_SaveToFile)->Unit(benchmark::kMillisecond)->UseManualTime();

// The same on the disk of /tmp, with the wait for its flush.
void BM_SaveToFileOnDisk(benchmark::State& state) {
  Dense& h = House();
  Floor floor(h.path);
  bool ok = true;
  bench::PathAgainstFloor(
      state, 0, [&] { ok = ok && SaveToFile(*h.doc, h.diskPath).ok; }, [&] { floor.Run(h.path); });
  if (!ok) state.SkipWithError("the house was not saved");
}
BENCHMARK(BM_SaveToFileOnDisk)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(20);

// The part of the save that is the editor's own: the file's text.
void BM_SaveText(benchmark::State& state) {
  Dense& h = House();
  Floor floor(h.path);
  size_t bytes = 0;
  bench::PathAgainstFloor(
      state, 3.0, [&] { bytes = HouseFileText(*h.doc).size(); }, [&] { floor.Run(h.path); });
  state.counters["bytes"] = double(bytes);
}
BENCHMARK(BM_SaveText)->Unit(benchmark::kMillisecond)->UseManualTime();

void BM_ClipExport(benchmark::State& state) {
  Dense& h = House();
  MemoryClipboard clip;
  for (auto _ : state) {
    const SaveResult r = ExportClipText(*h.doc, clip, 76, "dense");
    if (!r.ok) state.SkipWithError(r.error.c_str());
  }
  state.counters["text_bytes"] = double(clip.text.size());
}
BENCHMARK(BM_ClipExport)->Unit(benchmark::kMillisecond);

void BM_ClipImport(benchmark::State& state) {
  Dense& h = House();
  MemoryClipboard clip;
  ExportClipText(*h.doc, clip, 76, "dense");
  auto target = std::make_unique<TTAVIDoc>(8, 8, &h.facts, &h.host);
  target->Clear(false);
  for (auto _ : state) {
    const LoadResult r = ImportClipText(*target, clip, nullptr);
    if (!r.ok) state.SkipWithError(r.error.c_str());
  }
}
BENCHMARK(BM_ClipImport)->Unit(benchmark::kMillisecond);

}  // namespace
