#pragma once
// Message boxes, questions, file dialogs and the web browser of the main
// window, behind one class so that tests can answer them without a person at
// the screen.
#include <QFileIconProvider>
#include <QString>
#include <QStringList>

class QDialog;
class QFileDialog;
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
  // A folder; empty when cancelled.
  virtual QString ChooseFolder(QWidget* parent, const QString& current, const QString& caption);
  // A save dialog whose chosen filter is reported too (the whole filter text).
  virtual QString SaveFileFiltered(QWidget* parent, const QString& current, const QString& filter,
                                   QString* chosenFilter);
  // One of `items`: its index, or -1 when cancelled.
  virtual int ChooseItem(QWidget* parent, const QString& text, const QStringList& items);
  // A one-line text, starting empty; false when cancelled.
  virtual bool InputText(QWidget* parent, const QString& caption, const QString& prompt,
                         QString* answer);
  // A whole number within [lo, hi] starting at *value; false when cancelled.
  virtual bool AskNumber(QWidget* parent, const QString& text, int lo, int hi, int* value);
  // Runs a modal dialog; true when it closed with Ok.
  virtual bool Exec(QDialog* dialog);
  // Opens a web page in the desktop's browser; false when none could be started.
  virtual bool OpenUrl(const QString& url);
};

// Icons and type names of the file dialogs told by the name alone: the
// contents of a file are never read, so that a special file (a FIFO, a file
// of /proc that never ends) cannot stall the dialog.
class NamesOnlyIconProvider : public QFileIconProvider {
 public:
  QIcon icon(const QFileInfo& info) const override;
  QIcon icon(IconType type) const override { return QFileIconProvider::icon(type); }
  QString type(const QFileInfo& info) const override;
};

// Every file dialog of the editor is made here: the dialog drawn by Qt (the
// same everywhere), with the names-only icon provider.
void MakeSafe(QFileDialog* dialog);

// The box texts keep their line breaks as LF.
QString BoxText(const QString& text);

}  // namespace tavi
