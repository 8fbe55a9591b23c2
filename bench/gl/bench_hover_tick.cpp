// One 55 ms hover tick of the main window (hit test, hover, preview, frame)
// against a whole frame of the same view, alternating in one run: the dense
// 32 x 32 demo house (about 20,000 entries) at 100 % in a 1280 x 1024 view,
// the pointer moving between two neighbouring cells. The tick draws only
// what changed; target: 0.2 of a whole frame. Run under xvfb-run.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QSurfaceFormat>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/control_window.h"
#include "app/main_window.h"
#include "app/ui_prompts.h"
#include "bench/demo_house.h"
#include "bench/ratio.h"
#include "client/tile_data.h"
#include "interaction/main_mouse.h"
#include "render/gl/house_view.h"
#include "render/projection.h"

namespace tavi::bench {
namespace {

constexpr int kViewW = 1280, kViewH = 1024;

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
  THouseView* view = nullptr;
  int px[2] = {0, 0}, py[2] = {0, 0};
  int entries = 0;

  Editor() {
    namespace fs = std::filesystem;
    const fs::path base = fs::temp_directory_path() / ("tavi-tick-" + std::to_string(::getpid()));
    fs::create_directories(base / "config");
    std::string error;
    if (!demo::WriteDemoClient(base.string(), nullptr, &error)) return;
    dir = base.string();
    StartOptions o;
    o.demoClientDir = QString::fromStdString(dir);
    o.settingsFolder = QString::fromStdString((base / "config").string());
    o.prompts = std::make_shared<SilentPrompts>();
    main = std::make_unique<TMainForm>(o);
    main->resize(kViewW + 200, kViewH + 200);
    main->show();
    for (int i = 0; i < 20; ++i) QApplication::processEvents();
    view = dynamic_cast<THouseView*>(main->PaintBox());
    // The drawing surface's visible part is the view: make it 1280 x 1024.
    if (view) {
      main->resize(main->width() + kViewW - view->width(),
                   main->height() + kViewH - view->height());
      for (int i = 0; i < 20; ++i) QApplication::processEvents();
    }
    const TilePools pools(*main->TileData());
    if (!pools.Ok()) return;
    TTAVIDoc& doc = main->Doc();
    entries = BuildDenseHouse(doc, pools);
    main->UpdatePaintBoxSize();
    main->RefreshView();
    main->CtrlForm()->SetFloor(4);
    main->SetCurrentTile(pools.things.front());
    // Two neighbouring cells in the visible part of the view, so that each
    // tick moves the hover and its preview.
    TProjection proj;
    proj.RebuildAnchors(32, 32, main->BaseHeight());
    for (int i = 0; i < 2; ++i) {
      const ScenePoint a = proj.Anchor(4, 3 + i, 3);
      px[i] = a.X + 22;
      py[i] = a.Y + 22;
    }
  }
  ~Editor() {
    main.reset();
    std::error_code ec;
    if (!dir.empty()) std::filesystem::remove_all(dir, ec);
  }
  bool Ok() const { return main && view && entries > 0; }
  void Frame() { view->repaint(); }
};

Editor* g_editor = nullptr;

void BM_HoverTickAgainstWholeFrame(benchmark::State& st) {
  if (!g_editor || !g_editor->Ok()) return st.SkipWithError("no editor");
  Editor& e = *g_editor;
  MainMouse& mouse = e.main->Mouse();
  int i = 0;
  double share = 0;
  PathAgainstFloor(
      st, 0.2,
      [&] {
        i ^= 1;
        mouse.Move(false, e.px[i], e.py[i]);  // hit test, hover, preview state, redraw
        e.Frame();
        share += e.view->LastPaintedShare();
      },
      [&] {
        e.view->RepaintWhole();
        e.Frame();
      });
  st.counters["view_w"] = e.view->width();
  st.counters["view_h"] = e.view->height();
  st.counters["entries"] = e.entries;
  st.counters["share_drawn"] = share / double(st.iterations() > 0 ? st.iterations() : 1);
  st.counters["hover_x"] = mouse.HoverX;
}
BENCHMARK(BM_HoverTickAgainstWholeFrame)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(8);

// The preview copy alone: the floor image copied and the placement run on it.
void BM_PreviewCopy(benchmark::State& st) {
  if (!g_editor || !g_editor->Ok()) return st.SkipWithError("no editor");
  MainMouse& mouse = g_editor->main->Mouse();
  mouse.Move(false, g_editor->px[0], g_editor->py[0]);
  auto scratch = std::make_unique<FloorImage[]>(1);
  for (auto _ : st) benchmark::DoNotOptimize(mouse.BuildPreview(scratch[0]));
}
BENCHMARK(BM_PreviewCopy)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tavi::bench

int main(int argc, char** argv) {
  QSurfaceFormat format;
  format.setDepthBufferSize(16);
  QSurfaceFormat::setDefaultFormat(format);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  tavi::bench::Editor editor;
  tavi::bench::g_editor = &editor;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  tavi::bench::g_editor = nullptr;
  return 0;
}
