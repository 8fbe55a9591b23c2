#pragma once
// The document's window onto the user interface. The editor implements it with
// its windows; tests and the command-line tool use simple in-memory hosts.
#include <cstdint>
#include <string>

namespace tavi {

class IDocHost {
 public:
  virtual ~IDocHost() = default;
  // The control window's "Parts Lock" check box.
  virtual bool PartsLock() const { return false; }
  // The View menu's "Show Customize Propriety" check mark.
  virtual bool ShowCustomizePropriety() const { return false; }
  // The AoS window's reference price, and the output of a recount: the price in
  // gp and the two label texts ("%10.0n gp" and the signed difference).
  virtual int64_t ReferencePrice() const { return 0; }
  virtual void SetPrice(int64_t /*price*/, const std::string& /*lblPrice*/,
                        const std::string& /*lblDelta*/) {}
  // Thousands separator of the user's locale for the price texts.
  virtual char ThousandsSeparator() const { return ','; }
};

// A host with plain fields, for tests and the command-line tool.
class PlainDocHost : public IDocHost {
 public:
  bool partsLock = false;
  bool showPropriety = false;
  int64_t referencePrice = 0;
  int64_t price = 0;
  std::string lblPrice, lblDelta;
  char thousandsSep = ',';

  bool PartsLock() const override { return partsLock; }
  bool ShowCustomizePropriety() const override { return showPropriety; }
  int64_t ReferencePrice() const override { return referencePrice; }
  void SetPrice(int64_t p, const std::string& a, const std::string& b) override {
    price = p;
    lblPrice = a;
    lblDelta = b;
  }
  char ThousandsSeparator() const override { return thousandsSep; }
};

// Plain text on the system clipboard.
class ITextClipboard {
 public:
  virtual ~ITextClipboard() = default;
  virtual bool HasText() const = 0;
  virtual std::string GetText() const = 0;
  virtual void SetText(const std::string& text) = 0;
};

// An in-memory clipboard.
class MemoryClipboard : public ITextClipboard {
 public:
  std::string text;
  bool hasText = false;
  bool HasText() const override { return hasText; }
  std::string GetText() const override { return hasText ? text : std::string(); }
  void SetText(const std::string& t) override {
    text = t;
    hasText = true;
  }
};

}  // namespace tavi
