#include "io/clip_text.h"

#include <zlib.h>

#include <cstring>

#include "io/comma_text.h"
#include "io/house_file.h"
#include "io/base64_variant.h"

namespace tavi {

namespace {

constexpr int kMaxClipLineWidth = 4096;
constexpr size_t kMaxPackedHouse = 65535;  // the size word has 16 bits
constexpr uint16_t kMaxClipId = 16383;     // the id word keeps 14 bits

struct Record {
  uint8_t z = 0;
  uint16_t id = 0;
  uint8_t xExtent = 0, yExtent = 0;
};

void PutRecord(std::vector<uint8_t>& out, const Record& r, bool last) {
  out.push_back(static_cast<uint8_t>(r.z | (last ? 0x40 : 0)));
  out.push_back(static_cast<uint8_t>(r.id & 0xFF));
  out.push_back(static_cast<uint8_t>(r.id >> 8));
  if (r.id & 0x4000) out.push_back(r.xExtent);
  if (r.id & 0x8000) out.push_back(r.yExtent);
}

bool Matches(const TileEntry& e, uint16_t id, uint8_t z6) {
  return e.Id == id && (static_cast<uint16_t>(e.Z) & 63) == z6;
}

// Inflates one zlib stream, stopping past `limit` bytes. A stream that ends
// early gives what it held; a damaged one fails.
bool Inflate(const uint8_t* data, size_t size, size_t limit, std::vector<uint8_t>* out,
             std::string* error) {
  out->clear();
  z_stream zs;
  std::memset(&zs, 0, sizeof zs);
  if (inflateInit(&zs) != Z_OK) {
    *error = "error";
    return false;
  }
  zs.next_in = const_cast<Bytef*>(data);
  zs.avail_in = static_cast<uInt>(size);
  uint8_t buf[16384];
  bool ok = true;
  for (;;) {
    zs.next_out = buf;
    zs.avail_out = sizeof buf;
    const int rc = inflate(&zs, Z_NO_FLUSH);
    const size_t got = sizeof buf - zs.avail_out;
    if (out->size() + got > limit) {
      *error = "the packed house unpacks to more than a house can hold";
      ok = false;
      break;
    }
    out->insert(out->end(), buf, buf + got);
    if (rc == Z_STREAM_END) break;
    if (rc == Z_BUF_ERROR || (rc == Z_OK && zs.avail_in == 0 && got == 0)) break;  // ends early
    if (rc != Z_OK) {
      *error = "error";
      ok = false;
      break;
    }
  }
  inflateEnd(&zs);
  return ok;
}

}  // namespace

bool EncodeCellStream(const HouseImage& image, int baseHeight, std::vector<uint8_t>* out,
                      std::string* error) {
  out->clear();
  const int W = image.Width, H = image.Height;
  if (W < 1 || W > 31 || H < 1 || H > 31) {
    *error = "a plot of " + std::to_string(W) + "x" + std::to_string(H) +
             " cells cannot be carried as clipboard text (at most 31x31)";
    return false;
  }
  if (baseHeight < 0 || baseHeight > 31) {
    *error = "base height " + std::to_string(baseHeight) + " cannot be carried (0..31)";
    return false;
  }
  for (int f = 0; f < kFloors; ++f)
    for (int layer = 0; layer < kLayers; ++layer)
      for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
          const uint16_t id = image.Tiles[f][layer][y][x].Id;
          if (id > kMaxClipId) {
            *error = "tile " + std::to_string(id) + " on floor " + std::to_string(f) + " at " +
                     std::to_string(x) + "," + std::to_string(y) +
                     " cannot be carried as clipboard text (ids up to 16383)";
            return false;
          }
        }

  // Rectangles are blanked out of a working copy as they are written.
  auto work = std::make_unique<HouseImage>();
  std::memcpy(work->Tiles, image.Tiles, sizeof(work->Tiles));

  const uint16_t plot = static_cast<uint16_t>((W << 10) | (H << 5) | baseHeight);
  out->push_back(static_cast<uint8_t>(plot & 0xFF));
  out->push_back(static_cast<uint8_t>(plot >> 8));

