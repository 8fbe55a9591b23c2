// What the running editor does per interaction, each against a whole frame
// of the same view, alternating in one run: the dense 32 x 32 demo house
// (about 20,000 entries) at 100 % in a 1280 x 1024 view of the main window.
// Every timed step waits until the view has really drawn its frame (the
// frames come from the window's own update requests, as in use) and the
// benchmark fails when a timed step drew none. Run under xvfb-run.
//   BM_HoverTick      the pointer moving between two cells (hit test, hover,
//                     preview, frame); target 0.2
//   BM_Click          a click that places one tile (edit, price, preview,
//                     frame); target 0.2
//   BM_Undo, BM_Redo  an undo or a redo of that click; target 0.2
//   BM_ScrollStep     a 40-pixel scroll step; target 0.3
//   BM_CatalogueStep  a page step (Page Down) in the object catalogue, the
//                     pointer away from the house: against decoding the
//                     pictures of the page it shows; target 3. The main
//                     view must not draw (main_view_frames).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QScrollBar>
#include <QSurfaceFormat>
#include <QTimer>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/catalogue_window.h"
#include "app/control_window.h"
#include "app/main_window.h"
#include "app/picture_grid.h"
#include "app/ui_prompts.h"
#include "bench/demo_house.h"
#include "bench/gl/paint_wait.h"
#include "bench/ratio.h"
#include "client/tile_data.h"
#include "interaction/main_mouse.h"
#include "render/gl/house_view.h"
#include "render/projection.h"
#include "tests/app/main_form_test_access.h"

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
    view = dynamic_cast<THouseView*>(Access(*main).PaintBox());
    // The drawing surface's visible part is the view: make it 1280 x 1024.
    if (view) {
      main->resize(main->width() + kViewW - view->width(),
                   main->height() + kViewH - view->height());
      for (int i = 0; i < 20; ++i) QApplication::processEvents();
    }
    const TilePools pools(*Access(*main).TileData());
    if (!pools.Ok()) return;
    TTAVIDoc& doc = Access(*main).Doc();
    entries = BuildDenseHouse(doc, pools);
    Access(*main).UpdatePaintBoxSize();
    Access(*main).RefreshView();
    Access(*main).CtrlForm()->SetFloor(4);
    Access(*main).SetCurrentTile(pools.things.front());
    // Two neighbouring cells in the visible part of the view, so that each
    // tick moves the hover and its preview.
    TProjection proj;
    proj.RebuildAnchors(32, 32, Access(*main).BaseHeight());
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

  // Runs the event loop until the view has drawn a frame after `before`
  // frames; false when none came within two seconds.
  bool WaitForFrame(int before) {
    QTimer guard;
    guard.setSingleShot(true);
    guard.start(2000);
    while (view->PaintCount() == before && guard.isActive())
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    // The frame is composed into the window in the same pass as it is drawn.
    return view->PaintCount() != before;
  }
  // Does `step` and waits for its frame; false when it drew none.
  template <class Step>
  bool Drawn(Step&& step) {
    const int before = view->PaintCount();
    step();
    return WaitForFrame(before);
  }
  QScrollBar* VerticalBar() const {
    for (QScrollBar* bar : view->parentWidget()->findChildren<QScrollBar*>())
      if (bar->orientation() == Qt::Vertical) return bar;
    return nullptr;
  }
};

Editor* g_editor = nullptr;

