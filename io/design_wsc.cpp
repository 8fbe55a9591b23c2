// WSC world items: "SECTION WORLDITEM n", "{", key-value lines (ID, X, Y, Z,
// Color; other keys ignored), "}". Positions may be world positions: the
// reader lays them by their bounds and lifts the lowest component to z 0.
#include <algorithm>
#include <climits>

#include "io/design_formats.h"
#include "io/design_text.h"

namespace tavi {

using namespace design;

bool ReadWsc(std::string_view text, const std::string& file, DesignFile* out, std::string* error) {
  out->designs.assign(1, Design{});
  out->warning.clear();
  Design& d = out->designs[0];
  d.anchored = false;
  LineReader lines(text);
  std::string_view line;
  std::vector<std::string_view> f;
  enum { kOutside, kHeader, kItem, kOther } state = kOutside;
  bool item = false, sawSection = false;
  int blockLine = 0;
  DesignComponent c;
  bool hasId = false, hasX = false, hasY = false;
  while (lines.Next(&line)) {
    SplitBlanks(line, &f, 3);
    if (f.empty()) continue;
    const int n = lines.Number();
    if (state == kOutside) {
      if (!EqualsNoCase(f[0], "SECTION")) {
        *error = LineFault(file, n, "a \"SECTION\" line is expected");
        return false;
      }
      sawSection = true;
      item = f.size() >= 2 && EqualsNoCase(f[1], "WORLDITEM");
      state = kHeader;
      blockLine = n;
      continue;
    }
    if (state == kHeader) {
      if (f[0] != "{") {
        *error = LineFault(file, n, "\"{\" is expected after the SECTION line");
        return false;
      }
      state = item ? kItem : kOther;
      c = DesignComponent{};
      hasId = hasX = hasY = false;
      continue;
    }
    if (f[0] == "}") {
      if (state == kItem) {
        if (!hasId || !hasX || !hasY) {
          *error = LineFault(file, blockLine, "the world item lacks its ID, X or Y");
          return false;
        }
        d.components.push_back(c);
      }
      state = kOutside;
      continue;
    }
    if (state == kOther) continue;
    const std::string_view key = f[0];
    const bool isId = EqualsNoCase(key, "ID"), isX = EqualsNoCase(key, "X"),
               isY = EqualsNoCase(key, "Y"), isZ = EqualsNoCase(key, "Z");
    if (!isId && !isX && !isY && !isZ) continue;  // Color, SERIAL, NAME and the like
    int64_t v;
    if (f.size() < 2 || !ParseNumber(f[1], isId ? Radix::kEither : Radix::kDecimal,
                                     isId ? 0 : INT16_MIN, isId ? 65535 : INT16_MAX, &v)) {
      *error = LineFault(file, n,
                         isId ? "the ID is not a number from 0 to 65535"
                              : std::string(key) + " is not a decimal number from -32768 to 32767");
      return false;
    }
    if (isId) c.id = uint16_t(v), hasId = true;
    if (isX) c.x = int32_t(v), hasX = true;
    if (isY) c.y = int32_t(v), hasY = true;
    if (isZ) c.z = int32_t(v);
  }
  if (state != kOutside) {
    *error = LineFault(file, blockLine, "the section is not closed by \"}\"");
    return false;
  }
  if (!sawSection) {
    *error = file + ": no SECTION WORLDITEM blocks: not a world item file";
    return false;
  }
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
