#pragma once
// The client's tile facts: the item section of tiledata.mul, the art index
// (artidx.mul, or the entries of the packed art container), the light table,
// the category words, and the two art decoders that read pictures from
// art.mul or the container on demand.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "document/tile_facts.h"

namespace tavi {

constexpr int kMaxArtIndex = 131072;  // art index entries kept
constexpr int kMaxItems = 65536;      // item records read from tiledata.mul
constexpr int kCategoryIds = 0x4000;  // ids with a light and a category word
constexpr uint32_t kItemArtBase = 0x4000;

#pragma pack(push, 1)
// One item record of tiledata.mul, 41 bytes, as stored (little-endian).
struct TileInfo {
  uint64_t Flags;
  uint8_t Weight;
  uint8_t Other[11];
  uint8_t Height;
  char Name[20];  // NUL-padded; 20 characters have no terminator
};
#pragma pack(pop)
static_assert(sizeof(TileInfo) == 41, "TileInfo must be 41 bytes");

struct ArtIndexEntry {
  int32_t Offset;  // -1: no picture
  int32_t Length;
  int32_t Extra;
};
static_assert(sizeof(ArtIndexEntry) == 12, "ArtIndexEntry must be 12 bytes");

struct LightInfo {
  int8_t OffsetX;
  int8_t OffsetY;
  uint8_t Kind;  // 0 none; 1..3 radius (Kind - 0.5) * 44 pixels
  uint8_t Red, Green, Blue;
};

// A picture decoded for a texture: TexWidth x TexHeight RGBA pixels, rows top
// first, the picture in the top-left ArtWidth x ArtHeight.
struct ArtRGBA {
  std::vector<uint8_t> Pixels;
  int ArtWidth = 0, ArtHeight = 0, TexWidth = 0, TexHeight = 0;
};

// A 24-bit bitmap, rows top first, 3 bytes B, G, R per pixel, no row padding.
struct TBitmap24 {
  int Width = 0, Height = 0;
  std::vector<uint8_t> Bits;
  TBitmap24() = default;
  TBitmap24(int w, int h, uint8_t fill = 0)
      : Width(w), Height(h), Bits(size_t(w > 0 ? w : 0) * (h > 0 ? h : 0) * 3, fill) {}
  uint8_t* Pixel(int x, int y) { return &Bits[(size_t(y) * Width + x) * 3]; }
};

// How tiledata.mul lays out its records: current clients have 64-bit item
// flags (41-byte item records), older ones 32-bit flags (37-byte records, and
// 26-byte land records instead of 30).
enum class TileDataLayout { kFlags64, kFlags32 };

// Tells the two layouts apart by the file's size.
TileDataLayout TileDataLayoutForSize(uint64_t size);
// What is wrong with a tiledata.mul that loads all the same: it holds no
// item records (empty, or cut short in the land section), or it ends in the
// middle of a record block. Empty when nothing is.
std::string TileDataDamage(const std::string& path, uint32_t itemRecords);
// "64-bit flags" or "32-bit flags".
const char* TileDataLayoutName(TileDataLayout layout);
// Bytes per component record of the same client's multi.mul: 16, or 12 in
// clients whose tile data has 32-bit flags.
int MultiRecordSizeFor(TileDataLayout layout);

// Art indices looked up in a packed art container: every land tile and every
// item id the tile data can hold.
constexpr uint32_t kContainerArtIndices = kItemArtBase + uint32_t(kMaxItems);

class TileDataError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TUOTileData : public ITileFacts {
 public:
  // Reads the three files. `artPath` may name the packed art container
  // (artLegacyMUL.uop); `artIdxPath` is then not read. Throws TileDataError
  // naming the file that cannot be opened or read, or saying what is damaged
  // in the container.
  static std::unique_ptr<TUOTileData> Create(const std::string& artIdxPath,
                                             const std::string& tileDataPath,
                                             const std::string& artPath);
  ~TUOTileData() override;
  TUOTileData(const TUOTileData&) = delete;
  TUOTileData& operator=(const TUOTileData&) = delete;

