// The update check against a small HTTP server of the test's own on 127.0.0.1.
#include "app/update_check.h"

#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

#include "io/version_check.h"
#include "settings/settings.h"
#include "tests/app/fake_window_host.h"

namespace tavi {

// Answers every request by its path: the canned response for the path, or
// nothing at all for "/silent".
class TinyHttpServer : public QObject {
 public:
  QMap<QString, QByteArray> responses;
  int requests = 0;

  bool Start() {
    connect(&server_, &QTcpServer::newConnection, this, [this] {
      while (QTcpSocket* s = server_.nextPendingConnection()) {
        connect(s, &QTcpSocket::readyRead, s, [this, s] {
          buffer_[s] += s->readAll();
          if (!buffer_[s].contains("\r\n\r\n")) return;
          ++requests;
          // The request is complete; forget it, since a later socket may be
          // given the same address.
          const QList<QByteArray> words = buffer_.take(s).split(' ');
          const QString path = words.size() > 1 ? QString(words[1]) : QString();
          if (path == "/silent") return;
          s->write(responses.value(path, "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n"));
          s->disconnectFromHost();
        });
        connect(s, &QTcpSocket::disconnected, this, [this, s] {
          buffer_.remove(s);
          s->deleteLater();
        });
      }
    });
    return server_.listen(QHostAddress::LocalHost, 0);
  }
  QString Url(const QString& path) const {
    return QString("http://127.0.0.1:%1%2").arg(server_.serverPort()).arg(path);
  }
  static QByteArray Ok(const QByteArray& body) {
    return "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: " +
           QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
  }

 private:
  QTcpServer server_;
  QHash<QTcpSocket*, QByteArray> buffer_;
};

class UpdateCheckTest : public QObject {
  Q_OBJECT

 private:
  TinyHttpServer http_;
  TSettings settings_;

  QStringList Check(const QString& url, int timeoutMs = 5000) {
    settings_.UpdateURL = url.toStdString();
    test::FakeWindowHost host;
    host.settings = &settings_;
    TUpdateForm form(host);
    form.SetTimeoutMs(timeoutMs);
    form.FormShow();
    return form.MemoLines();
  }

 private slots:
  void initTestCase() {
    http_.responses["/same"] = TinyHttpServer::Ok(kVersionText);
    http_.responses["/crlf"] = TinyHttpServer::Ok(QByteArray(kVersionText) + "\r\n");
    http_.responses["/error"] =
        "HTTP/1.1 500 Oops\r\nContent-Length: 13\r\n\r\n" + QByteArray(kVersionText).left(13);
    http_.responses["/moved"] =
        "HTTP/1.1 302 Found\r\nLocation: /same\r\nContent-Length: 0\r\n\r\n";
    http_.responses["/huge"] = TinyHttpServer::Ok(QByteArray(1 << 20, 'x'));
    QVERIFY(http_.Start());
  }

  void reportsWhatTheServerSays() {
    const QString getting = "Getting version information...";
    QCOMPARE(Check(http_.Url("/same")), (QStringList{getting, "No new information."}));
    QCOMPARE(Check(http_.Url("/crlf")),
             (QStringList{getting, "New version is published. please get it now."}));
    QCOMPARE(Check(http_.Url("/moved")), (QStringList{getting, "No new information."}));
    // An error status is a failure, whatever body came with it.
    QCOMPARE(Check(http_.Url("/error")),
             (QStringList{getting, "Information acquisition is failed."}));
    // An answer far beyond a version line is not read to the end.
    QCOMPARE(Check(http_.Url("/huge")).last(), QString("Information acquisition is failed."));
  }

  void aDeadOrSilentServerIsAFailure() {
    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost, 0));
    const quint16 port = closed.serverPort();
    closed.close();
    QCOMPARE(Check(QString("http://127.0.0.1:%1/x").arg(port)).last(),
             QString("Information acquisition is failed."));
    QElapsedTimer t;
    t.start();
    QCOMPARE(Check(http_.Url("/silent"), 300).last(),
             QString("Information acquisition is failed."));
    QVERIFY(t.elapsed() < 4000);
    QCOMPARE(Check("file:///etc/passwd").last(), QString("Information acquisition is failed."));
  }

  void messagesFollowTheLanguage() {
    settings_.Language = 1;
    const QStringList lines = Check(http_.Url("/same"));
    settings_.Language = 0;
    QCOMPARE(lines.size(), 2);
    QVERIFY(lines[1] != "No new information.");
    QVERIFY(!lines[1].isEmpty());
  }

  void lastCheckIsStoredOnlyOnOk() {
    const QDate today = QDate::currentDate();
    const int month = today.year() * 100 + today.month();
    settings_.UpdateURL = http_.Url("/same").toStdString();
    settings_.UpdateCheck = true;
    settings_.LastCheck = 0;
    test::FakeWindowHost host;
    host.settings = &settings_;
    TUpdateForm form(host);
    // Closed another way (Escape): asked again at the next start.
    QTimer::singleShot(200, &form, [&form] { form.reject(); });
    QVERIFY(!form.RunCheck());
    QCOMPARE(settings_.LastCheck, 0);
    QTimer::singleShot(200, &form, [&form] { form.BtnOkClick(); });
    QVERIFY(form.RunCheck());
    QCOMPARE(settings_.LastCheck, month);
    const int before = http_.requests;
    QVERIFY(!form.RunCheck());  // not due again this month
    QCOMPARE(http_.requests, before);
    settings_.UpdateCheck = false;
    settings_.LastCheck = 0;
    QVERIFY(!form.RunCheck());
  }

  // Without a browser the button says so, in the user's language, with the
  // address on a line of its own to copy; with one, nothing is said.
  void noBrowserIsToldWithTheAddress() {
    TSettings s;
    s.Language = 2;
    test::FakeWindowHost host;
    host.settings = &s;
    const QStringList &opened = host.prompts.opened, &told = host.prompts.infos;
    bool& browser = host.prompts.browserStarts;
    TUpdateForm form(host);
    form.findChild<QPushButton*>("BtnExecIE")->click();
    QCOMPARE(opened, QStringList{HomePageUrl(&s, false)});
    QCOMPARE(told.size(), 1);
    QCOMPARE(told[0], MessagesFor(kLangGerman).MsgNoBrowser + "\r\n" + HomePageUrl(&s, false));
    QVERIFY(!MessagesFor(kLangGerman).MsgNoBrowser.isEmpty());
    QVERIFY(MessagesFor(kLangJapanese).MsgNoBrowser != MessagesFor(kLangEnglish).MsgNoBrowser);

    s.Language = 1;
    form.findChild<QPushButton*>("BtnExecIE")->click();
    QCOMPARE(opened.last(), HomePageUrl(&s, true));
    QVERIFY(told.last().startsWith(MessagesFor(kLangJapanese).MsgNoBrowser));

    browser = true;
    form.findChild<QPushButton*>("BtnExecIE")->click();
    QCOMPARE(told.size(), 2);
  }

  void addressesComeFromTheSettingsWhenGiven() {
    TSettings s;
    QVERIFY(VersionInfoUrl(&s).startsWith("http://"));
    QVERIFY(HomePageUrl(&s, true) != HomePageUrl(&s, false));
    s.HomeURL = "http://127.0.0.1:1/home";
    QCOMPARE(HomePageUrl(&s, true), QString("http://127.0.0.1:1/home"));
    QVERIFY(AboutText().startsWith(kVersionText));
  }
};

}  // namespace tavi

QTEST_MAIN(tavi::UpdateCheckTest)
#include "update_check_test.moc"
