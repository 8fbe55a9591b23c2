#include "client/tile_data.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

#include "client/art_names.h"
#include "client/container.h"
#include "client/file_reader.h"
#include "client/light_table.h"
#include "document/aos_tables.h"

namespace tavi {

namespace {

// tiledata.mul starts with 512 blocks of land records (a 4-byte header and 32
// records); the item section follows, in blocks of a header and 32 records.
constexpr size_t kLandBlocks = 512;
constexpr size_t kItemsPerBlock = 32;
constexpr size_t kBlockHeaderSize = 4;
constexpr size_t kLandRecord64 = 30, kLandRecord32 = 26;
constexpr size_t kItemRecord64 = sizeof(TileInfo), kItemRecord32 = 37;
constexpr size_t kLandSection64 = kLandBlocks * (kBlockHeaderSize + kItemsPerBlock * kLandRecord64);
constexpr size_t kLandSection32 = kLandBlocks * (kBlockHeaderSize + kItemsPerBlock * kLandRecord32);
constexpr size_t kItemBlock64 = kBlockHeaderSize + kItemsPerBlock * kItemRecord64;
constexpr size_t kItemBlock32 = kBlockHeaderSize + kItemsPerBlock * kItemRecord32;
// The size of a full current tiledata.mul: anything this large is current.
constexpr uint64_t kFullTileData64 = 3188736;
static_assert(kArtNames == kContainerArtIndices, "a name for every art index of a container");
static_assert(kLandSection64 == 493568 && kLandSection32 == 428032, "land sections");

int32_t ReadI32(const uint8_t* p) {
  return int32_t(uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) |
                 (uint32_t(p[3]) << 24));
}

// One item record as the file holds it (zeros past its end) into its place:
// the 32-bit flags of the older layout widen, the fields after them are the
// same.
inline void StoreItemRecord(const uint8_t (&raw)[kItemRecord64], bool wide, TileInfo* info) {
  if (wide) {
    std::memcpy(info, raw, kItemRecord64);
  } else {
    info->Flags = uint64_t(uint32_t(ReadI32(raw)));
    std::memcpy(&info->Weight, raw + 4, kItemRecord32 - 4);
  }
}

}  // namespace

TileDataLayout TileDataLayoutForSize(uint64_t size) {
  if (size >= kFullTileData64 ||
      (size >= kLandSection64 && (size - kLandSection64) % kItemBlock64 == 0))
    return TileDataLayout::kFlags64;
  if (size >= kLandSection32 && (size - kLandSection32) % kItemBlock32 == 0)
    return TileDataLayout::kFlags32;
  return TileDataLayout::kFlags64;
}

std::string TileDataDamage(const std::string& path, uint32_t itemRecords) {
  if (itemRecords == 0)
    return "the tile data '" + path + "' holds no item records: it is empty or cut short";
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return "";
  const uint64_t size = uint64_t(st.st_size);
  const bool whole64 = size >= kLandSection64 && (size - kLandSection64) % kItemBlock64 == 0;
  const bool whole32 = size >= kLandSection32 && (size - kLandSection32) % kItemBlock32 == 0;
  if (size < kFullTileData64 && !whole64 && !whole32)
    return "the tile data '" + path + "' ends in the middle of a record block: it is cut short";
  return "";
}

const char* TileDataLayoutName(TileDataLayout layout) {
  return layout == TileDataLayout::kFlags32 ? "32-bit flags" : "64-bit flags";
}

int MultiRecordSizeFor(TileDataLayout layout) {
  return layout == TileDataLayout::kFlags32 ? 12 : 16;
}

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
  if (IsContainerPath(artPath)) {
    t->ReadArtContainer(artPath);
  } else {
    t->ReadArtIndex(artIdxPath);
    // art.mul stays open for the decoders.
    t->artFd_ = ::open(artPath.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st {};
    if (t->artFd_ < 0 || ::fstat(t->artFd_, &st) != 0 || S_ISDIR(st.st_mode))
      throw TileDataError("Cannot open the art file " + artPath);
    t->artSize_ = int64_t(st.st_size);
  }
  t->ReadItems(tileDataPath);
  t->Damage = TileDataDamage(tileDataPath, t->ItemRecordCount);

  // Light sources and category words.
  BuildLights(t->Lights, kCategoryIds);
  const TUOTileData* self = t.get();
  BuildTileCategories([self](uint16_t id) { return int(self->ItemData[id].Height); },
                      t->TileCategory);
  return t;
}

