// The design reader of one exchange format; see design_reader.h.
#include "design_reader.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::SetUpDesignScratch();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::CheckDesignReader(tavi::DesignFormat::kWsc, data, size);
  return 0;
}
