// The main window's view: the drawing surface, its redraw, zoom and scroll,
// the mouse and keys on it, and the control window docked at its edge.
#include <QAction>
#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QShowEvent>
#include <QStatusBar>
#include <QTimer>

#include "app/aos_window.h"
#include "app/control_window.h"
#include "app/main_surface.h"
#include "app/main_window.h"
#include "app/main_window_impl.h"
#include "document/aos_tables.h"
#include "interaction/view_scroll.h"
#include "interaction/window_place.h"
#include "interaction/zoom_text.h"
#include "render/gl/house_view.h"
#include "render/pick.h"
#include "render/view_state.h"

namespace tavi {

namespace {

// How long a picking message stays in the status bar.
constexpr int kPickMessageMs = 4000;
// Room for a window manager's borders and title bar until the real ones are
// known, and the narrowest main window the first show makes.
constexpr int kFrameRoomX = 16;
constexpr int kFrameRoomY = 48;
constexpr int kMinMainWidth = 480;

}  // namespace

// ---- what the mouse rules read ----

void MainMouseEnv::Redraw() {
  m_->Redraw();
}
void MainMouseEnv::RefreshDetailList() {
  m_->RefreshCellList();
}
void MainMouseEnv::ZoomStep(bool in) {
  m_->ZoomStep(in);
}

bool MainMouseEnv::CellAtPoint(int px, int py, int floor, int* x, int* y) const {
  return m_->d->projection.CellAtPoint(px, py, floor, x, y);
}

int MainMouseEnv::PickTile(int px, int py) const {
  if (!m_->d->view) return -1;
  bool overflow = false;
  const int name = m_->d->view->PickAt(px, py, &overflow);
  if (!overflow) return name;
  // Too many entries under the pointer to tell them apart. The pick runs on
  // every hover tick, so the status bar says it, never a box.
  m_->statusBar()->showMessage(QString::fromLatin1(kBufferOverflowText), kPickMessageMs);
  return -1;
}

void MainMouseEnv::SetTimerEnabled(bool on) {
  QTimer* t = m_->d->redrawTimer;
  if (!t) return;
  if (on && !t->isActive()) t->start();
  if (!on) t->stop();
}

// ---- view state ----

QWidget* TMainForm::PaintBox() {
  return d->view;
}

const TBackgroundMap& TMainForm::BackgroundMap() const {
  return d->background;
}

MainMouse& TMainForm::Mouse() {
  return *d->mouse;
}

double TMainForm::Zoom() const {
  return d->projection.Zoom();
}

int TMainForm::DetailX() const {
  return d->mouse ? d->mouse->DetailX : -1;
}

int TMainForm::DetailY() const {
  return d->mouse ? d->mouse->DetailY : -1;
}

void TMainForm::SetDetailCell(int x, int y) {
  d->mouse->DetailX = x;
  d->mouse->DetailY = y;
}

const CellRect& TMainForm::Selection() const {
  static const CellRect kNone;
  return d->mouse ? d->mouse->Selection : kNone;
}

void TMainForm::SetSelection(const CellRect& rect) {
  d->mouse->Selection = rect;
  Redraw();
}

bool TMainForm::HiddenCell(int x, int y) const {
  return x >= 0 && y >= 0 && x < kGrid && y < kGrid && d->hidden[y][x];
}

void TMainForm::SetHiddenCell(int x, int y, bool hidden) {
  if (x >= 0 && y >= 0 && x < kGrid && y < kGrid) d->hidden[y][x] = hidden;
}

// ---- view ----

void TMainForm::Redraw() {
  // Every change of the house redraws: the title follows its unsaved state.
  if (d->doc && d->doc->Modified != d->titleModified) UpdateTitle();
  if (!d->view || !d->mouse) return;
  const int base = BaseHeight();
  if (base != d->anchorsBase) {
    // Tiles are drawn with the current base height; the hit test follows it.
    d->projection.RebuildAnchors(d->doc->Width, d->doc->Height, base);
    d->anchorsBase = base;
  }
  ViewState s;
  const MainMouse& m = *d->mouse;
  m.DescribeTo(s);
  s.BaseHeight = base;
  s.HiddenCells = d->hidden;
  const MainMenuActions& A = d->act;
  auto on = [](const QAction* a) { return a && a->isChecked(); };
  s.View.HideWalls = on(A.MnHideWalls);
  s.View.ShowGrid = on(A.MnShowGrid);
  s.View.ShowDownstairs = on(A.MnDownstair);
  s.View.ShowCustomize = on(A.MnShowPropriety);
  s.View.Night = on(A.MnLight);
  s.BackgroundMap = &d->background;
  s.LargeBG = d->settings.isLargeBG;
  s.Projection = &d->projection;
  s.Zoom = d->projection.Zoom();
  s.ScrollX = d->surface->ScrollX();
  s.ScrollY = d->surface->ScrollY();
  d->view->SetViewState(s);
  d->cellLabel->setText(m.HoverX >= 0 ? QString("%1, %2").arg(m.HoverX).arg(m.HoverY) : QString());
}

void TMainForm::RefreshCellList() {
  if (d->ctrl)
    d->ctrl->RefreshCellList();
  else
    Redraw();
}

void TMainForm::UpdatePaintBoxSize() {
  if (!d->surface) return;
  const SurfaceSize size = PaintBoxSize(d->doc->Width, d->doc->Height, d->projection.Zoom());
  d->surface->SetContentSize(size.Width, size.Height);
}

void TMainForm::RefreshView() {
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  if (d->ctrl) d->ctrl->ClearCellList();
  if (d->mouse) {
    d->mouse->DetailX = -1;
    d->mouse->DetailY = -1;
  }
  d->doc->ResetUndo();
  d->projection.RebuildAnchors(d->doc->Width, d->doc->Height, BaseHeight());
  d->anchorsBase = BaseHeight();
  QGuiApplication::restoreOverrideCursor();
  Redraw();
}

void TMainForm::SetZoom(double zoom) {
  const double before = d->projection.Zoom();
  d->projection.SetZoom(zoom);
  d->settings.Zoom = d->projection.Zoom();
  UpdatePaintBoxSize();
  if (d->surface && d->view && before != d->projection.Zoom()) {
    // The point under the pointer stays where it is (the view's centre when
    // the pointer is elsewhere).
    const QPoint p = d->view->mapFromGlobal(QCursor::pos());
    const SurfaceSize size = PaintBoxSize(d->doc->Width, d->doc->Height, d->projection.Zoom());
    const ScrollPosition at = ScrollAfterZoom(
        before, d->projection.Zoom(), {d->surface->ScrollX(), d->surface->ScrollY()}, p.x(), p.y(),
        d->view->width(), d->view->height(), size.Width, size.Height);
    d->surface->ScrollTo(at.X, at.Y);
  }
  Redraw();
}

void TMainForm::ZoomStep(bool in) {
  const double z = in ? ZoomStepIn(Zoom()) : ZoomStepOut(Zoom());
  if (d->ctrl) d->ctrl->SetZoomText(QString::fromStdString(ZoomText(z)));
  SetZoom(z);
}

// ---- mouse and keys ----

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == d->view && d->mouse) {
    auto button = [](Qt::MouseButton b) {
      return b == Qt::LeftButton ? MouseButton::Left
                                 : (b == Qt::RightButton ? MouseButton::Right : MouseButton::Other);
    };
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonDblClick:  // the second press of a quick double click
      case QEvent::MouseButtonRelease:
      case QEvent::MouseMove: {
        auto* me = static_cast<QMouseEvent*>(event);
        const QPoint p = me->position().toPoint();
        const int px = p.x() + d->surface->ScrollX(), py = p.y() + d->surface->ScrollY();
        const bool shift = me->modifiers() & Qt::ShiftModifier;
        if (event->type() == QEvent::MouseButtonPress ||
            event->type() == QEvent::MouseButtonDblClick) {
          d->view->setFocus();
          d->mouse->Press(button(me->button()), shift, px, py);
        } else if (event->type() == QEvent::MouseButtonRelease) {
          d->mouse->Release(button(me->button()), shift, px, py);
        } else {
          d->mouse->Move(shift, px, py);
        }
        return true;
      }
      case QEvent::KeyPress:
      case QEvent::KeyRelease: {
        auto* ke = static_cast<QKeyEvent*>(event);
        // The arrow keys scroll the view while the drawing surface has the focus.
        const int dx = ke->key() == Qt::Key_Left ? -1 : ke->key() == Qt::Key_Right ? 1 : 0;
        const int dy = ke->key() == Qt::Key_Up ? -1 : ke->key() == Qt::Key_Down ? 1 : 0;
        if ((dx || dy) && !(ke->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
          if (event->type() == QEvent::KeyPress) {
            const ScrollPosition at = ScrollByArrow(
                {d->surface->ScrollX(), d->surface->ScrollY()}, dx, dy, d->view->width(),
                d->view->height(), d->surface->ContentWidth(), d->surface->ContentHeight());
            d->surface->ScrollTo(at.X, at.Y);
          }
          return true;
        }
        if (event->type() == QEvent::KeyPress)
          keyPressEvent(ke);
        else
          keyReleaseEvent(ke);
        return ke->isAccepted();
      }
      default:
        break;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void TMainForm::RedrawTimerTimer() {
  if (!d->view || !d->mouse) return;
  const QPoint p = d->view->mapFromGlobal(QCursor::pos());
  const bool shift = QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier;
  d->mouse->Move(shift, p.x() + d->surface->ScrollX(), p.y() + d->surface->ScrollY());
}

namespace {

SurfaceKey KeyOf(const QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Shift:
      return SurfaceKey::Shift;
    case Qt::Key_PageUp:
      return SurfaceKey::PageUp;
    case Qt::Key_PageDown:
      return SurfaceKey::PageDown;
    default:
      return SurfaceKey::Other;
  }
}

}  // namespace

void TMainForm::keyPressEvent(QKeyEvent* event) {
  if (d->mouse && d->mouse->KeyDown(KeyOf(event), event->isAutoRepeat())) {
    event->accept();
    return;
  }
  event->ignore();
  QMainWindow::keyPressEvent(event);
}

void TMainForm::keyReleaseEvent(QKeyEvent* event) {
  if (d->mouse && d->mouse->KeyUp(KeyOf(event), event->isAutoRepeat())) {
    event->accept();
    return;
  }
  event->ignore();
  QMainWindow::keyReleaseEvent(event);
}

// ---- the control window docked at the right edge ----

void TMainForm::showEvent(QShowEvent* event) {
  // Sent before the window is mapped, so the window manager takes the place.
  if (!event->spontaneous() && !d->placedOnce) {
    d->placedOnce = true;
    PlaceForFirstShow();
  }
  QMainWindow::showEvent(event);
}

void TMainForm::PlaceForFirstShow() {
  const QScreen* s = screen();
  if (!s || !d->ctrl) return;
  const QRect a = s->availableGeometry();
  // Until the window manager has framed a window its borders are unknown;
  // room for usual ones is left instead.
  const QSize known = frameGeometry().size() - geometry().size();
  const bool framed = !known.isEmpty();
  const QSize mainExtra = framed ? known : QSize(kFrameRoomX, kFrameRoomY);
  const QSize ctrlSize = d->ctrl->isVisible()
                             ? d->ctrl->frameGeometry().size()
                             : d->ctrl->sizeHint() + QSize(kFrameRoomX, kFrameRoomY);
  const QRect frame = frameGeometry();
  const FirstShowPlace p =
      FirstShowPlacement(ScreenRect{frame.left(), frame.top(), width() + mainExtra.width(),
                                    height() + mainExtra.height()},
                         !testAttribute(Qt::WA_Moved), ctrlSize.width(), ctrlSize.height(),
                         ScreenRect{a.left(), a.top(), a.width(), a.height()}, kMinMainWidth);
  const QSize size(p.Main.Width - mainExtra.width(), p.Main.Height - mainExtra.height());
  if (size != this->size()) resize(size);
  if (framed) {
    move(p.Main.Left, p.Main.Top);
  } else {
    // Unframed, the place given is the client area's; the borders and the
    // title bar the window manager adds go around it, inside the room left.
    move(p.Main.Left + kFrameRoomX / 2, p.Main.Top + kFrameRoomY - kFrameRoomX / 2);
  }
}

void TMainForm::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  DockControlWindow(true);
}

void TMainForm::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  DockControlWindow(false);
}

void TMainForm::DockControlWindow(bool clampToScreen) {
  QAction* stick = d->act.MnStickWnd;
  if (!stick || !stick->isChecked() || !isVisible() || !d->ctrl) return;
  const QRect frame = frameGeometry();
  const int screenWidth = screen() ? screen()->geometry().width() : -1;
  ScreenPoint at =
      DockedControlWindow(ScreenRect{frame.left(), frame.top(), frame.width(), frame.height()},
                          d->ctrl->frameGeometry().width(), screenWidth, clampToScreen);
  if (const QScreen* s = screen()) {
    const QRect a = s->availableGeometry();
    at = DockedOnNarrowScreen(at, frame.width(), d->ctrl->frameGeometry().width(),
                              ScreenRect{a.left(), a.top(), a.width(), a.height()});
  }
  d->ctrl->move(at.X, at.Y);
}

}  // namespace tavi
