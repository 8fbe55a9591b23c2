#pragma once
// The control window: current floor, altitude and base height, the current
// tile's picture and facts, the edit mode, the tile stack of the detail cell,
// add and delete on the selection, hidden cells, the tool window switches and
// the zoom. It floats above the main window and can follow its right edge.
#include <QWidget>
#include <cstdint>

#include "app/tool_host.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSlider;

namespace tavi {

class TCtrlForm : public QWidget {
  Q_OBJECT

 public:
  // Floats above `parent` (the main window). The host outlives the window.
  explicit TCtrlForm(IControlHost& host, QWidget* parent = nullptr);
  ~TCtrlForm() override;

  // The edit state's values; the setters show them on the window and run
  // the bar's change as a user's move would.
  uint16_t CurrentTile() const { return host_.Edit().Tile; }
  void SetCurrentTile(uint16_t id) { host_.Edit().Tile = id; }  // ShowCurrentTile shows it
  int CurrentFloor() const { return host_.Edit().Floor; }
  void SetFloor(int floor);  // moves the floor bar (and runs its change)
  int Alt() const { return host_.Edit().Alt; }
  void SetAlt(int alt);
  int BaseHeight() const;
  void SetBaseHeight(int base);  // clamped to 0..9 by the bar
  bool PartsLock() const { return host_.Edit().PartsLock; }
  int EditMode() const { return host_.Edit().Mode; }
  void SetEditMode(int mode);
  // Shows the whole edit state: the floor and altitude bars, the edit mode,
  // Parts Lock and the current tile.
  void ShowEditState();

  QCheckBox* CBObjWindow = nullptr;
  QCheckBox* CBAoSWindow = nullptr;
  void SetObjWindowChecked(bool on);
  void SetAoSWindowChecked(bool on);
  // The cache import dialog hides this window and brings it back.
  void HideForDialog();
  void RestoreAfterDialog();
  // A house was imported while the dialog was open: its floor stays after it.
  void KeepDialogFloor() { keepDialogFloor_ = true; }

  void ShowCurrentTile();
  void RefreshCellList();
  // RefreshView's part: the list emptied and the cell buttons disabled.
  void ClearCellList();
  void SetZoomText(const QString& text);
  QString ZoomText() const;
  // The zoom box's apply step: "150%", "150" -> 1.5; not a number -> "100%".
  void ApplyZoomText();
  // Zoom percentages that do not parse, or lie outside 10..1600, fall back.
  static bool ParseZoomText(const QString& text, int* percent);

  // Handlers, public for the main window's menus and for tests.
  void BtnDeleteClick();
  void BtnAddClick();
  void BtnShowClick();
  void BtnHideClick();
  void BtnShowAllClick();
  void BtnCellUpClick();
  void BtnCellDownClick();
  void BtnCellDeleteClick();
  void LBDetailClick();
  void CBObjWindowClick();
  void CBAoSWindowClick();

  QListWidget* LBDetail() const { return lbDetail_; }
  QComboBox* CBMag() const { return cbMag_; }
  // Detaches the tool windows' hide notifications (shutdown).
  void DetachToolWindows() { detached_ = true; }
  bool Detached() const { return detached_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Shows or hides a tool window; the first time it is shown it is placed
  // (PlaceToolWindow).
  void ShowToolWindow(QWidget* w, bool show);
  // The first place and size of a tool window (interaction/tool_place).
  void PlaceToolWindow(QWidget* w);

  void build();
  // The bars, the edit mode and Parts Lock as the edit state has them.
  void ShowBarsAndModes();
  void TBFloorChange();
  void TBHeightChange();
  void TBBaseHeightChange();
  bool ListComplete() const;
  int SelectedLayer() const;
  void setCellButtons(bool on);
  // Show and Hide: every cell of the selection.
  void SetHiddenInSelection(bool hidden);

  IControlHost& host_;
  bool detached_ = false;
  bool wasVisibleBeforeDialog_ = false;
  int floorBeforeDialog_ = 1;
  bool keepDialogFloor_ = false;

  QLabel* idxImg_ = nullptr;
  QLabel* lblNumber_ = nullptr;
  QLabel* lblName_ = nullptr;
  QLabel* lblHeight_ = nullptr;
  QLabel* lblWeight_ = nullptr;
  QLabel* lblFloor_ = nullptr;
  QLabel* lblAlt_ = nullptr;
  QLabel* lblBase_ = nullptr;
  QSlider* tbFloor_ = nullptr;
  QSlider* tbHeight_ = nullptr;
  QSlider* tbBaseHeight_ = nullptr;
  QGroupBox* rgEditmode_ = nullptr;
  QRadioButton* modes_[3] = {};
  QListWidget* lbDetail_ = nullptr;
  QPushButton* btnCellUp_ = nullptr;
  QPushButton* btnCellDown_ = nullptr;
  QPushButton* btnCellDelete_ = nullptr;
  QComboBox* cbMag_ = nullptr;
  QCheckBox* cbPartsLock_ = nullptr;
};

}  // namespace tavi
