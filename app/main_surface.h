#pragma once
// The main window's scrolled drawing surface: the house view fills the
// visible area and two scroll bars select which part of the zoomed scene it
// shows. The surface size (the scene at the zoom) sets the scroll ranges.
#include <QWidget>
#include <functional>

class QScrollBar;

namespace tavi {

class MainSurface : public QWidget {
 public:
  explicit MainSurface(QWidget* view, QWidget* parent = nullptr);
  void SetContentSize(int width, int height);
  int ContentWidth() const { return contentW_; }
  int ContentHeight() const { return contentH_; }
  int ScrollX() const;
  int ScrollY() const;
  // Scrolls to the middle of the scene (a no-op when it fits the view).
  void CenterView();
  // Scrolls to a surface position (kept within the scroll ranges).
  void ScrollTo(int x, int y);
  QWidget* View() const { return view_; }
  // Runs after a scroll position changed.
  std::function<void()> onScroll;
  // Ctrl + wheel: one zoom step in (true) or out.
  std::function<void(bool in)> onZoomStep;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void updateRanges();
  QWidget* view_;
  QScrollBar* h_;
  QScrollBar* v_;
  int contentW_ = 0, contentH_ = 0;
};

}  // namespace tavi
