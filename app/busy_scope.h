#pragma once
// A busy cursor for the length of a piece of work, and a progress dialog
// (without a cancel button) when it runs longer than half a second.
#include <QGuiApplication>
#include <QProgressDialog>

namespace tavi {

class BusyScope {
 public:
  BusyScope(QWidget* parent, const QString& text) : dialog_(text, QString(), 0, 0, parent) {
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    dialog_.setWindowModality(Qt::WindowModal);
    dialog_.setMinimumDuration(500);
    dialog_.setCancelButton(nullptr);
    dialog_.setValue(0);
  }
  ~BusyScope() {
    dialog_.reset();
    QGuiApplication::restoreOverrideCursor();
  }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  QProgressDialog dialog_;
};

}  // namespace tavi
