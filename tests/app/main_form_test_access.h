#pragma once
// The tests' way to the state behind the main window: the document, the other
// windows, the view and the interaction state, which the window keeps to
// itself. `Access(w).Doc()` reads as `w.Doc()` would.
#include "app/main_window.h"

namespace tavi {

class MainFormTestAccess {
 public:
  explicit MainFormTestAccess(TMainForm& w) : w_(w) {}

  TTAVIDoc& Doc() const { return w_.Doc(); }
  const TUOTileData* TileData() const { return w_.TileData(); }
  TSettings& Settings() const { return w_.Settings(); }
  QString SettingsPath() const { return w_.SettingsPath(); }
  TCtrlForm* CtrlForm() const { return w_.CtrlForm(); }
  TCfgForm* CfgForm() const { return w_.CfgForm(); }
  TObjForm* ObjForm() const { return w_.ObjForm(); }
  TAoSForm* AoSForm() const { return w_.AoSForm(); }
  TMultiForm* MultiForm() const { return w_.MultiForm(); }
  TUpdateForm* UpdateForm() const { return w_.UpdateForm(); }
  TFoundationForm* FoundationForm() const { return w_.FoundationForm(); }
  RecoveryHook* Recovery() const { return w_.Recovery(); }
  UiPrompts& Prompts() const { return w_.Prompts(); }
  const LangMessages& Messages() const { return w_.Messages(); }
  IDocHost& DocHost() const { return w_.DocHost(); }
  ITextClipboard& Clipboard() const { return w_.Clipboard(); }
  void SetCurrentTile(uint16_t id) const { w_.SetCurrentTile(id); }
  int BaseHeight() const { return w_.BaseHeight(); }
  void SetBaseHeight(int h) const { w_.SetBaseHeight(h); }
  void ShowBaseHeight() const { w_.ShowBaseHeight(); }
  void ApplyLanguageToAll() const { w_.ApplyLanguageToAll(); }
  void FillBackground(int bgType) const { w_.FillBackground(bgType); }
  void ApplySettings(const TSettings& chosen) const { w_.ApplySettings(chosen); }
  void OpenRecentFile(const QString& fileName) const { w_.OpenRecentFile(fileName); }
  QStringList RecentFiles() const { return w_.RecentFiles(); }
  bool AskSaveChanges() const { return w_.AskSaveChanges(); }
  bool HandleDrop(const QMimeData* data) const { return w_.HandleDrop(data); }
  void AfterDocumentReplaced(const QString& fileNameOrEmpty) const {
    w_.AfterDocumentReplaced(fileNameOrEmpty);
  }
  QString CurrentFileName() const { return w_.CurrentFileName(); }
  void SetCurrentFileName(const QString& name) const { w_.SetCurrentFileName(name); }
  void ForgetFileName() const { w_.ForgetFileName(); }
  QWidget* PaintBox() const { return w_.PaintBox(); }
  MainMouse& Mouse() const { return w_.Mouse(); }
  void Redraw() const { w_.Redraw(); }
  void RefreshCellList() const { w_.RefreshCellList(); }
  void RefreshView() const { w_.RefreshView(); }
  void UpdatePaintBoxSize() const { w_.UpdatePaintBoxSize(); }
  double Zoom() const { return w_.Zoom(); }
  void SetZoom(double zoom) const { w_.SetZoom(zoom); }
  void ZoomStep(bool in) const { w_.ZoomStep(in); }
  int DetailX() const { return w_.DetailX(); }
  int DetailY() const { return w_.DetailY(); }
  void SetDetailCell(int x, int y) const { w_.SetDetailCell(x, y); }
  const CellRect& Selection() const { return w_.Selection(); }
  void SetSelection(const CellRect& rect) const { w_.SetSelection(rect); }
  bool HiddenCell(int x, int y) const { return w_.HiddenCell(x, y); }
  void SetHiddenCell(int x, int y, bool hidden) const { w_.SetHiddenCell(x, y, hidden); }
  const TBackgroundMap& BackgroundMap() const { return w_.BackgroundMap(); }
  void DockControlWindow(bool clampToScreen) const { w_.DockControlWindow(clampToScreen); }
  void PlaceForFirstShow() const { w_.PlaceForFirstShow(); }

 private:
  TMainForm& w_;
};

inline MainFormTestAccess Access(TMainForm& w) {
  return MainFormTestAccess(w);
}

}  // namespace tavi
