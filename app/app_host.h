#pragma once
// The editor's side of the document's host and of the text clipboard.
#include <QString>

#include "document/doc_host.h"

namespace tavi {

class TMainForm;

// The document's host in the editor, reading the main window's state at the
// moment of use: Parts Lock from the control window, the customization view
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

// Plain text on the system clipboard (CR LF kept as it is).
class QtTextClipboard : public ITextClipboard {
 public:
  bool HasText() const override;
  std::string GetText() const override;
  void SetText(const std::string& text) override;
};

}  // namespace tavi
