#include "app/main_surface.h"

#include <QEvent>
#include <QGridLayout>
#include <QScrollBar>
#include <QWheelEvent>

namespace tavi {

MainSurface::MainSurface(QWidget* view, QWidget* parent) : QWidget(parent), view_(view) {
  setObjectName("MainSurface");
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setSpacing(0);
  h_ = new QScrollBar(Qt::Horizontal, this);
  v_ = new QScrollBar(Qt::Vertical, this);
  view_->setParent(this);
  grid->addWidget(view_, 0, 0);
  grid->addWidget(v_, 0, 1);
  grid->addWidget(h_, 1, 0);
  view_->installEventFilter(this);
  auto changed = [this] {
    if (onScroll) onScroll();
  };
  connect(h_, &QScrollBar::valueChanged, this, changed);
  connect(v_, &QScrollBar::valueChanged, this, changed);
}

void MainSurface::SetContentSize(int width, int height) {
  contentW_ = width;
  contentH_ = height;
  updateRanges();
}

int MainSurface::ScrollX() const {
  return h_->value();
}
int MainSurface::ScrollY() const {
  return v_->value();
}

void MainSurface::CenterView() {
  h_->setValue(h_->maximum() / 2);
  v_->setValue(v_->maximum() / 2);
}

void MainSurface::ScrollTo(int x, int y) {
  h_->setValue(x);
  v_->setValue(y);
}

void MainSurface::updateRanges() {
  const int w = view_->width(), h = view_->height();
  h_->setRange(0, contentW_ > w ? contentW_ - w : 0);
  h_->setPageStep(w > 1 ? w : 1);
  h_->setSingleStep(22);
  v_->setRange(0, contentH_ > h ? contentH_ - h : 0);
  v_->setPageStep(h > 1 ? h : 1);
  v_->setSingleStep(22);
}

void MainSurface::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  updateRanges();
}

bool MainSurface::eventFilter(QObject* watched, QEvent* event) {
  if (watched == view_) {
    if (event->type() == QEvent::Resize) {
      updateRanges();
    } else if (event->type() == QEvent::Wheel) {
      auto* wheel = static_cast<QWheelEvent*>(event);
      const QPoint d = wheel->angleDelta();
      if ((wheel->modifiers() & Qt::ControlModifier) && onZoomStep) {
        if (d.y() != 0) onZoomStep(d.y() > 0);
        return true;
      }
      const bool sideways = (wheel->modifiers() & Qt::ShiftModifier) || d.x() != 0;
      QScrollBar* bar = sideways ? h_ : v_;
      const int delta = d.x() != 0 ? d.x() : d.y();
      bar->setValue(bar->value() - delta / 120 * 3 * bar->singleStep());
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace tavi
