#include "io/base64_variant.h"

namespace tavi {

namespace {
constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

struct DecodeTable {
  uint8_t value[256];
  DecodeTable() {
    for (auto& v : value) v = 255;
    for (int i = 0; i < 64; ++i) value[static_cast<unsigned char>(kAlphabet[i])] = uint8_t(i);
  }
};
const DecodeTable& Table() {
  static const DecodeTable table;
  return table;
}
}  // namespace

void Base64Encode(const std::vector<uint8_t>& source, std::vector<std::string>& lines,
                  int lineWidth) {
  std::string line;
  int counter = 0;
  size_t pos = 0;
  const size_t size = source.size();
  while (pos < size) {
    uint32_t bytes[3];
    int bits = 0;
    uint32_t last = 0;
    for (int i = 0; i < 3; ++i) {
      // A read past the end repeats the group's previous byte.
      if (pos < size) {
        last = source[pos++];
        bits += 8;
      }
      bytes[i] = last;
    }
    uint32_t v = bytes[0] + 256 * bytes[1] + 65536 * bytes[2];
    for (int i = 0; i < 4; ++i) {
      line += bits > 0 ? kAlphabet[v & 63] : '=';
      v >>= 6;
      bits -= 6;
      if (++counter == lineWidth || lineWidth <= 1) {
        lines.push_back(std::move(line));
        line.clear();
        counter = 0;
      }
    }
  }
  if (!line.empty()) lines.push_back(std::move(line));
}

void Base64Decode(std::vector<uint8_t>& target, const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line;
  Base64Decode(target, std::string_view(text));
}

void Base64Decode(std::vector<uint8_t>& target, std::string_view text) {
  target.clear();
  const DecodeTable& table = Table();
  uint32_t acc = 0;
  int bits = 0;
  // Returns false once a character outside the alphabet ended the data.
  auto feed = [&](unsigned char c) {
    if (c == ' ') return true;
    const uint8_t d = table.value[c];
    if (d < 255) {
      acc += uint32_t(d) << bits;
      bits += 6;
    }
    if ((bits >= 24 || d == 255) && bits >= 8) {
      while (bits >= 8) {
        target.push_back(uint8_t(acc & 0xFF));
        acc >>= 8;
        bits -= 8;
      }
    }
    return d != 255;
  };
  for (char c : text)
    if (c != '\r' && c != '\n' && !feed(static_cast<unsigned char>(c))) return;
  for (int i = 0; i < 4; ++i)
    if (!feed('=')) return;
}

}  // namespace tavi
