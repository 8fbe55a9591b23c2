#include "app/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QOpenGLContext>
#include <QScreen>
#include <QSet>
#include <QStatusBar>
#include <QTimer>
#include <QTranslator>
#include <random>

#include "app/aos_window.h"
#include "app/cache_import_dialog.h"
#include "app/catalogue_window.h"
#include "app/config_dialog.h"
#include "app/control_window.h"
#include "app/foundation_dialog.h"
#include "app/main_surface.h"
#include "app/main_window_impl.h"
#include "app/start_notices.h"
#include "app/tool_host.h"
#include "app/ui_prompts.h"
#include "app/ui_texts.h"
#include "app/update_check.h"
#include "client/discovery.h"
#include "client/paths.h"
#include "client/tile_data.h"
#include "interaction/demo_client_use.h"
#include "interaction/plot_resize.h"
#include "io/house_file.h"
#include "render/gl/house_view.h"
#include "settings/recent_files.h"

namespace tavi {

namespace {

constexpr int kRedrawIntervalMs = 55;

uint32_t RandomSeed() {
  return std::random_device{}();
}

}  // namespace

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
  RecoveryHook::Source source;
  source.doc = [this]() -> const TTAVIDoc* { return d->doc.get(); };
  source.fileName = [this] { return d->fileName.isEmpty() ? d->recoveredName : d->fileName; };
  d->recovery = std::make_unique<RecoveryHook>(
      std::make_unique<RecoveryStore>(RecoveryStore::DefaultFolder()), std::move(source));
  // The rest of the start-up runs once the event loop is idle.
  QTimer::singleShot(0, this, [this] { FirstIdle(); });
}

TMainForm::~TMainForm() {
  // Windows closed during shutdown must not touch the control window.
  if (d->ctrl) d->ctrl->DetachToolWindows();
  if (d->redrawTimer) d->redrawTimer->stop();
  if (d->obj) d->obj->SavePages();
  // The demo client is for this run only; the stored paths stay as they were.
  TSettings out = d->demo.ToStore(d->settings);
  if (d->doc) {
    out.Width = d->doc->Width;
    out.Height = d->doc->Height;
  }
  std::string error;
  if (!d->settingsPath.isEmpty() && !SaveSettings(d->settingsPath.toStdString(), out, &error))
    qWarning("%s", error.c_str());
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
    folder = QString::fromStdString(SettingsFolder(
        QCoreApplication::applicationDirPath().toStdString(), &d->notices.settingsFolder));
  // Without a settings folder nothing is stored (the path stays empty).
  if (!folder.isEmpty() && QDir().mkpath(folder))
    d->settingsPath = QDir(folder).filePath("tavi.ini");
  d->settings = LoadSettings(d->settingsPath.toStdString(), &d->notices.settingsFile);
  d->settings.Zoom = 1.0;
  const TSettings stored = d->settings;
  d->host = std::make_unique<MainDocHost>(*this);
  d->doc =
      std::make_unique<TTAVIDoc>(d->settings.Width, d->settings.Height, nullptr, d->host.get());
  FillBackgroundMap(d->background, d->settings.BGType, RandomSeed());
  DiscoverClientHere(d->settings);

  d->demo.Adopt(d->settings, stored, d->options.demoClientDir.toStdString());
  // Paths typed by hand before may have left the multi paths empty.
  CompleteFromArtFolder(d->settings);

  QString loadError;
  if (!LoadTileData(&loadError) && !AskForClientAtStart(loadError)) {
    // Without the client's files nothing can be drawn: end (the paths
    // entered are kept for the next start).
    d->startupFailed = true;
    return;
  }
  d->doc->SetFacts(d->tiles.get());
  d->notices.tileData = d->tiles->Damage;
  d->notices.artSkipped = d->tiles->ArtEntriesSkipped;

  d->mouseEnv = std::make_unique<MainMouseEnv>(this);
  d->mouse = std::make_unique<MainMouse>(*d->doc, d->edit, *d->mouseEnv);
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
  if (d->demo.InUse())
    d->statusLabel->setText(UiTextsFor(d->settings.Language)
                                .DemoInUse.arg(QString::fromStdString(d->settings.ClientDir)));
  d->projection.RebuildAnchors(d->doc->Width, d->doc->Height, 7);
  UpdatePaintBoxSize();
  resize(900, 760);
}

bool TMainForm::LoadTileData(QString* error) {
  d->tiles.reset();
  if (!ClientFilesPresent(d->settings)) return false;
  // A real client's tile data takes a moment to read.
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  try {
    d->tiles = TUOTileData::Create(d->settings.ArtIdx, d->settings.TileData, d->settings.Art);
  } catch (const std::exception& e) {
    *error = QString::fromStdString(e.what());
  }
  QGuiApplication::restoreOverrideCursor();
  return d->tiles != nullptr;
}

