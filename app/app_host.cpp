#include "app/app_host.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLocale>
#include <QMimeData>

#include "app/aos_window.h"
#include "app/control_window.h"
#include "app/main_window_impl.h"

namespace tavi {

bool MainDocHost::PartsLock() const {
  const TCtrlForm* ctrl = window_.d->ctrl;
  return ctrl && ctrl->PartsLock();
}

bool MainDocHost::ShowCustomizePropriety() const {
  const QAction* check = window_.d->act.MnShowPropriety;
  return check && check->isChecked();
}

int64_t MainDocHost::ReferencePrice() const {
  const TAoSForm* aos = window_.d->aos;
  return aos ? aos->ReferencePrice() : 0;
}

void MainDocHost::SetPrice(int64_t price, const std::string& lblPrice,
                           const std::string& lblDelta) {
  if (TAoSForm* aos = window_.d->aos)
    aos->SetPriceLabels(price, QString::fromStdString(lblPrice), QString::fromStdString(lblDelta));
}

char MainDocHost::ThousandsSeparator() const {
  // The price texts are 8-bit; a separator outside ASCII (a narrow space, for
  // instance) is shown as a plain space.
  const QString sep = QLocale().groupSeparator();
  if (sep.size() == 1 && sep[0].unicode() < 128) return char(sep[0].unicode());
  return ' ';
}

bool QtTextClipboard::HasText() const {
  const QMimeData* data = QApplication::clipboard()->mimeData();
  return data && data->hasText();
}

std::string QtTextClipboard::GetText() const {
  return QApplication::clipboard()->text().toStdString();
}

void QtTextClipboard::SetText(const std::string& text) {
  QApplication::clipboard()->setText(QString::fromStdString(text));
}

}  // namespace tavi