// The path (its frame awaited) against a whole frame of the same view,
// alternating; `untimed` runs after both, outside the clock. Fails the
// benchmark when a timed path drew no frame.
template <class Path, class Untimed>
void AgainstWholeFrame(benchmark::State& st, double target, Path&& path, Untimed&& untimed) {
  if (!g_editor || !g_editor->Ok()) return st.SkipWithError("no editor");
  Editor& e = *g_editor;
  int undrawn = 0, frames = 0;
  double share = 0;
  using Clock = std::chrono::steady_clock;
  double pathSeconds = 0, floorSeconds = 0;
  for (auto _ : st) {
    const auto t0 = Clock::now();
    undrawn += !e.Drawn([&] { e.view->RepaintWhole(); });
    const auto t1 = Clock::now();
    const int before = e.view->PaintCount();
    path();
    const bool drawn = e.WaitForFrame(before);
    const auto t2 = Clock::now();
    frames += e.view->PaintCount() - before;
    share += e.view->LastPaintedShare();
    if (!drawn) ++undrawn;
    const double p = std::chrono::duration<double>(t2 - t1).count();
    floorSeconds += std::chrono::duration<double>(t1 - t0).count();
    pathSeconds += p;
    st.SetIterationTime(p);
    untimed();
  }
  const double n = double(st.iterations() > 0 ? st.iterations() : 1);
  st.counters["floor_ms"] = floorSeconds / n * 1e3;
  st.counters["ratio"] = floorSeconds > 0 ? pathSeconds / floorSeconds : 0;
  st.counters["target"] = target;
  st.counters["frames_drawn"] = frames;
  st.counters["share_drawn"] = share / n;
  st.counters["view_w"] = e.view->width();
  st.counters["view_h"] = e.view->height();
  st.counters["entries"] = e.entries;
  if (undrawn > 0) st.SkipWithError("a timed step drew no frame");
}

void BM_HoverTick(benchmark::State& st) {
  Editor* e = g_editor;
  int i = 0;
  AgainstWholeFrame(
      st, 0.2,
      [&] {
        i ^= 1;
        Access(*e->main).Mouse().Move(false, e->px[i],
                                      e->py[i]);  // hit test, hover, preview, redraw
      },
      [] {});
}
BENCHMARK(BM_HoverTick)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(8);

// The pointer over the first cell, pressed and let go: one tile placed.
void Click(Editor* e) {
  MainMouse& mouse = Access(*e->main).Mouse();
  mouse.Move(false, e->px[0], e->py[0]);
  mouse.Press(MouseButton::Left, false, e->px[0], e->py[0]);
  mouse.Release(MouseButton::Left, false, e->px[0], e->py[0]);
}

// Each untimed part waits for its own frame, so that none is left over.
void BM_Click(benchmark::State& st) {
  Editor* e = g_editor;
  // The first edit of the built house runs the rule check over marks never
  // checked before (about 120 cells change): one click and its undo first.
  if (e && e->Ok()) {
    e->Drawn([&] { Click(e); });
    e->Drawn([&] { e->main->MnUndoClick(); });
  }
  AgainstWholeFrame(
      st, 0.2, [&] { Click(e); }, [&] { e->Drawn([&] { e->main->MnUndoClick(); }); });
}
BENCHMARK(BM_Click)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(8);

void BM_Undo(benchmark::State& st) {
  Editor* e = g_editor;
  if (e && e->Ok()) e->Drawn([&] { Click(e); });
  AgainstWholeFrame(
      st, 0.2, [&] { e->main->MnUndoClick(); }, [&] { e->Drawn([&] { e->main->MnRedoClick(); }); });
  if (e && e->Ok()) e->Drawn([&] { e->main->MnUndoClick(); });
}
BENCHMARK(BM_Undo)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(8);

void BM_Redo(benchmark::State& st) {
  Editor* e = g_editor;
  if (e && e->Ok()) {
    e->Drawn([&] { Click(e); });
    e->Drawn([&] { e->main->MnUndoClick(); });
  }
  AgainstWholeFrame(
      st, 0.2, [&] { e->main->MnRedoClick(); }, [&] { e->Drawn([&] { e->main->MnUndoClick(); }); });
}
BENCHMARK(BM_Redo)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(8);

