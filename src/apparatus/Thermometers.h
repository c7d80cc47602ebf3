// Liquid-in-glass thermometers: a 0–100 ºC thermometer with a bulb, and a
// round close-up of its scale centred on the reading.
//
// Both routines paint once into a bitmap and keep nothing; (X, Y) is the
// top-left of the instrument and every length is already in pixels.  They set
// the bitmap's font (name, height, style, colour black) and leave it so.
// Temperatures outside 0–100 ºC are not clamped: callers keep them in range.
#pragma once

#include "runtime/Bitmap32.h"

namespace brv {

constexpr TColor32 clThermoLiquid32 = 0xFFFF0000;
constexpr TColor32 clThermoStrip32 = 0xFFFFFFE0;

// A Size × Size lens showing 24 ºC across its diameter with Temperature on
// its centre line: the scale moves, the top of the red liquid stays at the
// centre.  Labels every 10 ºC, long ticks every 5 ºC, short ticks every 1 ºC,
// nothing outside 0–100 ºC.  The lens whitens the square of side 1.2 × Size
// about its centre outside the circle.
void DrawThermometerLens(TBitmap32& bitmap, float X, float Y, float Size, float Temperature);

// A 0–100 ºC thermometer Height tall.  The tube is 3q wide with
// q = max(3, round(Width / 3)), so callers pass Width 9; the labels stand to
// the left of the tube, outside (X, Y).
void DrawThermometer(TBitmap32& bitmap, float X, float Y, float Width, float Height, float Temperature);

}  // namespace brv
