#include "app/tool_host.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>

#include "app/main_window.h"
#include "app/aos_window.h"
#include "app/ui_prompts.h"
#include "settings/settings.h"
#if __has_include("app/control_window.h")
#include "app/control_window.h"
#define TAVI_HAVE_CTRL_FORM 1
#endif

namespace tavi {

LangMessages ToolHost::Msg() const {
  if (messages) {
    const LangMessages* m = messages();
    if (m && !m->MsgNotFound.isEmpty()) return *m;
  }
  return MessagesFor(settings ? settings->Language : 0);
}

void ToolHost::Info(QWidget* parent, const QString& text) const {
  if (info) {
    info(parent, text);
    return;
  }
  QMessageBox::information(parent, QGuiApplication::applicationDisplayName(), text);
}

bool ToolHost::YesNo(QWidget* parent, const QString& text) const {
  if (yesNo) return yesNo(parent, text);
  return QMessageBox::question(parent, QGuiApplication::applicationDisplayName(), text,
                               QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

bool ToolHost::Input(QWidget* parent, const QString& caption, const QString& prompt,
                     QString* answer) const {
  if (input) return input(parent, caption, prompt, answer);
  bool ok = false;
  const QString text =
      QInputDialog::getText(parent, caption, prompt, QLineEdit::Normal, QString(), &ok);
  if (ok) *answer = text;
  return ok;
}

ToolHost ToolHostFromMain(TMainForm* main) {
  ToolHost h;
  if (!main) return h;
  h.docSource = [main] { return &main->Doc(); };
  h.tileSource = [main] { return main->TileData(); };
  h.settings = &main->Settings();
  h.aosForm = [main] { return main->AoSForm(); };
  h.messages = [main] { return &main->Messages(); };
  h.setCurrentTile = [main](uint16_t id) { main->SetCurrentTile(id); };
  h.info = [main](QWidget* parent, const QString& text) { main->Prompts().Info(parent, text); };
  h.yesNo = [main](QWidget* parent, const QString& text) {
    return main->Prompts().YesNo(parent, text);
  };
#ifdef TAVI_HAVE_CTRL_FORM
  h.currentTile = [main]() -> uint16_t {
    return main->CtrlForm() ? main->CtrlForm()->CurrentTile() : 0;
  };
  h.objWindowHidden = [main] {
    if (main->CtrlForm() && main->CtrlForm()->isVisible())
      main->CtrlForm()->SetObjWindowChecked(false);
  };
  h.aosWindowHidden = [main] {
    if (main->CtrlForm() && main->CtrlForm()->isVisible())
      main->CtrlForm()->SetAoSWindowChecked(false);
  };
  h.hideCtrlForDialog = [main] {
    if (main->CtrlForm()) main->CtrlForm()->HideForDialog();
  };
  h.restoreCtrlAfterDialog = [main] {
    if (main->CtrlForm()) main->CtrlForm()->RestoreAfterDialog();
  };
#endif
  h.afterCacheImport = [main](int baseHeight) {
    main->SetBaseHeight(baseHeight);
    // The cached house belongs to no file: a Save must not overwrite the last one.
    main->ForgetFileName();
    main->UpdatePaintBoxSize();
    if (main->AoSForm()) main->AoSForm()->BtnSetValueClick();
    main->RefreshView();
  };
  return h;
}

QString ToolSettingsFolder(TMainForm* main) {
  if (!main) return QString();
  const QString dir = QFileInfo(main->SettingsPath()).absolutePath();
  return dir.endsWith('/') ? dir : dir + '/';
}

}  // namespace tavi
