#include "io/house_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "io/atomic_file.h"
#include "io/comma_text.h"

namespace tavi {

namespace {

// Writes v in decimal at p and returns the end (at most 11 characters).
char* PutInt(char* p, int v) {
  unsigned u = static_cast<unsigned>(v);
  if (v < 0) {
    *p++ = '-';
    u = 0u - u;
  }
  char digits[10];
  int n = 0;
  do {
    digits[n++] = static_cast<char>('0' + u % 10);
    u /= 10;
  } while (u != 0);
  while (n > 0) *p++ = digits[--n];
  return p;
}

// The longest entry line: "4,31,31,-32768,-32768" and CR LF.
constexpr size_t kMaxEntryLine = 24;

// The whole text of a house held as `floors` (five floor images) with the
// given plot size.
// NOLINTNEXTLINE(readability-function-cognitive-complexity): not split yet
std::string HouseText(int width, int height, const FloorImage* floors, int baseHeight) {
  const int w = width < kGrid ? width : kGrid;
  const int h = height < kGrid ? height : kGrid;
  // Per floor and cell, one past the highest non-empty layer, found in one
  // pass over the floor in memory order; the lines come from the cells after.
  uint8_t top[kFloors][kGrid][kGrid];
  size_t entries = 0;
  for (int f = 0; f < kFloors; ++f) {
    std::memset(top[f], 0, sizeof top[f]);
    for (int layer = 0; layer < kLayers; ++layer)
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
          if (floors[f][layer][y][x].Id != 0) {
            top[f][y][x] = uint8_t(layer + 1);
            ++entries;
          }
  }
  std::string out;
  out.resize(64 + std::strlen(kVersionText) + entries * kMaxEntryLine);
  char* p = &out[0];
  *p++ = '"';
  p = std::copy_n(kVersionText, std::strlen(kVersionText), p);
  *p++ = '"';
  *p++ = ',';
  p = PutInt(p, width);
  *p++ = ',';
  p = PutInt(p, height);
  *p++ = ',';
  p = PutInt(p, baseHeight);
  *p++ = '\r';
  *p++ = '\n';
  for (int f = 0; f < kFloors; ++f)
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        for (int layer = 0; layer < top[f][y][x]; ++layer) {
          const TileEntry& e = floors[f][layer][y][x];
          if (e.Id == 0) continue;
          *p++ = char('0' + f);
          *p++ = ',';
          p = PutInt(p, x);
          *p++ = ',';
          p = PutInt(p, y);
          *p++ = ',';
          p = PutInt(p, e.Z);
          *p++ = ',';
          // Ids are written as their signed 16-bit reading; the reader keeps
          // the low 16 bits, which restores them.
          p = PutInt(p, static_cast<int16_t>(e.Id));
          *p++ = '\r';
          *p++ = '\n';
        }
  out.resize(size_t(p - out.data()));
  return out;
}

std::string SystemError(const std::string& what, const std::string& path) {
  return what + " '" + path + "': " + std::strerror(errno);
}

// Line ends: CR LF, a lone LF or a lone CR.
const char* NextLineEnd(const char* p, const char* end) {
  while (p < end && *p != '\r' && *p != '\n') ++p;
  return p;
}
const char* AfterLineEnd(const char* p, const char* end) {
  if (p < end && *p == '\r' && p + 1 < end && p[1] == '\n') return p + 2;
  return p < end ? p + 1 : p;
}

// The fields of one entry line, as views into the text.
struct EntryFields {
  std::string_view field[5];
  // A field that is nothing but an optional minus and up to nine digits is
  // read on the way; any other goes through ReadNumber.
  int32_t value[5];
  bool simple[5];
  int count = 0;        // fields on the line (counting stops at 6)
  bool quoted = false;  // a field starts with a double quote

