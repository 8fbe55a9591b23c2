#include "app/picture_grid.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

namespace tavi {

PictureGrid::PictureGrid(QWidget* parent) : QAbstractScrollArea(parent) {
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setFocusPolicy(Qt::StrongFocus);
  verticalScrollBar()->setTracking(true);
  viewport()->setAutoFillBackground(true);
  viewport()->setBackgroundRole(QPalette::Window);
}

void PictureGrid::SetCellSize(int w, int h) {
  cellW_ = std::max(1, w);
  cellH_ = std::max(1, h);
  updateScrollBar();
  viewport()->update();
}

void PictureGrid::SetGridLines(bool on) {
  lines_ = on;
  updateScrollBar();
  viewport()->update();
}

void PictureGrid::SetColCount(int n) {
  cols_ = std::max(1, n);
  const bool moved = col_ >= cols_;
  if (moved) col_ = cols_ - 1;
  updateScrollBar();
  viewport()->update();
  if (moved) emit selectionMoved();
}

void PictureGrid::SetRowCount(int n) {
  rows_ = std::max(0, n);
  const int row = row_ >= rows_ ? std::max(0, rows_ - 1) : row_;
  const bool moved = row != row_;
  row_ = row;
  updateScrollBar();
  viewport()->update();
  if (moved) emit selectionMoved();
}

bool PictureGrid::SelectCell(int col, int row, bool notify) {
  if (col < 0 || col >= cols_ || row < 0 || row >= std::max(rows_, 1)) return false;
  if (notify && selectCell && !selectCell(col, row)) return false;
  const bool moved = col != col_ || row != row_;
  col_ = col;
  row_ = row;
  ScrollToRow(row);
  viewport()->update();
  if (moved) emit selectionMoved();
  return true;
}

void PictureGrid::ScrollToRow(int row) {
  const int top = TopRow();
  const int visible = std::max(1, viewport()->height() / pitchH());
  auto* bar = verticalScrollBar();
  if (row < top)
    bar->setValue(row);
  else if (row >= top + visible)
    bar->setValue(row - visible + 1);
}

int PictureGrid::TopRow() const {
  return verticalScrollBar()->value();
}

int PictureGrid::VisibleRows() const {
  return (viewport()->height() + pitchH() - 1) / pitchH();
}

int PictureGrid::ClientWidth() const {
  return viewport()->width();
}

void PictureGrid::updateScrollBar() {
  const int visible = std::max(1, viewport()->height() / pitchH());
  auto* bar = verticalScrollBar();
  bar->setRange(0, std::max(0, rows_ - visible));
  bar->setPageStep(visible);
  bar->setSingleStep(1);
}

void PictureGrid::paintEvent(QPaintEvent*) {
  QPainter p(viewport());
  const QColor background = palette().color(QPalette::Window);
  p.fillRect(viewport()->rect(), background);
  const int top = TopRow();
  const int last = std::min(rows_, top + VisibleRows());
  for (int r = top; r < last; ++r) {
    for (int c = 0; c < cols_; ++c) {
      const QRect rect(c * pitchW(), (r - top) * pitchH(), cellW_, cellH_);
      if (rect.left() >= viewport()->width()) break;
      p.fillRect(rect, background);
      if (drawCell) drawCell(p, rect, c, r, c == col_ && r == row_);
    }
  }
  if (lines_) {
    p.setPen(palette().color(QPalette::Mid));
    const int h = (last - top) * pitchH();
    for (int c = 1; c <= cols_; ++c) p.drawLine(c * pitchW() - 1, 0, c * pitchW() - 1, h - 1);
    for (int r = 1; r <= last - top; ++r)
      p.drawLine(0, r * pitchH() - 1, cols_ * pitchW() - 1, r * pitchH() - 1);
  }
}

void PictureGrid::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton || e->button() == Qt::RightButton) {
    const QPoint pos = e->position().toPoint();
    const int c = pos.x() / pitchW();
    const int r = TopRow() + pos.y() / pitchH();
    if (c < cols_ && r < rows_) SelectCell(c, r);
  }
  if (e->button() == Qt::LeftButton && clicked) clicked();
  QAbstractScrollArea::mousePressEvent(e);
}

void PictureGrid::mouseDoubleClickEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton && doubleClicked) doubleClicked();
}

void PictureGrid::keyPressEvent(QKeyEvent* e) {
  int c = col_, r = row_;
  const int page = std::max(1, viewport()->height() / pitchH());
  switch (e->key()) {
    case Qt::Key_Left:
      --c;
      break;
    case Qt::Key_Right:
      ++c;
      break;
    case Qt::Key_Up:
      --r;
      break;
    case Qt::Key_Down:
      ++r;
      break;
    case Qt::Key_PageUp:
      r -= page;
      break;
    case Qt::Key_PageDown:
      r += page;
      break;
    case Qt::Key_Home:
      c = 0;
      break;
    case Qt::Key_End:
      c = cols_ - 1;
      break;
    default:
      QAbstractScrollArea::keyPressEvent(e);
      return;
  }
  c = std::clamp(c, 0, cols_ - 1);
  r = std::clamp(r, 0, std::max(0, rows_ - 1));
  if (c != col_ || r != row_) SelectCell(c, r);
}

void PictureGrid::resizeEvent(QResizeEvent* e) {
  QAbstractScrollArea::resizeEvent(e);
  updateScrollBar();
  if (resized) resized();
}

void PictureGrid::scrollContentsBy(int, int) {
  viewport()->update();
}

}  // namespace tavi
