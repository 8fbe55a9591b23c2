#include "app/catalogue_window.h"

#include <QApplication>
#include <QHideEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QStatusBar>
#include <QTabBar>
#include <QVBoxLayout>
#include <algorithm>

#include "app/picture_grid.h"
#include "app/tool_art.h"
#include "client/tile_data.h"
#include "interaction/aos_rules.h"
#include "settings/settings.h"

namespace tavi {
namespace {

constexpr int kCell = 44;
constexpr int kThumbnailCacheSize = 6000;  // about 35 MB of 44 x 44 pictures

}  // namespace

TObjForm::TObjForm(ICatalogueHost& host, const QString& pageFolder, QWidget* parent)
    : QWidget(parent, Qt::Tool), host_(host), pageFolder_(pageFolder) {
  setObjectName("ObjForm");
  setWindowTitle("Object Window");
  thumbs_.setMaxCost(kThumbnailCacheSize);
  if (host_.Settings().isStayOnTop) setWindowFlag(Qt::WindowStaysOnTopHint, true);
  build();
  loadPages();
  applyTabState();
}

TObjForm::~TObjForm() = default;

void TObjForm::build() {
  menuBar_ = new QMenuBar(this);
  menuBar_->setObjectName("MainMenu1");
  menuBar_->setNativeMenuBar(false);

  mnPage_ = menuBar_->addMenu("&Page");
  mnPage_->setObjectName("MnPage");
  mnPageAdd_ = mnPage_->addAction("&Add", this, [this] { MnPageAddClick(); });
  mnPageAdd_->setObjectName("MnPageAdd");
  mnPageRename_ = mnPage_->addAction("&Rename", this, [this] { MnPageRenameClick(); });
  mnPageRename_->setObjectName("MnPageRename");
  mnPageDelete_ = mnPage_->addAction("&Delete", this, [this] { MnPageDeleteClick(); });
  mnPageDelete_->setObjectName("MnPageDelete");

  mnObject_ = menuBar_->addMenu("&Object");
  mnObject_->setObjectName("MnObject");
  mnAdd_ = mnObject_->addMenu("&Add to...");
  mnAdd_->setObjectName("MnAdd");
  mnDelete_ = mnObject_->addAction("&Delete", this, [this] { MnDelete1Click(); });
  mnDelete_->setObjectName("MnDelete");
  connect(mnObject_, &QMenu::aboutToShow, this, [this] { Search1Click(); });

  search1_ = menuBar_->addMenu("&Search");
  search1_->setObjectName("Search1");
  mnFind1_ = search1_->addAction("&Find", this, [this] { MnFindClick(); });
  mnFind1_->setObjectName("MnFind1");
  mnFind1_->setShortcut(QKeySequence("Ctrl+F"));
  mnFindNext1_ = search1_->addAction("Find &Next", this, [this] { MnFindNextClick(); });
  mnFindNext1_->setObjectName("MnFindNext1");
  mnFindNext1_->setShortcut(QKeySequence(Qt::Key_F3));
  connect(search1_, &QMenu::aboutToShow, this, [this] { Search1Click(); });

  popup_ = new QMenu(this);
  popup_->setObjectName("PopMenu");
  mnFind_ = popup_->addAction("Find", this, [this] { MnFindClick(); });
  mnFind_->setObjectName("MnFind");
  mnFindNext_ = popup_->addAction("Next", this, [this] { MnFindNextClick(); });
  mnFindNext_->setObjectName("MnFindNext");
  mnAdd1_ = popup_->addMenu("&Add to ...");
  mnAdd1_->setObjectName("MnAdd1");
  mnDelete1_ = popup_->addAction("&Delete", this, [this] { MnDelete1Click(); });
  mnDelete1_->setObjectName("MnDelete1");
  // The shortcuts are shown in the pop-up; the main menu's entries carry them.
  mnFind_->setShortcut(QKeySequence("Ctrl+F"));
  mnFindNext_->setShortcut(QKeySequence(Qt::Key_F3));
  mnFind_->setShortcutContext(Qt::WidgetShortcut);
  mnFindNext_->setShortcutContext(Qt::WidgetShortcut);
  mnDelete1_->setShortcut(QKeySequence(Qt::Key_Delete));
  mnDelete1_->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  // The pop-up menu shows its keys as the menu bar does.
  for (QAction* a : popup_->actions()) a->setShortcutVisibleInContextMenu(true);
  connect(popup_, &QMenu::aboutToShow, this, [this] { PopMenuPopup(); });

  tab_ = new QTabBar(this);
  tab_->setObjectName("Tab");
  tab_->setExpanding(false);
  tab_->setUsesScrollButtons(true);
  tab_->addTab("Main");
  connect(tab_, &QTabBar::currentChanged, this, [this](int) { TabChange(); });

  grid_ = new PictureGrid(this);
  grid_->setObjectName("DGObj");
  grid_->SetCellSize(kCell, kCell);
  grid_->SetGridLines(true);
  grid_->SetColCount(4);
  grid_->addAction(mnDelete1_);
  grid_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(grid_, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& pos) { popup_->popup(grid_->mapToGlobal(pos)); });
  grid_->drawCell = [this](QPainter& p, const QRect& r, int c, int row, bool selected) {
    const int index = row * grid_->ColCount() + c;
    if (index >= tileCountOnTab()) return;
    const uint16_t id = idAt(index);
    if (selected)
      p.drawImage(r.topLeft(), ItemPicture(host_.Tiles(), id, kCell, kCell,
                                           palette().color(QPalette::Highlight)));
    else
      p.drawImage(r.topLeft(), thumbnail(id));
  };
  grid_->selectCell = [this](int c, int r) { return gridSelect(c, r); };
  grid_->clicked = [this] { gridClicked(); };
  grid_->resized = [this] { FormResize(); };

