#include "app/app_host.h"

#include <QApplication>
#include <QClipboard>
#include <QLocale>
#include <QMimeData>

namespace tavi {

bool AppDocHost::PartsLock() const {
  return partsLock && partsLock();
}

bool AppDocHost::ShowCustomizePropriety() const {
  return showCustomize && showCustomize();
}

int64_t AppDocHost::ReferencePrice() const {
  return referencePrice ? referencePrice() : 0;
}

void AppDocHost::SetPrice(int64_t price, const std::string& lblPrice, const std::string& lblDelta) {
  if (setPrice) setPrice(price, QString::fromStdString(lblPrice), QString::fromStdString(lblDelta));
}

char AppDocHost::ThousandsSeparator() const {
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
