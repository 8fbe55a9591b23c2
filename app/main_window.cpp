#include "app/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QCursor>
#include <QDate>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>
#include <cstdlib>
#include <random>

#include "app/cache_import_dialog.h"
#include "app/app_host.h"
#include "app/main_mouse.h"
#include "app/main_surface.h"
#include "app/catalogue_window.h"
#include "app/aos_window.h"
#include "app/control_window.h"
#include "app/foundation_dialog.h"
#include "app/config_dialog.h"
#include "app/update_check.h"
#include "app/ui_prompts.h"
#include "client/discovery.h"
#include "client/paths.h"
#include "client/tile_data.h"
#include "io/clip_text.h"
#include "io/house_file.h"
#include "io/multi_import.h"
#include "io/multi_menu.h"
#include "render/gl/house_view.h"
#include "render/image_export.h"
#include "render/projection.h"
#include "render/view_state.h"

namespace tavi {

namespace {

constexpr int kRedrawIntervalMs = 55;
constexpr int kAutoStairsType = 4;
const char kAppTitle[] = "Tavi Editor";
const char kHouseFilter[] = "Tavi File(*.tav/*.txt) (*.tav *.txt);;All Files (*)";
const char kImageFilter[] = "Windows Bitmap(*.bmp) (*.bmp);;JPEG(*.jpg) (*.jpg);;All Files (*)";

std::string InFolder(const QString& dir, const char* name) {
  const std::string found = FindCaseInsensitive(QDir(dir).absolutePath().toStdString(), name);
  return found.empty() ? (QDir(dir).absolutePath() + "/" + name).toStdString() : found;
}

uint32_t RandomSeed() {
  return std::random_device{}();
}

}  // namespace

// What the mouse rules read from the windows and ask of them.
class MainMouseEnv : public IMouseEnv {
 public:
  explicit MainMouseEnv(TMainForm* m) : m_(m) {}
  int CurrentFloor() const override { return m_->CtrlForm() ? m_->CtrlForm()->CurrentFloor() : 1; }
  int Alt() const override { return m_->CtrlForm() ? m_->CtrlForm()->Alt() : 0; }
  int EditMode() const override { return m_->CtrlForm() ? m_->CtrlForm()->EditMode() : 0; }
  uint16_t CurrentTile() const override {
    return m_->CtrlForm() ? m_->CtrlForm()->CurrentTile() : 0;
  }
  bool AutoStairs() const override {
    TAoSForm* aos = m_->AoSForm();
    return aos && aos->isVisible() && aos->TypeIndex() == kAutoStairsType;
  }
  int StairsDirection() const override { return m_->AoSForm() ? m_->AoSForm()->SelectedCol() : 0; }
  int StairsRow() const override {
    const int row = m_->AoSForm() ? m_->AoSForm()->SelectedRow() : 0;
    return row < 0 ? 0 : (row > 9 ? 9 : row);
  }
  bool CellAtPoint(int px, int py, int* x, int* y) const override;
  int PickTile(int px, int py) const override;
  void Redraw() override { m_->Redraw(); }
  void RefreshDetailList() override { m_->RefreshCellList(); }
  void SetTimerEnabled(bool on) override;
  void ControlDelete() override {
    if (m_->CtrlForm()) m_->CtrlForm()->BtnDeleteClick();
  }
  void ControlAdd() override {
    if (m_->CtrlForm()) m_->CtrlForm()->BtnAddClick();
  }

 private:
  TMainForm* m_;
};

struct TMainForm::Impl {
  StartOptions options;
  std::shared_ptr<UiPrompts> prompts;
  TSettings settings;
  QString settingsPath;
  bool startupFailed = false;
  bool demoInUse = false;
  TSettings pathsBeforeDemo;
  TSettings demoPaths;  // the demo client's paths, as used in this run
  std::unique_ptr<AppDocHost> host;
  QtTextClipboard clipboard;
  std::unique_ptr<TTAVIDoc> doc;
  std::unique_ptr<TUOTileData> tiles;
  TBackgroundMap background{};
  TProjection projection;
  int anchorsBase = -1;
  std::array<std::array<bool, kGrid>, kGrid> hidden{};
  QString fileName;
  LangMessages messages = MessagesFor(kLangEnglish);

  std::unique_ptr<MainMouseEnv> mouseEnv;
  std::unique_ptr<MainMouse> mouse;
  QTimer* redrawTimer = nullptr;
  THouseView* view = nullptr;
  MainSurface* surface = nullptr;
  QLabel* statusLabel = nullptr;
  QLabel* cellLabel = nullptr;  // the cell under the pointer

  TCfgForm* cfg = nullptr;
  TObjForm* obj = nullptr;
  TAoSForm* aos = nullptr;
  TCtrlForm* ctrl = nullptr;
  TMultiForm* multi = nullptr;
  TUpdateForm* update = nullptr;
  TFoundationForm* foundation = nullptr;

