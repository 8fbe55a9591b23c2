#pragma once
// The monthly update check and the Help menu's two commands.
#include <QDialog>
#include <QUrl>
#include <functional>

#include "app/tool_host.h"

class QPlainTextEdit;
class QPushButton;

namespace tavi {

// The result of one HTTP GET: whether it succeeded (a 2xx answer after any
// redirects, within the time limit) and the body, cut at a fixed size.
struct HttpResult {
  bool ok = false;
  int status = 0;
  QByteArray body;
  QString error;
};
// GET of an http(s) URL that returns when the transfer has ended; follows
// redirects; gives up after `timeoutMs`. The body is kept to `maxBytes`.
HttpResult HttpGet(const QUrl& url, int timeoutMs = 15000, int maxBytes = 4096);

// Opens a page in the desktop's default browser. An empty url opens the
// English home page. False when no browser could be started.
bool OpenWebPage(const QString& url);
// Opens a page with `open` (OpenWebPage when empty); when no browser could
// be started, `tell` shows MsgNoBrowser with the address on its own line, so
// that the user can copy it. Returns whether a browser was started.
bool OpenWebPageOrTell(const QString& url, const std::function<bool(const QString&)>& open,
                       const std::function<void(const QString&)>& tell,
                       const LangMessages& messages);

// The addresses in use (settings override the built-in ones).
QString VersionInfoUrl(const TSettings* settings);
QString HomePageUrl(const TSettings* settings, bool japanese);

// Help, Contents: the home page, the same in every language.
QString HelpContentsUrl(const TSettings* settings);
// Help, About: the version text first.
void ShowAboutBox(QWidget* parent);
QString AboutText();

class TUpdateForm : public QDialog {
  Q_OBJECT
 public:
  explicit TUpdateForm(IUpdateHost& host, QWidget* parent = nullptr);
  ~TUpdateForm() override;

  // The start-up step: when the check is due this month, shows the dialog
  // modally and, if it is closed with Ok, stores the month in LastCheck.
  // Returns whether Ok was pressed (false also when the check was not due).
  bool RunCheck();
  // Shows the dialog modally and runs the check (whether or not it is due).
  bool ShowModalCheck();
  // The check itself: fetches the version text and adds the result line.
  void FormShow();
  QStringList MemoLines() const;
  void SetTimeoutMs(int ms) { timeoutMs_ = ms; }

  void BtnOkClick();
  void BtnExecIEClick();

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  void build();
  void addLine(const QString& line);

  IUpdateHost& host_;
  int timeoutMs_ = 15000;
  QPlainTextEdit* memo_ = nullptr;
  QPushButton* btnOk_ = nullptr;
  QPushButton* btnExecIE_ = nullptr;
};

}  // namespace tavi
