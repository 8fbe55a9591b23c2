#include "app/ui_prompts.h"

#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QUrl>

namespace tavi {

QString BoxText(const QString& text) {
  QString t = text;
  t.replace("\r\n", "\n");
  return t;
}

void UiPrompts::Info(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::Information, QStringLiteral("Tavi Editor"), BoxText(text),
                  QMessageBox::Ok, parent);
  // What a box tells (a web address, a path) can be selected and copied.
  box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  box.exec();
}

void UiPrompts::Error(QWidget* parent, const QString& text) {
  QMessageBox::critical(parent, QStringLiteral("Tavi Editor"), BoxText(text));
}

UiPrompts::Answer UiPrompts::YesNoCancel(QWidget* parent, const QString& text) {
  const auto r = QMessageBox::question(parent, QStringLiteral("Tavi Editor"), BoxText(text),
                                       QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                       QMessageBox::Yes);
  if (r == QMessageBox::Yes) return kYes;
  if (r == QMessageBox::No) return kNo;
  return kCancel;
}

bool UiPrompts::YesNo(QWidget* parent, const QString& text) {
  return QMessageBox::question(parent, QStringLiteral("Tavi Editor"), BoxText(text),
                               QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::Yes) == QMessageBox::Yes;
}

QString UiPrompts::OpenFile(QWidget* parent, const QString& current, const QString& filter) {
  return QFileDialog::getOpenFileName(parent, QString(), current, filter);
}

QString UiPrompts::SaveFile(QWidget* parent, const QString& current, const QString& filter,
                            const QString& defaultSuffix) {
  QFileDialog dlg(parent, QString(), current, filter);
  dlg.setAcceptMode(QFileDialog::AcceptSave);
  dlg.setDefaultSuffix(defaultSuffix);
  dlg.setOption(QFileDialog::ReadOnly, false);
  if (!current.isEmpty()) dlg.selectFile(current);
  if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return QString();
  return dlg.selectedFiles().first();
}

QString UiPrompts::SaveFileFiltered(QWidget* parent, const QString& current, const QString& filter,
                                    QString* chosenFilter) {
  QFileDialog dlg(parent, QString(), current, filter);
  dlg.setAcceptMode(QFileDialog::AcceptSave);
  dlg.setOption(QFileDialog::ReadOnly, false);
  if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return QString();
  *chosenFilter = dlg.selectedNameFilter();
  return dlg.selectedFiles().first();
}

int UiPrompts::ChooseItem(QWidget* parent, const QString& text, const QStringList& items) {
  bool ok = false;
  const QString item =
      QInputDialog::getItem(parent, QString(), text, items, 0, /*editable=*/false, &ok);
  return ok ? int(items.indexOf(item)) : -1;
}

bool UiPrompts::AskNumber(QWidget* parent, const QString& text, int lo, int hi, int* value) {
  bool ok = false;
  const int v = QInputDialog::getInt(parent, QString(), text, *value, lo, hi, 1, &ok);
  if (ok) *value = v;
  return ok;
}

bool UiPrompts::Exec(QDialog* dialog) {
  return dialog->exec() == QDialog::Accepted;
}

bool UiPrompts::OpenUrl(const QString& url) {
  return QDesktopServices::openUrl(QUrl(url));
}

}  // namespace tavi