  int32_t Number(int k) const { return simple[k] ? value[k] : ReadNumber(field[k]); }
};

// Splits the line at p by the comma-text rules without copying, up to its
// line end, and returns the start of the next line. A field that starts with
// a double quote stops the scan and sets `quoted`; the caller then splits the
// line by the full rules.
// NOLINTNEXTLINE(readability-function-cognitive-complexity): not split yet
const char* ScanEntryLine(const char* p, const char* end, EntryFields* out) {
  out->count = 0;
  out->quoted = false;
  // Blanks are the characters 1..32; line ends among them end the line.
  auto blank = [](char c) {
    return static_cast<unsigned char>(c - 1) < 32 && c != '\r' && c != '\n';
  };
  auto inField = [](char c) { return static_cast<unsigned char>(c - 1) >= 32 && c != ','; };
  while (p < end && blank(*p)) ++p;
  while (p < end && *p != '\r' && *p != '\n') {
    if (*p == '"') {
      out->quoted = true;
      return AfterLineEnd(NextLineEnd(p, end), end);
    }
    const char* start = p;
    const bool negative = *p == '-';
    if (negative) ++p;
    const char* digits = p;
    uint32_t v = 0;
    for (unsigned d; p < end && (d = unsigned(static_cast<unsigned char>(*p)) - '0') < 10; ++p)
      v = v * 10 + d;
    bool simple = p > digits && p - digits <= 9;
    for (; p < end && inField(*p); ++p) simple = false;
    if (out->count < 5) {
      out->field[out->count] = std::string_view(start, size_t(p - start));
      // Only a simple field (at most nine digits) has a value read here.
      const int32_t value = simple ? static_cast<int32_t>(v) : 0;
      out->value[out->count] = negative ? -value : value;
      out->simple[out->count] = simple;
    }
    if (out->count < 6) ++out->count;
    while (p < end && blank(*p)) ++p;
    if (p < end && *p == ',') {
      ++p;
      while (p < end && blank(*p)) ++p;
    }
  }
  return AfterLineEnd(p, end);
}

// Reads a line of the form the editor writes, five decimal numbers of at
// most nine digits (each may be negative) separated by single commas, and
// moves p to the next line. False, p untouched, for any other line.
bool ReadPlainEntry(const char*& p, const char* end, int32_t v[5]) {
  const char* q = p;
  for (int k = 0; k < 5; ++k) {
    const bool negative = q < end && *q == '-';
    if (negative) ++q;
    const char* digits = q;
    uint32_t x = 0;
    for (unsigned d; q < end && (d = unsigned(static_cast<unsigned char>(*q)) - '0') < 10; ++q)
      x = x * 10 + d;
    if (q == digits || q - digits > 9) return false;
    v[k] = negative ? -static_cast<int32_t>(x) : static_cast<int32_t>(x);
    if (k < 4) {
      if (q >= end || *q != ',') return false;
      ++q;
    }
  }
  if (q < end && *q != '\r' && *q != '\n') return false;
  p = AfterLineEnd(q, end);
  return true;
}

}  // namespace

std::string HouseFileText(const HouseImage& image) {
  return HouseText(image.Width, image.Height, image.Tiles, image.BaseHeight);
}

std::string HouseFileText(const TTAVIDoc& doc) {
  return HouseText(doc.Width, doc.Height, doc.Tiles, doc.BaseHeight());
}

// NOLINTNEXTLINE(readability-function-cognitive-complexity): not split yet
bool ReadWholeFile(const std::string& path, std::string* out, std::string* error, size_t maxBytes) {
  out->clear();
  // Without O_NONBLOCK, opening a FIFO that nothing writes to would wait
  // forever. Reads block again afterwards: a pipe with a writer (process
  // substitution, /dev/stdin) is read to its end, one without reads as empty.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    if (error) *error = SystemError("cannot open", path);
    return false;
  }
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags != -1) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  // A regular file is read in one go into a buffer of its size (one byte
  // more to see its end); anything else grows as it comes.
  struct stat st;
  size_t want = 65536;
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size >= 0)
    want = size_t(st.st_size) + 1;
  out->resize(std::min(want, maxBytes + 1));
  size_t len = 0;
  bool ok = true;
  for (;;) {
    if (len > maxBytes) {
      if (error) *error = "file '" + path + "' is too large";
      ok = false;
      break;
    }
    if (len == out->size()) out->resize(std::min(std::max(len * 2, size_t(65536)), maxBytes + 1));
    const ssize_t n = ::read(fd, &(*out)[len], out->size() - len);
    if (n < 0) {
      if (errno == EINTR) continue;
      if (error) *error = SystemError("cannot read", path);
      ok = false;
      break;
    }
    if (n == 0) break;
    len += size_t(n);
  }
  ::close(fd);
  if (ok)
    out->resize(len);
  else
    out->clear();
  return ok;
}

SaveResult SaveImageToFile(const HouseImage& image, const std::string& path) {
  SaveResult result;
  result.ok = WriteFileAtomically(path, HouseFileText(image), &result.error);
  return result;
}

SaveResult SaveToFile(TTAVIDoc& doc, const std::string& path) {
  SaveResult result;
  result.ok = WriteFileAtomically(path, HouseFileText(doc), &result.error);
  if (result.ok) doc.Modified = false;
  return result;
}