void TUOTileData::ReadArtIndex(const std::string& artIdxPath) {
  // The art index, whole; entries past the capacity of the table are not
  // kept (no picture number reaches them).
  std::vector<uint8_t> bytes;
  if (!ReadFileBounded(artIdxPath, sizeof(ArtIndex), &bytes))
    throw TileDataError("Cannot read the art index " + artIdxPath);
  ArtIndexCount = uint32_t((bytes.size() + sizeof(ArtIndexEntry) - 1) / sizeof(ArtIndexEntry));
  bytes.resize(size_t(ArtIndexCount) * sizeof(ArtIndexEntry), 0);
  for (uint32_t i = 0; i < ArtIndexCount; ++i) {
    const uint8_t* p = &bytes[size_t(i) * sizeof(ArtIndexEntry)];
    ArtIndex[i] = ArtIndexEntry{ReadI32(p), ReadI32(p + 4), ReadI32(p + 8)};
  }
}

void TUOTileData::ReadArtContainer(const std::string& artPath) {
  // Only the tables are read here; the pictures are read from the open file
  // by the decoders, as from art.mul. A picture absent from the container is
  // absent art, as offset -1 is in artidx.mul. The entries are walked once,
  // in file order, and each one's hash is matched with the picture names'
  // (client/art_names.h); the first readable entry of a name decides its
  // picture, as a lookup by name would find it.
  for (uint32_t i = 0; i < kContainerArtIndices; ++i) ArtIndex[i] = ArtIndexEntry{-1, 0, 0};
  // A byte per index rather than a bit: neighbouring indices then do not
  // wait on each other's store.
  std::vector<uint8_t> decided(kContainerArtIndices, 0);
  bool beyond2GB = false;
  ArtNameMatcher names;
  const PackedContainer::EntrySink sink = [&](const ContainerEntry* entries, size_t count) {
    constexpr size_t kAhead = 32;    // table slots fetched ahead of their probe
    ArtNameMatcher matcher = names;  // kept in registers over the batch
    uint8_t* const done = decided.data();
    for (size_t i = 0; i < count; ++i) {
      // Out of order, the table is probed: its slots are fetched ahead.
      if (!matcher.InOrder() && i + kAhead < count) PrefetchArtNameSlot(entries[i + kAhead].hash);
      const ContainerEntry& e = entries[i];
      const int32_t index = matcher.IndexOf(e.hash);
      if (index < 0 || done[index]) continue;
      done[index] = 1;
      // Pictures are stored as they are; a packed or empty one is not a picture.
      if (e.compression != ContainerCompression::kNone || e.storedLength == 0) continue;
      if (e.payloadOffset > INT32_MAX) {
        beyond2GB = true;
        continue;
      }
      ArtIndex[index] = ArtIndexEntry{int32_t(e.payloadOffset), e.storedLength, 0};
    }
    names = matcher;
  };
  std::string error;
  const std::unique_ptr<PackedContainer> c = PackedContainer::Scan(artPath, sink, &error);
  if (!c) throw TileDataError("Cannot read the art container " + error);
  if (beyond2GB)
    throw TileDataError("Cannot read the art container '" + artPath +
                        "': a picture lies beyond 2 GB");
  ArtInContainer = true;
  ArtEntriesSkipped = c->UnreadableCount();
  ArtIndexCount = kContainerArtIndices;
  artFd_ = ::fcntl(c->Fd(), F_DUPFD_CLOEXEC, 0);
  if (artFd_ < 0) throw TileDataError("Cannot open the art file " + artPath);
  artSize_ = c->Size();
}

namespace {

// The item records that start in the first `bytes` bytes of a current item
// section, the first of a block counting from its header on.
size_t WideRecordsStarted(size_t bytes) {
  const size_t blocks = bytes / kItemBlock64, rest = bytes % kItemBlock64;
  size_t records = blocks * kItemsPerBlock;
  if (rest > 0)
    records += 1 + std::min(kItemsPerBlock - 1, rest > kBlockHeaderSize + kItemRecord64
                                                    ? (rest - kBlockHeaderSize - 1) / kItemRecord64
                                                    : 0);
  return records;
}

}  // namespace

void TUOTileData::ReadItems(const std::string& tileDataPath) {
  struct stat st {};
  if (::stat(tileDataPath.c_str(), &st) != 0 || S_ISDIR(st.st_mode))
    throw TileDataError("Cannot read the tile data " + tileDataPath);
  Layout = TileDataLayoutForSize(uint64_t(st.st_size));
  const bool wide = Layout == TileDataLayout::kFlags64;
  // A current file: its records go to ItemData as they are.
  if (!wide || !S_ISREG(st.st_mode) || !ReadWideItemFile(tileDataPath))
    ReadItemSection(tileDataPath, wide);
  ListItems();
}

