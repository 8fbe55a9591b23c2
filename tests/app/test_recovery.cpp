// The recovery copy in the editor: written after 20 edits or 30 seconds of
// editing (the clock and the edits driven by the test), removed by a save,
// and offered at the next start in the user's language. The last case kills
// a scripted editing session with SIGKILL at random moments and checks what
// the next start recovers.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QtTest>
#include <cstring>
#include <random>

#include "app/app_test_util.h"
#include "app/recovery_hook.h"
#include "document/house_document.h"
#include "io/house_file.h"
#include "settings/recovery.h"
#include "support/fake_tiles.h"
#include "tests/app/main_form_test_access.h"

using namespace tavi;
using namespace tavi::test;

namespace {

// Edit k of a scripted session: one entry on floor 1 at a cell and id given
// by k, taken as an undo step as the editor's tools do.
void ScriptedEdit(TTAVIDoc& doc, int k) {
  doc.PushUndo(1);
  const int x = k % 8, y = (k / 8) % 8;
  doc.Tiles[1][0][y][x] = {int16_t(k % 20), uint16_t(1000 + k), 0};
  doc.UpdateCell(x, y, 1);
  doc.Modified = true;
}

QString StateFolder() {
  return QString::fromUtf8(qgetenv("XDG_STATE_HOME")) + "/tavi";
}

// The copies in the state folder.
QStringList Copies() {
  return QDir(StateFolder()).entryList({"recovery-*.tav"}, QDir::Files);
}

// Prompts that note the name a save dialog proposes.
class NotingPrompts : public ScriptedPrompts {
 public:
  QString proposed;
  QString SaveFile(QWidget* w, const QString& current, const QString& f,
                   const QString& s) override {
    proposed = current;
    return ScriptedPrompts::SaveFile(w, current, f, s);
  }
};

// The child's side of the kill test: edits without end, one at a time,
// giving the hook its tick after each and noting each edit's number once it
// is done (a note the kill cannot lose: the page cache outlives the process).
int RunScriptedSession(const QString& log) {
  auto prompts = std::make_shared<ScriptedPrompts>();
  TMainForm w(DemoOptions(QDir::homePath() + "/child-" + QString::number(::getpid()), prompts));
  if (w.StartupFailed()) return 3;
  QTest::qWait(50);  // the first idle: the start-up question (none)
  RecoveryHook* hook = Access(w).Recovery();
  int64_t now = 0;
  hook->clock = [&] { return now; };
  hook->Timer()->stop();
  Access(w).Doc().Clear(false);
  QFile out(log);
  if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return 4;
  for (int k = 0;; ++k) {
    ScriptedEdit(Access(w).Doc(), k);
    now += 50;
    if (hook->Tick()) hook->WaitIdle();
    out.write(QByteArray::number(k) + "\n");
    QCoreApplication::processEvents();
  }
}

}  // namespace

class TestRecovery : public QObject {
  Q_OBJECT

  QTemporaryDir home;

 private slots:
  void initTestCase() {
    QVERIFY(home.isValid());
    IsolateEnvironment(home.path());
    qputenv("XDG_STATE_HOME", (home.path() + "/state").toUtf8());
    if (DemoClientDir().empty()) QSKIP("the demo client could not be written");
  }

  void cleanup() { QDir(StateFolder()).removeRecursively(); }

  // 19 edits write nothing, the 20th writes the house as it is; one more
  // edit is written once 30 seconds have passed since it. A save removes
  // the copy; so does the window going without a crash.
  void writtenAfterTwentyEditsOrThirtySeconds() {
    auto prompts = std::make_shared<ScriptedPrompts>();
    TMainForm w(DemoOptions(home.path() + "/a", prompts));
    QTest::qWait(20);
    RecoveryHook* hook = Access(w).Recovery();
    QVERIFY(hook && hook->Store().Usable());
    hook->Timer()->stop();
    int64_t now = 1000;
    hook->clock = [&] { return now; };
    hook->Tick();
    for (int k = 0; k < 19; ++k) {
      ScriptedEdit(Access(w).Doc(), k);
      QVERIFY(!hook->Tick());
    }
    QVERIFY(Copies().isEmpty());
    ScriptedEdit(Access(w).Doc(), 19);
    QVERIFY(hook->Tick());
    hook->WaitIdle();
    QCOMPARE(Copies().size(), 1);
    const QString copy = StateFolder() + "/" + Copies()[0];
    QCOMPARE(ReadFile(copy).toStdString(), HouseFileText(Access(w).Doc()));

    ScriptedEdit(Access(w).Doc(), 20);
    QVERIFY(!hook->Tick());  // the timer's next tick notes the edit
    now += 29999;
    QVERIFY(!hook->Tick());
    now += 1;
    QVERIFY(hook->Tick());
    hook->WaitIdle();
    QCOMPARE(ReadFile(copy).toStdString(), HouseFileText(Access(w).Doc()));

    prompts->saveName = home.path() + "/saved.tav";
    w.Close1Click();
    QVERIFY(!Access(w).Doc().Modified);
    QVERIFY(Copies().isEmpty());
    // Nothing unsaved: nothing is written, however long.
    now += 100000;
    QVERIFY(!hook->Tick());
  }

