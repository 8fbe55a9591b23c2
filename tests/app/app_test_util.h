#pragma once
// Helpers of the editor's window tests: prompts answered by the test, and
// start options on a temporary settings folder.
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QtTest>
#include <deque>
#include <functional>
#include <memory>

#include "app/control_window.h"
#include "app/main_window.h"
#include "app/ui_prompts.h"
#include "support/demo_client.h"
#include "tests/app/main_form_test_access.h"

namespace tavi::test {

class ScriptedPrompts : public UiPrompts {
 public:
  QStringList infos, errors, questions;
  std::deque<Answer> yesNoCancel;  // answers in turn; Cancel when empty
  std::deque<bool> yesNo;          // answers in turn; No when empty
  QString openName, saveName;      // empty: the dialog is cancelled
  // Runs on the dialog before it "closes"; returns whether it closed with Ok.
  std::function<bool(QDialog*)> exec = [](QDialog*) { return false; };
  int execCount = 0;

  void Info(QWidget*, const QString& text) override { infos << text; }
  void Error(QWidget*, const QString& text) override { errors << text; }
  Answer YesNoCancel(QWidget*, const QString& text) override {
    questions << text;
    if (yesNoCancel.empty()) return kCancel;
    const Answer a = yesNoCancel.front();
    yesNoCancel.pop_front();
    return a;
  }
  bool YesNo(QWidget*, const QString& text) override {
    questions << text;
    if (yesNo.empty()) return false;
    const bool a = yesNo.front();
    yesNo.pop_front();
    return a;
  }
  QString OpenFile(QWidget*, const QString& current, const QString&) override {
    lastStart = current;
    return openName;
  }
  QString SaveFile(QWidget*, const QString& current, const QString&, const QString&) override {
    lastStart = current;
    return saveName;
  }
  QString saveFilter;  // the filter a filtered save dialog reports
  QString SaveFileFiltered(QWidget*, const QString& current, const QString&,
                           QString* chosen) override {
    lastStart = current;
    *chosen = saveFilter;
    return saveName;
  }
  std::deque<int> choices;  // ChooseItem answers in turn; cancelled when empty
  QStringList choiceItems;  // the items last offered
  int ChooseItem(QWidget*, const QString& text, const QStringList& items) override {
    questions << text;
    choiceItems = items;
    if (choices.empty()) return -1;
    const int a = choices.front();
    choices.pop_front();
    return a;
  }
  std::deque<QString> texts;  // InputText answers in turn; cancelled when empty
  bool InputText(QWidget*, const QString&, const QString& prompt, QString* answer) override {
    questions << prompt;
    if (texts.empty()) return false;
    *answer = texts.front();
    texts.pop_front();
    return true;
  }
  std::deque<int> numbers;  // AskNumber answers in turn; cancelled when empty
  bool AskNumber(QWidget*, const QString& text, int, int, int* value) override {
    questions << text;
    if (numbers.empty()) return false;
    *value = numbers.front();
    numbers.pop_front();
    return true;
  }
  QString folderName;  // ChooseFolder's answer; cancelled when empty
  QString lastStart;   // the folder or file the last file dialog started at
  QString ChooseFolder(QWidget*, const QString& current, const QString&) override {
    lastStart = current;
    return folderName;
  }
  bool Exec(QDialog* dialog) override {
    ++execCount;
    return exec(dialog);
  }
  QStringList opened;          // pages handed to the browser
  bool browserStarts = false;  // whether a browser "starts"; none does by default
  bool OpenUrl(const QString& url) override {
    opened << url;
    return browserStarts;
  }
};

// Keeps discovery away from the machine's own client folders.
inline void IsolateEnvironment(const QString& home) {
  qputenv("HOME", home.toUtf8());
  qputenv("WINEPREFIX", (home + "/no-wine").toUtf8());
  qputenv("XDG_CONFIG_HOME", (home + "/config").toUtf8());
}

// The set-up every window test shares: a temporary home folder, made the
// environment's home so that discovery and the settings stay inside it. A
// test class holds one as `home`; it is ready when the class is made.
class TestHome {
 public:
  TestHome() {
    if (!dir_.isValid()) qFatal("no temporary folder: %s", qPrintable(dir_.errorString()));
    IsolateEnvironment(dir_.path());
  }
  QString path() const { return dir_.path(); }

 private:
  QTemporaryDir dir_;
};

inline StartOptions DemoOptions(const QString& settingsFolder,
                                std::shared_ptr<ScriptedPrompts> prompts) {
  StartOptions o;
  o.settingsFolder = settingsFolder;
  o.demoClientDir = QString::fromStdString(DemoClientDir());
  o.prompts = prompts;
  return o;
}

// The editor on the demo client with its settings in `settingsFolder`, with
// new prompts, shown, once its control window is up.
inline void OpenDemoEditor(const QString& settingsFolder, std::shared_ptr<ScriptedPrompts>& prompts,
                           std::unique_ptr<TMainForm>& w) {
  prompts = std::make_shared<ScriptedPrompts>();
  w = std::make_unique<TMainForm>(DemoOptions(settingsFolder, prompts));
  w->show();
  QTRY_VERIFY(Access(*w).CtrlForm()->isVisible());
}

// Closes it without the unsaved-changes question.
inline void CloseDemoEditor(std::unique_ptr<TMainForm>& w) {
  if (!w) return;
  Access(*w).Doc().Modified = false;
  w.reset();
}

inline QString ReadFile(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return QString();
  return QString::fromUtf8(f.readAll());
}

inline QByteArray ReadBytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void WriteFile(const QString& path, const QByteArray& data) {
  QFile f(path);
  if (f.open(QIODevice::WriteOnly)) f.write(data);
}

}  // namespace tavi::test
