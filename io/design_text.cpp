#include "io/design_text.h"

#include <cctype>
#include <charconv>

namespace tavi::design {

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

void SplitBlanks(std::string_view line, std::vector<std::string_view>* fields, size_t max) {
  fields->clear();
  size_t i = 0;
  while (i < line.size() && fields->size() <= max) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i >= line.size()) break;
    const size_t start = i;
    while (i < line.size() && !IsBlank(line[i])) ++i;
    fields->push_back(line.substr(start, i - start));
  }
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

void SplitCommas(std::string_view line, std::vector<std::string_view>* fields, size_t max) {
  fields->clear();
  size_t start = 0;
  while (fields->size() <= max) {
    const size_t comma = line.find(',', start);
    if (comma == std::string_view::npos) {
      fields->push_back(Trim(line.substr(start)));
      return;
    }
    fields->push_back(Trim(line.substr(start, comma - start)));
    start = comma + 1;
  }
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && EqualsNoCase(s.substr(0, prefix.size()), prefix);
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

namespace {

// Decimal or hex digits only, at most as many as any range here needs (and
// as 64 bits hold).
bool ReadDigits(std::string_view s, bool hex, int64_t* out) {
  if (s.empty() || s.size() > (hex ? 15u : 18u)) return false;
  int64_t v = 0;
  for (char c : s) {
    const int d = hex ? HexDigit(c) : (c >= '0' && c <= '9' ? c - '0' : -1);
    if (d < 0) return false;
    v = v * (hex ? 16 : 10) + d;
  }
  *out = v;
  return true;
}

}  // namespace

bool ParseNumber(std::string_view s, Radix radix, int64_t lo, int64_t hi, int64_t* out) {
  bool negative = false;
  if (!s.empty() && (s[0] == '-' || s[0] == '+')) {
    negative = s[0] == '-';
    s.remove_prefix(1);
  }
  const bool prefixed = s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X');
  if (prefixed && radix == Radix::kDecimal) return false;
  if (prefixed) s.remove_prefix(2);
  int64_t v;
  if (!ReadDigits(s, prefixed || radix == Radix::kHex, &v)) return false;
  if (negative) v = -v;
  if (v < lo || v > hi) return false;
  *out = v;
  return true;
}

void AppendInt(std::string* s, int64_t v) {
  char buf[24];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  s->append(buf, r.ptr);
}

void AppendHex(std::string* s, uint32_t v, bool upperCase) {
  char buf[12];
  auto r = std::to_chars(buf, buf + sizeof buf, v, 16);
  if (upperCase)
    for (char* p = buf; p < r.ptr; ++p) *p = char(std::toupper(static_cast<unsigned char>(*p)));
  s->append(buf, r.ptr);
}

std::string LineFault(const std::string& file, int line, const std::string& what) {
  return file + ": line " + std::to_string(line) + ": " + what;
}

}  // namespace tavi::design
