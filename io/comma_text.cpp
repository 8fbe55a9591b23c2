#include "io/comma_text.h"

namespace tavi {

namespace {
bool IsBlank(unsigned char c) {
  return c >= 1 && c <= 32;
}

int HexValue(unsigned char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

size_t SkipBlanks(std::string_view line, size_t p) {
  while (p < line.size() && IsBlank(static_cast<unsigned char>(line[p]))) ++p;
  return p;
}

// Past the blanks after a field, one comma and the blanks after it.
size_t SkipSeparator(std::string_view line, size_t p) {
  p = SkipBlanks(line, p);
  if (p < line.size() && line[p] == ',') p = SkipBlanks(line, p + 1);
  return p;
}

// Reads the quoted field whose opening quote is at p into *field ("" stands
// for one quote) and returns the position after its closing quote, or the
// end of the line when it has none.
size_t ReadQuotedField(std::string_view line, size_t p, std::string* field) {
  const size_t n = line.size();
  ++p;
  while (p < n) {
    if (line[p] != '"') {
      *field += line[p++];
    } else if (p + 1 < n && line[p + 1] == '"') {
      *field += '"';
      p += 2;
    } else {
      return p + 1;  // past the closing quote
    }
  }
  return p;
}

// Reads the unquoted field at p, up to the next blank or comma, into *field
// and returns its end.
size_t ReadPlainField(std::string_view line, size_t p, std::string* field) {
  const size_t start = p;
  while (p < line.size() && !IsBlank(static_cast<unsigned char>(line[p])) && line[p] != ',') ++p;
  field->assign(line.substr(start, p - start));
  return p;
}

// Moves p past a sign; true for a minus.
bool ReadSign(std::string_view field, size_t* p) {
  if (*p >= field.size() || (field[*p] != '-' && field[*p] != '+')) return false;
  return field[(*p)++] == '-';
}

// Moves p past a hexadecimal prefix ("$", "x", "X", "0x", "0X"); true when
// there is one.
bool ReadHexPrefix(std::string_view field, size_t* p) {
  const size_t n = field.size();
  if (*p < n && (field[*p] == '$' || field[*p] == 'x' || field[*p] == 'X')) {
    ++*p;
    return true;
  }
  if (*p + 1 < n && field[*p] == '0' && (field[*p + 1] == 'x' || field[*p + 1] == 'X')) {
    *p += 2;
    return true;
  }
  return false;
}

// The value of a digit in base 10 or 16, or -1 for a character that is none.
template <unsigned Base>
int DigitValue(unsigned char c) {
  if constexpr (Base == 16)
    return HexValue(c);
  else
    return c >= '0' && c <= '9' ? c - '0' : -1;
}

// The magnitude of the digits in Base from p on. Magnitudes are kept in 64
// bits; a digit that would pass `limit` ends the number like any stray
// character, which sets *stray.
template <unsigned Base>
uint64_t ReadMagnitude(std::string_view field, size_t p, uint64_t limit, bool* stray) {
  uint64_t value = 0;
  for (; p < field.size(); ++p) {
    const int d = DigitValue<Base>(static_cast<unsigned char>(field[p]));
    if (d < 0) {
      *stray = true;
      break;
    }
    const uint64_t next = value * Base + static_cast<uint64_t>(d);
    if (next > limit) {
      *stray = true;
      break;
    }
    value = next;
  }
  return value;
}

}  // namespace

std::vector<std::string> SplitCommaText(std::string_view line) {
  std::vector<std::string> fields;
  size_t p = SkipBlanks(line, 0);
  while (p < line.size()) {
    std::string field;
    if (line[p] == '"')
      p = ReadQuotedField(line, p, &field);
    else
      p = ReadPlainField(line, p, &field);
    fields.push_back(std::move(field));
    p = SkipSeparator(line, p);
  }
  return fields;
}

int32_t ReadNumber(std::string_view field) {
  size_t p = 0;
  while (p < field.size() && field[p] == ' ') ++p;
  const bool negative = ReadSign(field, &p);
  const bool hex = ReadHexPrefix(field, &p);
  const uint64_t limit = hex ? 0xFFFFFFFFull : (negative ? 2147483648ull : 2147483647ull);
  bool stray = false;
  const uint64_t value =
      hex ? ReadMagnitude<16>(field, p, limit, &stray) : ReadMagnitude<10>(field, p, limit, &stray);
  const uint32_t bits = static_cast<uint32_t>(value);
  if (stray || !negative) return static_cast<int32_t>(bits);
  return static_cast<int32_t>(0u - bits);
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  const size_t n = text.size();
  size_t p = 0;
  while (p < n) {
    const char c = text[p];
    if (c == '\r' || c == '\n') {
      lines.emplace_back(text.substr(start, p - start));
      if (c == '\r' && p + 1 < n && text[p + 1] == '\n') ++p;
      start = ++p;
    } else {
      ++p;
    }
  }
  if (start < n) lines.emplace_back(text.substr(start));
  return lines;
}

bool LineReader::Next(std::string_view* line) {
  if (pos_ >= text_.size()) return false;
  size_t end = pos_;
  while (end < text_.size() && text_[end] != '\n' && text_[end] != '\r') ++end;
  *line = text_.substr(pos_, end - pos_);
  if (end < text_.size()) {
    const bool crlf = text_[end] == '\r' && end + 1 < text_.size() && text_[end + 1] == '\n';
    end += crlf ? 2 : 1;
  }
  pos_ = end;
  ++number_;
  return true;
}

}  // namespace tavi
