// Circuit wires: two-pixel lines along pixel rows and columns, as the
// electrical experiments connect their meters, supplies and heaters.
#pragma once

#include "runtime/Bitmap32.h"

#include <initializer_list>

namespace brv {

// A wire through the corner points, each run horizontal or vertical: a
// 1-pixel line through the points (ends included) doubled one pixel above
// (horizontal runs) or to the left (vertical runs).  A slanting run is drawn
// as its horizontal and then its vertical leg.
void DrawWire(TBitmap32& bitmap, std::initializer_list<TPoint> points, TColor32 colour);

}  // namespace brv
