// Metre rules: a pale-yellow strip of 100 equal divisions, numbered every ten.
//
// A rule always has 100 divisions whatever its length; the caller passes the
// position and size already in pixels.  Division i lies at round(i × u) from
// the start, u being a hundredth of the length, so a 100-pixel rule has its
// ticks exactly one pixel apart and a longer one spaces them within a pixel of
// each other.  The numbers are bold "arial" of height round(2.5 × u); the
// routines set the font's name, height and style and leave them so, but keep
// the bitmap's font colour.
#pragma once

#include "runtime/Bitmap32.h"

namespace brv {

// An upright rule with its ticks along the right edge and its numbers outside
// the strip to the left (the caller leaves room for them).  Numbered 0 at the
// top to 100 at the bottom, or 100 at the top to 0 at the bottom when Reversed.
void DrawVerticalRule(TBitmap32& bitmap, bool Reversed, float Left, float Top, float Width, float Height);

// A rule lying down, Width long: ticks hang from the top edge and the numbers
// 10 to 90 sit under the long ticks inside the strip.
void DrawHorizontalRule(TBitmap32& bitmap, float Left, float Top, float Width, float Height);

}  // namespace brv
