#pragma once
// Positioned reads from an open file descriptor through a small buffer. The
// art decoders make one per call, so the tile data itself keeps no stream
// state and stays usable from const methods.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tavi {

class FileReader {
 public:
  FileReader(int fd, int64_t fileSize) : fd_(fd), size_(fileSize) {}

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

  static constexpr size_t kChunk = 64 * 1024;
  int fd_;
  int64_t size_;
  int64_t pos_ = 0;
  std::vector<uint8_t> buf_;
  int64_t bufStart_ = 0;
};

// Reads a whole file, at most maxBytes of it. False when it cannot be opened
// or read; `data` then holds nothing.
bool ReadFileBounded(const std::string& path, size_t maxBytes, std::vector<uint8_t>* data);

}  // namespace tavi
