#pragma once
// A busy cursor for the length of a piece of work that runs on the calling
// thread. Work known to take longer than about half a second (`long`) also
// shows a progress dialog for its length, drawn before the work starts.
#include <QCoreApplication>
#include <QGuiApplication>
#include <QProgressDialog>
#include <memory>

namespace tavi {

class BusyScope {
 public:
  BusyScope(QWidget* parent, const QString& text, bool isLong = false) {
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    if (isLong) {
      dialog_ = std::make_unique<QProgressDialog>(text, QString(), 0, 0, parent);
      dialog_->setWindowModality(Qt::WindowModal);
      dialog_->setCancelButton(nullptr);
      dialog_->setMinimumDuration(0);
      dialog_->show();
      // Drawn now: no event is handled until the work ends.
      QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
  }
  ~BusyScope() {
    if (dialog_) dialog_->hide();
    QGuiApplication::restoreOverrideCursor();
  }
  bool ShowsProgress() const { return dialog_ && dialog_->isVisible(); }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  std::unique_ptr<QProgressDialog> dialog_;
};

}  // namespace tavi
