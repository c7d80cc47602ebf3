// Glassware: a beaker, a round-bottomed test tube, a water bath and a conical
// flask.
//
// Every routine paints once into a bitmap and keeps nothing.  (X, Y) is the
// top-left of the vessel's walls (the lips stand outside it), every length is
// already in pixels, and LiquidHeight / WaterHeight are measured up from the
// bottom (Y + Height).  ClearInside paints the whole interior white first,
// hiding whatever was drawn behind the glass; without it, what lies inside
// the glass above the liquid stays visible.  The rims are never closed.
#pragma once

#include "runtime/Bitmap32.h"

namespace brv {

constexpr TColor32 clBeakerLiquid32 = 0xFFD6EAFF;
constexpr TColor32 clMeniscus32 = 0xFF7F7F7F;
constexpr TColor32 clBathWall32 = 0xFFBFBFBF;
constexpr TColor32 clFlaskLiquid32 = 0xFFFFFFE0;
constexpr TColor32 clBung32 = 0xFFFF8000;

// A beaker with lips and rounded base corners and pale-blue liquid.
void DrawBeaker(TBitmap32& bitmap, bool ClearInside, float X, float Y, float Width, float Height,
                float LiquidHeight);

// A round-bottomed test tube with liquid of LiquidColor and a grey meniscus
// line across it at the liquid's level.
void DrawTestTube(TBitmap32& bitmap, TColor32 LiquidColor, bool ClearInside, float X, float Y, float Width,
                  float Height, float LiquidHeight);

// An open tank with grey walls and floor WallThickness thick; the water shows
// between the walls.
void DrawWaterBath(TBitmap32& bitmap, TColor32 WaterColor, float X, float Y, float Width, float Height,
                   float WaterHeight, float WallThickness);

// A conical flask with pale-yellow liquid, optionally stoppered with an orange
// bung and fizzing: the bubbles are random black dots, different on every
// call, each kept inside the flask's outline.  Draws through the bitmap's
// canvas, whose pen and brush it leaves changed.
void DrawConicalFlask(TBitmap32& bitmap, bool Bung, bool Bubbles, float X, float Y, float Width, float Height,
                      float LiquidHeight);

}  // namespace brv
