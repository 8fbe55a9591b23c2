#include "render/atlas.h"

namespace tavi {

namespace {

// A shelf takes a picture up to this many texels lower than itself.
int Slack(int h) {
  return h / 8 > 3 ? h / 8 : 3;
}

// New shelves are a little higher than the picture that opens them, so that
// pictures of nearly the same height share them.
int ShelfHeight(int h) {
  return (h + 3) / 4 * 4;
}

}  // namespace

size_t TAtlasAllocator::PageBytes() const {
  size_t bytes = 0;
  for (const Page& p : pages_) bytes += size_t(p.Side) * size_t(p.Side) * 4;
  return bytes;
}

bool TAtlasAllocator::InShelf(Page& page, size_t pageIndex, int w, int h, Place* out) {
  Shelf* best = nullptr;
  for (Shelf& s : page.Shelves)
    if (s.Height >= h && s.Height - h <= Slack(h) && s.X + w <= page.Side &&
        (!best || s.Height < best->Height))
      best = &s;
  if (!best) {
    const int sh = ShelfHeight(h) <= page.Side ? ShelfHeight(h) : h;
    if (page.NextY + sh > page.Side || w > page.Side) return false;
    page.Shelves.push_back(Shelf{page.NextY, sh, 0});
    page.NextY += sh;
    best = &page.Shelves.back();
  }
  *out = Place{int(pageIndex), best->X, best->Y};
  best->X += w;
  return true;
}

bool TAtlasAllocator::AllocateOn(size_t page, int w, int h, Place* out) {
  return page < pages_.size() && w > 0 && h > 0 && InShelf(pages_[page], page, w, h, out);
}

bool TAtlasAllocator::Allocate(int w, int h, Place* out) {
  grownPage_ = -1;
  if (w <= 0 || h <= 0 || w > kMaxAtlasSide || h > kMaxAtlasSide) return false;
  for (size_t i = 0; i < pages_.size(); ++i)
    if (InShelf(pages_[i], i, w, h, out)) return true;
  if (!pages_.empty() && pages_.back().Side < kMaxAtlasSide) {
    Page& last = pages_.back();
    const int before = last.Side;
    while (last.Side < kMaxAtlasSide) {
      last.Side *= 2;
      if (InShelf(last, pages_.size() - 1, w, h, out)) {
        grownPage_ = int(pages_.size()) - 1;
        grownFrom_ = before;
        return true;
      }
    }
  }
  if (pages_.size() >= maxPages) return false;
  Page page;
  page.Side = pages_.empty() ? kFirstAtlasSide : kMaxAtlasSide;
  while (page.Side < w || page.Side < h) page.Side *= 2;
  pages_.push_back(page);
  return InShelf(pages_.back(), pages_.size() - 1, w, h, out);
}

}  // namespace tavi
