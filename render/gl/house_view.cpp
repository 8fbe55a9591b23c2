#include "render/gl/house_view.h"

#include "render/gl/u_texture.h"

namespace tavi {

struct THouseView::Impl {
  TTAVIDoc* doc = nullptr;
  const TUOTileData* data = nullptr;
};

THouseView::THouseView(QWidget* parent) : QOpenGLWidget(parent), d_(new Impl) {}
THouseView::~THouseView() = default;

void THouseView::SetDocument(TTAVIDoc* doc) {
  d_->doc = doc;
  update();
}
void THouseView::SetTileData(const TUOTileData* data) {
  d_->data = data;
  update();
}
void THouseView::SetViewState(const ViewState& state) {
  state_ = state;
  update();
}
int THouseView::PickAt(int, int, bool* overflow) {
  if (overflow) *overflow = false;
  return -1;
}
QImage THouseView::CaptureView() { return grabFramebuffer().convertToFormat(QImage::Format_RGB888); }
TBitmap24 THouseView::CaptureBitmap() { return TBitmap24(width(), height()); }
void THouseView::initializeGL() {}
void THouseView::resizeGL(int, int) {}
void THouseView::paintGL() { ++paintCount_; }

}  // namespace tavi
