#pragma once
// A client as large as a real one, written by the benchmarks themselves:
// tiledata.mul with every one of the 65,536 item records, artidx.mul with all
// 0x14000 index entries, and art.mul with the pictures behind them. Land
// tiles are raw diamonds; items are run-length pictures of one colour per
// row, of the size the caller chooses (0 x 0: no picture).
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <utility>
#include <vector>

namespace tavi::bench {

using ItemSize = std::function<std::pair<int, int>(int id)>;

inline void WriteSyntheticClient(const std::filesystem::path& dir, bool landArt,
                                 const ItemSize& itemSize) {
  auto write = [&](const char* name, const std::vector<uint8_t>& bytes) {
    std::ofstream f(dir / name, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  };
  auto put16 = [](std::vector<uint8_t>& v, uint32_t x) {
    v.push_back(uint8_t(x));
    v.push_back(uint8_t(x >> 8));
  };
  auto put32 = [&](std::vector<uint8_t>& v, uint32_t x) {
    put16(v, x & 0xFFFF);
    put16(v, x >> 16);
  };
  // Land records first (512 blocks of 32), then the item records.
  std::vector<uint8_t> td(493568, 0);
  for (int id = 0; id < 65536; ++id) {
    if (id % 32 == 0) td.insert(td.end(), 4, 0);
    std::vector<uint8_t> rec(41, 0);
    rec[20] = uint8_t(id % 21);  // height
    rec[21] = uint8_t('a' + id % 26);
    td.insert(td.end(), rec.begin(), rec.end());
  }
  std::vector<uint8_t> art, idx;
  for (uint32_t i = 0; i < 0x14000; ++i) {
    const uint32_t start = uint32_t(art.size());
    if (i < 0x4000) {
      if (landArt && i % 3 != 0) {
        put32(art, 0x10000u + i);  // not 1..0xFFFF: a land diamond
        for (int p = 0; p < 1012; ++p) put16(art, (i * 7 + p) & 0x7FFF);
      }
    } else {
      const auto [w, h] = itemSize(int(i - 0x4000));
      if (w > 0 && h > 0) {
        put32(art, 1);
        put16(art, uint32_t(w));
        put16(art, uint32_t(h));
        for (int r = 0; r < h; ++r) put16(art, uint32_t(r * (w + 4)));
        for (int r = 0; r < h; ++r) {
          put16(art, 0);
          put16(art, uint32_t(w));
          for (int x = 0; x < w; ++x) put16(art, (i * 31 + uint32_t(r) * 5 + uint32_t(x)) & 0x7FFF);
          put16(art, 0);
          put16(art, 0);
        }
      }
    }
    const uint32_t length = uint32_t(art.size()) - start;
    put32(idx, length ? start : 0xFFFFFFFFu);
    put32(idx, length ? length : 0xFFFFFFFFu);
    put32(idx, 0);
  }
  write("tiledata.mul", td);
  write("artidx.mul", idx);
  write("art.mul", art);
}

}  // namespace tavi::bench
