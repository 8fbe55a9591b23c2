#include "app/update_check.h"

#include <QApplication>
#include <QDate>
#include <QDesktopServices>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

#include "app/web_addresses.h"
#include "io/version_check.h"
#include "settings/settings.h"

namespace tavi {

HttpResult HttpGet(const QUrl& url, int timeoutMs, int maxBytes) {
  HttpResult result;
  if (!url.isValid() || (url.scheme() != "http" && url.scheme() != "https")) {
    result.error = "unsupported address";
    return result;
  }
  QNetworkAccessManager manager;
  manager.setProxy(QNetworkProxy::NoProxy);
  QNetworkRequest request(url);
  request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                       QNetworkRequest::NoLessSafeRedirectPolicy);
  request.setMaximumRedirectsAllowed(8);
  request.setTransferTimeout(timeoutMs);
  QNetworkReply* reply = manager.get(request);
  QEventLoop loop;
  bool tooLarge = false;
  // The body is kept in memory up to maxBytes; a longer answer is cut off and
  // the transfer stopped.
  QObject::connect(reply, &QNetworkReply::readyRead, &loop, [&] {
    const QByteArray chunk = reply->read(qint64(maxBytes) - result.body.size() + 1);
    result.body += chunk;
    if (result.body.size() > maxBytes) {
      result.body.truncate(maxBytes);
      tooLarge = true;
      reply->abort();
    }
  });
  QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
  QTimer guard;
  guard.setSingleShot(true);
  QObject::connect(&guard, &QTimer::timeout, reply, &QNetworkReply::abort);
  guard.start(timeoutMs + 1000);
  if (!reply->isFinished()) loop.exec(QEventLoop::ExcludeUserInputEvents);
  if (!tooLarge && result.body.size() < maxBytes)
    result.body += reply->read(qint64(maxBytes) - result.body.size());
  result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
  result.ok = !tooLarge && reply->error() == QNetworkReply::NoError && result.status >= 200 &&
              result.status < 300;
  if (!result.ok) result.error = tooLarge ? QString("answer too long") : reply->errorString();
  reply->deleteLater();
  return result;
}

bool OpenWebPage(const QString& url) {
  const QString target = url.isEmpty() ? QString(kHomePageEnglishURL) : url;
  return QDesktopServices::openUrl(QUrl(target));
}

QString VersionInfoUrl(const TSettings* settings) {
  if (settings && !settings->UpdateURL.empty()) return QString::fromStdString(settings->UpdateURL);
  return kVersionInfoURL;
}

QString HomePageUrl(const TSettings* settings, bool japanese) {
  if (settings && !settings->HomeURL.empty()) return QString::fromStdString(settings->HomeURL);
  return japanese ? kHomePageJapaneseURL : kHomePageEnglishURL;
}

bool OpenWebPageOrTell(const QString& url, const std::function<bool(const QString&)>& open,
                       const std::function<void(const QString&)>& tell,
                       const LangMessages& messages) {
  const QString target = url.isEmpty() ? QString(kHomePageEnglishURL) : url;
  if (open ? open(target) : OpenWebPage(target)) return true;
  if (tell) tell(messages.MsgNoBrowser + "\r\n" + target);
  return false;
}

QString HelpContentsUrl(const TSettings* settings) {
  return HomePageUrl(settings, false);
}

QString AboutText() {
  return QString(kVersionText) +
         "\n\nAn editor for player houses: lay out a house tile by tile over five floors, "
         "price it by the customization rules and save it as a house file.";
}

void ShowAboutBox(QWidget* parent) {
  QMessageBox box(QMessageBox::Information, "About", AboutText(), QMessageBox::Ok, parent);
  box.setObjectName("AboutBox");
  box.exec();
}

TUpdateForm::TUpdateForm(IUpdateHost& host, QWidget* parent) : QDialog(parent), host_(host) {
  setObjectName("UpdateForm");
  // The caption is the same in every language.
  setWindowTitle("Infrormation");
  setWindowFlag(Qt::WindowStaysOnTopHint, true);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  build();
}

TUpdateForm::~TUpdateForm() = default;

void TUpdateForm::build() {
  memo_ = new QPlainTextEdit(this);
  memo_->setObjectName("Memo1");
  memo_->setReadOnly(true);
  memo_->setMinimumSize(249, 113);
  btnOk_ = new QPushButton("Ok", this);
  btnOk_->setObjectName("BtnOk");
  btnOk_->setDefault(true);
  btnExecIE_ = new QPushButton("Open TAVI Site", this);
  btnExecIE_->setObjectName("BtnExecIE");
  connect(btnOk_, &QPushButton::clicked, this, [this] { BtnOkClick(); });
  connect(btnExecIE_, &QPushButton::clicked, this, [this] { BtnExecIEClick(); });
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(btnExecIE_);
  buttons->addStretch(1);
  buttons->addWidget(btnOk_);
  auto* lay = new QVBoxLayout(this);
  lay->addWidget(memo_, 1);
  lay->addLayout(buttons);
}

void TUpdateForm::addLine(const QString& line) {
  memo_->appendPlainText(line);
}

QStringList TUpdateForm::MemoLines() const {
  QStringList lines = memo_->toPlainText().split('\n');
  if (lines.size() == 1 && lines[0].isEmpty()) lines.clear();
  return lines;
}

void TUpdateForm::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (!e->spontaneous()) QTimer::singleShot(0, this, [this] { FormShow(); });
}

void TUpdateForm::FormShow() {
  const LangMessages msg = host_.Msg();
  addLine(msg.MsgGettingVersion);
  repaint();
  QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  btnOk_->setEnabled(false);
  const HttpResult r =
      HttpGet(QUrl(VersionInfoUrl(&host_.Settings())), timeoutMs_, int(kMaxVersionBody));
  btnOk_->setEnabled(true);
  switch (CompareVersion(r.ok, r.body.toStdString())) {
    case UpdateMessage::kFetchFailed:
      addLine(msg.MsgFetchFailed);
      break;
    case UpdateMessage::kNewVersion:
      addLine(msg.MsgNewVersion);
      break;
    case UpdateMessage::kNoNewInfo:
      addLine(msg.MsgNoNewInfo);
      break;
    case UpdateMessage::kGettingVersion:
      break;
  }
}

bool TUpdateForm::ShowModalCheck() {
  return exec() == QDialog::Accepted;
}

bool TUpdateForm::RunCheck() {
  const QDate today = QDate::currentDate();
  const int32_t month = MonthStamp(today.year(), today.month());
  if (!UpdateCheckDue(host_.Settings().UpdateCheck, host_.Settings().LastCheck, month))
    return false;
  if (!ShowModalCheck()) return false;
  host_.Settings().LastCheck = month;
  return true;
}

void TUpdateForm::BtnOkClick() {
  accept();
}

void TUpdateForm::BtnExecIEClick() {
  const bool japanese = host_.Settings().Language == 1;
  OpenWebPageOrTell(
      HomePageUrl(&host_.Settings(), japanese),
      [this](const QString& url) { return host_.Prompts().OpenUrl(url); },
      [this](const QString& text) { host_.Prompts().Info(this, text); }, host_.Msg());
}

}  // namespace tavi
