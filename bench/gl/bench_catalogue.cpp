// The object catalogue's "Main" tab with about 16,000 items: laying out and
// drawing one screen of cells, and scrolling by one screen. And a page step
// (Page Down) on a client as large as a real one (65,536 item records,
// 43,760 item pictures) against decoding the pictures of the page it shows.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <vector>

#include "app/catalogue_window.h"
#include "app/picture_grid.h"
#include "bench/gl/paint_wait.h"
#include "bench/synthetic_client.h"
#include "client/tile_data.h"
#include "settings/settings.h"
#include "tools/demodata.h"

namespace {

using namespace tavi;
namespace fs = std::filesystem;

std::unique_ptr<TUOTileData> g_tiles;
constexpr int kItems = 16000;

// The demo client, with every item id below kItems given a picture (items
// without one borrow the picture of an item that has one), so the catalogue
// lists about as many items as a full client.
bool MakeClient(const fs::path& dir) {
  std::string error;
  if (!demo::WriteDemoClient(dir.string(), nullptr, &error)) return false;
  std::fstream idx(dir / "artidx.mul", std::ios::in | std::ios::out | std::ios::binary);
  std::ostringstream text;
  text << idx.rdbuf();
  const std::string bytes = text.str();
  std::vector<char> data(bytes.begin(), bytes.end());
  auto* entries = reinterpret_cast<ArtIndexEntry*>(data.data());
  const size_t count = data.size() / sizeof(ArtIndexEntry);
  std::vector<ArtIndexEntry> withArt;
  for (size_t i = kItemArtBase; i < count; ++i)
    if (entries[i].Offset >= 0 && entries[i].Length > 0) withArt.push_back(entries[i]);
  if (withArt.empty() || count < kItemArtBase + kItems) return false;
  for (int id = 0; id < kItems; ++id) {
    ArtIndexEntry& e = entries[kItemArtBase + id];
    if (e.Offset < 0 || e.Length <= 0) e = withArt[size_t(id) % withArt.size()];
  }
  idx.seekp(0);
  idx.write(data.data(), std::streamsize(data.size()));
  return bool(idx);
}

// The catalogue's host: the tile data, and a count of the tiles chosen.
class BenchHost final : public ICatalogueHost {
 public:
  explicit BenchHost(const TUOTileData* t) : tiles_(t) {}
  int chosen = 0;
  TTAVIDoc* Doc() const override { return nullptr; }
  const TUOTileData* Tiles() const override { return tiles_; }
  TSettings& Settings() const override { return settings_; }
  EditState& Edit() const override { return edit_; }
  LangMessages Msg() const override { return MessagesFor(kLangEnglish); }
  UiPrompts& Prompts() const override { return prompts_; }
  void SetCurrentTile(uint16_t id) override {
    edit_.Tile = id;
    ++chosen;
  }
  IAosChoice* Aos() const override { return nullptr; }
  void CatalogueHidden() override {}

 private:
  const TUOTileData* tiles_;
  mutable TSettings settings_;
  mutable EditState edit_;
  mutable UiPrompts prompts_;
};

// Made at the first use, once the tile data is loaded.
BenchHost& Host() {
  static BenchHost host(g_tiles.get());
  return host;
}

void BM_LayOutAndDrawFirstScreen(benchmark::State& state) {
  int cells = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto form = std::make_unique<TObjForm>(Host(), QString());
    form->resize(420, 900);
    state.ResumeTiming();
    form->show();
    QApplication::processEvents();
    const QPixmap shot = form->Grid()->viewport()->grab();
    benchmark::DoNotOptimize(shot.cacheKey());
    cells = form->ThumbnailsDrawn();
    state.PauseTiming();
    form.reset();
    state.ResumeTiming();
  }
  state.counters["items"] = g_tiles->ItemCount;
  state.counters["cells_drawn"] = cells;
}
BENCHMARK(BM_LayOutAndDrawFirstScreen)->Unit(benchmark::kMillisecond);

void ScrollBench(benchmark::State& state, bool backAndForth) {
  TObjForm form(Host(), QString());
  form.resize(420, 900);
  form.show();
  QApplication::processEvents();
  PictureGrid* g = form.Grid();
  const int page = g->VisibleRows();
  int screens = 0;
  for (auto _ : state) {
    int next = g->TopRow() + page;
    if (backAndForth) next = g->TopRow() == 0 ? page : 0;
    if (next > g->verticalScrollBar()->maximum()) next = 0;
    g->verticalScrollBar()->setValue(next);
    const QPixmap shot = g->viewport()->grab();
    benchmark::DoNotOptimize(shot.cacheKey());
    ++screens;
  }
  state.counters["cells_per_screen"] = g->ColCount() * page;
  state.counters["thumbnails_drawn"] = form.ThumbnailsDrawn();
}