QString TMainForm::KnownDemoClient() const {
  // The one given on the command line, else the one scripts/run.sh writes
  // beside the build folder.
  QStringList candidates;
  if (!d->options.demoClientDir.isEmpty()) candidates << d->options.demoClientDir;
  candidates << QCoreApplication::applicationDirPath() + "/../demo-client";
  for (const QString& dir : candidates) {
    ClientPaths p;
    UseClientFolder(p, dir.toStdString());
    if (ClientFilesPresent(p)) return QDir(dir).absolutePath();
  }
  return QString();
}

void TMainForm::MakeCfgForm() {
  d->cfg = new TCfgForm(&d->settings, d->doc.get(), this);
  d->cfg->Discover = DiscoverClientHere;
  d->cfg->ChooseFile = [this](const QString& current) {
    const QString file =
        d->prompts->OpenFile(d->cfg, StartFolder(int(FileKind::kClient), current), QString());
    NoteFolder(int(FileKind::kClient), file);
    return file;
  };
  d->cfg->ChooseFolder = [this](const QString& current) {
    const QString start = !current.isEmpty() ? current : StartFolder(int(FileKind::kClient), {});
    const QString dir = d->prompts->ChooseFolder(
        d->cfg, start, UiTextsFor(d->settings.Language).ChooseClientFolder);
    if (!dir.isEmpty())
      FolderFor(d->settings, FileKind::kClient) = FolderOfPath(dir.toStdString(), true);
    return dir;
  };
}

bool TMainForm::AskForClientAtStart(const QString& loadError) {
  MakeCfgForm();
  d->cfg->OfferDemoClient(KnownDemoClient());
  // In the user's language, in the middle of the screen (no window is up yet).
  LanguageWindows w;
  w.cfg = d->cfg;
  ApplyLanguage(d->settings.Language, w, &d->messages);
  ApplyUiTexts(d->settings.Language, w);
  d->cfg->adjustSize();
  if (const QScreen* screen = d->cfg->screen()) {
    const QRect area = screen->availableGeometry();
    d->cfg->move(area.center() - QPoint(d->cfg->width() / 2, d->cfg->height() / 2));
  }
  QString text = QString::fromUtf8(
      "必要なファイルが見つかりません。\r\nファイルを設定して再起動してください。");
  if (EffectiveLanguage(d->settings.Language) != kLangJapanese)
    text += "\r\n\r\n" + UiTextsFor(d->settings.Language).NoClientStart;
  if (!loadError.isEmpty()) text += "\r\n\r\n" + loadError;
  d->prompts->Info(this, text);
  // The dialog's own settings apply as after Option; the start goes on when
  // the paths now name a client that loads.
  d->startupFailed = true;
  Option1Click();
  d->startupFailed = false;
  QString error;
  const bool loaded = LoadTileData(&error);
  if (!loaded && !error.isEmpty()) d->prompts->Error(this, error);
  // The windows made later get a dialog of their own.
  delete d->cfg;
  d->cfg = nullptr;
  return loaded;
}

void TMainForm::CreateWindows() {
  // In this order; each may read what the ones before it set up. All are
  // owned by the main window, so that they float above it.
  MakeCfgForm();
  if (!d->windowHost) d->windowHost = std::make_unique<MainWindowHost>(*this);
  MainWindowHost& host = *d->windowHost;
  QString pageFolder;
  if (!d->settingsPath.isEmpty()) pageFolder = QFileInfo(d->settingsPath).absolutePath();
  if (!pageFolder.isEmpty() && !pageFolder.endsWith('/')) pageFolder += '/';
  d->obj = new TObjForm(host, pageFolder, this);
  d->aos = new TAoSForm(host, this);
  d->ctrl = new TCtrlForm(host, this);
  // The tool windows work beside the drawing surface: the main window's keys
  // act there too, except a key that a window has for a command of its own.
  for (QWidget* w : std::initializer_list<QWidget*>{d->obj, d->aos, d->ctrl}) {
    QSet<QKeySequence> own;
    for (const QAction* a : w->findChildren<QAction*>())
      for (const QKeySequence& key : a->shortcuts()) own.insert(key);
    for (QAction* a : actions())
      if (!own.contains(a->shortcut())) w->addAction(a);
  }
  d->multi = new TMultiForm(host, QString(), this);
  d->update = new TUpdateForm(host, this);
  d->foundation = new TFoundationForm(host, this);
}

