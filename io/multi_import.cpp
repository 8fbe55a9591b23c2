#include "io/multi_import.h"

namespace tavi {

bool ReadMultiComponents(std::istream&, std::istream&, int, std::vector<MultiComponent>* out,
                         std::string* error) {
  out->clear();
  if (error) *error = "not ready";
  return false;
}

bool BuildMultiImage(const std::vector<MultiComponent>&, int, const ITileFacts*, HouseImage&,
                     std::string* error) {
  if (error) *error = "not ready";
  return false;
}

LoadResult ImportMulti(TTAVIDoc&, int, int, const std::string&, const std::string&) {
  return LoadResult::Failure("not ready");
}

}  // namespace tavi
