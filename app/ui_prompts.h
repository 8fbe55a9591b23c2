#pragma once
// Message boxes, questions, file dialogs and the web browser of the main
// window, behind one class so that tests can answer them without a person at
// the screen.
#include <QFileIconProvider>
#include <QString>

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
  // A picture's file name; `chosenFilter` receives the filter chosen in the
  // dialog (the name's extension decides where it has one).
  virtual QString SaveImageFile(QWidget* parent, const QString& current, const QString& filter,
                                QString* chosenFilter);
  // A folder; empty when cancelled.
  virtual QString ChooseFolder(QWidget* parent, const QString& current, const QString& caption);
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
