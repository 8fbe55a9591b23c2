#include "app/config_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/ui_texts.h"
#include "client/discovery.h"
#include "client/paths.h"
#include "document/house_document.h"
#include "interaction/config_values.h"

namespace tavi {

namespace {

QLineEdit* PathEdit(QWidget* parent, const char* name) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(name);
  e->setMinimumWidth(360);
  return e;
}

QComboBox* List(QWidget* parent, const char* name, const QStringList& items) {
  auto* c = new QComboBox(parent);
  c->setObjectName(name);
  c->addItems(items);
  return c;
}

QLabel* Label(QWidget* parent, const char* name, const char* text) {
  auto* l = new QLabel(QString::fromUtf8(text), parent);
  l->setObjectName(name);
  return l;
}

// Selects an entry; an index outside the list leaves none selected.
void Select(QComboBox* c, int index) {
  c->setCurrentIndex(index >= 0 && index < c->count() ? index : -1);
}

// A plot size list showing the document sizes on offer (each less one) with
// the size each entry stands for as its data; `current` (0: none) is
// selected, and listed even where the usual range does not hold it.
void FillPlotSizes(QComboBox* c, int current) {
  c->clear();
  for (int size : PlotSizeChoices(current)) c->addItem(QString::number(size - 1), size);
  Select(c, PlotSizeChoiceIndex(PlotSizeChoices(current), current));
}

// The size of the chosen entry; without one the size stays `current`.
int ChosenSize(const QComboBox* c, int current) {
  std::vector<int> sizes;
  for (int i = 0; i < c->count(); ++i) sizes.push_back(c->itemData(i).toInt());
  return ChosenPlotSize(sizes, c->currentIndex(), current);
}

}  // namespace

TCfgForm::TCfgForm(IConfigHost& host, TSettings* settings, const TTAVIDoc* doc, QWidget* parent)
    : QDialog(parent), host_(host), settings_(settings), doc_(doc) {
  setObjectName("CfgForm");
  setWindowTitle("Config");
  setModal(true);
  build();
}

