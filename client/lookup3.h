#pragma once
// lookup3's hashlittle2, inline: the container reader hashes entry names with
// it, and the build-time generator of the picture-name table
// (tools/gen_art_name_table.cpp) computes the same hashes ahead of time.
#include <cstddef>
#include <cstdint>

namespace tavi::lookup3 {

[[gnu::always_inline]] inline uint32_t Rot(uint32_t x, int k) {
  return (x << k) | (x >> (32 - k));
}

[[gnu::always_inline]] inline void Mix(uint32_t& a, uint32_t& b, uint32_t& c) {
  a -= c, a ^= Rot(c, 4), c += b;
  b -= a, b ^= Rot(a, 6), a += c;
  c -= b, c ^= Rot(b, 8), b += a;
  a -= c, a ^= Rot(c, 16), c += b;
  b -= a, b ^= Rot(a, 19), a += c;
  c -= b, c ^= Rot(b, 4), b += a;
}

[[gnu::always_inline]] inline void Final(uint32_t& a, uint32_t& b, uint32_t& c) {
  c ^= b, c -= Rot(b, 14);
  a ^= c, a -= Rot(c, 11);
  b ^= a, b -= Rot(a, 25);
  c ^= b, c -= Rot(b, 16);
  a ^= c, a -= Rot(c, 4);
  b ^= a, b -= Rot(a, 14);
  c ^= b, c -= Rot(b, 24);
}

[[gnu::always_inline]] inline uint32_t Le32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

// Adds the last 1..12 bytes of a key to the state, as if zero-padded to 12
// bytes, in registers (a padded copy read back as words stalls on the copy).
[[gnu::always_inline]] inline void AddTail(const uint8_t* k, size_t n, uint32_t& a, uint32_t& b,
                                           uint32_t& c) {
  switch (n) {
    case 12:
      c += uint32_t(k[11]) << 24;
      [[fallthrough]];
    case 11:
      c += uint32_t(k[10]) << 16;
      [[fallthrough]];
    case 10:
      c += uint32_t(k[9]) << 8;
      [[fallthrough]];
    case 9:
      c += k[8];
      [[fallthrough]];
    case 8:
      b += uint32_t(k[7]) << 24;
      [[fallthrough]];
    case 7:
      b += uint32_t(k[6]) << 16;
      [[fallthrough]];
    case 6:
      b += uint32_t(k[5]) << 8;
      [[fallthrough]];
    case 5:
      b += k[4];
      [[fallthrough]];
    case 4:
      a += uint32_t(k[3]) << 24;
      [[fallthrough]];
    case 3:
      a += uint32_t(k[2]) << 16;
      [[fallthrough]];
    case 2:
      a += uint32_t(k[1]) << 8;
      [[fallthrough]];
    case 1:
      a += k[0];
      break;
    default:
      break;
  }
}

// hashlittle2 over `length` bytes: *pc and *pb go in as the initial values
// and come back as the two outputs.
inline void HashLittle2(const void* key, size_t length, uint32_t* pc, uint32_t* pb) {
  const uint8_t* k = static_cast<const uint8_t*>(key);
  uint32_t a, b, c;
  a = b = c = 0xDEADBEEFu + uint32_t(length) + *pc;
  c += *pb;
  while (length > 12) {
    a += Le32(k);
    b += Le32(k + 4);
    c += Le32(k + 8);
    Mix(a, b, c);
    length -= 12;
    k += 12;
  }
  if (length == 0) {
    *pc = c;
    *pb = b;
    return;
  }
  AddTail(k, length, a, b, c);
  Final(a, b, c);
  *pc = c;
  *pb = b;
}

// The stored hash of a name already in lower case: both initial values 0,
// (pb << 32) | pc.
inline uint64_t LowerCaseNameHash(const char* name, size_t length) {
  uint32_t pc = 0, pb = 0;
  HashLittle2(name, length, &pc, &pb);
  return (uint64_t(pb) << 32) | pc;
}

}  // namespace tavi::lookup3