  statusBar_ = new QStatusBar(this);
  statusBar_->setObjectName("StatusBar1");
  statusBar_->setSizeGripEnabled(true);

  auto* lay = new QVBoxLayout(this);
  lay->setContentsMargins(0, 0, 0, 0);
  lay->setSpacing(0);
  lay->setMenuBar(menuBar_);
  lay->addWidget(tab_);
  lay->addWidget(grid_, 1);
  lay->addWidget(statusBar_);
  resize(6 * (kCell + 1) + 24, 520);
}

void TObjForm::loadPages() {
  int32_t* legacyCount = &host_.Settings().nBookmark;
  const uint16_t* legacyCodes = host_.Settings().BookmarkCodes.data();
  // Without a folder there are no page files, but legacy codes still become a page.
  pages_.Load(pageFolder_.toStdString(), legacyCount, legacyCodes, kMaxBookmarkCodes);
  for (const auto& page : pages_.Pages) tab_->addTab(QString::fromStdString(page.Name));
  rebuildAddMenus();
}

bool TObjForm::SavePages() {
  if (pageFolder_.isEmpty()) return false;
  std::string error;
  if (!pages_.Save(pageFolder_.toStdString(), &error)) {
    qWarning("%s", error.c_str());
    return false;
  }
  return true;
}

void TObjForm::rebuildAddMenus() {
  for (QMenu* menu : {mnAdd_, mnAdd1_}) {
    menu->clear();
    for (int k = 0; k < int(pages_.Pages.size()); ++k)
      menu->addAction(QString::fromStdString(pages_.Pages[size_t(k)].Name), this,
                      [this, k] { AddToPage(k); });
  }
}

int TObjForm::CurrentTab() const {
  return tab_->currentIndex();
}

void TObjForm::SetCurrentTab(int tab) {
  tab_->setCurrentIndex(tab);
}

int TObjForm::CurrentIndex() const {
  return grid_->Row() * grid_->ColCount() + grid_->Col();
}

int TObjForm::tileCountOnTab() const {
  const int tab = CurrentTab();
  if (tab <= 0) return host_.Tiles() ? host_.Tiles()->ItemCount : 0;
  if (tab - 1 < int(pages_.Pages.size())) return pages_.Pages[size_t(tab - 1)].Count();
  return 0;
}

uint16_t TObjForm::idAt(int index) const {
  const int tab = CurrentTab();
  if (tab <= 0) return host_.Tiles() ? uint16_t(host_.Tiles()->ItemIds[index]) : 0;
  return pages_.Pages[size_t(tab - 1)].Codes[size_t(index)];
}

