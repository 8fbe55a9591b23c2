// File > Import Design... and Export Design..., and the game's limits shown
// under the price.
#include <QAction>
#include <QLabel>
#include <QtTest>

#include "app/aos_window.h"
#include "app/app_test_util.h"
#include "app/control_window.h"
#include "io/design_formats.h"
#include "tests/app/main_form_test_access.h"

using namespace tavi;
using namespace tavi::test;

class TestDesignCommands : public QObject {
  Q_OBJECT

  TestHome home;
  std::shared_ptr<ScriptedPrompts> prompts;
  std::unique_ptr<TMainForm> w;

 private slots:

  void init() { OpenDemoEditor(home.path() + "/cfg", prompts, w); }
  void cleanup() { CloseDemoEditor(w); }

  // Export in the filter's format, then import it back in place of a changed
  // house: the same components; a broken file leaves the house alone.
  void exportThenImport() {
    QVERIFY(w->findChild<QAction*>("MnImportDesign"));
    TTAVIDoc& doc = Access(*w).Doc();
    doc.SetSize(12, 12);
    doc.Clear(true);
    Access(*w).SetBaseHeight(7);
    const Design before = DesignOfHouse(doc);
    prompts->saveName = home.path() + "/house";
    prompts->saveFilter = "CSV (*.csv)";
    w->MnExportDesignClick();
    QVERIFY(prompts->errors.isEmpty());
    const QString csv = home.path() + "/house.csv";
    QVERIFY(ReadFile(csv).startsWith("TileID,OffsetX,OffsetY,OffsetZ,Flag,Cliloc\r\n"));

    doc.SetSize(5, 5);
    doc.Clear(false);
    doc.Modified = true;
    prompts->yesNoCancel = {UiPrompts::kNo};  // do not save the changed house
    prompts->openName = csv;
    prompts->numbers = {7};
    w->MnImportDesignClick();
    QVERIFY2(prompts->errors.isEmpty(), qPrintable(prompts->errors.join("|")));
    QCOMPARE(doc.Width, 12);
    QCOMPARE(DesignOfHouse(doc).components.size(), before.components.size());
    QVERIFY(!doc.Modified);
    QCOMPARE(Access(*w).BaseHeight(), 7);

    WriteFile(home.path() + "/bad.csv", "TileID,OffsetX,OffsetY,OffsetZ,Flag\r\n0x7,0,zz,0,1\r\n");
    prompts->openName = home.path() + "/bad.csv";
    const std::vector<char> tiles(reinterpret_cast<const char*>(doc.Tiles),
                                  reinterpret_cast<const char*>(doc.Tiles) + sizeof(doc.Tiles));
    w->MnImportDesignClick();
    QCOMPARE(prompts->errors.size(), 1);
    QVERIFY(
        prompts->errors.last().endsWith("bad.csv: line 2: x, y and z are decimal numbers "
                                        "from -32768 to 32767"));
    QCOMPARE(doc.Width, 12);
    QVERIFY(std::equal(tiles.begin(), tiles.end(), reinterpret_cast<const char*>(doc.Tiles)));
  }

  // A file of several designs offers them by name; the chosen one is laid.
  void severalDesignsOfferAList() {
    Design a, b;
    a.name = "Cottage";
    a.components = {{7, 0, 0, 0}};
    b.name = "Tower";
    b.components = {{8, 0, 0, 0}, {8, 3, 0, 0}};
    const QString file = home.path() + "/lib.uoa";
    const std::string bytes = WriteUoaBinary({a, b});
    WriteFile(file, QByteArray(bytes.data(), int(bytes.size())));
    prompts->openName = file;
    prompts->choices = {1};
    prompts->numbers = {7};
    w->MnImportDesignClick();
    QCOMPARE(prompts->choiceItems, QStringList({"1. Cottage", "2. Tower"}));
    QCOMPARE(Access(*w).Doc().Width, 5);
    QCOMPARE(Access(*w).Doc().Tiles[0][0][0][3].Id, uint16_t(8));
    // Cancelling the list leaves the house as it is.
    prompts->openName = file;
    w->MnImportDesignClick();
    QCOMPARE(Access(*w).Doc().Width, 5);
  }

  // The game's limits show under the price while the design breaks them.
  void gameLimitsBesideThePrice() {
    TTAVIDoc& doc = Access(*w).Doc();
    QVERIFY(Access(*w).AoSForm());
    QLabel* limits = Access(*w).AoSForm()->findChild<QLabel*>("LblGameLimits");
    QVERIFY(limits);
    doc.SetSize(11, 11);
    doc.Clear(true);
    QVERIFY(limits->text().isEmpty());
    doc.SetSize(9, 16);
    doc.Recalculate();
    QCOMPARE(limits->text(), QString("the game offers no 8x15 plot"));
  }
};

QTEST_MAIN(TestDesignCommands)
#include "test_design_commands.moc"
