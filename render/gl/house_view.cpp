#include "render/gl/house_view.h"

#include <QElapsedTimer>
#include <QOpenGLContext>
#include <QSurfaceFormat>

#include "render/art_source.h"
#include "render/gl/gl_texture.h"
#include "render/pick.h"
#include "render/repaint.h"
#include "render/scene.h"

namespace tavi {

struct THouseView::Impl {
  TTAVIDoc* doc = nullptr;
  const TUOTileData* data = nullptr;
  std::unique_ptr<TArtCache> art;
  TOpenGLTex gl;
  DrawList frame, pickPass;
  bool glReady = false;
  bool drawn = false;
  // The frame in the framebuffer, to draw the next one in part: what it was
  // drawn from, its list and marks, and the framebuffer it went to.
  FrameBasis basis;
  SceneMarks marks;
  DrawList next;
  SceneMarks nextMarks;
  GLuint fbo = 0;
  bool wholeNext = true;
};

THouseView::THouseView(QWidget* parent) : QOpenGLWidget(parent), d_(new Impl) {
  QSurfaceFormat f = format();
  f.setRenderableType(QSurfaceFormat::OpenGL);
  f.setProfile(QSurfaceFormat::CompatibilityProfile);
  f.setDepthBufferSize(24);
  f.setAlphaBufferSize(0);
  setFormat(f);
  // The framebuffer keeps the last frame, so that a frame can be drawn in part.
  setUpdateBehavior(QOpenGLWidget::PartialUpdate);
  d_->art = std::make_unique<TArtCache>(nullptr);
}

THouseView::~THouseView() {
  ReleaseGl();
  // The base class destroys the context after this object is gone; its signal
  // must not reach ReleaseGl any more.
  if (QOpenGLContext* ctx = context()) disconnect(ctx, nullptr, this, nullptr);
}

void THouseView::ReleaseGl() {
  if (!d_->glReady) return;
  makeCurrent();
  d_->gl.Destroy();
  doneCurrent();
  d_->glReady = false;
  d_->drawn = false;
  d_->wholeNext = true;
}

void THouseView::SetDocument(TTAVIDoc* doc) {
  d_->doc = doc;
  RepaintWhole();
}

void THouseView::RepaintWhole() {
  d_->wholeNext = true;
  update();
}

void THouseView::SetTileData(const TUOTileData* tiles) {
  if (tiles == d_->data) return;
  d_->data = tiles;
  auto art = std::make_unique<TArtCache>(tiles);
  if (d_->glReady) {
    makeCurrent();
    d_->gl.SetArtSource(art.get());
    doneCurrent();
  }
  d_->art = std::move(art);
  RepaintWhole();
}

void THouseView::SetViewState(const ViewState& state) {
  state_ = state;
  update();
}

void THouseView::initializeGL() {
  // Moving the widget to another window gives it a new context: the textures
  // of the old one go with it.
  connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, &THouseView::ReleaseGl);
  d_->gl.Create(int(width() * devicePixelRatioF()), int(height() * devicePixelRatioF()));
  d_->gl.SetArtSource(d_->art.get());
  d_->glReady = true;
  d_->wholeNext = true;
}

void THouseView::resizeGL(int w, int h) {
  const double dpr = devicePixelRatioF();
  d_->gl.SetViewSize(int(w * dpr), int(h * dpr));
  d_->wholeNext = true;
}

void THouseView::paintGL() {
  QElapsedTimer timer;
  timer.start();
  SceneInputs in;
  in.Doc = d_->doc;
  in.Lights = d_->data ? d_->data->Lights : nullptr;
  in.State = &state_;
  BuildScene(in, &d_->next, &d_->nextMarks);
  // On a high-density screen the frame has more pixels than the widget has
  // units: the zoom and the scroll grow by the same factor.
  const double dpr = devicePixelRatioF();
  const int w = int(width() * dpr), h = int(height() * dpr);
  const int sx = int(state_.ScrollX * dpr), sy = int(state_.ScrollY * dpr);
  d_->gl.SetViewSize(w, h);
  d_->gl.SetZoom(float(state_.Zoom * dpr));
  FrameBasis basis;
  basis.Set(d_->doc, d_->data, state_, RasterView{w, h, double(d_->gl.Zoom()), sx, sy});
  // The framebuffer still holds the last frame unless it was made anew.
  const GLuint fbo = defaultFramebufferObject();
  RepaintPlan plan;
  if (d_->drawn && !d_->wholeNext && fbo == d_->fbo)
    plan =
        PlanRepaint(d_->basis, d_->frame, d_->marks, basis, d_->next, d_->nextMarks, d_->art.get());
  if (plan.Full) {
    d_->gl.DrawFrame(d_->next, sx, sy);
    lastPaintedShare_ = 1;
  } else {
    d_->gl.DrawRegion(d_->next, sx, sy, plan.Rects);
    int64_t area = 0;
    for (const PixelRect& r : plan.Rects) area += r.Area();
    lastPaintedShare_ = w > 0 && h > 0 ? double(area) / (double(w) * h) : 0;
  }
  std::swap(d_->frame, d_->next);
  std::swap(d_->marks, d_->nextMarks);
  d_->basis = std::move(basis);
  d_->fbo = fbo;
  d_->wholeNext = false;
  d_->drawn = true;
  ++paintCount_;
  lastPaintMs_ = timer.nsecsElapsed() / 1e6;
}

int THouseView::PickAt(int px, int py, bool* overflow) {
  if (overflow) *overflow = false;
  if (!d_->doc || !d_->glReady) return -1;
  if (!d_->drawn) grabFramebuffer();  // draws a frame first
  makeCurrent();
  // The widget keeps its frame in its own framebuffer, so the depth of the
  // frame on screen is still there to read.
  const double dpr = devicePixelRatioF();
  float depth =
      d_->gl.ReadDepth(int((px - state_.ScrollX) * dpr), int((py - state_.ScrollY) * dpr));
  doneCurrent();
  SceneInputs in;
  in.Doc = d_->doc;
  in.State = &state_;
  BuildPickPass(in, &d_->pickPass);
  return PickTile(d_->pickPass, d_->art.get(), state_.Zoom, px, py, depth, overflow);
}

THouseView::PictureMemory THouseView::Memory() const {
  PictureMemory m;
  m.TextureBytes = d_->gl.TextureBytes();
  m.PictureBytes = d_->gl.PictureBytes();
  m.HeldPixelBytes = d_->art->PixelBytes();
  return m;
}

QImage THouseView::CaptureView() {
  return grabFramebuffer().convertToFormat(QImage::Format_RGB888);
}

TBitmap24 THouseView::CaptureBitmap() {
  QImage img = CaptureView();
  TBitmap24 bmp(img.width(), img.height());
  for (int y = 0; y < img.height(); ++y) {
    const uchar* src = img.constScanLine(y);
    uint8_t* dst = bmp.Pixel(0, y);
    for (int x = 0; x < img.width(); ++x) {
      dst[x * 3] = src[x * 3 + 2];
      dst[x * 3 + 1] = src[x * 3 + 1];
      dst[x * 3 + 2] = src[x * 3];
    }
  }
  return bmp;
}

}  // namespace tavi