QImage TObjForm::thumbnail(uint16_t id) {
  if (QImage* cached = thumbs_.object(id)) return *cached;
  ++thumbsDrawn_;
  auto* img = new QImage(ItemPicture(host_.Tiles(), id, kCell, kCell, Qt::white));
  const QImage copy = *img;
  thumbs_.insert(id, img, 1);
  return copy;
}

void TObjForm::FormResize() {
  layoutGrid(false);
}

void TObjForm::layoutGrid(bool reselect) {
  if (!isVisible()) return;
  int index = CurrentIndex();
  const int cols = std::max(1, grid_->ClientWidth() / (kCell + 1));
  const int count = tileCountOnTab();
  const int rows = (count + cols - 1) / cols;
  grid_->SetColCount(cols);
  grid_->SetRowCount(rows);
  if (index / cols >= rows) index = 0;
  if (reselect) {
    // Move the row quietly, then the column with the selection handler, so
    // the tile at the index becomes the current tile again.
    movingRow_ = true;
    grid_->SelectCell(grid_->Col() < cols ? grid_->Col() : 0, index / cols, true);
    movingRow_ = false;
    grid_->SelectCell(index % cols, index / cols, true);
  } else {
    // A new size (a font or a language, the user's frame) only lays the
    // cells out anew: the current tile is the user's choice and stays.
    grid_->SelectCell(index % cols, index / cols, false);
  }
  grid_->viewport()->update();
}

void TObjForm::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  FormResize();
}

void TObjForm::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  FormResize();
}

void TObjForm::hideEvent(QHideEvent* e) {
  QWidget::hideEvent(e);
  if (!e->spontaneous()) host_.CatalogueHidden();
}

bool TObjForm::gridSelect(int col, int row) {
  if (movingRow_) return true;
  const int index = row * grid_->ColCount() + col;
  if (index >= tileCountOnTab()) return false;
  // A page may hold a code without art; it is still the tile the user chose.
  const uint16_t id = idAt(index);
  // A page's chosen tile can be removed now, however the choice was made
  // (a click, the keys, a search).
  for (QAction* a : {mnDelete_, mnDelete1_}) a->setEnabled(CurrentTab() > 0);
  host_.SetCurrentTile(id);
  status_ = TileStatusText(host_.Tiles(), id);
  statusBar_->showMessage(status_);
  return true;
}

void TObjForm::gridClicked() {
  IAosChoice* aos = host_.Aos();
  if (!aos || !aos->IsShown()) return;
  const int type = aos->TypeIndex();
  const int moved = AosTypeAfterCatalogueClick(type);
  if (moved != type) aos->SetTypeIndexSilently(moved);
}

void TObjForm::moveToIndex(int index) {
  const int cols = grid_->ColCount();
  if (index < 0 || index >= tileCountOnTab()) return;
  grid_->SelectCell(index % cols, index / cols, true);
}

void TObjForm::applyTabState() {
  const bool page = CurrentTab() > 0;
  mnAdd_->setEnabled(!page);
  mnAdd1_->setEnabled(!page);
  mnDelete1_->setEnabled(page);
  mnPageRename_->setEnabled(page);
  mnPageDelete_->setEnabled(page);
  updateMenus();
}

void TObjForm::TabChange() {
  layoutGrid(true);
  applyTabState();
  const bool page = CurrentTab() > 0;
  if (!page && host_.Tiles()) {
    const uint16_t current = host_.Edit().Tile;
    if (host_.Tiles()->ItemIds[host_.Tiles()->ItemIndexOf[current]] == current)
      moveToIndex(host_.Tiles()->ItemIndexOf[current]);
  }
  updateMenus();
  grid_->viewport()->update();
}

void TObjForm::updateMenus() {
  const bool page = CurrentTab() > 0;
  const bool onCode = page && CurrentIndex() < tileCountOnTab();
  for (QAction* a : {mnFind_, mnFind1_}) a->setEnabled(!page);
  for (QAction* a : {mnFindNext_, mnFindNext1_}) a->setEnabled(!page && !pages_.FindText.empty());
  for (QAction* a : {mnDelete_, mnDelete1_}) a->setEnabled(onCode);
}

void TObjForm::PopMenuPopup() {
  updateMenus();
}
void TObjForm::Search1Click() {
  updateMenus();
}

