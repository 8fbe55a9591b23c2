#include "client/container.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <unordered_set>

#include "client/lookup3.h"

namespace tavi {

namespace {

using lookup3::Final;
using lookup3::Le32;
using lookup3::Mix;

[[gnu::always_inline]] inline uint64_t Le64(const uint8_t* p) {
  return uint64_t(Le32(p)) | (uint64_t(Le32(p + 4)) << 32);
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
  lookup3::HashLittle2(key, length, pc, pb);
}

NumberedNameHasher::NumberedNameHasher(const std::string& prefix, int digits,
                                       const std::string& suffix)
    : name_(prefix + std::string(size_t(digits), '0') + suffix),
      digitsAt_(prefix.size()),
      digits_(digits),
      blocks_(name_.empty() ? 0 : (name_.size() - 1) / 12),
      states_(3 * (blocks_ + 1)) {
  states_[0] = states_[1] = states_[2] = 0xDEADBEEFu + uint32_t(name_.size());
  for (size_t i = 12 * blocks_; i < name_.size(); ++i) SetByte(i, name_[i]);
}

void NumberedNameHasher::SetByte(size_t at, char ch) {
  name_[at] = ch;
  if (at < 12 * blocks_) return;
  // The last bytes are kept as the three words they add to the state.
  const size_t i = at - 12 * blocks_;
  const int shift = int(8 * (i % 4));
  tail_[i / 4] = (tail_[i / 4] & ~(0xFFu << shift)) | (uint32_t(uint8_t(ch)) << shift);
}

uint64_t NumberedNameHasher::Hash(uint32_t number) {
  // Write the digits; the first one that changes makes its block and the
  // ones after it stale. The next number only carries into a few digits.
  size_t changed = name_.size();
  if (number == last_ + 1 && hashed_) {
    for (size_t at = digitsAt_ + size_t(digits_); at-- > digitsAt_;) {
      changed = at;
      if (name_[at] != '9') {
        SetByte(at, char(name_[at] + 1));
        break;
      }
      SetByte(at, '0');
    }
  } else {
    uint32_t n = number;
    for (int i = digits_ - 1; i >= 0; --i, n /= 10) {
      const char digit = char('0' + n % 10);
      const size_t at = digitsAt_ + size_t(i);
      if (name_[at] != digit) changed = at;
      SetByte(at, digit);
    }
  }
  last_ = number;
  hashed_ = true;
  valid_ = std::min(valid_, changed / 12);
  const uint8_t* k = reinterpret_cast<const uint8_t*>(name_.data());
  for (; valid_ < blocks_; ++valid_) {
    uint32_t a = states_[3 * valid_] + Le32(k + 12 * valid_);
    uint32_t b = states_[3 * valid_ + 1] + Le32(k + 12 * valid_ + 4);
    uint32_t c = states_[3 * valid_ + 2] + Le32(k + 12 * valid_ + 8);
    Mix(a, b, c);
    states_[3 * valid_ + 3] = a, states_[3 * valid_ + 4] = b, states_[3 * valid_ + 5] = c;
  }
  uint32_t a = states_[3 * blocks_], b = states_[3 * blocks_ + 1], c = states_[3 * blocks_ + 2];
  if (name_.size() > 12 * blocks_) {
    a += tail_[0];
    b += tail_[1];
    c += tail_[2];
    Final(a, b, c);
  }
  return (uint64_t(b) << 32) | c;
}

uint64_t ContainerNameHash(const std::string& name) {
  std::string lower = name;
  for (char& ch : lower)
    if (ch >= 'A' && ch <= 'Z') ch = char(ch - 'A' + 'a');
  return lookup3::LowerCaseNameHash(lower.data(), lower.size());
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

std::unique_ptr<PackedContainer> PackedContainer::OpenFile(const std::string& path,
                                                           std::string* error) {
  std::unique_ptr<PackedContainer> c(new PackedContainer());
  c->name_ = path;
  c->fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat st {};
  if (c->fd_ < 0 || ::fstat(c->fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
    if (error) *error = "'" + path + "': cannot be opened";
    return nullptr;
  }
  c->size_ = int64_t(st.st_size);
  return c;
}

std::unique_ptr<PackedContainer> PackedContainer::Open(const std::string& path,
                                                       std::string* error) {
  std::unique_ptr<PackedContainer> c = OpenFile(path, error);
  if (!c || !c->Load(nullptr, error)) return nullptr;
  return c;
}

std::unique_ptr<PackedContainer> PackedContainer::Scan(const std::string& path,
                                                       const EntrySink& sink, std::string* error) {
  std::unique_ptr<PackedContainer> c = OpenFile(path, error);
  if (!c || !c->Load(&sink, error)) return nullptr;
  return c;
}

std::unique_ptr<PackedContainer> PackedContainer::FromBytes(std::vector<uint8_t> bytes,
                                                            const std::string& name,
                                                            std::string* error) {
  std::unique_ptr<PackedContainer> c(new PackedContainer());
  c->name_ = name;
  c->memory_ = std::move(bytes);
  c->size_ = int64_t(c->memory_.size());
  if (!c->Load(nullptr, error)) return nullptr;
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

std::string PackedContainer::CheckHeader(const uint8_t* header) {
  if (Le32(header) != kContainerMagic) return "not a packed container (wrong magic)";
  version_ = Le32(header + 4);
  if (version_ < 1 || version_ > 5)
    return "packed container version " + std::to_string(version_) + " is not supported";
  if (Le32(header + 8) != kContainerSignature) return "wrong packed container signature";
  return {};
}

// The chain first, table heads only: the entries are then read into room made
// once. The most entries the file can hold bounds what the tables may claim,
// alone and together.
std::string PackedContainer::WalkTables(uint64_t first,
                                        std::vector<std::pair<uint64_t, int32_t>>* tables,
                                        uint64_t* claimed) {
  const uint64_t entryRoom = uint64_t(size_ - int64_t(kContainerHeaderSize)) / kContainerEntrySize;
  std::unordered_set<uint64_t> visited;
  for (uint64_t offset = first; offset != 0;) {
    const std::string at = "the table at offset " + std::to_string(offset);
    if (offset < kContainerHeaderSize || offset > uint64_t(size_) - kContainerTableHeaderSize)
      return at + " lies outside the file";
    if (!visited.insert(offset).second)
      return "the table chain loops back to offset " + std::to_string(offset);
    if (visited.size() > kMaxContainerTables) return "more tables than a container holds";
    uint8_t head[kContainerTableHeaderSize];
    if (!ReadAt(int64_t(offset), head, sizeof head)) return "cannot read " + at;
    const auto count = int32_t(Le32(head));
    if (count < 0) return at + " has a negative entry count";
    const uint64_t room =
        (uint64_t(size_) - offset - kContainerTableHeaderSize) / kContainerEntrySize;
    *claimed += uint64_t(count);
    if (uint64_t(count) > room || *claimed > entryRoom)
      return at + " claims " + std::to_string(count) + " entries, more than the file holds";
    tables->emplace_back(offset, count);
    offset = Le64(head + 4);
  }
  tables_ = visited.size();
  return {};
}

// Entries are written in place through a plain pointer: one built aside and
// copied in whole is read back before its field stores have landed, a stall
// per entry.
std::string PackedContainer::DecodeTable(uint64_t offset, int32_t count,
                                         std::vector<uint8_t>& table, ContainerEntry* out,
                                         size_t* kept) {
  table.resize(size_t(count) * kContainerEntrySize);
  if (!ReadAt(int64_t(offset + kContainerTableHeaderSize), table.data(), table.size()))
    return "cannot read the table at offset " + std::to_string(offset);
  const int64_t fileSize = size_;
  size_t n = 0;
  for (int32_t i = 0; i < count; ++i) {
    const uint8_t* e = &table[size_t(i) * kContainerEntrySize];
    const auto dataOffset = int64_t(Le64(e));
    const auto headerLength = int32_t(Le32(e + 8));
    const auto stored = int32_t(Le32(e + 12));
    const auto inflated = int32_t(Le32(e + 16));
    const auto compression = int16_t(uint16_t(e[32] | (e[33] << 8)));
    if (dataOffset == 0) continue;  // an empty slot
    if (compression != int16_t(ContainerCompression::kNone) &&
        compression != int16_t(ContainerCompression::kZlib)) {
      // Not a compression this reader knows: left out, but remembered, so
      // that a reader looking for it can say why it is missing.
      unreadable_.push_back(Le64(e + 20));
      continue;
    }
    const bool negative = dataOffset < 0 || headerLength < 0 || stored < 0 || inflated < 0;
    if (negative || dataOffset > fileSize ||
        int64_t(headerLength) + stored > fileSize - dataOffset) {
      const std::string which =
          "entry " + std::to_string(i) + " of the table at offset " + std::to_string(offset);
      return which +
             (negative ? " has a negative offset or length" : " points past the end of the file");
    }
    ContainerEntry& entry = out[n++];
    entry.hash = Le64(e + 20);
    entry.payloadOffset = dataOffset + headerLength;
    entry.storedLength = stored;
    entry.decompressedLength = inflated;
    entry.compression = ContainerCompression(compression);
  }
  *kept = n;
  return {};
}

bool PackedContainer::Load(const EntrySink* sink, std::string* error) {
  auto fail = [&](const std::string& message) {
    if (error) *error = "'" + name_ + "': " + message;
    return false;
  };
  uint8_t header[kContainerHeaderSize];
  if (size_ < int64_t(sizeof header) || !ReadAt(0, header, sizeof header))
    return fail("too short for a packed container");
  std::string problem = CheckHeader(header);
  if (!problem.empty()) return fail(problem);
  uint64_t claimed = 0;
  std::vector<std::pair<uint64_t, int32_t>> tables;  // offset, entry count
  problem = WalkTables(Le64(header + 12), &tables, &claimed);
  if (!problem.empty()) return fail(problem);

  // Each table is decoded into `batch`, then kept or handed to the sink.
  if (!sink) entries_.reserve(size_t(claimed));
  std::vector<ContainerEntry> batch;
  std::vector<uint8_t> table;
  for (const auto& [offset, count] : tables) {
    if (batch.size() < size_t(count)) batch.resize(size_t(count));
    size_t n = 0;
    problem = DecodeTable(offset, count, table, batch.data(), &n);
    if (!problem.empty()) return fail(problem);
    if (n == 0) continue;
    if (sink)
      (*sink)(batch.data(), n);
    else
      entries_.insert(entries_.end(), batch.data(), batch.data() + n);
  }
  std::sort(unreadable_.begin(), unreadable_.end());
  if (!sink) BuildLookup();
  return true;
}

bool PackedContainer::IsUnreadable(uint64_t hash) const {
  return std::binary_search(unreadable_.begin(), unreadable_.end(), hash);
}

void PackedContainer::BuildLookup() {
  // At most 70 % of the slots in use keeps probes short.
  size_t capacity = 16;
  shift_ = 60;
  while (capacity * 7 < entries_.size() * 10) capacity *= 2, --shift_;
  slots_.assign(capacity, Slot{0, 0});
  // The seed differs from run to run, so that a file cannot line its hashes
  // up on one slot.
  seed_ = uint64_t(std::chrono::steady_clock::now().time_since_epoch().count()) ^
          uint64_t(reinterpret_cast<uintptr_t>(this));
  const size_t mask = capacity - 1;
  constexpr size_t kAhead = 16;
  size_t kept = 0;
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (i + kAhead < entries_.size()) Prefetch(entries_[i + kAhead].hash);
    const ContainerEntry e = entries_[i];
    if (e.hash == 0) {
      if (zeroHashEntry_ < 0) {
        zeroHashEntry_ = int64_t(kept);
        entries_[kept++] = e;
      }
      continue;
    }
    size_t slot = SlotOf(e.hash);
    while (slots_[slot].hash != 0 && slots_[slot].hash != e.hash) slot = (slot + 1) & mask;
    if (slots_[slot].hash == e.hash) continue;  // the first of equal hashes stays
    slots_[slot] = Slot{e.hash, uint32_t(kept)};
    entries_[kept++] = e;
  }
  entries_.resize(kept);
}

const ContainerEntry* PackedContainer::Find(uint64_t hash) const {
  if (hash == 0) return zeroHashEntry_ < 0 ? nullptr : &entries_[size_t(zeroHashEntry_)];
  if (slots_.empty()) return nullptr;
  const size_t mask = slots_.size() - 1;
  for (size_t slot = SlotOf(hash); slots_[slot].hash != 0; slot = (slot + 1) & mask)
    if (slots_[slot].hash == hash) return &entries_[slots_[slot].entry];
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