void TCfgForm::build() {
  auto* top = new QVBoxLayout(this);

  auto* files = new QGroupBox("Ultima Online Files", this);
  files->setObjectName("GBUOFiles");
  auto* filesForm = new QFormLayout(files);
  EdArtIdx = PathEdit(files, "EdArtIdx");
  EdArt = PathEdit(files, "EdArt");
  EdTileData = PathEdit(files, "EdTileData");
  EdMultiIdx = PathEdit(files, "EdMultiIdx");
  EdMulti = PathEdit(files, "EdMulti");
  // Each path with a "Browse…" button that chooses the file.
  auto pathRow = [&](const char* label, const char* text, QLineEdit* edit, const char* button) {
    auto* row = new QHBoxLayout;
    row->addWidget(edit, 1);
    auto* browse = new QPushButton(QString::fromUtf8("Browse…"), files);
    browse->setObjectName(button);
    browse->setAutoDefault(false);
    row->addWidget(browse);
    filesForm->addRow(Label(files, label, text), row);
    connect(browse, &QPushButton::clicked, this, [this, edit] {
      const QString chosen = host_.ChooseClientFile(this, edit->text());
      if (!chosen.isEmpty()) edit->setText(chosen);
    });
    connect(edit, &QLineEdit::textChanged, this, [this] { updateMissing(); });
  };
  pathRow("LblArtIdx", "ARTIDX.MUL", EdArtIdx, "BtnBrowseArtIdx");
  pathRow("LblArt", "ART.MUL", EdArt, "BtnBrowseArt");
  pathRow("LblTileData", "TILEDATA.MUL", EdTileData, "BtnBrowseTileData");
  pathRow("LblMultiIdx", "MULTI.IDX", EdMultiIdx, "BtnBrowseMultiIdx");
  pathRow("LblMulti", "MULTI.MUL", EdMulti, "BtnBrowseMulti");
  LblMissing = new QLabel(files);
  LblMissing->setObjectName("LblMissing");
  LblMissing->setWordWrap(true);
  filesForm->addRow(QString(), LblMissing);
  auto* search = new QPushButton("&Reload Paths", files);
  search->setObjectName("BtnFileSearch");
  search->setAutoDefault(false);
  BtnClientFolder = new QPushButton(QString::fromUtf8("Client folder…"), files);
  BtnClientFolder->setObjectName("BtnClientFolder");
  BtnClientFolder->setAutoDefault(false);
  BtnUseDemo = new QPushButton("Use the demo client", files);
  BtnUseDemo->setObjectName("BtnUseDemo");
  BtnUseDemo->setAutoDefault(false);
  BtnUseDemo->hide();
  auto* pathButtons = new QHBoxLayout;
  pathButtons->addWidget(search);
  pathButtons->addWidget(BtnClientFolder);
  pathButtons->addWidget(BtnUseDemo);
  pathButtons->addStretch(1);
  filesForm->addRow(QString(), pathButtons);
  top->addWidget(files);
  connect(BtnClientFolder, &QPushButton::clicked, this, [this] {
    const QString dir =
        host_.ChooseClientFolder(this, QString::fromStdString(settings_->ClientDir));
    if (!dir.isEmpty()) FillFromClientFolder(dir);
  });
  connect(BtnUseDemo, &QPushButton::clicked, this, [this] {
    if (!demoDir_.isEmpty()) FillFromClientFolder(demoDir_);
  });

  auto* base = new QGroupBox("Base Size", this);
  base->setObjectName("GBBaseSize");
  auto* baseForm = new QFormLayout(base);
  CBWidth = List(base, "CBWidth", {});
  CBHeight = List(base, "CBHeight", {});
  FillPlotSizes(CBWidth, 0);
  FillPlotSizes(CBHeight, 0);
  baseForm->addRow(Label(base, "Label6", "Width (East-West)"), CBWidth);
  baseForm->addRow(Label(base, "Label7", "Height (North-South)"), CBHeight);

  auto* jpeg = new QGroupBox("JPEG Compress Quality", this);
  jpeg->setObjectName("GBJpegQuality");
  auto* jpegLayout = new QVBoxLayout(jpeg);
  CBJpegQuality = List(jpeg, "CBJpegQuality", {"High", "Standard", "Low"});
  jpegLayout->addWidget(CBJpegQuality);

  auto* middle = new QHBoxLayout;
  middle->addWidget(base);
  middle->addWidget(jpeg);
  top->addLayout(middle);

  CBStayOnTop = new QCheckBox("Object Window Stay on Top", this);
  CBStayOnTop->setObjectName("CBStayOnTop");
  top->addWidget(CBStayOnTop);

  auto* misc = new QFormLayout;
  CBLanguage = List(this, "CBLanguage", {"English", "Japanese", "German"});
  CBTextWidth = List(this, "CBTextWidth", {"36", "44", "52", "60", "68", "76"});
  misc->addRow(Label(this, "LblLanguage", "Language"), CBLanguage);
  misc->addRow(Label(this, "LblTxtWidth", "Clip Text Width"), CBTextWidth);
  top->addLayout(misc);

  auto* bg = new QGroupBox("Background", this);
  bg->setObjectName("GBBackGround");
  auto* bgForm = new QFormLayout(bg);
  CBBGType = List(bg, "CBBGType", {"Grass", "Sand", "Dirt", "Jungle", "Snow", "Swamp"});
  bgForm->addRow(Label(bg, "LblBGType", "Type"), CBBGType);
  CBBGLarge = new QCheckBox("Larger background", bg);
  CBBGLarge->setObjectName("CBBGLarge");
  bgForm->addRow(QString(), CBBGLarge);
  top->addWidget(bg);

  CBUpdateChk = new QCheckBox("Check version per month.", this);
  CBUpdateChk->setObjectName("CBUpdateChk");
  top->addWidget(CBUpdateChk);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  auto* ok = new QPushButton("Ok", this);
  ok->setObjectName("BtnOk");
  ok->setDefault(true);
  auto* cancel = new QPushButton("Cancel", this);
  cancel->setObjectName("BtnCancel");
  cancel->setAutoDefault(false);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  top->addLayout(buttons);

  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(search, &QPushButton::clicked, this, &TCfgForm::BtnFileSearchClick);
}

int TCfgForm::TextWidthIndex(int lineWidth) {
  return tavi::TextWidthIndex(lineWidth);
}

