#pragma once
// Packed client files (*.uop): a 40-byte header, a chain of tables of 34-byte
// entries, and the payloads the entries point at. Entries are found by the
// 64-bit hash of their lower-case name; names themselves are not stored.
//
// Everything read from the file is bounded: offsets and lengths past the end,
// negative values, table chains that loop back, more entries than the file
// can hold, payloads that do not inflate or inflate beyond the caller's cap.
// Any of these is a damaged container, reported with a one-line message.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace tavi {

constexpr uint32_t kContainerMagic = 0x0050594D;  // "MYP\0"
constexpr uint32_t kContainerSignature = 0xFD23EC43;
constexpr size_t kContainerHeaderSize = 40;
constexpr size_t kContainerTableHeaderSize = 12;
constexpr size_t kContainerEntrySize = 34;
// A real container has a few hundred tables at most.
constexpr size_t kMaxContainerTables = 65536;

// lookup3's hashlittle2 over `length` bytes: both values go in as the initial
// values and come back as the two outputs.
void HashLittle2(const void* key, size_t length, uint32_t* pc, uint32_t* pb);

// The stored hash of an entry name: hashlittle2 with both initial values 0
// over the lower-case name, (pb << 32) | pc.
uint64_t ContainerNameHash(const std::string& name);

// Hashes of names that differ only in a decimal number: `prefix`, the
// number zero-padded to `digits` digits, `suffix` (all lower case). Numbers
// hashed in rising order share the work on the name's leading 12-byte
// blocks, which is most of it: opening a client hashes every picture name.
class NumberedNameHasher {
 public:
  NumberedNameHasher(const std::string& prefix, int digits, const std::string& suffix);
  uint64_t Hash(uint32_t number);

 private:
  void SetByte(size_t at, char ch);

  std::string name_;
  size_t digitsAt_;
  int digits_;
  size_t blocks_;     // full 12-byte blocks before the last 1..12 bytes
  size_t valid_ = 0;  // states_[0..valid_] hold the state before each block
  uint32_t last_ = 0;
  bool hashed_ = false;
  std::vector<uint32_t> states_;  // a, b, c before block k at 3k
  uint32_t tail_[3] = {0, 0, 0};  // the bytes after the last block, as words
};

// Whether the path names a packed container: its name ends in ".uop"
// (ignoring case), or the file starts with the container's magic and
// signature. A loose client file never does.
bool IsContainerPath(const std::string& path);

enum class ContainerCompression : int16_t { kNone = 0, kZlib = 1 };

struct ContainerEntry {
  uint64_t hash = 0;
  int64_t payloadOffset = 0;  // data offset + header length
  int32_t storedLength = 0;
  int32_t decompressedLength = 0;
  ContainerCompression compression = ContainerCompression::kNone;
};

class PackedContainer {
 public:
  // Opens the file and reads its header and table chain. Null with a message
  // naming the file when it cannot be opened or is damaged.
  static std::unique_ptr<PackedContainer> Open(const std::string& path, std::string* error);
  // The same over bytes in memory; `name` is used in messages.
  static std::unique_ptr<PackedContainer> FromBytes(std::vector<uint8_t> bytes,
                                                    const std::string& name, std::string* error);
  // Receives the readable entries of one table at a time.
  using EntrySink = std::function<void(const ContainerEntry* entries, size_t count)>;
  // Opens and checks the file as Open does, but hands the readable entries to
  // `sink` table by table, in file order, instead of keeping them, equal
  // hashes included (the first of them is the one Find would give). For a
  // reader that knows the hashes it wants ahead: nothing is looked up, and
  // the container it returns finds nothing; its file stays open for the
  // payloads. When it fails, whatever the sink got is to be thrown away.
  static std::unique_ptr<PackedContainer> Scan(const std::string& path, const EntrySink& sink,
                                               std::string* error);
  ~PackedContainer();
  PackedContainer(const PackedContainer&) = delete;
  PackedContainer& operator=(const PackedContainer&) = delete;

  uint32_t Version() const { return version_; }
  // Entries that can be read (empty slots and entries of an unknown
  // compression are left out); the first of equal hashes is kept.
  size_t EntryCount() const { return entries_.size(); }
  size_t TableCount() const { return tables_; }
  const std::vector<ContainerEntry>& Entries() const { return entries_; }

  // Entries left out because their compression is none this reader knows
  // (an entry appears here and not in Find).
  size_t UnreadableCount() const { return unreadable_.size(); }
  bool IsUnreadable(uint64_t hash) const;

  const ContainerEntry* Find(uint64_t hash) const;
  // A hint that Find(hash) follows soon: its slot is fetched meanwhile.
  void Prefetch(uint64_t hash) const {
    if (!slots_.empty()) __builtin_prefetch(&slots_[SlotOf(hash)]);
  }
  const ContainerEntry* FindName(const std::string& name) const {
    return Find(ContainerNameHash(name));
  }

  // The payload of an entry, inflated when stored with zlib. An entry whose
  // size (stored, or declared inflated) exceeds maxBytes, that does not
  // inflate, or that inflates to another size than declared fails with a
  // message.
  bool ReadPayload(const ContainerEntry& entry, size_t maxBytes, std::vector<uint8_t>* out,
                   std::string* error) const;

  // The open file, for readers that take pictures straight from it (-1 for
  // a container in memory), and its size.
  int Fd() const { return fd_; }
  int64_t Size() const { return size_; }
  const std::string& Name() const { return name_; }

 private:
  PackedContainer() = default;
  bool ReadAt(int64_t offset, void* dst, size_t n) const;
  // Load reads the header, walks the table chain and decodes every table:
  bool Load(const EntrySink* sink, std::string* error);
  // The header's magic, version and signature; an empty text when good.
  std::string CheckHeader(const uint8_t* header);
  // The table heads from `first` on: offsets and entry counts, checked
  // against the file, the chain against loops; *claimed sums the counts.
  std::string WalkTables(uint64_t first, std::vector<std::pair<uint64_t, int32_t>>* tables,
                         uint64_t* claimed);
  // One table's entries into `out` (room for `count`), skipping empty slots
  // and unknown compressions; *kept is how many were written.
  std::string DecodeTable(uint64_t offset, int32_t count, std::vector<uint8_t>& table,
                          ContainerEntry* out, size_t* kept);
  static std::unique_ptr<PackedContainer> OpenFile(const std::string& path, std::string* error);
  void BuildLookup();
  size_t SlotOf(uint64_t hash) const {
    return size_t(((hash ^ seed_) * 0x9E3779B97F4A7C15ull) >> shift_);
  }

  std::string name_;
  int fd_ = -1;
  std::vector<uint8_t> memory_;
  int64_t size_ = 0;
  uint32_t version_ = 0;
  size_t tables_ = 0;
  std::vector<ContainerEntry> entries_;
  std::vector<uint64_t> unreadable_;  // hashes of the entries left out, sorted
  // Open addressing over entries_: the hash in a slot (0: empty) and the
  // entry it belongs to. An entry whose hash is 0 is kept aside.
  struct Slot {
    uint64_t hash;
    uint32_t entry;
  };
  std::vector<Slot> slots_;
  int64_t zeroHashEntry_ = -1;
  uint64_t seed_ = 0;
  int shift_ = 64;
};

}  // namespace tavi
