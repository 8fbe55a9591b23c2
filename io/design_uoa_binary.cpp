// UOA binary, little-endian: i16 version (1: one design; 2: an i16 count of
// designs follows); per design three optional strings (name, category,
// subsection: a byte 0 or 1, a 7-bit-encoded length, UTF-8), i32 width,
// height, user width, user height, i32 count, then 12-byte components: u16 id,
// i16 x, y, z, level, hue. Coordinates run from the north-west corner.
#include <algorithm>
#include <climits>

#include "io/design_formats.h"

namespace tavi {

namespace {

class ByteReader {
 public:
  ByteReader(std::string_view bytes, const std::string& file, std::string* error)
      : b_(bytes), file_(file), error_(error) {}

  size_t Offset() const { return pos_; }
  size_t Left() const { return b_.size() - pos_; }

  bool Fail(size_t at, const std::string& what) {
    *error_ = file_ + ": byte offset " + std::to_string(at) + ": " + what;
    return false;
  }
  bool Need(size_t n, const char* what) {
    if (Left() >= n) return true;
    return Fail(pos_, std::string("the file ends inside ") + what);
  }
  bool U8(uint8_t* v, const char* what) {
    if (!Need(1, what)) return false;
    *v = uint8_t(b_[pos_++]);
    return true;
  }
  bool I16(int16_t* v, const char* what) {
    if (!Need(2, what)) return false;
    *v = int16_t(uint16_t(uint8_t(b_[pos_]) | uint8_t(b_[pos_ + 1]) << 8));
    pos_ += 2;
    return true;
  }
  bool I32(int32_t* v, const char* what) {
    if (!Need(4, what)) return false;
    uint32_t u = 0;
    for (int i = 3; i >= 0; --i) u = u << 8 | uint8_t(b_[pos_ + size_t(i)]);
    *v = int32_t(u);
    pos_ += 4;
    return true;
  }
  bool String(std::string* s, const char* what) {
    const size_t at = pos_;
    uint8_t present;
    if (!U8(&present, what)) return false;
    s->clear();
    if (present == 0) return true;
    if (present != 1) return Fail(at, std::string("the ") + what + " marker is neither 0 nor 1");
    uint64_t length = 0;
    for (int shift = 0;; shift += 7) {
      uint8_t byte;
      if (!U8(&byte, what)) return false;
      if (shift >= 35) return Fail(at + 1, std::string("the ") + what + "'s length runs on");
      length |= uint64_t(byte & 0x7F) << shift;
      if (!(byte & 0x80)) break;
    }
    if (length > Left())
      return Fail(pos_, std::string("the ") + what + " claims " + std::to_string(length) +
                            " bytes; " + std::to_string(Left()) + " are left");
    s->assign(b_.substr(pos_, size_t(length)));
    pos_ += size_t(length);
    return true;
  }
  void Skip(size_t n) { pos_ += n; }
  const char* At() const { return b_.data() + pos_; }

