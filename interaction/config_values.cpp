#include "interaction/config_values.h"

#include <algorithm>

namespace tavi {

namespace {

constexpr int kFirstListedSize = 8;
constexpr int kLastListedSize = 25;

}  // namespace

std::vector<int> PlotSizeChoices(int current) {
  std::vector<int> sizes;
  for (int s = kFirstListedSize; s <= kLastListedSize; ++s) sizes.push_back(s);
  if (current > 0 && (current < kFirstListedSize || current > kLastListedSize))
    sizes.insert(std::lower_bound(sizes.begin(), sizes.end(), current), current);
  return sizes;
}

int PlotSizeChoiceIndex(const std::vector<int>& choices, int size) {
  const auto it = std::find(choices.begin(), choices.end(), size);
  return it == choices.end() ? -1 : int(it - choices.begin());
}

int ChosenPlotSize(const std::vector<int>& choices, int index, int current) {
  return index >= 0 && index < int(choices.size()) ? choices[size_t(index)] : current;
}

int TextWidthIndex(int lineWidth) {
  const int i = (lineWidth - 36) / 8;  // truncates toward zero
  return i < 0 || i > 5 ? 5 : i;
}

int LineWidthOfIndex(int index) {
  return index * 8 + 36;
}

}  // namespace tavi
