// The main window's file commands: New, Open, Save, the clipboard text, the
// imports, the pictures of the view and files dropped on the window.
#include <QApplication>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

#include "app/aos_window.h"
#include "app/busy_scope.h"
#include "app/main_surface.h"
#include "app/main_window.h"
#include "app/main_window_impl.h"
#include "app/ui_prompts.h"
#include "app/ui_texts.h"
#include "client/multi_files.h"
#include "client/paths.h"
#include "io/atomic_file.h"
#include "io/clip_text.h"
#include "io/house_file.h"
#include "io/multi_import.h"
#include "io/multi_menu.h"
#include "render/gl/house_view.h"
#include "render/image_export.h"
#include "render/projection.h"
#include "render/whole_house.h"
#include "settings/recent_files.h"

namespace tavi {

namespace {

const char kHouseFilter[] = "Tavi File(*.tav/*.txt) (*.tav *.txt);;All Files (*)";
const char kImageFilter[] =
    "Windows Bitmap(*.bmp) (*.bmp);;JPEG(*.jpg) (*.jpg *.jpeg);;PNG(*.png) (*.png)";

// Pictures from this many pixels on are drawn with a progress dialog.
constexpr int64_t kLongPicturePixels = int64_t(4) * 1000 * 1000;

// The encoding a filter of kImageFilter stands for.
ImageFormat FormatOfFilter(const QString& filter) {
  if (filter.startsWith("JPEG")) return ImageFormat::kJpeg;
  if (filter.startsWith("PNG")) return ImageFormat::kPng;
  return ImageFormat::kBmp;
}

}  // namespace

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
  // Cancel (Escape, the close button) keeps the house as it is.
  switch (d->prompts->YesNoCancel(this, d->messages.MsgFoundation)) {
    case UiPrompts::kCancel:
      return;
    case UiPrompts::kYes:
      SetBaseHeight(7);
      d->doc->Clear(true);
      break;
    case UiPrompts::kNo:
      d->doc->Clear(false);
      break;
  }
  // The new house belongs to no file: a Save must not overwrite the last one.
  ForgetFileName();
  d->ForgetRecovery();
  if (d->aos) d->aos->BtnSetValueClick();
  RefreshView();
}

void TMainForm::Open1Click() {
  if (!AskSaveChanges()) return;
  const QString file =
      d->prompts->OpenFile(this, StartFolder(int(FileKind::kHouse), d->fileName), kHouseFilter);
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
  AfterDocumentReplaced(fileName);
  RememberFile(fileName);
  d->ForgetRecovery();
  // Loaded all the same; the status bar says what looks wrong with the file.
  if (!r.warning.empty() && d->statusLabel)
    d->statusLabel->setText(
        tr("'%1': %2").arg(QFileInfo(fileName).fileName(), QString::fromStdString(r.warning)));
  return true;
}

void TMainForm::Close1Click() {
  if (d->fileName.isEmpty()) {
    // A recovered house proposes the name of the file it belonged to.
    const QString start = !d->recoveredName.isEmpty()
                              ? d->recoveredName
                              : StartFolder(int(FileKind::kHouse), d->fileName);
    const QString file = d->prompts->SaveFile(this, start, kHouseFilter, "tav");
    if (file.isEmpty()) return;
    d->fileName = file;
  }
  SaveResult r;
  {
    BusyScope busy(this, UiTextsFor(d->settings.Language).Working);
    r = SaveToFile(*d->doc, d->fileName.toStdString());
  }
  SetTitleFromFile(d->fileName);
  if (!r.ok) {
    d->prompts->Error(this, QString::fromStdString(r.error));
    return;
  }
  d->ForgetRecovery();
  RememberFile(d->fileName);
}

void TMainForm::SaveAs1Click() {
  const QString file = d->prompts->SaveFile(this, StartFolder(int(FileKind::kHouse), d->fileName),
                                            kHouseFilter, "tav");
  if (file.isEmpty()) return;
  d->fileName = file;
  Close1Click();
}

void TMainForm::Exit1Click() {
  close();
}

void TMainForm::MnExportClipClick() {
  const std::string name = HouseNameOf(d->fileName.toStdString());
  const SaveResult r = ExportClipText(*d->doc, d->clipboard, d->settings.LineWidth, name);
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
  d->titleName = house;
  AfterDocumentReplaced(QString());
  UpdateTitle();
}

