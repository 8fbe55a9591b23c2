#include "app/cache_import_dialog.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "app/busy_scope.h"
#include "app/ui_texts.h"
#include "document/house_document.h"
#include "io/multi_cache.h"
#include "settings/settings.h"

namespace tavi {
namespace {

QStringList ToQt(const std::vector<std::string>& names) {
  QStringList out;
  for (const auto& n : names) out << QString::fromStdString(n);
  return out;
}

// Fills a list and selects the remembered position when it lies within the
// list, else the first entry. False when the list came out empty.
bool FillList(QListWidget* list, const QStringList& entries, int remembered) {
  QSignalBlocker block(list);
  list->clear();
  list->addItems(entries);
  if (entries.isEmpty()) return false;
  list->setCurrentRow(remembered >= 0 && remembered < entries.size() ? remembered : 0);
  return true;
}

QListWidget* AddGroup(QWidget* parent, QGridLayout* lay, int row, int col, const char* group,
                      const char* list, const char* caption) {
  auto* box = new QGroupBox(caption, parent);
  box->setObjectName(group);
  auto* lb = new QListWidget(box);
  lb->setObjectName(list);
  auto* inner = new QVBoxLayout(box);
  inner->addWidget(lb);
  lay->addWidget(box, row, col);
  return lb;
}

}  // namespace

TMultiForm::TMultiForm(ICacheImportHost& host, const QString& clientDir, QWidget* parent)
    : QDialog(parent), host_(host), clientDirOverride_(clientDir) {
  setObjectName("MultiForm");
  setWindowTitle("Import from Multicache");
  setModal(false);
  build();
}

TMultiForm::~TMultiForm() = default;

void TMultiForm::build() {
  auto* grid = new QGridLayout;
  lbAccount_ = AddGroup(this, grid, 0, 0, "GBAccount", "LBAccount", "Account");
  lbShard_ = AddGroup(this, grid, 0, 1, "GBShard", "LBShard", "Shard");
  lbChar_ = AddGroup(this, grid, 0, 2, "GBChar", "LBChar", "Character");
  lbHouse_ = AddGroup(this, grid, 0, 3, "GBHouse", "LBHouse", "Cached Houses");
  connect(lbAccount_, &QListWidget::itemClicked, this, [this] { LBAccountClick(); });
  connect(lbShard_, &QListWidget::itemClicked, this, [this] { LBShardClick(); });
  connect(lbChar_, &QListWidget::itemClicked, this, [this] { LBCharClick(); });
  // Keyboard moves in the lists act like clicks.
  connect(lbAccount_, &QListWidget::currentRowChanged, this, [this](int) { LBAccountClick(); });
  connect(lbShard_, &QListWidget::currentRowChanged, this, [this](int) { LBShardClick(); });
  connect(lbChar_, &QListWidget::currentRowChanged, this, [this](int) { LBCharClick(); });
  connect(lbHouse_, &QListWidget::itemDoubleClicked, this, [this] { BtnImportClick(); });

  btnImport_ = new QPushButton("Import", this);
  btnImport_->setObjectName("BtnImport");
  btnClose_ = new QPushButton("Close", this);
  btnClose_->setObjectName("BtnClose");
  connect(btnImport_, &QPushButton::clicked, this, [this] { BtnImportClick(); });
  connect(btnClose_, &QPushButton::clicked, this, [this] { BtnCloseClick(); });
  lblWarning_ =
      new QLabel("* Dynamic objects (e.g. doors, teleporters)\n will not be imported. *", this);
  lblWarning_->setObjectName("LblWarning");

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(lblWarning_, 1);
  bottom->addWidget(btnImport_);
  bottom->addWidget(btnClose_);
  lblNoCache_ = new QLabel(this);
  lblNoCache_->setObjectName("LblNoCache");
  lblNoCache_->setWordWrap(true);
  lblNoCache_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  lblNoCache_->hide();
  auto* lay = new QVBoxLayout(this);
  lay->addWidget(lblNoCache_);
  lay->addLayout(grid, 1);
  lay->addLayout(bottom);
  resize(640, 300);
  btnImport_->setEnabled(false);
  lbHouse_->setEnabled(false);
}

QString TMultiForm::clientDir() const {
  if (!clientDirOverride_.isEmpty()) return clientDirOverride_;
  return QString::fromStdString(host_.Settings().ClientDir);
}

QString TMultiForm::desktopDir() const {
  return QString::fromStdString(DesktopFolder(clientDir().toStdString()));
}

void TMultiForm::ShowDialog() {
  if (isVisible()) {
    raise();
    activateWindow();
    return;
  }
  show();
  raise();
  activateWindow();
}

void TMultiForm::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (!e->spontaneous()) FormShow();
}

