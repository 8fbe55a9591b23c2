// Price count and customization rule check.
#include "document/u_document.h"

namespace tavi {

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

void TTAVIDoc::Recalculate() {
  // TODO(editing): price labels and the rule check.
  const int64_t price = int64_t(CountParts()) * 500;
  host_->SetPrice(price, std::string(), std::string());
  if (host_->ShowCustomizePropriety()) CheckCustomization();
}

void TTAVIDoc::CheckCustomization() {}

}  // namespace tavi
