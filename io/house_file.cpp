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

// Per cell of a floor, one past the highest non-empty layer.
using StackTops = uint8_t[kGrid][kGrid];

// Fills the stack tops of the w x h cells of a floor in one pass over it in
// memory order; returns the number of non-empty entries there.
size_t FindStackTops(const FloorImage& floor, int w, int h, StackTops& top) {
  std::memset(top, 0, sizeof top);
  size_t entries = 0;
  for (int layer = 0; layer < kLayers; ++layer)
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        if (floor[layer][y][x].Id != 0) {
          top[y][x] = uint8_t(layer + 1);
          ++entries;
        }
  return entries;
}

// Writes the header line ("version",width,height,base) at p; returns the end.
char* PutHeaderLine(char* p, int width, int height, int baseHeight) {
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
  return p;
}

// What every entry line of a cell starts with: "floor,x,y," (x and y are
// 0..31), written once per cell.
struct CellPrefix {
  char text[8];
  size_t size;
};

CellPrefix CellPrefixOf(int f, int x, int y) {
  CellPrefix cell{};
  char* p = cell.text;
  *p++ = char('0' + f);
  *p++ = ',';
  p = PutInt(p, x);
  *p++ = ',';
  p = PutInt(p, y);
  *p++ = ',';
  cell.size = size_t(p - cell.text);
  return cell;
}

// Writes the entry line "floor,x,y,z,id" at p; returns the end (at most
// kMaxEntryLine characters).
char* PutEntryLine(char* p, const CellPrefix& cell, const TileEntry& e) {
  // All eight bytes in one move: the prefix is at least six characters long
  // and the rest of the line overwrites what lies past it.
  std::memcpy(p, cell.text, sizeof cell.text);
  p += cell.size;
  p = PutInt(p, e.Z);
  *p++ = ',';
  // Ids are written as their signed 16-bit reading; the reader keeps the low
  // 16 bits, which restores them.
  p = PutInt(p, static_cast<int16_t>(e.Id));
  *p++ = '\r';
  *p++ = '\n';
  return p;
}

// Writes the entry lines of floor f cell by cell, each stack from the bottom
// up to its top; returns the end.
char* PutFloorEntries(char* p, int f, const FloorImage& floor, const StackTops& top, int w, int h) {
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      if (top[y][x] == 0) continue;
      const CellPrefix cell = CellPrefixOf(f, x, y);
      for (int layer = 0; layer < top[y][x]; ++layer)
        if (floor[layer][y][x].Id != 0) p = PutEntryLine(p, cell, floor[layer][y][x]);
    }
  return p;
}