  QMenu* editMenu = nullptr;
  QMenu* viewMenu = nullptr;
  QAction* a(TMainForm* m, const char* name) const {
    return m->findChild<QAction*>(QString::fromLatin1(name));
  }
};

bool MainMouseEnv::CellAtPoint(int px, int py, int* x, int* y) const {
  return m_->d->projection.CellAtPoint(px, py, CurrentFloor(), x, y);
}

int MainMouseEnv::PickTile(int px, int py) const {
  if (!m_->d->view) return -1;
  bool overflow = false;
  const int name = m_->d->view->PickAt(px, py, &overflow);
  return overflow ? -1 : name;
}

void MainMouseEnv::SetTimerEnabled(bool on) {
  QTimer* t = m_->d->redrawTimer;
  if (!t) return;
  if (on && !t->isActive()) t->start();
  if (!on) t->stop();
}

// ---- creation ----

TMainForm::TMainForm(const StartOptions& options, QWidget* parent)
    : QMainWindow(parent), d(std::make_unique<Impl>()) {
  d->options = options;
  d->prompts = options.prompts ? options.prompts : std::make_shared<UiPrompts>();
  setObjectName("MainForm");
  setWindowTitle(kAppTitle);
  setAcceptDrops(true);
  FormCreate();
  if (d->startupFailed) return;
  CreateWindows();
  ApplyLanguageToAll();
  // The rest of the start-up runs once the event loop is idle.
  QTimer::singleShot(0, this, [this] { FirstIdle(); });
}

TMainForm::~TMainForm() {
  // Windows closed during shutdown must not touch the control window.
  if (d->ctrl) d->ctrl->DetachToolWindows();
  if (d->redrawTimer) d->redrawTimer->stop();
  if (d->obj) d->obj->SavePages();
  TSettings out = d->settings;
  if (d->doc) {
    out.Width = d->doc->Width;
    out.Height = d->doc->Height;
  }
  if (d->demoInUse && out.ArtIdx == d->demoPaths.ArtIdx && out.Art == d->demoPaths.Art &&
      out.TileData == d->demoPaths.TileData && out.MultiIdx == d->demoPaths.MultiIdx &&
      out.Multi == d->demoPaths.Multi) {
    // The demo client is for this run only; the stored paths stay as they were.
    out.ArtIdx = d->pathsBeforeDemo.ArtIdx;
    out.Art = d->pathsBeforeDemo.Art;
    out.TileData = d->pathsBeforeDemo.TileData;
    out.MultiIdx = d->pathsBeforeDemo.MultiIdx;
    out.Multi = d->pathsBeforeDemo.Multi;
  }
  std::string error;
  if (!SaveSettings(d->settingsPath.toStdString(), out, &error)) qWarning("%s", error.c_str());
  // The windows go before the document and the tile data they read; the
  // control window is out of reach first so that no hide notification finds it.
  TCtrlForm* ctrl = d->ctrl;
  d->ctrl = nullptr;
  delete d->foundation;
  d->foundation = nullptr;
  delete d->update;
  d->update = nullptr;
  delete d->multi;
  d->multi = nullptr;
  delete ctrl;
  delete d->aos;
  d->aos = nullptr;
  delete d->obj;
  d->obj = nullptr;
  delete d->cfg;
  d->cfg = nullptr;
  if (d->view) {
    // The view frees its GL resources itself; its context must not call back
    // into the half-destroyed view while the context goes.
    if (QOpenGLContext* context = d->view->context())
      QObject::disconnect(context, nullptr, d->view, nullptr);
    delete d->view;
    d->view = nullptr;
  }
}

void TMainForm::FormCreate() {
  // Settings, document, background, discovery.
  QString folder = d->options.settingsFolder;
  if (folder.isEmpty())
    folder = QString::fromStdString(
        SettingsFolder(QCoreApplication::applicationDirPath().toStdString()));
  QDir().mkpath(folder);
  d->settingsPath = QDir(folder).filePath("tavi.ini");
  d->settings = LoadSettings(d->settingsPath.toStdString());
  d->settings.Zoom = 1.0;
  const TSettings stored = d->settings;
  d->host = std::make_unique<AppDocHost>(this);
  d->doc =
      std::make_unique<TTAVIDoc>(d->settings.Width, d->settings.Height, nullptr, d->host.get());
  FillBackgroundMap(d->background, d->settings.BGType, RandomSeed());
  DiscoverClientHere(d->settings);

  if (!ClientFilesPresent(d->settings) && !d->options.demoClientDir.isEmpty()) {
    TSettings demo = d->settings;
    const QString dir = d->options.demoClientDir;
    demo.ArtIdx = InFolder(dir, "artidx.mul");
    demo.Art = InFolder(dir, "art.mul");
    demo.TileData = InFolder(dir, "tiledata.mul");
    demo.MultiIdx = InFolder(dir, "multi.idx");
    demo.Multi = InFolder(dir, "multi.mul");
    if (ClientFilesPresent(demo)) {
      d->pathsBeforeDemo = stored;
      demo.ClientDir = QDir(dir).absolutePath().toStdString() + "/";
      d->settings = demo;
      d->demoPaths = demo;
      d->demoInUse = true;
    }
  }

  QString loadError;
  if (ClientFilesPresent(d->settings)) {
    try {
      d->tiles = TUOTileData::Create(d->settings.ArtIdx, d->settings.TileData, d->settings.Art);
    } catch (const std::exception& e) {
      loadError = QString::fromStdString(e.what());
    }
  }
  if (!d->tiles) {
    // Without the client's files nothing can be drawn: say so, let the user
    // set the paths for the next start, and end.
    d->startupFailed = true;
    d->cfg = new TCfgForm(&d->settings, d->doc.get(), this);
    d->cfg->Discover = DiscoverClientHere;
    QString text = QString::fromUtf8(
        "必要なファイルが見つかりません。\r\nファイルを設定して再起動してください。");
    if (!loadError.isEmpty()) text += "\r\n\r\n" + loadError;
    d->prompts->Info(this, text);
    Option1Click();
    return;
  }
  d->doc->SetFacts(d->tiles.get());

  d->mouseEnv = std::make_unique<MainMouseEnv>(this);
  d->mouse = std::make_unique<MainMouse>(*d->doc, *d->mouseEnv);
  d->redrawTimer = new QTimer(this);
  d->redrawTimer->setInterval(kRedrawIntervalMs);
  connect(d->redrawTimer, &QTimer::timeout, this, &TMainForm::RedrawTimerTimer);

  d->view = new THouseView;
  d->view->setObjectName("PBMain");
  d->view->setMouseTracking(true);
  d->view->setFocusPolicy(Qt::StrongFocus);
  d->view->SetDocument(d->doc.get());
  d->view->SetTileData(d->tiles.get());
  d->view->installEventFilter(this);
  d->surface = new MainSurface(d->view, this);
  d->surface->onScroll = [this] { Redraw(); };
  d->surface->onZoomStep = [this](bool in) { ZoomStep(in); };
  setCentralWidget(d->surface);
  CreateMenus();
  d->statusLabel = new QLabel(this);
  statusBar()->addWidget(d->statusLabel, 1);
  d->cellLabel = new QLabel(this);
  d->cellLabel->setObjectName("LblCell");
  statusBar()->addPermanentWidget(d->cellLabel);
  if (d->demoInUse)
    d->statusLabel->setText(
        tr("Demo client in use: %1").arg(QString::fromStdString(d->settings.ClientDir)));
  d->projection.RebuildAnchors(d->doc->Width, d->doc->Height, 7);
  UpdatePaintBoxSize();
  resize(900, 760);
}

void TMainForm::CreateWindows() {
  // In this order; each may read what the ones before it set up.
  d->cfg = new TCfgForm(this);
  d->cfg->Discover = DiscoverClientHere;
  // Owned by the main window, so that they float above it.
  d->obj = new TObjForm(this, this);
  d->aos = new TAoSForm(this, this);
  d->ctrl = new TCtrlForm(this);
  d->multi = new TMultiForm(this, this);
  d->update = new TUpdateForm(this, this);
  d->foundation = new TFoundationForm(this, this);
}

void TMainForm::CreateMenus() {
  QMenuBar* bar = menuBar();
  auto menu = [&](QMenuBar* b, QMenu* parentMenu, const char* name, const char* title) {
    QMenu* m = new QMenu(QString::fromUtf8(title), this);
    m->setObjectName(name);
    if (b) b->addMenu(m);
    if (parentMenu) parentMenu->addMenu(m);
    return m;
  };
  auto item = [&](QMenu* m, const char* name, const char* text, QKeySequence key,
                  void (TMainForm::*handler)()) {
    QAction* a = new QAction(QString::fromUtf8(text), this);
    a->setObjectName(name);
    if (!key.isEmpty()) a->setShortcut(key);
    m->addAction(a);
    if (handler) connect(a, &QAction::triggered, this, handler);
    return a;
  };
  auto check = [&](QAction* a, bool on) {
    a->setCheckable(true);
    a->setChecked(on);
    return a;
  };

  QMenu* file = menu(bar, nullptr, "File1", "&File");
  item(file, "MnNewFile", "&NewFile", QKeySequence("Ctrl+N"), &TMainForm::MnNewFileClick);
  item(file, "Open1", "&Open...", {}, &TMainForm::Open1Click);
  item(file, "Close1", "&Save", QKeySequence("Ctrl+S"), &TMainForm::Close1Click);
  item(file, "SaveAs1", "Save &As...", {}, &TMainForm::SaveAs1Click);
  file->addSeparator();
  item(file, "MnImportClip", "Load from &Clip", {}, &TMainForm::MnImportClipClick);
  item(file, "MnExportClip", "Save to Clip", {}, &TMainForm::MnExportClipClick);
  file->addSeparator();
  QMenu* imports = menu(nullptr, file, kImportMultiMenuName, kImportMultiMenuCaption);
  QMenu* small = menu(nullptr, imports, kSmallHouseMenuName, kSmallHouseMenuCaption);
  for (const MultiMenuItem& m : kImportMultiMenu) {
    QAction* a = item(m.smallHouse ? small : imports, m.name, m.caption, {}, nullptr);
    a->setData(m.tag);
    const int tag = m.tag;
    connect(a, &QAction::triggered, this, [this, tag] { MnImportClick(tag); });
  }
  QAction* cache = item(file, "MnImportCache", "Import Cache...", {}, nullptr);
  connect(cache, &QAction::triggered, this, [this] {
    if (d->multi) d->multi->ShowDialog();
  });
  file->addSeparator();
  item(file, "ImageSaveas1", "&Image Save as...", {}, &TMainForm::ImageSaveas1Click);
  file->addSeparator();
  item(file, "Exit1", "&Exit", {}, &TMainForm::Exit1Click);

  QMenu* edit = menu(bar, nullptr, "Edit1", "&Edit");
  d->editMenu = edit;
  item(edit, "MnUndo", "&Undo", QKeySequence("Ctrl+Z"), &TMainForm::MnUndoClick);
  item(edit, "MnRedo", "&Redo", QKeySequence("Ctrl+Y"), &TMainForm::MnRedoClick);
  edit->addSeparator();
  item(edit, "MnCut", "Cu&t", QKeySequence("Ctrl+X"), &TMainForm::MnCutClick);
  item(edit, "MnCopy", "&Copy", QKeySequence("Ctrl+C"), &TMainForm::MnCopyClick);
  item(edit, "MnPaste", "&Paste", QKeySequence("Ctrl+V"), &TMainForm::MnPasteClick);
  item(edit, "MnDelete", "&Delete", QKeySequence(Qt::Key_Delete), &TMainForm::MnDeleteClick);
  edit->addSeparator();
  item(edit, "CopyBMP1", "Copy &Image", {}, &TMainForm::CopyBMP1Click);
  edit->addSeparator();
  item(edit, "MnReplaceWall", "Replace &Walls", {}, &TMainForm::MnReplaceWallClick);
  item(edit, "MnFoundation", "AoS Foundation Style", {}, &TMainForm::MnFoundationClick);
  item(edit, "MnDeleteCustomize", "Delete &except AoS customize", {},
       &TMainForm::MnDeleteCustomizeClick);
  edit->addSeparator();
  item(edit, "Option1", "&Option", {}, &TMainForm::Option1Click);
  connect(edit, &QMenu::aboutToShow, this, &TMainForm::Edit1Click);
  // The enabling shows the state when the menu opens; afterwards the
  // shortcuts must work again (each command checks its own conditions).
  connect(edit, &QMenu::aboutToHide, this, [edit] {
    for (QAction* a : edit->actions()) a->setEnabled(true);
  });

  QMenu* view = menu(bar, nullptr, "View1", "&View");
  d->viewMenu = view;
  QAction* hideWalls = check(item(view, "MnHideWalls", "&Hide Walls", {}, nullptr), false);
  QAction* grid = check(item(view, "MnShowGrid", "Show &Grid", {}, nullptr), true);
  QAction* down = check(item(view, "MnDownstair", "Show Downstair walls", {}, nullptr), true);
  check(item(view, "MnShowPropriety", "Show Customize Propriety", {},
             &TMainForm::MnShowProprietyClick),
        true);
  QAction* night = check(item(view, "MnLight", "Night mode", {}, nullptr), false);
  view->addSeparator();
  check(item(view, "MnStickWnd", "Stick Control Window", {}, &TMainForm::MnStickWndClick), true);
  check(item(view, "MnCtrlWnd", "Show Control Window", {}, &TMainForm::MnCtrlWndClick), true);
  connect(view, &QMenu::aboutToShow, this, &TMainForm::View1Click);
  auto refresh = [this] { RefreshCellList(); };
  connect(hideWalls, &QAction::triggered, this, refresh);
  connect(down, &QAction::triggered, this, refresh);
  connect(grid, &QAction::triggered, this, [this, grid, down] {
    // The downstair walls are shown only together with the grid.
    down->setChecked(down->isChecked() && grid->isChecked());
    RefreshCellList();
  });
  connect(night, &QAction::triggered, this, [this] { Redraw(); });

  QMenu* help = menu(bar, nullptr, "Help1", "&Help");
  item(help, "MnContents", "&Contents", {}, &TMainForm::MnContentsClick);
  item(help, "About1", "&About", {}, &TMainForm::About1Click);
}

void TMainForm::FirstIdle() {
  d->doc->Clear(true);
  if (d->settings.UpdateCheck && d->update) d->update->RunCheck();
  if (d->ctrl) {
    d->ctrl->show();
    d->ctrl->SetEditMode(0);
    DockControlWindow(true);
  }
  RefreshView();
  if (!d->options.houseFile.isEmpty()) {
    OpenHouseFile(d->options.houseFile);
    d->doc->Modified = false;
  }
}

// ---- accessors ----

TTAVIDoc& TMainForm::Doc() {
  return *d->doc;
}
const TUOTileData* TMainForm::TileData() const {
  return d->tiles.get();
}
TSettings& TMainForm::Settings() {
  return d->settings;
}
TCtrlForm* TMainForm::CtrlForm() {
  return d->ctrl;
}
TCfgForm* TMainForm::CfgForm() {
  return d->cfg;
}
TObjForm* TMainForm::ObjForm() {
  return d->obj;
}
TAoSForm* TMainForm::AoSForm() {
  return d->aos;
}
TMultiForm* TMainForm::MultiForm() {
  return d->multi;
}
TUpdateForm* TMainForm::UpdateForm() {
  return d->update;
}
TFoundationForm* TMainForm::FoundationForm() {
  return d->foundation;
}
UiPrompts& TMainForm::Prompts() {
  return *d->prompts;
}
const LangMessages& TMainForm::Messages() const {
  return d->messages;
}
IDocHost& TMainForm::DocHost() {
  return *d->host;
}
ITextClipboard& TMainForm::Clipboard() {
  return d->clipboard;
}
bool TMainForm::StartupFailed() const {
  return d->startupFailed;
}
QString TMainForm::CurrentFileName() const {
  return d->fileName;
}
QWidget* TMainForm::PaintBox() {
  return d->view;
}
const TBackgroundMap& TMainForm::BackgroundMap() const {
  return d->background;
}
MainMouse& TMainForm::Mouse() {
  return *d->mouse;
}
QString TMainForm::SettingsPath() const {
  return d->settingsPath;
}
double TMainForm::Zoom() const {
  return d->projection.Zoom();
}
int TMainForm::DetailX() const {
  return d->mouse ? d->mouse->DetailX : -1;
}
int TMainForm::DetailY() const {
  return d->mouse ? d->mouse->DetailY : -1;
}

void TMainForm::SetDetailCell(int x, int y) {
  d->mouse->DetailX = x;
  d->mouse->DetailY = y;
}

const CellRect& TMainForm::Selection() const {
  static const CellRect kNone;
  return d->mouse ? d->mouse->Selection : kNone;
}

void TMainForm::SetSelection(const CellRect& rect) {
  d->mouse->Selection = rect;
  Redraw();
}

bool TMainForm::HiddenCell(int x, int y) const {
  return x >= 0 && y >= 0 && x < kGrid && y < kGrid && d->hidden[y][x];
}

void TMainForm::SetHiddenCell(int x, int y, bool hidden) {
  if (x >= 0 && y >= 0 && x < kGrid && y < kGrid) d->hidden[y][x] = hidden;
}

void TMainForm::FillBackground(int bgType) {
  FillBackgroundMap(d->background, bgType, RandomSeed());
}

void TMainForm::SetCurrentTile(uint16_t id) {
  if (!d->ctrl) return;
  d->ctrl->SetCurrentTile(id);
  d->ctrl->ShowCurrentTile();
  Redraw();
}

int TMainForm::BaseHeight() const {
  return d->ctrl ? d->ctrl->BaseHeight() : 7;
}

void TMainForm::SetBaseHeight(int h) {
  if (d->ctrl) d->ctrl->SetBaseHeight(h);
}

void TMainForm::SetCurrentFileName(const QString& name) {
  d->fileName = name;
  SetTitleFromFile(name);
}

void TMainForm::ForgetFileName() {
  d->fileName.clear();
  setWindowTitle(kAppTitle);
}

void TMainForm::SetTitleFromFile(const QString& fileName) {
  setWindowTitle(QString::fromStdString(WindowTitleFor(fileName.toStdString())));
}

// ---- view ----

void TMainForm::Redraw() {
  if (!d->view || !d->mouse) return;
  const int base = BaseHeight();
  if (base != d->anchorsBase) {
    // Tiles are drawn with the current base height; the hit test follows it.
    d->projection.RebuildAnchors(d->doc->Width, d->doc->Height, base);
    d->anchorsBase = base;
  }
  ViewState s;
  s.CurrentFloor = d->mouseEnv->CurrentFloor();
  s.Alt = d->mouseEnv->Alt();
  s.BaseHeight = base;
  s.EditMode = d->mouseEnv->EditMode();
  s.CurrentTile = d->mouseEnv->CurrentTile();
  s.AutoStairs = d->mouseEnv->AutoStairs();
  s.StairsDirection = d->mouseEnv->StairsDirection();
  s.StairsRow = d->mouseEnv->StairsRow();
  const MainMouse& m = *d->mouse;
  s.HoverX = m.HoverX;
  s.HoverY = m.HoverY;
  s.HoverLayer = m.HoverLayer;
  s.ShiftDown = m.ShiftDown;
  s.CarriedId = m.CarriedId;
  s.Selection = m.Selection;
  s.HiddenCells = d->hidden;
  auto on = [this](const char* name) {
    QAction* a = d->a(this, name);
    return a && a->isChecked();
  };
  s.View.HideWalls = on("MnHideWalls");
  s.View.ShowGrid = on("MnShowGrid");
  s.View.ShowDownstairs = on("MnDownstair");
  s.View.ShowCustomize = on("MnShowPropriety");
  s.View.Night = on("MnLight");
  s.BackgroundMap = &d->background;
  s.LargeBG = d->settings.isLargeBG;
  s.Projection = &d->projection;
  s.Zoom = d->projection.Zoom();
  s.ScrollX = d->surface->ScrollX();
  s.ScrollY = d->surface->ScrollY();
  d->view->SetViewState(s);
  d->cellLabel->setText(m.HoverX >= 0 ? QString("%1, %2").arg(m.HoverX).arg(m.HoverY) : QString());
}

void TMainForm::RefreshCellList() {
  if (d->ctrl)
    d->ctrl->RefreshCellList();
  else
    Redraw();
}

void TMainForm::UpdatePaintBoxSize() {
  if (!d->surface) return;
  const SurfaceSize size = PaintBoxSize(d->doc->Width, d->doc->Height, d->projection.Zoom());
  d->surface->SetContentSize(size.Width, size.Height);
}

void TMainForm::RefreshView() {
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  if (d->ctrl) d->ctrl->ClearCellList();
  if (d->mouse) {
    d->mouse->DetailX = -1;
    d->mouse->DetailY = -1;
  }
  d->doc->ResetUndo();
  d->projection.RebuildAnchors(d->doc->Width, d->doc->Height, BaseHeight());
  d->anchorsBase = BaseHeight();
  QGuiApplication::restoreOverrideCursor();
  Redraw();
}

void TMainForm::SetZoom(double zoom) {
  d->projection.SetZoom(zoom);
  d->settings.Zoom = d->projection.Zoom();
  UpdatePaintBoxSize();
  Redraw();
}

void TMainForm::ZoomStep(bool in) {
  const double z = in ? ZoomStepIn(Zoom()) : ZoomStepOut(Zoom());
  if (d->ctrl) d->ctrl->SetZoomText(QString::number(ZoomPercent(z)) + "%");
  SetZoom(z);
}

void TMainForm::AfterDocumentReplaced(int baseHeight, const QString& fileNameOrEmpty) {
  SetBaseHeight(ClampBaseHeight(baseHeight));
  if (!fileNameOrEmpty.isEmpty()) SetCurrentFileName(fileNameOrEmpty);
  if (d->aos) d->aos->BtnSetValueClick();
  UpdatePaintBoxSize();
  // A house larger than the window opens at its middle, not at the empty sky
  // above its top corner.
  if (d->surface) d->surface->CenterView();
  RefreshView();
}

void TMainForm::ApplyLanguageToAll() {
  LanguageWindows w;
  w.main = this;
  w.ctrl = d->ctrl;
  w.cfg = d->cfg;
  w.obj = d->obj;
  w.aos = d->aos;
  w.multi = d->multi;
  w.update = d->update;
  w.foundation = d->foundation;
  if (d->aos) w.setAoSTypeNames = [this](const QStringList& names) { d->aos->SetTypeNames(names); };
  ApplyLanguage(d->settings.Language, w, &d->messages);
}

// ---- mouse and keys ----

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == d->view && d->mouse) {
    auto button = [](Qt::MouseButton b) {
      return b == Qt::LeftButton ? MouseButton::Left
                                 : (b == Qt::RightButton ? MouseButton::Right : MouseButton::Other);
    };
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonDblClick:  // the second press of a quick double click
      case QEvent::MouseButtonRelease:
      case QEvent::MouseMove: {
        auto* me = static_cast<QMouseEvent*>(event);
        const QPoint p = me->position().toPoint();
        const int px = p.x() + d->surface->ScrollX(), py = p.y() + d->surface->ScrollY();
        const bool shift = me->modifiers() & Qt::ShiftModifier;
        if (event->type() == QEvent::MouseButtonPress ||
            event->type() == QEvent::MouseButtonDblClick) {
          d->view->setFocus();
          d->mouse->Press(button(me->button()), shift, px, py);
        } else if (event->type() == QEvent::MouseButtonRelease) {
          d->mouse->Release(button(me->button()), shift, px, py);
        } else {
          d->mouse->Move(shift, px, py);
        }
        return true;
      }
      case QEvent::KeyPress:
      case QEvent::KeyRelease: {
        auto* ke = static_cast<QKeyEvent*>(event);
        if (event->type() == QEvent::KeyPress)
          keyPressEvent(ke);
        else
          keyReleaseEvent(ke);
        return ke->isAccepted();
      }
      default:
        break;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void TMainForm::RedrawTimerTimer() {
  if (!d->view || !d->mouse) return;
  const QPoint p = d->view->mapFromGlobal(QCursor::pos());
  const bool shift = QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier;
  d->mouse->Move(shift, p.x() + d->surface->ScrollX(), p.y() + d->surface->ScrollY());
}

void TMainForm::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Shift:
      if (d->mouse && !event->isAutoRepeat()) d->mouse->SetShift(true);
      event->accept();
      return;
    case Qt::Key_PageUp:
      ZoomStep(true);
      event->accept();
      return;
    case Qt::Key_PageDown:
      ZoomStep(false);
      event->accept();
      return;
    default:
      event->ignore();
      QMainWindow::keyPressEvent(event);
  }
}

