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
}  // namespace

// NOLINTNEXTLINE(readability-function-cognitive-complexity): not split yet
std::vector<std::string> SplitCommaText(std::string_view line) {
  std::vector<std::string> fields;
  size_t p = 0;
  const size_t n = line.size();
  auto at = [&](size_t i) { return static_cast<unsigned char>(line[i]); };
  while (p < n && IsBlank(at(p))) ++p;
  while (p < n) {
    std::string field;
    if (line[p] == '"') {
      ++p;
      while (p < n) {
        if (line[p] == '"') {
          if (p + 1 < n && line[p + 1] == '"') {
            field += '"';
            p += 2;
            continue;
          }
          ++p;  // closing quote
          break;
        }
        field += line[p++];
      }
    } else {
      const size_t start = p;
      while (p < n && !IsBlank(at(p)) && line[p] != ',') ++p;
      field.assign(line.substr(start, p - start));
    }
    fields.push_back(std::move(field));
    while (p < n && IsBlank(at(p))) ++p;
    if (p < n && line[p] == ',') {
      ++p;
      while (p < n && IsBlank(at(p))) ++p;
    }
  }
  return fields;
}

// NOLINTNEXTLINE(readability-function-cognitive-complexity): not split yet
int32_t ReadNumber(std::string_view field) {
  size_t p = 0;
  const size_t n = field.size();
  while (p < n && field[p] == ' ') ++p;
  bool negative = false;
  if (p < n && (field[p] == '-' || field[p] == '+')) {
    negative = field[p] == '-';
    ++p;
  }
  bool hex = false;
  if (p < n && (field[p] == '$' || field[p] == 'x' || field[p] == 'X')) {
    hex = true;
    ++p;
  } else if (p + 1 < n && field[p] == '0' && (field[p + 1] == 'x' || field[p + 1] == 'X')) {
    hex = true;
    p += 2;
  }
  // Magnitudes are kept in 64 bits; a digit that would leave the 32-bit range
  // ends the number like any stray character.
  uint64_t value = 0;
  const uint64_t limit = hex ? 0xFFFFFFFFull : (negative ? 2147483648ull : 2147483647ull);
  bool stray = false;
  for (; p < n; ++p) {
    const unsigned char c = static_cast<unsigned char>(field[p]);
    const int d = hex ? HexValue(c) : (c >= '0' && c <= '9' ? c - '0' : -1);
    if (d < 0) {
      stray = true;
      break;
    }
    const uint64_t next = value * (hex ? 16 : 10) + static_cast<uint64_t>(d);
    if (next > limit) {
      stray = true;
      break;
    }
    value = next;
  }
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