void TMainForm::MnImportClick(int tag) {
  if (!AskSaveChanges()) return;
  const int base = MultiBaseHeight(tag);
  std::vector<MultiComponent> components;
  std::string error;
  // multi.mul or the multi container; the tile data tells the record size.
  if (!ReadClientMulti(d->settings.MultiIdx, d->settings.Multi, d->tiles->MultiRecordSize(), tag,
                       &components, &error)) {
    // A file that is not there: name it and say where it is set.
    const bool packed = ClientFileKindOf(d->settings.Multi) == ClientFileKind::kContainer;
    std::string tried;
    for (const std::string* path : {&d->settings.MultiIdx, &d->settings.Multi})
      if (tried.empty() && (!packed || path == &d->settings.Multi) &&
          ClientFileKindOf(*path) == ClientFileKind::kAbsent)
        tried = path->empty() ? (path == &d->settings.Multi ? "multi.mul" : "multi.idx") : *path;
    if (!tried.empty())
      d->prompts->Error(
          this,
          UiTextsFor(d->settings.Language).MultiOpenFailed.arg(QString::fromStdString(tried)));
    else
      d->prompts->Error(this, QString::fromStdString(error));
    return;
  }
  const LoadResult r = ImportMulti(*d->doc, components, base);
  if (!r.ok) {
    d->prompts->Error(this, QString::fromStdString(r.error));
    return;
  }
  // The standard house belongs to no file: Save asks for a name.
  ForgetFileName();
  AfterDocumentReplaced(QString());
}

void TMainForm::AfterDocumentReplaced(const QString& fileNameOrEmpty) {
  ShowBaseHeight();
  if (!fileNameOrEmpty.isEmpty()) SetCurrentFileName(fileNameOrEmpty);
  if (d->aos) d->aos->BtnSetValueClick();
  UpdatePaintBoxSize();
  // A house larger than the window opens at its middle, not at the empty sky
  // above its top corner.
  if (d->surface) d->surface->CenterView();
  RefreshView();
}

void TMainForm::CopyBMP1Click() {
  if (!d->view) return;
  QApplication::clipboard()->setImage(d->view->CaptureView());
}

namespace {

// The picture's file name as the dialog gave it, with the chosen filter's
// extension where it has none of its own.
std::string ChosenImageName(const QString& file, const QString& filter) {
  return ImageFileName(file.toStdString(), FormatOfFilter(filter));
}

}  // namespace

void TMainForm::ImageSaveas1Click() {
  if (!d->view) return;
  QString filter;
  const QString file = d->prompts->SaveFileFiltered(
      this, StartFolder(int(FileKind::kImage), QString()), kImageFilter, &filter);
  if (file.isEmpty()) return;
  NoteFolder(int(FileKind::kImage), file);
  const TBitmap24 bmp = d->view->CaptureBitmap();
  std::string bytes, error = "cannot encode an empty picture";
  const std::string name = ChosenImageName(file, filter);
  if (!EncodeImage(bmp, ImageFormatForSave(name), JpegQualityFor(d->settings.JpegQuality),
                   &bytes) ||
      !WriteFileAtomically(name, bytes, &error))
    d->prompts->Error(this, QString::fromStdString(error));
}

void TMainForm::MnWholeImageClick() {
  if (!d->tiles) return;
  QString filter;
  const QString file = d->prompts->SaveFileFiltered(
      this, StartFolder(int(FileKind::kImage), QString()), kImageFilter, &filter);
  if (file.isEmpty()) return;
  NoteFolder(int(FileKind::kImage), file);
  const std::string name = ChosenImageName(file, filter);
  WholeHouseOptions o;
  o.Floor = d->mouseEnv ? d->edit.Floor : -1;
  o.Zoom = Zoom();
  o.ShowGrid = d->act.MnShowGrid && d->act.MnShowGrid->isChecked();
  o.ShowCustomize = d->act.MnShowPropriety && d->act.MnShowPropriety->isChecked();
  o.Night = d->act.MnLight && d->act.MnLight->isChecked();
  o.BGType = d->settings.BGType;
  o.LargeBG = d->settings.isLargeBG;
  // The marks of the rule check as the view shows them after any change.
  if (o.ShowCustomize) d->doc->CheckCustomization();
  TBitmap24 picture;
  std::string bytes, error = "cannot encode an empty picture";
  bool ok = false;
  {
    // A picture of some million pixels takes longer than half a second.
    const SurfaceSize size = PaintBoxSize(d->doc->Width, d->doc->Height, o.Zoom);
    BusyScope busy(this, UiTextsFor(d->settings.Language).Working,
                   int64_t(size.Width) * size.Height >= kLongPicturePixels);
    ok = RenderWholeHouse(*d->doc, *d->tiles, o, &picture, &error) &&
         EncodeImage(picture, ImageFormatForSave(name), JpegQualityFor(d->settings.JpegQuality),
                     &bytes) &&
         WriteFileAtomically(name, bytes, &error);
  }
  if (!ok) d->prompts->Error(this, QString::fromStdString(error));
}

