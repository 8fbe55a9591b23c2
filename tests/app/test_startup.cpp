// Start-up and shutdown of the editor with and without settings and client.
#include <sys/stat.h>

#include <QLineEdit>
#include <QScreen>
#include <QtTest>

#include "app/app_test_util.h"
#include "app/config_dialog.h"
#include "app/control_window.h"
#include "client/tile_data.h"
#include "document/doc_host.h"
#include "io/multi_import.h"
#include "support/import_multi.h"
#include "tests/app/main_form_test_access.h"

using namespace tavi;
using namespace tavi::test;

class TestStartup : public QObject {
  Q_OBJECT

  TestHome home;

 private slots:
  // A first start without tavi.ini on the demo client: defaults, fresh
  // foundation, control window shown; the demo paths are not stored.
  void firstStartOnDemoClient() {
    const QString folder = home.path() + "/first";
    auto prompts = std::make_shared<ScriptedPrompts>();
    {
      TMainForm w(DemoOptions(folder, prompts));
      QVERIFY(!w.StartupFailed());
      QVERIFY(Access(w).TileData() != nullptr);
      QCOMPARE(Access(w).Doc().Width, 8);
      QCOMPARE(Access(w).Doc().Height, 8);
      QCOMPARE(Access(w).Settings().JpegQuality, 2);
      QCOMPARE(Access(w).Settings().LineWidth, 76);
      QCOMPARE(Access(w).Settings().BGType, 0);
      QVERIFY(Access(w).BackgroundMap()[5][7] >= 3 && Access(w).BackgroundMap()[5][7] <= 6);
      w.show();
      QTRY_VERIFY(Access(w).CtrlForm()->isVisible());
      QCOMPARE(Access(w).CtrlForm()->EditMode(), 0);
      QCOMPARE(Access(w).CtrlForm()->CurrentFloor(), 1);
      QCOMPARE(Access(w).BaseHeight(), 7);
      int entries = 0;
      for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) entries += Access(w).Doc().LayerCount[0][y][x];
      QVERIFY(entries > 0);  // the default foundation
      QVERIFY(!Access(w).Doc().Modified);
      QVERIFY(!Access(w).Doc().CanUndo());
      QCOMPARE(w.windowTitle(), QString("Tavi Editor"));
      // English start: the captions the windows were built with stay.
      QCOMPARE(Access(w).CtrlForm()->windowTitle(), QString("Control"));
      QVERIFY(prompts->infos.isEmpty());
      Access(w).Doc().SetSize(10, 12);
    }
    const QString ini = ReadFile(folder + "/tavi.ini");
    QVERIFY(ini.contains("[TAVI]"));
    QVERIFY(ini.contains("Width=10"));
    QVERIFY(ini.contains("Height=12"));
    // The demo client is for the run only.
    QVERIFY2(!ini.contains("artidx.mul"), qPrintable(ini));
  }

  // Paths the user types while the demo client is in use are stored.
  void typedPathsKeptOverDemo() {
    const QString folder = home.path() + "/typed";
    const QString typed = home.path() + "/games/client/artidx.mul";
    QDir().mkpath(home.path() + "/games/client");
    WriteFile(typed, "x");
    auto prompts = std::make_shared<ScriptedPrompts>();
    prompts->exec = [&](QDialog* dialog) {
      qobject_cast<TCfgForm*>(dialog)->EdArtIdx->setText(typed);
      return true;
    };
    {
      TMainForm w(DemoOptions(folder, prompts));
      w.Option1Click();
    }
    QVERIFY(ReadFile(folder + "/tavi.ini").contains("ArtIdx=" + typed));
  }

  // A start that finds no client and whose configuration is cancelled stores
  // no paths, so a client installed afterwards is found by the next start.
  void failedStartDoesNotHideALaterClient() {
    const QString folder = home.path() + "/later";
    StartOptions o;
    o.settingsFolder = folder;
    o.prompts = std::make_shared<ScriptedPrompts>();  // the dialog is cancelled
    {
      TMainForm w(o);
      QVERIFY(w.StartupFailed());
    }
    const QString ini = ReadFile(folder + "/tavi.ini");
    QVERIFY2(ini.contains("ArtIdx=\r\n") && !ini.contains("artidx.mul"), qPrintable(ini));

    // The client appears in a usual install folder of the Wine prefix.
    const QString usual = home.path() + "/no-wine/drive_c/Program Files/Ultima Online";
    QDir().mkpath(usual);
    for (const char* f : {"artidx.mul", "art.mul", "tiledata.mul", "multi.idx", "multi.mul"})
      QFile::link(QString::fromStdString(DemoClientDir()) + "/" + f, usual + "/" + f);
    o.prompts = std::make_shared<ScriptedPrompts>();
    TMainForm w(o);
    const bool started = !w.StartupFailed();
    QDir(home.path() + "/no-wine").removeRecursively();
    QVERIFY(started);
    QCOMPARE(QString::fromStdString(Access(w).Settings().TileData), usual + "/tiledata.mul");
  }

  // No client anywhere: the message, the configuration dialog; the three art
  // paths typed there start the editor at once, the multi paths completed
  // from the art's folder, and they are used at the next start too.
  void noClientAsksForPaths() {
    const QString folder = home.path() + "/noclient";
    auto prompts = std::make_shared<ScriptedPrompts>();
    const QString demo = QString::fromStdString(DemoClientDir());
    prompts->exec = [&](QDialog* dialog) {
      auto* cfg = qobject_cast<TCfgForm*>(dialog);
      if (!cfg) return false;
      cfg->EdArtIdx->setText(demo + "/artidx.mul");
      cfg->EdArt->setText(demo + "/art.mul");
      cfg->EdTileData->setText(demo + "/tiledata.mul");
      return true;
    };
    StartOptions o;
    o.settingsFolder = folder;
    o.prompts = prompts;
    {
      TMainForm w(o);
      QVERIFY(!w.StartupFailed());
      QVERIFY(Access(w).TileData() != nullptr);
      QCOMPARE(prompts->infos.size(), 1);
      QVERIFY(prompts->infos[0].startsWith(QString::fromUtf8("必要なファイルが見つかりません。")));
      // The message also speaks the user's language.
      QVERIFY(prompts->infos[0].contains("Client folder"));
      QCOMPARE(prompts->execCount, 1);
      QCOMPARE(QString::fromStdString(Access(w).Settings().MultiIdx), demo + "/multi.idx");
      QCOMPARE(QString::fromStdString(Access(w).Settings().Multi), demo + "/multi.mul");
      // Through to a drawn house without a restart.
      w.show();
      QTRY_VERIFY(Access(w).CtrlForm() && Access(w).CtrlForm()->isVisible());
      QTRY_VERIFY(Access(w).Doc().LayerCount[0][1][1] > 0);
      QVERIFY(Access(w).PaintBox()->isVisible());
      w.MnImportClick(100);
      QVERIFY2(prompts->errors.isEmpty(), qPrintable(prompts->errors.join("; ")));
      QVERIFY(Access(w).Doc().Width > 1);
      Access(w).Doc().Modified = false;
    }
    QVERIFY(ReadFile(folder + "/tavi.ini").contains("artidx.mul"));

    auto again = std::make_shared<ScriptedPrompts>();
    o.prompts = again;
    TMainForm w(o);
    QVERIFY(!w.StartupFailed());
    QVERIFY(again->infos.isEmpty());
  }

  // Stored settings are used; an unknown language shows English and is kept.
  void storedSettings() {
    const QString folder = home.path() + "/stored";
    QDir().mkpath(folder);
    WriteFile(folder + "/tavi.ini",
              "[TAVI]\r\nWidth=12\r\nHeight=9\r\nLanguage=7\r\nBGType=6\r\nOther=kept\r\n");
    {
      TMainForm w(DemoOptions(folder, std::make_shared<ScriptedPrompts>()));
      QCOMPARE(Access(w).Doc().Width, 12);
      QCOMPARE(Access(w).Doc().Height, 9);
      QCOMPARE(Access(w).Messages().MsgNotFound, QString("Not found"));
      QCOMPARE(Access(w).BackgroundMap()[0][0], uint16_t(0));
    }
    const QString ini = ReadFile(folder + "/tavi.ini");
    QVERIFY(ini.contains("Language=7"));
    QVERIFY(ini.contains("Other=kept"));
  }

  // At the first show the main window and the control window docked at its
  // right edge lie wholly inside the screen's available area, also when the
  // main window was put near the right edge before it was shown.
  void firstShowFitsTheScreen() {
    for (const bool nearTheEdge : {false, true}) {
      auto prompts = std::make_shared<ScriptedPrompts>();
      TMainForm w(DemoOptions(home.path() + "/place", prompts));
      const QRect area = w.screen()->availableGeometry();
      if (nearTheEdge) w.move(area.right() - w.width() - 40, area.top() + 10);
      w.show();
      TCtrlForm* ctrl = Access(w).CtrlForm();
      QTRY_VERIFY(ctrl->isVisible());
      QVERIFY(QTest::qWaitForWindowExposed(ctrl));
      QApplication::processEvents();
      const QRect main = w.frameGeometry(), side = ctrl->frameGeometry();
      QVERIFY2(area.contains(main), qPrintable(QString("main %1,%2 %3x%4")
                                                   .arg(main.x())
                                                   .arg(main.y())
                                                   .arg(main.width())
                                                   .arg(main.height())));
      QVERIFY2(area.contains(side), qPrintable(QString("control %1,%2 %3x%4")
                                                   .arg(side.x())
                                                   .arg(side.y())
                                                   .arg(side.width())
                                                   .arg(side.height())));
      // Docked: beside the main window, tops level.
      QVERIFY(qAbs(side.left() - (main.right() + 1)) <= 2);
      QCOMPARE(side.top(), main.top());
      if (area.width() >= main.width() + side.width())
        QVERIFY(!side.intersects(main.adjusted(0, 0, -3, 0)));
    }
  }

  // A house file named on the command line is opened at the first idle step;
  // one that cannot be used leaves the fresh house and the bare title.
  void houseFileArgument() {
    const QString folder = home.path() + "/arg";
    QDir().mkpath(folder);
    const QString good = folder + "/My House.tav";
    WriteFile(good, "\"TAVI File ver 1.00\",10,9,5\r\n1,2,3,0,1234\r\n0,0,0,0,1234\r\n");
    auto prompts = std::make_shared<ScriptedPrompts>();
    StartOptions o = DemoOptions(folder, prompts);
    o.houseFile = good;
    {
      TMainForm w(o);
      QTRY_COMPARE(w.windowTitle(), QString("Tavi Editor - My House"));
      QCOMPARE(Access(w).Doc().Width, 10);
      QCOMPARE(Access(w).Doc().Height, 9);
      QCOMPARE(Access(w).BaseHeight(), 5);
      QCOMPARE(Access(w).Doc().Tiles[1][0][3][2].Id, uint16_t(1234));
      QVERIFY(!Access(w).Doc().Modified);
      QCOMPARE(Access(w).CurrentFileName(), good);
    }
    const QString bad = folder + "/old.tav";
    WriteFile(bad, "\"TAVI File ver 0.99\",10,9,5\r\n1,2,3,0,1234\r\n");
    o.houseFile = bad;
    TMainForm w(o);
    QTRY_VERIFY(!prompts->infos.isEmpty());
    QCOMPARE(prompts->infos.last(), QString("Can not use this file version."));
    QCOMPARE(w.windowTitle(), QString("Tavi Editor"));
    QVERIFY(Access(w).CurrentFileName().isEmpty());
    QCOMPARE(Access(w).Doc().Tiles[1][0][3][2].Id, uint16_t(0));
  }
  // A newer client named in the settings: the art and multi containers and
  // no index files. The editor starts, the catalogue has the same items, and
  // Import Multi reads the container into the same house as the loose files.
  // An older client's 12-byte multi records import the same way.
  void otherGenerationsStartAndImport() {
    for (DemoGeneration g : {DemoGeneration::kPacked, DemoGeneration::kOld}) {
      const DemoPaths p = DemoClientPaths(g);
      const QString folder = home.path() + "/gen-" + DemoGenerationName(g);
      QDir().mkpath(folder);
      WriteFile(folder + "/tavi.ini",
                QString("[TAVI]\r\nArtIdx=%1\r\nArt=%2\r\nTileData=%3\r\n"
                        "MultiIdx=%4\r\nMulti=%5\r\n")
                    .arg(QString::fromStdString(p.artIdx), QString::fromStdString(p.art),
                         QString::fromStdString(p.tileData), QString::fromStdString(p.multiIdx),
                         QString::fromStdString(p.multi))
                    .toUtf8());
      auto prompts = std::make_shared<ScriptedPrompts>();
      StartOptions o;
      o.settingsFolder = folder;
      o.prompts = prompts;
      TMainForm w(o);
      QVERIFY(!w.StartupFailed());
      QVERIFY(prompts->infos.isEmpty());
      QCOMPARE(Access(w).TileData()->ArtInContainer, g == DemoGeneration::kPacked);

      auto looseTiles =
          TUOTileData::Create(DemoClientDir() + "/artidx.mul", DemoClientDir() + "/tiledata.mul",
                              DemoClientDir() + "/art.mul");
      QCOMPARE(Access(w).TileData()->ItemCount, looseTiles->ItemCount);
      PlainDocHost host;
      TTAVIDoc loose(8, 8, looseTiles.get(), &host);
      QVERIFY(test::ImportClientMulti(loose, 140, 7, DemoClientDir() + "/multi.idx",
                                      DemoClientDir() + "/multi.mul")
                  .ok);
      w.MnImportClick(140);
      QVERIFY2(prompts->errors.isEmpty(), qPrintable(prompts->errors.join("; ")));
      QCOMPARE(Access(w).Doc().Width, loose.Width);
      QCOMPARE(Access(w).Doc().Height, loose.Height);
      int entries = 0;
      for (int f = 0; f < kFloors; ++f)
        for (int l = 0; l < kLayers; ++l)
          for (int y = 0; y < kGrid; ++y)
            for (int x = 0; x < kGrid; ++x) {
              const TileEntry &a = Access(w).Doc().Tiles[f][l][y][x], &b = loose.Tiles[f][l][y][x];
              QVERIFY(a.Id == b.Id && a.Z == b.Z);
              entries += a.Id != 0;
            }
      QVERIFY(entries > 50);
    }
  }

  // A damaged art container: the start-up message carries the reason and
  // the configuration dialog opens, as for missing files.
  void damagedContainerAsksForPaths() {
    const DemoPaths p = DemoClientPaths(DemoGeneration::kPacked);
    const QString folder = home.path() + "/damaged";
    QDir().mkpath(folder);
    QByteArray art = ReadBytes(QString::fromStdString(p.art));
    art[0] = 'X';
    WriteFile(folder + "/artLegacyMUL.uop", art);
    WriteFile(folder + "/tavi.ini",
              QString("[TAVI]\r\nArt=%1\r\nTileData=%2\r\n")
                  .arg(folder + "/artLegacyMUL.uop", QString::fromStdString(p.tileData))
                  .toUtf8());
    auto prompts = std::make_shared<ScriptedPrompts>();
    StartOptions o;
    o.settingsFolder = folder;
    o.prompts = prompts;
    TMainForm w(o);
    QVERIFY(w.StartupFailed());
    QCOMPARE(prompts->infos.size(), 1);
    QVERIFY(prompts->infos[0].startsWith(QString::fromUtf8("必要なファイルが見つかりません。")));
    QVERIFY2(prompts->infos[0].contains("wrong magic"), qPrintable(prompts->infos[0]));
    QCOMPARE(prompts->execCount, 1);
  }
  // No client found: the container paths typed into the configuration
  // dialog, with no index paths, start the editor next time.
  void containerPathsTypedIntoTheDialog() {
    const DemoPaths p = DemoClientPaths(DemoGeneration::kPacked);
    const QString folder = home.path() + "/typed-packed";
    auto prompts = std::make_shared<ScriptedPrompts>();
    prompts->exec = [&](QDialog* dialog) {
      auto* cfg = qobject_cast<TCfgForm*>(dialog);
      if (!cfg) return false;
      cfg->EdArtIdx->clear();
      cfg->EdArt->setText(QString::fromStdString(p.art));
      cfg->EdTileData->setText(QString::fromStdString(p.tileData));
      cfg->EdMultiIdx->clear();
      cfg->EdMulti->setText(QString::fromStdString(p.multi));
      return true;
    };
    StartOptions o;
    o.settingsFolder = folder;
    o.prompts = prompts;
    {
      TMainForm w(o);
      QVERIFY(!w.StartupFailed());
    }
    QVERIFY(ReadFile(folder + "/tavi.ini").contains("artLegacyMUL.uop"));
    auto again = std::make_shared<ScriptedPrompts>();
    o.prompts = again;
    TMainForm w(o);
    QVERIFY(!w.StartupFailed());
    QVERIFY(again->infos.isEmpty());
    w.MnImportClick(100);
    QVERIFY2(again->errors.isEmpty(), qPrintable(again->errors.join("; ")));
    QVERIFY(Access(w).Doc().Width > 1);
  }

  // Files the editor cannot read whole are named once at start, in the
  // user's language, and left exactly as they were at exit: a page file that
  // is a folder (Japanese here), a tavi.ini over the size cap (the defaults,
  // so English).
  void unreadFilesAreSaidOnceAndLeftAlone() {
    const QString folder = home.path() + "/unread";
    QDir().mkpath(folder + "/bookmark.ini");
    WriteFile(folder + "/tavi.ini", "[TAVI]\r\nLanguage=1\r\n");
    auto prompts = std::make_shared<ScriptedPrompts>();
    {
      TMainForm w(DemoOptions(folder, prompts));
      QTRY_COMPARE(prompts->infos.size(), 1);
      QVERIFY2(prompts->infos[0].contains(QString::fromUtf8("ページファイル")) &&
                   prompts->infos[0].contains("bookmark.ini"),
               qPrintable(prompts->infos[0]));
      QTest::qWait(50);
      QCOMPARE(prompts->infos.size(), 1);
    }
    QVERIFY(QFileInfo(folder + "/bookmark.ini").isDir());

    QByteArray big("[TAVI]\r\nWidth=12\r\n");
    big.append(QByteArray(17 << 20, '\n'));
    QFile f(folder + "/tavi.ini");
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(big);
    f.close();
    auto again = std::make_shared<ScriptedPrompts>();
    {
      TMainForm w(DemoOptions(folder, again));
      QCOMPARE(Access(w).Doc().Width, 8);
      QTRY_COMPARE(again->infos.size(), 1);
      QVERIFY2(again->infos[0].contains("default settings") &&
                   again->infos[0].contains("larger than 16 MB") &&
                   again->infos[0].contains("bookmark.ini"),
               qPrintable(again->infos[0]));
    }
    QCOMPARE(QFileInfo(folder + "/tavi.ini").size(), qint64(big.size()));
  }

  // A tiledata.mul that loads but holds nothing is said at start.
  void emptyTileDataIsSaidAtStart() {
    const QString client = home.path() + "/empty-tiles";
    QDir().mkpath(client);
    for (const QString& name : QDir(QString::fromStdString(DemoClientDir())).entryList(QDir::Files))
      QFile::copy(QString::fromStdString(DemoClientDir()) + "/" + name, client + "/" + name);
    QFile tiles(client + "/tiledata.mul");
    QVERIFY(tiles.open(QIODevice::WriteOnly | QIODevice::Truncate));
    tiles.close();
    auto prompts = std::make_shared<ScriptedPrompts>();
    StartOptions o = DemoOptions(home.path() + "/empty-tiles-settings", prompts);
    o.demoClientDir = client;
    TMainForm w(o);
    QVERIFY(!w.StartupFailed());
    QTRY_COMPARE(prompts->infos.size(), 1);
    QVERIFY2(prompts->infos[0].contains("holds no item records"), qPrintable(prompts->infos[0]));
  }

  // A settings folder whose name is taken by a FIFO is reported, and the
  // editor stores nothing anywhere else (not beside the program).
  void settingsFolderThatIsNoFolder() {
    const QString config = home.path() + "/fifo-config";
    QDir().mkpath(config);
    QVERIFY(::mkfifo(QFile::encodeName(config + "/tavi").constData(), 0600) == 0);
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", config.toUtf8());
    const QString beside = QCoreApplication::applicationDirPath() + "/tavi.ini";
    const bool wasThere = QFileInfo::exists(beside);
    auto prompts = std::make_shared<ScriptedPrompts>();
    {
      TMainForm w(DemoOptions(QString(), prompts));
      QTRY_COMPARE(prompts->infos.size(), 1);
      QVERIFY2(prompts->infos[0].contains("cannot be stored") &&
                   prompts->infos[0].contains("is not a folder"),
               qPrintable(prompts->infos[0]));
    }
    qputenv("XDG_CONFIG_HOME", saved);
    QCOMPARE(QFileInfo::exists(beside), wasThere);
    QVERIFY(!QFileInfo::exists(QCoreApplication::applicationDirPath() + "/bookmark.ini"));
  }
};

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