  int pendingEmpty = 0;
  for (int f = 0; f < kFloors; ++f)
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) {
        bool held = false;  // tracked apart from the id word: 0xFFFF is a valid word
        Record rec;
        for (int layer = 0; layer < kLayers; ++layer) {
          FloorImage& fl = work->Tiles[f];
          const TileEntry e = fl[layer][y][x];
          if (e.Id == 0) continue;
          if (pendingEmpty > 0) {
            out->push_back(static_cast<uint8_t>(0x80 | pendingEmpty));
            pendingEmpty = 0;
          }
          if (held) PutRecord(*out, rec, false);
          held = true;
          rec = Record();
          rec.z = static_cast<uint8_t>(static_cast<uint16_t>(e.Z) & 63);
          rec.id = e.Id;
          int d = 0;
          for (int r = y + 1; r < H && Matches(fl[layer][r][x], e.Id, rec.z); ++r) ++d;
          if (d >= 2) {
            int a = 0;
            for (int k = x; k < W; ++k) {
              bool all = true;
              for (int r = y; r < y + d && all; ++r) all = Matches(fl[layer][r][k], e.Id, rec.z);
              if (!all) break;
              ++a;
            }
            for (int r = y; r < y + d; ++r)
              for (int k = x; k < x + a; ++k) fl[layer][r][k].Id = 0;
            rec.id |= 0x8000;
            rec.yExtent = static_cast<uint8_t>(d);
            if (a > 1) {
              rec.id |= 0x4000;
              rec.xExtent = static_cast<uint8_t>(a);
            }
          }
        }
        if (held) {
          PutRecord(*out, rec, true);
        } else if (++pendingEmpty == 127) {
          out->push_back(0xFF);
          pendingEmpty = 0;
        }
      }
  return true;
}

int DecodeCellStream(const std::vector<uint8_t>& data, HouseImage& image, std::string* error) {
  image.ClearTiles();
  if (data.size() < 2) {
    *error = "the packed house has no plot word";
    return -1;
  }
  const unsigned plot = data[0] | (unsigned(data[1]) << 8);
  const int W = (plot >> 10) & 31, H = (plot >> 5) & 31, base = plot & 31;
  if (W < 1 || H < 1) {
    *error = "the packed house has a plot of " + std::to_string(W) + "x" + std::to_string(H);
    return -1;
  }
  image.Width = W;
  image.Height = H;
  size_t pos = 2;
  const size_t size = data.size();
  int skip = 0;
  bool ended = false;
  for (int f = 0; f < kFloors && !ended; ++f)
    for (int y = 0; y < H && !ended; ++y)
      for (int x = 0; x < W && !ended; ++x) {
        if (skip > 0) {
          --skip;
          continue;
        }
        for (;;) {
          if (pos >= size) {
            ended = true;
            break;
          }
          const uint8_t b = data[pos++];
          if (b & 0x80) {
            skip = (b & 127) - 1;
            break;
          }
          int z = b & 63;
          if (z & 32) z -= 64;
          if (pos + 2 > size) {
            ended = true;
            break;
          }
          const unsigned word = data[pos] | (unsigned(data[pos + 1]) << 8);
          pos += 2;
          int xExtent = 1, yExtent = 1;
          if (word & 0x4000) {
            if (pos >= size) {
              ended = true;
              break;
            }
            xExtent = data[pos++];
          }
          if (word & 0x8000) {
            if (pos >= size) {
              ended = true;
              break;
            }
            yExtent = data[pos++];
          }
          const uint16_t id = static_cast<uint16_t>(word & 16383);
          FloorImage& fl = image.Tiles[f];
          int layer = 0;
          while (layer < kLayers && fl[layer][y][x].Id != 0) ++layer;
          if (layer < kLayers) {
            fl[layer][y][x].Id = id;
            fl[layer][y][x].Z = static_cast<int16_t>(z);
            if (word & 0xC000) {
              // Rectangles reaching past the plot are clipped to it.
              for (int r = y; r < y + yExtent && r < H; ++r)
                for (int k = x; k < x + xExtent && k < W; ++k) {
                  fl[layer][r][k].Id = id;
                  fl[layer][r][k].Z = static_cast<int16_t>(z);
                }
            }
          }
          if (b & 0x40) break;
        }
      }
  // Rectangles write their layer whatever lies below it; close the gaps so
  // that no entry hides above an empty layer.
  image.CompactStacks();
  return base;
}

