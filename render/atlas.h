#pragma once
// Where pictures go in the texture pages of the OpenGL view: square pages
// filled shelf by shelf. A picture goes to the shelf that holds its height
// with the least to spare (and little at all), or opens a new shelf of about
// its own height, so that pictures of mixed heights waste little. The first
// page starts small (a house of a few hundred pictures needs no more) and
// doubles its side when full, up to kMaxAtlasSide; only then does a second
// page open, at the full side. So one page serves as long as it can, and
// only the last page is ever partly empty.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tavi {

constexpr int kFirstAtlasSide = 512;
constexpr int kMaxAtlasSide = 2048;

class TAtlasAllocator {
 public:
  struct Place {
    int Page = 0, X = 0, Y = 0;
  };
  // A block of w x h texels; false when it is larger than a page or the
  // pages would exceed maxPages.
  bool Allocate(int w, int h, Place* out);
  // After Allocate: the page whose side it doubled (its blocks keep their
  // texel positions), or -1; and that page's side before.
  int GrownPage() const { return grownPage_; }
  int GrownFromSide() const { return grownFrom_; }
  // The same on one existing page only.
  bool AllocateOn(size_t page, int w, int h, Place* out);
  void Clear() { pages_.clear(); }

  size_t PageCount() const { return pages_.size(); }
  int PageSide(size_t page) const { return pages_[page].Side; }
  // The RGBA bytes all pages take.
  size_t PageBytes() const;

  size_t maxPages = 0xFFFF;

 private:
  struct Shelf {
    int Y, Height, X;
  };
  struct Page {
    int Side = 0, NextY = 0;
    std::vector<Shelf> Shelves;
  };
  bool InShelf(Page& page, size_t pageIndex, int w, int h, Place* out);
  std::vector<Page> pages_;
  int grownPage_ = -1, grownFrom_ = 0;
};

}  // namespace tavi