void TMainForm::keyReleaseEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Shift && !event->isAutoRepeat()) {
    if (d->mouse) d->mouse->SetShift(false);
    event->accept();
    return;
  }
  event->ignore();
  QMainWindow::keyReleaseEvent(event);
}

// ---- window events ----

void TMainForm::closeEvent(QCloseEvent* event) {
  if (!d->startupFailed && !AskSaveChanges()) {
    event->ignore();
    return;
  }
  event->accept();
  if (d->ctrl) d->ctrl->DetachToolWindows();
  QCoreApplication::quit();
}

void TMainForm::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  DockControlWindow(true);
}

void TMainForm::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  DockControlWindow(false);
}

void TMainForm::DockControlWindow(bool clampToScreen) {
  QAction* stick = d->a(this, "MnStickWnd");
  if (!stick || !stick->isChecked() || !isVisible() || !d->ctrl) return;
  const QRect frame = frameGeometry();
  int left = frame.left() + frame.width();
  if (clampToScreen && screen()) {
    const int screenWidth = screen()->geometry().width();
    if (screenWidth <= left) left = screenWidth - d->ctrl->frameGeometry().width();
  }
  d->ctrl->move(left, frame.top());
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
  const QMimeData* data = event->mimeData();
  if (data->hasUrls() && !data->urls().isEmpty() && data->urls().first().isLocalFile())
    event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event) {
  if (HandleDrop(event->mimeData())) event->acceptProposedAction();
}

