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
#include "app/ui_prompts.h"
#include "app/update_check.h"
#include "document/aos_tables.h"
#include "interaction/aos_rules.h"
#include "io/clip_text.h"
#include "io/multi_menu.h"

namespace tavi {

// ---- menus ----

void TMainForm::CreateMenus() {
  QMenuBar* bar = menuBar();
  MainMenuActions& A = d->act;
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
    m->addAction(a);
    if (!key.isEmpty()) {
      // The keys act while the focus is in the main window or in a tool
      // window that does not use the same key itself (CreateWindows).
      a->setShortcut(key);
      a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
      addAction(a);
    }
    if (handler) connect(a, &QAction::triggered, this, handler);
    return a;
  };
  auto check = [&](QAction* a, bool on) {
    a->setCheckable(true);
    a->setChecked(on);
    return a;
  };

  QMenu* file = menu(bar, nullptr, "File1", "&File");
  A.MnNewFile =
      item(file, "MnNewFile", "&NewFile", QKeySequence("Ctrl+N"), &TMainForm::MnNewFileClick);
  A.Open1 = item(file, "Open1", "&Open...", QKeySequence("Ctrl+O"), &TMainForm::Open1Click);
  A.Close1 = item(file, "Close1", "&Save", QKeySequence("Ctrl+S"), &TMainForm::Close1Click);
  A.SaveAs1 =
      item(file, "SaveAs1", "Save &As...", QKeySequence("Ctrl+Shift+S"), &TMainForm::SaveAs1Click);
  A.MnRecent = menu(nullptr, file, "MnRecent", "Recent &Files");
  A.MnClearRecent =
      item(A.MnRecent, "MnClearRecent", "Clear Recent Files", {}, &TMainForm::MnClearRecentClick);
  connect(A.MnRecent, &QMenu::aboutToShow, this, &TMainForm::FillRecentMenu);
  file->addSeparator();
  A.MnImportClip = item(file, "MnImportClip", "Load from &Clip", {}, &TMainForm::MnImportClipClick);
  A.MnExportClip = item(file, "MnExportClip", "Save to Clip", {}, &TMainForm::MnExportClipClick);
  file->addSeparator();
  QMenu* imports = menu(nullptr, file, kImportMultiMenuName, kImportMultiMenuCaption);
  QMenu* small = menu(nullptr, imports, kSmallHouseMenuName, kSmallHouseMenuCaption);
  for (const MultiMenuItem& m : kImportMultiMenu) {
    QAction* a = item(m.smallHouse ? small : imports, m.name, m.caption, {}, nullptr);
    a->setData(m.tag);
    const int tag = m.tag;
    connect(a, &QAction::triggered, this, [this, tag] { MnImportClick(tag); });
    a->setProperty("taviImportItem", true);
  }
  A.MnImportCache = item(file, "MnImportCache", "Import Cache...", {}, nullptr);
  connect(A.MnImportCache, &QAction::triggered, this, [this] {
    if (d->multi) d->multi->ShowDialog();
  });
  item(file, "MnImportDesign", "Import Design...", {}, &TMainForm::MnImportDesignClick);
  item(file, "MnExportDesign", "Export Design...", {}, &TMainForm::MnExportDesignClick);
  file->addSeparator();
  A.ImageSaveas1 =
      item(file, "ImageSaveas1", "&Image Save as...", {}, &TMainForm::ImageSaveas1Click);
  A.MnWholeImage =
      item(file, "MnWholeImage", "Save &Whole House Image...", {}, &TMainForm::MnWholeImageClick);
  file->addSeparator();
  A.Exit1 = item(file, "Exit1", "&Exit", QKeySequence("Ctrl+Q"), &TMainForm::Exit1Click);

  QMenu* edit = menu(bar, nullptr, "Edit1", "&Edit");
  A.MnUndo = item(edit, "MnUndo", "&Undo", QKeySequence("Ctrl+Z"), &TMainForm::MnUndoClick);
  A.MnRedo = item(edit, "MnRedo", "&Redo", QKeySequence("Ctrl+Y"), &TMainForm::MnRedoClick);
  edit->addSeparator();
  A.MnCut = item(edit, "MnCut", "Cu&t", QKeySequence("Ctrl+X"), &TMainForm::MnCutClick);
  A.MnCopy = item(edit, "MnCopy", "&Copy", QKeySequence("Ctrl+C"), &TMainForm::MnCopyClick);
  A.MnPaste = item(edit, "MnPaste", "&Paste", QKeySequence("Ctrl+V"), &TMainForm::MnPasteClick);
  A.MnDelete =
      item(edit, "MnDelete", "&Delete", QKeySequence(Qt::Key_Delete), &TMainForm::MnDeleteClick);
  edit->addSeparator();
  A.CopyBMP1 = item(edit, "CopyBMP1", "Copy &Image", {}, &TMainForm::CopyBMP1Click);
  edit->addSeparator();
  A.MnReplaceWall =
      item(edit, "MnReplaceWall", "Replace &Walls", {}, &TMainForm::MnReplaceWallClick);
  A.MnFoundation =
      item(edit, "MnFoundation", "AoS Foundation Style", {}, &TMainForm::MnFoundationClick);
  A.MnDeleteCustomize = item(edit, "MnDeleteCustomize", "Delete &except AoS customize", {},
                             &TMainForm::MnDeleteCustomizeClick);
  edit->addSeparator();
  A.Option1 = item(edit, "Option1", "&Option", {}, &TMainForm::Option1Click);
  connect(edit, &QMenu::aboutToShow, this, &TMainForm::Edit1Click);
  // The enabling shows the state when the menu opens; afterwards the
  // shortcuts must work again (each command checks its own conditions).
  connect(edit, &QMenu::aboutToHide, this, [edit] {
    for (QAction* a : edit->actions()) a->setEnabled(true);
  });