void TObjForm::message(const QString& text) {
  if (quiet_)
    quietMessages_ << text;
  else
    host_.Prompts().Info(this, text);
}

void TObjForm::MnFindClick() {
  const LangMessages msg = host_.Msg();
  QString answer;
  if (!host_.Prompts().InputText(this, msg.MsgSearchCaption, msg.MsgSearchPrompt, &answer)) return;
  FindNextFrom(answer);
}

void TObjForm::FindNextFrom(const QString& text) {
  pages_.FindText = LowerSearchText(text.toLatin1().toStdString());
  updateMenus();  // F3 works from now on, not only after the menu was opened
  MnFindNextClick();
}

bool TObjForm::MnFindNextClick() {
  // The search runs over the "Main" list only.
  if (CurrentTab() != 0 || !host_.Tiles()) return false;
  const TUOTileData* tiles = host_.Tiles();
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const int found = FindNextName(pages_.FindText, CurrentIndex(), tiles->ItemCount,
                                 [tiles](int i) { return tiles->ItemName(tiles->ItemIds[i]); });
  QApplication::restoreOverrideCursor();
  if (found < 0) {
    message(host_.Msg().MsgNotFound);
    return false;
  }
  moveToIndex(found);
  return true;
}

void TObjForm::MnDelete1Click() {
  const int tab = CurrentTab();
  if (tab <= 0) return;
  if (!pages_.RemoveCode(tab - 1, CurrentIndex())) return;
  FormResize();
  updateMenus();
  grid_->viewport()->update();
}

void TObjForm::AddToPage(int page) {
  if (page < 0 || page >= int(pages_.Pages.size())) return;
  const uint16_t current = host_.Edit().Tile;
  const AddCodeResult r = pages_.AddCode(page, current);
  for (int i = 0; i < r.duplicates; ++i) message(host_.Msg().MsgAlreadyRegistered);
  if (CurrentTab() == page + 1) FormResize();
}

int TObjForm::AddPage(const QString& name) {
  const int k = pages_.AddPage(name.toStdString());
  tab_->addTab(name);
  for (QMenu* menu : {mnAdd_, mnAdd1_}) menu->addAction(name, this, [this, k] { AddToPage(k); });
  if (CurrentTab() > 0) {
    mnAdd_->setEnabled(true);
    mnAdd1_->setEnabled(true);
  }
  return k;
}

void TObjForm::MnPageAddClick() {
  const LangMessages msg = host_.Msg();
  QString answer;
  if (!host_.Prompts().InputText(this, msg.MsgNewPageCaption, msg.MsgNewPagePrompt, &answer))
    return;
  AddPage(answer);
}

void TObjForm::RenameShownPage(const QString& name) {
  const int tab = CurrentTab();
  if (tab <= 0) return;
  pages_.RenamePage(tab - 1, name.toStdString());
  tab_->setTabText(tab, name);
  for (QMenu* menu : {mnAdd_, mnAdd1_}) {
    const auto actions = menu->actions();
    if (tab - 1 < actions.size()) actions[tab - 1]->setText(name);
  }
}

void TObjForm::MnPageRenameClick() {
  if (CurrentTab() <= 0) return;
  const LangMessages msg = host_.Msg();
  QString answer;
  if (!host_.Prompts().InputText(this, msg.MsgRenameCaption, msg.MsgRenamePrompt, &answer)) return;
  RenameShownPage(answer);
}

void TObjForm::DeleteShownPage() {
  const int tab = CurrentTab();
  if (tab <= 0) return;
  pages_.DeletePage(tab - 1);
  // The entries after the deleted one now add to the page before their old
  // one: rebuilt so each entry's position is its page's position.
  rebuildAddMenus();
  QSignalBlocker block(tab_);
  tab_->removeTab(tab);
  tab_->setCurrentIndex(0);
  block.unblock();
  TabChange();
}

void TObjForm::MnPageDeleteClick() {
  if (CurrentTab() <= 0) return;
  if (!host_.Prompts().YesNo(this, host_.Msg().MsgDeletePage)) return;
  DeleteShownPage();
}

QString TObjForm::StatusText() const {
  return status_;
}

}  // namespace tavi
