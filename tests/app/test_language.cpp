// The three languages: captions by object name, lists keeping their
// selection, messages and fonts.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QMenu>
#include <QRadioButton>
#include <QtTest>

#include "app/app_test_util.h"
#include "app/control_window.h"
#include "app/config_dialog.h"

using namespace tavi;
using namespace tavi::test;

class TestLanguage : public QObject {
  Q_OBJECT

  QTemporaryDir home;

 private slots:
  void initTestCase() {
    QVERIFY(home.isValid());
    IsolateEnvironment(home.path());
  }

  // Every caption row has a text in all three languages, and the four lists
  // have the same length in each.
  void tablesComplete() {
    QCOMPARE(CaptionCount(), 98);
    for (const char* list : {"RGEditmode", "CBJpegQuality", "CBBGType", "CBType"}) {
      const int n = ListFor(0, list).size();
      QVERIFY(n > 0);
      QCOMPARE(ListFor(1, list).size(), n);
      QCOMPARE(ListFor(2, list).size(), n);
    }
    QCOMPARE(CaptionFor(5, "TMainForm", "File1"), QString("&File"));
    QCOMPARE(CaptionFor(1, "TCtrlForm", ""), QString::fromUtf8("コントロール"));
    QCOMPARE(MessagesFor(2).MsgModified,
             QString::fromUtf8("Die Datei wurde geändert\r\nSpeichern?"));
  }

  // English -> German -> English on the real windows.
  void switchLanguages() {
    if (DemoClientDir().empty()) QSKIP("the demo client could not be written");
    auto prompts = std::make_shared<ScriptedPrompts>();
    TMainForm w(DemoOptions(home.path() + "/cfg", prompts));
    TCtrlForm* ctrl = w.CtrlForm();
    auto* file = w.findChild<QMenu*>("File1");
    auto* about = w.findChild<QAction*>("About1");
    auto* cut = w.findChild<QAction*>("MnCut");
    QCOMPARE(file->title(), QString("&File"));
    QCOMPARE(ctrl->windowTitle(), QString("Control"));
    QCOMPARE(about->text(), QString("&About"));

    ctrl->SetEditMode(2);
    auto* quality = w.CfgForm()->CBJpegQuality;
    quality->setCurrentIndex(1);
    w.Settings().Language = 2;
    w.ApplyLanguageToAll();
    QCOMPARE(file->title(), QString("&Datei"));
    QCOMPARE(cut->text(), QString("Aus&schneiden"));
    QCOMPARE(ctrl->windowTitle(), QString("Kontroll Fenster"));
    QCOMPARE(ctrl->EditMode(), 2);
    const auto modes = ctrl->findChild<QGroupBox*>("RGEditmode")->findChildren<QRadioButton*>();
    QCOMPARE(modes.size(), 3);
    QCOMPARE(modes[0]->text(), QString("Sofort"));
    QCOMPARE(quality->count(), 3);
    QCOMPARE(quality->currentIndex(), 1);
    QCOMPARE(quality->itemText(2), QString("Niedrig"));
    QCOMPARE(w.Messages().MsgNotFound, QString("Nicht gefunden"));

    w.Settings().Language = 0;
    w.ApplyLanguageToAll();
    QCOMPARE(file->title(), QString("&File"));
    QCOMPARE(ctrl->windowTitle(), QString("Control Window"));
    QCOMPARE(about->text(), QString("&About..."));
    QCOMPARE(w.CfgForm()->CBUpdateChk->text(), QString("Monthly update check"));
    QCOMPARE(modes[0]->text(), QString("Immediate"));
    QCOMPARE(ctrl->EditMode(), 2);
    QCOMPARE(w.Messages().MsgNotFound, QString("Not found"));

    // The same language again: messages and fonts only.
    file->setTitle("changed");
    w.Settings().Language = 1;
    w.ApplyLanguageToAll();
    QCOMPARE(file->title(), QString::fromUtf8("ファイル(&F)"));
    ctrl->setWindowTitle("changed");
    w.ApplyLanguageToAll();
    QCOMPARE(ctrl->windowTitle(), QString("changed"));
    QCOMPARE(w.Messages().MsgNotFound, QString::fromUtf8("見つかりませんでした。"));
  }

  // The Japanese font can draw the Japanese texts.
  void japaneseFontRenders() {
    const QFont font = LanguageFont(kLangJapanese);
    QFontMetrics metrics(font);
    const QString text = QString::fromUtf8("ファイル");
    for (const QChar c : text) QVERIFY2(metrics.inFontUcs4(c.unicode()), "no glyph");
  }
};

QTEST_MAIN(TestLanguage)
#include "test_language.moc"
