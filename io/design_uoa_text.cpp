// UOA text: "6 version", "1 template id", "-1 item version", "N num components",
// then one "id x y z flags" line per component, CR LF.
#include <climits>

#include "io/design_formats.h"
#include "io/design_text.h"

namespace tavi {

using namespace design;

namespace {

bool HasLetter(std::string_view line) {
  for (char c : line)
    if ((c | 0x20) >= 'a' && (c | 0x20) <= 'z') return true;
  return false;
}

bool Mentions(std::string_view line, std::string_view word) {
  for (size_t i = 0; i + word.size() <= line.size(); ++i)
    if (EqualsNoCase(line.substr(i, word.size()), word)) return true;
  return false;
}

}  // namespace

namespace {

constexpr int64_t kLow[5] = {0, INT16_MIN, INT16_MIN, INT16_MIN, 0};
constexpr int64_t kHigh[5] = {65535, INT16_MAX, INT16_MAX, INT16_MAX, 65535};

// "id x y z flags": -1 when the line is one, else the first field that is
// not a number in its range (5 when there are not five fields).
int ParseComponent(const std::string_view* f, size_t fields, DesignComponent* c) {
  if (fields != 5) return 5;
  int64_t v[5];
  for (int i = 0; i < 5; ++i)
    if (!ParseNumber(f[i], Radix::kDecimal, kLow[i], kHigh[i], &v[i])) return i;
  c->id = uint16_t(v[0]);
  c->x = int32_t(v[1]);
  c->y = int32_t(v[2]);
  c->z = int32_t(v[3]);
  c->flags = v[4] != 0 ? 1 : 0;
  return -1;
}

bool IsHeaderLine(std::string_view line) {
  return HasLetter(line) &&
         (Mentions(line, "version") || Mentions(line, "template") || Mentions(line, "components"));
}

}  // namespace

bool ReadUoaText(std::string_view text, const std::string& file, DesignFile* out,
                 std::string* error) {
  out->designs.assign(1, Design{});
  out->warning.clear();
  Design& d = out->designs[0];
  d.components.reserve(text.size() / 16);
  LineReader lines(text);
  std::string_view line;
  bool sawHeader = false;
  int64_t count = -1;
  int countLine = 0;
  std::string_view f[6];
  while (lines.Next(&line)) {
    const size_t fields = SplitBlanksInto(line, f, 5);
    if (fields == 0) continue;
    const int n = lines.Number();
    DesignComponent c;
    const int bad = ParseComponent(f, fields, &c);
    if (bad < 0 && sawHeader) {
      d.components.push_back(c);
      continue;
    }
    // Header lines, wherever a writer put them; the count is on the one
    // that names the components.
    if (IsHeaderLine(line)) {
      sawHeader = true;
      if (!Mentions(line, "components")) continue;
      if (!ParseNumber(f[0], Radix::kDecimal, 0, INT32_MAX, &count)) {
        *error = LineFault(file, n, "the component count is not a number from 0");
        return false;
      }
      countLine = n;
      continue;
    }
    if (!sawHeader)
      *error = LineFault(file, n, "no \"version\" header: not a UOA design text");
    else if (bad == 5)
      *error = LineFault(file, n, "a component line has 5 numbers: id x y z flags");
    else
      *error =
          LineFault(file, n,
                    "'" + std::string(f[bad].substr(0, 20)) + "' is not a decimal number from " +
                        std::to_string(kLow[bad]) + " to " + std::to_string(kHigh[bad]));
    return false;
  }
  if (!sawHeader) {
    *error = file + ": no \"version\" header: not a UOA design text";
    return false;
  }
  const int64_t held = int64_t(d.components.size());
  if (count < 0)
    out->warning = file + ": the header gives no component count";
  else if (count != held)
    out->warning = LineFault(file, countLine,
                             "the header counts " + std::to_string(count) +
                                 " components, the file holds " + std::to_string(held));
  return true;
}

std::string WriteUoaText(const Design& design) {
  std::string s = "6 version\r\n1 template id\r\n-1 item version\r\n";
  int64_t n = 0;
  for (const DesignComponent& c : design.components) n += c.id != 0;
  s.reserve(s.size() + size_t(n) * 24 + 32);
  AppendInt(&s, n);
  s += " num components\r\n";
  for (const DesignComponent& c : design.components) {
    if (c.id == 0) continue;
    AppendInt(&s, c.id);
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
