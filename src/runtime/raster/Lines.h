// 1-pixel lines, blended into a bitmap and clipped to its clip rectangle.
//
// Line coordinates name pixel centres: (x, y) with whole x and y is the centre
// of pixel (x, y), so a line between whole points runs along pixel rows or
// columns without spilling into their neighbours.
#pragma once

#include "runtime/Bitmap32.h"

namespace brv::raster {

// Antialiased (Wu's method): each column (or row, for steep lines) gets the
// two pixels nearest the line, weighted by distance; the ends are weighted by
// how much of their pixel the line covers.
void SmoothLine(TBitmap32& bitmap, double x0, double y0, double x1, double y1, TColor32 color);

// Aliased (Bresenham) between the pixels nearest the end points; the last
// pixel is left out unless drawLast, so the segments of a polyline meet
// without blending their shared pixel twice.
void PlainLine(TBitmap32& bitmap, double x0, double y0, double x1, double y1, TColor32 color, bool drawLast);

}  // namespace brv::raster