// NOLINTNEXTLINE(readability-function-cognitive-complexity): not split yet
LoadResult ParseHouseFile(std::string_view text, HouseImage& image) {
  image.ClearTiles();
  const char* p = text.data();
  const char* const end = p + text.size();
  if (p == end) return LoadResult::Failure("the file is empty");
  const char* lineEnd = NextLineEnd(p, end);
  const std::vector<std::string> header = SplitCommaText(std::string_view(p, size_t(lineEnd - p)));
  p = AfterLineEnd(lineEnd, end);
  if (header.empty() || header[0] != kVersionText)
    return LoadResult::Failure("Can not use this file version.", LoadFailure::kVersion);
  if (header.size() < 4)
    return LoadResult::Failure("line 1: the header has fewer than four fields");
  const int32_t width = ReadNumber(header[1]);
  const int32_t height = ReadNumber(header[2]);
  const int32_t base = ReadNumber(header[3]);
  if (width < 1 || width > kGrid || height < 1 || height > kGrid)
    return LoadResult::Failure("line 1: plot size " + std::to_string(width) + "x" +
                               std::to_string(height) + " is outside 1..32");
  if (base < 0)
    return LoadResult::Failure("line 1: base height " + std::to_string(base) + " is below 0");
  image.Width = width;
  image.Height = height;
  image.SetBaseHeight(base);
  // Entries appended per cell so far: the image starts empty and only gains
  // entries, so this is also the lowest empty layer.
  uint8_t filled[kFloors][kGrid][kGrid] = {};
  EntryFields line;
  std::vector<std::string> quoted;
  while (p < end) {
    if (ReadPlainEntry(p, end, line.value)) {
      line.count = 5;
      std::fill_n(line.simple, 5, true);
    } else {
      const char* next = ScanEntryLine(p, end, &line);
      if (line.quoted) {  // a quoted field may hold commas and blanks: the full rules
        quoted = SplitCommaText(std::string_view(p, size_t(NextLineEnd(p, end) - p)));
        line.count = int(std::min<size_t>(quoted.size(), 6));
        for (size_t k = 0; k < 5 && k < quoted.size(); ++k) {
          line.field[k] = quoted[k];
          line.simple[k] = false;
        }
      }
      p = next;
    }
    if (line.count != 5) continue;
    const int32_t floor = line.Number(0);
    const int32_t x = line.Number(1);
    const int32_t y = line.Number(2);
    const auto z = static_cast<int16_t>(static_cast<uint16_t>(line.Number(3)));
    const auto id = static_cast<uint16_t>(line.Number(4));
    if (floor < 0 || floor >= kFloors || x < 0 || y < 0 || x >= width || y >= height) continue;
    if (id == 0) continue;  // an empty entry adds nothing to the stack
    uint8_t& layer = filled[floor][y][x];
    if (layer >= kLayers) continue;  // a full cell drops the line
    image.Tiles[floor][layer][y][x] = TileEntry{z, id, 0};
    ++layer;
  }
  LoadResult result = LoadResult::Success(base);
  // The editor ends every line; a last line without its end is most likely
  // a file cut short in the middle of it (its last id shortened).
  if (text.back() != '\n' && text.back() != '\r') result.warning = kCutShortWarning;
  return result;
}

LoadResult LoadFromText(TTAVIDoc& doc, std::string_view text) {
  auto image = NewHouseImage();
  LoadResult result = ParseHouseFile(text, *image);
  if (result.ok) TakeOverImage(doc, *image);
  return result;
}

LoadResult LoadFromFile(TTAVIDoc& doc, const std::string& path) {
  std::string text, error;
  if (!ReadWholeFile(path, &text, &error)) return LoadResult::Failure(error, LoadFailure::kFile);
  LoadResult result = LoadFromText(doc, text);
  if (!result.ok && result.failure != LoadFailure::kVersion)
    result.error = "'" + path + "' " + result.error;
  return result;
}

std::string HouseNameOf(const std::string& fileName) {
  const size_t sep = fileName.find_last_of("\\/:");
  std::string name = sep == std::string::npos ? fileName : fileName.substr(sep + 1);
  const size_t dot = name.rfind('.');
  if (dot != std::string::npos) name.erase(dot);
  return name;
}

std::string WindowTitleFor(const std::string& fileName) {
  return "Tavi Editor - " + HouseNameOf(fileName);
}

}  // namespace tavi
