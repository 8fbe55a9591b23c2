// The configuration dialog's lists and what Ok takes over.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "app/aos_window.h"
#include "app/app_test_util.h"
#include "app/catalogue_window.h"
#include "app/config_dialog.h"
#include "app/control_window.h"
#include "document/house_document.h"
#include "tests/app/main_form_test_access.h"

using namespace tavi;
using namespace tavi::test;

class TestConfigDialog : public QObject {
  Q_OBJECT

  TestHome home;

 private slots:
  void textWidthEntry() {
    TSettings s;
    TCfgForm dlg(&s, nullptr);
    for (auto [width, shown] :
         {std::pair{76, "76"}, {30, "36"}, {0, "76"}, {44, "44"}, {51, "44"}, {200, "76"}}) {
      s.LineWidth = width;
      dlg.FormShow();
      QCOMPARE(dlg.CBTextWidth->currentText(), QString(shown));
    }
    // Indices outside a list leave it without a selection.
    s.Language = 7;
    s.JpegQuality = -1;
    dlg.FormShow();
    QCOMPARE(dlg.CBLanguage->currentIndex(), -1);
    QCOMPARE(dlg.CBJpegQuality->currentIndex(), -1);
  }

  // The dialog hands back what its controls show and leaves the settings
  // alone; the values it does not show come through unchanged.
  void collectHandsBackValues() {
    TSettings s;
    s.ArtIdx = "/old/artidx.mul";
    s.LineWidth = 52;
    s.LastAccount = 3;
    s.BGType = 1;
    TTAVIDoc doc(12, 9, nullptr, nullptr);
    TCfgForm dlg(&s, &doc);
    dlg.FormShow();
    TSettings r = dlg.Collect();
    QCOMPARE(r.ArtIdx, s.ArtIdx);
    QCOMPARE(r.Width, 12);
    QCOMPARE(r.Height, 9);
    QCOMPARE(r.LineWidth, 52);
    QCOMPARE(r.BGType, 1);

    dlg.EdArtIdx->setText("/new/artidx.mul");
    dlg.CBWidth->setCurrentIndex(dlg.CBWidth->findText("19"));
    dlg.CBTextWidth->setCurrentIndex(dlg.CBTextWidth->findText("68"));
    dlg.CBLanguage->setCurrentIndex(2);
    dlg.CBBGLarge->setChecked(true);
    dlg.CBStayOnTop->setChecked(true);
    r = dlg.Collect();
    QCOMPARE(r.ArtIdx, std::string("/new/artidx.mul"));
    QCOMPARE(r.Width, 20);  // the lists show the size less one
    QCOMPARE(r.LineWidth, 68);
    QCOMPARE(r.Language, 2);
    QVERIFY(r.isLargeBG);
    QVERIFY(r.isStayOnTop);
    QCOMPARE(r.LastAccount, 3);
    QCOMPARE(s.ArtIdx, std::string("/old/artidx.mul"));
    QCOMPARE(s.Language, 0);
    QVERIFY(!s.isLargeBG);
  }

  // "&Reload Paths" changes the settings at once.
  void reloadPaths() {
    TSettings s;
    s.ArtIdx = "/old/artidx.mul";
    s.Multi = "/old/multi.mul";
    TCfgForm dlg(&s, nullptr);
    dlg.Discover = [](TSettings& t) {
      if (t.ArtIdx.empty()) t.ArtIdx = "/found/artidx.mul";
    };
    dlg.FormShow();
    dlg.BtnFileSearchClick();
    QCOMPARE(dlg.EdArtIdx->text(), QString("/found/artidx.mul"));
    QCOMPARE(s.ArtIdx, std::string("/found/artidx.mul"));
    QVERIFY(s.Multi.empty());
  }

