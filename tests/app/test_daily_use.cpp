// Everyday use of the editor: the title mark, recent files, shortcuts,
// hints, the dialogs' folders, pictures, zoom and scrolling, and the faults
// found by trying it as a new user would.
#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMimeDatabase>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSet>
#include <QtTest>

#include "app/aos_window.h"
#include "app/app_test_util.h"
#include "app/cache_import_dialog.h"
#include "app/catalogue_window.h"
#include "app/config_dialog.h"
#include "app/control_window.h"
#include "app/main_surface.h"
#include "app/picture_grid.h"
#include "app/ui_texts.h"
#include "support/cli_run.h"
#include "tests/app/main_form_test_access.h"

using namespace tavi;
using namespace tavi::test;

class TestDailyUse : public QObject {
  Q_OBJECT

  TestHome home;
  std::shared_ptr<ScriptedPrompts> prompts;
  std::unique_ptr<TMainForm> w;

  QAction* action(const char* name) { return w->findChild<QAction*>(name); }
  QString cfgFolder() const { return home.path() + "/cfg"; }

  void start() { OpenDemoEditor(cfgFolder(), prompts, w); }
  void stop() { CloseDemoEditor(w); }
  void put(int floor, int x, int y, uint16_t id) {
    Access(*w).Doc().Tiles[floor][0][y][x] = {0, id, 0};
    Access(*w).Doc().UpdateAllCells();
  }

 private slots:
  void init() { start(); }
  void cleanup() { stop(); }

  // "*" before the name while the house has unsaved changes; the title
  // follows New, Save and Open.
  void titleMark() {
    QCOMPARE(w->windowTitle(), QString("Tavi Editor"));
    Access(*w).Doc().Modified = true;
    Access(*w).Redraw();
    QCOMPARE(w->windowTitle(), QString("*Tavi Editor"));
    prompts->saveName = home.path() + "/marked.tav";
    w->Close1Click();
    QCOMPARE(w->windowTitle(), QString("Tavi Editor - marked"));
    // An edit marks it again.
    Access(*w).Doc().Modified = true;
    Access(*w).Redraw();
    QCOMPARE(w->windowTitle(), QString("Tavi Editor - *marked"));
    prompts->yesNoCancel = {UiPrompts::kNo, UiPrompts::kNo};
    w->MnNewFileClick();
    QCOMPARE(w->windowTitle(), QString("Tavi Editor"));
    prompts->openName = home.path() + "/marked.tav";
    w->Open1Click();
    QCOMPARE(w->windowTitle(), QString("Tavi Editor - marked"));
  }

  // The last files opened or saved, most recent first, across a restart; a
  // missing one leaves the list with a message.
  void recentFilesAcrossARestart() {
    for (const char* name : {"one", "two", "three"}) {
      prompts->saveName = home.path() + "/" + name + ".tav";
      w->SaveAs1Click();
    }
    QCOMPARE(Access(*w).RecentFiles().first(), home.path() + "/three.tav");
    stop();
    start();
    const QStringList recent = Access(*w).RecentFiles();
    QVERIFY(recent.size() >= 3);
    QCOMPARE(recent.mid(0, 3), (QStringList{home.path() + "/three.tav", home.path() + "/two.tav",
                                            home.path() + "/one.tav"}));
    QMenu* menu = w->findChild<QMenu*>("MnRecent");
    QVERIFY(menu);
    emit menu->aboutToShow();
    QAction* second = w->findChild<QAction*>("MnRecentFile2");
    QVERIFY(second);
    second->trigger();
    QCOMPARE(Access(*w).CurrentFileName(), home.path() + "/two.tav");
    QCOMPARE(Access(*w).RecentFiles().first(), home.path() + "/two.tav");

    QFile::remove(home.path() + "/one.tav");
    Access(*w).OpenRecentFile(home.path() + "/one.tav");
    QVERIFY(prompts->infos.last().contains("one.tav"));
    QVERIFY(!Access(*w).RecentFiles().contains(home.path() + "/one.tav"));
    QCOMPARE(Access(*w).CurrentFileName(), home.path() + "/two.tav");
    action("MnClearRecent")->trigger();
    QVERIFY(Access(*w).RecentFiles().isEmpty());
  }