void TCfgForm::FormShow() {
  const TSettings& s = *settings_;
  EdArtIdx->setText(QString::fromStdString(s.ArtIdx));
  EdArt->setText(QString::fromStdString(s.Art));
  EdTileData->setText(QString::fromStdString(s.TileData));
  EdMultiIdx->setText(QString::fromStdString(s.MultiIdx));
  EdMulti->setText(QString::fromStdString(s.Multi));
  FillPlotSizes(CBWidth, doc_ ? doc_->Width : 0);
  FillPlotSizes(CBHeight, doc_ ? doc_->Height : 0);
  CBStayOnTop->setChecked(s.isStayOnTop);
  Select(CBJpegQuality, s.JpegQuality);
  Select(CBLanguage, s.Language);
  Select(CBTextWidth, TextWidthIndex(s.LineWidth));
  Select(CBBGType, s.BGType);
  CBBGLarge->setChecked(s.isLargeBG);
  CBUpdateChk->setChecked(s.UpdateCheck);
  updateMissing();
}

ClientPaths TCfgForm::ShownPaths() const {
  ClientPaths p;
  p.ArtIdx = EdArtIdx->text().toStdString();
  p.Art = EdArt->text().toStdString();
  p.TileData = EdTileData->text().toStdString();
  p.MultiIdx = EdMultiIdx->text().toStdString();
  p.Multi = EdMulti->text().toStdString();
  return p;
}

void TCfgForm::FillFromClientFolder(const QString& dir) {
  ClientPaths p;
  UseClientFolder(p, dir.toStdString());
  EdArtIdx->setText(QString::fromStdString(p.ArtIdx));
  EdArt->setText(QString::fromStdString(p.Art));
  EdTileData->setText(QString::fromStdString(p.TileData));
  EdMultiIdx->setText(QString::fromStdString(p.MultiIdx));
  EdMulti->setText(QString::fromStdString(p.Multi));
}

void TCfgForm::OfferDemoClient(const QString& dir) {
  demoDir_ = dir;
  BtnUseDemo->setVisible(!dir.isEmpty());
}

QString TCfgForm::MissingFilesText() const {
  std::vector<std::string> missing;
  const UiTexts& t = UiTextsFor(settings_->Language);
  if (ClientFilesPresent(ShownPaths(), &missing)) return t.AllFilesFound;
  QStringList names;
  for (const std::string& m : missing) names << QString::fromStdString(m);
  return t.FilesMissing.arg(names.join(", "));
}

void TCfgForm::updateMissing() {
  if (LblMissing) LblMissing->setText(MissingFilesText());
}

TSettings TCfgForm::Collect() const {
  TSettings s = *settings_;
  const std::string art = s.Art, artIdx = s.ArtIdx, tileData = s.TileData;
  s.ArtIdx = EdArtIdx->text().toStdString();
  s.Art = EdArt->text().toStdString();
  s.TileData = EdTileData->text().toStdString();
  s.MultiIdx = EdMultiIdx->text().toStdString();
  s.Multi = EdMulti->text().toStdString();
  // New art paths: the client folder and empty or missing multi paths follow
  // them, so that the imports find what lies beside the art.
  if (s.Art != art || s.ArtIdx != artIdx || s.TileData != tileData) {
    ClientPaths probe = s;
    probe.ClientDir.clear();
    CompleteFromArtFolder(probe);
    if (!probe.ClientDir.empty()) s.ClientDir = probe.ClientDir;
  }
  // A multi path typed just now stays as typed.
  const std::string typedIdx = s.MultiIdx != settings_->MultiIdx ? s.MultiIdx : "";
  const std::string typedMul = s.Multi != settings_->Multi ? s.Multi : "";
  CompleteFromArtFolder(s);
  if (!typedIdx.empty()) s.MultiIdx = typedIdx;
  if (!typedMul.empty()) s.Multi = typedMul;
  s.Width = ChosenSize(CBWidth, doc_ ? doc_->Width : s.Width);
  s.Height = ChosenSize(CBHeight, doc_ ? doc_->Height : s.Height);
  s.isStayOnTop = CBStayOnTop->isChecked();
  s.JpegQuality = CBJpegQuality->currentIndex();
  s.Language = CBLanguage->currentIndex();
  s.LineWidth = LineWidthOfIndex(CBTextWidth->currentIndex());
  s.BGType = CBBGType->currentIndex();
  s.isLargeBG = CBBGLarge->isChecked();
  s.UpdateCheck = CBUpdateChk->isChecked();
  return s;
}

void TCfgForm::BtnFileSearchClick() {
  TSettings& s = *settings_;
  s.ArtIdx.clear();
  s.Art.clear();
  s.TileData.clear();
  s.MultiIdx.clear();
  s.Multi.clear();
  host_.DiscoverClient(s);
  FormShow();
}

void TCfgForm::showEvent(QShowEvent* event) {
  FormShow();
  QDialog::showEvent(event);
}

}  // namespace tavi
