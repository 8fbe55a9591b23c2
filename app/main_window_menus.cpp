// The main window's menus: File, Edit, View and Help, the Edit menu's
// commands and the View menu's switches for the control window.
#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "app/aos_window.h"
#include "app/cache_import_dialog.h"
#include "app/control_window.h"
#include "app/foundation_dialog.h"
#include "app/main_window.h"
#include "app/main_window_impl.h"
#include "app/update_check.h"
#include "document/aos_tables.h"
#include "interaction/aos_rules.h"
#include "io/clip_text.h"
#include "io/multi_menu.h"

namespace tavi {

// ---- menus ----

void TMainForm::CreateMenus() {
  QMenuBar* bar = menuBar();
  auto menu = [&](QMenuBar* b, QMenu* parentMenu, const char* name, const char* title) {
    QMenu* m = new QMenu(QString::fromUtf8(title), this);
    m->setObjectName(name);
    if (b) b->addMenu(m);
    if (parentMenu) parentMenu->addMenu(m);
    return m;
  };
  auto item = [&](QMenu* m, const char* name, const char* text, QKeySequence key,
                  void (TMainForm::*handler)()) {
    QAction* a = new QAction(QString::fromUtf8(text), this);
    a->setObjectName(name);
    if (!key.isEmpty()) a->setShortcut(key);
    m->addAction(a);
    if (handler) connect(a, &QAction::triggered, this, handler);
    return a;
  };
  auto check = [&](QAction* a, bool on) {
    a->setCheckable(true);
    a->setChecked(on);
    return a;
  };

  QMenu* file = menu(bar, nullptr, "File1", "&File");
  item(file, "MnNewFile", "&NewFile", QKeySequence("Ctrl+N"), &TMainForm::MnNewFileClick);
  item(file, "Open1", "&Open...", {}, &TMainForm::Open1Click);
  item(file, "Close1", "&Save", QKeySequence("Ctrl+S"), &TMainForm::Close1Click);
  item(file, "SaveAs1", "Save &As...", {}, &TMainForm::SaveAs1Click);
  file->addSeparator();
  item(file, "MnImportClip", "Load from &Clip", {}, &TMainForm::MnImportClipClick);
  item(file, "MnExportClip", "Save to Clip", {}, &TMainForm::MnExportClipClick);
  file->addSeparator();
  QMenu* imports = menu(nullptr, file, kImportMultiMenuName, kImportMultiMenuCaption);
  QMenu* small = menu(nullptr, imports, kSmallHouseMenuName, kSmallHouseMenuCaption);
  for (const MultiMenuItem& m : kImportMultiMenu) {
    QAction* a = item(m.smallHouse ? small : imports, m.name, m.caption, {}, nullptr);
    a->setData(m.tag);
    const int tag = m.tag;
    connect(a, &QAction::triggered, this, [this, tag] { MnImportClick(tag); });
  }
  QAction* cache = item(file, "MnImportCache", "Import Cache...", {}, nullptr);
  connect(cache, &QAction::triggered, this, [this] {
    if (d->multi) d->multi->ShowDialog();
  });
  file->addSeparator();
  item(file, "ImageSaveas1", "&Image Save as...", {}, &TMainForm::ImageSaveas1Click);
  file->addSeparator();
  item(file, "Exit1", "&Exit", {}, &TMainForm::Exit1Click);

  QMenu* edit = menu(bar, nullptr, "Edit1", "&Edit");
  d->editMenu = edit;
  item(edit, "MnUndo", "&Undo", QKeySequence("Ctrl+Z"), &TMainForm::MnUndoClick);
  item(edit, "MnRedo", "&Redo", QKeySequence("Ctrl+Y"), &TMainForm::MnRedoClick);
  edit->addSeparator();
  item(edit, "MnCut", "Cu&t", QKeySequence("Ctrl+X"), &TMainForm::MnCutClick);
  item(edit, "MnCopy", "&Copy", QKeySequence("Ctrl+C"), &TMainForm::MnCopyClick);
  item(edit, "MnPaste", "&Paste", QKeySequence("Ctrl+V"), &TMainForm::MnPasteClick);
  item(edit, "MnDelete", "&Delete", QKeySequence(Qt::Key_Delete), &TMainForm::MnDeleteClick);
  edit->addSeparator();
  item(edit, "CopyBMP1", "Copy &Image", {}, &TMainForm::CopyBMP1Click);
  edit->addSeparator();
  item(edit, "MnReplaceWall", "Replace &Walls", {}, &TMainForm::MnReplaceWallClick);
  item(edit, "MnFoundation", "AoS Foundation Style", {}, &TMainForm::MnFoundationClick);
  item(edit, "MnDeleteCustomize", "Delete &except AoS customize", {},
       &TMainForm::MnDeleteCustomizeClick);
  edit->addSeparator();
  item(edit, "Option1", "&Option", {}, &TMainForm::Option1Click);
  connect(edit, &QMenu::aboutToShow, this, &TMainForm::Edit1Click);
  // The enabling shows the state when the menu opens; afterwards the
  // shortcuts must work again (each command checks its own conditions).
  connect(edit, &QMenu::aboutToHide, this, [edit] {
    for (QAction* a : edit->actions()) a->setEnabled(true);
  });

  QMenu* view = menu(bar, nullptr, "View1", "&View");
  d->viewMenu = view;
  QAction* hideWalls = check(item(view, "MnHideWalls", "&Hide Walls", {}, nullptr), false);
  QAction* grid = check(item(view, "MnShowGrid", "Show &Grid", {}, nullptr), true);
  QAction* down = check(item(view, "MnDownstair", "Show Downstair walls", {}, nullptr), true);
  check(item(view, "MnShowPropriety", "Show Customize Propriety", {},
             &TMainForm::MnShowProprietyClick),
        true);
  QAction* night = check(item(view, "MnLight", "Night mode", {}, nullptr), false);
  view->addSeparator();
  check(item(view, "MnStickWnd", "Stick Control Window", {}, &TMainForm::MnStickWndClick), true);
  check(item(view, "MnCtrlWnd", "Show Control Window", {}, &TMainForm::MnCtrlWndClick), true);
  connect(view, &QMenu::aboutToShow, this, &TMainForm::View1Click);
  auto refresh = [this] { RefreshCellList(); };
  connect(hideWalls, &QAction::triggered, this, refresh);
  connect(down, &QAction::triggered, this, refresh);
  connect(grid, &QAction::triggered, this, [this, grid, down] {
    // The downstair walls are shown only together with the grid.
    down->setChecked(down->isChecked() && grid->isChecked());
    RefreshCellList();
  });
  connect(night, &QAction::triggered, this, [this] { Redraw(); });

  QMenu* help = menu(bar, nullptr, "Help1", "&Help");
  item(help, "MnContents", "&Contents", {}, &TMainForm::MnContentsClick);
  item(help, "About1", "&About", {}, &TMainForm::About1Click);
}

void TMainForm::About1Click() {
  ShowAboutBox(this);
}

void TMainForm::MnContentsClick() {
  ShowHelpContents(&d->settings);
}

// ---- Edit menu ----

void TMainForm::Edit1Click() {
  const bool paste = d->clipboard.HasText() && IsSelectionClipText(d->clipboard.GetText());
  d->a(this, "MnPaste")->setEnabled(paste);
  d->a(this, "MnUndo")->setEnabled(d->doc->CanUndo());
  d->a(this, "MnRedo")->setEnabled(d->doc->CanRedo());
  bool replace = false;
  if (!Selection().Empty() && d->aos && d->aos->isVisible())
    replace = CanReplaceParts(d->aos->TypeIndex());
  d->a(this, "MnReplaceWall")->setEnabled(replace);
}

void TMainForm::MnUndoClick() {
  if (!d->doc->CanUndo()) return;
  const int f = d->doc->Undo();
  if (d->ctrl && TTAVIDoc::ValidFloor(f)) d->ctrl->SetFloor(f);
  RefreshCellList();
}

void TMainForm::MnRedoClick() {
  if (!d->doc->CanRedo()) return;
  const int f = d->doc->Redo();
  if (d->ctrl && TTAVIDoc::ValidFloor(f)) d->ctrl->SetFloor(f);
  RefreshCellList();
}

void TMainForm::MnCutClick() {
  if (Selection().Empty() || !d->ctrl) return;
  d->doc->CutRect(Selection(), d->ctrl->CurrentFloor(), d->clipboard);
  RefreshCellList();
}

void TMainForm::MnCopyClick() {
  if (Selection().Empty() || !d->ctrl) return;
  d->doc->CopyRect(Selection(), d->ctrl->CurrentFloor(), d->clipboard);
}

void TMainForm::MnPasteClick() {
  if (Selection().Empty() || !d->ctrl || !d->clipboard.HasText()) return;
  d->doc->PasteAt(Selection().Left, Selection().Top, d->ctrl->Alt(), d->ctrl->EditMode(),
                  d->ctrl->CurrentFloor(), d->clipboard);
  RefreshCellList();
}

void TMainForm::MnDeleteClick() {
  if (d->ctrl) d->ctrl->BtnDeleteClick();
}

void TMainForm::MnReplaceWallClick() {
  if (Selection().Empty() || !d->aos || !d->aos->isVisible() || !d->ctrl) return;
  const int floor = d->ctrl->CurrentFloor();
  if (!ReplaceByAosType(*d->doc, d->aos->TypeIndex(), Selection(), floor, d->aos->SelectedRow()))
    return;
  Redraw();
}

void TMainForm::MnFoundationClick() {
  if (!d->foundation || !d->foundation->Execute()) return;
  const FoundationChoice& c = d->foundation->Result();
  d->doc->BuildFoundation(c.Sign, c.Hanger, c.Post, c.EdgeNS, c.CornerSE, c.EdgeWE, c.CornerNW);
  RefreshCellList();
}

void TMainForm::MnDeleteCustomizeClick() {
  d->doc->DeleteExceptCustomization();
  RefreshCellList();
}

void TMainForm::MnShowProprietyClick() {
  if (d->a(this, "MnShowPropriety")->isChecked()) d->doc->CheckCustomization();
  Redraw();
}

// ---- the control window's place ----

void TMainForm::MnStickWndClick() {
  if (d->a(this, "MnStickWnd")->isChecked()) DockControlWindow(true);
}

void TMainForm::MnCtrlWndClick() {
  if (!d->ctrl) return;
  d->ctrl->setVisible(d->a(this, "MnCtrlWnd")->isChecked());
  DockControlWindow(true);
}

void TMainForm::View1Click() {
  if (d->ctrl) d->a(this, "MnCtrlWnd")->setChecked(d->ctrl->isVisible());
}

}  // namespace tavi