  // Filling the paths by hand: Browse chooses one file, Client folder fills
  // all five from a folder (names in any case), the line under the paths
  // tells which required files are still missing, and the demo client is
  // offered only when known.
  void fillingThePaths() {
    if (DemoClientDir().empty()) QSKIP("the demo client could not be written");
    const QString demo = QString::fromStdString(DemoClientDir());
    const QString copy = home.path() + "/copied";
    QDir().mkpath(copy);
    for (const char* f : {"artidx.mul", "art.mul", "tiledata.mul", "multi.idx", "multi.mul"})
      QFile::copy(demo + "/" + f, copy + "/" + QString(f).toUpper());
    TSettings s;
    TCfgForm dlg(&s, nullptr);
    dlg.FormShow();
    QCOMPARE(dlg.LblMissing->text(), QString("Still missing: artidx.mul, art.mul, tiledata.mul"));
    QVERIFY(dlg.BtnUseDemo->isHidden());

    dlg.ChooseFile = [&](const QString&) { return copy + "/TILEDATA.MUL"; };
    dlg.findChild<QPushButton*>("BtnBrowseTileData")->click();
    QCOMPARE(dlg.EdTileData->text(), copy + "/TILEDATA.MUL");
    QCOMPARE(dlg.LblMissing->text(), QString("Still missing: artidx.mul, art.mul"));

    dlg.ChooseFolder = [&](const QString&) { return copy; };
    dlg.BtnClientFolder->click();
    QCOMPARE(dlg.EdArt->text(), copy + "/ART.MUL");
    QCOMPARE(dlg.EdMultiIdx->text(), copy + "/MULTI.IDX");
    QCOMPARE(dlg.LblMissing->text(), QString("All required files are found."));
    const TSettings chosen = dlg.Collect();
    QCOMPARE(QString::fromStdString(chosen.ClientDir), copy + "/");

    dlg.OfferDemoClient(demo);
    QVERIFY(!dlg.BtnUseDemo->isHidden());
    dlg.BtnUseDemo->click();
    QCOMPARE(dlg.EdTileData->text(), demo + "/tiledata.mul");

    // Typed art paths complete empty multi paths from the same folder.
    dlg.EdArtIdx->setText(copy + "/ARTIDX.MUL");
    dlg.EdArt->setText(copy + "/ART.MUL");
    dlg.EdTileData->setText(copy + "/TILEDATA.MUL");
    dlg.EdMultiIdx->clear();
    dlg.EdMulti->clear();
    const TSettings typed = dlg.Collect();
    QCOMPARE(QString::fromStdString(typed.MultiIdx), copy + "/MULTI.IDX");
    QCOMPARE(QString::fromStdString(typed.Multi), copy + "/MULTI.MUL");
  }

  // The plot size lists are the document size - 1; Ok takes every value over.
  void okTakesOver() {
    auto prompts = std::make_shared<ScriptedPrompts>();
    TMainForm w(DemoOptions(home.path() + "/cfg", prompts));
    TTAVIDoc& doc = Access(w).Doc();
    doc.PushUndo(1);
    QVERIFY(doc.CanUndo());

    // Ok without changes keeps the undo history.
    prompts->exec = [](QDialog* d) {
      auto* cfg = qobject_cast<TCfgForm*>(d);
      return cfg && cfg->CBWidth->currentText() == "7" && cfg->CBHeight->currentText() == "7";
    };
    w.Option1Click();
    QCOMPARE(prompts->execCount, 1);
    QVERIFY(doc.CanUndo());

    prompts->exec = [](QDialog* d) {
      auto* cfg = qobject_cast<TCfgForm*>(d);
      cfg->CBHeight->setCurrentIndex(cfg->CBHeight->findText("24"));
      cfg->CBTextWidth->setCurrentIndex(0);
      cfg->CBJpegQuality->setCurrentIndex(0);
      cfg->CBBGType->setCurrentIndex(4);
      cfg->CBUpdateChk->setChecked(true);
      cfg->EdMulti->setText("/elsewhere/multi.mul");
      return true;
    };
    w.Option1Click();
    QCOMPARE(doc.Width, 8);
    QCOMPARE(doc.Height, 25);
    QVERIFY(!doc.CanUndo());
    QCOMPARE(Access(w).Settings().LineWidth, 36);
    QCOMPARE(Access(w).Settings().JpegQuality, 0);
    QCOMPARE(Access(w).Settings().BGType, 4);
    QVERIFY(Access(w).BackgroundMap()[3][3] >= 282 && Access(w).BackgroundMap()[3][3] <= 285);
    QVERIFY(Access(w).Settings().UpdateCheck);
    QCOMPARE(Access(w).Settings().Multi, std::string("/elsewhere/multi.mul"));

    // Cancel takes nothing over.
    prompts->exec = [](QDialog* d) {
      qobject_cast<TCfgForm*>(d)->CBLanguage->setCurrentIndex(2);
      return false;
    };
    w.Option1Click();
    QCOMPARE(Access(w).Settings().Language, 0);
  }

