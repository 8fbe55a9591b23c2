#include "app/aos_window.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QShowEvent>
#include <QStatusBar>
#include <QVBoxLayout>

#include "app/picture_grid.h"
#include "app/tool_art.h"
#include "document/aos_tables.h"
#include "document/game_limits.h"
#include "document/house_document.h"
#include "settings/settings.h"

namespace tavi {

TAoSForm::TAoSForm(IAosHost& host, QWidget* parent) : QWidget(parent, Qt::Tool), host_(host) {
  setObjectName("AoSForm");
  setWindowTitle("Age of Shadows Objects");
  if (host_.Settings().isStayOnTop) setWindowFlag(Qt::WindowStaysOnTopHint, true);
  build();
  CBTypeChange();
}

TAoSForm::~TAoSForm() = default;

void TAoSForm::build() {
  auto* top = new QHBoxLayout;
  auto* lblType = new QLabel("Type", this);
  lblType->setObjectName("LblType");
  cbType_ = new QComboBox(this);
  cbType_->setObjectName("CBType");
  cbType_->addItems(
      {"Walls", "Doors", "Floors", "Stairs", "Stairs(Auto Stack)", "Roofs", "Enchancements"});
  cbType_->setCurrentIndex(kAosWalls);
  connect(cbType_, QOverload<int>::of(&QComboBox::activated), this,
          [this](int) { CBTypeChange(); });
  // However the type changes (the catalogue moves it without the type change).
  connect(cbType_, &QComboBox::currentIndexChanged, this, [this] { WriteStairs(); });
  top->addWidget(lblType);
  top->addWidget(cbType_, 1);

  auto* price = new QHBoxLayout;
  auto* lblPriceName = new QLabel("Price:", this);
  lblPriceName->setObjectName("LblPriceName");
  lblPrice_ = new QLabel(this);
  lblPrice_->setObjectName("LblPrice");
  lblDelta_ = new QLabel(this);
  lblDelta_->setObjectName("LblDelta");
  const QFont mono("Monospace");
  lblPrice_->setFont(mono);
  lblDelta_->setFont(mono);
  btnSetValue_ = new QPushButton("->", this);
  btnSetValue_->setObjectName("BtnSetValue");
  btnSetValue_->setFixedWidth(32);
  connect(btnSetValue_, &QPushButton::clicked, this, [this] { TakeReferencePrice(); });
  edOldPrice_ = new QLineEdit("0", this);
  edOldPrice_->setObjectName("EdOldPrice");
  edOldPrice_->setMaxLength(24);
  edOldPrice_->setAlignment(Qt::AlignRight);
  connect(edOldPrice_, &QLineEdit::editingFinished, this, [this] { EdOldPriceExit(); });
  auto* gp = new QLabel("gp", this);
  gp->setObjectName("Label2");
  price->addWidget(lblPriceName);
  price->addWidget(lblPrice_);
  price->addWidget(lblDelta_);
  price->addWidget(btnSetValue_);
  price->addWidget(edOldPrice_, 1);
  price->addWidget(gp);

  grid_ = new PictureGrid(this);
  grid_->setObjectName("DGObj");
  grid_->SetCellSize(kCellWidth, kCellHeight);
  grid_->SetColCount(kColumns);
  grid_->drawCell = [this](QPainter& p, const QRect& r, int c, int row, bool selected) {
    const uint16_t id = ObjectTableAt(TypeIndex(), c, row);
    if (id == 0) return;
    const QColor fill = selected ? palette().color(QPalette::Highlight) : QColor(Qt::white);
    p.drawImage(r.topLeft(), ItemPicture(host_.Tiles(), id, kCellWidth, kCellHeight, fill));
  };
  grid_->selectCell = [this](int c, int r) { return DGObjSelectCell(c, r); };
  connect(grid_, &PictureGrid::selectionMoved, this, &TAoSForm::WriteStairs);
  grid_->setMinimumWidth(kColumns * kCellWidth + 24);

  statusBar_ = new QStatusBar(this);
  statusBar_->setObjectName("StatusBar1");
  statusBar_->setSizeGripEnabled(false);

  auto* lay = new QVBoxLayout(this);
  lay->setContentsMargins(4, 4, 4, 0);
  lay->addLayout(top);
  lay->addLayout(price);
  // The limits of the game the design breaks, under the price; hidden while
  // there are none.
  lblLimits_ = new QLabel(this);
  lblLimits_->setObjectName("LblGameLimits");
  lblLimits_->setStyleSheet("color: #c00000");
  lblLimits_->setWordWrap(true);
  lblLimits_->hide();
  lay->addWidget(lblLimits_);
  lay->addWidget(grid_, 1);
  lay->addWidget(statusBar_);
  resize(kColumns * kCellWidth + 32, 520);
}

void TAoSForm::CBTypeChange() {
  grid_->SetRowCount(AosTableRows(TypeIndex()));
  grid_->SelectCell(0, 0, false);
  grid_->ScrollToRow(0);
  grid_->viewport()->update();
  WriteStairs();
}

void TAoSForm::WriteStairs() {
  EditState& e = host_.Edit();
  e.AutoStairs = isVisible() && TypeIndex() == kAosAutoStairs;
  e.StairsDirection = grid_->Col();
  e.StairsRow = grid_->Row();
}

bool TAoSForm::DGObjSelectCell(int col, int row) {
  const uint16_t id = ObjectTableAt(TypeIndex(), col, row);
  if (id != 0) {
    host_.SetCurrentTile(id);
    statusBar_->showMessage(TileStatusText(host_.Tiles(), id));
  }
  return true;  // an empty cell can be selected; it changes nothing
}

void TAoSForm::SelectGridCell(int col, int row) {
  grid_->SelectCell(col, row);
}

int TAoSForm::TypeIndex() const {
  return cbType_->currentIndex();
}

void TAoSForm::SetTypeIndexSilently(int index) {
  cbType_->setCurrentIndex(index);
}

void TAoSForm::SetTypeIndex(int index) {
  cbType_->setCurrentIndex(index);
  CBTypeChange();
}

int TAoSForm::SelectedCol() const {
  return grid_->Col();
}
int TAoSForm::SelectedRow() const {
  return grid_->Row();
}
QString TAoSForm::StatusText() const {
  return statusBar_->currentMessage();
}

void TAoSForm::SetTypeNames(const QStringList& names) {
  const int index = cbType_->currentIndex();
  cbType_->clear();
  cbType_->addItems(names);
  cbType_->setCurrentIndex(index);
}

void TAoSForm::SetPriceLabels(int64_t price, const QString& lblPrice, const QString& lblDelta) {
  price_ = price;
  lblPrice_->setText(lblPrice);
  lblDelta_->setText(lblDelta);
  QStringList faults;
  if (host_.Doc())
    for (const std::string& f : GameLimitFaults(*host_.Doc())) faults << QString::fromStdString(f);
  lblLimits_->setText(faults.join("\n"));
  lblLimits_->setVisible(!faults.isEmpty());
}

void TAoSForm::TakeReferencePrice() {
  reference_ = price_;
  edOldPrice_->setText(QString::number(reference_));
  if (host_.Doc()) host_.Doc()->Recalculate();
}

void TAoSForm::EdOldPriceExit() {
  // A decimal integer of 32 bits; anything else counts as 0.
  bool ok = false;
  const int value = edOldPrice_->text().trimmed().toInt(&ok, 10);
  reference_ = ok ? value : 0;
  edOldPrice_->setText(QString::number(reference_));
  if (host_.Doc()) host_.Doc()->Recalculate();
}

// Qt marks the window shown or hidden before it sends these events.
void TAoSForm::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  WriteStairs();
}

void TAoSForm::hideEvent(QHideEvent* e) {
  QWidget::hideEvent(e);
  WriteStairs();
  if (!e->spontaneous()) host_.AosHidden();
}

}  // namespace tavi
