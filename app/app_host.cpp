#include "app/app_host.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLocale>
#include <QMimeData>

#include "app/aos_window.h"
#include "app/catalogue_window.h"
#include "app/control_window.h"
#include "app/main_window_impl.h"

namespace tavi {

bool MainDocHost::PartsLock() const {
  return window_.d->edit.PartsLock;
}

bool MainDocHost::ShowCustomizePropriety() const {
  const QAction* check = window_.d->act.MnShowPropriety;
  return check && check->isChecked();
}

int64_t MainDocHost::ReferencePrice() const {
  const TAoSForm* aos = window_.d->aos;
  return aos ? aos->ReferencePrice() : 0;
}

void MainDocHost::SetPrice(int64_t price, const std::string& lblPrice,
                           const std::string& lblDelta) {
  if (TAoSForm* aos = window_.d->aos)
    aos->SetPriceLabels(price, QString::fromStdString(lblPrice), QString::fromStdString(lblDelta));
}

char MainDocHost::ThousandsSeparator() const {
  // The price texts are 8-bit; a separator outside ASCII (a narrow space, for
  // instance) is shown as a plain space.
  const QString sep = QLocale().groupSeparator();
  if (sep.size() == 1 && sep[0].unicode() < 128) return char(sep[0].unicode());
  return ' ';
}

TTAVIDoc* MainWindowHost::Doc() const {
  return window_.d->doc.get();
}
const TUOTileData* MainWindowHost::Tiles() const {
  return window_.d->tiles.get();
}
TSettings& MainWindowHost::Settings() const {
  return window_.d->settings;
}
EditState& MainWindowHost::Edit() const {
  return window_.d->edit;
}
LangMessages MainWindowHost::Msg() const {
  // Before the first language switch the texts are those of the settings.
  const LangMessages& m = window_.d->messages;
  return m.MsgNotFound.isEmpty() ? MessagesFor(window_.d->settings.Language) : m;
}
UiPrompts& MainWindowHost::Prompts() const {
  return *window_.d->prompts;
}

void MainWindowHost::SetCurrentTile(uint16_t id) {
  window_.SetCurrentTile(id);
}
IAosChoice* MainWindowHost::Aos() const {
  return window_.d->aos;
}
// Also while the control window is hidden (View menu, cache import), so that
// it shows the truth when it comes back; not during shutdown.
void MainWindowHost::CatalogueHidden() {
  if (TCtrlForm* ctrl = window_.d->ctrl; ctrl && !ctrl->Detached())
    ctrl->SetObjWindowChecked(false);
}
void MainWindowHost::AosHidden() {
  if (TCtrlForm* ctrl = window_.d->ctrl; ctrl && !ctrl->Detached())
    ctrl->SetAoSWindowChecked(false);
}

void MainWindowHost::HideCtrlForDialog() {
  if (window_.d->ctrl) window_.d->ctrl->HideForDialog();
}
void MainWindowHost::RestoreCtrlAfterDialog() {
  if (window_.d->ctrl) window_.d->ctrl->RestoreAfterDialog();
}
bool MainWindowHost::AskSaveChanges() {
  return window_.AskSaveChanges();
}
void MainWindowHost::AfterCacheImport() {
  if (window_.d->ctrl) window_.d->ctrl->KeepDialogFloor();
  window_.ShowBaseHeight();
  // The cached house belongs to no file: a Save must not overwrite the last one.
  window_.ForgetFileName();
  window_.UpdatePaintBoxSize();
  if (window_.d->aos) window_.d->aos->BtnSetValueClick();
  window_.RefreshView();
}

void MainWindowHost::Redraw() {
  window_.Redraw();
}
int MainWindowHost::DetailX() const {
  return window_.DetailX();
}
int MainWindowHost::DetailY() const {
  return window_.DetailY();
}
CellRect MainWindowHost::Selection() const {
  return window_.Selection();
}
void MainWindowHost::SetHiddenCell(int x, int y, bool hidden) {
  window_.SetHiddenCell(x, y, hidden);
}
void MainWindowHost::SetZoom(double zoom) {
  window_.SetZoom(zoom);
}
QWidget* MainWindowHost::CatalogueWindow() const {
  return window_.d->obj;
}
QWidget* MainWindowHost::AosWindow() const {
  return window_.d->aos;
}

bool QtTextClipboard::HasText() const {
  const QMimeData* data = QApplication::clipboard()->mimeData();
  return data && data->hasText();
}

std::string QtTextClipboard::GetText() const {
  return QApplication::clipboard()->text().toStdString();
}

void QtTextClipboard::SetText(const std::string& text) {
  QApplication::clipboard()->setText(QString::fromStdString(text));
}

}  // namespace tavi