 private:
  std::string_view b_;
  const std::string& file_;
  std::string* error_;
  size_t pos_ = 0;
};

void Put16(std::string* s, int v) {
  *s += char(v & 0xFF);
  *s += char((v >> 8) & 0xFF);
}

void Put32(std::string* s, int32_t v) {
  const uint32_t u = uint32_t(v);
  for (int i = 0; i < 4; ++i) *s += char((u >> (8 * i)) & 0xFF);
}

void PutString(std::string* s, const std::string& text) {
  if (text.empty()) {
    *s += char(0);
    return;
  }
  *s += char(1);
  uint32_t n = uint32_t(text.size());
  do {
    *s += char((n & 0x7F) | (n > 0x7F ? 0x80 : 0));
    n >>= 7;
  } while (n);
  *s += text;
}

}  // namespace

bool ReadUoaBinary(std::string_view bytes, const std::string& file, DesignFile* out,
                   std::string* error) {
  out->designs.clear();
  out->warning.clear();
  ByteReader r(bytes, file, error);
  int16_t version, designs = 1;
  if (!r.I16(&version, "the version")) return false;
  if (version != 1 && version != 2)
    return r.Fail(0, "version " + std::to_string(version) + " is not a UOA binary design (1 or 2)");
  if (version == 2) {
    const size_t at = r.Offset();
    if (!r.I16(&designs, "the design count")) return false;
    if (designs < 1)
      return r.Fail(at, "the design count " + std::to_string(designs) + " is below 1");
  }
  for (int k = 0; k < designs; ++k) {
    Design d;
    d.anchored = false;
    int32_t width, height, userWidth, userHeight, count;
    if (!r.String(&d.name, "name") || !r.String(&d.category, "category") ||
        !r.String(&d.subsection, "subsection") || !r.I32(&width, "the width") ||
        !r.I32(&height, "the height") || !r.I32(&userWidth, "the user width") ||
        !r.I32(&userHeight, "the user height"))
      return false;
    const size_t at = r.Offset();
    if (!r.I32(&count, "the component count")) return false;
    if (count < 0 || uint64_t(count) * 12 > r.Left())
      return r.Fail(at, "the design claims " + std::to_string(count) + " components; " +
                            std::to_string(r.Left()) + " bytes are left");
    d.components.reserve(size_t(count));
    for (int32_t i = 0; i < count; ++i) {
      const auto* p = reinterpret_cast<const uint8_t*>(r.At());
      auto word = [p](int w) { return int16_t(uint16_t(p[2 * w] | p[2 * w + 1] << 8)); };
      DesignComponent& c = d.components.emplace_back();
      c.id = uint16_t(word(0));
      c.x = word(1);
      c.y = word(2);
      c.z = word(3);
      c.level = word(4);
      c.hue = word(5);
      c.flags = 1;
      r.Skip(12);
    }
    out->designs.push_back(std::move(d));
  }
  if (r.Left() > 0)
    out->warning = file + ": byte offset " + std::to_string(r.Offset()) + ": " +
                   std::to_string(r.Left()) + " bytes after the last design are ignored";
  return true;
}

namespace {

std::string WriteDesigns(const Design* const* designs, size_t n) {
  std::string s;
  Put16(&s, n == 1 ? 1 : 2);
  if (n != 1) Put16(&s, int(n));
  for (size_t k = 0; k < n; ++k) {
    const Design& d = *designs[k];
    PutString(&s, d.name);
    PutString(&s, d.category);
    PutString(&s, d.subsection);
    int32_t width = 0, height = 0, count = 0;
    for (const DesignComponent& c : d.components) {
      if (c.id == 0) continue;
      width = std::max(width, c.x - d.originX + 1);
      height = std::max(height, c.y - d.originY + 1);
      ++count;
    }
    Put32(&s, width);
    Put32(&s, height);
    Put32(&s, width);
    Put32(&s, height);
    Put32(&s, count);
    // The records straight into the text, 12 bytes each.
    size_t at = s.size();
    s.resize(at + size_t(count) * 12);
    auto put = [&s, &at](int v) {
      s[at++] = char(v & 0xFF);
      s[at++] = char((v >> 8) & 0xFF);
    };
    for (const DesignComponent& c : d.components) {
      if (c.id == 0) continue;
      put(c.id);
      put(c.x - d.originX);
      put(c.y - d.originY);
      put(c.z);
      put(c.level);
      put(0);
    }
  }
  return s;
}

}  // namespace

std::string WriteUoaBinary(const std::vector<Design>& designs) {
  std::vector<const Design*> list;
  list.reserve(designs.size());
  for (const Design& d : designs) list.push_back(&d);
  return WriteDesigns(list.data(), list.size());
}

std::string WriteUoaBinary(const Design& design) {
  const Design* one = &design;
  return WriteDesigns(&one, 1);
}

}  // namespace tavi
