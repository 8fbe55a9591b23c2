// Selection clipboard text pasted into a house at a position, altitude and
// floor taken from the first bytes; then the whole plot is copied, cut and
// pasted back. Nothing may land outside the plot, stacks stay consistent, and
// the round trip never grows the house.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "document/house_document.h"

namespace {

using namespace tavi;

class FuzzFacts : public ITileFacts {
 public:
  uint8_t TileHeight(uint16_t id) const override { return uint8_t(id % 21); }
  bool IsBackground(uint16_t id) const override { return id % 7 == 0; }
  uint16_t Category(uint16_t id) const override {
    if (id >= 0x4000 || id % 5 != 0) return 0;
    return uint16_t(kCatPart | ((id * 2654435761u) >> 17));
  }
};

// Only the pasted floor changes.
void CheckConsistent(const TTAVIDoc& doc, int f) {
  for (int y = 0; y < kGrid; ++y)
    for (int x = 0; x < kGrid; ++x) {
      int count = kLayers;
      while (count > 0 && doc.Tiles[f][count - 1][y][x].Id == 0) --count;
      if (count != 0 && !doc.InPlot(x, y)) std::abort();
      if (doc.LayerCount[f][y][x] != count) std::abort();
    }
}

int Lines(const std::string& text) {
  int n = 0;
  for (char c : text) n += c == '\n';
  return n;
}

}  // namespace

static FuzzFacts facts;
static PlainDocHost host;
static std::unique_ptr<TTAVIDoc> doc;

// The document (with its undo ring, about 20 MB) is made once.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  doc = std::make_unique<TTAVIDoc>(8, 8, &facts, &host);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 5) return 0;
  const int x0 = int8_t(data[0]) % 40, y0 = int8_t(data[1]) % 40;
  const int alt = int8_t(data[2]);
  const int floor = data[3] % 6;  // 5 is no floor
  doc->SetSize(1 + data[4] % 32, 1 + (data[4] >> 3) % 32);
  host.partsLock = data[4] & 0x80;
  host.showPropriety = data[3] & 0x80;
  // An empty house, without the cost of a full Clear per input.
  std::memset(doc->Tiles, 0, sizeof(doc->Tiles));
  std::memset(doc->LayerCount, 0, sizeof(doc->LayerCount));
  std::memset(doc->TopZ, 0, sizeof(doc->TopZ));
  const int f = floor % kFloors;
  const std::string text(reinterpret_cast<const char*>(data + 5), size - 5);
  doc->PasteText(x0, y0, alt, floor, text);
  CheckConsistent(*doc, f);

  const CellRect all{0, 0, doc->Width - 1, doc->Height - 1};
  MemoryClipboard first, second;
  host.partsLock = false;
  doc->CopyRect(all, f, first);
  doc->CutRect(all, f, second);
  if (first.text != second.text) std::abort();
  for (int y = 0; y < doc->Height; ++y)
    for (int x = 0; x < doc->Width; ++x)
      if (doc->LayerCount[f][y][x] != 0) std::abort();
  doc->PasteAt(0, 0, 0, 0, f, first);
  CheckConsistent(*doc, f);
  MemoryClipboard again;
  doc->CopyRect(all, f, again);
  if (first.hasText && Lines(again.text) > Lines(first.text)) std::abort();
  return 0;
}
