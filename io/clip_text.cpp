#include "io/clip_text.h"

#include <zlib.h>

#include <cstring>

#include "io/base64_variant.h"
#include "io/comma_text.h"
#include "io/house_file.h"

namespace tavi {

namespace {

constexpr int kMaxClipLineWidth = 4096;
constexpr size_t kMaxPackedHouse = 65535;  // the size word has 16 bits
constexpr uint16_t kMaxClipId = 16383;     // the id word keeps 14 bits

// One entry record of the cell stream, as written.
struct Record {
  uint8_t z = 0;    // the altitude kept to 6 bits
  uint16_t id = 0;  // the id word: bit 14, an x-extent follows; bit 15, a y-extent
  uint8_t xExtent = 0, yExtent = 0;
};

// One record or skip byte, as read.
struct StreamItem {
  bool skip = false;  // a skip byte: `count` cells, this one included
  int count = 0;
  int z = 0;
  unsigned word = 0;  // the id word with its extent bits
  int xExtent = 1, yExtent = 1;
  bool last = false;  // the cell's last record
};

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

// ---- encoder ----

// Why the plot word and the records cannot carry the house; empty when they can.
std::string CarryProblem(const HouseImage& image, int baseHeight) {
  const int W = image.Width, H = image.Height;
  if (W < 1 || W > 31 || H < 1 || H > 31)
    return "a plot of " + std::to_string(W) + "x" + std::to_string(H) +
           " cells cannot be carried as clipboard text (at most 31x31)";
  if (baseHeight < 0 || baseHeight > 31)
    return "base height " + std::to_string(baseHeight) + " cannot be carried (0..31)";
  for (int f = 0; f < kFloors; ++f)
    for (int layer = 0; layer < kLayers; ++layer)
      for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
          const uint16_t id = image.Tiles[f][layer][y][x].Id;
          if (id > kMaxClipId)
            return "tile " + std::to_string(id) + " on floor " + std::to_string(f) + " at " +
                   std::to_string(x) + "," + std::to_string(y) +
                   " cannot be carried as clipboard text (ids up to 16383)";
        }
  return {};
}

void PutWord(std::vector<uint8_t>& out, unsigned word) {
  out.push_back(static_cast<uint8_t>(word & 0xFF));
  out.push_back(static_cast<uint8_t>((word >> 8) & 0xFF));
}

bool Matches(const TileEntry& e, uint16_t id, uint8_t z6) {
  return e.Id == id && (static_cast<uint16_t>(e.Z) & 63) == z6;
}

// The record of the entry at (x, y) of a layer. When the entry heads a block
// of at least two rows of the same tile (counted down its column first, then
// across the columns all those rows share), the record covers the block and
// the block is blanked out of `fl` so that later cells do not write it again.
Record TakeRecord(FloorImage& fl, int layer, int x, int y, int W, int H) {
  Record rec;
  const uint16_t id = fl[layer][y][x].Id;
  rec.z = static_cast<uint8_t>(static_cast<uint16_t>(fl[layer][y][x].Z) & 63);
  rec.id = id;
  int rows = 0;
  for (int r = y + 1; r < H && Matches(fl[layer][r][x], id, rec.z); ++r) ++rows;
  if (rows < 2) return rec;
  int columns = 0;
  for (int k = x; k < W; ++k) {
    bool all = true;
    for (int r = y; r < y + rows && all; ++r) all = Matches(fl[layer][r][k], id, rec.z);
    if (!all) break;
    ++columns;
  }
  for (int r = y; r < y + rows; ++r)
    for (int k = x; k < x + columns; ++k) fl[layer][r][k].Id = 0;
  rec.id |= 0x8000;
  rec.yExtent = static_cast<uint8_t>(rows);
  if (columns > 1) {
    rec.id |= 0x4000;
    rec.xExtent = static_cast<uint8_t>(columns);
  }
  return rec;
}

// Writes records and skip bytes in cell order. Empty cells are counted and
// written as one skip byte before the next record, or whenever 127 have
// gathered; the empty cells at the end of the stream are never written.
class CellWriter {
 public:
  explicit CellWriter(std::vector<uint8_t>& out) : out_(out) {}

  void PutRecord(const Record& r, bool last) {
    if (pendingEmpty_ > 0) {
      out_.push_back(static_cast<uint8_t>(0x80 | pendingEmpty_));
      pendingEmpty_ = 0;
    }
    out_.push_back(static_cast<uint8_t>(r.z | (last ? 0x40 : 0)));
    PutWord(out_, r.id);
    if (r.id & 0x4000) out_.push_back(r.xExtent);
    if (r.id & 0x8000) out_.push_back(r.yExtent);
  }
  void EmptyCell() {
    if (++pendingEmpty_ == 127) {
      out_.push_back(0xFF);
      pendingEmpty_ = 0;
    }
  }

