#include "app/foundation_dialog.h"

#include <QPainter>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/picture_grid.h"
#include "app/tool_art.h"
#include "document/foundation_tables.h"
#include "document/house_document.h"

namespace tavi {
namespace {

struct GridShape {
  const char* page;
  const char* pageName;
  const char* grid;
  int cols, rows, cellW, cellH;
};
constexpr GridShape kShapes[4] = {
    {"TSSign", "Sign", "DGSign", kSignColumns, kSignRows, 40, 36},
    {"TSHanger", "Hanger", "DGHanger", kHangerColumns, kHangerRows, 44, 44},
    {"TSPost", "Post", "DGPost", kPostColumns, kPostRows, 44, 104},
    {"TSStyle", "Foundation Style", "DGFound", kFoundationStyleCount, 1, 44, 60},
};

// The id shown in cell (c, r) of grid g; 0 for none.
uint16_t CellId(int g, int c, int r) {
  const GridShape& s = kShapes[g];
  if (c < 0 || r < 0 || c >= s.cols || r >= s.rows) return 0;
  switch (g) {
    case 0:
      return SignAt(c, r);
    case 1:
      return HangerAt(c, r);
    case 2:
      return PostAt(c, r);
    default:
      return FoundationStyleAt(c).cornerSE;
  }
}

// Selects the first cell (row by row) holding `id`; (0, 0) when none does.
void SelectId(PictureGrid* grid, int g, uint16_t id) {
  grid->SelectCell(0, 0, false);
  if (id == 0) return;
  for (int r = 0; r < kShapes[g].rows; ++r)
    for (int c = 0; c < kShapes[g].cols; ++c)
      if (CellId(g, c, r) == id) {
        grid->SelectCell(c, r, false);
        return;
      }
}

}  // namespace

TFoundationForm::TFoundationForm(IFoundationHost& host, QWidget* parent)
    : QDialog(parent), host_(host) {
  setObjectName("FoundationForm");
  setWindowTitle("Foundation Styles");
  build();
}

TFoundationForm::~TFoundationForm() = default;

void TFoundationForm::build() {
  pages_ = new QTabWidget(this);
  pages_->setObjectName("PageControl1");
  for (int g = 0; g < 4; ++g) {
    const GridShape& s = kShapes[g];
    auto* page = new QWidget(pages_);
    page->setObjectName(s.page);
    auto* grid = new PictureGrid(page);
    grid->setObjectName(s.grid);
    grid->SetCellSize(s.cellW, s.cellH);
    grid->SetColCount(s.cols);
    grid->SetRowCount(s.rows);
    grid->setMinimumSize(s.cols * s.cellW + 24, std::min(s.rows * s.cellH, 380) + 4);
    grid->drawCell = [this, g](QPainter& p, const QRect& rect, int c, int r, bool selected) {
      const uint16_t id = CellId(g, c, r);
      if (id == 0) return;
      const QColor fill = palette().color(selected ? QPalette::Highlight : QPalette::Mid);
      p.drawImage(rect.topLeft(),
                  ItemPicture(host_.Tiles(), id, kShapes[g].cellW, kShapes[g].cellH, fill));
    };
    auto* lay = new QVBoxLayout(page);
    lay->addWidget(grid);
    pages_->addTab(page, s.pageName);
    grids_[g] = grid;
  }
  auto* ok = new QPushButton("Ok", this);
  ok->setObjectName("BtnOk");
  ok->setDefault(true);
  auto* cancel = new QPushButton("Cancel", this);
  cancel->setObjectName("BtnCancel");
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* lay = new QVBoxLayout(this);
  lay->addWidget(pages_, 1);
  lay->addLayout(buttons);
}

bool TFoundationForm::Execute() {
  return exec() == QDialog::Accepted;
}

void TFoundationForm::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (!e->spontaneous()) FormShow();
}

void TFoundationForm::done(int r) {
  FormClose();
  QDialog::done(r);
}

void TFoundationForm::FormShow() {
  const TTAVIDoc* doc = host_.Doc();
  auto idAt = [doc](int x, int y, int layer) -> uint16_t {
    if (!doc || !doc->InPlot(x, y)) return 0;
    return doc->Tiles[0][layer][y][x].Id;
  };
  const int w = doc ? doc->Width : 0, h = doc ? doc->Height : 0;
  SelectId(grids_[0], 0, idAt(0, h - 1, 0));
  SelectId(grids_[1], 1, idAt(0, h - 1, 1));
  SelectId(grids_[2], 2, idAt(0, h - 2, 1));
  grids_[3]->SelectCell(0, 0, false);
  const uint16_t corner = idAt(w - 2, h - 2, 0);
  for (int s = 0; s < kFoundationStyleCount; ++s)
    if (corner != 0 && FoundationStyleAt(s).cornerSE == corner) {
      grids_[3]->SelectCell(s, 0, false);
      break;
    }
  result_.Sign = CellId(0, grids_[0]->Col(), grids_[0]->Row());
  result_.Hanger = CellId(1, grids_[1]->Col(), grids_[1]->Row());
  const uint16_t post = CellId(2, grids_[2]->Col(), grids_[2]->Row());
  if (post != 0) result_.Post = post;
  result_.CornerSE = FoundationStyleAt(grids_[3]->Col()).cornerSE;
  pages_->setCurrentIndex(0);
  grids_[0]->setFocus();
}

void TFoundationForm::FormClose() {
  result_.Sign = CellId(0, grids_[0]->Col(), grids_[0]->Row());
  result_.Hanger = CellId(1, grids_[1]->Col(), grids_[1]->Row());
  const uint16_t post = CellId(2, grids_[2]->Col(), grids_[2]->Row());
  if (post != 0) result_.Post = post;
  const FoundationStyle& style = FoundationStyleAt(grids_[3]->Col());
  result_.CornerSE = style.cornerSE;
  result_.EdgeNS = style.edgeNS;
  result_.EdgeWE = style.edgeWE;
  result_.CornerNW = style.cornerNW;
}

}  // namespace tavi