  // A copy left by an editor that is gone: the next start asks in the user's
  // language; Cancel keeps it, No deletes it, Yes opens it as a changed
  // house without a name whose Save proposes the original's name. A running
  // editor's copy is never offered to another.
  void offeredAtTheNextStart() {
    const std::string text = "\"TAVI File ver 1.00\",3,2,4\r\n0,1,1,0,1657\r\n";
    auto leave = [&](const std::string& name) {
      RecoveryStore gone(StateFolder().toStdString());
      std::string error;
      QVERIFY(gone.Write(text, name, gone.Epoch(), &error));
    };
    leave("/houses/Villa.tav");
    const QString folder = home.path() + "/b";
    QDir().mkpath(folder);
    WriteFile(folder + "/tavi.ini", "[TAVI]\r\nLanguage=1\r\n");
    {
      auto prompts = std::make_shared<ScriptedPrompts>();  // Cancel
      TMainForm w(DemoOptions(folder, prompts));
      QTRY_COMPARE(prompts->questions.size(), 1);
      QVERIFY2(prompts->questions[0].endsWith(
                   QString::fromUtf8("の保存されていないハウスを復元しますか？")),
               qPrintable(prompts->questions[0]));
      QVERIFY(!Access(w).Doc().Modified);
    }
    QCOMPARE(Copies().size(), 1);
    WriteFile(folder + "/tavi.ini", "[TAVI]\r\nLanguage=0\r\n");
    {
      auto prompts = std::make_shared<NotingPrompts>();
      prompts->yesNoCancel = {UiPrompts::kYes};
      TMainForm w(DemoOptions(folder, prompts));
      QTRY_COMPARE(prompts->questions.size(), 1);
      QVERIFY(prompts->questions[0].startsWith("Recover the unsaved house from "));
      QVERIFY(prompts->questions[0].endsWith("?"));
      QCOMPARE(Access(w).Doc().Width, 3);
      QCOMPARE(int(Access(w).Doc().Tiles[0][0][1][1].Id), 1657);
      QCOMPARE(Access(w).BaseHeight(), 4);
      QVERIFY(Access(w).Doc().Modified);
      QCOMPARE(w.windowTitle(), QString("Tavi Editor"));
      // It is this editor's copy now: no other start is offered it.
      {
        auto other = std::make_shared<ScriptedPrompts>();
        TMainForm second(DemoOptions(home.path() + "/c", other));
        QTest::qWait(50);
        QVERIFY(other->questions.isEmpty());
      }
      QCOMPARE(Copies().size(), 1);
      prompts->saveName.clear();  // the dialog is cancelled
      w.Close1Click();
      QCOMPARE(prompts->proposed, QString("/houses/Villa.tav"));
      QCOMPARE(Copies().size(), 1);
    }
    leave("");
    {
      auto prompts = std::make_shared<ScriptedPrompts>();
      prompts->yesNoCancel = {UiPrompts::kNo};
      TMainForm w(DemoOptions(folder, prompts));
      QTRY_COMPARE(prompts->questions.size(), 1);
      QTest::qWait(20);
      QVERIFY(!Access(w).Doc().Modified);
    }
    QVERIFY(Copies().isEmpty());
  }

  // kill -9 at random moments of a scripted editing session: what the next
  // start recovers is the house as it was at most 20 edits before the kill.
  void killedSessionsRecoverARecentHouse() {
    const QString self = QCoreApplication::applicationFilePath();
    std::mt19937 random(12345);
    for (int round = 0; round < 8; ++round) {
      const QString log = home.path() + "/edits-" + QString::number(round);
      const pid_t child = fork();
      QVERIFY(child >= 0);
      if (child == 0) {
        const QByteArray path = self.toLocal8Bit(), logPath = log.toLocal8Bit();
        ::execl(path.constData(), path.constData(), "--scripted-session", logPath.constData(),
                static_cast<char*>(nullptr));
        _exit(127);
      }
      // Kill after a random number of edits, once the session runs.
      const int after = 5 + int(random() % 120);
      QTRY_VERIFY_WITH_TIMEOUT(ReadFile(log).count('\n') > after, 60000);
      ::kill(child, SIGKILL);
      int status = 0;
      ::waitpid(child, &status, 0);
      QVERIFY(WIFSIGNALED(status));
      const QStringList done = ReadFile(log).split('\n', Qt::SkipEmptyParts);
      const int last = done.last().toInt();  // the last edit surely made

      RecoveryStore next(StateFolder().toStdString());
      const std::vector<RecoveryCopy> copies = next.Orphans();
      if (last < 19) {
        QVERIFY(copies.empty());
        continue;
      }
      QCOMPARE(int(copies.size()), 1);
      // Which edit the copy holds: replay the session until it matches.
      PlainDocHost host;
      FakeTileFacts facts;
      TTAVIDoc doc(8, 8, &facts, &host);
      doc.Clear(false);
      int held = -1;
      for (int k = 0; k <= last + 1 && held < 0; ++k) {
        ScriptedEdit(doc, k);
        if (HouseFileText(doc) == copies[0].houseText) held = k;
      }
      QVERIFY2(held >= 0, "the copy is no state of the session");
      QVERIFY2(last - held <= RecoverySchedule::kEdits,
               qPrintable(QString("edit %1 recovered after %2").arg(held).arg(last)));
      next.Discard(copies[0]);
    }
  }
};

int main(int argc, char** argv) {
  if (argc >= 3 && std::strcmp(argv[1], "--scripted-session") == 0) {
    const QString log = QString::fromLocal8Bit(argv[2]);
    int qtArgc = argc - 2;
    argv[2] = argv[0];
    QApplication app(qtArgc, argv + 2);
    return RunScriptedSession(log);
  }
  QApplication app(argc, argv);
  TestRecovery test;
  return QTest::qExec(&test, argc, argv);
}

#include "test_recovery.moc"