// The whole text of a house held as `floors` (five floor images) with the
// given plot size.
std::string HouseText(int width, int height, const FloorImage* floors, int baseHeight) {
  const int w = width < kGrid ? width : kGrid;
  const int h = height < kGrid ? height : kGrid;
  // The stack tops are found first so that the text is sized once and the
  // lines come from the cells after.
  StackTops top[kFloors];
  size_t entries = 0;
  for (int f = 0; f < kFloors; ++f) entries += FindStackTops(floors[f], w, h, top[f]);
  std::string out;
  out.resize(64 + std::strlen(kVersionText) + entries * kMaxEntryLine);
  char* p = PutHeaderLine(&out[0], width, height, baseHeight);
  for (int f = 0; f < kFloors; ++f) p = PutFloorEntries(p, f, floors[f], top[f], w, h);
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

// Blanks are the characters 1..32; line ends among them end the line.
bool IsFieldBlank(char c) {
  return static_cast<unsigned char>(c - 1) < 32 && c != '\r' && c != '\n';
}
bool IsInField(char c) {
  return static_cast<unsigned char>(c - 1) >= 32 && c != ',';
}

const char* SkipFieldBlanks(const char* p, const char* end) {
  while (p < end && IsFieldBlank(*p)) ++p;
  return p;
}

// Past the blanks after a field, one comma and the blanks after it.
const char* SkipFieldSeparator(const char* p, const char* end) {
  p = SkipFieldBlanks(p, end);
  if (p < end && *p == ',') p = SkipFieldBlanks(p + 1, end);
  return p;
}

// Reads the unquoted field at p into the next slot of `out` (the first five
// are kept; counting stops at six) and returns its end. A field of an
// optional minus and one to nine digits has its value read on the way.
const char* ScanPlainField(const char* p, const char* end, EntryFields* out) {
  const char* start = p;
  const bool negative = *p == '-';
  if (negative) ++p;
  const char* digits = p;
  uint32_t v = 0;
  for (unsigned d; p < end && (d = unsigned(static_cast<unsigned char>(*p)) - '0') < 10; ++p)
    v = v * 10 + d;
  bool simple = p > digits && p - digits <= 9;
  for (; p < end && IsInField(*p); ++p) simple = false;
  if (out->count < 5) {
    out->field[out->count] = std::string_view(start, size_t(p - start));
    // Only a simple field (at most nine digits) has a value read here.
    const int32_t value = simple ? static_cast<int32_t>(v) : 0;
    out->value[out->count] = negative ? -value : value;
    out->simple[out->count] = simple;
  }
  if (out->count < 6) ++out->count;
  return p;
}

// Splits the line at p by the comma-text rules without copying, up to its
// line end, and returns the start of the next line. A field that starts with
// a double quote stops the scan and sets `quoted`; the caller then splits the
// line by the full rules.
const char* ScanEntryLine(const char* p, const char* end, EntryFields* out) {
  out->count = 0;
  out->quoted = false;
  p = SkipFieldBlanks(p, end);
  while (p < end && *p != '\r' && *p != '\n') {
    if (*p == '"') {
      out->quoted = true;
      return AfterLineEnd(NextLineEnd(p, end), end);
    }
    p = ScanPlainField(p, end, out);
    p = SkipFieldSeparator(p, end);
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

namespace {

// Opens path for reading. Without O_NONBLOCK, opening a FIFO that nothing
// writes to would wait forever. Reads block again afterwards: a pipe with a
// writer (process substitution, /dev/stdin) is read to its end, one without
// reads as empty. -1 (errno set by the open) when it cannot be opened.
int OpenForReading(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return fd;
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags != -1) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  return fd;
}

// The buffer to read fd into first: a regular file is read in one go into a
// buffer of its size (one byte more to see its end); anything else grows as
// it comes.
size_t FirstBufferSize(int fd) {
  struct stat st;
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size >= 0)
    return size_t(st.st_size) + 1;
  return 65536;
}

// Reads fd to its end into *out, whose size is the first read's room, growing
// it as needed; more than maxBytes fails. On success *out holds exactly what
// was read, on failure nothing.
bool ReadToEnd(int fd, const std::string& path, size_t maxBytes, std::string* out,
               std::string* error) {
  size_t len = 0;
  for (;;) {
    if (len > maxBytes) {
      if (error) *error = "file '" + path + "' is too large";
      out->clear();
      return false;
    }
    if (len == out->size()) out->resize(std::min(std::max(len * 2, size_t(65536)), maxBytes + 1));
    const ssize_t n = ::read(fd, &(*out)[len], out->size() - len);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      if (error) *error = SystemError("cannot read", path);
      out->clear();
      return false;
    }
    if (n == 0) break;
    len += size_t(n);
  }
  out->resize(len);
  return true;
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::string* out, std::string* error, size_t maxBytes) {
  out->clear();
  const int fd = OpenForReading(path);
  if (fd < 0) {
    if (error) *error = SystemError("cannot open", path);
    return false;
  }
  out->resize(std::min(FirstBufferSize(fd), maxBytes + 1));
  const bool ok = ReadToEnd(fd, path, maxBytes, out, error);
  ::close(fd);
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

namespace {

// The plot size and base height a header line gives.
struct HouseHeader {
  int32_t width = 0, height = 0, base = 0;
};

// Reads the header line into *header; a failure saying why when it is not
// one of this version or gives a plot or base height a house cannot have.
LoadResult ReadHeaderLine(std::string_view text, HouseHeader* header) {
  const std::vector<std::string> fields = SplitCommaText(text);
  if (fields.empty() || fields[0] != kVersionText)
    return LoadResult::Failure("Can not use this file version.", LoadFailure::kVersion);
  if (fields.size() < 4)
    return LoadResult::Failure("line 1: the header has fewer than four fields");
  const int32_t width = ReadNumber(fields[1]);
  const int32_t height = ReadNumber(fields[2]);
  const int32_t base = ReadNumber(fields[3]);
  if (width < 1 || width > kGrid || height < 1 || height > kGrid)
    return LoadResult::Failure("line 1: plot size " + std::to_string(width) + "x" +
                               std::to_string(height) + " is outside 1..32");
  if (base < 0)
    return LoadResult::Failure("line 1: base height " + std::to_string(base) + " is below 0");
  *header = HouseHeader{width, height, base};
  return LoadResult::Success(base);
}

// Splits a line holding a quoted field (which may hold commas and blanks) by
// the full rules into *quoted, and points the fields of *line at it.
void TakeQuotedFields(std::string_view text, EntryFields* line, std::vector<std::string>* quoted) {
  *quoted = SplitCommaText(text);
  line->count = int(std::min<size_t>(quoted->size(), 6));
  for (size_t k = 0; k < 5 && k < quoted->size(); ++k) {
    line->field[k] = (*quoted)[k];
    line->simple[k] = false;
  }
}

// Reads the entry line at p into *line, the plain form the editor writes
// first and any other by the comma-text rules, and returns the start of the
// next line. The fields of a line with a quoted field view *quoted.
const char* ReadEntryLine(const char* p, const char* end, EntryFields* line,
                          std::vector<std::string>* quoted) {
  if (ReadPlainEntry(p, end, line->value)) {
    line->count = 5;
    std::fill_n(line->simple, 5, true);
    return p;
  }
  const char* next = ScanEntryLine(p, end, line);
  if (line->quoted)
    TakeQuotedFields(std::string_view(p, size_t(NextLineEnd(p, end) - p)), line, quoted);
  return next;
}

// Entries appended per cell so far: the image starts empty and only gains
// entries, so this is also the lowest empty layer.
using StackFill = uint8_t[kFloors][kGrid][kGrid];

// Puts the entry of a five-field line on top of its cell's stack. A line for
// a cell outside the plot, of tile 0 or for a full cell adds nothing.
void AddEntry(const EntryFields& line, int width, int height, HouseImage& image,
              StackFill& filled) {
  const int32_t floor = line.Number(0);
  const int32_t x = line.Number(1);
  const int32_t y = line.Number(2);
  const auto z = static_cast<int16_t>(static_cast<uint16_t>(line.Number(3)));
  const auto id = static_cast<uint16_t>(line.Number(4));
  if (floor < 0 || floor >= kFloors || x < 0 || y < 0 || x >= width || y >= height) return;
  if (id == 0) return;  // an empty entry adds nothing to the stack
  uint8_t& layer = filled[floor][y][x];
  if (layer >= kLayers) return;  // a full cell drops the line
  image.Tiles[floor][layer][y][x] = TileEntry{z, id, 0};
  ++layer;
}

}  // namespace

LoadResult ParseHouseFile(std::string_view text, HouseImage& image) {
  image.ClearTiles();
  const char* p = text.data();
  const char* const end = p + text.size();
  if (p == end) return LoadResult::Failure("the file is empty");
  const char* lineEnd = NextLineEnd(p, end);
  HouseHeader header;
  LoadResult result = ReadHeaderLine(std::string_view(p, size_t(lineEnd - p)), &header);
  if (!result.ok) return result;
  p = AfterLineEnd(lineEnd, end);
  image.Width = header.width;
  image.Height = header.height;
  image.SetBaseHeight(header.base);
  StackFill filled = {};
  EntryFields line;
  std::vector<std::string> quoted;
  while (p < end) {
    p = ReadEntryLine(p, end, &line, &quoted);
    if (line.count == 5) AddEntry(line, header.width, header.height, image, filled);
  }
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
