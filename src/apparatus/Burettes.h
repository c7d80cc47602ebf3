// Volumetric glassware: an upright burette with a tap, an inverted burette
// collecting gas over water, a round close-up of a burette scale, and a small
// circle outline used for bubbles and tap barrels.
//
// Every routine paints once into a bitmap and keeps nothing; positions and
// lengths are already in pixels.  A burette's scale runs from 0 cm³ at the top
// of its graduated part to 50 cm³ at the bottom, u = 0.83 × H / 50 pixels per
// cm³.  The scale routines set the bitmap's font (bold "arial", black) and
// leave it so; the taps are drawn through the bitmap's canvas, whose pen and
// brush they leave changed.
#pragma once

#include "runtime/Bitmap32.h"

namespace brv {

constexpr TColor32 clBuretteLiquid32 = 0xFFD6EAFF;

// A 1-pixel black circle outline by the midpoint algorithm, each pixel set
// only inside the clip rectangle.  A negative radius draws nothing.
void DrawCircle(TBitmap32& bitmap, int CX, int CY, int Radius);

// An inverted burette standing open end down in water, its tap closed, with
// GasVolume cm³ of gas above the water.  While Bubbling, a column of bubbles
// rises through the water only, one pixel per unit of BubblePhase; on a
// picture so small that the bubbles' spacing rounds to 0 none are drawn.
void DrawGasBurette(TBitmap32& bitmap, bool Bubbling, int BubblePhase, float X, float Y, float W, float H,
                    float GasVolume);

// A round lens of diameter Size whose centre line is the liquid surface at
// Reading cm³, one cm³ spanning Size / 3 pixels.  No tick is drawn beyond the
// 0 and 50 marks.  The lens whitens the square of side 1.2 × Size about its
// centre outside the circle.
void DrawBuretteLens(TBitmap32& bitmap, float X, float Y, float Size, float Reading);

// An upright burette with a flared top, a tapered jet and a tap shown open or
// closed; LiquidLeft cm³ stand above the 50 mark, so the surface reads
// 50 − LiquidLeft.  The liquid in the taper and the jet is always shown.
void DrawBurette(TBitmap32& bitmap, bool TapOpen, float X, float Y, float W, float H, float LiquidLeft);

}  // namespace brv
