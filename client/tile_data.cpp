#include "client/tile_data.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "client/file_reader.h"
#include "client/light_table.h"
#include "document/aos_tables.h"

namespace tavi {

namespace {

// tiledata.mul starts with 512 blocks of land records (a 4-byte header and 32
// records of 30 bytes each); the item section follows.
constexpr size_t kItemSectionStart = 493568;
constexpr size_t kItemRecordSize = sizeof(TileInfo);
constexpr size_t kItemsPerBlock = 32;
constexpr size_t kBlockHeaderSize = 4;
constexpr size_t kItemSectionMax =
    (kMaxItems / kItemsPerBlock) * (kBlockHeaderSize + kItemsPerBlock * kItemRecordSize);

int32_t ReadI32(const uint8_t* p) {
  return int32_t(uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) |
                 (uint32_t(p[3]) << 24));
}

}  // namespace

TUOTileData::TUOTileData() {
  std::memset(ItemIds, 0, sizeof(ItemIds));
  std::memset(ItemIndexOf, 0, sizeof(ItemIndexOf));
  std::memset(ItemData, 0, sizeof(ItemData));
  std::memset(ArtIndex, 0, sizeof(ArtIndex));
  std::memset(Lights, 0, sizeof(Lights));
  std::memset(TileCategory, 0, sizeof(TileCategory));
}

TUOTileData::~TUOTileData() {
  if (artFd_ >= 0) ::close(artFd_);
}

std::unique_ptr<TUOTileData> TUOTileData::Create(const std::string& artIdxPath,
                                                 const std::string& tileDataPath,
                                                 const std::string& artPath) {
  std::unique_ptr<TUOTileData> t(new TUOTileData());

  // The art index, whole; entries past the capacity of the table are not
  // kept (no picture number reaches them).
  std::vector<uint8_t> bytes;
  if (!ReadFileBounded(artIdxPath, sizeof(ArtIndex), &bytes))
    throw TileDataError("Cannot read the art index " + artIdxPath);
  t->ArtIndexCount = uint32_t((bytes.size() + sizeof(ArtIndexEntry) - 1) / sizeof(ArtIndexEntry));
  bytes.resize(size_t(t->ArtIndexCount) * sizeof(ArtIndexEntry), 0);
  for (uint32_t i = 0; i < t->ArtIndexCount; ++i) {
    const uint8_t* p = &bytes[size_t(i) * sizeof(ArtIndexEntry)];
    t->ArtIndex[i] = ArtIndexEntry{ReadI32(p), ReadI32(p + 4), ReadI32(p + 8)};
  }

  // art.mul stays open for the decoders.
  t->artFd_ = ::open(artPath.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat st {};
  if (t->artFd_ < 0 || ::fstat(t->artFd_, &st) != 0 || S_ISDIR(st.st_mode))
    throw TileDataError("Cannot open the art file " + artPath);
  t->artSize_ = int64_t(st.st_size);

  // The item records, 32 to a block, each block after a 4-byte header.
  if (!ReadFileBounded(tileDataPath, kItemSectionStart + kItemSectionMax, &bytes))
    throw TileDataError("Cannot read the tile data " + tileDataPath);
  size_t pos = kItemSectionStart;
  for (uint32_t id = 0; id < uint32_t(kMaxItems); ++id) {
    if (pos >= bytes.size()) break;
    if (id % kItemsPerBlock == 0) pos += kBlockHeaderSize;
    if (pos < bytes.size()) {
      // A record cut short by the end of the file keeps zeros in the rest.
      const size_t n = std::min(kItemRecordSize, bytes.size() - pos);
      std::memcpy(&t->ItemData[id], &bytes[pos], n);
    }
    pos += kItemRecordSize;
    t->ItemIndexOf[id] = uint16_t(t->ItemCount);
    // An index entry past the end of artidx.mul reads as offset 0: present.
    if (t->ArtIndex[kItemArtBase + id].Offset >= 0) t->ItemIds[t->ItemCount++] = id;
  }

  // Light sources and category words.
  BuildLights(t->Lights, kCategoryIds);
  const TUOTileData* self = t.get();
  BuildTileCategories([self](uint16_t id) { return int(self->ItemData[id].Height); },
                      t->TileCategory);
  return t;
}

std::string TUOTileData::ItemName(uint32_t id) const {
  if (id >= uint32_t(kMaxArtIndex)) return std::string();
  const char* name = ItemData[id].Name;
  return std::string(name, strnlen(name, sizeof(ItemData[id].Name)));
}

bool TUOTileData::HasArt(uint32_t index) const {
  // Entries past the end of artidx.mul read as offset 0 in the table, but
  // they name no picture.
  if (index >= ArtIndexCount) return false;
  const int32_t offset = ArtIndex[index].Offset;
  return offset >= 0 && int64_t(offset) < artSize_;
}

}  // namespace tavi
