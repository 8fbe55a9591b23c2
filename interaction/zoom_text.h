#pragma once
// The control window's zoom box: the text typed or chosen there and the
// zoom factor it stands for.
#include <string>

namespace tavi {

// The box's text as a whole percentage: one trailing "%" is dropped, then
// the rest must be decimal digits, a sign allowed in front and ASCII blanks
// around.
// Text that is not such a number, and percentages outside 10..1600 (a zoom
// of 0 or below cannot be drawn, a huge one only makes the surface
// enormous), give false.
bool ParseZoomText(const std::string& utf8, int* percent);

// The box's text for a zoom factor: its whole percentage and "%".
std::string ZoomText(double zoom);

}  // namespace tavi
