// Round shapes shared by the apparatus, the lenses and the experiments' balls.
#pragma once

#include "runtime/Bitmap32.h"
#include "runtime/Polygon32.h"

namespace brv {

// Appends a regular polygon of n points about (cx, cy) to the polygon's last
// contour: point k at angle 2πk/n, (cx + r cos a, cy + r sin a), so point 0
// points right and the points run clockwise on the screen.
void AddCircle(TPolygon32& polygon, float cx, float cy, float radius, int n);

// A disc of `points` corners: the inside filled without antialiasing and the
// rim stroked antialiased, 1 pixel wide, so a moving ball keeps a crisp body
// and a smooth edge.  A colour of alpha 0 skips that part.
void DrawDisc(TBitmap32& b, float cx, float cy, float radius, TColor32 fill, TColor32 outline,
              int points = 50);

// A closed shape filled without antialiasing, so neighbouring parts meet
// without a seam, and outlined in black with it, so its edge stays smooth.
void FillAndOutline(TPolygon32& shape, TBitmap32& b, TColor32 fill);

// The disc that fills a square location (a ball's layer), drawn as DrawDisc.
void DrawDiscIn(TBitmap32& b, const TFloatRect& location, TColor32 fill, TColor32 outline, int points);

}  // namespace brv
