// Design CSV, three dialects told apart by the header row:
//   TileID,OffsetX,OffsetY,OffsetZ,Flag,Cliloc   hex id and flag (written)
//   the same five columns and further ones        the first five are read
//   id,x,y,z,hue,flags                            decimal; the fifth is a hue
#include <climits>

#include "io/design_formats.h"
#include "io/design_text.h"

namespace tavi {

using namespace design;

bool ReadDesignCsv(std::string_view text, const std::string& file, DesignFile* out,
                   std::string* error) {
  out->designs.assign(1, Design{});
  out->warning.clear();
  Design& d = out->designs[0];
  d.components.reserve(text.size() / 16);
  LineReader lines(text);
  std::string_view line;
  std::vector<std::string_view> f;
  enum { kNone, kTile, kHue } dialect = kNone;
  size_t columns = 0;
  while (lines.Next(&line)) {
    if (Trim(line).empty()) continue;
    const int n = lines.Number();
    SplitCommas(line, &f);
    if (dialect == kNone) {
      if (f.size() >= 5 && EqualsNoCase(f[0], "TileID") && EqualsNoCase(f[1], "OffsetX") &&
          EqualsNoCase(f[2], "OffsetY") && EqualsNoCase(f[3], "OffsetZ") &&
          EqualsNoCase(f[4], "Flag")) {
        dialect = kTile;
        columns = 5;
      } else if (f.size() >= 6 && EqualsNoCase(f[0], "id") && EqualsNoCase(f[1], "x") &&
                 EqualsNoCase(f[2], "y") && EqualsNoCase(f[3], "z") && EqualsNoCase(f[4], "hue") &&
                 EqualsNoCase(f[5], "flags")) {
        dialect = kHue;
        columns = 6;
      } else {
        *error = LineFault(file, n,
                           "the header row is neither TileID,OffsetX,OffsetY,OffsetZ,Flag,... "
                           "nor id,x,y,z,hue,flags");
        return false;
      }
      continue;
    }
    if (f.size() < columns) {
      *error = LineFault(file, n,
                         "a row has " + std::to_string(f.size()) + " columns, " +
                             std::to_string(columns) + " are needed");
      return false;
    }
    const Radix idRadix = dialect == kTile ? Radix::kHex : Radix::kDecimal;
    int64_t id, x, y, z, flag = 1;
    if (!ParseNumber(f[0], idRadix, 0, 65535, &id)) {
      *error = LineFault(file, n,
                         dialect == kTile ? "the tile id is not a hex number from 0x0 to 0xFFFF"
                                          : "the id is not a decimal number from 0 to 65535");
      return false;
    }
    if (!ParseNumber(f[1], Radix::kDecimal, INT16_MIN, INT16_MAX, &x) ||
        !ParseNumber(f[2], Radix::kDecimal, INT16_MIN, INT16_MAX, &y) ||
        !ParseNumber(f[3], Radix::kDecimal, INT16_MIN, INT16_MAX, &z)) {
      *error = LineFault(file, n, "x, y and z are decimal numbers from -32768 to 32767");
      return false;
    }
    int64_t fifth;
    if (!ParseNumber(f[4], dialect == kTile ? Radix::kEither : Radix::kDecimal, 0,
                     dialect == kTile ? int64_t(UINT32_MAX) : 65535, &fifth)) {
      *error = LineFault(
          file, n,
          dialect == kTile ? "the flag is not a number" : "the hue is not a decimal number");
      return false;
    }
    if (dialect == kTile) flag = fifth;
    DesignComponent c;
    c.id = uint16_t(id);
    c.x = int32_t(x);
    c.y = int32_t(y);
    c.z = int32_t(z);
    c.flags = flag != 0 ? 1 : 0;
    if (dialect == kHue) c.hue = int16_t(fifth);
    d.components.push_back(c);
  }
  if (dialect == kNone) {
    *error = file + ": no header row: not a design CSV";
    return false;
  }
  return true;
}

std::string WriteDesignCsv(const Design& design) {
  std::string s = "TileID,OffsetX,OffsetY,OffsetZ,Flag,Cliloc\r\n";
  s.reserve(s.size() + design.components.size() * 24);
  for (const DesignComponent& c : design.components) {
    if (c.id == 0) continue;
    s += "0x";
    AppendHex(&s, c.id, false);
    s += ',';
    AppendInt(&s, c.x);
    s += ',';
    AppendInt(&s, c.y);
    s += ',';
    AppendInt(&s, c.z);
    s += ",0x";
    AppendHex(&s, c.flags, false);
    s += ",\r\n";
  }
  return s;
}

}  // namespace tavi