 private:
  std::vector<uint8_t>& out_;
  int pendingEmpty_ = 0;
};

// Writes one cell: a record per entry (rectangles take their covered cells'
// entries along), the last one flagged; or nothing but a count when no entry
// is left.
void EncodeCell(FloorImage& fl, int x, int y, int W, int H, CellWriter& writer) {
  bool held = false;  // tracked apart from the id word: 0xFFFF is a valid word
  Record rec;
  for (int layer = 0; layer < kLayers; ++layer) {
    if (fl[layer][y][x].Id == 0) continue;
    if (held) writer.PutRecord(rec, false);
    rec = TakeRecord(fl, layer, x, y, W, H);
    held = true;
  }
  if (held)
    writer.PutRecord(rec, true);
  else
    writer.EmptyCell();
}

// ---- decoder ----

// Reads the next record or skip byte at `pos`; false when the data ends first.
bool ReadItem(const std::vector<uint8_t>& data, size_t& pos, StreamItem* item) {
  const size_t size = data.size();
  if (pos >= size) return false;
  const uint8_t b = data[pos++];
  *item = StreamItem();
  if (b & 0x80) {
    item->skip = true;
    item->count = b & 127;
    return true;
  }
  item->z = (b & 32) ? (b & 63) - 64 : (b & 63);
  item->last = (b & 0x40) != 0;
  if (pos + 2 > size) return false;
  item->word = data[pos] | (unsigned(data[pos + 1]) << 8);
  pos += 2;
  if (item->word & 0x4000) {
    if (pos >= size) return false;
    item->xExtent = data[pos++];
  }
  if (item->word & 0x8000) {
    if (pos >= size) return false;
    item->yExtent = data[pos++];
  }
  return true;
}

// Puts a record into the lowest empty layer of its cell (a full cell drops
// it), and a rectangle's tile into that layer of every cell it covers,
// whatever lay there, clipped to the plot.
void PlaceRecord(FloorImage& fl, int x, int y, int W, int H, const StreamItem& r) {
  int layer = 0;
  while (layer < kLayers && fl[layer][y][x].Id != 0) ++layer;
  if (layer >= kLayers) return;
  const TileEntry e{static_cast<int16_t>(r.z), static_cast<uint16_t>(r.word & 16383), 0};
  fl[layer][y][x].Id = e.Id;
  fl[layer][y][x].Z = e.Z;
  if (!(r.word & 0xC000)) return;
  for (int row = y; row < y + r.yExtent && row < H; ++row)
    for (int col = x; col < x + r.xExtent && col < W; ++col) {
      fl[layer][row][col].Id = e.Id;
      fl[layer][row][col].Z = e.Z;
    }
}

// Reads the records of one cell up to its last one, or a skip byte, which
// leaves the cells it counts after this one in *skip. False when the data
// ends first.
bool DecodeCell(const std::vector<uint8_t>& data, size_t& pos, FloorImage& fl, int x, int y, int W,
                int H, int* skip) {
  StreamItem item;
  for (;;) {
    if (!ReadItem(data, pos, &item)) return false;
    if (item.skip) {
      *skip = item.count - 1;
      return true;
    }
    PlaceRecord(fl, x, y, W, H, item);
    if (item.last) return true;
  }
}

}  // namespace

bool EncodeCellStream(const HouseImage& image, std::vector<uint8_t>* out, std::string* error) {
  out->clear();
  const int baseHeight = image.BaseHeight;
  const std::string problem = CarryProblem(image, baseHeight);
  if (!problem.empty()) {
    *error = problem;
    return false;
  }
  const int W = image.Width, H = image.Height;
  PutWord(*out, unsigned(W << 10 | H << 5 | baseHeight));
  // Rectangles are blanked out of a working copy as they are written.
  auto work = std::make_unique<HouseImage>();
  std::memcpy(work->Tiles, image.Tiles, sizeof(work->Tiles));
  CellWriter writer(*out);
  for (int f = 0; f < kFloors; ++f)
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) EncodeCell(work->Tiles[f], x, y, W, H, writer);
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
  image.SetBaseHeight(base);
  size_t pos = 2;
  int skip = 0;
  bool more = true;
  for (int f = 0; f < kFloors && more; ++f)
    for (int y = 0; y < H && more; ++y)
      for (int x = 0; x < W && more; ++x) {
        if (skip > 0)
          --skip;
        else
          more = DecodeCell(data, pos, image.Tiles[f], x, y, W, H, &skip);
      }
  // Rectangles write their layer whatever lies below it; close the gaps so
  // that no entry hides above an empty layer.
  image.CompactStacks();
  return base;
}