  // ---- tables, read-only after construction ----
  uint32_t ItemIds[kMaxArtIndex];
  uint16_t ItemIndexOf[kMaxArtIndex];
  TileInfo ItemData[kMaxArtIndex];
  ArtIndexEntry ArtIndex[kMaxArtIndex];
  LightInfo Lights[kCategoryIds];
  uint16_t TileCategory[kCategoryIds];
  // Number of ids in ItemIds. Wider than the uint16 positions of ItemIndexOf:
  // a client with art for all 65536 items has 65536 of them.
  uint32_t ItemCount = 0;
  // Entries present in artidx.mul (at most kMaxArtIndex); with the art
  // container, every index looked up there (kContainerArtIndices).
  uint32_t ArtIndexCount = 0;
  // Item records read from tiledata.mul, with or without art.
  uint32_t ItemRecordCount = 0;
  TileDataLayout Layout = TileDataLayout::kFlags64;
  // What TileDataDamage found in tiledata.mul ("" when it looks whole).
  std::string Damage;
  // Entries of the art container left out for a compression this reader
  // cannot read (their pictures are missing).
  size_t ArtEntriesSkipped = 0;
  // Whether the pictures come from a packed container rather than art.mul.
  bool ArtInContainer = false;

  int MultiRecordSize() const { return MultiRecordSizeFor(Layout); }
  // Number of art indices that hold a picture.
  uint32_t PictureCount() const;

  // The light an item casts; Kind 0 (none) for ids without an entry.
  LightInfo LightOf(uint32_t id) const {
    return id < uint32_t(kCategoryIds) ? Lights[id] : LightInfo{0, 0, 0, 0, 0, 0};
  }
  // The item's name: at most 20 characters, up to the first NUL.
  std::string ItemName(uint32_t id) const;
  // Whether the art index holds a picture for this index: an entry of
  // artidx.mul whose offset is >= 0 and inside art.mul, or an entry of the
  // art container.
  bool HasArt(uint32_t index) const;

  // ITileFacts
  uint8_t TileHeight(uint16_t id) const override { return ItemData[id].Height; }
  bool IsBackground(uint16_t id) const override { return ItemData[id].Flags & 1; }
  // The door flag (bit 29 of the item flags).
  bool IsDoor(uint16_t id) const { return ItemData[id].Flags & 0x20000000; }
  uint16_t Category(uint16_t id) const override { return id < kCategoryIds ? TileCategory[id] : 0; }

  // Decodes a picture for a texture; false (and `out` untouched) when the
  // picture is absent or rejected.
  bool LoadArtRGBA(uint32_t index, ArtRGBA* out) const;
  // Paints a picture into a bitmap with its top-left corner at (x, y); item
  // art is centred horizontally. Pixels outside the bitmap are not written.
  void DrawArt(TBitmap24& bitmap, uint32_t index, int x, int y) const;

 private:
  TUOTileData();
  void ReadArtIndex(const std::string& artIdxPath);
  void ReadArtContainer(const std::string& artPath);
  void ReadItems(const std::string& tileDataPath);
  // Reads the item records of a current tiledata.mul, a regular file, straight
  // from the file; false when it cannot be opened.
  bool ReadWideItemFile(const std::string& tileDataPath);
  // Reads the item section of a tiledata.mul of either layout into memory,
  // and its records into ItemData.
  void ReadItemSection(const std::string& tileDataPath, bool wide);
  // Reads the item records of a current tiledata.mul from the open file into
  // ItemData; the number of bytes read from the item section on, or -1 when
  // the file cannot be read.
  int64_t ReadWideItems(int fd);
  // Sets each read id's place in the item list and lists the ids with art.
  void ListItems();
  int artFd_ = -1;
  int64_t artSize_ = 0;
};

}  // namespace tavi
