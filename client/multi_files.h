#pragma once
// The client's multi files: multi.idx (12-byte entries: offset, length,
// unused) and multi.mul (16-byte components: id, x, y, z, flags, unused; 12
// bytes without the unused word in older clients), or the packed multi
// container MultiCollection.uop (one zlib entry per multi). They are read
// into component lists; io/multi_import lays a list into a house.
#include <cstddef>
#include <cstdint>
#include <istream>
#include <string>
#include <vector>

#include "document/multi_component.h"

namespace tavi {

class PackedContainer;

// Why the multi files could not be read.
enum class MultiFileFailure { kNone, kFile, kFormat };

constexpr int kMultiRecordSize = 16;     // multi.mul of clients with 64-bit tile flags
constexpr int kOldMultiRecordSize = 12;  // multi.mul of clients with 32-bit tile flags
// An inflated container entry larger than this is refused: the largest
// standard house has a few thousand components of 18 bytes.
constexpr size_t kMaxMultiPayload = 4u << 20;

// Reads the component list of a multi id from multi.idx and multi.mul with
// records of `recordSize` bytes. Fails with a message for an id outside the
// index, a list outside multi.mul or a list without components.
bool ReadMultiComponents(std::istream& idx, std::istream& mul, int multiId,
                         std::vector<MultiComponent>* out, std::string* error,
                         int recordSize = kMultiRecordSize);

// Reads the components of an inflated container entry: u32 multi id, u32
// component count, then per component u16 item id, i16 x, y, z, u16 flags,
// u32 n and n further u32 (14 + 4n bytes). Every component is taken; flags
// and the further words are not used. Fails for data cut short and for a
// multi without components.
bool ParseMultiPayload(const uint8_t* data, size_t size, std::vector<MultiComponent>* out,
                       std::string* error);

// Reads the component list of a multi id from the multi container
// (entry build/multicollection/<id, six digits>.bin).
bool ReadContainerMulti(const PackedContainer& container, int multiId,
                        std::vector<MultiComponent>* out, std::string* error);

// Reads the component list of a multi id from whichever files the client
// has: `mulPath` names either multi.mul (read with `idxPath` and records of
// `recordSize` bytes) or the multi container (`idxPath` is then not read).
// `failure` tells a file that cannot be opened (kFile) from broken data
// (kFormat).
bool ReadClientMulti(const std::string& idxPath, const std::string& mulPath, int recordSize,
                     int multiId, std::vector<MultiComponent>* out, std::string* error,
                     MultiFileFailure* failure = nullptr);

// The number of multis with at least one component in the client's files,
// named as for ReadClientMulti: index entries whose records lie past the end
// of multi.mul do not count. False with a message when they cannot be read.
bool CountClientMultis(const std::string& idxPath, const std::string& mulPath, int recordSize,
                       int* count, std::string* error);

}  // namespace tavi
