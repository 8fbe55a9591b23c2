#include "io/clip_text.h"

namespace tavi {

bool EncodeCellStream(const HouseImage&, int, std::vector<uint8_t>* out, std::string* error) {
  out->clear();
  if (error) *error = "not ready";
  return false;
}

int DecodeCellStream(const std::vector<uint8_t>&, HouseImage& image, std::string* error) {
  image.ClearTiles();
  if (error) *error = "not ready";
  return -1;
}

std::string BuildClipText(const HouseImage&, int, int, const std::string&, std::string* error,
                          std::string*) {
  if (error) *error = "not ready";
  return {};
}

SaveResult ExportClipText(const TTAVIDoc&, ITextClipboard&, int, int, const std::string&) {
  return {false, "not ready", {}};
}

LoadResult ParseClipText(const std::string&, HouseImage&, std::string*) {
  return LoadResult::Failure("not ready");
}

LoadResult ImportClipText(TTAVIDoc&, const ITextClipboard&, std::string*) {
  return LoadResult::Failure("not ready");
}

}  // namespace tavi
