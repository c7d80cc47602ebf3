#include "apparatus/Thermometers.h"

#include "apparatus/Labels.h"
#include "apparatus/Magnifier.h"
#include "runtime/AddMaths.h"
#include "runtime/BRV_StrConstants.h"
#include "runtime/Polygon32.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace brv {

namespace {

void SetScaleFont(TBitmap32& bitmap, int height, bool bold)
{
    SetLabelFont(bitmap, height, bold);
    bitmap.Font.Color = clBlack32;
}

// Draws text with its right edge at `right`, centred vertically on y.
void TextOutRightCentred(TBitmap32& bitmap, int right, int y, const QString& text)
{
    TBitmap32::TSize extent = bitmap.TextExtent(text);
    bitmap.TextOut(right - extent.cx, y - extent.cy / 2, text);
}

float Frac(float v)
{
    return v - std::trunc(v);
}

// --- the close-up lens ------------------------------------------------------

// The strip, tube and liquid of the lens; returns the tube's edges.
struct TLensTube {
    int Top = 0, Bottom = 0, Left = 0, Right = 0;
};

TLensTube DrawLensTube(TBitmap32& bitmap, float X, float Y, float S)
{
    int stripLeft = Round(X + 0.2f * S);
    int stripRight = Round(X + 0.8f * S);
    TLensTube tube;
    tube.Top = Round(Y);
    tube.Bottom = Round(Y + S);
    bitmap.FillRect(stripLeft, tube.Top, stripRight, tube.Bottom, clThermoStrip32);
    bitmap.VertLine(stripLeft, tube.Top, tube.Bottom, clBlack32);
    bitmap.VertLine(stripRight, tube.Top, tube.Bottom, clBlack32);

    int wall = Round(0.2f * S);
    tube.Left = stripLeft + wall;
    tube.Right = stripRight - wall;
    bitmap.FillRect(tube.Left, tube.Top, tube.Right, tube.Bottom, clWhite32);
    // The reading sits on the centre line, so the liquid always fills the lower half.
    bitmap.FillRect(tube.Left, Round((tube.Top + tube.Bottom) / 2.0f), tube.Right, tube.Bottom,
                    clThermoLiquid32);
    bitmap.VertLine(tube.Left, tube.Top, tube.Bottom, clBlack32);
    bitmap.VertLine(tube.Right, tube.Top, tube.Bottom, clBlack32);
    return tube;
}

void DrawLensScale(TBitmap32& bitmap, const TLensTube& tube, float X, float Y, float S, float T)
{
    float p = S / 24.0f;  // pixels per ºC
    // Step 0 of the scale is 40 ºC above the reading's decade; the scale is
    // shifted by the reading's place within its decade so T lands on Y + S/2.
    int topValue = 10 * (Trunc(T * 0.1f) + 4);
    int offset = Round(float(Trunc(T) % 10) * p + Frac(T) * p);
    float base = Y - 7.0f * S / 6.0f;

    SetScaleFont(bitmap, Round(0.1f * S), true);
    int longEnd = tube.Left + Round(0.1f * S);
    int shortEnd = tube.Left + Round(0.05f * S);
    int labelRight = Round(X + 0.37f * S);

    for (int i = 15; i <= 55; ++i) {
        int y = Round(float(i) * p + base + float(offset));
        if (y < tube.Top || y > tube.Bottom)
            continue;
        int degrees = topValue - i;
        if (i % 10 == 0 && degrees >= 0 && degrees <= 100) {
            bitmap.HorzLine(tube.Left, y, longEnd, clBlack32);
            TextOutRightCentred(bitmap, labelRight, y, QString::number(degrees));
        } else if (degrees < 0 || degrees >= 100) {
            continue;
        } else if (i % 5 == 0) {
            bitmap.HorzLine(tube.Left, y, longEnd, clBlack32);
        } else {
            bitmap.HorzLine(tube.Left, y, shortEnd, clBlack32);
        }
    }

    QString unit = str::sDegC();
    int h = bitmap.TextHeight(unit);
    bitmap.TextOut(Round(X + 0.65f * S), Round(Y + (S - float(h)) / 2.0f), unit);
}

// --- the thermometer --------------------------------------------------------

// The bulb: four quarter arcs of radius q, five points each, joined by
// straight sides.  Its top edge lies inside the tube's lower end.
TPolygon32 BulbPolygon(float X, float Y, float W, float p, int q)
{
    float xl = X + float(q) - 1.0f;
    float xr = X + W - float(q);
    float y1 = Y + 53.0f * p;
    float y2 = Y + 57.0f * p;
    TXY arc[5];
    for (int k = 0; k < 5; ++k)
        arc[k] = PolarToXY(float(k) * 22.5f * std::numbers::pi_v<float> / 180.0f, float(q));

    TPolygon32 bulb;
    for (const TXY& v : arc)  // v.a = q sin a, v.b = q cos a
        bulb.AddPoint(FixedPoint(xl - v.a, y1 - v.b));
    for (const TXY& v : arc)
        bulb.AddPoint(FixedPoint(xl - v.b, y2 + v.a));
    for (const TXY& v : arc)
        bulb.AddPoint(FixedPoint(xr + v.a, y2 + v.b));
    for (const TXY& v : arc)
        bulb.AddPoint(FixedPoint(xr + v.b, y1 - v.a));
    return bulb;
}

void DrawThermometerScale(TBitmap32& bitmap, int left, int right, int top, float p)
{
    SetScaleFont(bitmap, Round(1.75f * p), false);
    int mid = Round((left + right) / 2.0f);
    for (int i = 0; i <= 50; ++i) {
        int y = Round(p + float(i) * p) + top;
        if (i % 5 != 0) {
            bitmap.HorzLine(left, y, mid, clBlack32);
            continue;
        }
        bitmap.HorzLine(left, y, right, clBlack32);
        TextOutRightCentred(bitmap, left, y, QString::number(100 - 2 * i));
    }
}

}  // namespace

void DrawThermometerLens(TBitmap32& bitmap, float X, float Y, float Size, float Temperature)
{
    TLensTube tube = DrawLensTube(bitmap, X, Y, Size);
    DrawLensScale(bitmap, tube, X, Y, Size, Temperature);
    DrawMagnifierMask(bitmap, X + Size / 2.0f, Y + Size / 2.0f, Size);
}

void DrawThermometer(TBitmap32& bitmap, float X, float Y, float Width, float Height, float Temperature)
{
    float p = Height / 57.5f;  // pixels per 2 ºC division
    int q = std::max(Round(Width / 3.0f), 3);

    int left = Round(X);
    int top = Round(Y);
    int right = Round(X + 3.0f * float(q));
    int bottom = Round(Y + 53.0f * p);
    bitmap.FillRect(left, top, right, bottom, clWhite32);
    bitmap.FrameRect(left, top, right, bottom, clBlack32);

    TPolygon32 bulb = BulbPolygon(X, Y, Width, p, q);
    bulb.DrawFill(bitmap, clThermoLiquid32);
    bulb.Antialiased = true;
    bulb.DrawOutline(bitmap, clBlack32);

    int liquidTop = Round(Y + p + p * (100.0f - Temperature) * 0.5f);
    bitmap.FillRect(left + q, liquidTop, right - q, bottom, clThermoLiquid32);

    // The ticks run over the liquid and stop inside the tube's right wall.
    DrawThermometerScale(bitmap, left, right - 1, top, p);
}

}  // namespace brv
