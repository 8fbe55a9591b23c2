#include "app/ui_prompts.h"

#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QUrl>

namespace tavi {

QIcon NamesOnlyIconProvider::icon(const QFileInfo& info) const {
  if (info.isDir()) return QFileIconProvider::icon(Folder);
  if (info.isRoot()) return QFileIconProvider::icon(Drive);
  return QFileIconProvider::icon(File);
}

QString NamesOnlyIconProvider::type(const QFileInfo& info) const {
  if (info.isDir()) return QFileIconProvider::type(info);  // a folder's type reads nothing
  const QMimeType mime = QMimeDatabase().mimeTypeForFile(info, QMimeDatabase::MatchExtension);
  return mime.isDefault() ? QStringLiteral("File") : mime.comment();
}

void MakeSafe(QFileDialog* dialog) {
  // One provider for every dialog; it holds no state of its own and is never
  // destroyed, so that no icon outlives the application object.
  static NamesOnlyIconProvider* const provider = new NamesOnlyIconProvider;
  dialog->setOption(QFileDialog::DontUseNativeDialog, true);
  dialog->setOption(QFileDialog::DontUseCustomDirectoryIcons, true);
  dialog->setIconProvider(provider);
}

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
  QFileDialog dlg(parent, QString(), current, filter);
  MakeSafe(&dlg);
  dlg.setAcceptMode(QFileDialog::AcceptOpen);
  dlg.setFileMode(QFileDialog::ExistingFile);
  if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return QString();
  return dlg.selectedFiles().first();
}

QString UiPrompts::ChooseFolder(QWidget* parent, const QString& current, const QString& caption) {
  QFileDialog dlg(parent, caption, current);
  MakeSafe(&dlg);
  dlg.setFileMode(QFileDialog::Directory);
  dlg.setOption(QFileDialog::ShowDirsOnly, true);
  if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return QString();
  return dlg.selectedFiles().first();
}

QString UiPrompts::SaveFile(QWidget* parent, const QString& current, const QString& filter,
                            const QString& defaultSuffix) {
  QFileDialog dlg(parent, QString(), current, filter);
  MakeSafe(&dlg);
  dlg.setAcceptMode(QFileDialog::AcceptSave);
  dlg.setDefaultSuffix(defaultSuffix);
  dlg.setOption(QFileDialog::ReadOnly, false);
  if (!current.isEmpty() && !QFileInfo(current).isDir()) dlg.selectFile(current);
  if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return QString();
  return dlg.selectedFiles().first();
}

QString UiPrompts::SaveFileFiltered(QWidget* parent, const QString& current, const QString& filter,
                                    QString* chosenFilter) {
  QFileDialog dlg(parent, QString(), current, filter);
  MakeSafe(&dlg);
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

bool UiPrompts::InputText(QWidget* parent, const QString& caption, const QString& prompt,
                          QString* answer) {
  bool ok = false;
  const QString text =
      QInputDialog::getText(parent, caption, prompt, QLineEdit::Normal, QString(), &ok);
  if (ok) *answer = text;
  return ok;
}

bool UiPrompts::OpenUrl(const QString& url) {
  return QDesktopServices::openUrl(QUrl(url));
}

}  // namespace tavi