  // Switching "Stay on Top" hides and shows the tool windows in the new
  // style; their check boxes still say that they are shown.
  void stayOnTopKeepsTheCheckBoxes() {
    auto prompts = std::make_shared<ScriptedPrompts>();
    TMainForm w(DemoOptions(home.path() + "/ontop", prompts));
    w.show();
    TCtrlForm* ctrl = Access(w).CtrlForm();
    QTRY_VERIFY(ctrl->isVisible());
    ctrl->CBObjWindow->click();
    ctrl->CBAoSWindow->click();
    QVERIFY(Access(w).ObjForm()->isVisible() && Access(w).AoSForm()->isVisible());
    for (bool onTop : {true, false}) {
      prompts->exec = [onTop](QDialog* d) {
        qobject_cast<TCfgForm*>(d)->CBStayOnTop->setChecked(onTop);
        return true;
      };
      w.Option1Click();
      QCOMPARE(bool(Access(w).ObjForm()->windowFlags() & Qt::WindowStaysOnTopHint), onTop);
      QVERIFY(Access(w).ObjForm()->isVisible() && Access(w).AoSForm()->isVisible());
      QVERIFY(ctrl->CBObjWindow->isChecked());
      QVERIFY(ctrl->CBAoSWindow->isChecked());
    }
    // A hidden window stays hidden and unchecked.
    ctrl->CBAoSWindow->click();
    QVERIFY(!Access(w).AoSForm()->isVisible());
    prompts->exec = [](QDialog* d) {
      qobject_cast<TCfgForm*>(d)->CBStayOnTop->setChecked(true);
      return true;
    };
    w.Option1Click();
    QVERIFY(!Access(w).AoSForm()->isVisible());
    QVERIFY(!ctrl->CBAoSWindow->isChecked());
    QVERIFY(ctrl->CBObjWindow->isChecked());

    // The catalogue closed while the control window is hidden: the check box
    // says so when the control window comes back.
    QAction* showCtrl = w.findChild<QAction*>("MnCtrlWnd");
    showCtrl->trigger();
    QVERIFY(!ctrl->isVisible());
    Access(w).ObjForm()->close();
    showCtrl->trigger();
    QVERIFY(ctrl->isVisible());
    QVERIFY(!ctrl->CBObjWindow->isChecked());
  }

  // An imported castle is larger than the size lists offer: the lists show
  // its size, and Ok, with nothing touched or only the language switched,
  // leaves the plot, the tiles and the undo history alone. Picking a listed
  // size still changes it.
  void okKeepsAPlotTheListsDoNotOffer() {
    auto prompts = std::make_shared<ScriptedPrompts>();
    TMainForm w(DemoOptions(home.path() + "/castle", prompts));
    w.show();
    QTRY_VERIFY(Access(w).CtrlForm()->isVisible());
    QAction* castle = w.findChild<QAction*>("Castle1");
    QVERIFY(castle);
    castle->trigger();
    QVERIFY(prompts->errors.isEmpty());
    TTAVIDoc& doc = Access(w).Doc();
    QVERIFY(doc.Width > 25);
    const int width = doc.Width, height = doc.Height;
    auto entries = [&doc] {
      int n = 0;
      for (int f = 0; f < 5; ++f)
        for (int y = 0; y < kGrid; ++y)
          for (int x = 0; x < kGrid; ++x) n += doc.LayerCount[f][y][x];
      return n;
    };
    const int before = entries();
    doc.PushUndo(1);

    QString shownWidth, shownHeight;
    prompts->exec = [&](QDialog* d) {
      auto* cfg = qobject_cast<TCfgForm*>(d);
      shownWidth = cfg->CBWidth->currentText();
      shownHeight = cfg->CBHeight->currentText();
      return true;
    };
    w.Option1Click();
    QCOMPARE(shownWidth, QString::number(width - 1));
    QCOMPARE(shownHeight, QString::number(height - 1));
    QCOMPARE(doc.Width, width);
    QCOMPARE(doc.Height, height);
    QCOMPARE(entries(), before);
    QVERIFY(doc.CanUndo());

    prompts->exec = [](QDialog* d) {
      qobject_cast<TCfgForm*>(d)->CBLanguage->setCurrentIndex(2);
      return true;
    };
    w.Option1Click();
    QCOMPARE(Access(w).Settings().Language, 2);
    QCOMPARE(doc.Width, width);
    QCOMPARE(entries(), before);
    QVERIFY(doc.CanUndo());

    prompts->exec = [](QDialog* d) {
      auto* cfg = qobject_cast<TCfgForm*>(d);
      cfg->CBLanguage->setCurrentIndex(0);
      cfg->CBWidth->setCurrentIndex(cfg->CBWidth->findText("19"));
      return true;
    };
    // The entries outside the smaller plot are counted first; No keeps them.
    const int outside = before - [&doc] {
      int n = 0;
      for (int f = 0; f < 5; ++f)
        for (int y = 0; y < kGrid; ++y)
          for (int x = 0; x < 20; ++x) n += doc.LayerCount[f][y][x];
      return n;
    }();
    QVERIFY(outside > 0);
    prompts->yesNo = {false};
    w.Option1Click();
    QVERIFY2(prompts->questions.last().startsWith(QString::number(outside) + " entries"),
             qPrintable(prompts->questions.last()));
    QCOMPARE(doc.Width, width);
    QCOMPARE(entries(), before);
    prompts->yesNo = {true};
    w.Option1Click();
    QCOMPARE(doc.Width, 20);
    QCOMPARE(doc.Height, height);
    QVERIFY(!doc.CanUndo());
    doc.Modified = false;
  }
};

QTEST_MAIN(TestConfigDialog)
#include "test_config_dialog.moc"