bool TMainForm::HandleDrop(const QMimeData* data) {
  if (!data || !data->hasUrls() || data->urls().isEmpty() || !data->urls().first().isLocalFile())
    return false;
  const QString file = data->urls().first().toLocalFile();
  // Handled after the drop returns, so that the source is not kept waiting
  // on the question.
  QTimer::singleShot(0, this, [this, file] {
    if (AskSaveChanges()) OpenHouseFile(file);
  });
  return true;
}

// ---- file commands ----

bool TMainForm::AskSaveChanges() {
  if (!d->doc || !d->doc->Modified) return true;
  switch (d->prompts->YesNoCancel(this, d->messages.MsgModified)) {
    case UiPrompts::kCancel:
      return false;
    case UiPrompts::kYes:
      Close1Click();
      return !d->doc->Modified;
    case UiPrompts::kNo:
      return true;
  }
  return false;
}

void TMainForm::MnNewFileClick() {
  if (!AskSaveChanges()) return;
  if (d->prompts->YesNo(this, d->messages.MsgFoundation)) {
    SetBaseHeight(7);
    d->doc->Clear(true);
  } else {
    d->doc->Clear(false);
  }
  // The new house belongs to no file: a Save must not overwrite the last one.
  ForgetFileName();
  if (d->aos) d->aos->BtnSetValueClick();
  RefreshView();
}

