// The fixed cost of a frame of the main view's size (1480 x 1224) that draws
// almost nothing (one 44 x 44 square cleared), from the request to the frame
// swapped to the screen, for the ways the view could reach the screen:
//   BM_WidgetFrame        an OpenGL widget composed into its window, as the
//                         house view is (its framebuffer kept between frames)
//   BM_NativeWindowFrame  a native OpenGL window (no composition), its frame
//                         kept by a blit from its own framebuffer
//   BM_NativeWindowNoKeep the same, drawing straight to the window's buffer
// Each against the widget's frame, alternating. `paint_ms` is the time spent
// in the drawing itself. Run under xvfb-run; QT_QPA_UPDATE_IDLE_TIME sets
// the delay of an update request (5 ms unless set).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QOpenGLFunctions>
#include <QOpenGLWidget>
#include <QOpenGLWindow>
#include <QSurfaceFormat>
#include <QTimer>
#include <chrono>
#include <memory>

#include "bench/gl/paint_wait.h"

namespace {

constexpr int kW = 1480, kH = 1224;

void DrawLittle(QOpenGLFunctions* f, int frame) {
  f->glEnable(GL_SCISSOR_TEST);
  f->glScissor(100 + frame % 2 * 44, 100, 44, 44);
  f->glClearColor(float(frame % 2), 0.5f, 0.5f, 1);
  f->glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  f->glDisable(GL_SCISSOR_TEST);
}

class Widget : public QOpenGLWidget, protected QOpenGLFunctions {
 public:
  Widget() {
    setUpdateBehavior(QOpenGLWidget::PartialUpdate);
    connect(this, &QOpenGLWidget::frameSwapped, this, [this] { ++frames; });
  }
  int frames = 0;
  double paintMs = 0;

 protected:
  void initializeGL() override { initializeOpenGLFunctions(); }
  void paintGL() override {
    QElapsedTimer t;
    t.start();
    DrawLittle(this, frames);
    paintMs += t.nsecsElapsed() / 1e6;
  }
};

class Window : public QOpenGLWindow, protected QOpenGLFunctions {
 public:
  explicit Window(UpdateBehavior b) : QOpenGLWindow(b) {
    connect(this, &QOpenGLWindow::frameSwapped, this, [this] { ++frames; });
  }
  int frames = 0;
  double paintMs = 0;

 protected:
  void initializeGL() override { initializeOpenGLFunctions(); }
  void paintGL() override {
    QElapsedTimer t;
    t.start();
    DrawLittle(this, frames);
    paintMs += t.nsecsElapsed() / 1e6;
  }
};

Widget* g_widget = nullptr;

template <class View>
void AgainstWidget(benchmark::State& st, View* view) {
  using Clock = std::chrono::steady_clock;
  double pathSeconds = 0, floorSeconds = 0;
  int undrawn = 0;
  view->paintMs = 0;
  g_widget->paintMs = 0;
  for (auto _ : st) {
    const auto t0 = Clock::now();
    int before = g_widget->frames;
    g_widget->update();
    undrawn += !tavi::bench::WaitForCount(&g_widget->frames, before);
    const auto t1 = Clock::now();
    before = view->frames;
    view->update();
    undrawn += !tavi::bench::WaitForCount(&view->frames, before);
    const auto t2 = Clock::now();
    const double p = std::chrono::duration<double>(t2 - t1).count();
    pathSeconds += p;
    floorSeconds += std::chrono::duration<double>(t1 - t0).count();
    st.SetIterationTime(p);
  }
  const double n = double(st.iterations() > 0 ? st.iterations() : 1);
  st.counters["floor_ms"] = floorSeconds / n * 1e3;
  st.counters["ratio"] = floorSeconds > 0 ? pathSeconds / floorSeconds : 0;
  st.counters["paint_ms"] = view->paintMs / n;
  st.counters["floor_paint_ms"] = g_widget->paintMs / n;
  if (undrawn) st.SkipWithError("a frame was not drawn");
}

void BM_WidgetFrame(benchmark::State& st) {
  AgainstWidget(st, g_widget);
}
BENCHMARK(BM_WidgetFrame)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(20);

void NativeWindow(benchmark::State& st, QOpenGLWindow::UpdateBehavior b) {
  Window w(b);
  w.resize(kW, kH);
  w.show();
  if (!tavi::bench::WaitForCount(&w.frames, 0)) return st.SkipWithError("no first frame");
  AgainstWidget(st, &w);
}
void BM_NativeWindowFrame(benchmark::State& st) {
  NativeWindow(st, QOpenGLWindow::PartialUpdateBlit);
}
void BM_NativeWindowNoKeep(benchmark::State& st) {
  NativeWindow(st, QOpenGLWindow::NoPartialUpdate);
}
BENCHMARK(BM_NativeWindowFrame)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(20);
BENCHMARK(BM_NativeWindowNoKeep)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(20);

}  // namespace

int main(int argc, char** argv) {
  QSurfaceFormat format;
  format.setDepthBufferSize(24);
  QSurfaceFormat::setDefaultFormat(format);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  auto widget = std::make_unique<Widget>();
  widget->resize(kW, kH);
  widget->show();
  g_widget = widget.get();
  if (!tavi::bench::WaitForCount(&widget->frames, 0)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  g_widget = nullptr;
  return 0;
}