  QMenu* view = menu(bar, nullptr, "View1", "&View");
  A.MnHideWalls = check(item(view, "MnHideWalls", "&Hide Walls", {}, nullptr), false);
  A.MnShowGrid = check(item(view, "MnShowGrid", "Show &Grid", {}, nullptr), true);
  A.MnDownstair = check(item(view, "MnDownstair", "Show Downstair walls", {}, nullptr), true);
  A.MnShowPropriety = check(item(view, "MnShowPropriety", "Show Customize Propriety", {},
                                 &TMainForm::MnShowProprietyClick),
                            true);
  A.MnLight = check(item(view, "MnLight", "Night mode", {}, nullptr), false);
  view->addSeparator();
  A.MnStickWnd = check(
      item(view, "MnStickWnd", "Stick Control Window", {}, &TMainForm::MnStickWndClick), true);
  A.MnCtrlWnd =
      check(item(view, "MnCtrlWnd", "Show Control Window", {}, &TMainForm::MnCtrlWndClick), true);
  connect(view, &QMenu::aboutToShow, this, &TMainForm::View1Click);
  auto refresh = [this] { RefreshCellList(); };
  connect(A.MnHideWalls, &QAction::triggered, this, refresh);
  connect(A.MnDownstair, &QAction::triggered, this, refresh);
  connect(A.MnShowGrid, &QAction::triggered, this, [this] {
    // The downstair walls are shown only together with the grid.
    QAction* down = d->act.MnDownstair;
    down->setChecked(down->isChecked() && d->act.MnShowGrid->isChecked());
    RefreshCellList();
  });
  connect(A.MnLight, &QAction::triggered, this, [this] { Redraw(); });

  QMenu* help = menu(bar, nullptr, "Help1", "&Help");
  A.MnContents =
      item(help, "MnContents", "&Contents", QKeySequence(Qt::Key_F1), &TMainForm::MnContentsClick);
  A.About1 = item(help, "About1", "&About", {}, &TMainForm::About1Click);
}

void TMainForm::About1Click() {
  ShowAboutBox(this);
}

void TMainForm::MnContentsClick() {
  OpenWebPageOrTell(
      HelpContentsUrl(&d->settings),
      [this](const QString& url) { return d->prompts->OpenUrl(url); },
      [this](const QString& text) { d->prompts->Info(this, text); }, d->messages);
}

// ---- Edit menu ----

void TMainForm::Edit1Click() {
  const bool paste = d->clipboard.HasText() && IsSelectionClipText(d->clipboard.GetText());
  d->act.MnPaste->setEnabled(paste);
  d->act.MnUndo->setEnabled(d->doc->CanUndo());
  d->act.MnRedo->setEnabled(d->doc->CanRedo());
  bool replace = false;
  if (SelectionAllowsReplace(Selection()) && d->aos && d->aos->isVisible())
    replace = CanReplaceParts(d->aos->TypeIndex());
  d->act.MnReplaceWall->setEnabled(replace);
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
  d->doc->CutRect(Selection(), d->edit.Floor, d->clipboard);
  RefreshCellList();
}

void TMainForm::MnCopyClick() {
  if (Selection().Empty() || !d->ctrl) return;
  d->doc->CopyRect(Selection(), d->edit.Floor, d->clipboard);
}

void TMainForm::MnPasteClick() {
  if (Selection().Empty() || !d->ctrl || !d->clipboard.HasText()) return;
  d->doc->PasteAt(Selection().Left, Selection().Top, d->edit.Alt, d->edit.Mode, d->edit.Floor,
                  d->clipboard);
  RefreshCellList();
}

void TMainForm::MnDeleteClick() {
  if (d->ctrl) d->ctrl->BtnDeleteClick();
}

void TMainForm::MnReplaceWallClick() {
  if (Selection().Empty() || !d->aos || !d->aos->isVisible() || !d->ctrl) return;
  const int floor = d->edit.Floor;
  if (!ReplaceByAosType(*d->doc, d->aos->TypeIndex(), Selection(), floor, d->aos->SelectedRow()))
    return;
  Redraw();
}

void TMainForm::MnFoundationClick() {
  if (!d->foundation || !d->foundation->Execute()) return;
  const FoundationChoice& c = d->foundation->Result();
  d->doc->BuildFoundation(c.Sign, c.Hanger, c.Post, c.EdgeNS, c.CornerSE, c.EdgeWE, c.CornerNW);
  ShowBaseHeight();
  RefreshCellList();
}

void TMainForm::MnDeleteCustomizeClick() {
  d->doc->DeleteExceptCustomization();
  RefreshCellList();
}

void TMainForm::MnShowProprietyClick() {
  if (d->act.MnShowPropriety->isChecked()) d->doc->CheckCustomization();
  Redraw();
}

// ---- the control window's place ----

void TMainForm::MnStickWndClick() {
  if (d->act.MnStickWnd->isChecked()) DockControlWindow(true);
}

void TMainForm::MnCtrlWndClick() {
  if (!d->ctrl) return;
  d->ctrl->setVisible(d->act.MnCtrlWnd->isChecked());
  DockControlWindow(true);
}

void TMainForm::View1Click() {
  if (d->ctrl) d->act.MnCtrlWnd->setChecked(d->ctrl->isVisible());
}

}  // namespace tavi
