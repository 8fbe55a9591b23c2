// One 55 ms hover tick of the main window (hit test, preview, frame) against
// the frame alone, on a dense 25 x 25 house of the demo client in a
// 1280 x 1024 window. Run under xvfb-run.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QSurfaceFormat>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "interaction/main_mouse.h"
#include "app/control_window.h"
#include "app/ui_prompts.h"
#include "client/tile_data.h"
#include "render/projection.h"

namespace tavi {
namespace {

class SilentPrompts : public UiPrompts {
 public:
  void Info(QWidget*, const QString&) override {}
  void Error(QWidget*, const QString&) override {}
  Answer YesNoCancel(QWidget*, const QString&) override { return kNo; }
  bool YesNo(QWidget*, const QString&) override { return false; }
  bool Exec(QDialog*) override { return false; }
};

struct Editor {
  std::string dir;
  std::unique_ptr<TMainForm> main;
  int px[2] = {0, 0}, py[2] = {0, 0};

  Editor() {
    namespace fs = std::filesystem;
    const fs::path base = fs::temp_directory_path() / ("tavi-tick-" + std::to_string(::getpid()));
    fs::create_directories(base / "config");
    const std::string cmd =
        std::string("\"") + TAVI_CLI_PATH + "\" demodata \"" + base.string() + "\" >/dev/null 2>&1";
    if (std::system(cmd.c_str()) != 0) return;
    dir = base.string();
    StartOptions o;
    o.demoClientDir = QString::fromStdString(dir);
    o.settingsFolder = QString::fromStdString((base / "config").string());
    o.prompts = std::make_shared<SilentPrompts>();
    main = std::make_unique<TMainForm>(o);
    main->resize(1280, 1024);
    main->show();
    for (int i = 0; i < 20; ++i) QApplication::processEvents();
    BuildDense();
  }
  ~Editor() {
    main.reset();
    std::error_code ec;
    if (!dir.empty()) std::filesystem::remove_all(dir, ec);
  }

  // Floors everywhere, walls along the outline and every fifth line, and
  // things standing in most rooms, on all five floors.
  void BuildDense() {
    const TUOTileData* data = main->TileData();
    std::vector<uint16_t> floors, walls, things;
    for (uint32_t id = 1; id < 0x4000; ++id) {
      if (!data->HasArt(kItemArtBase + id)) continue;
      const int h = data->TileHeight(uint16_t(id));
      if (h == 0 && data->IsBackground(uint16_t(id)))
        floors.push_back(uint16_t(id));
      else if (h == 20 && (data->Category(uint16_t(id)) & kCatPart))
        walls.push_back(uint16_t(id));
      else if (h > 0 && h < 16)
        things.push_back(uint16_t(id));
    }
    TTAVIDoc& doc = main->Doc();
    doc.SetSize(25, 25);
    doc.Clear(false);
    auto put = [&](int f, int x, int y, uint16_t id, int z) {
      const int l = doc.LayerCount[f][y][x];
      if (l >= kLayers) return;
      doc.Tiles[f][l][y][x] = TileEntry{int16_t(z), id, 0};
      doc.UpdateCell(x, y, f);
    };
    for (int f = 0; f < kFloors; ++f)
      for (int y = 0; y < 25; ++y)
        for (int x = 0; x < 25; ++x) {
          put(f, x, y, floors[(x + y + f) % floors.size()], f == 0 ? 7 : 0);
          if (f == 0) continue;
          const bool wall = x == 0 || y == 0 || x % 5 == 0 || y % 5 == 0;
          if (wall && (x + y) % 7 != 3) {
            put(f, x, y, walls[(x * 3 + y + f) % walls.size()], 0);
          } else if ((x * 7 + y * 3 + f) % 4 != 0) {
            put(f, x, y, things[(x + y * 5 + f) % things.size()], 0);
            put(f, x, y, things[(x * 2 + y + f) % things.size()], 4);
          }
        }
    main->UpdatePaintBoxSize();
    main->RefreshView();
    main->CtrlForm()->SetFloor(4);
    main->SetCurrentTile(things.front());
    // Two neighbouring cells in the visible part of the view, so that each
    // tick moves the hover and its preview.
    TProjection proj;
    proj.RebuildAnchors(25, 25, main->BaseHeight());
    for (int i = 0; i < 2; ++i) {
      const ScenePoint a = proj.Anchor(4, 3 + i, 3);
      px[i] = a.X + 22;
      py[i] = a.Y + 22;
    }
  }

  void Frame() { main->PaintBox()->repaint(); }
};

Editor* g_editor = nullptr;

void BM_FrameAlone(benchmark::State& state) {
  if (!g_editor || !g_editor->main) {
    state.SkipWithError("no editor");
    return;
  }
  for (auto _ : state) g_editor->Frame();
}
BENCHMARK(BM_FrameAlone)->Unit(benchmark::kMillisecond);

void BM_HoverTick(benchmark::State& state) {
  if (!g_editor || !g_editor->main) {
    state.SkipWithError("no editor");
    return;
  }
  MainMouse& mouse = g_editor->main->Mouse();
  int i = 0;
  for (auto _ : state) {
    i ^= 1;
    mouse.Move(false, g_editor->px[i], g_editor->py[i]);  // hit test, hover, preview state
    g_editor->Frame();
  }
  state.counters["hover_x"] = mouse.HoverX;
}
BENCHMARK(BM_HoverTick)->Unit(benchmark::kMillisecond);

// The preview copy alone: the floor image copied and the placement run on it.
void BM_PreviewCopy(benchmark::State& state) {
  if (!g_editor || !g_editor->main) {
    state.SkipWithError("no editor");
    return;
  }
  MainMouse& mouse = g_editor->main->Mouse();
  mouse.Move(false, g_editor->px[0], g_editor->py[0]);
  auto scratch = std::make_unique<FloorImage[]>(1);
  for (auto _ : state) benchmark::DoNotOptimize(mouse.BuildPreview(scratch[0]));
}
BENCHMARK(BM_PreviewCopy)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tavi

int main(int argc, char** argv) {
  QSurfaceFormat format;
  format.setDepthBufferSize(16);
  QSurfaceFormat::setDefaultFormat(format);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  tavi::Editor editor;
  tavi::g_editor = &editor;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  tavi::g_editor = nullptr;
  return 0;
}
