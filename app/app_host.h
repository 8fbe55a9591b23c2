#pragma once
// The editor's side of the document's host and of the text clipboard. The
// main window wires the host to its windows: Parts Lock comes from the
// control window, the customization view switch from the View
// menu, price labels go to the AoS window; the thousands separator comes from
// the user's locale.
#include <QString>
#include <functional>

#include "document/doc_host.h"

namespace tavi {

class AppDocHost : public IDocHost {
 public:
  // Each is asked at the moment of use; one left empty reads as off, 0 or
  // the default base height of 7, and a price then goes nowhere.
  std::function<bool()> partsLock;
  std::function<bool()> showCustomize;
  std::function<int64_t()> referencePrice;
  std::function<void(int64_t price, const QString& lblPrice, const QString& lblDelta)> setPrice;

  bool PartsLock() const override;
  bool ShowCustomizePropriety() const override;
  int64_t ReferencePrice() const override;
  void SetPrice(int64_t price, const std::string& lblPrice, const std::string& lblDelta) override;
  char ThousandsSeparator() const override;
};

// Plain text on the system clipboard (CR LF kept as it is).
class QtTextClipboard : public ITextClipboard {
 public:
  bool HasText() const override;
  std::string GetText() const override;
  void SetText(const std::string& text) override;
};

}  // namespace tavi