// ---- recent files and the dialogs' folders ----

QString TMainForm::StartFolder(int kind, const QString& current) const {
  if (!current.isEmpty()) return current;
  return QString::fromStdString(FolderFor(d->settings, FileKind(kind)));
}

void TMainForm::NoteFolder(int kind, const QString& chosen) {
  if (chosen.isEmpty()) return;
  FolderFor(d->settings, FileKind(kind)) =
      FolderOfPath(QFileInfo(chosen).absoluteFilePath().toStdString());
}

void TMainForm::RememberFile(const QString& fileName) {
  const QString full = QFileInfo(fileName).absoluteFilePath();
  AddRecentFile(&d->settings.RecentFiles, full.toStdString());
  NoteFolder(int(FileKind::kHouse), full);
}

QStringList TMainForm::RecentFiles() const {
  QStringList out;
  for (const std::string& f : d->settings.RecentFiles) out << QString::fromStdString(f);
  return out;
}

void TMainForm::OpenRecentFile(const QString& fileName) {
  if (!QFileInfo(fileName).isFile()) {
    RemoveRecentFile(&d->settings.RecentFiles, fileName.toStdString());
    d->prompts->Info(this, UiTextsFor(d->settings.Language).RecentMissing.arg(fileName));
    return;
  }
  if (!AskSaveChanges()) return;
  OpenHouseFile(fileName);
}

void TMainForm::MnClearRecentClick() {
  d->settings.RecentFiles.clear();
}

void TMainForm::FillRecentMenu() {
  QMenu* menu = d->act.MnRecent;
  if (!menu) return;
  for (QAction* a : menu->actions())
    if (a != d->act.MnClearRecent) {
      menu->removeAction(a);
      a->deleteLater();
    }
  QAction* before = menu->actions().isEmpty() ? nullptr : menu->actions().first();
  int n = 0;
  for (const QString& file : RecentFiles()) {
    ++n;
    auto* a = new QAction(QString("&%1 %2").arg(n).arg(file), menu);
    a->setObjectName(QString("MnRecentFile%1").arg(n));
    a->setStatusTip(file);
    connect(a, &QAction::triggered, this, [this, file] { OpenRecentFile(file); });
    menu->insertAction(before, a);
  }
  if (n > 0) menu->insertSeparator(before);
  if (d->act.MnClearRecent) d->act.MnClearRecent->setEnabled(n > 0);
}

// ---- the file name and the title ----

QString TMainForm::CurrentFileName() const {
  return d->fileName;
}

void TMainForm::SetCurrentFileName(const QString& name) {
  d->fileName = name;
  SetTitleFromFile(name);
}

void TMainForm::ForgetFileName() {
  d->fileName.clear();
  d->titleName.clear();
  UpdateTitle();
}

void TMainForm::SetTitleFromFile(const QString& fileName) {
  d->titleName =
      fileName.isEmpty() ? QString() : QString::fromStdString(HouseNameOf(fileName.toStdString()));
  UpdateTitle();
}

void TMainForm::UpdateTitle() {
  // "*" before the house's name while there are unsaved changes.
  d->titleModified = d->doc && d->doc->Modified;
  const QString mark = d->titleModified ? "*" : "";
  setWindowTitle(d->titleName.isEmpty() ? mark + kAppTitle
                                        : QString(kAppTitle) + " - " + mark + d->titleName);
}

// ---- files dropped on the window ----

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
  const QMimeData* mime = event->mimeData();
  if (mime->hasUrls() && !mime->urls().isEmpty() && mime->urls().first().isLocalFile())
    event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event) {
  if (HandleDrop(event->mimeData())) event->acceptProposedAction();
}

bool TMainForm::HandleDrop(const QMimeData* mime) {
  if (!mime || !mime->hasUrls() || mime->urls().isEmpty() || !mime->urls().first().isLocalFile())
    return false;
  const QString file = mime->urls().first().toLocalFile();
  // Handled after the drop returns, so that the source is not kept waiting
  // on the question.
  QTimer::singleShot(0, this, [this, file] {
    if (AskSaveChanges()) OpenHouseFile(file);
  });
  return true;
}

}  // namespace tavi