bool TUOTileData::ReadWideItemFile(const std::string& tileDataPath) {
  // O_NONBLOCK: a FIFO put in the file's place must not hold the open.
  const int fd = ::open(tileDataPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  const int64_t got = ReadWideItems(fd);
  ::close(fd);
  if (got < 0) throw TileDataError("Cannot read the tile data " + tileDataPath);
  // Every record that starts in the file counts, as in ReadItemSection.
  ItemRecordCount = uint32_t(std::min<size_t>(WideRecordsStarted(size_t(got)), kMaxItems));
  return true;
}

void TUOTileData::ReadItemSection(const std::string& tileDataPath, bool wide) {
  const size_t start = wide ? kLandSection64 : kLandSection32;
  const size_t record = wide ? kItemRecord64 : kItemRecord32;
  const size_t sectionMax =
      (kMaxItems / kItemsPerBlock) * (kBlockHeaderSize + kItemsPerBlock * record);
  // The item records, 32 to a block, each block after a 4-byte header.
  std::vector<uint8_t> bytes;
  if (!ReadFileBounded(tileDataPath, start + sectionMax, &bytes))
    throw TileDataError("Cannot read the tile data " + tileDataPath);
  size_t pos = start;
  uint32_t id = 0;
  for (; id < uint32_t(kMaxItems); ++id) {
    if (pos >= bytes.size()) break;
    if (id % kItemsPerBlock == 0) pos += kBlockHeaderSize;
    if (pos < bytes.size()) {
      // A record cut short by the end of the file keeps zeros in the rest.
      uint8_t raw[kItemRecord64] = {};
      std::memcpy(raw, &bytes[pos], std::min(record, bytes.size() - pos));
      StoreItemRecord(raw, wide, &ItemData[id]);
    }
    pos += record;
  }
  ItemRecordCount = id;
}

int64_t TUOTileData::ReadWideItems(int fd) {
  // The item section is read a few dozen blocks at a time into a buffer that
  // stays in the cache, and each block's records are copied to their place
  // past its header. Records the file does not hold stay zero, and so do the
  // missing bytes of a record the end of the file cuts short.
  constexpr size_t kBlocks = kMaxItems / kItemsPerBlock;
  constexpr size_t kBlockRecords = kItemsPerBlock * kItemRecord64;
  constexpr size_t kChunkBlocks = 48;  // 63,168 bytes
  const std::unique_ptr<uint8_t[]> chunk(new uint8_t[kChunkBlocks * kItemBlock64]);
  uint8_t* const data = reinterpret_cast<uint8_t*>(ItemData);
  int64_t total = 0;
  for (size_t first = 0; first < kBlocks; first += kChunkBlocks) {
    const size_t want = std::min(kChunkBlocks, kBlocks - first) * kItemBlock64;
    const off_t at = off_t(kLandSection64 + first * kItemBlock64);
    size_t got = 0;
    while (got < want) {
      const ssize_t n = ::pread(fd, chunk.get() + got, want - got, at + off_t(got));
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return -1;
      if (n == 0) break;  // the end of the file
      got += size_t(n);
    }
    for (size_t b = 0; b * kItemBlock64 + kBlockHeaderSize < got; ++b) {
      const size_t from = b * kItemBlock64 + kBlockHeaderSize;
      std::memcpy(data + (first + b) * kBlockRecords, chunk.get() + from,
                  std::min(kBlockRecords, got - from));
    }
    total += int64_t(got);
    if (got < want) break;
  }
  return total;
}

void TUOTileData::ListItems() {
  // Each id is written at the list's end and kept there only when it has
  // art: no branch per id. An index entry past the end of artidx.mul reads
  // as offset 0: present.
  uint32_t listed = 0;
  for (uint32_t id = 0; id < ItemRecordCount; ++id) {
    ItemIndexOf[id] = uint16_t(listed);
    ItemIds[listed] = id;
    listed += ArtIndex[kItemArtBase + id].Offset >= 0 ? 1 : 0;
  }
  ItemIds[listed] = 0;  // an id without art left at the end is no entry
  ItemCount = listed;
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

uint32_t TUOTileData::PictureCount() const {
  uint32_t n = 0;
  for (uint32_t i = 0; i < ArtIndexCount; ++i) n += HasArt(i);
  return n;
}

}  // namespace tavi
