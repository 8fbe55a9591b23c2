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

// Walks the lines of a text in place, by the same rules as SplitLines,
// without a string per line.
class LineReader {
 public:
  explicit LineReader(std::string_view text) : text_(text) {}
  // The next line without its end; false at the end of the text.
  bool Next(std::string_view* line);
  int Number() const { return number_; }  // of the line last returned, from 1

 private:
  std::string_view text_;
  size_t pos_ = 0;
  int number_ = 0;
};

}  // namespace tavi
