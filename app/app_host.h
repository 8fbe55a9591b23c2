#pragma once
// The editor's side of the document's host and of the text clipboard: Parts
// Lock and the base height come from the control window, the customization
// view switch from the View menu, price labels go to the AoS window, the
// thousands separator from the user's locale.
#include "document/doc_host.h"

namespace tavi {

class TMainForm;

class AppDocHost : public IDocHost {
 public:
  explicit AppDocHost(TMainForm* main) : main_(main) {}
  bool PartsLock() const override;
  bool ShowCustomizePropriety() const override;
  int BaseHeight() const override;
  void SetBaseHeight(int height) override;
  int64_t ReferencePrice() const override;
  void SetPrice(int64_t price, const std::string& lblPrice, const std::string& lblDelta) override;
  char ThousandsSeparator() const override;

 private:
  TMainForm* main_;
};

// Plain text on the system clipboard (CR LF kept as it is).
class QtTextClipboard : public ITextClipboard {
 public:
  bool HasText() const override;
  std::string GetText() const override;
  void SetText(const std::string& text) override;
};

}  // namespace tavi
