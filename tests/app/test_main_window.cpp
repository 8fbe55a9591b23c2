// The main window's menus and commands, and the control window's zoom box.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QStatusBar>
#include <QTabBar>
#include <QtTest>

#include "app/aos_window.h"
#include "app/app_test_util.h"
#include "app/cache_import_dialog.h"
#include "app/catalogue_window.h"
#include "app/control_window.h"
#include "app/picture_grid.h"
#include "document/aos_tables.h"
#include "interaction/main_mouse.h"
#include "render/gl/house_view.h"
#include "render/projection.h"
#include "tests/app/main_form_test_access.h"

using namespace tavi;
using namespace tavi::test;

class TestMainWindow : public QObject {
  Q_OBJECT

  TestHome home;
  std::shared_ptr<ScriptedPrompts> prompts;
  std::unique_ptr<TMainForm> w;

  QAction* action(const char* name) { return w->findChild<QAction*>(name); }

 private slots:
  void init() { OpenDemoEditor(home.path() + "/cfg", prompts, w); }
  void cleanup() { CloseDemoEditor(w); }

  // Paste is offered only for text whose first line is the selection header.
  void pasteEnabling() {
    QClipboard* clip = QApplication::clipboard();
    clip->setText("TAVI File ver 1.00\r\n0,0,0,1234\r\n");
    w->Edit1Click();
    QVERIFY(action("MnPaste")->isEnabled());
    clip->setText("TAVI File ver 1.01\r\n0,0,0,1234\r\n");
    w->Edit1Click();
    QVERIFY(!action("MnPaste")->isEnabled());
    clip->setText("tAVI File ver 1.00\r\n");
    w->Edit1Click();
    QVERIFY(!action("MnPaste")->isEnabled());
    clip->clear();
    w->Edit1Click();
    QVERIFY(!action("MnPaste")->isEnabled());
    QVERIFY(!action("MnUndo")->isEnabled());
    QVERIFY(!action("MnReplaceWall")->isEnabled());
    // Once the menu closes the shortcuts work again.
    emit w->findChild<QMenu*>("Edit1")->aboutToHide();
    QVERIFY(action("MnUndo")->isEnabled());
    QVERIFY(action("MnPaste")->isEnabled());
  }

  // Replace Walls needs a selection and the AoS window on a type it can swap.
  void replaceWallsEnabling() {
    TAoSForm* aos = Access(*w).AoSForm();
    aos->show();
    Access(*w).SetSelection(CellRect{1, 1, 3, 3});
    for (int type = 0; type < kAosTypeCount; ++type) {
      aos->SetTypeIndex(type);
      w->Edit1Click();
      const bool expected = type == kAosWalls || type == kAosDoors || type == kAosStairs ||
                            type == kAosAutoStairs || type == kAosEnchancements;
      QCOMPARE(action("MnReplaceWall")->isEnabled(), expected);
    }
    aos->SetTypeIndex(kAosWalls);
    Access(*w).SetSelection(CellRect{});
    w->Edit1Click();
    QVERIFY(!action("MnReplaceWall")->isEnabled());
    Access(*w).SetSelection(CellRect{1, 1, 3, 3});
    aos->hide();
    w->Edit1Click();
    QVERIFY(!action("MnReplaceWall")->isEnabled());

    // A single column or row of cells is left alone by the replacement, so
    // the command is not offered for it.
    aos->show();
    for (const CellRect& thin : {CellRect{2, 1, 2, 5}, CellRect{1, 4, 3, 4}}) {
      Access(*w).SetSelection(thin);
      w->Edit1Click();
      QVERIFY(!action("MnReplaceWall")->isEnabled());
    }
    Access(*w).SetSelection(CellRect{1, 1, 3, 3});
    w->Edit1Click();
    QVERIFY(action("MnReplaceWall")->isEnabled());
    aos->hide();
  }

