#pragma once
// The foundation style dialog: sign, hanger, post and foundation style picked
// from pictures, preselected from the house.
#include <QDialog>
#include <cstdint>

#include "app/tool_host.h"

class QTabWidget;

namespace tavi {

class PictureGrid;

// The seven tile ids of a foundation, in the order the builder takes them.
struct FoundationChoice {
  uint16_t Sign = 3026, Hanger = 2970, Post = 9;  // the default foundation
  uint16_t EdgeNS = 99, CornerSE = 101, EdgeWE = 100, CornerNW = 102;
};

class TFoundationForm : public QDialog {
  Q_OBJECT
 public:
  explicit TFoundationForm(IFoundationHost& host, QWidget* parent = nullptr);
  ~TFoundationForm() override;

  // Shows the dialog modally on the host's document; true when closed with
  // OK. The chosen ids are in Result() either way (a blank post cell keeps the
  // previous post).
  bool Execute();
  const FoundationChoice& Result() const { return result_; }

  // Preselection from the document (what showing the dialog does) and the
  // taking of the result (what closing does); public for tests.
  void FormShow();
  void FormClose();
  PictureGrid* SignGrid() const { return grids_[0]; }
  PictureGrid* HangerGrid() const { return grids_[1]; }
  PictureGrid* PostGrid() const { return grids_[2]; }
  PictureGrid* StyleGrid() const { return grids_[3]; }

 protected:
  void showEvent(QShowEvent* e) override;
  void done(int r) override;

 private:
  void build();

  IFoundationHost& host_;
  FoundationChoice result_;
  PictureGrid* grids_[4] = {nullptr, nullptr, nullptr, nullptr};
  QTabWidget* pages_ = nullptr;
};

}  // namespace tavi