void TMainForm::Open1Click() {
  if (!AskSaveChanges()) return;
  const QString file = d->prompts->OpenFile(this, d->fileName, kHouseFilter);
  if (file.isEmpty()) return;
  OpenHouseFile(file);
}

bool TMainForm::OpenHouseFile(const QString& fileName) {
  const LoadResult r = LoadFromFile(*d->doc, fileName.toStdString());
  if (!r.ok) {
    // The house, the file name and the title stay as they were.
    if (r.failure == LoadFailure::kVersion)
      d->prompts->Info(this, d->messages.MsgFileVersion);
    else
      d->prompts->Error(this, QString::fromStdString(r.error));
    return false;
  }
  AfterDocumentReplaced(r.baseHeight, fileName);
  return true;
}

void TMainForm::Close1Click() {
  if (d->fileName.isEmpty()) {
    const QString file = d->prompts->SaveFile(this, d->fileName, kHouseFilter, "tav");
    if (file.isEmpty()) return;
    d->fileName = file;
  }
  SetTitleFromFile(d->fileName);
  const SaveResult r = SaveToFile(*d->doc, d->fileName.toStdString(), BaseHeight());
  if (!r.ok) d->prompts->Error(this, QString::fromStdString(r.error));
}

void TMainForm::SaveAs1Click() {
  const QString file = d->prompts->SaveFile(this, d->fileName, kHouseFilter, "tav");
  if (file.isEmpty()) return;
  d->fileName = file;
  Close1Click();
}

