#pragma once
// The configuration dialog's lists and the values their entries stand for.
#include <vector>

namespace tavi {

// The plot size lists hold document sizes; each entry shows its size less
// one. They offer 8..25 cells and, when the house has a size outside that
// range (a loaded or imported house may), that size too, in order, so that
// the lists always show the size the house has.
std::vector<int> PlotSizeChoices(int current);
// The entry of `choices` holding `size`; -1 when none does.
int PlotSizeChoiceIndex(const std::vector<int>& choices, int size);
// The document size an entry stands for; without an entry (index -1 or out
// of range) the size stays `current`.
int ChosenPlotSize(const std::vector<int>& choices, int index, int current);

// The clipboard text width list: 36, 44, 52, 60, 68, 76 characters. A width
// between two entries shows the lower one; widths outside the offered range
// show the last entry.
int TextWidthIndex(int lineWidth);
int LineWidthOfIndex(int index);

}  // namespace tavi