void BM_ScrollStep(benchmark::State& st) {
  Editor* e = g_editor;
  QScrollBar* bar = e && e->Ok() ? e->VerticalBar() : nullptr;
  if (!bar || bar->maximum() < 80) return st.SkipWithError("nothing to scroll");
  bar->setValue(bar->maximum() / 2);
  int dir = 1;
  AgainstWholeFrame(
      st, 0.3,
      [&] {
        dir = -dir;
        bar->setValue(bar->value() + 40 * dir);
      },
      [] {});
  st.counters["scroll_max"] = bar->maximum();
}
BENCHMARK(BM_ScrollStep)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(8);

void BM_CatalogueStep(benchmark::State& st) {
  Editor* e = g_editor;
  TObjForm* form = e && e->Ok() ? Access(*e->main).ObjForm() : nullptr;
  if (!form) return st.SkipWithError("no catalogue");
  Access(*e->main).Mouse().Move(false, -5000, -5000);  // the pointer leaves the house
  form->show();
  QApplication::processEvents();
  PictureGrid* g = form->Grid();
  // Six columns of eleven rows: 66 thumbnails a screen.
  for (int i = 0; i < 2; ++i) {
    form->resize(form->width() + 6 * 45 + 2 - g->viewport()->width(),
                 form->height() + 11 * 45 + 2 - g->viewport()->height());
    QApplication::processEvents();
  }
  bench::PaintCounter counter;
  g->viewport()->installEventFilter(&counter);
  g->setFocus();
  const TUOTileData& tiles = *Access(*e->main).TileData();
  using Clock = std::chrono::steady_clock;
  double pathSeconds = 0, floorSeconds = 0;
  int undrawn = 0, thumbnails = 0;
  const int viewFrames = e->view->PaintCount();
  ArtRGBA pixels;
  for (auto _ : st) {
    const int cols = g->ColCount(), rows = g->VisibleRows();
    int top = g->TopRow() + rows;
    if (g->Row() + rows >= g->RowCount()) {  // back to the start, untimed
      g->SelectCell(0, 0, true);
      QApplication::processEvents();
      top = rows;
    }
    const auto t0 = Clock::now();
    for (int i = top * cols; i < (top + rows) * cols && i < int(tiles.ItemCount); ++i)
      tiles.LoadArtRGBA(kItemArtBase + tiles.ItemIds[size_t(i)], &pixels);
    const auto t1 = Clock::now();
    const int before = counter.paints, drawn = form->ThumbnailsDrawn();
    QKeyEvent down(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
    QApplication::sendEvent(g, &down);
    undrawn += !bench::WaitForCount(&counter.paints, before);
    const auto t2 = Clock::now();
    thumbnails += form->ThumbnailsDrawn() - drawn;
    const double p = std::chrono::duration<double>(t2 - t1).count();
    pathSeconds += p;
    floorSeconds += std::chrono::duration<double>(t1 - t0).count();
    st.SetIterationTime(p);
  }
  for (int i = 0; i < 10; ++i) QApplication::processEvents();
  const double n = double(st.iterations() > 0 ? st.iterations() : 1);
  st.counters["floor_ms"] = floorSeconds / n * 1e3;
  st.counters["ratio"] = floorSeconds > 0 ? pathSeconds / floorSeconds : 0;
  st.counters["target"] = 3;
  st.counters["cells_per_screen"] = g->ColCount() * g->VisibleRows();
  st.counters["thumbnails_per_step"] = thumbnails / n;
  st.counters["items"] = tiles.ItemCount;
  st.counters["main_view_frames"] = e->view->PaintCount() - viewFrames;
  form->hide();
  if (undrawn) st.SkipWithError("a step drew nothing");
}
BENCHMARK(BM_CatalogueStep)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(12);

// The preview copy alone: the floor image copied and the placement run on it.
void BM_PreviewCopy(benchmark::State& st) {
  if (!g_editor || !g_editor->Ok()) return st.SkipWithError("no editor");
  MainMouse& mouse = Access(*g_editor->main).Mouse();
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