void TMainForm::Exit1Click() {
  close();
}

void TMainForm::MnExportClipClick() {
  const std::string name = HouseNameOf(d->fileName.toStdString());
  const SaveResult r =
      ExportClipText(*d->doc, d->clipboard, d->settings.LineWidth, BaseHeight(), name);
  if (!r.ok) {
    d->prompts->Error(this, QString::fromStdString(r.error));
    return;
  }
  QString text = d->messages.MsgCopied;
  if (!r.warning.empty()) text += "\r\n" + QString::fromStdString(r.warning);
  d->prompts->Info(this, text);
}

void TMainForm::MnImportClipClick() {
  if (!AskSaveChanges()) return;
  std::string name;
  const LoadResult r = ImportClipText(*d->doc, d->clipboard, &name);
  if (!r.ok) {
    d->prompts->Info(this, d->messages.MsgBrokenText);
    return;
  }
  const QString house = QString::fromStdString(name);
  // A house without a name gets no file name, so that Save asks for one.
  d->fileName = house.isEmpty() ? QString() : house + ".tav";
  setWindowTitle(house.isEmpty() ? QString(kAppTitle) : QString(kAppTitle) + " - " + house);
  AfterDocumentReplaced(r.baseHeight, QString());
}

void TMainForm::MnImportClick(int tag) {
  const int base = MultiBaseHeight(tag);
  const LoadResult r = ImportMulti(*d->doc, tag, base, d->settings.MultiIdx, d->settings.Multi,
                                   d->tiles->MultiRecordSize());
  if (!r.ok) {
    d->prompts->Error(this, QString::fromStdString(r.error));
    return;
  }
  d->fileName.clear();  // Save asks for a name; the title stays
  AfterDocumentReplaced(base, QString());
}

