#pragma once
// Waiting for the paints a benchmark step asks for, so that it times frames
// really drawn.
#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>

namespace tavi::bench {

// Counts the paints of a widget (install it as the widget's event filter).
class PaintCounter : public QObject {
 public:
  int paints = 0;
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint) ++paints;
    return false;
  }
};

// Runs the event loop until *count moves past `before`; false after 2 s.
inline bool WaitForCount(const int* count, int before) {
  QTimer guard;
  guard.setSingleShot(true);
  guard.start(2000);
  while (*count == before && guard.isActive())
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  return *count != before;
}

}  // namespace tavi::bench
