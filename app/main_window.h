#pragma once
// The main window: the drawing surface in a scrolled view, the File, Edit, View
// and Help menus, the settings, the one document and the tile data. It owns
// every window of the program; they are created once at start-up and only
// shown or hidden afterwards. Each is made from its host interface
// (app/tool_host.h), which MainWindowHost implements; none of them calls the
// main window. Its public face is the program's start and the menu commands;
// tests reach the rest through MainFormTestAccess.
#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>

#include "app/languages.h"
#include "document/house_document.h"
#include "settings/settings.h"

class QMimeData;

namespace tavi {

class TUOTileData;
class TCtrlForm;
class TCfgForm;
class TObjForm;
class TAoSForm;
class TMultiForm;
class TUpdateForm;
class TFoundationForm;
class RecoveryHook;
class MainMouse;
class MainMouseEnv;
class UiPrompts;

// How the editor was started (command line and test overrides).
struct StartOptions {
  QString houseFile;       // opened at the first idle step when not empty
  QString demoClientDir;   // used when neither the settings nor discovery find a client
  QString settingsFolder;  // empty: the usual place (beside the program or XDG)
  // Message boxes, questions and file dialogs; null gives the real dialogs.
  std::shared_ptr<UiPrompts> prompts;
};

class TMainForm : public QMainWindow {
  Q_OBJECT

 public:
  explicit TMainForm(const StartOptions& options = StartOptions(), QWidget* parent = nullptr);
  ~TMainForm() override;

  bool StartupFailed() const;  // the client files were missing at start-up

  // ---- the commands of the menus (main_window_menus.cpp,
  // main_window_files.cpp, main_window_design.cpp) ----
  // Edit
  void Edit1Click();  // enabling of the Edit menu's items
  void MnUndoClick();
  void MnRedoClick();
  void MnCutClick();
  void MnCopyClick();
  void MnPasteClick();
  void MnDeleteClick();
  void MnReplaceWallClick();
  void MnFoundationClick();
  void MnDeleteCustomizeClick();
  void Option1Click();
  // View
  void MnShowProprietyClick();
  void MnStickWndClick();
  void MnCtrlWndClick();
  void View1Click();
  // Help
  void About1Click();
  void MnContentsClick();
  // File
  void MnNewFileClick();
  void Open1Click();
  bool OpenHouseFile(const QString& fileName);  // Open after its dialog
  void Close1Click();                           // Save
  void SaveAs1Click();
  void Exit1Click();
  void MnExportClipClick();
  void MnImportClipClick();
  void MnImportClick(int tag);
  void MnImportDesignClick();
  void MnExportDesignClick();
  void CopyBMP1Click();
  void ImageSaveas1Click();
  // The whole plot with every floor up to the current one, at the current
  // zoom, as tavi-cli render draws it.
  void MnWholeImageClick();
  void MnClearRecentClick();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // What the window's hosts and the tests (MainFormTestAccess) reach.

  // ---- start-up, settings and the other windows (main_window.cpp) ----
  TTAVIDoc& Doc();                      // the one document
  const TUOTileData* TileData() const;  // null until loaded
  TSettings& Settings();
  QString SettingsPath() const;
  TCtrlForm* CtrlForm();
  TCfgForm* CfgForm();
  TObjForm* ObjForm();
  TAoSForm* AoSForm();
  TMultiForm* MultiForm();
  TUpdateForm* UpdateForm();
  TFoundationForm* FoundationForm();
  RecoveryHook* Recovery();  // null when start-up failed
  UiPrompts& Prompts();
  // The message texts of the current language.
  const LangMessages& Messages() const;
  // The document's host and the text clipboard the editor uses.
  IDocHost& DocHost();
  ITextClipboard& Clipboard();
  void SetCurrentTile(uint16_t id);  // the control window's current tile + ShowCurrentTile
  // The document's base height; setting it shows it on the control window.
  int BaseHeight() const;
  void SetBaseHeight(int h);
  // Puts the document's base height on the control window's bar.
  void ShowBaseHeight();
  void ApplyLanguageToAll();
  void FillBackground(int bgType);
  // Takes over settings chosen in the configuration dialog: the stay-on-top
  // style of the tool windows, the language, the background and the plot
  // size (the document is resized when it differs) follow them.
  void ApplySettings(const TSettings& chosen);

  // ---- files (main_window_files.cpp) ----
  // File > Recent Files: opens `fileName` (a missing one leaves the list
  // with a message).
  void OpenRecentFile(const QString& fileName);
  QStringList RecentFiles() const;
  // The unsaved-changes question; false when the command must stop.
  bool AskSaveChanges();
  // A file dropped on the window: opened (after the unsaved-changes question)
  // once the drop has returned. False when the data names no local file.
  bool HandleDrop(const QMimeData* data);
  // The common tail of Open/imports: the house's base height on the control
  // window, AoS totals, surface size, RefreshView; the file name when one is
  // given (empty keeps the current one).
  void AfterDocumentReplaced(const QString& fileNameOrEmpty);
  QString CurrentFileName() const;
  void SetCurrentFileName(const QString& name);  // also the title
  // A house that no file holds yet: Save asks for a name, the title is bare.
  void ForgetFileName();

  // ---- the view and the interaction state (main_window_view.cpp) ----
  QWidget* PaintBox();     // the drawing surface
  MainMouse& Mouse();      // the mouse and keyboard rules of the surface
  void Redraw();           // repaint the drawing surface
  void RefreshCellList();  // the control window's detail list (repaints too)
  void RefreshView();      // anchor table, cell list, ResetUndo, repaint
  void UpdatePaintBoxSize();
  double Zoom() const;
  void SetZoom(double zoom);
  void ZoomStep(bool in);  // Page Up / Page Down
  int DetailX() const;
  int DetailY() const;
  void SetDetailCell(int x, int y);
  // Selection rectangle: left, top, right, bottom; Left -1 means none.
  const CellRect& Selection() const;
  void SetSelection(const CellRect& rect);
  bool HiddenCell(int x, int y) const;
  void SetHiddenCell(int x, int y, bool hidden);
  const TBackgroundMap& BackgroundMap() const;
  // Docks the control window at the right edge (resize rule when `clampToScreen`).
  void DockControlWindow(bool clampToScreen);
  // At the first show: moves (and if need be narrows) the main window so
  // that it and the docked control window lie wholly on the screen.
  void PlaceForFirstShow();

  struct Impl;
  std::unique_ptr<Impl> d;
  friend class MainMouseEnv;
  friend class MainDocHost;
  friend class MainWindowHost;
  // The tests' way to the state behind the window (tests/app/main_form_test_access.h).
  friend class MainFormTestAccess;
  void FormCreate();
  void CreateMenus();
  void CreateWindows();
  void FirstIdle();
  void RedrawTimerTimer();
  void SetTitleFromFile(const QString& fileName);
  // The title with the unsaved-changes mark when the document is modified.
  void UpdateTitle();
  void RememberFile(const QString& fileName);  // recent files and the house folder
  void FillRecentMenu();
  // The folder a file dialog of `kind` starts in: the current file's, else
  // the one last used for that kind.
  QString StartFolder(int kind, const QString& current) const;
  void NoteFolder(int kind, const QString& chosen);
  // Loads the tile data named by the settings; false with the reason.
  bool LoadTileData(QString* error);
  // The first start without the client's files: the message and the
  // configuration dialog; true when its Ok named a client that loaded.
  bool AskForClientAtStart(const QString& loadError);
  QString KnownDemoClient() const;
  void MakeCfgForm();  // the configuration dialog with its choosers
};

}  // namespace tavi
