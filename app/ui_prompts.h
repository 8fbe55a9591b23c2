#pragma once
// Message boxes, questions, file dialogs and the web browser of the main
// window, behind one class so that tests can answer them without a person at
// the screen.
#include <QString>
#include <QStringList>

class QDialog;
class QWidget;

namespace tavi {

class UiPrompts {
 public:
  enum Answer { kYes, kNo, kCancel };
  virtual ~UiPrompts() = default;
  virtual void Info(QWidget* parent, const QString& text);
  virtual void Error(QWidget* parent, const QString& text);
  virtual Answer YesNoCancel(QWidget* parent, const QString& text);
  virtual bool YesNo(QWidget* parent, const QString& text);
  // Empty when cancelled. `filter` uses Qt's ";;" form.
  virtual QString OpenFile(QWidget* parent, const QString& current, const QString& filter);
  virtual QString SaveFile(QWidget* parent, const QString& current, const QString& filter,
                           const QString& defaultSuffix);
  // A save dialog whose chosen filter is reported too (the whole filter text).
  virtual QString SaveFileFiltered(QWidget* parent, const QString& current, const QString& filter,
                                   QString* chosenFilter);
  // One of `items`: its index, or -1 when cancelled.
  virtual int ChooseItem(QWidget* parent, const QString& text, const QStringList& items);
  // A whole number within [lo, hi] starting at *value; false when cancelled.
  virtual bool AskNumber(QWidget* parent, const QString& text, int lo, int hi, int* value);
  // Runs a modal dialog; true when it closed with Ok.
  virtual bool Exec(QDialog* dialog);
  // Opens a web page in the desktop's browser; false when none could be started.
  virtual bool OpenUrl(const QString& url);
};

// The box texts keep their line breaks as LF.
QString BoxText(const QString& text);

}  // namespace tavi
