#pragma once
// Text rules shared by the house file reader and the cache reader.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tavi {

// Splits one line into fields: characters 1..32 are blanks; a field starting
// with a double quote runs to its closing quote ("" stands for one quote);
// other fields run to the next blank or comma; blanks separate fields like
// commas; two commas enclose an empty field; a trailing comma adds none.
std::vector<std::string> SplitCommaText(std::string_view line);

// Reads a field as a 32-bit integer: leading spaces, optional sign, decimal
// digits or hexadecimal after "$", "x", "X", "0x", "0X". A field that is not
// wholly a number gives the value of the digits before the first stray
// character, without the sign; no digits give 0. Never fails.
int32_t ReadNumber(std::string_view field);

// Splits text into lines; CR LF, a lone LF and a lone CR each end a line. A
// final line end does not start another (empty) line.
std::vector<std::string> SplitLines(std::string_view text);

}  // namespace tavi
