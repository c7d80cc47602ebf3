// The magnifying lens shared by every close-up in the program (thermometer,
// burette, gate, spring, balance, column, rule and syringe lenses).
//
// A lens is drawn in two halves.  First the caller draws its magnified scale
// straight onto the picture so that the current reading lies on the lens's
// centre line; the scale helpers below give the label values and tick kinds
// that every lens numbers the same way.  Then DrawMagnifierMask paints white
// everything between the lens circle and a surrounding rectangle (the square
// of half-side 0.6 × Size unless the lens needs another), so only the round
// view survives, and strokes the rim: a dark-grey antialiased ring about two
// pixels wide centred on the circle.
//
// Because the mask whitens the whole square, a lens erases whatever was drawn
// earlier in that square outside its circle; callers draw lenses before the
// apparatus that may overlap the square.
#pragma once

#include "runtime/AddMaths.h"
#include "runtime/Bitmap32.h"
#include "runtime/Polygon32.h"

namespace brv {

constexpr TColor32 clLensRim32 = 0xFF3F3F3F;
constexpr int LensCirclePoints = 50;
// The mask's square reaches this fraction of Size either side of the centre.
constexpr float LensMaskHalfSide = 0.6f;

// Mask and rim of a lens of diameter size about (cx, cy), the mask reaching
// 0.6 × size either side of the centre.
void DrawMagnifierMask(TBitmap32& bitmap, float cx, float cy, float size);
// The same with the masked area given explicitly, for lenses whose frame is
// wider than the usual square (a rectangle about a balance scale, a square
// widened for a syringe barrel).
void DrawMagnifierMask(TBitmap32& bitmap, float cx, float cy, float size, const TFloatRect& maskArea);

// --- scale helpers ----------------------------------------------------------
// A lens scale is walked tick by tick over a range of minor-tick indices i;
// every tenth index is a major (labelled) tick, every fifth a half tick.

enum class TTickKind { Minor, Half, Major };
TTickKind LensTickKind(int index);

// The first label of a scale whose values grow along increasing i: two major
// divisions before the reading's own whole value, so the labels of a lens
// walked over i = -25..25 (or 0..50 with the reading at i = 20) are
// trunc(reading) - 2 ... trunc(reading) + 2.
inline int LensFirstLabel(float reading)
{
    return Trunc(reading) - 2;
}

// How far the ticks are shifted against increasing i so that the reading lies
// on the centre: frac(reading) × 10 minor steps, in pixels.
inline float LensTickShift(float reading, float minorStep)
{
    return (reading - std::trunc(reading)) * (10.0f * minorStep);
}

struct TLensTick {
    int Index = 0;
    TTickKind Kind = TTickKind::Minor;
    int Label = 0;  // the label value; meaningful for major ticks only
};

// Visits i = first..last in order.  The label counter starts at firstLabel and
// moves by labelStep after every major tick, whether the caller draws that
// tick or not, so the labels stay tied to their ticks at the lens's edges.
template <class Visit>
void ForEachLensTick(int first, int last, int firstLabel, int labelStep, Visit&& visit)
{
    int label = firstLabel;
    for (int i = first; i <= last; ++i) {
        TLensTick tick{i, LensTickKind(i), label};
        visit(tick);
        if (tick.Kind == TTickKind::Major)
            label += labelStep;
    }
}

// A magnified rule as a lens or a zoom window shows it: minor division i
// lies on row round(i × Step + Centre − LensTickShift(reading, Step)), so the
// reading falls on Centre.  Only rows strictly between Top and Bottom get a
// tick; every tick ends at TickEnd and starts at the x of its kind, and every
// major tick has its label right-aligned at LabelRight, centred on the tick,
// in the bitmap's current font.
struct TLensRule {
    float Centre = 0;
    float Step = 0;  // pixels per minor division
    int Top = 0, Bottom = 0;
    int TickEnd = 0;
    int MajorStart = 0, HalfStart = 0, MinorStart = 0;
    int LabelRight = 0;
};

// Tick lengths of a lens rule in pixels.
struct TLensTickLengths {
    int Major = 0, Half = 0, Minor = 0;
};
// The side of the rule's strip its ticks grow from.
enum class TLensRuleEdge { Right, Left };

// The rule of a lens whose strip is `window`: ticks on the rows strictly
// between window.Top and window.Bottom, each `length` pixels long against the
// edge (from the right: window.Right − length to window.Right − 1; from the
// left: window.Left to window.Left + length − 1), labels right-aligned at
// labelRight.  Minor division i lies on row round(i × step + centre − shift);
// a negative step makes the values grow upwards.  A strip with a frame passes
// the rectangle inside the frame's edge column, so its ticks start at the
// frame.
TLensRule LensRuleInWindow(const TRect& window, float centre, float step, const TLensTickLengths& lengths,
                           int labelRight, TLensRuleEdge edge = TLensRuleEdge::Right);

// Walks i = first..last with the labels counted as ForEachLensTick counts
// them.
void DrawLensRule(TBitmap32& bitmap, const TLensRule& rule, float reading, int first, int last,
                  int firstLabel, int labelStep);

}  // namespace brv
