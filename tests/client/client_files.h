#pragma once
// Tiny client files built byte by byte for the tile data and art tests.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace tavi::test {

// A folder of its own per test, removed afterwards.
class TempDir {
 public:
  TempDir() {
    static int counter = 0;
    path_ = std::filesystem::temp_directory_path() /
            ("tavi-client-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }
  std::string str() const { return path_.string() + "/"; }

 private:
  std::filesystem::path path_;
};

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

inline void WriteText(const std::string& path, const std::string& text) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f << text;
}

inline std::string ReadText(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::ostringstream text;
  text << f.rdbuf();
  return text.str();
}

inline void Put16(std::vector<uint8_t>& v, uint32_t x) {
  v.push_back(uint8_t(x));
  v.push_back(uint8_t(x >> 8));
}
inline void Put32(std::vector<uint8_t>& v, uint32_t x) {
  Put16(v, x & 0xFFFF);
  Put16(v, x >> 16);
}

constexpr size_t kLandSectionBytes = 493568;

// tiledata.mul with `count` item records; block headers are filled with 0xEE
// so that a reader taking them for record bytes is caught.
struct TileDataFile {
  std::vector<uint8_t> bytes;
  explicit TileDataFile(int count) : bytes(kLandSectionBytes, 0x11) {
    for (int id = 0; id < count; ++id) {
      if (id % 32 == 0) bytes.insert(bytes.end(), 4, 0xEE);
      bytes.insert(bytes.end(), 41, 0);
    }
  }
  uint8_t* Record(int id) {
    return &bytes[kLandSectionBytes + size_t(id / 32 + 1) * 4 + size_t(id) * 41];
  }
  TileDataFile& Item(int id, uint8_t height, uint64_t flags = 0, const char* name = "",
                     uint8_t weight = 0) {
    uint8_t* r = Record(id);
    for (int i = 0; i < 8; ++i) r[i] = uint8_t(flags >> (8 * i));
    r[8] = weight;
    r[20] = height;
    std::memcpy(r + 21, name, std::min<size_t>(std::strlen(name), 20));
    return *this;
  }
};

constexpr size_t kOldLandSectionBytes = 428032;

// tiledata.mul of older clients: 26-byte land records and 37-byte item
// records with 32-bit flags; block headers filled with 0xEE as above.
struct OldTileDataFile {
  std::vector<uint8_t> bytes;
  explicit OldTileDataFile(int count) : bytes(kOldLandSectionBytes, 0x22) {
    for (int id = 0; id < count; ++id) {
      if (id % 32 == 0) bytes.insert(bytes.end(), 4, 0xEE);
      bytes.insert(bytes.end(), 37, 0);
    }
  }
  uint8_t* Record(int id) {
    return &bytes[kOldLandSectionBytes + size_t(id / 32 + 1) * 4 + size_t(id) * 37];
  }
  OldTileDataFile& Item(int id, uint8_t height, uint32_t flags = 0, const char* name = "",
                        uint8_t weight = 0) {
    uint8_t* r = Record(id);
    for (int i = 0; i < 4; ++i) r[i] = uint8_t(flags >> (8 * i));
    r[4] = weight;
    r[16] = height;
    std::memcpy(r + 17, name, std::min<size_t>(std::strlen(name), 20));
    return *this;
  }
};

// artidx.mul entries and the art.mul they point into.
struct ArtFiles {
  std::vector<int32_t> offsets;
  std::vector<uint8_t> art;

  void SetEntry(uint32_t index, int32_t offset) {
    if (offsets.size() <= index) offsets.resize(index + 1, -1);
    offsets[index] = offset;
  }
  std::vector<uint8_t> IndexBytes() const {
    std::vector<uint8_t> v;
    for (int32_t o : offsets) {
      Put32(v, uint32_t(o));
      Put32(v, 0);
      Put32(v, 0);
    }
    return v;
  }
  // Raw bytes as a picture.
  int32_t AddRaw(uint32_t index, const std::vector<uint8_t>& bytes) {
    const int32_t at = int32_t(art.size());
    art.insert(art.end(), bytes.begin(), bytes.end());
    SetEntry(index, at);
    return at;
  }
  // A land diamond of 1012 pixels: pixel i has the value pixel(i).
  template <class Fn>
  int32_t AddLand(uint32_t index, Fn pixel) {
    std::vector<uint8_t> v;
    for (int i = 0; i < 1012; ++i) Put16(v, pixel(i));
    return AddRaw(index, v);
  }
  struct Run {
    uint16_t xOffset, length;
    std::vector<uint16_t> pixels;
  };
  // Run-length item art; rows[r] holds the runs of row r (the end mark is added).
  int32_t AddItem(uint32_t index, uint16_t w, uint16_t h, const std::vector<std::vector<Run>>& rows,
                  uint32_t probe = 1) {
    std::vector<uint8_t> v;
    Put32(v, probe);
    Put16(v, w);
    Put16(v, h);
    std::vector<uint8_t> data;
    std::vector<uint16_t> starts;
    for (const auto& row : rows) {
      starts.push_back(uint16_t(data.size() / 2));
      for (const Run& run : row) {
        Put16(data, run.xOffset);
        Put16(data, run.length);
        for (uint16_t p : run.pixels) Put16(data, p);
      }
      Put32(data, 0);
    }
    // Rows not given are empty: they share one end mark.
    const uint16_t empty = uint16_t(data.size() / 2);
    Put32(data, 0);
    for (size_t r = 0; r < h; ++r) Put16(v, r < starts.size() ? starts[r] : empty);
    v.insert(v.end(), data.begin(), data.end());
    return AddRaw(index, v);
  }
  void Write(const TempDir& dir) const {
    WriteBytes(dir / "artidx.mul", IndexBytes());
    WriteBytes(dir / "art.mul", art);
  }
  // The bytes of a picture: from its offset to the next picture's start.
  std::vector<uint8_t> Picture(uint32_t index) const {
    const int32_t at = offsets[index];
    size_t end = art.size();
    for (int32_t o : offsets)
      if (o > at && size_t(o) < end) end = size_t(o);
    return std::vector<uint8_t>(art.begin() + at, art.begin() + int64_t(end));
  }
};

}  // namespace tavi::test