  // The usual shortcuts, shown in the menus; every menu item has a hint in
  // the status bar, in the user's language.
  void shortcutsAndHints() {
    QCOMPARE(action("Open1")->shortcut(), QKeySequence("Ctrl+O"));
    QCOMPARE(action("SaveAs1")->shortcut(), QKeySequence("Ctrl+Shift+S"));
    QCOMPARE(action("Exit1")->shortcut(), QKeySequence("Ctrl+Q"));
    QCOMPARE(action("MnContents")->shortcut(), QKeySequence(Qt::Key_F1));
    QCOMPARE(action("MnNewFile")->shortcut(), QKeySequence("Ctrl+N"));
    // No key is given to two items.
    QSet<QString> keys;
    for (QAction* a : w->findChildren<QAction*>()) {
      if (a->shortcut().isEmpty() || a->parent() != w.get()) continue;
      QVERIFY2(!keys.contains(a->shortcut().toString()), qPrintable(a->shortcut().toString()));
      keys.insert(a->shortcut().toString());
    }
    int items = 0;
    for (QMenu* m : w->findChildren<QMenu*>())
      for (QAction* a : m->actions())
        if (m->parentWidget() == w.get() && !a->isSeparator() && !a->menu() &&
            !a->objectName().startsWith("MnRecentFile"))
          QVERIFY2(++items && !a->statusTip().isEmpty(), qPrintable(a->objectName()));
    QVERIFY(items > 30);
    // Every control of the control window and the AoS window tells what it
    // does (a radio button through its group).
    for (QWidget* window : {static_cast<QWidget*>(Access(*w).CtrlForm()),
                            static_cast<QWidget*>(Access(*w).AoSForm())})
      for (QWidget* c : window->findChildren<QWidget*>()) {
        if (!qobject_cast<QAbstractButton*>(c) && !qobject_cast<QAbstractSlider*>(c) &&
            !qobject_cast<QComboBox*>(c) && !qobject_cast<QLineEdit*>(c) &&
            !qobject_cast<QListWidget*>(c))
          continue;
        if (qobject_cast<QLineEdit*>(c) && qobject_cast<QComboBox*>(c->parentWidget())) continue;
        if (qobject_cast<QAbstractSlider*>(c) &&
            qobject_cast<QAbstractScrollArea*>(c->parentWidget()->parentWidget()))
          continue;
        const QWidget* told = c;
        while (told && told->toolTip().isEmpty() && told != window) told = told->parentWidget();
        QVERIFY2(told && !told->toolTip().isEmpty(),
                 qPrintable(c->objectName() + " " + c->metaObject()->className()));
      }
    QVERIFY(!Access(*w).CtrlForm()->findChild<QWidget*>("CBPartsLock")->toolTip().isEmpty());
    QVERIFY(!Access(*w).AoSForm()->findChild<QWidget*>("BtnSetValue")->toolTip().isEmpty());

    // German, then back.
    TSettings german = Access(*w).Settings();
    german.Language = kLangGerman;
    Access(*w).ApplySettings(german);
    QCOMPARE(action("Open1")->statusTip(), StatusTipFor(kLangGerman, "Open1"));
    QCOMPARE(Access(*w).CtrlForm()->findChild<QWidget*>("CBPartsLock")->toolTip(),
             ToolTipFor(kLangGerman, "TCtrlForm", "CBPartsLock"));
    QCOMPARE(action("MnWholeImage")->text(),
             QString::fromUtf8("Bild des &ganzen Hauses speichern..."));
    QCOMPARE(action("MnImportDesign")->text(), QString("Design importieren..."));
    QCOMPARE(action("MnExportDesign")->text(), QString("Design exportieren..."));
    TSettings english = Access(*w).Settings();
    english.Language = kLangEnglish;
    Access(*w).ApplySettings(english);
    QCOMPARE(action("Open1")->statusTip(), QString("Open a house file"));
    QCOMPARE(action("MnImportDesign")->text(), QString("Import Design..."));
  }

  // Each kind of file dialog starts where that kind was last chosen, also
  // after a restart.
  void dialogsRememberTheirFolders() {
    QDir().mkpath(home.path() + "/houses");
    QDir().mkpath(home.path() + "/pictures");
    prompts->saveName = home.path() + "/houses/kept.tav";
    w->SaveAs1Click();
    prompts->saveName = home.path() + "/pictures/view.png";
    w->ImageSaveas1Click();
    stop();
    start();
    prompts->openName.clear();
    w->Open1Click();
    QCOMPARE(prompts->lastStart, home.path() + "/houses/");
    prompts->saveName.clear();
    w->ImageSaveas1Click();
    QCOMPARE(prompts->lastStart, home.path() + "/pictures/");
  }

