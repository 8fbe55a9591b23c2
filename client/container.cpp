#include "client/container.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <unordered_set>

namespace tavi {

namespace {

uint32_t Rot(uint32_t x, int k) {
  return (x << k) | (x >> (32 - k));
}

void Mix(uint32_t& a, uint32_t& b, uint32_t& c) {
  a -= c, a ^= Rot(c, 4), c += b;
  b -= a, b ^= Rot(a, 6), a += c;
  c -= b, c ^= Rot(b, 8), b += a;
  a -= c, a ^= Rot(c, 16), c += b;
  b -= a, b ^= Rot(a, 19), a += c;
  c -= b, c ^= Rot(b, 4), b += a;
}

void Final(uint32_t& a, uint32_t& b, uint32_t& c) {
  c ^= b, c -= Rot(b, 14);
  a ^= c, a -= Rot(c, 11);
  b ^= a, b -= Rot(a, 25);
  c ^= b, c -= Rot(b, 16);
  a ^= c, a -= Rot(c, 4);
  b ^= a, b -= Rot(a, 14);
  c ^= b, c -= Rot(b, 24);
}

uint32_t Le32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
uint64_t Le64(const uint8_t* p) {
  return uint64_t(Le32(p)) | (uint64_t(Le32(p + 4)) << 32);
}

// Spreads a stored hash over the lookup slots. The seed differs from run to
// run, so that a file cannot line its hashes up on one slot.
uint64_t SlotMix(uint64_t x) {
  x ^= x >> 30;
  x *= 0xBF58476D1CE4E5B9ull;
  x ^= x >> 27;
  x *= 0x94D049BB133111EBull;
  x ^= x >> 31;
  return x;
}

bool EndsWithUop(const std::string& path) {
  if (path.size() < 4) return false;
  std::string tail = path.substr(path.size() - 4);
  for (char& c : tail)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return tail == ".uop";
}

}  // namespace

void HashLittle2(const void* key, size_t length, uint32_t* pc, uint32_t* pb) {
  const uint8_t* k = static_cast<const uint8_t*>(key);
  uint32_t a, b, c;
  a = b = c = 0xDEADBEEFu + uint32_t(length) + *pc;
  c += *pb;
  while (length > 12) {
    a += Le32(k);
    b += Le32(k + 4);
    c += Le32(k + 8);
    Mix(a, b, c);
    length -= 12;
    k += 12;
  }
  if (length == 0) {
    *pc = c;
    *pb = b;
    return;
  }
  // The last 1..12 bytes, zero-padded.
  uint8_t tail[12] = {};
  std::memcpy(tail, k, length);
  a += Le32(tail);
  b += Le32(tail + 4);
  c += Le32(tail + 8);
  Final(a, b, c);
  *pc = c;
  *pb = b;
}

uint64_t ContainerNameHash(const std::string& name) {
  std::string lower = name;
  for (char& ch : lower)
    if (ch >= 'A' && ch <= 'Z') ch = char(ch - 'A' + 'a');
  uint32_t pc = 0, pb = 0;
  HashLittle2(lower.data(), lower.size(), &pc, &pb);
  return (uint64_t(pb) << 32) | pc;
}

bool IsContainerPath(const std::string& path) {
  if (EndsWithUop(path)) return true;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  uint8_t head[12];
  const bool read = ::pread(fd, head, sizeof head, 0) == ssize_t(sizeof head);
  ::close(fd);
  return read && Le32(head) == kContainerMagic && Le32(head + 8) == kContainerSignature;
}

PackedContainer::~PackedContainer() {
  if (fd_ >= 0) ::close(fd_);
}

std::unique_ptr<PackedContainer> PackedContainer::Open(const std::string& path,
                                                       std::string* error) {
  std::unique_ptr<PackedContainer> c(new PackedContainer());
  c->name_ = path;
  c->fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat st {};
  if (c->fd_ < 0 || ::fstat(c->fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
    if (error) *error = "cannot open '" + path + "'";
    return nullptr;
  }
  c->size_ = int64_t(st.st_size);
  if (!c->Load(error)) return nullptr;
  return c;
}

std::unique_ptr<PackedContainer> PackedContainer::FromBytes(std::vector<uint8_t> bytes,
                                                            const std::string& name,
                                                            std::string* error) {
  std::unique_ptr<PackedContainer> c(new PackedContainer());
  c->name_ = name;
  c->memory_ = std::move(bytes);
  c->size_ = int64_t(c->memory_.size());
  if (!c->Load(error)) return nullptr;
  return c;
}

bool PackedContainer::ReadAt(int64_t offset, void* dst, size_t n) const {
  if (offset < 0 || offset > size_ || int64_t(n) > size_ - offset) return false;
  if (n == 0) return true;
  if (fd_ < 0) {
    std::memcpy(dst, memory_.data() + offset, n);
    return true;
  }
  size_t got = 0;
  while (got < n) {
    const ssize_t r =
        ::pread(fd_, static_cast<uint8_t*>(dst) + got, n - got, off_t(offset + int64_t(got)));
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) return false;
    got += size_t(r);
  }
  return true;
}

bool PackedContainer::Load(std::string* error) {
  const std::string where = "'" + name_ + "'";
  auto fail = [&](const std::string& message) {
    if (error) *error = where + ": " + message;
    return false;
  };
  uint8_t header[kContainerHeaderSize];
  if (size_ < int64_t(sizeof header) || !ReadAt(0, header, sizeof header))
    return fail("too short for a packed container");
  if (Le32(header) != kContainerMagic) return fail("not a packed container (wrong magic)");
  version_ = Le32(header + 4);
  if (version_ < 1 || version_ > 5)
    return fail("packed container version " + std::to_string(version_) + " is not supported");
  if (Le32(header + 8) != kContainerSignature) return fail("wrong packed container signature");

  // The most entries the file can hold, whatever its tables claim.
  const uint64_t entryRoom = uint64_t(size_ - int64_t(kContainerHeaderSize)) / kContainerEntrySize;
  uint64_t claimed = 0;
  std::unordered_set<uint64_t> visited;
  std::vector<uint8_t> table;
  uint64_t offset = Le64(header + 12);
  while (offset != 0) {
    const std::string at = "the table at offset " + std::to_string(offset);
    if (offset < kContainerHeaderSize || offset > uint64_t(size_) - kContainerTableHeaderSize)
      return fail(at + " lies outside the file");
    if (!visited.insert(offset).second)
      return fail("the table chain loops back to offset " + std::to_string(offset));
    if (visited.size() > kMaxContainerTables) return fail("more tables than a container holds");
    uint8_t head[kContainerTableHeaderSize];
    if (!ReadAt(int64_t(offset), head, sizeof head)) return fail("cannot read " + at);
    const int32_t count = int32_t(Le32(head));
    const uint64_t next = Le64(head + 4);
    if (count < 0) return fail(at + " has a negative entry count");
    const uint64_t room =
        (uint64_t(size_) - offset - kContainerTableHeaderSize) / kContainerEntrySize;
    claimed += uint64_t(count);
    if (uint64_t(count) > room || claimed > entryRoom)
      return fail(at + " claims " + std::to_string(count) + " entries, more than the file holds");
    table.resize(size_t(count) * kContainerEntrySize);
    if (!ReadAt(int64_t(offset + kContainerTableHeaderSize), table.data(), table.size()))
      return fail("cannot read " + at);
    for (int32_t i = 0; i < count; ++i) {
      const uint8_t* e = &table[size_t(i) * kContainerEntrySize];
      const int64_t dataOffset = int64_t(Le64(e));
      const int32_t headerLength = int32_t(Le32(e + 8));
      const int32_t stored = int32_t(Le32(e + 12));
      const int32_t inflated = int32_t(Le32(e + 16));
      const uint64_t hash = Le64(e + 20);
      const int16_t compression = int16_t(uint16_t(e[32] | (e[33] << 8)));
      if (dataOffset == 0) continue;  // an empty slot
      if (compression != int16_t(ContainerCompression::kNone) &&
          compression != int16_t(ContainerCompression::kZlib))
        continue;  // not a compression this reader knows: the entry is not there
      const std::string which = "entry " + std::to_string(i) + " of " + at;
      if (dataOffset < 0 || headerLength < 0 || stored < 0 || inflated < 0)
        return fail(which + " has a negative offset or length");
      if (dataOffset > size_ || int64_t(headerLength) + stored > size_ - dataOffset)
        return fail(which + " points past the end of the file");
      ContainerEntry entry;
      entry.hash = hash;
      entry.payloadOffset = dataOffset + headerLength;
      entry.storedLength = stored;
      entry.decompressedLength = inflated;
      entry.compression = ContainerCompression(compression);
      entries_.push_back(entry);
    }
    offset = next;
  }
  tables_ = visited.size();
  BuildLookup();
  return true;
}

void PackedContainer::BuildLookup() {
  size_t capacity = 16;
  while (capacity < entries_.size() * 2) capacity *= 2;
  slots_.assign(capacity, 0);
  seed_ = uint64_t(std::chrono::steady_clock::now().time_since_epoch().count()) ^
          uint64_t(reinterpret_cast<uintptr_t>(this));
  const size_t mask = capacity - 1;
  std::vector<ContainerEntry> unique;
  unique.reserve(entries_.size());
  for (const ContainerEntry& e : entries_) {
    size_t slot = size_t(SlotMix(e.hash ^ seed_)) & mask;
    bool seen = false;
    while (slots_[slot] != 0) {
      if (unique[slots_[slot] - 1].hash == e.hash) {
        seen = true;  // the first of equal hashes stays
        break;
      }
      slot = (slot + 1) & mask;
    }
    if (seen) continue;
    unique.push_back(e);
    slots_[slot] = uint32_t(unique.size());
  }
  entries_ = std::move(unique);
}

const ContainerEntry* PackedContainer::Find(uint64_t hash) const {
  if (slots_.empty()) return nullptr;
  const size_t mask = slots_.size() - 1;
  for (size_t slot = size_t(SlotMix(hash ^ seed_)) & mask; slots_[slot] != 0;
       slot = (slot + 1) & mask) {
    const ContainerEntry& e = entries_[slots_[slot] - 1];
    if (e.hash == hash) return &e;
  }
  return nullptr;
}

bool PackedContainer::ReadPayload(const ContainerEntry& entry, size_t maxBytes,
                                  std::vector<uint8_t>* out, std::string* error) const {
  out->clear();
  const std::string which = "'" + name_ + "': an entry";
  auto fail = [&](const std::string& message) {
    out->clear();
    if (error) *error = which + " " + message;
    return false;
  };
  if (entry.compression == ContainerCompression::kNone) {
    if (size_t(entry.storedLength) > maxBytes)
      return fail("holds " + std::to_string(entry.storedLength) + " bytes, more than " +
                  std::to_string(maxBytes));
    out->resize(size_t(entry.storedLength));
    if (!ReadAt(entry.payloadOffset, out->data(), out->size())) return fail("cannot be read");
    return true;
  }
  // zlib: the declared size is checked before anything is read, and the
  // stream may not inflate past it.
  const size_t inflated = size_t(entry.decompressedLength);
  if (inflated > maxBytes)
    return fail("declares " + std::to_string(inflated) + " bytes inflated, more than " +
                std::to_string(maxBytes));
  if (uint64_t(entry.storedLength) > uint64_t(compressBound(uLong(maxBytes))))
    return fail("holds more packed bytes than its size allows");
  std::vector<uint8_t> packed(size_t(entry.storedLength));
  if (!ReadAt(entry.payloadOffset, packed.data(), packed.size())) return fail("cannot be read");
  out->resize(inflated);
  z_stream z{};
  if (inflateInit(&z) != Z_OK) return fail("cannot be inflated");
  z.next_in = packed.data();
  z.avail_in = uInt(packed.size());
  // One spare byte shows a stream that goes on past its declared size.
  uint8_t spare = 0;
  z.next_out = out->empty() ? &spare : out->data();
  z.avail_out = uInt(out->size());
  int rc = inflate(&z, Z_FINISH);
  if (rc != Z_STREAM_END && z.avail_out == 0) {
    z.next_out = &spare;
    z.avail_out = 1;
    rc = inflate(&z, Z_FINISH);
  }
  const uLong total = z.total_out;
  inflateEnd(&z);
  if (total > inflated)
    return fail("inflates beyond its declared " + std::to_string(inflated) + " bytes");
  if (rc != Z_STREAM_END) return fail("does not inflate");
  if (total != inflated)
    return fail("inflates to " + std::to_string(total) + " bytes, not the declared " +
                std::to_string(inflated));
  return true;
}

}  // namespace tavi
