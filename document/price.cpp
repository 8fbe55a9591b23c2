// The price of a design, 500 gp per customization part, and its labels. The
// rule check itself lives in rule_check.cpp.
#include <cstring>
#include <string>

#include "document/house_document.h"
#include "document/rule_check.h"

namespace tavi {

namespace {

constexpr int64_t kPricePerPart = 500;

// A whole number with thousands separators (none when sep is 0), right-aligned
// in `width` characters; longer numbers are not cut.
std::string FormatGrouped(uint64_t value, bool negative, char sep, int width) {
  char digits[32];
  int n = 0;
  do {
    digits[n++] = char('0' + value % 10);
    value /= 10;
  } while (value != 0);
  std::string out;
  if (negative) out += '-';
  for (int i = n - 1; i >= 0; --i) {
    out += digits[i];
    if (sep != 0 && i > 0 && i % 3 == 0) out += sep;
  }
  if (int(out.size()) < width) out.insert(0, size_t(width) - out.size(), ' ');
  return out;
}

}  // namespace

std::string FormatPriceLabel(int64_t price, char sep) {
  const bool neg = price < 0;
  const uint64_t mag = neg ? uint64_t(0) - uint64_t(price) : uint64_t(price);
  return FormatGrouped(mag, neg, sep, 10) + " gp";
}

std::string FormatDeltaLabel(int64_t price, int64_t reference, char sep) {
  const char sign = reference < price ? '+' : reference == price ? ' ' : '-';
  // The difference of two 64-bit values always fits in 64 unsigned bits.
  const uint64_t mag = reference < price ? uint64_t(price) - uint64_t(reference)
                                         : uint64_t(reference) - uint64_t(price);
  return sign + FormatGrouped(mag, false, sep, 9);
}

int TTAVIDoc::CountParts() const {
  int count = 0;
  for (int f = 0; f < kFloors; ++f)
    for (int l = 0; l < kLayers; ++l)
      for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) {
          const uint16_t id = Tiles[f][l][y][x].Id;
          if (id != 0 && (Category(id) & kCatPart)) ++count;
        }
  return count;
}

int64_t TTAVIDoc::CountFloorParts(int f) {
  // Per id below 0x4000, in partState_: 1 part, 0 not (empty entries
  // included), 0xFF not known yet. One table look-up per entry and no branch
  // on the entry.
  int64_t count = 0;
  const int W = Width, H = Height;
  for (int l = 0, top = FloorTop(f); l < top; ++l)
    for (int y = 0; y < H; ++y) {
      const TileEntry* row = Tiles[f][l][y];
      for (int x = 0; x < W; ++x) {
        const uint16_t id = row[x].Id;
        if (id >= 0x4000) {
          count += (factCache_.Category(id) & kCatPart) ? 1 : 0;
          continue;
        }
        uint8_t part = partState_[id];
        if (part > 1) part = partState_[id] = (factCache_.Category(id) & kCatPart) ? 1 : 0;
        count += part;
      }
    }
  return count;
}

void TTAVIDoc::RecountOnly(int floor) {
  recountFloor_ = revision_ == countRevision_ && facts_ == countFacts_ ? floor : -1;
}

void TTAVIDoc::Recalculate() {
  factCache_.Reset(facts_);
  // The same count as CountParts, through the category cache.
  std::memset(partState_, 0xFF, sizeof(partState_));
  partState_[0] = 0;
  const int only = recountFloor_;
  recountFloor_ = -1;
  int64_t count = 0;
  for (int f = 0; f < kFloors; ++f) {
    if (only < 0 || f == only) floorParts_[f] = CountFloorParts(f);
    count += floorParts_[f];
  }
  const int64_t price = count * kPricePerPart;
  const char sep = host_->ThousandsSeparator();
  host_->SetPrice(price, FormatPriceLabel(price, sep),
                  FormatDeltaLabel(price, host_->ReferencePrice(), sep));
  if (host_->ShowCustomizePropriety()) CheckCustomization();
  // The rule check changes marks only: the counts stay good.
  countRevision_ = revision_;
  countFacts_ = facts_;
}

namespace {

// Bit L of [f][y][x]: the entry of layer L carries a drawn mark. Only the
// plot's entries below each floor's top are drawn (and checked).
using MarkedLayers = uint32_t[kFloors][kGrid][kGrid];
void FindMarkedLayers(const FloorImage (&tiles)[kFloors], const int (&tops)[kFloors], int width,
                      int height, MarkedLayers& out) {
  std::memset(out, 0, sizeof(MarkedLayers));
  for (int f = 0; f < kFloors; ++f)
    for (int layer = 0; layer < tops[f]; ++layer)
      for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
          out[f][y][x] |= uint32_t((tiles[f][layer][y][x].Mark & 0xFF) != 0) << layer;
}

}  // namespace

void TTAVIDoc::CheckCustomization() {
  // The marks are drawn: the cells whose marks change are counted as changed.
  int tops[kFloors];
  for (int f = 0; f < kFloors; ++f) tops[f] = FloorTop(f);
  MarkedLayers before, after;
  FindMarkedLayers(Tiles, tops, Width, Height, before);
  CheckRules(*this, factCache_);
  FindMarkedLayers(Tiles, tops, Width, Height, after);
  for (int f = 0; f < kFloors; ++f)
    for (int y = 0; y < Height; ++y)
      for (int x = 0; x < Width; ++x)
        if (before[f][y][x] != after[f][y][x]) TouchCell(x, y, f);
}

}  // namespace tavi
