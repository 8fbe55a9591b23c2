// The catalogue, AoS, foundation and cache import windows on the demo client.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QTemporaryDir>
#include <QtTest>
#include <cstring>
#include <fstream>
#include <memory>
#include <set>
#include <utility>

#include "app/aos_window.h"
#include "app/cache_import_dialog.h"
#include "app/catalogue_window.h"
#include "app/control_window.h"
#include "app/foundation_dialog.h"
#include "app/picture_grid.h"
#include "client/tile_data.h"
#include "document/aos_tables.h"
#include "document/foundation_tables.h"
#include "document/house_document.h"
#include "render/view_state.h"
#include "settings/settings.h"
#include "support/demo_client.h"
#include "tests/app/fake_window_host.h"

namespace tavi {

class ToolWindowsTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TUOTileData> tiles_;
  PlainDocHost docHost_;
  std::unique_ptr<TTAVIDoc> doc_;
  TSettings settings_;
  // Each test's windows are made from this host; a test that expects message
  // boxes says so, the others fail on any.
  std::unique_ptr<test::FakeWindowHost> host_;
  bool boxesExpected_ = false;

  test::FakeWindowHost& Host() { return *host_; }

  static void WriteFile(const QString& path, const std::string& text) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    std::ofstream(path.toStdString(), std::ios::binary) << text;
  }

 private slots:
  void initTestCase() {
    const std::string dir = test::DemoClientDir();
    tiles_ = TUOTileData::Create(dir + "/artidx.mul", dir + "/tiledata.mul", dir + "/art.mul");
    QVERIFY(tiles_->ItemCount > 100);
    doc_ = std::make_unique<TTAVIDoc>(8, 8, tiles_.get(), &docHost_);
  }

  void init() {
    doc_->SetSize(8, 8);
    doc_->Clear(true);
    settings_ = TSettings();
    host_ = std::make_unique<test::FakeWindowHost>();
    host_->doc = doc_.get();
    host_->tiles = tiles_.get();
    host_->settings = &settings_;
    boxesExpected_ = false;
  }

  void cleanup() {
    if (!boxesExpected_)
      QVERIFY2(host_->prompts.infos.isEmpty(), qPrintable(host_->prompts.infos.join(" | ")));
  }

  void foundationPreselectsTheHousesOwnChoices() {
    TFoundationForm f(Host());
    f.FormShow();
    // The default house: sign row 3 column 5, hanger row 0 column 1, post
    // row 0 column 0, style 4.
    QCOMPARE(QPoint(f.SignGrid()->Col(), f.SignGrid()->Row()), QPoint(5, 3));
    QCOMPARE(QPoint(f.HangerGrid()->Col(), f.HangerGrid()->Row()), QPoint(1, 0));
    QCOMPARE(QPoint(f.PostGrid()->Col(), f.PostGrid()->Row()), QPoint(0, 0));
    QCOMPARE(f.StyleGrid()->Col(), 4);

    const FoundationStyle& s0 = FoundationStyleAt(0);
    doc_->BuildFoundation(SignAt(2, 4), HangerAt(2, 1), PostAt(3, 2), s0.edgeNS, s0.cornerSE,
                          s0.edgeWE, s0.cornerNW);
    f.FormShow();
    QCOMPARE(QPoint(f.SignGrid()->Col(), f.SignGrid()->Row()), QPoint(2, 4));
    QCOMPARE(QPoint(f.HangerGrid()->Col(), f.HangerGrid()->Row()), QPoint(2, 1));
    QCOMPARE(QPoint(f.PostGrid()->Col(), f.PostGrid()->Row()), QPoint(3, 2));
    QCOMPARE(f.StyleGrid()->Col(), 0);

    // A blank post cell keeps the post chosen before; the style gives four tiles.
    f.PostGrid()->SelectCell(6, 3, false);
    f.StyleGrid()->SelectCell(2, 0, false);
    f.FormClose();
    const FoundationChoice& r = f.Result();
    QCOMPARE(r.Post, PostAt(3, 2));
    QCOMPARE(r.Sign, SignAt(2, 4));
    QCOMPARE(r.CornerSE, FoundationStyleAt(2).cornerSE);
    QCOMPARE(r.CornerNW, FoundationStyleAt(2).cornerNW);
    QCOMPARE(r.EdgeNS, FoundationStyleAt(2).edgeNS);
    QCOMPARE(r.EdgeWE, FoundationStyleAt(2).edgeWE);

    // Cancel: the result says Cancel and the document is not touched.
    const uint16_t sign = doc_->Tiles[0][0][7][0].Id;
    QTimer::singleShot(0, &f, [&f] { f.reject(); });
    QVERIFY(!f.Execute());
    QCOMPARE(doc_->Tiles[0][0][7][0].Id, sign);
  }

  // The control window works from its host alone: the selection, the detail
  // cell, hidden cells, the zoom and the tool windows all come through it.
  void controlWindowRunsFromItsHost() {
    test::FakeWindowHost& h = Host();
    CellRect& sel = h.selection;
    int &detailX = h.detailX, &detailY = h.detailY, &redraws = h.redraws;
    const double& zoom = h.zoom;
    const std::set<std::pair<int, int>>& hidden = h.hidden;
    TAoSForm aos(h);
    QWidget obj(nullptr, Qt::Tool);
    h.aos = &aos;
    h.catalogueWindow = &obj;
    h.aosWindow = &aos;
    TCtrlForm c(h);
    const uint16_t id = uint16_t(tiles_->ItemIds[3]);
    c.SetCurrentTile(id);
    c.SetEditMode(kModeStack);

    // Without a selection nothing changes.
    c.BtnAddClick();
    c.BtnHideClick();
    QCOMPARE(doc_->LayerCount[1][1][1], 0);
    QVERIFY(hidden.empty());

    sel = CellRect{1, 1, 2, 2};
    c.BtnAddClick();
    QCOMPARE(doc_->Tiles[1][0][1][1].Id, id);
    QCOMPARE(doc_->Tiles[1][0][2][2].Id, id);
    detailX = detailY = 2;
    redraws = 0;
    c.RefreshCellList();
    QCOMPARE(c.LBDetail()->count(), 1);
    QVERIFY(c.LBDetail()->item(0)->text().startsWith(" 0:"));
    QVERIFY(redraws > 0);

    c.BtnHideClick();
    QCOMPARE(hidden.size(), size_t(4));
    c.BtnShowAllClick();
    QVERIFY(hidden.empty());
    c.BtnDeleteClick();
    QCOMPARE(doc_->LayerCount[1][1][1], 0);
    QCOMPARE(c.LBDetail()->count(), 0);

    // With the AoS window on the automatic stairs, Add builds a staircase.
    aos.show();
    aos.SetTypeIndex(kAosAutoStairs);
    aos.SelectGridCell(2, 3);
    sel = CellRect{3, 3, 5, 5};
    c.BtnAddClick();
    QVERIFY(doc_->LayerCount[1][3][3] > 0);
    aos.hide();

    c.CBMag()->setCurrentIndex(c.CBMag()->findText("50%"));
    QCOMPARE(zoom, 0.5);
    c.CBObjWindow->click();
    QVERIFY(obj.isVisible());
    c.CBObjWindow->click();
    QVERIFY(!obj.isVisible());
  }

  // Item names are single-byte text: the control window's label and stack
  // list, the catalogue's and the AoS window's status lines all read them
  // as Latin-1.
  void itemNamesReadAlikeEverywhere() {
    const uint16_t id = ObjectTableAt(kAosWalls, 0, 0);
    TileInfo& info = tiles_->ItemData[id];
    const TileInfo saved = info;
    std::memset(info.Name, 0, sizeof info.Name);
    std::memcpy(info.Name, "Caf\xe9 wall \xc4", 12);
    const QString name = QString::fromUtf8("Café wall Ä");

    test::FakeWindowHost& h = Host();
    int &detailX = h.detailX, &detailY = h.detailY;
    TCtrlForm c(h);
    h.onCurrentTile = [&c](uint16_t) { c.ShowCurrentTile(); };
    c.SetCurrentTile(id);
    c.ShowCurrentTile();
    QCOMPARE(c.findChild<QLabel*>("LblName")->text(), name);
    doc_->Tiles[1][0][4][4] = {0, id, 0};
    doc_->UpdateAllCells();
    detailX = detailY = 4;
    c.RefreshCellList();
    QCOMPARE(c.LBDetail()->count(), 1);
    QVERIFY2(c.LBDetail()->item(0)->text().contains(name),
             qPrintable(c.LBDetail()->item(0)->text()));

    TAoSForm aos(h);
    aos.SetTypeIndex(kAosWalls);
    aos.SelectGridCell(1, 0);
    aos.SelectGridCell(0, 0);
    QVERIFY2(aos.StatusText().contains("Name:" + name), qPrintable(aos.StatusText()));
    QCOMPARE(c.findChild<QLabel*>("LblName")->text(), name);
    info = saved;
  }

  // The control window shows the edit state and writes the user's changes
  // into it; the AoS window keeps the staircase in it, however its type,
  // its grid or its visibility change.
  void windowsKeepTheEditState() {
    test::FakeWindowHost& h = Host();
    h.edit.Floor = 3;
    h.edit.Alt = 5;
    h.edit.Mode = kModeInner;
    h.edit.PartsLock = true;
    TCtrlForm c(h);
    auto* floorBar = c.findChild<QSlider*>("TBFloor");
    auto* altBar = c.findChild<QSlider*>("TBHeight");
    auto* lock = c.findChild<QCheckBox*>("CBPartsLock");
    QCOMPARE(floorBar->value(), 3);
    QCOMPARE(c.findChild<QLabel*>("LblFloor")->text(), QString("3"));
    QCOMPARE(altBar->value(), 5);
    QVERIFY(c.findChild<QRadioButton*>("RGEditmode_2")->isChecked());
    QVERIFY(lock->isChecked());

    floorBar->setValue(0);
    altBar->setValue(12);
    c.findChild<QRadioButton*>("RGEditmode_1")->click();
    lock->click();
    QCOMPARE(h.edit.Floor, 0);
    QCOMPARE(h.edit.Alt, 12);
    QCOMPARE(h.edit.Mode, int(kModeStack));
    QVERIFY(!h.edit.PartsLock);

    const uint16_t id = uint16_t(tiles_->ItemIds[5]);
    h.edit = EditState();
    h.edit.Floor = 4;
    h.edit.Tile = id;
    c.ShowEditState();
    QCOMPARE(floorBar->value(), 4);
    QCOMPARE(altBar->value(), 0);
    QVERIFY(c.findChild<QRadioButton*>("RGEditmode_0")->isChecked());
    QVERIFY(!c.findChild<QRadioButton*>("RGEditmode_1")->isChecked());
    QCOMPARE(c.findChild<QLabel*>("LblNumber")->text(), QString::asprintf("No.%d (%X)", id, id));

    TAoSForm a(h);
    a.SetTypeIndex(kAosAutoStairs);
    QVERIFY(!h.edit.AutoStairs);  // not shown
    a.show();
    QVERIFY(h.edit.AutoStairs);
    a.Grid()->SelectCell(3, 2, false);
    QCOMPARE(h.edit.StairsDirection, 3);
    QCOMPARE(h.edit.StairsRow, 2);
    a.SetTypeIndexSilently(kAosWalls);
    QVERIFY(!h.edit.AutoStairs);
    a.TypeList()->setCurrentIndex(kAosAutoStairs);
    QVERIFY(h.edit.AutoStairs);
    a.hide();
    QVERIFY(!h.edit.AutoStairs);
  }

  void aosGridPricesAndReferenceEdit() {
    test::FakeWindowHost& h = Host();
    TAoSForm a(h);
    QCOMPARE(a.Grid()->ColCount(), 12);
    QCOMPARE(a.Grid()->RowCount(), 134);

    a.SetTypeIndex(kAosAutoStairs);
    QCOMPARE(a.Grid()->RowCount(), 10);
    a.SelectGridCell(2, 3);
    QCOMPARE(Host().edit.Tile, ObjectTableAt(kAosAutoStairs, 2, 3));
    const QString status = a.StatusText();
    QVERIFY(status.startsWith(QString("No.%1 (0x%2) Name:")
                                  .arg(Host().edit.Tile)
                                  .arg(QString::number(Host().edit.Tile, 16).toUpper())));
    // Column 5 of the auto stairs holds no picture: the cell is selected (the
    // main window reads it as a direction) but nothing else changes.
    const uint16_t before = Host().edit.Tile;
    a.SelectGridCell(5, 3);
    QCOMPARE(a.SelectedCol(), 5);
    QCOMPARE(Host().edit.Tile, before);
    QCOMPARE(a.StatusText(), status);

    auto* ed = a.findChild<QLineEdit*>("EdOldPrice");
    QVERIFY(ed);
    ed->setText("abc");
    a.EdOldPriceExit();
    QCOMPARE(ed->text(), QString("0"));
    QCOMPARE(a.ReferencePrice(), int64_t(0));
    ed->setText("10000");
    a.EdOldPriceExit();
    QCOMPARE(a.ReferencePrice(), int64_t(10000));

    a.SetPriceLabels(12500, "    12,500 gp", "+    2,500");
    a.TakeReferencePrice();
    QCOMPARE(a.ReferencePrice(), int64_t(12500));
    QCOMPARE(ed->text(), QString("12500"));

    a.show();
    QVERIFY(QTest::qWaitForWindowExposed(&a));
    a.hide();
    QCOMPARE(h.aosHidden, 1);
  }

  void cataloguePagesFindAndPaging() {
    QTemporaryDir dir;
    const QString folder = dir.path() + "/";
    const uint16_t a = uint16_t(tiles_->ItemIds[3]), b = uint16_t(tiles_->ItemIds[7]);
    WriteFile(folder + "book_sys.ini", "[Walls]\r\n$0001\r\n600\r\n\r\n");
    settings_.nBookmark = 2;
    settings_.BookmarkCodes[0] = a;
    settings_.BookmarkCodes[1] = b;

    test::FakeWindowHost& h = Host();
    boxesExpected_ = true;
    QStringList& boxes = h.prompts.infos;
    TAoSForm aos(h);
    h.aos = &aos;
    TObjForm o(h, folder);
    QCOMPARE(settings_.nBookmark, 0);
    QCOMPARE(int(o.Pages().Pages.size()), 2);
    QCOMPARE(o.Pages().Pages[0].Codes, (std::vector<uint16_t>{a, b}));

    o.resize(320, 400);
    o.show();
    QVERIFY(QTest::qWaitForWindowExposed(&o));
    PictureGrid* g = o.Grid();
    QCOMPARE(g->ColCount(), g->ClientWidth() / 45);
    QCOMPARE(g->RowCount(), (tiles_->ItemCount + g->ColCount() - 1) / g->ColCount());

    // Choosing a cell makes its tile the current one.
    QVERIFY(g->SelectCell(2, 1));
    const int index = g->ColCount() + 2;
    QCOMPARE(Host().edit.Tile, uint16_t(tiles_->ItemIds[index]));
    QCOMPARE(o.StatusText(), QString("No.%1 (0x%2) Name:%3 Height:%4")
                                 .arg(Host().edit.Tile)
                                 .arg(QString::number(Host().edit.Tile, 16).toUpper())
                                 .arg(QString::fromStdString(tiles_->ItemName(Host().edit.Tile)))
                                 .arg(tiles_->ItemData[Host().edit.Tile].Height));

    // Find: the first later item whose stored name holds the lower-cased text.
    const std::string name = tiles_->ItemName(uint16_t(tiles_->ItemIds[index + 5]));
    const QString lowered = QString::fromStdString(name).toLower();
    int expected = -1;
    for (int i = index + 1; i < int(tiles_->ItemCount) && expected < 0; ++i)
      if (tiles_->ItemName(uint16_t(tiles_->ItemIds[i])).find(lowered.toStdString()) !=
          std::string::npos)
        expected = i;
    o.FindNextFrom(QString::fromStdString(name));
    if (expected >= 0) QCOMPARE(o.CurrentIndex(), expected);
    QVERIFY(o.findChild<QAction*>("MnFindNext1")->isEnabled());
    const int at = o.CurrentIndex();
    o.FindNextFrom("no such tile anywhere");
    QCOMPARE(boxes, QStringList{"Not found"});
    QCOMPARE(o.CurrentIndex(), at);
    boxes.clear();

    // Adding a tile the page holds twice: two messages, a third copy.
    Host().edit.Tile = a;
    o.AddToPage(0);
    QCOMPARE(boxes, QStringList{"Already Registed."});
    o.AddToPage(0);
    QCOMPARE(boxes.size(), 3);
    QCOMPARE(o.Pages().Pages[0].Count(), 4);

    // A click on the grid moves the AoS type list from Doors to Walls without
    // running its own change handler.
    aos.show();
    aos.SetTypeIndex(kAosDoors);
    const int rows = aos.Grid()->RowCount();
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(aos.TypeIndex(), int(kAosWalls));
    QCOMPARE(aos.Grid()->RowCount(), rows);
    aos.hide();

    // Deleting the second of three user pages: the second "Add to" entry now
    // adds to the former third page.
    o.AddPage("A");
    o.AddPage("B");
    o.AddPage("C");
    o.SetCurrentTab(4);
    QCOMPARE(o.Pages().Pages[3].Name, std::string("B"));
    o.DeleteShownPage();
    QCOMPARE(o.CurrentTab(), 0);
    auto* add = o.findChild<QMenu*>("MnAdd");
    QVERIFY(add);
    QCOMPARE(add->actions().size(), 4);
    QCOMPARE(add->actions()[3]->text(), QString("C"));
    Host().edit.Tile = b;
    add->actions()[3]->trigger();
    QCOMPARE(o.Pages().Pages[3].Codes, (std::vector<uint16_t>{b}));

    // Remove from a page, on the page's tab.
    o.SetCurrentTab(1);
    g->SelectCell(0, 0);
    o.MnDelete1Click();
    QCOMPARE(o.Pages().Pages[0].Codes, (std::vector<uint16_t>{b, a, a}));

    // Paging on "Main": a screen draws only its own cells, once each.
    o.SetCurrentTab(0);
    QApplication::processEvents();
    g->viewport()->repaint();
    const int drawn = o.ThumbnailsDrawn();
    const int screen = g->ColCount() * g->VisibleRows();
    QVERIFY(drawn <= 3 * screen);
    g->verticalScrollBar()->setValue(g->TopRow() + g->VisibleRows());
    g->viewport()->repaint();
    QVERIFY(o.ThumbnailsDrawn() - drawn <= screen);
    g->viewport()->repaint();  // the cache serves the same screen again
    QVERIFY(o.ThumbnailsDrawn() - drawn <= screen);

    // A grid narrower than one cell still has one column.
    g->setMaximumWidth(40);
    QApplication::processEvents();
    QVERIFY(g->ClientWidth() < 45);
    QCOMPARE(g->ColCount(), 1);

    QVERIFY(o.SavePages());
    QFile sys(folder + "book_sys.ini"), user(folder + "bookmark.ini");
    QVERIFY(sys.open(QIODevice::ReadOnly) && user.open(QIODevice::ReadOnly));
    const QString bm = QString("[Bookmark]\r\n$%1\r\n$%2\r\n$%2\r\n\r\n")
                           .arg(b, 4, 16, QChar('0'))
                           .arg(a, 4, 16, QChar('0'))
                           .toUpper()
                           .replace("[BOOKMARK]", "[Bookmark]");
    QCOMPARE(QString(sys.readAll()), bm + "[Walls]\r\n$0001\r\n$0258\r\n\r\n");
    QCOMPARE(QString(user.readAll()), QString("[A]\r\n\r\n[C]\r\n$%1\r\n\r\n")
                                          .arg(b, 4, 16, QChar('0'))
                                          .toUpper()
                                          .replace("[A]", "[A]"));
  }

  void cacheDialogWalksTheDesktopTreeAndImports() {
    QTemporaryDir dir;
    const QString client = dir.path() + "/";
    // One house from x -5..5 and y -6..6 with id 20 at z 0 (base height 6),
    // one single-cell house.
    WriteFile(client + "desktop/Acc/Shard/Hero/Multicache.dat",
              "header line\r\n"
              "1\t0\t3\t0\t0\t0\t0\r\n"
              "20\t0\t-5\t-6\t0\r\n"
              "21\t0\t5\t6\t27\r\n"
              "22\t0\t0\t0\t5\r\n"
              "9 0 0 0 0 0 0\n"  // a header without components: never listed
              "2 0 1 0 0 0 0\n"
              "5 0 0 0 0\n");
    WriteFile(client + "desktop/Acc/Shard/Nobody/readme", "");
    WriteFile(client + "desktop/Acc/Other/x", "");
    WriteFile(client + "desktop/notes.txt", "");
    QDir().mkpath(client + "desktop/Zed.old");
    QDir().mkpath(client + "desktop/Empty");

    settings_.LastAccount = 7;  // beyond the list: the first entry
    settings_.LastShard = -1;
    settings_.LastChar = 0;
    test::FakeWindowHost& h = Host();
    const int &hidden = h.ctrlHidden, &restored = h.ctrlRestored;
    int imported = -1;
    h.afterCacheImport = [&] { imported = doc_->BaseHeight(); };
    int asked = 0;
    bool goOn = true;
    h.askSaveChanges = [&] {
      ++asked;
      return goOn;
    };
    TMultiForm m(h, client);
    m.ShowDialog();
    QVERIFY(m.isVisible());
    QCOMPARE(hidden, 1);
    QCOMPARE(m.AccountList()->count(), 2);  // entries with a dot are not listed
    QCOMPARE(m.AccountList()->currentItem()->text(), QString("Acc"));
    QCOMPARE(m.ShardList()->currentItem()->text(), QString("Other"));
    QCOMPARE(m.CharList()->count(), 1);
    QVERIFY(!m.ImportButton()->isEnabled());  // no cache file for that character

    m.ShardList()->setCurrentRow(1);
    QCOMPARE(m.CharList()->currentItem()->text(), QString("Hero"));
    QCOMPARE(m.HouseList()->count(), 2);
    QCOMPARE(m.HouseList()->item(0)->text(), QString(" 0: 11x13"));
    QCOMPARE(m.HouseList()->item(1)->text(), QString(" 1:  1x 1"));
    QVERIFY(m.ImportButton()->isEnabled());

    // Nothing selected: nothing imported.
    m.HouseList()->setCurrentRow(-1);
    doc_->Modified = true;
    m.BtnImportClick();
    QCOMPARE(imported, -1);
    QVERIFY(doc_->Modified);

    QCOMPARE(asked, 0);

    // The unsaved-changes question comes first, also on a double-click;
    // Cancel leaves the house as it was.
    m.HouseList()->setCurrentRow(0);
    goOn = false;
    const int widthBefore = doc_->Width;
    QVERIFY(QTest::qWaitForWindowExposed(&m));
    const QRect first = m.HouseList()->visualItemRect(m.HouseList()->item(0));
    // A click first, as a person's double-click starts with one.
    QTest::mouseClick(m.HouseList()->viewport(), Qt::LeftButton, {}, first.center());
    QTest::mouseDClick(m.HouseList()->viewport(), Qt::LeftButton, {}, first.center());
    QCOMPARE(asked, 1);
    m.BtnImportClick();
    QCOMPARE(asked, 2);
    QCOMPARE(imported, -1);
    QCOMPARE(doc_->Width, widthBefore);
    QVERIFY(doc_->Modified);

    goOn = true;
    m.BtnImportClick();
    QCOMPARE(asked, 3);
    QCOMPARE(imported, 6);
    QCOMPARE(doc_->Width, 11);
    QCOMPARE(doc_->Height, 13);
    QCOMPARE(doc_->Tiles[0][0][0][0].Id, uint16_t(20));
    QCOMPARE(doc_->Tiles[2][0][12][10].Id, uint16_t(21));  // z 27: floor 2, Z 0
    QCOMPARE(doc_->Tiles[2][0][12][10].Z, int16_t(0));
    QCOMPARE(doc_->Tiles[0][0][6][5].Z, int16_t(5));
    QVERIFY(m.isVisible());  // modeless: stays open after an import

    // The second listed house is the third header of the file.
    m.HouseList()->setCurrentRow(1);
    m.BtnImportClick();
    QCOMPARE(doc_->Width, 1);
    QCOMPARE(doc_->Tiles[0][0][0][0].Id, uint16_t(5));

    // An account without shards leaves nothing to import.
    m.AccountList()->setCurrentRow(1);
    QCOMPARE(m.ShardList()->count(), 0);
    QCOMPARE(m.HouseList()->count(), 0);
    QVERIFY(!m.ImportButton()->isEnabled());
    m.AccountList()->setCurrentRow(0);
    m.ShardList()->setCurrentRow(1);

    m.findChild<QPushButton*>("BtnClose")->click();
    QVERIFY(!m.isVisible());
    QCOMPARE(restored, 1);
    QCOMPARE(settings_.LastAccount, 0);
    QCOMPARE(settings_.LastShard, 1);
    QCOMPARE(settings_.LastChar, 0);
  }
};

}  // namespace tavi

QTEST_MAIN(tavi::ToolWindowsTest)
#include "tool_windows_test.moc"
