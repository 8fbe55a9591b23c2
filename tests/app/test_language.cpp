// The three languages: captions by object name, lists keeping their
// selection, messages and fonts.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QLibraryInfo>
#include <QMenu>
#include <QRadioButton>
#include <QTranslator>
#include <QtTest>

#include "app/app_test_util.h"
#include "app/catalogue_window.h"
#include "app/config_dialog.h"
#include "app/control_window.h"
#include "app/picture_grid.h"
#include "document/aos_tables.h"
#include "tests/app/main_form_test_access.h"

using namespace tavi;
using namespace tavi::test;

class TestLanguage : public QObject {
  Q_OBJECT

  TestHome home;

 private slots:
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
    auto prompts = std::make_shared<ScriptedPrompts>();
    TMainForm w(DemoOptions(home.path() + "/cfg", prompts));
    TCtrlForm* ctrl = Access(w).CtrlForm();
    auto* file = w.findChild<QMenu*>("File1");
    auto* about = w.findChild<QAction*>("About1");
    auto* cut = w.findChild<QAction*>("MnCut");
    QCOMPARE(file->title(), QString("&File"));
    QCOMPARE(ctrl->windowTitle(), QString("Control"));
    QCOMPARE(about->text(), QString("&About"));

    ctrl->SetEditMode(2);
    auto* quality = Access(w).CfgForm()->CBJpegQuality;
    quality->setCurrentIndex(1);
    Access(w).Settings().Language = 2;
    Access(w).ApplyLanguageToAll();
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
    QCOMPARE(Access(w).Messages().MsgNotFound, QString("Nicht gefunden"));

    Access(w).Settings().Language = 0;
    Access(w).ApplyLanguageToAll();
    QCOMPARE(file->title(), QString("&File"));
    QCOMPARE(ctrl->windowTitle(), QString("Control Window"));
    QCOMPARE(about->text(), QString("&About..."));
    QCOMPARE(Access(w).CfgForm()->CBUpdateChk->text(), QString("Monthly update check"));
    QCOMPARE(modes[0]->text(), QString("Immediate"));
    QCOMPARE(ctrl->EditMode(), 2);
    QCOMPARE(Access(w).Messages().MsgNotFound, QString("Not found"));

    // The same language again: messages and fonts only.
    file->setTitle("changed");
    Access(w).Settings().Language = 1;
    Access(w).ApplyLanguageToAll();
    QCOMPARE(file->title(), QString::fromUtf8("ファイル(&F)"));
    ctrl->setWindowTitle("changed");
    Access(w).ApplyLanguageToAll();
    QCOMPARE(ctrl->windowTitle(), QString("changed"));
    QCOMPARE(Access(w).Messages().MsgNotFound, QString::fromUtf8("見つかりませんでした。"));
  }

  // A language switch from the configuration dialog changes no editing
  // state: the current tile chosen in the AoS window stays, though the
  // catalogue is laid out anew in the new font.
  void switchKeepsTheCurrentTile() {
    auto prompts = std::make_shared<ScriptedPrompts>();
    TMainForm w(DemoOptions(home.path() + "/tile", prompts));
    w.show();
    TCtrlForm* ctrl = Access(w).CtrlForm();
    QTRY_VERIFY(ctrl->isVisible());
    ctrl->CBObjWindow->click();
    QVERIFY(QTest::qWaitForWindowExposed(Access(w).ObjForm()));
    Access(w).ObjForm()->Grid()->SelectCell(2, 3);
    const uint16_t fromCatalogue = ctrl->CurrentTile();
    QVERIFY(fromCatalogue != 0);
    const uint16_t chosen = ObjectTableAt(kAosWalls, 3, 5);
    Access(w).SetCurrentTile(chosen);
    ctrl->SetFloor(3);
    ctrl->SetAlt(4);
    for (int language : {1, 2, 0}) {
      prompts->exec = [language](QDialog* d) {
        qobject_cast<TCfgForm*>(d)->CBLanguage->setCurrentIndex(language);
        return true;
      };
      w.Option1Click();
      QTest::qWait(50);
      QApplication::processEvents();
      QCOMPARE(ctrl->CurrentTile(), chosen);
      QCOMPARE(ctrl->CurrentFloor(), 3);
      QCOMPARE(ctrl->Alt(), 4);
    }
    // The user's own resize of the catalogue keeps the tile too.
    Access(w).ObjForm()->resize(Access(w).ObjForm()->width() + 90, Access(w).ObjForm()->height());
    QApplication::processEvents();
    QCOMPARE(ctrl->CurrentTile(), chosen);
  }

  // Qt's own texts (box buttons, input boxes, file dialogs) follow the
  // language; English and a missing translation leave them English.
  void qtTextsFollowTheLanguage() {
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!QFile::exists(folder + "/qtbase_de.qm") || !QFile::exists(folder + "/qtbase_ja.qm"))
      QSKIP("Qt's translations are not installed");
    auto cancel = [] { return QCoreApplication::translate("QPlatformTheme", "Cancel"); };
    QCOMPARE(cancel(), QString("Cancel"));
    auto prompts = std::make_shared<ScriptedPrompts>();
    {
      TMainForm w(DemoOptions(home.path() + "/qt", prompts));
      Access(w).Settings().Language = 2;
      Access(w).ApplyLanguageToAll();
      QCOMPARE(cancel(), QString("Abbrechen"));
      Access(w).Settings().Language = 1;
      Access(w).ApplyLanguageToAll();
      QCOMPARE(cancel(), QString::fromUtf8("キャンセル"));
      Access(w).Settings().Language = 0;
      Access(w).ApplyLanguageToAll();
      QCOMPARE(cancel(), QString("Cancel"));
      Access(w).Settings().Language = 2;
      Access(w).ApplyLanguageToAll();
    }
    // The window is gone: Qt's texts are English again.
    QCOMPARE(cancel(), QString("Cancel"));

    QTemporaryDir empty;
    QTranslator translator;
    QVERIFY(!SwitchQtTranslation(&translator, kLangGerman, empty.path()));
    QCOMPARE(cancel(), QString("Cancel"));
    QVERIFY(SwitchQtTranslation(&translator, kLangGerman));
    QCOMPARE(cancel(), QString("Abbrechen"));
    QVERIFY(!SwitchQtTranslation(&translator, kLangGerman, empty.path()));
    QCOMPARE(cancel(), QString("Cancel"));
    QCOMPARE(QtTranslationName(7), QString());
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
