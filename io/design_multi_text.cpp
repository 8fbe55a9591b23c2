// Plain multi text: one "0x<ID> x y z flags" line per component, CR LF; the
// id upper-case hex without padding. Read: decimal ids too, any blanks, blank
// lines, and the flag words Background (1) and None (0).
#include <climits>

#include "io/design_formats.h"
#include "io/design_text.h"

namespace tavi {

using namespace design;

bool ReadMultiText(std::string_view text, const std::string& file, DesignFile* out,
                   std::string* error) {
  out->designs.assign(1, Design{});
  out->warning.clear();
  Design& d = out->designs[0];
  d.components.reserve(text.size() / 16);
  LineReader lines(text);
  std::string_view line;
  std::string_view f[6];
  while (lines.Next(&line)) {
    const size_t fields = SplitBlanksInto(line, f, 5);
    if (fields == 0) continue;
    const int n = lines.Number();
    if (fields != 5) {
      *error = LineFault(file, n, "a component line has 5 fields: id x y z flags");
      return false;
    }
    int64_t id, x, y, z, flags;
    if (!ParseNumber(f[0], Radix::kEither, 0, 65535, &id)) {
      *error = LineFault(file, n, "the item id is not a number from 0 to 0xFFFF");
      return false;
    }
    if (!ParseNumber(f[1], Radix::kDecimal, INT16_MIN, INT16_MAX, &x) ||
        !ParseNumber(f[2], Radix::kDecimal, INT16_MIN, INT16_MAX, &y) ||
        !ParseNumber(f[3], Radix::kDecimal, INT16_MIN, INT16_MAX, &z)) {
      *error = LineFault(file, n, "x, y and z are decimal numbers from -32768 to 32767");
      return false;
    }
    if (EqualsNoCase(f[4], "Background"))
      flags = 1;
    else if (EqualsNoCase(f[4], "None"))
      flags = 0;
    else if (!ParseNumber(f[4], Radix::kEither, 0, UINT32_MAX, &flags)) {
      *error = LineFault(file, n, "the flags are a number, Background or None");
      return false;
    }
    DesignComponent c;
    c.id = uint16_t(id);
    c.x = int32_t(x);
    c.y = int32_t(y);
    c.z = int32_t(z);
    c.flags = flags != 0 ? 1 : 0;
    d.components.push_back(c);
  }
  return true;
}

std::string WriteMultiText(const Design& design) {
  std::string s;
  s.reserve(design.components.size() * 24);
  for (const DesignComponent& c : design.components) {
    if (c.id == 0) continue;
    s += "0x";
    AppendHex(&s, c.id, true);
    s += ' ';
    AppendInt(&s, c.x);
    s += ' ';
    AppendInt(&s, c.y);
    s += ' ';
    AppendInt(&s, c.z);
    s += ' ';
    AppendInt(&s, c.flags);
    s += "\r\n";
  }
  return s;
}

}  // namespace tavi
