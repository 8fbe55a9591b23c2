#include "app/control_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QStatusBar>
#include <QVBoxLayout>

#include "app/tool_art.h"
#include "client/tile_data.h"
#include "interaction/detail_list.h"
#include "interaction/tool_place.h"
#include "interaction/window_place.h"
#include "interaction/zoom_text.h"

namespace tavi {

namespace {

constexpr int kPreviewWidth = 44;
constexpr int kPreviewHeight = 145;

QPushButton* MakeButton(QWidget* parent, const char* name, const char* text) {
  auto* b = new QPushButton(QString::fromUtf8(text), parent);
  b->setObjectName(name);
  b->setAutoDefault(false);
  return b;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text) {
  auto* l = new QLabel(text, parent);
  l->setObjectName(name);
  return l;
}

// A vertical bar with its maximum at the top: its value is Max - Position,
// which is what a Qt slider's value already is.
QSlider* MakeBar(QWidget* parent, const char* name, int max, int value) {
  auto* s = new QSlider(Qt::Vertical, parent);
  s->setObjectName(name);
  s->setRange(0, max);
  s->setValue(value);
  s->setPageStep(1);
  s->setTickPosition(QSlider::TicksRight);
  s->setMinimumHeight(120);
  return s;
}

QString Pad2(int v) {
  return QString::asprintf("%2d", v);
}

}  // namespace

TCtrlForm::TCtrlForm(IControlHost& host, QWidget* parent)
    : QWidget(parent,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      host_(host) {
  setObjectName("CtrlForm");
  setWindowTitle("Control");
  build();
  ShowBarsAndModes();
}

TCtrlForm::~TCtrlForm() {
  detached_ = true;
}

void TCtrlForm::build() {
  auto* top = new QHBoxLayout(this);
  top->setSizeConstraint(QLayout::SetFixedSize);

  // Left column: the current tile.
  auto* left = new QVBoxLayout;
  idxImg_ = new QLabel(this);
  idxImg_->setObjectName("IdxImg");
  idxImg_->setFixedSize(kPreviewWidth, kPreviewHeight);
  idxImg_->setFrameShape(QFrame::Box);
  left->addWidget(idxImg_, 0, Qt::AlignHCenter);
  lblNumber_ = MakeLabel(this, "LblNumber", "No.");
  left->addWidget(lblNumber_);
  left->addWidget(MakeLabel(this, "LblNameTag", "Name:"));
  lblName_ = MakeLabel(this, "LblName", QString());
  lblName_->setMinimumWidth(130);
  left->addWidget(lblName_);
  lblHeight_ = MakeLabel(this, "LblHeight", "Height:");
  left->addWidget(lblHeight_);
  lblWeight_ = MakeLabel(this, "LblWeight", "Weight:");
  left->addWidget(lblWeight_);
  auto* addDel = new QHBoxLayout;
  auto* btnDelete = MakeButton(this, "BtnDelete", "Delete");
  auto* btnAdd = MakeButton(this, "BtnAdd", "Add");
  addDel->addWidget(btnDelete);
  addDel->addWidget(btnAdd);
  left->addLayout(addDel);
  left->addStretch(1);
  top->addLayout(left);

  // Middle: the three bars with their labels.
  auto* bars = new QGridLayout;
  tbFloor_ = MakeBar(this, "TBFloor", 4, 1);
  tbHeight_ = MakeBar(this, "TBHeight", 19, 0);
  tbBaseHeight_ = MakeBar(this, "TBBaseHeight", 9, 7);
  lblFloor_ = MakeLabel(this, "LblFloor", "1");
  lblAlt_ = MakeLabel(this, "LblAlt", " 0");
  lblBase_ = MakeLabel(this, "LblBase", " 7");
  bars->addWidget(MakeLabel(this, "LblFloorTag", "Floor"), 0, 0, Qt::AlignHCenter);
  bars->addWidget(MakeLabel(this, "LblAltTag", "Alt"), 0, 1, Qt::AlignHCenter);
  bars->addWidget(MakeLabel(this, "LblBaseTag", "Base"), 0, 2, Qt::AlignHCenter);
  bars->addWidget(tbFloor_, 1, 0, Qt::AlignHCenter);
  bars->addWidget(tbHeight_, 1, 1, Qt::AlignHCenter);
  bars->addWidget(tbBaseHeight_, 1, 2, Qt::AlignHCenter);
  bars->addWidget(lblFloor_, 2, 0, Qt::AlignHCenter);
  bars->addWidget(lblAlt_, 2, 1, Qt::AlignHCenter);
  bars->addWidget(lblBase_, 2, 2, Qt::AlignHCenter);
  top->addLayout(bars);

  // Right column: modes, windows, hidden cells, the stack, zoom, lock.
  auto* right = new QVBoxLayout;
  rgEditmode_ = new QGroupBox("Edit mode", this);
  rgEditmode_->setObjectName("RGEditmode");
  auto* modes = new QGridLayout(rgEditmode_);
  const char* modeNames[3] = {"Immediate", "Stack", "Inner"};
  for (int i = 0; i < 3; ++i) {
    modes_[i] = new QRadioButton(modeNames[i], rgEditmode_);
    modes_[i]->setObjectName(QString("RGEditmode_%1").arg(i));
    modes->addWidget(modes_[i], i / 2, i % 2);
    connect(modes_[i], &QRadioButton::toggled, this, [this, i](bool on) {
      if (!on) return;
      host_.Edit().Mode = i;
      host_.Redraw();
    });
  }
  right->addWidget(rgEditmode_);

  CBObjWindow = new QCheckBox("Object Window", this);
  CBObjWindow->setObjectName("CBObjWindow");
  CBAoSWindow = new QCheckBox("AoS Window", this);
  CBAoSWindow->setObjectName("CBAoSWindow");
  right->addWidget(CBObjWindow);
  right->addWidget(CBAoSWindow);

  auto* showHide = new QHBoxLayout;
  auto* btnShow = MakeButton(this, "BtnShow", "Show");
  auto* btnHide = MakeButton(this, "BtnHide", "Hide");
  auto* btnShowAll = MakeButton(this, "BtnShowAll", "Show All");
  showHide->addWidget(btnShow);
  showHide->addWidget(btnHide);
  showHide->addWidget(btnShowAll);
  right->addLayout(showHide);

  lbDetail_ = new QListWidget(this);
  lbDetail_->setObjectName("LBDetail");
  lbDetail_->setMinimumSize(220, 130);
  QFont mono("Monospace");
  mono.setStyleHint(QFont::TypeWriter);
  lbDetail_->setFont(mono);
  right->addWidget(lbDetail_);

  auto* cellButtons = new QHBoxLayout;
  btnCellUp_ = MakeButton(this, "BtnCellUp", "up");
  btnCellDown_ = MakeButton(this, "BtnCellDown", "down");
  btnCellDelete_ = MakeButton(this, "BtnCellDelete", "Delete");
  cellButtons->addWidget(btnCellUp_);
  cellButtons->addWidget(btnCellDown_);
  cellButtons->addWidget(btnCellDelete_);
  right->addLayout(cellButtons);
  setCellButtons(false);

  auto* zoomRow = new QHBoxLayout;
  zoomRow->addWidget(MakeLabel(this, "LblZoom", "Zoom"));
  cbMag_ = new QComboBox(this);
  cbMag_->setObjectName("CBMag");
  cbMag_->setEditable(true);
  cbMag_->setInsertPolicy(QComboBox::NoInsert);
  cbMag_->addItems({"200%", "175%", "150%", "125%", "100%", "75%", "50%", "25%"});
  cbMag_->setCurrentIndex(4);
  // What is typed stays as typed: no completion jumps to a list entry.
  cbMag_->setCompleter(nullptr);
  // Qt gives the focus events to the combo box, not to its line edit.
  cbMag_->installEventFilter(this);
  cbMag_->lineEdit()->installEventFilter(this);
  zoomRow->addWidget(cbMag_, 1);
  right->addLayout(zoomRow);

  cbPartsLock_ = new QCheckBox("Parts Lock", this);
  cbPartsLock_->setObjectName("CBPartsLock");
  connect(cbPartsLock_, &QCheckBox::toggled, this,
          [this](bool on) { host_.Edit().PartsLock = on; });
  right->addWidget(cbPartsLock_);
  right->addStretch(1);
  top->addLayout(right);

  connect(btnDelete, &QPushButton::clicked, this, &TCtrlForm::BtnDeleteClick);
  connect(btnAdd, &QPushButton::clicked, this, &TCtrlForm::BtnAddClick);
  connect(btnShow, &QPushButton::clicked, this, &TCtrlForm::BtnShowClick);
  connect(btnHide, &QPushButton::clicked, this, &TCtrlForm::BtnHideClick);
  connect(btnShowAll, &QPushButton::clicked, this, &TCtrlForm::BtnShowAllClick);
  connect(btnCellUp_, &QPushButton::clicked, this, &TCtrlForm::BtnCellUpClick);
  connect(btnCellDown_, &QPushButton::clicked, this, &TCtrlForm::BtnCellDownClick);
  connect(btnCellDelete_, &QPushButton::clicked, this, &TCtrlForm::BtnCellDeleteClick);
  connect(lbDetail_, &QListWidget::itemClicked, this, [this] { LBDetailClick(); });
  connect(tbFloor_, &QSlider::valueChanged, this, &TCtrlForm::TBFloorChange);
  connect(tbHeight_, &QSlider::valueChanged, this, &TCtrlForm::TBHeightChange);
  connect(tbBaseHeight_, &QSlider::valueChanged, this, &TCtrlForm::TBBaseHeightChange);
  connect(CBObjWindow, &QCheckBox::clicked, this, &TCtrlForm::CBObjWindowClick);
  connect(CBAoSWindow, &QCheckBox::clicked, this, &TCtrlForm::CBAoSWindowClick);
  // Picking a list entry applies at once; typed text waits for Enter or for
  // the box to lose the focus, whatever it holds on the way.
  connect(cbMag_, &QComboBox::textActivated, this, [this] { ApplyZoomText(); });
  connect(cbMag_, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (index >= 0) ApplyZoomText();
  });
  connect(cbMag_->lineEdit(), &QLineEdit::returnPressed, this, &TCtrlForm::ApplyZoomText);
}

bool TCtrlForm::eventFilter(QObject* watched, QEvent* event) {
  if (cbMag_ && (watched == cbMag_ || watched == cbMag_->lineEdit()) &&
      event->type() == QEvent::FocusOut) {
    // Opening the box's own list takes the focus only for a moment, and a
    // text that was not typed over (the zoom keys write theirs) stays as is.
    if (static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason &&
        cbMag_->lineEdit()->isModified())
      ApplyZoomText();
  }
  return QWidget::eventFilter(watched, event);
}

// ---- values ----

void TCtrlForm::SetFloor(int floor) {
  tbFloor_->setValue(floor);
}
void TCtrlForm::SetAlt(int alt) {
  tbHeight_->setValue(alt);
}
int TCtrlForm::BaseHeight() const {
  return tbBaseHeight_->value();
}
void TCtrlForm::SetBaseHeight(int base) {
  tbBaseHeight_->setValue(base);  // the bar keeps it to 0..9
  lblBase_->setText(Pad2(tbBaseHeight_->value()));
}
void TCtrlForm::SetEditMode(int mode) {
  if (mode >= 0 && mode < 3) modes_[mode]->setChecked(true);
}

void TCtrlForm::ShowEditState() {
  ShowBarsAndModes();
  ShowCurrentTile();
}

void TCtrlForm::ShowBarsAndModes() {
  const EditState& e = host_.Edit();
  {
    const QSignalBlocker blockFloor(tbFloor_), blockAlt(tbHeight_), blockLock(cbPartsLock_);
    tbFloor_->setValue(e.Floor);
    tbHeight_->setValue(e.Alt);
    cbPartsLock_->setChecked(e.PartsLock);
  }
  lblFloor_->setText(QString::number(tbFloor_->value()));
  lblAlt_->setText(Pad2(tbHeight_->value()));
  for (int i = 0; i < 3; ++i) {
    const QSignalBlocker block(modes_[i]);
    modes_[i]->setAutoExclusive(false);
    modes_[i]->setChecked(i == e.Mode);
    modes_[i]->setAutoExclusive(true);
  }
}

void TCtrlForm::SetObjWindowChecked(bool on) {
  CBObjWindow->setChecked(on);
}
void TCtrlForm::SetAoSWindowChecked(bool on) {
  CBAoSWindow->setChecked(on);
}

void TCtrlForm::HideForDialog() {
  wasVisibleBeforeDialog_ = isVisible();
  floorBeforeDialog_ = CurrentFloor();
  keepDialogFloor_ = false;
  SetFloor(4);  // a cached house is best seen with every floor drawn
  hide();
}

void TCtrlForm::RestoreAfterDialog() {
  // Closed without an import: edits go to the floor they went to before.
  if (!keepDialogFloor_) SetFloor(floorBeforeDialog_);
  keepDialogFloor_ = false;
  if (wasVisibleBeforeDialog_) show();
}

void TCtrlForm::TBFloorChange() {
  host_.Edit().Floor = tbFloor_->value();
  lblFloor_->setText(QString::number(CurrentFloor()));
  RefreshCellList();
}

void TCtrlForm::TBHeightChange() {
  host_.Edit().Alt = tbHeight_->value();
  lblAlt_->setText(Pad2(tbHeight_->value()));
  RefreshCellList();
}

void TCtrlForm::TBBaseHeightChange() {
  lblBase_->setText(Pad2(tbBaseHeight_->value()));
  // The house holds its base height; the bar shows it and writes the user's changes.
  if (TTAVIDoc* doc = host_.Doc()) doc->SetBaseHeight(tbBaseHeight_->value());
  RefreshCellList();
}

// ---- the current tile ----

void TCtrlForm::ShowCurrentTile() {
  const TUOTileData* tiles = host_.Tiles();
  TBitmap24 bmp(kPreviewWidth, kPreviewHeight, 0xFF);
  if (tiles) tiles->DrawArt(bmp, uint32_t(CurrentTile()) + kItemArtBase, 0, 0);
  QImage img(bmp.Bits.data(), bmp.Width, bmp.Height, bmp.Width * 3, QImage::Format_BGR888);
  idxImg_->setPixmap(QPixmap::fromImage(img.copy()));
  const uint16_t tile = CurrentTile();
  lblNumber_->setText(QString::asprintf("No.%d (%X)", tile, tile));
  if (tiles) {
    lblName_->setText(ItemNameText(tiles, tile));
    lblHeight_->setText(QString::asprintf("Height:%d", tiles->ItemData[tile].Height));
    lblWeight_->setText(QString::asprintf("Weight:%d", tiles->ItemData[tile].Weight));
  }
}

// ---- the detail list ----

void TCtrlForm::setCellButtons(bool on) {
  btnCellUp_->setEnabled(on);
  btnCellDown_->setEnabled(on);
  btnCellDelete_->setEnabled(on);
}

void TCtrlForm::ClearCellList() {
  lbDetail_->clear();
  setCellButtons(false);
}

void TCtrlForm::RefreshCellList() {
  const int selected = lbDetail_->currentRow();
  lbDetail_->clear();
  if (const TTAVIDoc* doc = host_.Doc())
    for (const std::string& line :
         DetailLines(*doc, host_.Tiles(), CurrentFloor(), host_.DetailX(), host_.DetailY()))
      lbDetail_->addItem(ClientText(line));
  if (selected >= 0 && selected < lbDetail_->count()) {
    lbDetail_->setCurrentRow(selected);
    setCellButtons(true);
  } else {
    setCellButtons(false);
  }
  host_.Redraw();
}

// The buttons act only when the list shows the stack without gaps, so that
// a line maps to a layer.
bool TCtrlForm::ListComplete() const {
  const TTAVIDoc* doc = host_.Doc();
  return doc && DetailListComplete(*doc, CurrentFloor(), host_.DetailX(), host_.DetailY(),
                                   lbDetail_->count());
}

int TCtrlForm::SelectedLayer() const {
  return LayerOfDetailLine(lbDetail_->count(), lbDetail_->currentRow());
}

void TCtrlForm::BtnCellUpClick() {
  if (host_.DetailX() < 0 || !ListComplete() || SelectedLayer() < 0) return;
  const int pos =
      host_.Doc()->RaiseEntry(host_.DetailX(), host_.DetailY(), CurrentFloor(), SelectedLayer());
  if (pos < 0) return;
  RefreshCellList();
  if (pos < lbDetail_->count()) lbDetail_->setCurrentRow(pos);
}

void TCtrlForm::BtnCellDownClick() {
  if (host_.DetailX() < 0 || !ListComplete() || SelectedLayer() < 0) return;
  const int pos =
      host_.Doc()->LowerEntry(host_.DetailX(), host_.DetailY(), CurrentFloor(), SelectedLayer());
  if (pos < 0) return;
  RefreshCellList();
  if (pos < lbDetail_->count()) lbDetail_->setCurrentRow(pos);
}

void TCtrlForm::BtnCellDeleteClick() {
  if (host_.DetailX() < 0 || !ListComplete() || SelectedLayer() < 0) return;
  host_.Doc()->RemoveEntry(host_.DetailX(), host_.DetailY(), CurrentFloor(), SelectedLayer());
  RefreshCellList();
}

void TCtrlForm::LBDetailClick() {
  if (lbDetail_->currentRow() < 0) return;
  setCellButtons(true);
  if (!ListComplete()) return;
  const int layer = SelectedLayer();
  const TileEntry& e = host_.Doc()->Tiles[CurrentFloor()][layer][host_.DetailY()][host_.DetailX()];
  SetCurrentTile(e.Id);
  ShowCurrentTile();
}

// ---- the selection ----

void TCtrlForm::BtnDeleteClick() {
  TTAVIDoc* doc = host_.Doc();
  if (doc && DeleteOnSelection(*doc, host_.Edit(), host_.Selection())) RefreshCellList();
}

void TCtrlForm::BtnAddClick() {
  TTAVIDoc* doc = host_.Doc();
  if (doc && AddOnSelection(*doc, host_.Edit(), host_.Selection())) RefreshCellList();
}

void TCtrlForm::SetHiddenInSelection(bool hidden) {
  const CellRect sel = host_.Selection();
  if (sel.Top == -1 || sel.Left == -1) return;
  for (int y = sel.Top; y <= sel.Bottom; ++y)
    for (int x = sel.Left; x <= sel.Right; ++x) host_.SetHiddenCell(x, y, hidden);
  RefreshCellList();
}

void TCtrlForm::BtnShowClick() {
  SetHiddenInSelection(false);
}

void TCtrlForm::BtnHideClick() {
  SetHiddenInSelection(true);
}

void TCtrlForm::BtnShowAllClick() {
  const TTAVIDoc* doc = host_.Doc();
  if (doc)
    for (int y = 0; y < doc->Height; ++y)
      for (int x = 0; x < doc->Width; ++x) host_.SetHiddenCell(x, y, false);
  RefreshCellList();
}

// ---- tool windows ----

void TCtrlForm::CBObjWindowClick() {
  if (QWidget* w = host_.CatalogueWindow()) ShowToolWindow(w, CBObjWindow->isChecked());
}

void TCtrlForm::CBAoSWindowClick() {
  if (QWidget* w = host_.AosWindow()) ShowToolWindow(w, CBAoSWindow->isChecked());
}

void TCtrlForm::ShowToolWindow(QWidget* w, bool show) {
  if (show && !w->property("taviPlaced").toBool()) {
    w->setProperty("taviPlaced", true);
    PlaceToolWindow(w);
  }
  w->setVisible(show);
}

namespace {

ScreenRect ToScreen(const QRect& r) {
  return ScreenRect{r.left(), r.top(), r.width(), r.height()};
}

// A bar less the width of a window border on each side: docked windows
// borders may touch its edges.
ScreenRect Deflated(const ScreenRect& r, int by) {
  return ScreenRect{r.Left + by, r.Top + by, r.Width - 2 * by, r.Height - 2 * by};
}

ScreenRect OnScreen(const QWidget* w) {
  return ToScreen(QRect(w->mapToGlobal(QPoint(0, 0)), w->size()));
}

}  // namespace

void TCtrlForm::PlaceToolWindow(QWidget* w) {
  const QScreen* screen = this->screen();
  if (!screen) return;
  // A window not shown yet has no frame: take this window's borders.
  const QRect frame = frameGeometry(), client = geometry();
  const int left = client.left() - frame.left(), top = client.top() - frame.top();
  const int extraW = frame.width() - client.width(), extraH = frame.height() - client.height();
  if (QLayout* l = w->layout()) l->activate();
  const QSize min = w->minimumSizeHint().expandedTo(w->minimumSize());

  ToolPlaceInput in;
  in.area = ToScreen(screen->availableGeometry());
  in.control = ToScreen(frame);
  in.prefW = w->width() + extraW;
  in.prefH = w->height() + extraH;
  in.minW = std::min(min.width(), w->width()) + extraW;
  in.minH = std::min(min.height(), w->height()) + extraH;
  in.keepClear.push_back(in.control);
  // The other tool window, when it is open: its list may be covered, not
  // what lies above it.
  ScreenRect firstFrame;
  for (QWidget* other : {host_.CatalogueWindow(), host_.AosWindow()}) {
    if (!other || other == w || !other->isVisible()) continue;
    firstFrame = ToScreen(other->frameGeometry());
    in.first = &firstFrame;
    const QWidget* list = other->findChild<QWidget*>("DGObj");
    in.firstListTop = list ? OnScreen(list).Top - firstFrame.Top : firstFrame.Height;
    in.keepClear.push_back(
        ScreenRect{firstFrame.Left, firstFrame.Top, firstFrame.Width, in.firstListTop});
  }
  // The main window: its drawing surface may be covered, its bars not.
  ScreenRect surface;
  if (const QWidget* main = parentWidget()) {
    if (const QWidget* view = main->findChild<QWidget*>("PBMain"); view && view->isVisible()) {
      surface = OnScreen(view);
      in.surface = &surface;
    }
    for (const QWidget* bar : main->findChildren<QWidget*>())
      if (bar->isVisible() && bar->window() == main &&
          (qobject_cast<const QMenuBar*>(bar) || qobject_cast<const QStatusBar*>(bar) ||
           qobject_cast<const QScrollBar*>(bar)))
        in.keepClear.push_back(Deflated(OnScreen(bar), left + 1));
  }
  const ScreenRect at = tavi::PlaceToolWindow(in);
  w->setGeometry(at.Left + left, at.Top + top, at.Width - extraW, at.Height - extraH);
}

// ---- zoom ----

bool TCtrlForm::ParseZoomText(const QString& text, int* percent) {
  return tavi::ParseZoomText(text.toStdString(), percent);
}

void TCtrlForm::ApplyZoomText() {
  cbMag_->lineEdit()->setModified(false);
  int percent = 100;
  if (!ParseZoomText(cbMag_->currentText(), &percent)) percent = 100;
  // The box shows what it took the way its list does ("150%").
  SetZoomText(QString::fromStdString(tavi::ZoomText(percent / 100.0)));
  host_.SetZoom(percent / 100.0);
}

void TCtrlForm::SetZoomText(const QString& text) {
  const QSignalBlocker block(cbMag_);
  cbMag_->setEditText(text);
}

QString TCtrlForm::ZoomText() const {
  return cbMag_->currentText();
}

}  // namespace tavi