void TMainForm::FirstIdle() {
  d->doc->Clear(true);
  if (d->obj) d->notices.pageFiles = d->obj->Pages().Unread;
  if (!d->notices.Empty())
    d->prompts->Info(this, StartNoticeText(d->settings.Language, d->notices));
  if (d->settings.UpdateCheck && d->update) d->update->RunCheck();
  if (d->ctrl) {
    d->ctrl->show();
    d->ctrl->SetEditMode(0);
    DockControlWindow(true);
  }
  RefreshView();
  // A copy of unsaved work that an editor no longer running left: Yes opens
  // it as a changed house without a name.
  const bool recovered = d->recovery->AskAtStart(
      this, *d->prompts, d->settings.Language, [this](const RecoveryCopy& copy) {
        const LoadResult r = LoadFromText(*d->doc, copy.houseText);
        if (!r.ok) return false;
        ForgetFileName();
        AfterDocumentReplaced(QString());
        d->recoveredName = QString::fromStdString(copy.fileName);
        d->doc->Modified = true;
        return true;
      });
  if (!recovered && !d->options.houseFile.isEmpty()) {
    OpenHouseFile(d->options.houseFile);
    d->doc->Modified = false;
  }
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
  ApplyUiTexts(d->settings.Language, w);
  if (!d->qtTranslator) d->qtTranslator = std::make_unique<QTranslator>();
  SwitchQtTranslation(d->qtTranslator.get(), d->settings.Language);
}

void TMainForm::closeEvent(QCloseEvent* event) {
  if (!d->startupFailed && !AskSaveChanges()) {
    event->ignore();
    return;
  }
  event->accept();
  if (d->ctrl) d->ctrl->DetachToolWindows();
  QCoreApplication::quit();
}

// ---- settings ----

void TMainForm::Option1Click() {
  TCfgForm* cfg = d->cfg;
  if (!cfg) return;
  cfg->FormShow();
  if (!d->prompts->Exec(cfg)) return;
  const TSettings chosen = cfg->Collect();
  // A smaller plot drops what lies outside it: only when the user agrees.
  // No leaves the house and every other setting as they were.
  if (!d->startupFailed && d->doc) {
    const int outside = EntriesOutsidePlot(*d->doc, chosen.Width, chosen.Height);
    if (outside > 0 &&
        !d->prompts->YesNo(this, UiTextsFor(chosen.Language).EntriesOutside.arg(outside)))
      return;
  }
  ApplySettings(chosen);
}

void TMainForm::ApplySettings(const TSettings& chosen) {
  const TSettings before = d->settings;
  d->settings = chosen;
  if (chosen.isStayOnTop != before.isStayOnTop) {
    for (QWidget* w : std::initializer_list<QWidget*>{d->obj, d->aos}) {
      if (!w) continue;
      const bool visible = w->isVisible();
      w->hide();
      w->setWindowFlag(Qt::WindowStaysOnTopHint, chosen.isStayOnTop);
      if (visible) w->show();
    }
    // Hiding them for the new style cleared their check boxes.
    if (d->ctrl) {
      if (d->obj) d->ctrl->SetObjWindowChecked(d->obj->isVisible());
      if (d->aos) d->ctrl->SetAoSWindowChecked(d->aos->isVisible());
    }
  }
  if (!d->startupFailed) ApplyLanguageToAll();
  if (chosen.BGType != before.BGType) FillBackground(chosen.BGType);
  if (chosen.Width != d->doc->Width || chosen.Height != d->doc->Height) {
    d->doc->SetSize(chosen.Width, chosen.Height);
    if (!d->startupFailed) {
      UpdatePaintBoxSize();
      d->doc->Recalculate();
      RefreshView();
    }
  }
  Redraw();
}

void TMainForm::FillBackground(int bgType) {
  FillBackgroundMap(d->background, bgType, RandomSeed());
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

RecoveryHook* TMainForm::Recovery() {
  return d->recovery.get();
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

QString TMainForm::SettingsPath() const {
  return d->settingsPath;
}

void TMainForm::SetCurrentTile(uint16_t id) {
  d->edit.Tile = id;
  if (!d->ctrl) return;
  d->ctrl->ShowCurrentTile();
  Redraw();
}

int TMainForm::BaseHeight() const {
  return d->doc->BaseHeight();
}

void TMainForm::SetBaseHeight(int h) {
  d->doc->SetBaseHeight(h);
  ShowBaseHeight();
}

void TMainForm::ShowBaseHeight() {
  if (d->ctrl) d->ctrl->SetBaseHeight(d->doc->BaseHeight());
}

}  // namespace tavi