  // More entries under the pointer than the pick can tell apart: the status
  // bar says so on the hover tick; no box interrupts the pointing.
  void pickOverflowInTheStatusBar() {
    TTAVIDoc& doc = Access(*w).Doc();
    const uint16_t wall = ObjectTableAt(kAosWalls, 0, 0);
    // Eight cells down the screen, each raised by its distance, all drawn
    // over the same pixels: 256 entries there.
    for (int k = 0; k < 8; ++k)
      for (int layer = 0; layer < kLayers; ++layer)
        doc.Tiles[1][layer][k][k] = {int16_t(11 * k), wall, 0};
    doc.UpdateAllCells();
    Access(*w).RefreshView();
    QApplication::processEvents();
    Access(*w).PaintBox()->repaint();
    TProjection proj;
    proj.RebuildAnchors(doc.Width, doc.Height, Access(*w).BaseHeight());
    const ScenePoint a = proj.Anchor(1, 0, 0);
    QVERIFY(w->statusBar()->currentMessage().isEmpty());
    Access(*w).Mouse().Move(true, a.X + 22, a.Y + 22);
    QCOMPARE(w->statusBar()->currentMessage(), QString("Buffer overflow\\n"));
    QCOMPARE(Access(*w).Mouse().HoverX, -1);
    QVERIFY(prompts->infos.isEmpty() && prompts->errors.isEmpty());
  }

  // Del acts in the window that has it: the catalogue removes the code from
  // its page, the main window deletes in the selection. The main window's
  // other keys act in the tool windows too.
  void deleteKeyInEachWindow() {
    TTAVIDoc& doc = Access(*w).Doc();
    doc.Tiles[1][0][2][2] = {0, 1234, 0};
    doc.UpdateAllCells();
    Access(*w).SetSelection(CellRect{2, 2, 2, 2});

    TCtrlForm* c = Access(*w).CtrlForm();
    c->CBObjWindow->click();
    TObjForm* obj = Access(*w).ObjForm();
    QVERIFY(QTest::qWaitForWindowExposed(obj));
    const int page = obj->AddPage("Keys");
    obj->Pages().AddCode(page, 1234);
    obj->Pages().AddCode(page, 1235);
    obj->SetCurrentTab(page + 1);
    obj->Grid()->SelectCell(0, 0);
    obj->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(obj));
    obj->Grid()->setFocus();
    QTRY_VERIFY(obj->Grid()->hasFocus());
    QTest::keyClick(obj->Grid(), Qt::Key_Delete);
    QCOMPARE(obj->Pages().Pages[size_t(page)].Codes, (std::vector<uint16_t>{1235}));
    QCOMPARE(doc.Tiles[1][0][2][2].Id, uint16_t(1234));
    // On "Main" the catalogue has nothing to delete, and the house is not its.
    obj->SetCurrentTab(0);
    obj->Grid()->setFocus();
    QTest::keyClick(obj->Grid(), Qt::Key_Delete);
    QCOMPARE(doc.Tiles[1][0][2][2].Id, uint16_t(1234));

    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    Access(*w).PaintBox()->setFocus();
    QTRY_VERIFY(Access(*w).PaintBox()->hasFocus());
    QTest::keyClick(Access(*w).PaintBox(), Qt::Key_Delete);
    QCOMPARE(doc.Tiles[1][0][2][2].Id, uint16_t(0));
    QCOMPARE(obj->Pages().Pages[size_t(page)].Codes, (std::vector<uint16_t>{1235}));

