#include "interaction/config_values.h"

namespace tavi {

int PlotSizeIndex(int cells) {
  return cells - 8;
}

int PlotSizeOfIndex(int index) {
  return index + 8;
}

int TextWidthIndex(int lineWidth) {
  const int i = (lineWidth - 36) / 8;  // truncates toward zero
  return i < 0 || i > 5 ? 5 : i;
}

int LineWidthOfIndex(int index) {
  return index * 8 + 36;
}

}  // namespace tavi
