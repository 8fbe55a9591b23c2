// The update check's answer from the web: any body is only compared.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "io/version_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tavi;
  const UpdateMessage m = CompareVersion(true, data, size);
  const bool same = size == std::strlen(kVersionText) && std::memcmp(data, kVersionText, size) == 0;
  if ((m == UpdateMessage::kNoNewInfo) != same) std::abort();
  if (CompareVersion(false, data, size) != UpdateMessage::kFetchFailed) std::abort();
  return 0;
}