    obj->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(obj));
    obj->Grid()->setFocus();
    QTRY_VERIFY(obj->Grid()->hasFocus());
    QTest::keyClick(obj->Grid(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(doc.Tiles[1][0][2][2].Id, uint16_t(1234));
    QTest::keyClick(obj->Grid(), Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(doc.Tiles[1][0][2][2].Id, uint16_t(0));

    c->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(c));
    QWidget* floor = c->findChild<QWidget*>("TBFloor");
    floor->setFocus();
    QTRY_VERIFY(floor->hasFocus());
    QTest::keyClick(floor, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(doc.Tiles[1][0][2][2].Id, uint16_t(1234));
  }

  // Help, Contents without a web browser: the user is told, with the address.
  void helpWithoutBrowser() {
    action("MnContents")->trigger();
    QCOMPARE(prompts->opened.size(), 1);
    QCOMPARE(prompts->infos.size(), 1);
    QCOMPARE(prompts->infos[0], Access(*w).Messages().MsgNoBrowser + "\r\n" + prompts->opened[0]);
    prompts->browserStarts = true;
    action("MnContents")->trigger();
    QCOMPARE(prompts->opened.size(), 2);
    QCOMPARE(prompts->infos.size(), 1);
  }

  // Copy and paste through the system clipboard, undo switching the floor.
  void copyPasteUndo() {
    TTAVIDoc& doc = Access(*w).Doc();
    doc.Tiles[2][0][1][1] = {0, 1234, 0};
    doc.UpdateAllCells();
    Access(*w).CtrlForm()->SetFloor(2);
    Access(*w).SetSelection(CellRect{1, 1, 1, 1});
    w->MnCopyClick();
    QVERIFY(QApplication::clipboard()->text().startsWith("TAVI File ver 1.00"));
    Access(*w).SetSelection(CellRect{4, 5, 4, 5});
    w->MnPasteClick();
    QCOMPARE(doc.Tiles[2][0][5][4].Id, uint16_t(1234));
    Access(*w).CtrlForm()->SetFloor(0);
    w->Edit1Click();
    QVERIFY(action("MnUndo")->isEnabled());
    w->MnUndoClick();
    QCOMPARE(doc.Tiles[2][0][5][4].Id, uint16_t(0));
    QCOMPARE(Access(*w).CtrlForm()->CurrentFloor(), 2);
    w->MnRedoClick();
    QCOMPARE(doc.Tiles[2][0][5][4].Id, uint16_t(1234));
  }

  // Typed percentages wait for Enter or the loss of focus; a list entry
  // applies at once; text that is not a number falls back to 100 %.
  void zoomBox() {
    QComboBox* box = Access(*w).CtrlForm()->CBMag();
    QLineEdit* edit = box->lineEdit();
    edit->clear();
    QTest::keyClicks(edit, "150");
    QCOMPARE(Access(*w).Zoom(), 1.0);
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(Access(*w).Zoom(), 1.5);

    edit->clear();
    QTest::keyClicks(edit, "175");
    QFocusEvent out(QEvent::FocusOut, Qt::OtherFocusReason);
    QApplication::sendEvent(edit, &out);
    QCOMPARE(Access(*w).Zoom(), 1.75);

    edit->clear();
    QTest::keyClicks(edit, "abc");
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(box->currentText(), QString("100%"));
    QCOMPARE(Access(*w).Zoom(), 1.0);

    // Zero, negative and huge zooms cannot be drawn sensibly: they fall back too.
    for (const char* text : {"0", "-50%", "99999"}) {
      edit->clear();
      QTest::keyClicks(edit, text);
      QTest::keyClick(edit, Qt::Key_Return);
      QCOMPARE(box->currentText(), QString("100%"));
      QCOMPARE(Access(*w).Zoom(), 1.0);
    }

    // Picking a list entry applies it at once.
    box->showPopup();
    QTRY_VERIFY(box->view()->isVisible());
    box->view()->setCurrentIndex(box->model()->index(box->findText("25%"), 0));
    QTest::keyClick(box->view(), Qt::Key_Return);
    QCOMPARE(Access(*w).Zoom(), 0.25);
    box->setCurrentIndex(box->findText("75%"));
    QCOMPARE(Access(*w).Zoom(), 0.75);
    box->setCurrentIndex(box->findText("25%"));
    QCOMPARE(Access(*w).Zoom(), 0.25);
    Access(*w).ZoomStep(false);
    QCOMPARE(Access(*w).Zoom(), 0.25);
    Access(*w).ZoomStep(true);
    QCOMPARE(Access(*w).Zoom(), 0.3125);
    QCOMPARE(box->currentText(), QString("31%"));

    // Ctrl + wheel steps the zoom like Page Up / Page Down.
    QWidget* surface = Access(*w).PaintBox();
    const QPointF at(20, 20);
    QWheelEvent wheel(at, surface->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(surface, &wheel);
    QCOMPARE(Access(*w).Zoom(), 0.375);

    // Page Up and Page Down on the surface step it too; Shift marks the entry mode.
    QTest::keyClick(surface, Qt::Key_PageUp);
    QCOMPARE(Access(*w).Zoom(), 0.4375);
    QTest::keyClick(surface, Qt::Key_PageDown);
    QCOMPARE(Access(*w).Zoom(), 0.375);
    QCOMPARE(box->currentText(), QString("37%"));
    QTest::keyPress(surface, Qt::Key_Shift);
    QVERIFY(Access(*w).Mouse().ShiftDown);
    QTest::keyRelease(surface, Qt::Key_Shift);
    QVERIFY(!Access(*w).Mouse().ShiftDown);
  }

  // Typing over the digits as a user does: nothing changes on the way,
  // whatever the text holds; Enter or leaving the box applies it.
  void zoomBoxTyping() {
    TCtrlForm* c = Access(*w).CtrlForm();
    QComboBox* box = c->CBMag();
    QLineEdit* edit = box->lineEdit();
    c->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(c));
    box->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(box->hasFocus());

    // "100%" -> "50%": the "5%" in between is no zoom to jump to.
    QCOMPARE(box->currentText(), QString("100%"));
    edit->setSelection(0, 3);
    QTest::keyClick(edit, Qt::Key_5);
    QCOMPARE(box->currentText(), QString("5%"));
    QCOMPARE(Access(*w).Zoom(), 1.0);
    QTest::keyClick(edit, Qt::Key_0);
    QCOMPARE(Access(*w).Zoom(), 1.0);
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(Access(*w).Zoom(), 0.5);
    QCOMPARE(box->currentText(), QString("50%"));

    // No completion jumps to a list entry while typing.
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_1);
    QCOMPARE(box->currentText(), QString("1"));
    QCOMPARE(Access(*w).Zoom(), 0.5);
    QTest::keyClicks(edit, "10");
    QCOMPARE(Access(*w).Zoom(), 0.5);

    // Leaving the box with Tab applies what was typed.
    QTest::keyClick(edit, Qt::Key_Tab);
    QTRY_VERIFY(!box->hasFocus());
    QCOMPARE(Access(*w).Zoom(), 1.1);

    // An invalid entry falls back to 100 % when the box is left.
    box->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(box->hasFocus());
    edit->selectAll();
    QTest::keyClicks(edit, "abc");
    QCOMPARE(Access(*w).Zoom(), 1.1);
    c->findChild<QPushButton*>("BtnShowAll")->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(!box->hasFocus());
    QCOMPARE(box->currentText(), QString("100%"));
    QCOMPARE(Access(*w).Zoom(), 1.0);

    // Leaving the box without typing keeps the zoom the keys set.
    Access(*w).ZoomStep(false);
    QCOMPARE(box->currentText(), QString("93%"));
    box->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(box->hasFocus());
    c->findChild<QPushButton*>("BtnShowAll")->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(!box->hasFocus());
    QCOMPARE(Access(*w).Zoom(), 0.9375);
  }

  // New asks about unsaved changes, then about the foundation.
  void newFile() {
    TTAVIDoc& doc = Access(*w).Doc();
    doc.Tiles[1][0][0][0] = {0, 1234, 0};
    doc.UpdateAllCells();
    doc.Modified = true;
    Access(*w).SetBaseHeight(3);
    prompts->yesNoCancel = {UiPrompts::kCancel};
    w->MnNewFileClick();
    QCOMPARE(doc.Tiles[1][0][0][0].Id, uint16_t(1234));
    prompts->yesNoCancel = {UiPrompts::kNo, UiPrompts::kNo};
    w->MnNewFileClick();
    QCOMPARE(doc.Tiles[1][0][0][0].Id, uint16_t(0));
    QCOMPARE(doc.LayerCount[0][1][1], 0);
    QCOMPARE(Access(*w).BaseHeight(), 3);
    prompts->yesNoCancel = {UiPrompts::kYes};
    w->MnNewFileClick();
    QVERIFY(doc.LayerCount[0][1][1] > 0);
    QCOMPARE(Access(*w).BaseHeight(), 7);
    QVERIFY(!doc.Modified);
    // Escape or the close button on the foundation question changes nothing.
    doc.Tiles[2][0][3][3] = {0, 1234, 0};
    doc.UpdateAllCells();
    Access(*w).SetBaseHeight(4);
    prompts->yesNoCancel = {UiPrompts::kCancel};
    w->MnNewFileClick();
    QCOMPARE(prompts->questions.last(), Access(*w).Messages().MsgFoundation);
    QCOMPARE(doc.Tiles[2][0][3][3].Id, uint16_t(1234));
    QVERIFY(doc.LayerCount[0][1][1] > 0);
    QCOMPARE(Access(*w).BaseHeight(), 4);
  }

  // Save As, then Open: the house comes back; a failed open changes nothing.
  void saveAndOpen() {
    TTAVIDoc& doc = Access(*w).Doc();
    doc.Tiles[3][0][2][5] = {4, 1234, 0};
    doc.UpdateAllCells();
    doc.Modified = true;
    Access(*w).SetBaseHeight(6);
    const QString file = home.path() + "/round.tav";
    prompts->saveName = file;
    w->SaveAs1Click();
    QVERIFY(!doc.Modified);
    QCOMPARE(w->windowTitle(), QString("Tavi Editor - round"));
    QVERIFY(ReadFile(file).startsWith("\"TAVI File ver 1.00\",8,8,6"));

    prompts->yesNoCancel = {UiPrompts::kNo};
    w->MnNewFileClick();
    QCOMPARE(doc.Tiles[3][0][2][5].Id, uint16_t(0));
    // The new house is no longer the saved one: Save must ask, not overwrite it.
    QVERIFY(Access(*w).CurrentFileName().isEmpty());
    QCOMPARE(w->windowTitle(), QString("Tavi Editor"));
    Access(*w).SetBaseHeight(2);
    prompts->openName = file;
    w->Open1Click();
    QCOMPARE(doc.Tiles[3][0][2][5].Id, uint16_t(1234));
    QCOMPARE(doc.Tiles[3][0][2][5].Z, int16_t(4));
    QCOMPARE(Access(*w).BaseHeight(), 6);

    prompts->openName = home.path() + "/missing.tav";
    w->Open1Click();
    QCOMPARE(prompts->errors.size(), 1);
    QCOMPARE(Access(*w).CurrentFileName(), file);
    QCOMPARE(w->windowTitle(), QString("Tavi Editor - round"));
    QCOMPARE(doc.Tiles[3][0][2][5].Id, uint16_t(1234));

    // Cancelling the save dialog from the question keeps the program's state.
    doc.Modified = true;
    Access(*w).SetCurrentFileName(QString());
    prompts->saveName.clear();
    prompts->yesNoCancel = {UiPrompts::kYes};
    QVERIFY(!Access(*w).AskSaveChanges());
  }

  // The whole house through the clipboard and back.
  void clipRoundTrip() {
    TTAVIDoc& doc = Access(*w).Doc();
    doc.Tiles[1][0][4][3] = {2, 1234, 0};
    doc.UpdateAllCells();
    Access(*w).SetBaseHeight(5);
    Access(*w).SetCurrentFileName(home.path() + "/clip house.tav");
    w->MnExportClipClick();
    QCOMPARE(prompts->infos.last(), QString("This file is copied to the clipboard."));
    QVERIFY(QApplication::clipboard()->text().startsWith("TAVI File ver 1.00=clip house="));
    prompts->yesNoCancel = {UiPrompts::kNo};
    w->MnNewFileClick();
    Access(*w).SetBaseHeight(1);
    w->MnImportClipClick();
    QCOMPARE(doc.Tiles[1][0][4][3].Id, uint16_t(1234));
    QCOMPARE(Access(*w).BaseHeight(), 5);
    QCOMPARE(Access(*w).CurrentFileName(), QString("clip house.tav"));
    QCOMPARE(w->windowTitle(), QString("Tavi Editor - clip house"));

    QApplication::clipboard()->setText("no house here");
    w->MnImportClipClick();
    QCOMPARE(prompts->infos.last(), QString("This text has no data or broken."));
    QCOMPARE(doc.Tiles[1][0][4][3].Id, uint16_t(1234));

    // A house without a name comes back without one, and the title is bare.
    Access(*w).SetCurrentFileName(QString());
    w->MnExportClipClick();
    w->MnImportClipClick();
    QCOMPARE(doc.Tiles[1][0][4][3].Id, uint16_t(1234));
    QVERIFY(Access(*w).CurrentFileName().isEmpty());
    QCOMPARE(w->windowTitle(), QString("Tavi Editor"));
  }

  // A standard house replaces the document with the menu's base height; it
  // belongs to no file, so the title is bare as after New.
  void importMulti() {
    Access(*w).SetCurrentFileName(home.path() + "/keep.tav");
    QAction* tower = action("Tower1");
    QVERIFY(tower);
    tower->trigger();
    QVERIFY(prompts->errors.isEmpty());
    QCOMPARE(Access(*w).BaseHeight(), 6);
    QVERIFY(Access(*w).CurrentFileName().isEmpty());
    QCOMPARE(w->windowTitle(), QString("Tavi Editor"));
    QVERIFY(!Access(*w).Doc().CanUndo());
  }

  // Both imports ask about unsaved changes first, as New and Open do; Cancel
  // leaves the house, its file name and its undo history as they were.
  void importsAskAboutUnsavedChanges() {
    TTAVIDoc& doc = Access(*w).Doc();
    Access(*w).SetCurrentFileName(home.path() + "/mine.tav");
    doc.PushUndo(1);
    doc.Tiles[1][0][3][3] = {0, 1234, 0};
    doc.UpdateAllCells();
    doc.Modified = true;
    const int width = doc.Width;

    prompts->yesNoCancel = {UiPrompts::kCancel};
    action("Tower1")->trigger();
    QCOMPARE(prompts->questions.size(), 1);
    QCOMPARE(prompts->questions.last(), Access(*w).Messages().MsgModified);
    QCOMPARE(doc.Tiles[1][0][3][3].Id, uint16_t(1234));
    QCOMPARE(doc.Width, width);
    QVERIFY(doc.CanUndo());
    QCOMPARE(w->windowTitle(), QString("Tavi Editor - mine"));

    // The cache import dialog, with a double-click on a house.
    action("MnImportCache")->trigger();
    TMultiForm* cache = Access(*w).MultiForm();
    QVERIFY(QTest::qWaitForWindowExposed(cache));
    QVERIFY(cache->HouseList()->count() > 0);
    cache->HouseList()->setCurrentRow(0);
    const QRect first = cache->HouseList()->visualItemRect(cache->HouseList()->item(0));
    prompts->yesNoCancel = {UiPrompts::kCancel};
    QTest::mouseClick(cache->HouseList()->viewport(), Qt::LeftButton, {}, first.center());
    QTest::mouseDClick(cache->HouseList()->viewport(), Qt::LeftButton, {}, first.center());
    QCOMPARE(prompts->questions.size(), 2);
    QCOMPARE(doc.Tiles[1][0][3][3].Id, uint16_t(1234));
    QVERIFY(doc.CanUndo());
    QVERIFY(doc.Modified);

    // No: the cached house comes in without a file name.
    prompts->yesNoCancel = {UiPrompts::kNo};
    cache->BtnImportClick();
    QCOMPARE(prompts->questions.size(), 3);
    QVERIFY(!doc.Modified);
    QVERIFY(Access(*w).CurrentFileName().isEmpty());
    cache->close();

    // Unmodified: no question.
    action("Tower1")->trigger();
    QCOMPARE(prompts->questions.size(), 3);
    QCOMPARE(Access(*w).BaseHeight(), 6);
  }

  // The stack of the detail cell, top first, and its buttons.
  void detailList() {
    TTAVIDoc& doc = Access(*w).Doc();
    doc.Tiles[1][0][2][2] = {0, 1234, 0};
    doc.Tiles[1][1][2][2] = {3, 1235, 0};
    doc.Tiles[1][2][2][2] = {6, 1236, 0};
    doc.UpdateAllCells();
    Access(*w).SetDetailCell(2, 2);
    TCtrlForm* c = Access(*w).CtrlForm();
    c->RefreshCellList();
    QCOMPARE(c->LBDetail()->count(), 3);
    QVERIFY(c->LBDetail()->item(0)->text().startsWith(" 6:"));
    QVERIFY(c->LBDetail()->item(2)->text().startsWith(" 0:"));
    c->LBDetail()->setCurrentRow(0);
    c->LBDetailClick();
    QCOMPARE(c->CurrentTile(), uint16_t(1236));
    c->BtnCellDeleteClick();
    QCOMPARE(c->LBDetail()->count(), 2);
    QCOMPARE(doc.Tiles[1][2][2][2].Id, uint16_t(0));
  }

  // Hidden cells apply to every floor; Show All clears them inside the plot.
  void hiddenCells() {
    Access(*w).SetSelection(CellRect{1, 1, 2, 3});
    Access(*w).CtrlForm()->BtnHideClick();
    QVERIFY(Access(*w).HiddenCell(2, 3));
    QVERIFY(!Access(*w).HiddenCell(3, 3));
    Access(*w).SetSelection(CellRect{});
    Access(*w).CtrlForm()->BtnShowClick();
    QVERIFY(Access(*w).HiddenCell(2, 3));
    Access(*w).CtrlForm()->BtnShowAllClick();
    QVERIFY(!Access(*w).HiddenCell(2, 3));
  }

  // Real mouse events on the drawing surface: hover, then a click places the
  // current tile on the cell under the pointer.
  void mouseOnSurface() {
    TProjection proj;
    proj.RebuildAnchors(Access(*w).Doc().Width, Access(*w).Doc().Height, Access(*w).BaseHeight());
    const ScenePoint a = proj.Anchor(1, 3, 2);
    const QPoint p(a.X + 22, a.Y + 22);
    QWidget* surface = Access(*w).PaintBox();
    QMouseEvent move(QEvent::MouseMove, p, surface->mapToGlobal(p), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(surface, &move);
    QCOMPARE(Access(*w).Mouse().HoverX, 3);
    QCOMPARE(Access(*w).Mouse().HoverY, 2);
    Access(*w).SetCurrentTile(1234);
    QTest::mouseClick(surface, Qt::LeftButton, Qt::NoModifier, p);
    QCOMPARE(Access(*w).Doc().Tiles[1][Access(*w).Doc().LayerCount[1][2][3] - 1][2][3].Id,
             uint16_t(1234));
    QCOMPARE(Access(*w).DetailX(), 3);
    QCOMPARE(Access(*w).CtrlForm()->LBDetail()->count(), Access(*w).Doc().LayerCount[1][2][3]);
  }

  // What a click does comes from the controls as the user left them: the
  // floor bar, the AoS window on the automatic staircase, Parts Lock.
  void controlsDecideWhatAClickDoes() {
    TTAVIDoc& doc = Access(*w).Doc();
    TCtrlForm* ctrl = Access(*w).CtrlForm();
    ctrl->findChild<QSlider*>("TBFloor")->setValue(2);
    TProjection proj;
    proj.RebuildAnchors(doc.Width, doc.Height, Access(*w).BaseHeight());
    const ScenePoint a = proj.Anchor(2, 4, 4);
    const QPoint p(a.X + 22, a.Y + 22);
    QWidget* surface = Access(*w).PaintBox();
    QVERIFY(!ctrl->CBAoSWindow->isChecked());
    ctrl->CBAoSWindow->click();
    TAoSForm* aos = Access(*w).AoSForm();
    QTRY_VERIFY(aos->isVisible());
    aos->SetTypeIndex(kAosAutoStairs);
    aos->SelectGridCell(2, 0);
    Access(*w).SetCurrentTile(1234);
    QTest::mouseClick(surface, Qt::LeftButton, Qt::NoModifier, p);
    QVERIFY(doc.LayerCount[2][4][4] > 0);
    QVERIFY(doc.Tiles[2][0][4][4].Id != 1234);  // a staircase piece, not the tile
    QCOMPARE(doc.LayerCount[1][4][4], 0);
    doc.Undo();
    QCOMPARE(doc.LayerCount[2][4][4], 0);

    // The AoS window closed: the current tile again.
    ctrl->CBAoSWindow->click();
    QTRY_VERIFY(!aos->isVisible());
    QTest::mouseClick(surface, Qt::LeftButton, Qt::NoModifier, p);
    QCOMPARE(doc.Tiles[2][0][4][4].Id, uint16_t(1234));

    QVERIFY(!Access(*w).DocHost().PartsLock());
    ctrl->findChild<QCheckBox*>("CBPartsLock")->click();
    QVERIFY(Access(*w).DocHost().PartsLock());
    ctrl->findChild<QCheckBox*>("CBPartsLock")->click();
    QVERIFY(!Access(*w).DocHost().PartsLock());
  }

  // The picture of the view: to the clipboard and to BMP or JPEG files.
  void imageExport() {
    QApplication::processEvents();
    w->CopyBMP1Click();
    const QImage shot = QApplication::clipboard()->image();
    QCOMPARE(shot.size(), Access(*w).PaintBox()->size());

    prompts->saveName = home.path() + "/view.JPG";
    w->ImageSaveas1Click();
    QCOMPARE(ReadBytes(prompts->saveName).left(2), QByteArray("\xFF\xD8"));
    prompts->saveName = home.path() + "/view.jpeg";
    w->ImageSaveas1Click();
    QCOMPARE(ReadBytes(prompts->saveName).left(2), QByteArray("\xFF\xD8"));
    // A picture named .png holds PNG data, one named .bmp a bitmap.
    prompts->saveName = home.path() + "/house.png";
    w->ImageSaveas1Click();
    QCOMPARE(ReadBytes(prompts->saveName).mid(1, 3), QByteArray("PNG"));
    prompts->saveName = home.path() + "/house.bmp";
    w->ImageSaveas1Click();
    QCOMPARE(ReadBytes(prompts->saveName).left(2), QByteArray("BM"));
    QVERIFY(prompts->errors.isEmpty());
  }

  // A house file dropped on the window is opened.
  void dropHouseFile() {
    const QString file = home.path() + "/dropped.tav";
    WriteFile(file, "\"TAVI File ver 1.00\",9,8,4\r\n2,1,1,0,1234\r\n");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(file)});
    QVERIFY(Access(*w).HandleDrop(&data));
    QTRY_COMPARE(Access(*w).CurrentFileName(), file);
    QCOMPARE(Access(*w).Doc().Width, 9);
    QCOMPARE(Access(*w).Doc().Tiles[2][0][1][1].Id, uint16_t(1234));
  }

  // The control window follows the main window's right edge; only a resize
  // pulls it back inside the screen.
  void docking() {
    TCtrlForm* c = Access(*w).CtrlForm();
    const int screenWidth = w->screen()->geometry().width();
    w->move(screenWidth - 300, 0);
    QApplication::processEvents();
    Access(*w).DockControlWindow(false);
    const QRect frame = w->frameGeometry();
    QCOMPARE(c->x(), frame.left() + frame.width());
    Access(*w).DockControlWindow(true);
    QCOMPARE(c->x(), screenWidth - c->frameGeometry().width());
    action("MnStickWnd")->trigger();  // unstuck: the window stays where it is
    const int x = c->x();
    w->move(10, 0);
    QApplication::processEvents();
    Access(*w).DockControlWindow(true);
    QCOMPARE(c->x(), x);
    action("MnStickWnd")->trigger();
  }

  // The two tool windows open below the control window the first time; where
  // the second does not fit beside the first, the first one's menus and page
  // tabs stay uncovered, and the drawing surface is not covered at all.
  void toolWindowsOpenApart() {
    const int kOverlapRoom = 64;
    TCtrlForm* c = Access(*w).CtrlForm();
    w->move(0, 0);
    QApplication::processEvents();
    Access(*w).DockControlWindow(false);
    c->CBObjWindow->click();
    c->CBAoSWindow->click();
    QTRY_VERIFY(Access(*w).ObjForm()->isVisible() && Access(*w).AoSForm()->isVisible());
    const QRect area = w->screen()->availableGeometry();
    const QRect obj = Access(*w).ObjForm()->frameGeometry();
    if (c->frameGeometry().right() > area.right() || obj.bottom() + kOverlapRoom > area.bottom())
      QSKIP("the screen is too small for the windows side by side");
    const QRect aos = Access(*w).AoSForm()->frameGeometry();
    const QTabBar* tabs = Access(*w).ObjForm()->findChild<QTabBar*>();
    QVERIFY(tabs);
    const QRect tabsOnScreen(tabs->mapToGlobal(QPoint(0, 0)), tabs->size());
    QVERIFY(!aos.intersects(tabsOnScreen));
    QVERIFY(!aos.intersects(w->frameGeometry()));
  }

  // The downstair walls follow the grid switch.
  void viewCoupling() {
    QAction* grid = action("MnShowGrid");
    QAction* down = action("MnDownstair");
    QVERIFY(grid->isChecked() && down->isChecked());
    grid->trigger();
    QVERIFY(!grid->isChecked());
    QVERIFY(!down->isChecked());
    grid->trigger();
    QVERIFY(!down->isChecked());
  }

  // Choosing a tile in the catalogue while the pointer is away from the
  // house changes nothing the view draws: the view draws no frame. Over the
  // house, the preview of the new tile is drawn, in part.
  void currentTileRedrawsOnlyWhatShows() {
    auto* view = qobject_cast<THouseView*>(Access(*w).PaintBox());
    QVERIFY(view);
    Access(*w).Mouse().Move(false, -5000, -5000);
    view->CaptureView();
    QTest::qWait(100);
    const int frames = view->PaintCount();
    Access(*w).SetCurrentTile(1234);
    Access(*w).SetCurrentTile(1235);
    QTest::qWait(100);
    QCOMPARE(view->PaintCount(), frames);
    TProjection proj;
    proj.RebuildAnchors(Access(*w).Doc().Width, Access(*w).Doc().Height, Access(*w).BaseHeight());
    const ScenePoint a = proj.Anchor(Access(*w).CtrlForm()->CurrentFloor(), 3, 2);
    Access(*w).Mouse().Move(false, a.X + 22, a.Y + 22);
    QTRY_VERIFY(view->PaintCount() > frames);
    const int hovered = view->PaintCount();
    Access(*w).SetCurrentTile(1234);
    QTRY_VERIFY(view->PaintCount() > hovered);
    QVERIFY(view->LastPaintedShare() < 0.5);
  }
};

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