void TMainForm::CopyBMP1Click() {
  if (!d->view) return;
  QApplication::clipboard()->setImage(d->view->CaptureView());
}

void TMainForm::ImageSaveas1Click() {
  if (!d->view) return;
  const QString file = d->prompts->SaveFile(this, QString(), kImageFilter, "bmp");
  if (file.isEmpty()) return;
  const TBitmap24 bmp = d->view->CaptureBitmap();
  std::string error;
  const std::string name = file.toStdString();
  if (!SaveImage(bmp, name, ImageFormatForSave(name), JpegQualityFor(d->settings.JpegQuality),
                 &error))
    d->prompts->Error(this, QString::fromStdString(error));
}

void TMainForm::Option1Click() {
  TCfgForm* cfg = d->cfg;
  if (!cfg) return;
  cfg->FormShow();
  if (!d->prompts->Exec(cfg)) return;
  TSettings& s = d->settings;
  s.ArtIdx = cfg->EdArtIdx->text().toStdString();
  s.Art = cfg->EdArt->text().toStdString();
  s.TileData = cfg->EdTileData->text().toStdString();
  s.MultiIdx = cfg->EdMultiIdx->text().toStdString();
  s.Multi = cfg->EdMulti->text().toStdString();
  if (cfg->CBStayOnTop->isChecked() != s.isStayOnTop) {
    s.isStayOnTop = cfg->CBStayOnTop->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{d->obj, d->aos}) {
      if (!w) continue;
      const bool visible = w->isVisible();
      w->hide();
      w->setWindowFlag(Qt::WindowStaysOnTopHint, s.isStayOnTop);
      if (visible) w->show();
    }
  }
  s.JpegQuality = cfg->CBJpegQuality->currentIndex();
  s.Language = cfg->CBLanguage->currentIndex();
  if (!d->startupFailed) ApplyLanguageToAll();
  s.LineWidth = cfg->CBTextWidth->currentIndex() * 8 + 36;
  const int bg = cfg->CBBGType->currentIndex();
  if (bg != s.BGType) FillBackground(bg);
  s.BGType = bg;
  s.isLargeBG = cfg->CBBGLarge->isChecked();
  s.UpdateCheck = cfg->CBUpdateChk->isChecked();
  const int w = cfg->CBWidth->currentIndex() + 8, h = cfg->CBHeight->currentIndex() + 8;
  if (w != d->doc->Width || h != d->doc->Height) {
    d->doc->SetSize(w, h);
    if (!d->startupFailed) {
      UpdatePaintBoxSize();
      d->doc->Recalculate();
      RefreshView();
    }
  }
  Redraw();
}

