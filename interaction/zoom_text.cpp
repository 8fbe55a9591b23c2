#include "interaction/zoom_text.h"

#include <cstdint>

#include "render/projection.h"

namespace tavi {

namespace {

constexpr int kMinPercent = 10;
constexpr int kMaxPercent = 1600;

bool IsBlank(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

}  // namespace

bool ParseZoomText(const std::string& utf8, int* percent) {
  size_t begin = 0, end = utf8.size();
  if (end > 0 && utf8[end - 1] == '%') --end;
  while (begin < end && IsBlank(utf8[begin])) ++begin;
  while (end > begin && IsBlank(utf8[end - 1])) --end;
  bool negative = false;
  if (begin < end && (utf8[begin] == '+' || utf8[begin] == '-')) {
    negative = utf8[begin] == '-';
    ++begin;
  }
  if (begin == end) return false;
  int64_t value = 0;
  for (size_t i = begin; i < end; ++i) {
    const char c = utf8[i];
    if (c < '0' || c > '9') return false;
    if (value <= kMaxPercent) value = value * 10 + (c - '0');
  }
  if (negative) value = -value;
  if (value < kMinPercent || value > kMaxPercent) return false;
  *percent = int(value);
  return true;
}

std::string ZoomText(double zoom) {
  return std::to_string(ZoomPercent(zoom)) + "%";
}

}  // namespace tavi
