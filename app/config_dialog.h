#pragma once
// The configuration dialog: client file paths, the plot size, stay-on-top,
// JPEG quality, language, clipboard text width, background and the monthly
// update check. It only shows and collects values (Collect); the main window
// takes them over when the dialog closes with Ok.
#include <QDialog>
#include <functional>

#include "app/tool_host.h"
#include "settings/settings.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tavi {

class TTAVIDoc;

class TCfgForm : public QDialog {
  Q_OBJECT

 public:
  // A dialog over the editor's settings and its document; `doc` may be null
  // (the size lists then stay unselected).
  // The host outlives the dialog.
  TCfgForm(IConfigHost& host, TSettings* settings, const TTAVIDoc* doc, QWidget* parent = nullptr);

  // Fills the controls from the settings (also run on every show).
  void FormShow();
  // The settings with the values the controls show, the chosen plot size in
  // Width and Height. The settings themselves are not changed.
  TSettings Collect() const;
  // "&Reload Paths": empties the five paths, rediscovers the client and shows
  // the new paths. The settings change at once, whatever closes the dialog.
  void BtnFileSearchClick();

  // "Client folder…": fills all five paths from `dir` (loose files or the
  // containers, names matched ignoring case).
  void FillFromClientFolder(const QString& dir);
  // Offers "Use the demo client" for the folder `dir` (empty: not offered).
  void OfferDemoClient(const QString& dir);
  // The line under the paths: the required files the paths do not name yet.
  QString MissingFilesText() const;
  // The client paths as the edits show them.
  ClientPaths ShownPaths() const;

  // The list entry for a clipboard line width (36 -> 0 ... 76 -> 5); widths
  // outside the offered range select the last entry.
  static int TextWidthIndex(int lineWidth);

  QLineEdit *EdArtIdx, *EdArt, *EdTileData, *EdMultiIdx, *EdMulti;
  QComboBox *CBWidth, *CBHeight, *CBJpegQuality, *CBLanguage, *CBTextWidth, *CBBGType;
  QCheckBox *CBStayOnTop, *CBBGLarge, *CBUpdateChk;
  QLabel* LblMissing;
  QPushButton *BtnClientFolder, *BtnUseDemo;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  IConfigHost& host_;
  void build();
  void updateMissing();
  TSettings* settings_;
  QString demoDir_;
  const TTAVIDoc* doc_;
};

}  // namespace tavi
