// Design CSV, three dialects told apart by the header row:
//   TileID,OffsetX,OffsetY,OffsetZ,Flag,Cliloc   hex id and flag (written)
//   the same five columns and further ones        the first five are read
//   id,x,y,z,hue,flags                            decimal; the fifth is a hue
#include <climits>

#include "io/design_formats.h"
#include "io/design_text.h"

namespace tavi {

using namespace design;

namespace {

enum class Dialect { kNone, kTile, kHue };

Dialect DialectOf(const std::vector<std::string_view>& f) {
  auto named = [&f](std::initializer_list<const char*> names) {
    if (f.size() < names.size()) return false;
    size_t i = 0;
    for (const char* name : names)
      if (!EqualsNoCase(f[i++], name)) return false;
    return true;
  };
  if (named({"TileID", "OffsetX", "OffsetY", "OffsetZ", "Flag"})) return Dialect::kTile;
  if (named({"id", "x", "y", "z", "hue", "flags"})) return Dialect::kHue;
  return Dialect::kNone;
}

// One row of a dialect; a fault message (without the place) when it is broken.
std::string ReadRow(const std::vector<std::string_view>& f, Dialect dialect, DesignComponent* c) {
  const bool tile = dialect == Dialect::kTile;
  const size_t columns = tile ? 5 : 6;
  if (f.size() < columns)
    return "a row has " + std::to_string(f.size()) + " columns, " + std::to_string(columns) +
           " are needed";
  int64_t id, x, y, z, fifth;
  if (!ParseNumber(f[0], tile ? Radix::kHex : Radix::kDecimal, 0, 65535, &id))
    return tile ? "the tile id is not a hex number from 0x0 to 0xFFFF"
                : "the id is not a decimal number from 0 to 65535";
  if (!ParseNumber(f[1], Radix::kDecimal, INT16_MIN, INT16_MAX, &x) ||
      !ParseNumber(f[2], Radix::kDecimal, INT16_MIN, INT16_MAX, &y) ||
      !ParseNumber(f[3], Radix::kDecimal, INT16_MIN, INT16_MAX, &z))
    return "x, y and z are decimal numbers from -32768 to 32767";
  if (!ParseNumber(f[4], tile ? Radix::kEither : Radix::kDecimal, 0,
                   tile ? int64_t(UINT32_MAX) : 65535, &fifth))
    return tile ? "the flag is not a number" : "the hue is not a decimal number";
  c->id = uint16_t(id);
  c->x = int32_t(x);
  c->y = int32_t(y);
  c->z = int32_t(z);
  // The hue dialect carries no flag: its components are static parts.
  c->flags = tile && fifth == 0 ? 0 : 1;
  c->hue = tile ? 0 : int16_t(fifth);
  return {};
}

}  // namespace

bool ReadDesignCsv(std::string_view text, const std::string& file, DesignFile* out,
                   std::string* error) {
  out->designs.assign(1, Design{});
  out->warning.clear();
  Design& d = out->designs[0];
  d.components.reserve(text.size() / 16);
  LineReader lines(text);
  std::string_view line;
  std::vector<std::string_view> f;
  Dialect dialect = Dialect::kNone;
  while (lines.Next(&line)) {
    if (Trim(line).empty()) continue;
    const int n = lines.Number();
    SplitCommas(line, &f);
    if (dialect == Dialect::kNone) {
      dialect = DialectOf(f);
      if (dialect != Dialect::kNone) continue;
      *error = LineFault(file, n,
                         "the header row is neither TileID,OffsetX,OffsetY,OffsetZ,Flag,... "
                         "nor id,x,y,z,hue,flags");
      return false;
    }
    DesignComponent c;
    const std::string fault = ReadRow(f, dialect, &c);
    if (!fault.empty()) {
      *error = LineFault(file, n, fault);
      return false;
    }
    d.components.push_back(c);
  }
  if (dialect == Dialect::kNone) {
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
