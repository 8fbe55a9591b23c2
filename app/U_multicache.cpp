#include "app/U_multicache.h"

#include <QCloseEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace tavi {

TMultiForm::TMultiForm(TMainForm* main, QWidget* parent)
    : TMultiForm(ToolHostFromMain(main), QString(), parent) {}

TMultiForm::TMultiForm(const ToolHost& host, const QString& clientDir, QWidget* parent)
    : QDialog(parent), host_(host), clientDirOverride_(clientDir) {
  setObjectName("MultiForm");
  setWindowTitle("Import from Multicache");
  build();
}

TMultiForm::~TMultiForm() = default;

void TMultiForm::build() {
  lbAccount_ = new QListWidget(this);
  lbShard_ = new QListWidget(this);
  lbChar_ = new QListWidget(this);
  lbHouse_ = new QListWidget(this);
  btnImport_ = new QPushButton("Import", this);
  btnClose_ = new QPushButton("Close", this);
  lblWarning_ = new QLabel(this);
}

void TMultiForm::ShowDialog() { show(); }
void TMultiForm::FormShow() {}
void TMultiForm::LBAccountClick() {}
void TMultiForm::LBShardClick() {}
void TMultiForm::LBCharClick() {}
void TMultiForm::BtnImportClick() {}
void TMultiForm::BtnCloseClick() { close(); }
void TMultiForm::FormClose() {}
QString TMultiForm::clientDir() const { return clientDirOverride_; }
QString TMultiForm::desktopDir() const { return clientDir() + "desktop/"; }
void TMultiForm::closeEvent(QCloseEvent* e) {
  FormClose();
  QDialog::closeEvent(e);
}
void TMultiForm::reject() {
  FormClose();
  QDialog::reject();
}

}  // namespace tavi
