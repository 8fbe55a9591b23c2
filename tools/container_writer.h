#pragma once
// Writes packed client containers as newer clients ship them: a 40-byte
// header, then tables of `capacity` slots, each followed by the payloads of
// its entries. Used by the demo client, the tests and the benchmarks; the
// editor itself only reads containers.
#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

#include "client/container.h"

namespace tavi::demo {

struct PackedFile {
  std::string name;           // empty: an empty slot in its table
  std::vector<uint8_t> data;  // the payload as the reader gets it
  bool zlib = false;          // stored deflated (zlib stream) rather than as it is
};

struct PackedLayout {
  uint32_t version = 5;
  uint32_t capacity = 1000;  // slots per table
  uint32_t dataHeader = 0;   // bytes of zeros before each payload
};

struct PackedImage {
  std::vector<uint8_t> bytes;
  std::vector<uint64_t> tables;   // offset of each table
  std::vector<uint64_t> entries;  // offset of each file's 34-byte entry (0 for empty slots)
};

namespace packed_detail {

inline void Put(std::vector<uint8_t>& out, uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(v >> (8 * i)));
}
inline void Set(std::vector<uint8_t>& out, size_t at, uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out[at + size_t(i)] = uint8_t(v >> (8 * i));
}

}  // namespace packed_detail

inline PackedImage BuildPackedContainer(const std::vector<PackedFile>& files,
                                        const PackedLayout& layout = PackedLayout()) {
  using packed_detail::Put;
  using packed_detail::Set;
  PackedImage img;
  std::vector<uint8_t>& out = img.bytes;
  uint32_t named = 0;
  for (const PackedFile& f : files) named += !f.name.empty();
  Put(out, kContainerMagic, 4);
  Put(out, layout.version, 4);
  Put(out, kContainerSignature, 4);
  Put(out, kContainerHeaderSize, 8);  // the first table follows the header
  Put(out, layout.capacity, 4);
  Put(out, named, 4);
  out.resize(kContainerHeaderSize, 0);
  img.entries.assign(files.size(), 0);
  const size_t capacity = layout.capacity ? layout.capacity : 1;
  for (size_t first = 0; first < files.size() || first == 0; first += capacity) {
    const size_t table = out.size();
    img.tables.push_back(table);
    Put(out, capacity, 4);
    Put(out, 0, 8);  // the next table, set below
    out.resize(table + kContainerTableHeaderSize + capacity * kContainerEntrySize, 0);
    for (size_t slot = 0; slot < capacity && first + slot < files.size(); ++slot) {
      const PackedFile& f = files[first + slot];
      if (f.name.empty()) continue;
      std::vector<uint8_t> stored = f.data;
      if (f.zlib) {
        uLongf n = compressBound(uLong(f.data.size()));
        stored.resize(n);
        compress2(stored.data(), &n, f.data.data(), uLong(f.data.size()), Z_DEFAULT_COMPRESSION);
        stored.resize(n);
      }
      const size_t entry = table + kContainerTableHeaderSize + slot * kContainerEntrySize;
      img.entries[first + slot] = entry;
      Set(out, entry, out.size(), 8);
      Set(out, entry + 8, layout.dataHeader, 4);
      Set(out, entry + 12, stored.size(), 4);
      Set(out, entry + 16, f.data.size(), 4);
      Set(out, entry + 20, ContainerNameHash(f.name), 8);
      Set(out, entry + 28, adler32(adler32(0, nullptr, 0), stored.data(), uInt(stored.size())), 4);
      Set(out, entry + 32, f.zlib ? 1 : 0, 2);
      out.insert(out.end(), layout.dataHeader, 0);
      out.insert(out.end(), stored.begin(), stored.end());
    }
    if (first + capacity < files.size()) Set(out, table + 4, out.size(), 8);
    if (files.empty()) break;
  }
  return img;
}

}  // namespace tavi::demo
