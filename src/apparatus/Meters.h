// Electrical and timing instruments: a digital meter, a bench power supply
// with a 0–12 V selector knob, and a stopwatch read-out.
//
// Every routine paints once into a bitmap; the caller passes positions and
// lengths already in pixels, and every proportion is a fraction of the
// instrument's own width W and height H, so an instrument scales with the
// picture.  Readings are formatted by the caller (FormatMinSec, FormatSeconds
// or "%1.1f" / "%1.2f"); these routines only draw.
//
// The routines set the bitmap's font name, height and colour (black) and do not
// restore them.  The meter and the stopwatch leave the font style normal; the
// power supply does not touch the style at all, so its scale is drawn in
// whatever style the previous drawing left.
#pragma once

#include "runtime/Bitmap32.h"

#include <QString>

#include <array>
#include <cstdint>

namespace brv {

// Unit label of a digital meter.  Any other value draws no label.
enum MeterUnit : std::uint8_t { muOhm = 0, muAmp = 1, muVolt = 2, muKiloOhm = 3 };

struct TSinCos {
    float Sin = 0;
    float Cos = 0;
};
// Entry k holds (sin, cos) of k × 2π/16 (k = 0..16) and k × 2π/26 (k = 0..26),
// in single precision; index 0 points right and angles run counter-clockwise
// on the screen.
using TCircleTable16 = std::array<TSinCos, 17>;
using TCircleTable26 = std::array<TSinCos, 27>;

// Builds both unit-circle tables.  Calling it again rebuilds the same values;
// the drawing routines and the accessors below build the tables on first use,
// so nothing ever draws with empty tables.
void InitMeterTables();
const TCircleTable16& CircleTable16();
const TCircleTable26& CircleTable26();

// Meter body in BodyColour with two terminals, the reading centred in its
// display and the unit label under it.
void DrawDigitalMeter(TBitmap32& bitmap, const QString& Text, MeterUnit Unit, float Left, float Top, float W,
                      float H, TColor32 BodyColour);

// Power supply whose knob points at Volts (0..12): 0 points right and each volt
// turns the pointer 360/13 degrees counter-clockwise.  The knob sits in an
// opening of the body, so whatever lies beneath shows round its rim.
void DrawPowerSupply(TBitmap32& bitmap, int Volts, TColor32 BodyColour, float Left, float Top, float W,
                     float H);

// Orange stopwatch body with Text centred in its display and Caption under it.
void DrawStopwatch(TBitmap32& bitmap, const QString& Text, const QString& Caption, float Left, float Top,
                   float W, float H);

// Whole elapsed seconds as "mm : ss" (125 → "02 : 05"); a negative time reads
// as zero.
QString FormatMinSec(int seconds);
// Seconds to the millisecond, "%3.3f" (0 → "0.000"); a negative or undefined
// time reads as zero.
QString FormatSeconds(double seconds);

}  // namespace brv
