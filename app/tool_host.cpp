#include "app/tool_host.h"

#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>

#include "document/aos_tables.h"
#include "settings/settings.h"

namespace tavi {

LangMessages ToolHost::Msg() const {
  if (messages) {
    const LangMessages* m = messages();
    if (m && !m->MsgNotFound.isEmpty()) return *m;
  }
  return MessagesFor(settings ? settings->Language : 0);
}

void ToolHost::Info(QWidget* parent, const QString& text) const {
  if (info) {
    info(parent, text);
    return;
  }
  QMessageBox::information(parent, QGuiApplication::applicationDisplayName(), text);
}

bool ToolHost::YesNo(QWidget* parent, const QString& text) const {
  if (yesNo) return yesNo(parent, text);
  return QMessageBox::question(parent, QGuiApplication::applicationDisplayName(), text,
                               QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

bool ToolHost::Input(QWidget* parent, const QString& caption, const QString& prompt,
                     QString* answer) const {
  if (input) return input(parent, caption, prompt, answer);
  bool ok = false;
  const QString text =
      QInputDialog::getText(parent, caption, prompt, QLineEdit::Normal, QString(), &ok);
  if (ok) *answer = text;
  return ok;
}

bool ToolHost::AutoStairs() const {
  const IAosChoice* aos = Aos();
  return aos && aos->IsShown() && aos->TypeIndex() == kAosAutoStairs;
}

}  // namespace tavi
