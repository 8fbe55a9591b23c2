#pragma once
// Positioned reads from an open file descriptor through a small buffer. The
// art decoders make one per call, so the tile data itself keeps no stream
// state and stays usable from const methods.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tavi {

class FileReader {
 public:
  // `chunk`: how much to read ahead at a time (the expected size of what is
  // read, for instance the length the art index gives).
  FileReader(int fd, int64_t fileSize, size_t chunk = kDefaultChunk)
      : fd_(fd),
        size_(fileSize),
        chunk_(std::max<size_t>(kMinChunk, std::min(chunk, kDefaultChunk))) {}

  void Seek(int64_t pos) { pos_ = pos; }
  int64_t Position() const { return pos_; }
  int64_t Size() const { return size_; }

  // Reads exactly n bytes; false (position unchanged) when the file ends first.
  bool Read(void* dst, size_t n);
  // Skips n bytes; false when that passes the end of the file.
  bool Skip(int64_t n);
  bool ReadU16(uint16_t* v);
  bool ReadU32(uint32_t* v);

 private:
  bool Fill(int64_t pos, size_t want);

  static constexpr size_t kDefaultChunk = 64 * 1024;
  static constexpr size_t kMinChunk = 4096;
  int fd_;
  int64_t size_;
  size_t chunk_;
  int64_t pos_ = 0;
  std::vector<uint8_t> buf_;
  int64_t bufStart_ = 0;
};

// Reads a whole file, at most maxBytes of it. False when it cannot be opened
// or read; `data` then holds nothing.
bool ReadFileBounded(const std::string& path, size_t maxBytes, std::vector<uint8_t>* data);

}  // namespace tavi