void TMultiForm::FormShow() {
  BusyScope busy(this, UiTextsFor(host_.Settings().Language).Working);
  const int remembered = host_.Settings().LastAccount;
  // Without a client folder there is nothing to list (never the working folder).
  const std::vector<std::string> accounts =
      clientDir().isEmpty() ? std::vector<std::string>() : ListAccounts(clientDir().toStdString());
  if (FillList(lbAccount_, ToQt(accounts), remembered))
    LBAccountClick();
  else
    clearFrom(1);
  // Empty lists say why: no client folder, or where no cache file lies.
  const UiTexts& t = UiTextsFor(host_.Settings().Language);
  if (clientDir().isEmpty()) {
    lblNoCache_->setText(t.NoClientFolder);
    lblNoCache_->show();
  } else if (!AnyCacheFile(clientDir().toStdString())) {
    const QString desktop = desktopDir();
    lblNoCache_->setText(t.NoCacheFound.arg(desktop.isEmpty() ? clientDir() + "Desktop" : desktop));
    lblNoCache_->show();
  } else {
    lblNoCache_->hide();
  }
  if (!shown_) host_.HideCtrlForDialog();
  shown_ = true;
}

void TMultiForm::clearFrom(int level) {
  // A list that came out empty leaves nothing to import to its right.
  if (level <= 1) {
    QSignalBlocker b(lbShard_);
    lbShard_->clear();
  }
  if (level <= 2) {
    QSignalBlocker b(lbChar_);
    lbChar_->clear();
  }
  QSignalBlocker b(lbHouse_);
  lbHouse_->clear();
  text_.clear();
  btnImport_->setEnabled(false);
  lbHouse_->setEnabled(false);
}

void TMultiForm::LBAccountClick() {
  if (!lbAccount_->currentItem()) return;
  account_ = lbAccount_->currentItem()->text();
  const int remembered = host_.Settings().LastShard;
  const auto shards = ListShards(clientDir().toStdString(), account_.toStdString());
  if (FillList(lbShard_, ToQt(shards), remembered))
    LBShardClick();
  else
    clearFrom(2);
}

void TMultiForm::LBShardClick() {
  if (!lbShard_->currentItem()) return;
  shard_ = lbShard_->currentItem()->text();
  const int remembered = host_.Settings().LastChar;
  const auto chars =
      ListCharacters(clientDir().toStdString(), account_.toStdString(), shard_.toStdString());
  if (FillList(lbChar_, ToQt(chars), remembered))
    LBCharClick();
  else
    clearFrom(3);
}

void TMultiForm::LBCharClick() {
  if (!lbChar_->currentItem()) return;
  char_ = lbChar_->currentItem()->text();
  {
    QSignalBlocker b(lbHouse_);
    lbHouse_->clear();
  }
  text_.clear();
  houseNumbers_.clear();
  const std::string path = CacheFilePath(clientDir().toStdString(), account_.toStdString(),
                                         shard_.toStdString(), char_.toStdString());
  std::string error;
  if (path.empty() || !ReadCacheText(path, &text_, &error)) {
    text_.clear();
    btnImport_->setEnabled(false);
    lbHouse_->setEnabled(false);
    return;
  }
  for (const CachedHouse& house : ListCachedHouses(text_)) {
    lbHouse_->addItem(QString::fromStdString(CachedHouseLabel(house)));
    houseNumbers_.push_back(house.headerIndex);
  }
  const bool any = lbHouse_->count() > 0;
  btnImport_->setEnabled(any);
  lbHouse_->setEnabled(any);
}

void TMultiForm::BtnImportClick() {
  const int row = lbHouse_->currentRow();
  // With no house selected there is nothing to import.
  if (row < 0 || row >= int(houseNumbers_.size()) || !host_.Doc()) return;
  if (!host_.AskSaveChanges()) return;
  TTAVIDoc& doc = *host_.Doc();
  const LoadResult r = ImportMultiCache(doc, text_, houseNumbers_[size_t(row)]);
  if (!r.ok) {
    host_.Prompts().Info(this, QString::fromStdString(r.error));
    return;
  }
  lastImportBase_ = r.baseHeight;
  host_.AfterCacheImport();
}

void TMultiForm::BtnCloseClick() {
  close();
}

void TMultiForm::FormClose() {
  if (!shown_) return;
  shown_ = false;
  {
    TSettings& settings = host_.Settings();
    settings.LastAccount = lbAccount_->currentRow();
    settings.LastShard = lbShard_->currentRow();
    settings.LastChar = lbChar_->currentRow();
  }
  text_.clear();
  text_.shrink_to_fit();
  host_.RestoreCtrlAfterDialog();
}

void TMultiForm::closeEvent(QCloseEvent* e) {
  FormClose();
  QDialog::closeEvent(e);
}

void TMultiForm::reject() {
  FormClose();
  QDialog::reject();
}

}  // namespace tavi
