// WSC world items: "SECTION WORLDITEM n", "{", key-value lines (ID, X, Y, Z,
// Color; other keys ignored), "}". Positions may be world positions: the
// reader lays them by their bounds and lifts the lowest component to z 0.
#include <algorithm>
#include <climits>

#include "io/design_formats.h"
#include "io/design_text.h"

namespace tavi {

using namespace design;

namespace {

// The blocks of a world file, line by line.
class WscReader {
 public:
  WscReader(const std::string& file, Design* d, std::string* error)
      : file_(file), d_(d), error_(error) {}

  // One line's fields (not empty); false with the message on a fault.
  bool Line(const std::vector<std::string_view>& f, int n) {
    switch (state_) {
      case kOutside:
        return Section(f, n);
      case kHeader:
        if (f[0] != "{") return Fault(n, "\"{\" is expected after the SECTION line");
        state_ = item_ ? kItem : kOther;
        c_ = DesignComponent{};
        hasId_ = hasX_ = hasY_ = false;
        return true;
      default:
        if (f[0] == "}") return Close();
        return state_ == kOther || Key(f, n);
    }
  }

  // After the last line.
  bool End() {
    if (state_ != kOutside) return Fault(blockLine_, "the section is not closed by \"}\"");
    if (!sawSection_) {
      *error_ = file_ + ": no SECTION WORLDITEM blocks: not a world item file";
      return false;
    }
    return true;
  }

 private:
  enum State { kOutside, kHeader, kItem, kOther };

  bool Fault(int n, const std::string& what) {
    *error_ = LineFault(file_, n, what);
    return false;
  }

  bool Section(const std::vector<std::string_view>& f, int n) {
    if (!EqualsNoCase(f[0], "SECTION")) return Fault(n, "a \"SECTION\" line is expected");
    sawSection_ = true;
    item_ = f.size() >= 2 && EqualsNoCase(f[1], "WORLDITEM");
    state_ = kHeader;
    blockLine_ = n;
    return true;
  }

  bool Close() {
    if (state_ == kItem) {
      if (!hasId_ || !hasX_ || !hasY_)
        return Fault(blockLine_, "the world item lacks its ID, X or Y");
      d_->components.push_back(c_);
    }
    state_ = kOutside;
    return true;
  }

  // ID, X, Y and Z; other keys (Color, SERIAL, NAME and the like) are passed over.
  bool Key(const std::vector<std::string_view>& f, int n) {
    const std::string_view key = f[0];
    const bool isId = EqualsNoCase(key, "ID");
    int32_t* coordinate = EqualsNoCase(key, "X")   ? &c_.x
                          : EqualsNoCase(key, "Y") ? &c_.y
                          : EqualsNoCase(key, "Z") ? &c_.z
                                                   : nullptr;
    if (!isId && !coordinate) return true;
    int64_t v;
    if (isId) {
      if (f.size() < 2 || !ParseNumber(f[1], Radix::kEither, 0, 65535, &v))
        return Fault(n, "the ID is not a number from 0 to 65535");
      c_.id = uint16_t(v);
      hasId_ = true;
      return true;
    }
    if (f.size() < 2 || !ParseNumber(f[1], Radix::kDecimal, INT16_MIN, INT16_MAX, &v))
      return Fault(n, std::string(key) + " is not a decimal number from -32768 to 32767");
    *coordinate = int32_t(v);
    hasX_ = hasX_ || coordinate == &c_.x;
    hasY_ = hasY_ || coordinate == &c_.y;
    return true;
  }

  const std::string& file_;
  Design* d_;
  std::string* error_;
  State state_ = kOutside;
  bool item_ = false, sawSection_ = false, hasId_ = false, hasX_ = false, hasY_ = false;
  int blockLine_ = 0;
  DesignComponent c_;
};

}  // namespace

bool ReadWsc(std::string_view text, const std::string& file, DesignFile* out, std::string* error) {
  out->designs.assign(1, Design{});
  out->warning.clear();
  Design& d = out->designs[0];
  d.anchored = false;
  WscReader reader(file, &d, error);
  LineReader lines(text);
  std::string_view line;
  std::vector<std::string_view> f;
  while (lines.Next(&line)) {
    SplitBlanks(line, &f, 3);
    if (!f.empty() && !reader.Line(f, lines.Number())) return false;
  }
  if (!reader.End()) return false;
  // World altitudes: the lowest component stands on the plot.
  int32_t minZ = INT32_MAX;
  for (const DesignComponent& p : d.components)
    if (p.id != 0) minZ = std::min(minZ, p.z);
  if (minZ != INT32_MAX)
    for (DesignComponent& p : d.components) p.z -= minZ;
  return true;
}

std::string WriteWsc(const Design& design) {
  std::string s;
  s.reserve(design.components.size() * 64);
  int64_t n = 0;
  for (const DesignComponent& c : design.components) {
    if (c.id == 0) continue;
    s += "SECTION WORLDITEM ";
    AppendInt(&s, n++);
    s += "\r\n{\r\n\tID\t";
    AppendInt(&s, c.id);
    s += "\r\n\tX\t";
    AppendInt(&s, c.x);
    s += "\r\n\tY\t";
    AppendInt(&s, c.y);
    s += "\r\n\tZ\t";
    AppendInt(&s, c.z);
    s += "\r\n\tColor\t0\r\n}\r\n\r\n";
  }
  return s;
}

}  // namespace tavi
