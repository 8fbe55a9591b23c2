#include "client/file_reader.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace tavi {

bool FileReader::Fill(int64_t pos, size_t want) {
  const int64_t bufEnd = bufStart_ + int64_t(buf_.size());
  if (pos >= bufStart_ && pos + int64_t(want) <= bufEnd) return true;
  if (pos < 0 || pos + int64_t(want) > size_) return false;
  const size_t len = size_t(std::min<int64_t>(std::max(chunk_, want), size_ - pos));
  buf_.resize(len);
  size_t got = 0;
  while (got < len) {
    const ssize_t n = ::pread(fd_, buf_.data() + got, len - got, off_t(pos + int64_t(got)));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += size_t(n);
  }
  buf_.resize(got);
  bufStart_ = pos;
  return got >= want;
}

bool FileReader::Read(void* dst, size_t n) {
  if (n == 0) return true;
  if (!Fill(pos_, n)) return false;
  std::memcpy(dst, buf_.data() + (pos_ - bufStart_), n);
  pos_ += int64_t(n);
  return true;
}

bool FileReader::Skip(int64_t n) {
  if (n < 0 || pos_ + n > size_) return false;
  pos_ += n;
  return true;
}

bool FileReader::ReadU16(uint16_t* v) {
  uint8_t b[2];
  if (!Read(b, 2)) return false;
  *v = uint16_t(b[0] | (b[1] << 8));
  return true;
}

bool FileReader::ReadU32(uint32_t* v) {
  uint8_t b[4];
  if (!Read(b, 4)) return false;
  *v = uint32_t(b[0]) | (uint32_t(b[1]) << 8) | (uint32_t(b[2]) << 16) | (uint32_t(b[3]) << 24);
  return true;
}

bool ReadFileBounded(const std::string& path, size_t maxBytes, std::vector<uint8_t>* data) {
  data->clear();
  // O_NONBLOCK: a FIFO without a writer must not hold the open forever (its
  // size cannot be known, so it is refused below).
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  const off_t end = ::lseek(fd, 0, SEEK_END);
  bool ok = end >= 0 && ::lseek(fd, 0, SEEK_SET) == 0;
  if (ok) {
    data->resize(std::min<size_t>(size_t(end), maxBytes));
    size_t got = 0;
    while (got < data->size()) {
      const ssize_t n = ::read(fd, data->data() + got, data->size() - got);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) {
        ok = false;
        break;
      }
      if (n == 0) break;  // the file shrank while being read
      got += size_t(n);
    }
    data->resize(got);
  }
  ::close(fd);
  if (!ok) data->clear();
  return ok;
}

}  // namespace tavi
