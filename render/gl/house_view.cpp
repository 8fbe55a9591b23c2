#include "render/gl/house_view.h"

#include <QElapsedTimer>
#include <QOpenGLContext>
#include <QOpenGLExtraFunctions>
#include <QSurfaceFormat>
#include <algorithm>

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
  // The scratch framebuffer a scroll moves the frame through (colour and
  // depth of the view's size); moving is off once the driver refused it.
  GLuint moveFbo = 0, moveColor = 0, moveDepth = 0;
  int moveW = 0, moveH = 0;
  bool canMove = true;
  void ReleaseMove(QOpenGLExtraFunctions* f) {
    if (moveFbo) f->glDeleteFramebuffers(1, &moveFbo);
    if (moveColor) f->glDeleteRenderbuffers(1, &moveColor);
    if (moveDepth) f->glDeleteRenderbuffers(1, &moveDepth);
    moveFbo = moveColor = moveDepth = 0;
    moveW = moveH = 0;
  }
  bool MoveFrame(GLuint target, int w, int h, int dx, int dy);
};

bool THouseView::Impl::MoveFrame(GLuint target, int w, int h, int dx, int dy) {
  QOpenGLContext* ctx = QOpenGLContext::currentContext();
  if (!ctx) return false;
  QOpenGLExtraFunctions* f = ctx->extraFunctions();
  for (int i = 0; i < 8 && f->glGetError() != GL_NO_ERROR; ++i) {
  }  // errors of others, so that those after the copy are its own
  if (w != moveW || h != moveH || !moveFbo) {
    ReleaseMove(f);
    f->glGenFramebuffers(1, &moveFbo);
    f->glGenRenderbuffers(1, &moveColor);
    f->glGenRenderbuffers(1, &moveDepth);
    f->glBindRenderbuffer(GL_RENDERBUFFER, moveColor);
    f->glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, w, h);
    f->glBindRenderbuffer(GL_RENDERBUFFER, moveDepth);
    // The same format as the widget's own framebuffer, which a copy of depth needs.
    f->glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, w, h);
    f->glBindFramebuffer(GL_FRAMEBUFFER, moveFbo);
    f->glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, moveColor);
    f->glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                                 moveDepth);
    const bool complete = f->glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    f->glBindFramebuffer(GL_FRAMEBUFFER, target);
    if (!complete) {
      ReleaseMove(f);
      return false;
    }
    moveW = w, moveH = h;
  }
  f->glDisable(GL_SCISSOR_TEST);
  // The whole frame to the scratch buffer, then back moved; GL rows count from the bottom.
  f->glBindFramebuffer(GL_READ_FRAMEBUFFER, target);
  f->glBindFramebuffer(GL_DRAW_FRAMEBUFFER, moveFbo);
  f->glBlitFramebuffer(0, 0, w, h, 0, 0, w, h, GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT,
                       GL_NEAREST);
  const int x0 = std::max(0, -dx), x1 = std::min(w, w - dx);
  const int y0 = std::max(0, -dy), y1 = std::min(h, h - dy);  // window rows kept
  f->glBindFramebuffer(GL_READ_FRAMEBUFFER, moveFbo);
  f->glBindFramebuffer(GL_DRAW_FRAMEBUFFER, target);
  f->glBlitFramebuffer(x0 + dx, h - y1 - dy, x1 + dx, h - y0 - dy, x0, h - y1, x1, h - y0,
                       GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT, GL_NEAREST);
  f->glBindFramebuffer(GL_FRAMEBUFFER, target);
  return f->glGetError() == GL_NO_ERROR;
}

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
  if (QOpenGLContext* ctx = QOpenGLContext::currentContext())
    d_->ReleaseMove(ctx->extraFunctions());
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

RasterView THouseView::ViewFor(const ViewState& state) const {
  // On a high-density screen the frame has more pixels than the widget has
  // units: the zoom and the scroll grow by the same factor.
  const double dpr = devicePixelRatioF();
  return RasterView{int(width() * dpr), int(height() * dpr), double(float(state.Zoom * dpr)),
                    int(state.ScrollX * dpr), int(state.ScrollY * dpr)};
}

void THouseView::SetViewState(const ViewState& state) {
  // A state that draws what the framebuffer already shows (a new current
  // tile while no preview shows, a tool window's selection...) asks for no
  // frame; one that is pending still comes.
  bool same = d_->drawn && !d_->wholeNext && d_->basis.Valid;
  if (same) {
    FrameBasis b;
    b.Set(d_->doc, d_->data, state, ViewFor(state));
    same = SameBasis(d_->basis, b) && SameDrawing(d_->basis.State, state, d_->doc);
  }
  state_ = state;
  if (same) {
    ++skippedCount_;
    return;
  }
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
  const RasterView view = ViewFor(state_);
  const int w = view.Width, h = view.Height, sx = view.ScrollX, sy = view.ScrollY;
  d_->gl.SetViewSize(w, h);
  d_->gl.SetZoom(float(view.Zoom));
  FrameBasis basis;
  basis.Set(d_->doc, d_->data, state_, view);
  // The framebuffer still holds the last frame unless it was made anew.
  const GLuint fbo = defaultFramebufferObject();
  RepaintPlan plan;
  if (d_->drawn && !d_->wholeNext && fbo == d_->fbo)
    plan = PlanRepaint(d_->basis, d_->frame, d_->marks, basis, d_->next, d_->nextMarks,
                       d_->art.get(), d_->canMove);
  if (!plan.Full && (plan.MoveX || plan.MoveY) &&
      !d_->MoveFrame(fbo, w, h, plan.MoveX, plan.MoveY)) {
    d_->canMove = false;  // the driver cannot copy this framebuffer: scrolls draw whole
    plan.Full = true;
  }
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
