// Cut, copy and paste of a selection through a plain-text clipboard. The text
// is the header line followed by one "dx,dy,z,id" line per entry, CR LF after
// every line. Pasted text may come from anywhere: every line is checked on its
// own and a bad line is skipped without affecting the others.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

#include "document/house_document.h"

namespace tavi {

const char kClipHeader[] = "TAVI File ver 1.00";

namespace {

constexpr size_t kHeaderLen = sizeof(kClipHeader) - 1;
// No entry line that copy writes comes near this length.
constexpr size_t kMaxFieldLen = 24;

// Yields the lines of a text one by one; CR LF, lone LF and lone CR all end a
// line, as the clipboard may convert line ends on the way.
class LineReader {
 public:
  explicit LineReader(const std::string& text) : text_(text) {}
  bool Next(const char** begin, size_t* len) {
    if (pos_ >= text_.size()) return false;
    const size_t start = pos_;
    size_t end = start;
    while (end < text_.size() && text_[end] != '\r' && text_[end] != '\n') ++end;
    *begin = text_.data() + start;
    *len = end - start;
    pos_ = end;
    if (pos_ < text_.size() && text_[pos_] == '\r') ++pos_;
    if (pos_ < text_.size() && text_[pos_] == '\n' && (pos_ == end || text_[pos_ - 1] == '\r'))
      ++pos_;
    return true;
  }

 private:
  const std::string& text_;
  size_t pos_ = 0;
};

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

// A field is a whole decimal integer: optional blanks, an optional sign,
// digits, optional blanks. Anything else (letters, hex prefixes, fractions,
// an empty field, a value beyond 32 bits) makes the field invalid.
bool ParseField(const char* b, const char* e, long long* out) {
  while (b < e && IsBlank(*b)) ++b;
  while (e > b && IsBlank(e[-1])) --e;
  if (b == e || size_t(e - b) > kMaxFieldLen) return false;
  bool neg = false;
  if (*b == '+' || *b == '-') {
    neg = *b == '-';
    ++b;
  }
  if (b == e) return false;
  long long v = 0;
  for (; b < e; ++b) {
    if (*b < '0' || *b > '9') return false;
    v = v * 10 + (*b - '0');
    if (v > (1LL << 31)) return false;
  }
  v = neg ? -v : v;
  if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max())
    return false;
  *out = v;
  return true;
}

// Splits an entry line at its commas into exactly four integer fields.
bool ParseEntryLine(const char* line, size_t len, long long f[4]) {
  const char* end = line + len;
  const char* b = line;
  for (int i = 0; i < 4; ++i) {
    const char* c = b;
    while (c < end && *c != ',') ++c;
    if ((i < 3) == (c == end)) return false;  // too few or too many fields
    if (!ParseField(b, c, &f[i])) return false;
    b = c + 1;
  }
  return true;
}

bool IsHeader(const char* line, size_t len) {
  return len == kHeaderLen && std::memcmp(line, kClipHeader, kHeaderLen) == 0;
}

}  // namespace

bool IsSelectionClipText(const std::string& text) {
  LineReader lines(text);
  const char* line;
  size_t len;
  return lines.Next(&line, &len) && IsHeader(line, len);
}

void TTAVIDoc::CopyRect(const CellRect& rect, int floor, ITextClipboard& clipboard) {
  CellRect r;
  if (!ValidFloor(floor) || !ClipToPlot(rect, &r)) return;
  // Offsets count from the selection's own corner, also where it reaches past
  // the plot.
  const int left = std::min(rect.Left, rect.Right), top = std::min(rect.Top, rect.Bottom);
  std::string text = std::string(kClipHeader) + "\r\n";
  bool any = false;
  char buf[64];
  for (int y = r.Top; y <= r.Bottom; ++y)
    for (int x = r.Left; x <= r.Right; ++x)
      for (int l = 0; l < kLayers; ++l) {
        const TileEntry& e = Tiles[floor][l][y][x];
        if (e.Id == 0 || LockedPart(e.Id)) continue;
        std::snprintf(buf, sizeof buf, "%d,%d,%d,%d\r\n", x - left, y - top, int(e.Z), int(e.Id));
        text += buf;
        any = true;
      }
  if (any) clipboard.SetText(text);
}

