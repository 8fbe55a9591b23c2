// The main window's file commands: New, Open, Save, the clipboard text, the
// imports, the pictures of the view and files dropped on the window.
#include <QApplication>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

#include "app/aos_window.h"
#include "app/main_surface.h"
#include "app/main_window.h"
#include "app/main_window_impl.h"
#include "app/ui_prompts.h"
#include "client/multi_files.h"
#include "io/atomic_file.h"
#include "io/clip_text.h"
#include "io/house_file.h"
#include "io/multi_import.h"
#include "io/multi_menu.h"
#include "render/gl/house_view.h"
#include "render/image_export.h"

namespace tavi {

namespace {

const char kHouseFilter[] = "Tavi File(*.tav/*.txt) (*.tav *.txt);;All Files (*)";
const char kImageFilter[] = "Windows Bitmap(*.bmp) (*.bmp);;JPEG(*.jpg) (*.jpg);;All Files (*)";

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
  if (!AskSaveChanges()) return;
  const int base = MultiBaseHeight(tag);
  std::vector<MultiComponent> components;
  std::string error;
  // multi.mul or the multi container; the tile data tells the record size.
  if (!ReadClientMulti(d->settings.MultiIdx, d->settings.Multi, d->tiles->MultiRecordSize(), tag,
                       &components, &error)) {
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
  AfterDocumentReplaced(base, QString());
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

void TMainForm::CopyBMP1Click() {
  if (!d->view) return;
  QApplication::clipboard()->setImage(d->view->CaptureView());
}

void TMainForm::ImageSaveas1Click() {
  if (!d->view) return;
  const QString file = d->prompts->SaveFile(this, QString(), kImageFilter, "bmp");
  if (file.isEmpty()) return;
  const TBitmap24 bmp = d->view->CaptureBitmap();
  std::string bytes, error = "cannot encode an empty picture";
  const std::string name = file.toStdString();
  if (!EncodeImage(bmp, ImageFormatForSave(name), JpegQualityFor(d->settings.JpegQuality),
                   &bytes) ||
      !WriteFileAtomically(name, bytes, &error))
    d->prompts->Error(this, QString::fromStdString(error));
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
  setWindowTitle(kAppTitle);
}

void TMainForm::SetTitleFromFile(const QString& fileName) {
  setWindowTitle(QString::fromStdString(WindowTitleFor(fileName.toStdString())));
}

// ---- files dropped on the window ----

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

}  // namespace tavi
