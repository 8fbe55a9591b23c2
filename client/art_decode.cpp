// The two art decoders of TUOTileData: pictures for textures (RGBA) and
// thumbnails painted into 24-bit bitmaps.
#include <algorithm>
#include <cstring>

#include "client/file_reader.h"
#include "client/tile_data.h"

namespace tavi {

namespace {

constexpr int kLandSize = 44;
constexpr int kLandPixels = 1012;
constexpr int kLandTexture = 64;
constexpr int kMaxArtSide = 1023;
// A run reaching this column ends the picture: no art is that wide, so such a
// run means the data is broken.
constexpr int kRunStop = 2048;

struct Rgb {
  uint8_t r, g, b;
};

// 1-5-5-5 pixel to 8-bit channels; bit 15 is ignored and 0 is black.
Rgb ToRgb(uint16_t p) {
  auto expand = [](int v) { return uint8_t(v * 255 / 31); };
  return {expand((p >> 10) & 31), expand((p >> 5) & 31), expand(p & 31)};
}

uint16_t PixelAt(const uint8_t* p) {
  return uint16_t(p[0] | (p[1] << 8));
}

// Columns of row r of the land diamond.
void LandRow(int r, int* x0, int* x1) {
  if (r < 22) {
    *x0 = 21 - r;
    *x1 = 22 + r;
  } else {
    *x0 = r - 22;
    *x1 = 65 - r;
  }
}

int TextureSide(int n) {
  int p = 1;
  while (n > 1) {
    n = (n + 1) / 2;
    p *= 2;
  }
  return p;
}

enum class Encoding { kNone, kLand, kItem };

// Positions the reader at the picture and tells its encoding by the first 4
// bytes: 1..0xFFFF is run-length item art, anything else a land diamond.
Encoding Probe(FileReader& in, int64_t offset) {
  uint32_t probe = 0;
  in.Seek(offset);
  if (!in.ReadU32(&probe)) return Encoding::kNone;
  return probe >= 1 && probe <= 0xFFFF ? Encoding::kItem : Encoding::kLand;
}

// The land diamond's pixels. They start at the entry's first byte, where land
// art keeps them; the 4 bytes read to tell the encoding are its first two
// pixels. A file cut short gives the pixels present, the rest stays
// transparent. Returns the number of pixels read.
int ReadLand(FileReader& in, int64_t offset, uint8_t (&pixels)[kLandPixels * 2]) {
  const int64_t avail =
      std::max<int64_t>(0, std::min<int64_t>(kLandPixels, (in.Size() - offset) / 2));
  in.Seek(offset);
  if (!in.Read(pixels, size_t(avail) * 2)) return 0;
  return int(avail);
}

template <class Fn>
void ForEachLandPixel(const uint8_t* pixels, int count, Fn&& fn) {
  int i = 0;
  for (int r = 0; r < kLandSize; ++r) {
    int x0, x1;
    LandRow(r, &x0, &x1);
    for (int x = x0; x <= x1; ++x, ++i) {
      if (i >= count) return;
      fn(r, x, PixelAt(pixels + 2 * i));
    }
  }
}

struct ItemHeader {
  int width = 0, height = 0;
  std::vector<uint16_t> rowStarts;
  int64_t dataStart = 0;
};

// Reads the size and the row table that follow the probe; false for sizes
// outside 1..1023 and for a file that ends inside the table.
bool ReadItemHeader(FileReader& in, ItemHeader* h) {
  uint16_t w = 0, ht = 0;
  if (!in.ReadU16(&w) || !in.ReadU16(&ht)) return false;
  if (w < 1 || w > kMaxArtSide || ht < 1 || ht > kMaxArtSide) return false;
  h->width = w;
  h->height = ht;
  std::vector<uint8_t> table(size_t(ht) * 2);
  if (!in.Read(table.data(), table.size())) return false;
  h->rowStarts.resize(ht);
  for (int r = 0; r < ht; ++r) h->rowStarts[r] = PixelAt(&table[size_t(r) * 2]);
  h->dataStart = in.Position();
  return true;
}

// Decodes the runs of row r, passing put(row, column, pixel) the pixels
// inside the picture's width; `run` holds one run at a time. False when
// decoding must stop: a run reaching column 2048, or the file ending.
template <class Put>
inline bool DecodeItemRow(FileReader& in, const ItemHeader& h, int r, uint8_t (&run)[kRunStop * 2],
                          Put& put) {
  in.Seek(h.dataStart + 2 * int64_t(h.rowStarts[r]));
  int column = 0;
  for (;;) {
    uint16_t xOffset = 0, length = 0;
    if (!in.ReadU16(&xOffset) || !in.ReadU16(&length)) return false;
    if (int(xOffset) + int(length) >= kRunStop) return false;
    if (xOffset == 0 && length == 0) return true;
    column += xOffset;
    if (!in.Read(run, size_t(length) * 2)) return false;
    for (int i = 0; i < length && column + i < h.width; ++i)
      put(r, column + i, PixelAt(run + 2 * i));
    column += length;
    // Nothing of this row can be drawn any more; a row without its end
    // mark must not make the decoder walk the rest of the file.
    if (column >= kRunStop) return true;
  }
}

// Decodes the runs row by row. put(row, column, pixel) receives the pixels
// inside the picture's width; rowDone(row) returns false to stop decoding.
// Decoding also stops at a run reaching column 2048 and where the file ends;
// what was decoded stays.
template <class Put, class RowDone>
void DecodeItemRuns(FileReader& in, const ItemHeader& h, Put&& put, RowDone&& rowDone) {
  uint8_t run[kRunStop * 2];
  for (int r = 0; r < h.height; ++r)
    if (!DecodeItemRow(in, h, r, run, put) || !rowDone(r)) return;
}

}  // namespace

bool TUOTileData::LoadArtRGBA(uint32_t index, ArtRGBA* out) const {
  if (!out || !HasArt(index)) return false;
  const int64_t offset = ArtIndex[index].Offset;
  FileReader in(artFd_, artSize_, size_t(std::max(0, ArtIndex[index].Length)));
  switch (Probe(in, offset)) {
    case Encoding::kNone:
      return false;
    case Encoding::kLand: {
      uint8_t pixels[kLandPixels * 2];
      const int count = ReadLand(in, offset, pixels);
      std::vector<uint8_t> buf(size_t(kLandTexture) * kLandTexture * 4, 0);
      ForEachLandPixel(pixels, count, [&](int r, int x, uint16_t p) {
        uint8_t* d = &buf[(size_t(r) * kLandTexture + x) * 4];
        const Rgb c = ToRgb(p);
        d[0] = c.r, d[1] = c.g, d[2] = c.b, d[3] = 255;
      });
      out->Pixels = std::move(buf);
      out->ArtWidth = out->ArtHeight = kLandSize;
      out->TexWidth = out->TexHeight = kLandTexture;
      return true;
    }
    case Encoding::kItem:
      break;
  }
  ItemHeader h;
  if (!ReadItemHeader(in, &h)) return false;
  const int texW = TextureSide(h.width), texH = TextureSide(h.height);
  std::vector<uint8_t> buf(size_t(texW) * texH * 4, 0);
  DecodeItemRuns(
      in, h,
      [&](int r, int x, uint16_t p) {
        uint8_t* d = &buf[(size_t(r) * texW + x) * 4];
        const Rgb c = ToRgb(p);
        d[0] = c.r, d[1] = c.g, d[2] = c.b, d[3] = 255;
      },
      [](int) { return true; });
  out->Pixels = std::move(buf);
  out->ArtWidth = h.width;
  out->ArtHeight = h.height;
  out->TexWidth = texW;
  out->TexHeight = texH;
  return true;
}

void TUOTileData::DrawArt(TBitmap24& bitmap, uint32_t index, int x, int y) const {
  if (bitmap.Width <= 0 || bitmap.Height <= 0 ||
      bitmap.Bits.size() < size_t(bitmap.Width) * size_t(bitmap.Height) * 3 || !HasArt(index))
    return;
  const int64_t offset = ArtIndex[index].Offset;
  auto put = [&bitmap](int px, int py, uint16_t p) {
    if (px < 0 || px >= bitmap.Width || py < 0 || py >= bitmap.Height) return;
    uint8_t* d = bitmap.Pixel(px, py);
    const Rgb c = ToRgb(p);
    d[0] = c.b, d[1] = c.g, d[2] = c.r;
  };
  FileReader in(artFd_, artSize_, size_t(std::max(0, ArtIndex[index].Length)));
  switch (Probe(in, offset)) {
    case Encoding::kNone:
      return;
    case Encoding::kLand: {
      uint8_t pixels[kLandPixels * 2];
      const int count = ReadLand(in, offset, pixels);
      ForEachLandPixel(pixels, count, [&](int r, int col, uint16_t p) { put(x + col, y + r, p); });
      return;
    }
    case Encoding::kItem:
      break;
  }
  ItemHeader h;
  if (!ReadItemHeader(in, &h)) return;
  // Item art is centred horizontally; a picture wider than the bitmap starts
  // left of it and is clipped on both sides.
  const int left = x + (bitmap.Width - h.width) / 2;
  DecodeItemRuns(
      in, h, [&](int r, int col, uint16_t p) { put(left + col, y + r, p); },
      [&](int r) { return y + r + 1 < bitmap.Height; });
}

}  // namespace tavi