void TTAVIDoc::CutRect(const CellRect& rect, int floor, ITextClipboard& clipboard) {
  CellRect r;
  if (!ValidFloor(floor) || !ClipToPlot(rect, &r)) return;
  EditScope edit(*this, floor);
  CopyRect(rect, floor, clipboard);
  const bool lock = host_->PartsLock();
  for (int y = r.Top; y <= r.Bottom; ++y)
    for (int x = r.Left; x <= r.Right; ++x) {
      // Remove exactly what the copy took: every entry, or with Parts Lock
      // every entry that is not a customization part, the rest closing up.
      int kept = 0;
      for (int l = 0; l < kLayers; ++l) {
        TileEntry& e = Tiles[floor][l][y][x];
        if (e.Id == 0) continue;
        if (lock && (Category(e.Id) & kCatPart)) {
          if (kept != l) {
            Tiles[floor][kept][y][x] = e;
            e.Id = 0;
            e.Z = 0;
          }
          ++kept;
          continue;
        }
        e.Id = 0;
        e.Z = 0;
        edit.Changed();
      }
      edit.Cell(x, y, floor);
    }
}

void TTAVIDoc::PasteAt(int x0, int y0, int alt, int /*mode*/, int floor,
                       const ITextClipboard& clipboard) {
  if (!clipboard.HasText()) return;
  PasteText(x0, y0, alt, floor, clipboard.GetText());
}

namespace {

// One pasted entry, once its cell, id and altitude are known to fit: entries
// at the same altitude stay below it; a floor tile over a floor tile takes
// its place. False (nothing written) when the cell is full.
bool InsertPasted(const TTAVIDoc& doc, FloorImage& image, int x, int y, uint16_t id, int16_t z) {
  if (image[kLayers - 1][y][x].Id != 0) return false;  // full cell
  int L = 0;
  while (image[L][y][x].Id != 0 && image[L][y][x].Z <= z) ++L;
  if (L > 0 && doc.IsFloorTile(id) && doc.IsFloorTile(image[L - 1][y][x].Id)) {
    image[L - 1][y][x].Z = z;
    image[L - 1][y][x].Id = id;
  } else {
    for (int n = kLayers - 1; n > L; --n) image[n][y][x] = image[n - 1][y][x];
    image[L][y][x] = {z, id, 0};
  }
  return true;
}

}  // namespace

void TTAVIDoc::PasteText(int x0, int y0, int alt, int floor, const std::string& text) {
  LineReader lines(text);
  const char* line;
  size_t len;
  // A text without the header line changes nothing but is still an edit:
  // the price is counted again.
  EditScope edit(*this);
  if (ValidFloor(floor) && lines.Next(&line, &len) && IsHeader(line, len)) {
    edit.Snapshot(floor);
    FloorImage& image = Tiles[floor];
    long long f[4];
    while (lines.Next(&line, &len)) {
      if (!ParseEntryLine(line, len, f)) continue;
      const long long xl = x0 + f[0], yl = y0 + f[1], zl = alt + f[2], idl = f[3];
      if (xl < 0 || yl < 0 || xl >= Width || yl >= Height) continue;
      // An id outside 1..65535 or an altitude beyond 16 bits cannot be stored.
      if (idl <= 0 || idl > 0xFFFF) continue;
      if (zl < std::numeric_limits<int16_t>::min() || zl > std::numeric_limits<int16_t>::max())
        continue;
      const int x = int(xl), y = int(yl);
      if (!InsertPasted(*this, image, x, y, uint16_t(idl), int16_t(zl))) continue;
      edit.Cell(x, y, floor);
      edit.Changed();
    }
  }
}

}  // namespace tavi