  // The encoding follows the name; a name without one of the picture
  // extensions gets the chosen filter's.
  void pictureEncodings() {
    prompts->saveName = home.path() + "/plain";
    prompts->saveFilter = "PNG(*.png) (*.png)";
    w->ImageSaveas1Click();
    QCOMPARE(ReadBytes(home.path() + "/plain.png").mid(1, 3), QByteArray("PNG"));
    prompts->saveFilter = "JPEG(*.jpg) (*.jpg *.jpeg)";
    w->ImageSaveas1Click();
    QCOMPARE(ReadBytes(home.path() + "/plain.jpg").left(2), QByteArray("\xFF\xD8"));
    prompts->saveName = home.path() + "/named.bmp";
    w->ImageSaveas1Click();
    QCOMPARE(ReadBytes(home.path() + "/named.bmp").left(2), QByteArray("BM"));
    QVERIFY(prompts->errors.isEmpty());
  }

  // The whole house, whatever part is scrolled into view, is the picture
  // tavi-cli render makes of the same house with the same options.
  void wholeHouseImageIsTheCliPicture() {
    prompts->yesNoCancel = {UiPrompts::kYes};
    w->MnNewFileClick();
    TSettings big = Access(*w).Settings();
    big.Width = 20;
    big.Height = 20;
    Access(*w).ApplySettings(big);
    put(1, 3, 3, 1234);
    put(2, 15, 12, 1235);
    Access(*w).CtrlForm()->SetFloor(2);
    Access(*w).SetZoom(1.5);
    w->findChild<MainSurface*>()->ScrollTo(300, 200);
    const QString house = home.path() + "/whole.tav";
    prompts->saveName = house;
    w->SaveAs1Click();
    prompts->saveName = home.path() + "/whole.bmp";
    w->MnWholeImageClick();
    QVERIFY2(prompts->errors.isEmpty(), qPrintable(prompts->errors.join("; ")));
    const std::string cli = (home.path() + "/cli.bmp").toStdString();
    const CliRun r = RunCli({"render", house.toStdString(), "--out", cli, "--client",
                             DemoClientDir(), "--floor", "2", "--zoom", "1.5"});
    QCOMPARE(r.code, 0);
    const QByteArray mine = ReadBytes(home.path() + "/whole.bmp");
    QVERIFY(mine.size() > 1000);
    QVERIFY(mine == ReadBytes(QString::fromStdString(cli)));
  }

  // Zoom keeps the point under the pointer in place; with the pointer
  // outside the view, its centre.
  void zoomAboutThePointerAndArrowKeys() {
    TSettings big = Access(*w).Settings();
    big.Width = 25;
    big.Height = 25;
    Access(*w).ApplySettings(big);
    auto* surface = w->findChild<MainSurface*>();
    QWidget* view = Access(*w).PaintBox();
    Access(*w).SetZoom(2.0);
    surface->ScrollTo(400, 300);
    QCursor::setPos(view->mapToGlobal(QPoint(100, 80)));
    QTRY_COMPARE(view->mapFromGlobal(QCursor::pos()), QPoint(100, 80));
    Access(*w).ZoomStep(false);  // 2.0 -> 1.875
    QCOMPARE(surface->ScrollX(), int(std::lround(500 * 1.875 / 2.0 - 100)));
    QCOMPARE(surface->ScrollY(), int(std::lround(380 * 1.875 / 2.0 - 80)));
    QCursor::setPos(view->mapToGlobal(QPoint(-50, -50)));
    QTRY_VERIFY(!view->rect().contains(view->mapFromGlobal(QCursor::pos())));
    const int cx = surface->ScrollX() + view->width() / 2;
    Access(*w).ZoomStep(true);
    QCOMPARE(surface->ScrollX() + view->width() / 2, int(std::lround(cx * 2.0 / 1.875)));

    // The arrow keys scroll while the drawing surface has the focus.
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    view->setFocus();
    QTRY_VERIFY(view->hasFocus());
    const int x0 = surface->ScrollX(), y0 = surface->ScrollY();
    QTest::keyClick(view, Qt::Key_Right);
    QVERIFY(surface->ScrollX() > x0);
    QTest::keyClick(view, Qt::Key_Down);
    QVERIFY(surface->ScrollY() > y0);
    QTest::keyClick(view, Qt::Key_Left);
    QCOMPARE(surface->ScrollX(), x0);
  }

