#pragma once
// A grid of equally sized picture cells with one selected cell, scrolled
// vertically. Only the visible cells are painted; what a cell shows comes from
// the owner's draw callback, and the owner may refuse a selection.
#include <QAbstractScrollArea>
#include <functional>

namespace tavi {

class PictureGrid : public QAbstractScrollArea {
  Q_OBJECT
 public:
  explicit PictureGrid(QWidget* parent = nullptr);

  void SetCellSize(int w, int h);
  int CellWidth() const { return cellW_; }
  int CellHeight() const { return cellH_; }
  // Draw a one-pixel line between cells (the catalogue grid does).
  void SetGridLines(bool on);
  void SetColCount(int n);
  void SetRowCount(int n);
  int ColCount() const { return cols_; }
  int RowCount() const { return rows_; }
  int Col() const { return col_; }
  int Row() const { return row_; }
  // Moves the selection; with notify the select callback may refuse it.
  // Returns whether the selection is now at (col, row).
  bool SelectCell(int col, int row, bool notify = true);
  // Scrolls so that the row is visible.
  void ScrollToRow(int row);
  int TopRow() const;
  int VisibleRows() const;
  // Width available for columns (the viewport's width).
  int ClientWidth() const;

  // Paints cell (col, row) into rect; `selected` is the focused cell.
  std::function<void(QPainter&, const QRect&, int col, int row, bool selected)> drawCell;
  // Asked before the selection moves to (col, row); false refuses the move.
  std::function<bool(int col, int row)> selectCell;
  // A mouse click on the grid (after any selection change).
  std::function<void()> clicked;
  std::function<void()> doubleClicked;
  std::function<void()> resized;

 signals:
  // The selected cell is another one now, whatever moved it.
  void selectionMoved();

 protected:
  void paintEvent(QPaintEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  int pitchW() const { return cellW_ + (lines_ ? 1 : 0); }
  int pitchH() const { return cellH_ + (lines_ ? 1 : 0); }
  void updateScrollBar();
  int cellW_ = 44, cellH_ = 44, cols_ = 1, rows_ = 0, col_ = 0, row_ = 0;
  bool lines_ = false;
};

}  // namespace tavi
