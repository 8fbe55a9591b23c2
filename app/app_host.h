#pragma once
// The editor's side of the document's host, of the windows' hosts and of the
// text clipboard.
#include <QString>

#include "app/tool_host.h"
#include "document/doc_host.h"

namespace tavi {

class TMainForm;

// The document's host in the editor, reading the main window's state at the
// moment of use: Parts Lock from the edit state, the customization view
// switch from the View menu's check mark, the reference price from the AoS
// window, which also shows the price labels; the thousands separator comes
// from the user's locale. A window that does not exist (yet, or any more)
// reads as off or 0, and a price then goes nowhere.
class MainDocHost : public IDocHost {
 public:
  explicit MainDocHost(const TMainForm& window) : window_(window) {}

  bool PartsLock() const override;
  bool ShowCustomizePropriety() const override;
  int64_t ReferencePrice() const override;
  void SetPrice(int64_t price, const std::string& lblPrice, const std::string& lblDelta) override;
  char ThousandsSeparator() const override;

 private:
  const TMainForm& window_;
};

// What the windows read from the main window and ask of it: one object for
// all of them, made before them and gone after them. A window that does not
// exist (yet, or any more) is simply not reached.
class MainWindowHost final : public ICatalogueHost,
                             public IAosHost,
                             public ICacheImportHost,
                             public IControlHost {
 public:
  explicit MainWindowHost(TMainForm& window) : window_(window) {}

  // ---- every window ----
  TTAVIDoc* Doc() const override;
  const TUOTileData* Tiles() const override;
  TSettings& Settings() const override;
  EditState& Edit() const override;
  LangMessages Msg() const override;
  UiPrompts& Prompts() const override;
  // ---- the catalogue and AoS windows ----
  void SetCurrentTile(uint16_t id) override;
  IAosChoice* Aos() const override;
  void CatalogueHidden() override;
  void AosHidden() override;
  // ---- the cache import dialog ----
  void HideCtrlForDialog() override;
  void RestoreCtrlAfterDialog() override;
  bool AskSaveChanges() override;
  void AfterCacheImport() override;
  // ---- the control window ----
  void Redraw() override;
  int DetailX() const override;
  int DetailY() const override;
  CellRect Selection() const override;
  void SetHiddenCell(int x, int y, bool hidden) override;
  void SetZoom(double zoom) override;
  QWidget* CatalogueWindow() const override;
  QWidget* AosWindow() const override;

 private:
  TMainForm& window_;
};

// Plain text on the system clipboard (CR LF kept as it is).
class QtTextClipboard : public ITextClipboard {
 public:
  bool HasText() const override;
  std::string GetText() const override;
  void SetText(const std::string& text) override;
};

}  // namespace tavi
