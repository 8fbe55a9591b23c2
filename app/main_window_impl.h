#pragma once
// The main window's own state, shared by the files that implement it (one
// file per concern: start-up and settings, menus, file commands, the view).
// Only the main window's files include this header.
#include <QString>
#include <array>
#include <memory>

#include "app/app_host.h"
#include "app/languages.h"
#include "app/main_window.h"
#include "app/recovery_hook.h"
#include "app/start_notices.h"
#include "interaction/demo_client_use.h"
#include "interaction/edit_state.h"
#include "interaction/main_mouse.h"
#include "render/projection.h"
#include "settings/settings.h"

class QAction;
class QLabel;
class QMenu;
class QTimer;
class QTranslator;

namespace tavi {

class MainSurface;
class THouseView;

inline constexpr char kAppTitle[] = "Tavi Editor";

// The main window's menu items, each named as its object is; null until the
// menus exist.
struct MainMenuActions {
  // File
  QAction *MnNewFile = nullptr, *Open1 = nullptr, *Close1 = nullptr, *SaveAs1 = nullptr;
  QAction *MnImportClip = nullptr, *MnExportClip = nullptr, *MnImportCache = nullptr;
  QAction *ImageSaveas1 = nullptr, *Exit1 = nullptr;
  QAction *MnWholeImage = nullptr, *MnClearRecent = nullptr;
  QMenu* MnRecent = nullptr;
  // Edit
  QAction *MnUndo = nullptr, *MnRedo = nullptr, *MnCut = nullptr, *MnCopy = nullptr;
  QAction *MnPaste = nullptr, *MnDelete = nullptr, *CopyBMP1 = nullptr;
  QAction *MnReplaceWall = nullptr, *MnFoundation = nullptr, *MnDeleteCustomize = nullptr;
  QAction* Option1 = nullptr;
  // View
  QAction *MnHideWalls = nullptr, *MnShowGrid = nullptr, *MnDownstair = nullptr;
  QAction *MnShowPropriety = nullptr, *MnLight = nullptr, *MnStickWnd = nullptr;
  QAction* MnCtrlWnd = nullptr;
  // Help
  QAction *MnContents = nullptr, *About1 = nullptr;
};

// What the mouse rules ask of the view.
class MainMouseEnv : public IMouseEnv {
 public:
  explicit MainMouseEnv(TMainForm* m) : m_(m) {}
  bool CellAtPoint(int px, int py, int floor, int* x, int* y) const override;
  int PickTile(int px, int py) const override;
  void Redraw() override;
  void RefreshDetailList() override;
  void SetTimerEnabled(bool on) override;
  void ZoomStep(bool in) override;

 private:
  TMainForm* m_;
};

struct TMainForm::Impl {
  StartOptions options;
  std::shared_ptr<UiPrompts> prompts;
  TSettings settings;
  QString settingsPath;
  StartNotices notices;  // said once when the event loop first idles
  // The recovery copy of unsaved work, and the name of the file a recovered
  // house belonged to (Save proposes it).
  std::unique_ptr<RecoveryHook> recovery;
  QString recoveredName;
  void ForgetRecovery() {
    if (recovery) recovery->Forget();
    recoveredName.clear();
  }
  bool startupFailed = false;
  DemoClientUse demo;
  std::unique_ptr<MainDocHost> host;
  // What the next click does; the control and AoS windows show it.
  EditState edit;
  // What the windows read and ask; made before them, gone after them.
  std::unique_ptr<MainWindowHost> windowHost;
  QtTextClipboard clipboard;
  std::unique_ptr<TTAVIDoc> doc;
  std::unique_ptr<TUOTileData> tiles;
  TBackgroundMap background{};
  TProjection projection;
  int anchorsBase = -1;
  std::array<std::array<bool, kGrid>, kGrid> hidden{};
  QString fileName;
  QString titleName;           // the house name the title shows (empty: none)
  bool titleModified = false;  // the title shows the unsaved-changes mark
  LangMessages messages = MessagesFor(kLangEnglish);
  // Qt's own texts in the chosen language (installed while one is loaded).
  std::unique_ptr<QTranslator> qtTranslator;

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

  MainMenuActions act;
  bool placedOnce = false;  // the first show has placed the windows
};

}  // namespace tavi
