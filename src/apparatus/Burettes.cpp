#include "apparatus/Burettes.h"

#include "apparatus/Labels.h"
#include "apparatus/Magnifier.h"
#include "runtime/AddMaths.h"
#include "runtime/Polygon32.h"

#include <algorithm>
#include <cmath>

namespace brv {

namespace {

constexpr float LipAngleStep = 0.31415927f;  // π/10: six points make a quarter circle

float PixelsPerCm3(float H)
{
    return 0.83f * H / 50.0f;
}

void SetScaleFont(TBitmap32& bitmap, int height)
{
    SetLabelFont(bitmap, height);
    bitmap.Font.Color = clBlack32;
}

// A scale label with its right edge on the tube's left edge, centred on its tick.
void DrawScaleLabel(TBitmap32& bitmap, int tubeLeft, int y, int value)
{
    QString text = QString::number(value);
    TBitmap32::TSize extent = bitmap.TextExtent(text);
    bitmap.TextOut(tubeLeft - extent.cx, y - extent.cy / 2, text);
}

// The graduations of a burette tube: 0 at the top, 50 at Bottom, long ticks
// across the tube every 10 cm³, half-width ones every 5, short ones between.
void DrawBuretteScale(TBitmap32& bitmap, float X, float W, const TRect& tube, float u)
{
    SetScaleFont(bitmap, Round(1.7f * u));
    int halfEnd = Round(X + 0.5f * W);
    int shortEnd = Round(X + 0.3f * W);
    for (int i = 0; i <= 50; ++i) {
        int y = tube.Bottom - Round(float(i) * u);
        if (i % 10 == 0) {
            bitmap.HorzLine(tube.Left, y, tube.Right - 1, clBlack32);
            DrawScaleLabel(bitmap, tube.Left, y, 50 - i);
        } else {
            bitmap.HorzLine(tube.Left, y, i % 5 == 0 ? halfEnd : shortEnd, clBlack32);
        }
    }
}

// The bar of a tap with its white, black-rimmed body.
TRect DrawTapBar(TBitmap32& bitmap, float X, float W, float top, float bottom)
{
    TRect bar{Round(X + 0.2f * W), Round(top), Round(X + 0.9f * W), Round(bottom)};
    bitmap.FillRect(bar, clWhite32);
    bitmap.FrameRect(bar, clBlack32);
    return bar;
}

// The tap's handle: an ellipse left of the bar, drawn with the plain canvas.
void DrawTapHandle(TBitmap32& bitmap, float X, float W, int barLeft, int top, int bottom)
{
    TCanvas& canvas = bitmap.Canvas();
    canvas.pen.Color = clBlack32;
    canvas.pen.Width = 1;
    canvas.pen.Style = TCanvas::PenStyle::Solid;
    canvas.pen.Mode = TCanvas::PenMode::Copy;
    canvas.brush.Color = clWhite32;
    canvas.brush.Style = TCanvas::BrushStyle::Solid;
    canvas.Ellipse(Round(X - 0.1f * W), top, barLeft, bottom);
}

void StrokeOpen(TBitmap32& bitmap, const TContour& points)
{
    DrawPolyline(bitmap, points, clBlack32, false, true);
}

// A column of bubbles of radius 2 rising up the middle of the water, clipped
// to it.
void DrawBubbles(TBitmap32& bitmap, const TRect& water, int spacing, int phase)
{
    if (spacing <= 0 || water.IsEmpty())
        return;
    TRect saved = bitmap.ClipRect();
    bitmap.SetClipRect({std::max(water.Left, saved.Left), std::max(water.Top, saved.Top),
                        std::min(water.Right, saved.Right), std::min(water.Bottom, saved.Bottom)});
    int x = (water.Left + water.Right) / 2;
    for (int y = water.Bottom - phase % spacing; y >= water.Top; y -= spacing)
        DrawCircle(bitmap, x, y, 2);
    bitmap.SetClipRect(saved);
}

// The outline of the gas burette: the mouth curling outwards at the bottom,
// the walls, the shoulders and the narrow jet at the top.
TContour GasBuretteOutline(float X, float Y, float W, float H, const TRect& tube)
{
    float r = 0.2f * W;
    TContour c;
    c.reserve(20);
    for (int k = 0; k <= 5; ++k) {
        float a = float(k) * LipAngleStep;
        c.push_back(FixedPoint(X - r + r * std::sin(a), Y + H - r + r * std::cos(a)));
    }
    float left = float(tube.Left), right = float(tube.Right), bottom = float(tube.Bottom);
    c.push_back(FixedPoint(left, bottom));
    c.push_back(FixedPoint(left, Y + 0.1f * H));
    c.push_back(FixedPoint(X + 0.4f * W, Y + 0.08f * H));
    c.push_back(FixedPoint(X + 0.4f * W, Y));
    c.push_back(FixedPoint(X + 0.6f * W, Y));
    c.push_back(FixedPoint(X + 0.6f * W, Y + 0.08f * H));
    c.push_back(FixedPoint(right, Y + 0.1f * H));
    c.push_back(FixedPoint(right, bottom));
    for (int k = 0; k <= 5; ++k) {
        float a = float(k) * LipAngleStep;
        c.push_back(FixedPoint(X + W + r - r * std::cos(a), Y + H - r + r * std::sin(a)));
    }
    return c;
}

// The tapered bottom and the jet of an upright burette, from the foot of one
// wall round to the foot of the other; the liquid in it is always shown.
TContour TaperOutline(float X, float Y, float W, float H, const TRect& tube)
{
    float left = float(tube.Left), right = float(tube.Right), bottom = float(tube.Bottom);
    return {FixedPoint(left, bottom),
            FixedPoint(left, Y + 0.85f * H),
            FixedPoint(X + 0.4f * W, Y + 0.87f * H),
            FixedPoint(X + 0.4f * W, Y + H),
            FixedPoint(X + 0.6f * W, Y + H),
            FixedPoint(X + 0.6f * W, Y + 0.87f * H),
            FixedPoint(right, Y + 0.85f * H),
            FixedPoint(right, bottom)};
}

// --- the lens -----------------------------------------------------------------

struct TLensGeometry {
    float cx = 0, cy = 0;  // whole pixels
    float k = 0;           // pixels per 0.1 cm³
    int TubeLeft = 0, TubeRight = 0;
    int TickTop = 0, TickBottom = 0;
};

TLensGeometry LensGeometry(float X, float Y, float Size, float Reading)
{
    TLensGeometry g;
    g.cx = float(Round(X + 0.5f * Size));
    g.cy = float(Round(Y + 0.5f * Size));
    g.k = Size / 30.0f;
    g.TubeLeft = Round(g.cx - 0.2f * Size);
    g.TubeRight = Round(g.cx + 0.2f * Size);
    float tenK = 10.0f * g.k;
    // Near either end of the scale the ticks stop at the end mark.
    g.TickTop = Reading < 1.5f ? Round(g.cy - tenK * Reading) : Round(Y);
    g.TickBottom = Reading > 48.5f ? Round(tenK * (50.0f - Reading) + g.cy) : Round(Y + Size);
    return g;
}

void DrawLensTicks(TBitmap32& bitmap, const TLensGeometry& g, float Size, float Reading)
{
    SetScaleFont(bitmap, Round(0.1f * Size));
    int shortEnd = g.TubeLeft + Round(0.1f * Size);
    float shift = LensTickShift(Reading, g.k);
    ForEachLensTick(-25, 25, LensFirstLabel(Reading), 1, [&](const TLensTick& tick) {
        int y = Round(float(tick.Index) * g.k + g.cy - shift);
        if (y < g.TickTop || y > g.TickBottom)
            return;
        switch (tick.Kind) {
            case TTickKind::Major:
                bitmap.HorzLine(g.TubeLeft, y, g.TubeRight - 1, clBlack32);
                DrawScaleLabel(bitmap, g.TubeLeft, y, tick.Label);
                break;
            case TTickKind::Half:
                bitmap.HorzLine(g.TubeLeft, y, int(g.cx), clBlack32);
                break;
            case TTickKind::Minor:
                bitmap.HorzLine(g.TubeLeft, y, shortEnd, clBlack32);
                break;
        }
    });
}

}  // namespace

void DrawCircle(TBitmap32& bitmap, int CX, int CY, int Radius)
{
    int x = 0, y = Radius, d = 1 - Radius;
    while (y >= x) {
        for (int sx : {-x, x})
            for (int sy : {-y, y}) {
                bitmap.SetPixel(CX + sx, CY + sy, clBlack32);
                bitmap.SetPixel(CX + sy, CY + sx, clBlack32);
            }
        if (d < 0) {
            d += 4 * x + 6;
        } else {
            d += 4 * (x - y) + 10;
            --y;
        }
        ++x;
    }
}

void DrawGasBurette(TBitmap32& bitmap, bool Bubbling, int BubblePhase, float X, float Y, float W, float H,
                    float GasVolume)
{
    float u = PixelsPerCm3(H);
    TRect tube{Round(X), Round(Y + 0.15f * H), Round(X + W), Round(Y + 0.98f * H)};
    int surface = tube.Top + Round(GasVolume * u);
    bitmap.FillRect(tube.Left, tube.Top, tube.Right, surface, clWhite32);
    TRect water{tube.Left, surface, tube.Right, tube.Bottom};
    bitmap.FillRect(water, clBuretteLiquid32);

    if (Bubbling)
        DrawBubbles(bitmap, water, Round(2.0f * u), BubblePhase);

    DrawBuretteScale(bitmap, X, W, tube, u);
    StrokeOpen(bitmap, GasBuretteOutline(X, Y, W, H, tube));

    TRect bar = DrawTapBar(bitmap, X, W, Y + 0.05f * H, Y + 0.07f * H);
    DrawCircle(bitmap, Round(X + 0.5f * W), Round(Y + 0.06f * H), Round(0.08f * W));
    DrawTapHandle(bitmap, X, W, bar.Left, bar.Top, bar.Bottom);
}

void DrawBuretteLens(TBitmap32& bitmap, float X, float Y, float Size, float Reading)
{
    TLensGeometry g = LensGeometry(X, Y, Size, Reading);
    // The surface is the centre line: liquid below it, walls the whole height.
    bitmap.FillRect(g.TubeLeft, int(g.cy), g.TubeRight, Round(Y + Size), clBuretteLiquid32);
    bitmap.VertLine(g.TubeLeft, Round(Y), Round(Y + Size), clBlack32);
    bitmap.VertLine(g.TubeRight, Round(Y), Round(Y + Size), clBlack32);
    DrawLensTicks(bitmap, g, Size, Reading);
    DrawMagnifierMask(bitmap, g.cx, g.cy, Size);
}

void DrawBurette(TBitmap32& bitmap, bool TapOpen, float X, float Y, float W, float H, float LiquidLeft)
{
    float u = PixelsPerCm3(H);
    TRect tube{Round(X), Round(Y), Round(X + W), Round(Y + 0.83f * H)};
    bitmap.FillRect(tube.Left, tube.Bottom - Round(LiquidLeft * u), tube.Right, tube.Bottom,
                    clBuretteLiquid32);
    // The taper's fill takes in the tube's bottom row, where the 50 mark
    // stands, so it goes down before the walls and the scale.
    TContour taper = TaperOutline(X, Y, W, H, tube);
    FillPolygon(bitmap, taper, clBuretteLiquid32, false);
    bitmap.VertLine(tube.Left, tube.Top, tube.Bottom, clBlack32);
    bitmap.VertLine(tube.Right, tube.Top, tube.Bottom, clBlack32);
    DrawBuretteScale(bitmap, X, W, tube, u);

    // The flared top: a quarter circle each side joined to the wall.
    float r = 0.2f * W;
    float mirror = 2.0f * X + W;
    TContour leftLip, rightLip;
    auto addLipPoint = [&](float x, float y) {
        leftLip.push_back(FixedPoint(x, y));
        rightLip.push_back(FixedPoint(mirror - x, y));
    };
    for (int k = 0; k <= 5; ++k) {
        float a = float(k) * LipAngleStep;
        addLipPoint(X - r + r * std::sin(a), Y - r - r * std::cos(a));
    }
    addLipPoint(X, Y);
    StrokeOpen(bitmap, leftLip);
    StrokeOpen(bitmap, rightLip);
    StrokeOpen(bitmap, taper);

    TRect bar = DrawTapBar(bitmap, X, W, Y + 0.9f * H, Y + 0.92f * H);
    int handleTop = bar.Top, handleBottom = bar.Bottom;
    if (TapOpen) {
        TRect bore{Round(X + 0.4f * W), bar.Top, Round(X + 0.6f * W), bar.Bottom};
        bitmap.FillRect(bore, clBuretteLiquid32);
        bitmap.FrameRect(bore, clBlack32);
        handleTop = Round(Y + 0.89f * H);
        handleBottom = Round(Y + 0.93f * H);
    } else {
        DrawCircle(bitmap, Round(X + 0.5f * W), Round(Y + 0.91f * H), Round(0.08f * W));
    }
    DrawTapHandle(bitmap, X, W, bar.Left, handleTop, handleBottom);
}

}  // namespace brv
