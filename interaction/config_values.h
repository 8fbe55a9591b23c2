#pragma once
// The configuration dialog's lists and the values their entries stand for.

namespace tavi {

// The plot size lists: entry i is a size of i + 8 cells. A size the lists do
// not offer has no entry; taking back "no entry" (-1) gives 7.
int PlotSizeIndex(int cells);
int PlotSizeOfIndex(int index);

// The clipboard text width list: 36, 44, 52, 60, 68, 76 characters. A width
// between two entries shows the lower one; widths outside the offered range
// show the last entry.
int TextWidthIndex(int lineWidth);
int LineWidthOfIndex(int index);

}  // namespace tavi
