#pragma once
// The AoS objects window: the customization parts by type as a 12-column
// picture grid, and the design's price against a reference price.
#include <QWidget>
#include <cstdint>

#include "app/tool_host.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;

namespace tavi {

class PictureGrid;

class TAoSForm : public QWidget, public IAosChoice {
  Q_OBJECT
 public:
  static constexpr int kColumns = 12;
  static constexpr int kCellWidth = 44;
  static constexpr int kCellHeight = 88;

  // The host outlives the window.
  explicit TAoSForm(IAosHost& host, QWidget* parent = nullptr);
  ~TAoSForm() override;

  // Written by the document's recount.
  void SetPriceLabels(int64_t price, const QString& lblPrice, const QString& lblDelta);
  int64_t ReferencePrice() const { return reference_; }
  int64_t CurrentPrice() const { return price_; }
  // "->": the current price becomes the reference price, then a recount.
  void TakeReferencePrice();
  void BtnSetValueClick() { TakeReferencePrice(); }
  // Leaving the reference price edit: its text as a decimal integer (0 when
  // it is not one), then a recount.
  void EdOldPriceExit();

  // The type list (an AosType) and the grid's selected cell, read by the
  // main window (auto stairs direction, wall replacement) and, through
  // IAosChoice, by the control and catalogue windows.
  bool IsShown() const override { return isVisible(); }
  int TypeIndex() const override;
  // Moves the type list without running the type change (catalogue click rule).
  void SetTypeIndexSilently(int index) override;
  void SetTypeIndex(int index);
  int SelectedCol() const override;
  int SelectedRow() const override;
  PictureGrid* Grid() const { return grid_; }
  QComboBox* TypeList() const { return cbType_; }
  QString StatusText() const;
  void SelectGridCell(int col, int row);
  // Rebuilds the type list's items (language change), keeping the selection.
  void SetTypeNames(const QStringList& names);

 protected:
  void showEvent(QShowEvent* e) override;
  void hideEvent(QHideEvent* e) override;

 private:
  void build();
  void CBTypeChange();
  bool DGObjSelectCell(int col, int row);
  // The edit state's staircase: on while this window is shown on
  // "Stairs(Auto Stack)", with the grid's column and row.
  void WriteStairs();

  IAosHost& host_;
  int64_t price_ = 0;
  int64_t reference_ = 0;
  QComboBox* cbType_ = nullptr;
  QLabel* lblPrice_ = nullptr;
  QLabel* lblDelta_ = nullptr;
  QLabel* lblLimits_ = nullptr;  // the game's limits the design breaks
  QLineEdit* edOldPrice_ = nullptr;
  QPushButton* btnSetValue_ = nullptr;
  PictureGrid* grid_ = nullptr;
  QStatusBar* statusBar_ = nullptr;
};

}  // namespace tavi
