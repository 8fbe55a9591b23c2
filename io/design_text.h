#pragma once
// Text rules the design formats share: lines with their numbers, fields split
// at blanks, whole numbers in decimal or hexadecimal, and the one-line fault
// message naming the file and the line.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "io/comma_text.h"

namespace tavi::design {

// The line walker the cache reader shares.
using tavi::LineReader;

// Fields separated by runs of spaces and tabs; `max` + 1 fields at most are
// returned (so that one too many can be told).
void SplitBlanks(std::string_view line, std::vector<std::string_view>* fields, size_t max = 16);
// The same into out[0..max]: returns the number of fields, max + 1 when
// there are more than max. `out` holds max + 1 views.
inline size_t SplitBlanksInto(std::string_view line, std::string_view* out, size_t max) {
  size_t n = 0, i = 0;
  const size_t size = line.size();
  while (n <= max) {
    while (i < size && (line[i] == ' ' || line[i] == '\t')) ++i;
    if (i >= size) break;
    const size_t start = i;
    while (i < size && line[i] != ' ' && line[i] != '\t') ++i;
    out[n++] = line.substr(start, i - start);
  }
  return n;
}
// Fields separated by commas, blanks around each trimmed.
void SplitCommas(std::string_view line, std::vector<std::string_view>* fields, size_t max = 64);
std::string_view Trim(std::string_view s);
bool StartsWithNoCase(std::string_view s, std::string_view prefix);
bool EqualsNoCase(std::string_view a, std::string_view b);

enum class Radix { kDecimal, kHex, kEither };
// A whole number within [lo, hi]: optional sign, decimal digits, or hex digits
// after 0x (kHex accepts hex digits without the prefix too). False otherwise.
bool ParseNumber(std::string_view s, Radix radix, int64_t lo, int64_t hi, int64_t* out);

// Appends a number in decimal, or in hexadecimal without padding.
void AppendInt(std::string* s, int64_t v);
void AppendHex(std::string* s, uint32_t v, bool upperCase);

// "FILE: line N: what".
std::string LineFault(const std::string& file, int line, const std::string& what);

}  // namespace tavi::design
