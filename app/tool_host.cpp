#include "app/tool_host.h"

#include <QFileInfo>

#include "app/Unit1.h"
#include "app/u_aoswnd.h"
#include "client/settings.h"
#if __has_include("app/u_ctrlwnd.h")
#include "app/u_ctrlwnd.h"
#define TAVI_HAVE_CTRL_FORM 1
#endif

namespace tavi {

const ToolMessages& ToolHost::Msg() const {
  static const ToolMessages english;
  return messages ? *messages : english;
}

ToolHost ToolHostFromMain(TMainForm* main) {
  ToolHost h;
  if (!main) return h;
  h.doc = &main->Doc();
  h.tiles = main->TileData();
  h.settings = &main->Settings();
  h.aosForm = [main] { return main->AoSForm(); };
#ifdef TAVI_HAVE_CTRL_FORM
  h.currentTile = [main]() -> uint16_t {
    return main->CtrlForm() ? main->CtrlForm()->CurrentTile() : 0;
  };
  h.setCurrentTile = [main](uint16_t id) { main->SetCurrentTile(id); };
  h.objWindowHidden = [main] {
    if (main->CtrlForm() && main->CtrlForm()->isVisible()) main->CtrlForm()->SetObjWindowChecked(false);
  };
  h.aosWindowHidden = [main] {
    if (main->CtrlForm() && main->CtrlForm()->isVisible()) main->CtrlForm()->SetAoSWindowChecked(false);
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
