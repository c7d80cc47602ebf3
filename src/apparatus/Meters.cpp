#include "apparatus/Meters.h"

#include "apparatus/Labels.h"
#include "apparatus/Shapes.h"
#include "runtime/AddMaths.h"
#include "runtime/BRV_StrConstants.h"
#include "runtime/Polygon32.h"

#include <cmath>
#include <numbers>

namespace brv {

namespace {

constexpr TColor32 kFrameGrey = 0xFF7F7F7F;
constexpr TColor32 kTerminalYellow = 0xFFFFFF80;
constexpr TColor32 kKnobColour = 0xFFF0F0F0;
constexpr TColor32 kStopwatchOrange = 0xFFFF8000;

TCircleTable16 gCircle16;
TCircleTable26 gCircle26;

template <std::size_t N>
void FillCircleTable(std::array<TSinCos, N>& table)
{
    const float step = 2.0f * std::numbers::pi_v<float> / float(N - 1);
    for (std::size_t k = 0; k < N; ++k) {
        const float angle = float(k) * step;
        table[k] = {std::sin(angle), std::cos(angle)};
    }
}

// The tables are static data, built on first use whichever routine comes first.
void EnsureMeterTables()
{
    static const bool built = (InitMeterTables(), true);
    (void)built;
}

// Points of one circle table, index 0 pointing right, counter-clockwise on
// the screen (y grows downwards, hence the minus).
template <std::size_t N>
void AddArc(TPolygon32& polygon, const std::array<TSinCos, N>& table, int first, int last, float cx, float cy,
            float radius)
{
    for (int k = first; k <= last; ++k) {
        const TSinCos& e = table[std::size_t(k)];
        polygon.AddPoint(FixedPoint(cx + radius * e.Cos, cy - radius * e.Sin));
    }
}

TPolygon32 NewInstrumentPolygon()
{
    TPolygon32 polygon;
    polygon.Antialiased = true;
    polygon.FillMode = TPolyFillMode::pfAlternate;
    return polygon;
}

// Rectangle with corners of radius 0.1 × W, the body of the meter and of the
// power supply.
void AddRoundedBody(TPolygon32& polygon, float Left, float Top, float W, float H)
{
    const TCircleTable16& table = CircleTable16();
    const float r = 0.1f * W;
    AddArc(polygon, table, 0, 4, Left + W - r, Top + r, r);
    AddArc(polygon, table, 4, 8, Left + r, Top + r, r);
    AddArc(polygon, table, 8, 12, Left + r, Top + H - r, r);
    AddArc(polygon, table, 12, 16, Left + W - r, Top + H - r, r);
}

void DrawTerminal(TBitmap32& bitmap, float cx, float cy, float radius)
{
    TPolygon32 terminal = NewInstrumentPolygon();
    AddCircle(terminal, cx, cy, radius, 16);
    terminal.Draw(bitmap, clBlack32, kTerminalYellow);
}

// The two terminals along the foot of the meter and the power supply.
void DrawTerminals(TBitmap32& bitmap, float Left, float Top, float W, float H, float radius)
{
    DrawTerminal(bitmap, Left + 0.2f * W, Top + 0.85f * H, radius);
    DrawTerminal(bitmap, Left + 0.8f * W, Top + 0.85f * H, radius);
}

QString MeterUnitLabel(MeterUnit unit)
{
    switch (unit) {
        case muOhm:
            return str::sUnitOhm();
        case muAmp:
            return str::sUnitAmp();
        case muVolt:
            return str::sUnitVolt();
        case muKiloOhm:
            return str::sUnitKiloOhm();
    }
    return {};
}

// Draws text with its centre at (x, y), halving its extent the integer way.
void TextOutCentred(TBitmap32& bitmap, int x, int y, const QString& text)
{
    const TBitmap32::TSize extent = bitmap.TextExtent(text);
    bitmap.TextOut(x - extent.cx / 2, y - extent.cy / 2, text);
}

}  // namespace

void InitMeterTables()
{
    FillCircleTable(gCircle16);
    FillCircleTable(gCircle26);
}

const TCircleTable16& CircleTable16()
{
    EnsureMeterTables();
    return gCircle16;
}

const TCircleTable26& CircleTable26()
{
    EnsureMeterTables();
    return gCircle26;
}

void DrawDigitalMeter(TBitmap32& bitmap, const QString& Text, MeterUnit Unit, float Left, float Top, float W,
                      float H, TColor32 BodyColour)
{
    const float r = 0.1f * W;

    TPolygon32 body = NewInstrumentPolygon();
    AddRoundedBody(body, Left, Top, W, H);
    body.Draw(bitmap, clBlack32, BodyColour);

    DrawTerminals(bitmap, Left, Top, W, H, 0.05f * W);

    const float displayBottom = Top + r + 0.5f * W;
    const TRect display{Round(Left + r), Round(Top + r), Round(Left + W - r), Round(displayBottom)};
    bitmap.FillRect(display, clWhite32);
    bitmap.FrameRect(display, kFrameGrey);

    SetLabelFont(bitmap, Trunc(0.4f * W));
    bitmap.Font.Color = clBlack32;
    const int xc = Round(((Left + r) + (Left + W - r)) * 0.5f);
    const int yc = Round(((Top + r) + displayBottom) * 0.5f);
    TextOutCentred(bitmap, xc, yc, Text);

    const QString label = MeterUnitLabel(Unit);
    if (!label.isEmpty())
        bitmap.TextOut(xc - bitmap.TextWidth(label) / 2, Round(Top + 0.5f * H), label);

    bitmap.Font.Style = fsNone;
}

void DrawPowerSupply(TBitmap32& bitmap, int Volts, TColor32 BodyColour, float Left, float Top, float W,
                     float H)
{
    const TCircleTable26& table = CircleTable26();
    const float cx = Left + W / 2;
    const float cy = Top + H / 2 - 0.1f * W;

    TPolygon32 body = NewInstrumentPolygon();
    AddRoundedBody(body, Left, Top, W, H);
    body.NewContour();
    AddArc(body, table, 0, 25, cx, cy, 0.25f * W);
    body.Draw(bitmap, kFrameGrey, BodyColour);

    // A disc with one pointed tip: the point at index 2 × Volts sticks out.  A
    // setting off the dial has no tip rather than a wrong one.
    const int tip = (Volts >= 0 && Volts <= 12) ? 2 * Volts : -1;
    TPolygon32 knob = NewInstrumentPolygon();
    for (int j = 0; j < 26; ++j)
        AddArc(knob, table, j, j, cx, cy, (j == tip ? 0.29f : 0.2f) * W);
    knob.Draw(bitmap, kFrameGrey, kKnobColour);

    DrawTerminals(bitmap, Left, Top, W, H, 0.04f * W);

    // The scale keeps whatever font style the previous drawing left.
    bitmap.Font.Name = QStringLiteral("arial");
    bitmap.Font.SetSize(Round(0.08f * W));
    bitmap.Font.Color = clBlack32;
    const float scaleRadius = 0.35f * W;
    for (int k = 0; k <= 12; ++k) {
        const TSinCos& e = table[std::size_t(2 * k)];
        TextOutCentred(bitmap, Round(cx + scaleRadius * e.Cos), Round(cy - scaleRadius * e.Sin),
                       QString::number(k));
    }

    const QString volt = str::sUnitVolt();
    const TBitmap32::TSize extent = bitmap.TextExtent(volt);
    bitmap.TextOut(Round(cx) - extent.cx / 2, Round(Top + 0.95f * H) - extent.cy, volt);
}

void DrawStopwatch(TBitmap32& bitmap, const QString& Text, const QString& Caption, float Left, float Top,
                   float W, float H)
{
    const TRect body{Round(Left), Round(Top), Round(Left + W), Round(Top + H)};
    bitmap.FillRect(body, kStopwatchOrange);
    bitmap.FrameRect(body, clBlack32);

    SetLabelFont(bitmap, Round(0.25f * W));
    bitmap.Font.Color = clBlack32;
    const int inset = Round(0.1f * W);
    const TRect display{body.Left + inset, body.Top + inset, body.Right - inset,
                        body.Top + inset + Round(0.4f * H)};
    bitmap.FillRect(display, clWhite32);
    bitmap.FrameRect(display, kFrameGrey);
    bitmap.TextOutRect(display, Text);

    SetLabelFont(bitmap, Round(0.15f * W), false);
    bitmap.TextOut((display.Left + display.Right) / 2 - bitmap.TextWidth(Caption) / 2, display.Bottom,
                   Caption);
}

QString FormatMinSec(int seconds)
{
    const int t = seconds < 0 ? 0 : seconds;
    return QString::asprintf("%2.2d : %2.2d", t / 60, t % 60);
}

QString FormatSeconds(double seconds)
{
    const double t = seconds > 0 ? seconds : 0.0;
    return QString::asprintf("%3.3f", t);
}

}  // namespace brv