namespace {

// The entries inside the plot whose altitude the 6-bit field of a record
// cannot hold (-32..31); they come back at other altitudes.
int CountOutOfRangeAltitudes(const HouseImage& image) {
  int count = 0;
  for (int f = 0; f < kFloors; ++f)
    for (int layer = 0; layer < kLayers; ++layer)
      for (int y = 0; y < image.Height; ++y)
        for (int x = 0; x < image.Width; ++x) {
          const TileEntry& e = image.Tiles[f][layer][y][x];
          if (e.Id != 0 && (e.Z < -32 || e.Z > 31)) ++count;
        }
  return count;
}

// Packs the cell stream with zlib behind its 16-bit size word (the size of
// the whole, word included, low byte first); false when it cannot be packed
// or packs too large for the word.
bool PackCells(const std::vector<uint8_t>& cells, std::vector<uint8_t>* packed,
               std::string* error) {
  packed->assign(2 + compressBound(static_cast<uLong>(cells.size())), 0);
  uLongf packedLen = static_cast<uLongf>(packed->size() - 2);
  if (compress2(packed->data() + 2, &packedLen, cells.data(), static_cast<uLong>(cells.size()),
                Z_DEFAULT_COMPRESSION) != Z_OK) {
    *error = "the house could not be packed";
    return false;
  }
  packed->resize(2 + packedLen);
  if (packed->size() > kMaxPackedHouse) {
    *error = "the house packs to " + std::to_string(packed->size()) +
             " bytes; clipboard text carries at most 65535";
    return false;
  }
  (*packed)[0] = static_cast<uint8_t>(packed->size() & 0xFF);
  (*packed)[1] = static_cast<uint8_t>((packed->size() >> 8) & 0xFF);
  return true;
}

// The first line: the version text, "=", the house's name and "=" up to the
// line width.
std::string ClipHeaderLine(const std::string& houseName, int lineWidth) {
  std::string header = std::string(kVersionText) + "=";
  // A name with line ends would break the text apart.
  for (char c : houseName)
    if (c != '\r' && c != '\n') header += c;
  if (header.size() < size_t(lineWidth)) header.append(size_t(lineWidth) - header.size(), '=');
  return header;
}

// The header line, the packed house in lines of lineWidth characters and a
// closing line of "=", each ended by CR LF.
std::string ClipTextLines(const std::vector<uint8_t>& packed, int lineWidth,
                          const std::string& houseName) {
  std::vector<std::string> lines;
  lines.push_back(ClipHeaderLine(houseName, lineWidth));
  Base64Encode(packed, lines, lineWidth);
  lines.push_back(std::string(size_t(lineWidth), '='));
  std::string text;
  for (const std::string& l : lines) {
    text += l;
    text += "\r\n";
  }
  return text;
}

}  // namespace

std::string BuildClipText(const HouseImage& image, int lineWidth, const std::string& houseName,
                          std::string* error, std::string* warning) {
  if (lineWidth < 1 || lineWidth > kMaxClipLineWidth) {
    *error = "line width " + std::to_string(lineWidth) + " is outside 1.." +
             std::to_string(kMaxClipLineWidth);
    return {};
  }
  std::vector<uint8_t> cells;
  if (!EncodeCellStream(image, &cells, error)) return {};
  // The plot fits 31 x 31 here: EncodeCellStream refuses any other.
  const int outOfRange = CountOutOfRangeAltitudes(image);
  if (warning) {
    warning->clear();
    if (outOfRange > 0)
      *warning = std::to_string(outOfRange) +
                 " tiles lie outside altitudes -32..31 of their floor and will come back at "
                 "other altitudes";
  }
  std::vector<uint8_t> packed;
  if (!PackCells(cells, &packed, error)) return {};
  return ClipTextLines(packed, lineWidth, houseName);
}

SaveResult ExportClipText(const TTAVIDoc& doc, ITextClipboard& clipboard, int lineWidth,
                          const std::string& houseName) {
  SaveResult result;
  const std::string text =
      BuildClipText(*ImageOfDocument(doc), lineWidth, houseName, &result.error, &result.warning);
  if (text.empty()) return result;
  clipboard.SetText(text);
  result.ok = true;
  return result;
}

LoadResult ParseClipText(const std::string& text, HouseImage& image, std::string* houseName) {
  image.ClearTiles();
  // The lines are walked in place: a text of millions of lines costs no
  // string per line.
  const size_t versionLen = std::strlen(kVersionText);
  size_t pos = 0, headerEnd = std::string::npos;
  std::string_view h;
  while (pos < text.size()) {
    size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string::npos) end = text.size();
    if (text.compare(pos, versionLen, kVersionText) == 0 && end - pos >= versionLen) {
      h = std::string_view(text).substr(pos, end - pos);
      headerEnd = end;
      break;
    }
    pos = end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n'
              ? end + 2
              : end + 1;
  }
  if (headerEnd == std::string::npos) return LoadResult::Failure("the text holds no house header");
  std::string name;
  if (h.size() > versionLen + 1) {
    name = std::string(h.substr(versionLen + 1));
    const size_t eq = name.find('=');
    if (eq != std::string::npos) name.erase(eq);
  }
  std::vector<uint8_t> packed;
  Base64Decode(packed, std::string_view(text).substr(headerEnd));
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
