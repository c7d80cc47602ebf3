// Polygons with 16.16 fixed-point vertices, filled and stroked with or without
// antialiasing.  All contours are filled together by the fill rule, so an inner
// contour of an even-odd polygon cuts a hole.
//
// Fills treat whole coordinates as pixel corners (the square (10, 10)-(20, 20)
// fills pixels 10..19); strokes, like every line, treat them as pixel centres
// (its outline runs along pixel rows and columns 10 and 20).
#pragma once

#include "Bitmap32.h"

#include <vector>

namespace brv {

enum class TPolyFillMode { pfAlternate /* even-odd */, pfWinding /* non-zero */ };

using TContour = std::vector<TFixedPoint>;

class TPolygon32 {
public:
    TPolygon32();  // one empty contour, closed, not antialiased, even-odd

    bool Closed = true;
    bool Antialiased = false;
    TPolyFillMode FillMode = TPolyFillMode::pfAlternate;

    void AddPoint(const TFixedPoint& p);
    void AddPoints(const TFixedPoint* points, int count);
    void NewContour();
    void Clear();
    void Offset(TFixed dx, TFixed dy);

    const std::vector<TContour>& Points() const { return contours_; }
    std::vector<TContour>& Points() { return contours_; }

    void DrawFill(TBitmap32& bitmap, TColor32 color) const;
    void DrawOutline(TBitmap32& bitmap, TColor32 color) const;
    // Fill if the fill colour's alpha is not 0, then outline if the outline
    // colour's alpha is not 0.
    void Draw(TBitmap32& bitmap, TColor32 outlineColor, TColor32 fillColor) const;

    // Each contour forward then backward (closed: two contours; open: one);
    // contours with fewer than 2 points are dropped.
    TPolygon32 OutlineShape() const;
    // Offsets every contour of 2 or more points sideways by delta along its
    // vertex normals, mitring or bevelling the corners: a corner is mitred
    // while its mitre is at most (1 + edgeSharpness) × |delta| long (sharpness
    // taken within 0..0.99), so a right angle is mitred only from a sharpness
    // of about 0.42 and a reversal is always bevelled.  Repeated points are
    // passed over; a contour without two distinct points is dropped.
    TPolygon32 Grow(TFixed delta, float edgeSharpness = 0) const;
    // The program's stroke: an antialiased band about 2 pixels wide centred on
    // every contour.
    void ThickOutline(TBitmap32& bitmap, TColor32 color) const;

private:
    std::vector<TContour> contours_;
};

// One contour, filled by the even-odd rule.
void FillPolygon(TBitmap32& bitmap, const TContour& points, TColor32 color, bool smooth);
// One contour stroked with a 1-pixel line.
void DrawPolyline(TBitmap32& bitmap, const TContour& points, TColor32 color, bool closed, bool smooth);

}  // namespace brv
