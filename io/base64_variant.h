#pragma once
// The editor's Base64 variant: the RFC 4648 alphabet and '=' pad, but each
// three-byte group is packed least significant bits first, so only this codec
// reads its text.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tavi {

// Appends lines of `lineWidth` characters (the last one shorter) to `lines`.
// A width of 1 or less puts every character on its own line.
void Base64Encode(const std::vector<uint8_t>& source, std::vector<std::string>& lines,
                  int lineWidth);

// Empties `target` and decodes the lines into it. Spaces are dropped; the
// first character outside the alphabet ends the data.
void Base64Decode(std::vector<uint8_t>& target, const std::vector<std::string>& lines);
// The same over the text of the lines with their line ends (CR and LF are
// skipped), without a copy per line.
void Base64Decode(std::vector<uint8_t>& target, std::string_view text);

}  // namespace tavi
