#include "client/multi_files.h"

#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <memory>

#include "client/container.h"

namespace tavi {

namespace {

int32_t Int32At(const unsigned char* p) {
  return static_cast<int32_t>(uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) |
                              (uint32_t(p[3]) << 24));
}
int16_t Int16At(const unsigned char* p) {
  return static_cast<int16_t>(uint16_t(p[0] | (p[1] << 8)));
}

int64_t StreamSize(std::istream& s) {
  s.clear();
  s.seekg(0, std::ios::end);
  const auto end = s.tellg();
  s.seekg(0, std::ios::beg);
  return end < 0 ? -1 : static_cast<int64_t>(end);
}

uint32_t Uint32At(const unsigned char* p) {
  return uint32_t(Int32At(p));
}

// The container's entry name of a multi: build/multicollection/%06u.bin.
std::string MultiEntryName(int multiId) {
  char name[48];
  std::snprintf(name, sizeof name, "build/multicollection/%06u.bin", unsigned(multiId));
  return name;
}

// Multi ids looked at when counting the multis of a container.
constexpr int kContainerMultiIds = 0x10000;

}  // namespace

bool ReadMultiComponents(std::istream& idx, std::istream& mul, int multiId,
                         std::vector<MultiComponent>* out, std::string* error, int recordSize) {
  out->clear();
  const std::string which = "multi " + std::to_string(multiId);
  const int64_t idxSize = StreamSize(idx);
  if (multiId < 0 || idxSize < 0 || int64_t(multiId) * 12 + 12 > idxSize) {
    *error = which + " is not in multi.idx";
    return false;
  }
  unsigned char entry[12];
  idx.seekg(int64_t(multiId) * 12);
  if (!idx.read(reinterpret_cast<char*>(entry), 12)) {
    *error = "cannot read the entry of " + which + " from multi.idx";
    return false;
  }
  const int32_t offset = Int32At(entry);
  const int32_t length = Int32At(entry + 4);
  // Anything shorter than id, x, y and z is no record.
  if (recordSize < 8) recordSize = kMultiRecordSize;
  const int32_t count = length / recordSize;
  if (length <= 0 || count == 0) {
    *error = which + " has no components";
    return false;
  }
  const int64_t mulSize = StreamSize(mul);
  if (offset < 0 || mulSize < 0 || int64_t(offset) + int64_t(count) * recordSize > mulSize) {
    *error = "the components of " + which + " lie outside multi.mul";
    return false;
  }
  // The size is bounded by the file just checked.
  std::vector<unsigned char> raw(size_t(count) * size_t(recordSize));
  mul.seekg(offset);
  if (!mul.read(reinterpret_cast<char*>(raw.data()), std::streamsize(raw.size()))) {
    *error = "cannot read the components of " + which + " from multi.mul";
    return false;
  }
  out->reserve(size_t(count));
  for (int32_t i = 0; i < count; ++i) {
    const unsigned char* r = raw.data() + size_t(i) * size_t(recordSize);
    out->push_back({static_cast<uint16_t>(r[0] | (r[1] << 8)), Int16At(r + 2), Int16At(r + 4),
                    Int16At(r + 6)});
  }
  return true;
}

bool ParseMultiPayload(const uint8_t* data, size_t size, std::vector<MultiComponent>* out,
                       std::string* error) {
  out->clear();
  constexpr size_t kHead = 8, kComponent = 14;
  if (size < kHead) {
    *error = "the multi's data is cut short";
    return false;
  }
  const uint32_t count = Uint32At(data + 4);
  if (count == 0) {
    *error = "the multi has no components";
    return false;
  }
  if (count > (size - kHead) / kComponent) {
    *error = "the multi claims " + std::to_string(count) + " components, more than its data holds";
    return false;
  }
  out->reserve(count);
  size_t pos = kHead;
  for (uint32_t i = 0; i < count; ++i) {
    if (size - pos < kComponent) {
      out->clear();
      *error = "the multi's data is cut short in component " + std::to_string(i);
      return false;
    }
    const uint8_t* r = data + pos;
    const uint32_t extra = Uint32At(r + 10);
    if (extra > (size - pos - kComponent) / 4) {
      out->clear();
      *error = "the multi's data is cut short in component " + std::to_string(i);
      return false;
    }
    out->push_back({uint16_t(r[0] | (r[1] << 8)), Int16At(r + 2), Int16At(r + 4), Int16At(r + 6)});
    pos += kComponent + size_t(extra) * 4;
  }
  return true;
}

