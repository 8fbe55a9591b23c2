#include "app/app_host.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLocale>
#include <QMimeData>

#include "app/main_window.h"
#include "app/aos_window.h"
#include "app/control_window.h"

namespace tavi {

bool AppDocHost::PartsLock() const {
  return main_ && main_->CtrlForm() && main_->CtrlForm()->PartsLock();
}

bool AppDocHost::ShowCustomizePropriety() const {
  if (!main_) return false;
  auto* action = main_->findChild<QAction*>(QStringLiteral("MnShowPropriety"));
  return action && action->isChecked();
}

int AppDocHost::BaseHeight() const {
  return main_ ? main_->BaseHeight() : 7;
}

void AppDocHost::SetBaseHeight(int height) {
  if (main_) main_->SetBaseHeight(height);
}

int64_t AppDocHost::ReferencePrice() const {
  return main_ && main_->AoSForm() ? main_->AoSForm()->ReferencePrice() : 0;
}

void AppDocHost::SetPrice(int64_t price, const std::string& lblPrice, const std::string& lblDelta) {
  if (main_ && main_->AoSForm())
    main_->AoSForm()->SetPriceLabels(price, QString::fromStdString(lblPrice),
                                     QString::fromStdString(lblDelta));
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
