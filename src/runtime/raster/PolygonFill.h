// Scan conversion of filled polygons, blended into a bitmap within its clip
// rectangle.
//
// Fill coordinates name pixel corners: pixel (x, y) is the square from (x, y)
// to (x + 1, y + 1).  Without antialiasing a pixel is inside when its centre
// is; with it, a pixel is blended by the exact area the polygon covers
// (signed-area accumulation per row, so all contours fill together).
#pragma once

#include "runtime/Bitmap32.h"

#include <vector>

namespace brv::raster {

enum class FillRule { EvenOdd, NonZero };

struct Edge {
    double x0, y0, x1, y1;  // y0 < y1
    double dxdy;            // x step per unit of y
    int dir;                // +1 when the contour runs downwards
};

// Collects the edges of closed contours; horizontal edges are left out.
class EdgeList {
public:
    void Clear() { edges_.clear(); }
    void AddContour(const TFixedPoint* points, std::size_t count);
    void AddEdge(double x0, double y0, double x1, double y1);
    std::vector<Edge>& Edges() { return edges_; }

private:
    std::vector<Edge> edges_;
};

// Fills the area the edges enclose.  The edge order is changed.
void FillEdges(TBitmap32& bitmap, std::vector<Edge>& edges, FillRule rule, bool antialiased, TColor32 color);

}  // namespace brv::raster