void TMainForm::About1Click() {
  ShowAboutBox(this);
}
void TMainForm::MnContentsClick() {
  ShowHelpContents(&d->settings);
}

// ---- Edit menu ----

void TMainForm::Edit1Click() {
  const bool paste = d->clipboard.HasText() && IsSelectionClipText(d->clipboard.GetText());
  d->a(this, "MnPaste")->setEnabled(paste);
  d->a(this, "MnUndo")->setEnabled(d->doc->CanUndo());
  d->a(this, "MnRedo")->setEnabled(d->doc->CanRedo());
  bool replace = false;
  if (!Selection().Empty() && d->aos && d->aos->isVisible()) {
    const int t = d->aos->TypeIndex();
    replace = t == 0 || t == 1 || t == 3 || t == 4 || t == 6;
  }
  d->a(this, "MnReplaceWall")->setEnabled(replace);
}

void TMainForm::MnUndoClick() {
  if (!d->doc->CanUndo()) return;
  const int f = d->doc->Undo();
  if (d->ctrl && TTAVIDoc::ValidFloor(f)) d->ctrl->SetFloor(f);
  RefreshCellList();
}

void TMainForm::MnRedoClick() {
  if (!d->doc->CanRedo()) return;
  const int f = d->doc->Redo();
  if (d->ctrl && TTAVIDoc::ValidFloor(f)) d->ctrl->SetFloor(f);
  RefreshCellList();
}

void TMainForm::MnCutClick() {
  if (Selection().Empty() || !d->ctrl) return;
  d->doc->CutRect(Selection(), d->ctrl->CurrentFloor(), d->clipboard);
  RefreshCellList();
}

void TMainForm::MnCopyClick() {
  if (Selection().Empty() || !d->ctrl) return;
  d->doc->CopyRect(Selection(), d->ctrl->CurrentFloor(), d->clipboard);
}

void TMainForm::MnPasteClick() {
  if (Selection().Empty() || !d->ctrl || !d->clipboard.HasText()) return;
  d->doc->PasteAt(Selection().Left, Selection().Top, d->ctrl->Alt(), d->ctrl->EditMode(),
                  d->ctrl->CurrentFloor(), d->clipboard);
  RefreshCellList();
}

void TMainForm::MnDeleteClick() {
  if (d->ctrl) d->ctrl->BtnDeleteClick();
}

void TMainForm::MnReplaceWallClick() {
  if (Selection().Empty() || !d->aos || !d->aos->isVisible() || !d->ctrl) return;
  const int floor = d->ctrl->CurrentFloor();
  const int row = d->aos->SelectedRow();
  switch (d->aos->TypeIndex()) {
    case 0:
      d->doc->ReplaceWalls(Selection(), floor, row);
      break;
    case 1:
      d->doc->ReplaceDoors(Selection(), floor, row);
      break;
    case 3:
    case 4:
      d->doc->ReplaceStairs(Selection(), floor, row);
      break;
    case 6:
      d->doc->ReplaceEnchancements(Selection(), floor, row);
      break;
    default:
      return;
  }
  Redraw();
}

void TMainForm::MnFoundationClick() {
  if (!d->foundation || !d->foundation->Execute()) return;
  const FoundationChoice& c = d->foundation->Result();
  d->doc->BuildFoundation(c.Sign, c.Hanger, c.Post, c.EdgeNS, c.CornerSE, c.EdgeWE, c.CornerNW);
  RefreshCellList();
}

void TMainForm::MnDeleteCustomizeClick() {
  d->doc->DeleteExceptCustomization();
  RefreshCellList();
}

void TMainForm::MnShowProprietyClick() {
  if (d->a(this, "MnShowPropriety")->isChecked()) d->doc->CheckCustomization();
  Redraw();
}

// ---- the control window's place ----

void TMainForm::MnStickWndClick() {
  if (d->a(this, "MnStickWnd")->isChecked()) DockControlWindow(true);
}

void TMainForm::MnCtrlWndClick() {
  if (!d->ctrl) return;
  d->ctrl->setVisible(d->a(this, "MnCtrlWnd")->isChecked());
  DockControlWindow(true);
}

void TMainForm::View1Click() {
  if (d->ctrl) d->a(this, "MnCtrlWnd")->setChecked(d->ctrl->isVisible());
}

}  // namespace tavi