std::string BuildClipText(const HouseImage& image, int lineWidth, int baseHeight,
                          const std::string& houseName, std::string* error, std::string* warning) {
  if (lineWidth < 1 || lineWidth > kMaxClipLineWidth) {
    *error = "line width " + std::to_string(lineWidth) + " is outside 1.." +
             std::to_string(kMaxClipLineWidth);
    return {};
  }
  std::vector<uint8_t> cells;
  if (!EncodeCellStream(image, baseHeight, &cells, error)) return {};

  int outOfRange = 0;
  for (int f = 0; f < kFloors; ++f)
    for (int layer = 0; layer < kLayers; ++layer)
      for (int y = 0; y < image.Height; ++y)
        for (int x = 0; x < image.Width; ++x) {
          const TileEntry& e = image.Tiles[f][layer][y][x];
          if (e.Id != 0 && (e.Z < -32 || e.Z > 31)) ++outOfRange;
        }
  if (warning) {
    warning->clear();
    if (outOfRange > 0)
      *warning = std::to_string(outOfRange) +
                 " tiles lie outside altitudes -32..31 of their floor and will come back at "
                 "other altitudes";
  }

  std::vector<uint8_t> packed(2 + compressBound(static_cast<uLong>(cells.size())));
  uLongf packedLen = static_cast<uLongf>(packed.size() - 2);
  if (compress2(packed.data() + 2, &packedLen, cells.data(), static_cast<uLong>(cells.size()),
                Z_DEFAULT_COMPRESSION) != Z_OK) {
    *error = "the house could not be packed";
    return {};
  }
  packed.resize(2 + packedLen);
  if (packed.size() > kMaxPackedHouse) {
    *error = "the house packs to " + std::to_string(packed.size()) +
             " bytes; clipboard text carries at most 65535";
    return {};
  }
  packed[0] = static_cast<uint8_t>(packed.size() & 0xFF);
  packed[1] = static_cast<uint8_t>((packed.size() >> 8) & 0xFF);

  std::vector<std::string> lines;
  std::string header = std::string(kVersionText) + "=";
  // A name with line ends would break the text apart.
  for (char c : houseName)
    if (c != '\r' && c != '\n') header += c;
  if (header.size() < size_t(lineWidth)) header.append(size_t(lineWidth) - header.size(), '=');
  lines.push_back(std::move(header));
  Base64Encode(packed, lines, lineWidth);
  lines.push_back(std::string(size_t(lineWidth), '='));

  std::string text;
  for (const std::string& l : lines) {
    text += l;
    text += "\r\n";
  }
  return text;
}

SaveResult ExportClipText(const TTAVIDoc& doc, ITextClipboard& clipboard, int lineWidth,
                          int baseHeight, const std::string& houseName) {
  SaveResult result;
  const std::string text = BuildClipText(*ImageOfDocument(doc), lineWidth, baseHeight, houseName,
                                         &result.error, &result.warning);
  if (text.empty()) return result;
  clipboard.SetText(text);
  result.ok = true;
  return result;
}

LoadResult ParseClipText(const std::string& text, HouseImage& image, std::string* houseName) {
  image.ClearTiles();
  const std::vector<std::string> lines = SplitLines(text);
  size_t header = 0;
  const size_t versionLen = std::strlen(kVersionText);
  while (header < lines.size() && lines[header].compare(0, versionLen, kVersionText) != 0) ++header;
  if (header >= lines.size()) return LoadResult::Failure("the text holds no house header");
  std::string name;
  const std::string& h = lines[header];
  if (h.size() > versionLen + 1) {
    name = h.substr(versionLen + 1);
    const size_t eq = name.find('=');
    if (eq != std::string::npos) name.erase(eq);
  }
  const std::vector<std::string> body(lines.begin() + std::ptrdiff_t(header) + 1, lines.end());
  std::vector<uint8_t> packed;
  Base64Decode(packed, body);
  if (packed.size() < 2) return LoadResult::Failure("the house text holds no data");
  const size_t sizeWord = packed[0] | (size_t(packed[1]) << 8);
  if (packed.size() != sizeWord)
    return LoadResult::Failure("the house text holds " + std::to_string(packed.size()) +
                               " bytes but its size word says " + std::to_string(sizeWord));
  std::vector<uint8_t> cells;
  std::string error;
  if (!Inflate(packed.data() + 2, packed.size() - 2, kMaxUnpackedHouse, &cells, &error))
    return LoadResult::Failure(error);
  const int base = DecodeCellStream(cells, image, &error);
  if (base < 0) return LoadResult::Failure(error);
  if (houseName) *houseName = name;
  return LoadResult::Success(base);
}

LoadResult ImportClipText(TTAVIDoc& doc, const ITextClipboard& clipboard, std::string* houseName) {
  if (!clipboard.HasText()) return LoadResult::Failure("the clipboard holds no text");
  auto image = NewHouseImage();
  std::string name;
  LoadResult result = ParseClipText(clipboard.GetText(), *image, &name);
  if (!result.ok) return result;
  TakeOverImage(doc, *image);
  if (houseName) *houseName = name;
  return result;
}

}  // namespace tavi
