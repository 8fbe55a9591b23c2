#pragma once
// The cache import dialog: walks the client's desktop folders down to one
// character and imports one of the houses cached there. Modeless.
#include <QDialog>
#include <string>
#include <vector>

#include "app/tool_host.h"

class QListWidget;
class QPushButton;
class QLabel;

namespace tavi {

class TMultiForm : public QDialog {
  Q_OBJECT
 public:
  // A non-empty `clientDir` overrides the client folder of the settings (tests).
  TMultiForm(ICacheImportHost& host, const QString& clientDir, QWidget* parent = nullptr);
  ~TMultiForm() override;

  // Shows the dialog (modeless) and fills the lists.
  void ShowDialog();

  // Handlers, public for tests.
  void FormShow();
  void LBAccountClick();
  void LBShardClick();
  void LBCharClick();
  void BtnImportClick();
  void BtnCloseClick();

  QListWidget* AccountList() const { return lbAccount_; }
  QListWidget* ShardList() const { return lbShard_; }
  QListWidget* CharList() const { return lbChar_; }
  QListWidget* HouseList() const { return lbHouse_; }
  QPushButton* ImportButton() const { return btnImport_; }
  // Where the dialog looked when it found no Multicache.dat (hidden otherwise).
  QLabel* NoCacheLabel() const { return lblNoCache_; }
  // The base height the last import chose (-1 before any).
  int LastImportBase() const { return lastImportBase_; }

 protected:
  void closeEvent(QCloseEvent* e) override;
  void showEvent(QShowEvent* e) override;
  void reject() override;

 private:
  void build();
  void FormClose();
  QString clientDir() const;
  QString desktopDir() const;
  void clearFrom(int level);

  ICacheImportHost& host_;
  QString clientDirOverride_;
  QString account_, shard_, char_;
  std::string text_;  // the chosen character's Multicache.dat
  // Per listed house, the number the import counts it by.
  std::vector<int> houseNumbers_;
  int lastImportBase_ = -1;
  bool shown_ = false;
  QListWidget* lbAccount_ = nullptr;
  QListWidget* lbShard_ = nullptr;
  QListWidget* lbChar_ = nullptr;
  QListWidget* lbHouse_ = nullptr;
  QPushButton* btnImport_ = nullptr;
  QPushButton* btnClose_ = nullptr;
  QLabel* lblWarning_ = nullptr;
  QLabel* lblNoCache_ = nullptr;
};

}  // namespace tavi
