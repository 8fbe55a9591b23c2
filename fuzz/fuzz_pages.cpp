// Catalogue page files: any text reads without harm, and what is written back
// reads again to the same pages.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "settings/catalogue_pages.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tavi;
  const std::string text(reinterpret_cast<const char*>(data), size);
  CataloguePages pages;
  int current = size > 0 && data[0] == '7' ? pages.AddPage("Bookmark") : -1;
  pages.ReadText(text, &current);
  for (const auto& p : pages.Pages)
    if (p.Count() > kMaxPageCodes) std::abort();
  pages.SystemPageNames.clear();  // every page goes to the user file

  // Page names holding line breaks cannot survive a round trip; the rest must.
  for (auto& p : pages.Pages)
    if (p.Name.find_first_of("\r\n") != std::string::npos) return 0;
  const std::string written = pages.PageFileText(false);
  CataloguePages again;
  int cur = -1;
  again.ReadText(written, &cur);
  if (again.Pages.size() != pages.Pages.size()) std::abort();
  for (size_t i = 0; i < pages.Pages.size(); ++i)
    if (again.Pages[i].Codes != pages.Pages[i].Codes || again.Pages[i].Name != pages.Pages[i].Name)
      std::abort();

  const std::string lower = LowerSearchText(text.substr(0, 32));
  FindNextName(lower, int(size % 7) - 1, int(pages.Pages.size()),
               [&](int i) { return pages.Pages[size_t(i)].Name; });
  return 0;
}