  // Fault: the tool windows opened partly below the screen and over the
  // control window's lower controls. Both lie on the screen now, over no
  // control of the control window and not over the catalogue's menus.
  void toolWindowsOnTheScreen() {
    TCtrlForm* c = Access(*w).CtrlForm();
    c->CBObjWindow->click();
    c->CBAoSWindow->click();
    QTRY_VERIFY(Access(*w).ObjForm()->isVisible() && Access(*w).AoSForm()->isVisible());
    const QRect area = w->screen()->availableGeometry();
    const QRect ctrl = c->frameGeometry();
    const QWidget* tabs = Access(*w).ObjForm()->findChild<QWidget*>("Tab");
    const QRect tabsOnScreen(tabs->mapToGlobal(QPoint(0, 0)), tabs->size());
    for (QWidget* tool : {static_cast<QWidget*>(Access(*w).ObjForm()),
                          static_cast<QWidget*>(Access(*w).AoSForm())}) {
      const QRect r = tool->frameGeometry();
      QVERIFY2(
          area.contains(r),
          qPrintable(QString("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height())));
      QVERIFY(!r.intersects(ctrl));
    }
    QVERIFY(!Access(*w).AoSForm()->frameGeometry().intersects(tabsOnScreen));
  }

  // Fault: a smaller plot dropped every entry outside it without a word.
  void smallerPlotAsksFirst() {
    prompts->yesNoCancel = {UiPrompts::kNo};
    w->MnNewFileClick();  // an empty plot
    TSettings big = Access(*w).Settings();
    big.Width = 20;
    big.Height = 20;
    Access(*w).ApplySettings(big);
    put(1, 15, 15, 1234);
    put(1, 2, 2, 1235);
    const int language = Access(*w).Settings().Language;
    prompts->exec = [](QDialog* dialog) {
      auto* cfg = qobject_cast<TCfgForm*>(dialog);
      cfg->CBWidth->setCurrentIndex(0);  // 8 cells
      cfg->CBHeight->setCurrentIndex(0);
      cfg->CBBGType->setCurrentIndex(3);
      return true;
    };
    prompts->yesNo = {false};
    w->Option1Click();
    QCOMPARE(prompts->questions.last(), UiTextsFor(language).EntriesOutside.arg(1));
    QCOMPARE(Access(*w).Doc().Width, 20);
    QCOMPARE(Access(*w).Doc().Tiles[1][0][15][15].Id, uint16_t(1234));
    QCOMPARE(Access(*w).Settings().BGType, 0);  // the other settings stay too
    prompts->yesNo = {true};
    w->Option1Click();
    QCOMPARE(Access(*w).Doc().Width, 8);
    QCOMPARE(Access(*w).Settings().BGType, 3);
    // Nothing outside: no question.
    const int asked = prompts->questions.size();
    w->Option1Click();
    QCOMPARE(prompts->questions.size(), asked);
  }

  // Fault: Del after clicking a tile of a page removed nothing.
  void catalogueDelAfterAClick() {
    Access(*w).CtrlForm()->CBObjWindow->click();
    TObjForm* obj = Access(*w).ObjForm();
    QVERIFY(QTest::qWaitForWindowExposed(obj));
    const int page = obj->AddPage("Clicked");
    obj->Pages().AddCode(page, 1234);
    obj->Pages().AddCode(page, 1235);
    obj->Pages().AddCode(page, 1236);
    obj->SetCurrentTab(page + 1);
    obj->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(obj));
    PictureGrid* grid = obj->Grid();
    // The choice left behind by the last removal lies past the page's end.
    grid->SelectCell(std::min(5, grid->ColCount() - 1), 0, false);
    obj->PopMenuPopup();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(grid->CellWidth() + grid->CellWidth() / 2, grid->CellHeight() / 2));
    QTRY_VERIFY(grid->hasFocus());
    QTest::keyClick(grid, Qt::Key_Delete);
    QCOMPARE(obj->Pages().Pages[size_t(page)].Codes, (std::vector<uint16_t>{1234, 1236}));
  }

  // Fault: closing Import Cache left the current floor at the top.
  void cacheDialogPutsTheFloorBack() {
    TCtrlForm* c = Access(*w).CtrlForm();
    c->SetFloor(2);
    Access(*w).MultiForm()->ShowDialog();
    QTRY_VERIFY(Access(*w).MultiForm()->isVisible());
    QCOMPARE(c->CurrentFloor(), 4);
    QVERIFY(Access(*w).MultiForm()->NoCacheLabel()->isHidden());  // the demo client has some
    Access(*w).MultiForm()->BtnCloseClick();
    QTRY_VERIFY(!Access(*w).MultiForm()->isVisible());
    QCOMPARE(c->CurrentFloor(), 2);
    // After an import the cached house is seen from the top floor.
    Access(*w).MultiForm()->ShowDialog();
    QTRY_VERIFY(Access(*w).MultiForm()->isVisible());
    QVERIFY(Access(*w).MultiForm()->HouseList()->count() > 0);
    Access(*w).MultiForm()->HouseList()->setCurrentRow(0);
    Access(*w).MultiForm()->BtnImportClick();
    Access(*w).MultiForm()->BtnCloseClick();
    QTRY_VERIFY(!Access(*w).MultiForm()->isVisible());
    QCOMPARE(c->CurrentFloor(), 4);
    // A client folder without cached houses: the dialog says where it looked.
    QDir().mkpath(home.path() + "/bare-client/Desktop/acct");
    Access(*w).Settings().ClientDir = (home.path() + "/bare-client/").toStdString();
    Access(*w).MultiForm()->ShowDialog();
    QTRY_VERIFY(Access(*w).MultiForm()->isVisible());
    QVERIFY(Access(*w).MultiForm()->NoCacheLabel()->isVisible());
    QVERIFY(Access(*w).MultiForm()->NoCacheLabel()->text().contains(home.path() +
                                                                    "/bare-client/Desktop"));
    Access(*w).MultiForm()->BtnCloseClick();
  }

  // Fault: Enter in the zoom box left "150" without "%".
  void zoomBoxShowsThePercentSign() {
    auto* box = Access(*w).CtrlForm()->findChild<QComboBox*>("CBMag");
    box->setFocus();
    box->lineEdit()->selectAll();
    QTest::keyClicks(box->lineEdit(), "150");
    QTest::keyClick(box->lineEdit(), Qt::Key_Return);
    QCOMPARE(box->currentText(), QString("150%"));
    QCOMPARE(Access(*w).Zoom(), 1.5);
  }

  // Fault: the file dialogs read files to tell their type, and a special
  // file that never ends (typing /proc/) hung the editor. The type and the
  // icon come from the name alone: a file whose contents say PNG but whose
  // name says nothing is a plain file to the dialog.
  void fileDialogsReadNoContents() {
    const QString sniffed = home.path() + "/noext";
    WriteFile(sniffed, QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
    QFileDialog dialog;
    MakeSafe(&dialog);
    QVERIFY(dynamic_cast<const NamesOnlyIconProvider*>(dialog.iconProvider()));
    QVERIFY(dialog.testOption(QFileDialog::DontUseNativeDialog));
    const QString png = QMimeDatabase().mimeTypeForName("image/png").comment();
    QVERIFY(QFileIconProvider().type(QFileInfo(sniffed)) == png);  // what reading gives
    QVERIFY(dialog.iconProvider()->type(QFileInfo(sniffed)) != png);
    QCOMPARE(dialog.iconProvider()->type(QFileInfo(home.path() + "/x.png")), png);
    // Typing /proc/ in the name field leaves the dialog usable.
    dialog.setDirectory(home.path());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto* name = dialog.findChild<QLineEdit*>("fileNameEdit");
    QVERIFY(name);
    QTest::keyClicks(name, "/proc/");
    QTest::qWait(300);
    QTest::keyClicks(name, "k");  // kmsg: a read waits for the next kernel message
    QTest::qWait(300);
    QVERIFY(dialog.isVisible());
    dialog.reject();
  }

  // Import Multi without the multi files names the file it tried.
  void importMultiNamesTheMissingFile() {
    Access(*w).Settings().MultiIdx = (home.path() + "/gone/multi.idx").toStdString();
    Access(*w).Settings().Multi = (home.path() + "/gone/multi.mul").toStdString();
    w->MnImportClick(100);
    QCOMPARE(prompts->errors.size(), 1);
    QVERIFY2(prompts->errors[0].contains(home.path() + "/gone/multi.idx"),
             qPrintable(prompts->errors[0]));
    QVERIFY(prompts->errors[0].contains("Option"));
  }
};

QTEST_MAIN(TestDailyUse)
#include "test_daily_use.moc"