void BM_ScrollOneScreenNewCells(benchmark::State& state) {
  ScrollBench(state, false);
}
void BM_ScrollOneScreenCached(benchmark::State& state) {
  ScrollBench(state, true);
}
BENCHMARK(BM_ScrollOneScreenNewCells)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScrollOneScreenCached)->Unit(benchmark::kMillisecond);

void BM_PageStepRealSize(benchmark::State& state) {
  const fs::path dir =
      fs::temp_directory_path() / ("tavi-bench-realsize-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  constexpr int kPictures = 43760;
  tavi::bench::WriteSyntheticClient(dir, false, [](int id) {
    return id > 0 && id <= kPictures ? std::make_pair(44 + id % 3 * 8, 40 + id % 7 * 12)
                                     : std::make_pair(0, 0);
  });
  std::unique_ptr<TUOTileData> tiles = TUOTileData::Create(
      (dir / "artidx.mul").string(), (dir / "tiledata.mul").string(), (dir / "art.mul").string());
  if (!tiles) {
    fs::remove_all(dir);
    return state.SkipWithError("no client");
  }
  BenchHost host(tiles.get());
  const int& chosen = host.chosen;
  {
    TObjForm form(host, QString());
    form.resize(6 * 45 + 40, 11 * 45 + 120);
    form.show();
    QApplication::processEvents();
    PictureGrid* g = form.Grid();
    // Six columns of eleven rows: 66 thumbnails a screen.
    form.resize(form.width() + 6 * 45 + 2 - g->viewport()->width(),
                form.height() + 11 * 45 + 2 - g->viewport()->height());
    QApplication::processEvents();
    tavi::bench::PaintCounter counter;
    g->viewport()->installEventFilter(&counter);
    g->setFocus();
    using Clock = std::chrono::steady_clock;
    double pathSeconds = 0, floorSeconds = 0;
    int undrawn = 0, thumbnails = 0;
    ArtRGBA pixels;
    for (auto _ : state) {
      // The floor: the pictures of the screen the step shows, decoded.
      const int cols = g->ColCount(), rows = g->VisibleRows();
      const int top = g->TopRow() + rows;
      const auto t0 = Clock::now();
      for (int i = top * cols; i < (top + rows) * cols && i < int(tiles->ItemCount); ++i)
        tiles->LoadArtRGBA(kItemArtBase + uint32_t(tiles->ItemIds[size_t(i)]), &pixels);
      const auto t1 = Clock::now();
      const int before = counter.paints, drawn = form.ThumbnailsDrawn();
      QKeyEvent down(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
      QApplication::sendEvent(g, &down);
      undrawn += !tavi::bench::WaitForCount(&counter.paints, before);
      const auto t2 = Clock::now();
      thumbnails += form.ThumbnailsDrawn() - drawn;
      const double p = std::chrono::duration<double>(t2 - t1).count();
      pathSeconds += p;
      floorSeconds += std::chrono::duration<double>(t1 - t0).count();
      state.SetIterationTime(p);
    }
    const double n = double(state.iterations() > 0 ? state.iterations() : 1);
    state.counters["floor_ms"] = floorSeconds / n * 1e3;
    state.counters["ratio"] = floorSeconds > 0 ? pathSeconds / floorSeconds : 0;
    state.counters["target"] = 3;
    state.counters["cells_per_screen"] = g->ColCount() * g->VisibleRows();
    state.counters["thumbnails_per_step"] = thumbnails / n;
    state.counters["current_tile_changes"] = chosen / n;
    state.counters["items"] = tiles->ItemCount;
    if (undrawn) state.SkipWithError("a step drew nothing");
  }
  fs::remove_all(dir);
}
BENCHMARK(BM_PageStepRealSize)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(12);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const fs::path dir =
      fs::temp_directory_path() / ("tavi-bench-catalogue-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  if (!MakeClient(dir)) {
    std::fprintf(stderr, "could not write the demo client\n");
    return 1;
  }
  g_tiles = TUOTileData::Create((dir / "artidx.mul").string(), (dir / "tiledata.mul").string(),
                                (dir / "art.mul").string());
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  g_tiles.reset();
  fs::remove_all(dir);
  return 0;
}
