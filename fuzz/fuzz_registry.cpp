// A Wine system.reg of any text: parsed, then used for client discovery.
#include <cstdint>
#include <string>

#include "client/discovery.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const tavi::WineRegistry reg(text, "/nonexistent-prefix");
  tavi::ClientPaths s;
  tavi::DiscoverClient(s, &reg, {});
  for (const std::string& name : reg.SubkeyNames("Software"))
    (void)reg.OpenKey("Software\\" + name);
  return 0;
}