bool ReadContainerMulti(const PackedContainer& container, int multiId,
                        std::vector<MultiComponent>* out, std::string* error) {
  out->clear();
  const std::string which = "multi " + std::to_string(multiId);
  const ContainerEntry* entry = multiId < 0 ? nullptr : container.FindName(MultiEntryName(multiId));
  if (!entry) {
    if (multiId >= 0 && container.IsUnreadable(ContainerNameHash(MultiEntryName(multiId))))
      *error = which + " uses a compression this editor cannot read";
    else
      *error = which + " is not in '" + container.Name() + "'";
    return false;
  }
  std::vector<uint8_t> payload;
  std::string why;
  if (!container.ReadPayload(*entry, kMaxMultiPayload, &payload, &why)) {
    *error = "cannot read " + which + ": " + why;
    return false;
  }
  if (!ParseMultiPayload(payload.data(), payload.size(), out, &why)) {
    *error = which + " in '" + container.Name() + "': " + why;
    return false;
  }
  return true;
}

bool ReadClientMulti(const std::string& idxPath, const std::string& mulPath, int recordSize,
                     int multiId, std::vector<MultiComponent>* out, std::string* error,
                     MultiFileFailure* failure) {
  out->clear();
  MultiFileFailure kind = MultiFileFailure::kFile;
  bool ok = false;
  if (IsContainerPath(mulPath)) {
    const std::unique_ptr<PackedContainer> c = PackedContainer::Open(mulPath, error);
    // A container that opens but cannot be read is broken data.
    if (c || std::ifstream(mulPath, std::ios::binary)) kind = MultiFileFailure::kFormat;
    ok = c && ReadContainerMulti(*c, multiId, out, error);
  } else {
    std::ifstream idx(idxPath, std::ios::binary);
    std::ifstream mul(mulPath, std::ios::binary);
    if (!idx) {
      *error = "cannot open '" + idxPath + "'";
    } else if (!mul) {
      *error = "cannot open '" + mulPath + "'";
    } else {
      kind = MultiFileFailure::kFormat;
      ok = ReadMultiComponents(idx, mul, multiId, out, error, recordSize);
    }
  }
  if (failure) *failure = ok ? MultiFileFailure::kNone : kind;
  return ok;
}

bool CountClientMultis(const std::string& idxPath, const std::string& mulPath, int recordSize,
                       int* count, std::string* error) {
  *count = 0;
  if (IsContainerPath(mulPath)) {
    const std::unique_ptr<PackedContainer> c = PackedContainer::Open(mulPath, error);
    if (!c) return false;
    NumberedNameHasher names("build/multicollection/", 6, ".bin");
    for (int id = 0; id < kContainerMultiIds; ++id)
      *count += c->Find(names.Hash(uint32_t(id))) != nullptr;
    return true;
  }
  std::ifstream idx(idxPath, std::ios::binary);
  if (!idx) {
    *error = "cannot open '" + idxPath + "'";
    return false;
  }
  // Only a multi whose records lie inside multi.mul can be read.
  struct stat st {};
  if (::stat(mulPath.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
    *error = "cannot open '" + mulPath + "'";
    return false;
  }
  const int64_t mulSize = int64_t(st.st_size);
  if (recordSize < 8) recordSize = kMultiRecordSize;
  unsigned char entry[12];
  while (idx.read(reinterpret_cast<char*>(entry), sizeof entry)) {
    const int64_t offset = Int32At(entry), length = Int32At(entry + 4);
    *count += offset >= 0 && length >= recordSize && offset + length <= mulSize;
  }
  return true;
}

}  // namespace tavi
