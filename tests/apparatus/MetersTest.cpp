#include "apparatus/Meters.h"

#include "apparatus/Rulers.h"
#include "apparatus/TextPixels.h"
#include "runtime/AddMaths.h"
#include "runtime/BRV_StrConstants.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <functional>
#include <limits>
#include <numbers>
#include <vector>

namespace brv {
namespace {

using test::TextDrawnAt;

constexpr TColor32 kRed = 0xFFFF0000;
constexpr TColor32 kKnob = 0xFFF0F0F0;
constexpr TColor32 kOrange = 0xFFFF8000;

// --- unit-circle tables -------------------------------------------------------

TEST(MeterTables, AreBuiltOnFirstUseAndRebuiltUnchanged)
{
    const TCircleTable16 first16 = CircleTable16();  // no explicit InitMeterTables
    const TCircleTable26 first26 = CircleTable26();
    const float step16 = 2.0f * std::numbers::pi_v<float> / 16.0f;
    for (int k = 0; k <= 16; ++k) {
        EXPECT_EQ(first16[std::size_t(k)].Sin, std::sin(float(k) * step16)) << k;
        EXPECT_EQ(first16[std::size_t(k)].Cos, std::cos(float(k) * step16)) << k;
    }
    EXPECT_FLOAT_EQ(first16[4].Sin, 1.0f);
    EXPECT_NEAR(first16[16].Sin, 0.0f, 1e-6f);
    EXPECT_FLOAT_EQ(first26[13].Cos, -1.0f);
    EXPECT_NEAR(first26[26].Cos, 1.0f, 1e-6f);

    InitMeterTables();
    InitMeterTables();
    for (int k = 0; k <= 26; ++k) {
        EXPECT_EQ(CircleTable26()[std::size_t(k)].Sin, first26[std::size_t(k)].Sin);
        EXPECT_EQ(CircleTable26()[std::size_t(k)].Cos, first26[std::size_t(k)].Cos);
    }
    EXPECT_EQ(CircleTable16()[5].Sin, first16[5].Sin);
}

// --- digital meter ------------------------------------------------------------

struct UnitCase {
    MeterUnit unit;
    QString label;  // empty: no label
};

class DigitalMeterUnit : public ::testing::TestWithParam<UnitCase> {};

// The reading is centred in the display and the label stands centred under it
// at half the height; an unknown unit leaves the space under the display bare.
TEST_P(DigitalMeterUnit, ShowsReadingAndLabel)
{
    const UnitCase& c = GetParam();
    const float left = 20.5f, top = 10.25f, w = 100, h = 150;
    const TColor32 body = 0xFFBFBFBF;
    TBitmap32 b(150, 180);
    b.Clear(clWhite32);
    b.Font.Color = kRed;
    DrawDigitalMeter(b, QStringLiteral("0.4"), c.unit, left, top, w, h, body);

    TFont32 bold = b.Font;
    bold.Style = fsBold;
    const int xc = 70, yc = 45;  // centre of the display (30, 20)-(110, 70)
    const TBitmap32::TSize reading = b.TextExtent(QStringLiteral("0.4"));
    EXPECT_TRUE(
        TextDrawnAt(b, bold, xc - reading.cx / 2, yc - reading.cy / 2, QStringLiteral("0.4"), clWhite32));
    EXPECT_EQ(b.Pixel(30, 20), 0xFF7F7F7F);  // display frame
    EXPECT_EQ(b.Pixel(109, 69), 0xFF7F7F7F);

    if (!c.label.isEmpty()) {
        TBitmap32 probe(1, 1);
        probe.Font = bold;
        EXPECT_TRUE(TextDrawnAt(b, bold, xc - probe.TextWidth(c.label) / 2, 85, c.label, body));
    } else {
        for (int y = 71; y < 132; ++y)  // from the display down to the terminals
            for (int x = 31; x < 109; ++x)
                ASSERT_EQ(b.Pixel(x, y), body) << x << ", " << y;
    }

    // Left set: bold "arial" of trunc(0.4 W) in black, style back to normal.
    EXPECT_EQ(b.Font.Name, QStringLiteral("arial"));
    EXPECT_EQ(b.Font.Height, 40);
    EXPECT_EQ(b.Font.Style, unsigned(fsNone));
    EXPECT_EQ(b.Font.Color, clBlack32);
}

INSTANTIATE_TEST_SUITE_P(Units, DigitalMeterUnit,
                         ::testing::Values(UnitCase{muOhm, QStringLiteral("\u03A9")},
                                           UnitCase{muAmp, QStringLiteral("A")},
                                           UnitCase{muVolt, QStringLiteral("V")},
                                           UnitCase{muKiloOhm, QStringLiteral("k\u03A9")},
                                           UnitCase{MeterUnit(4), {}}, UnitCase{MeterUnit(255), {}}));

// The font height is the text's cell, so a reading of the meter's widest
// kind sits in its display with room to spare: on a meter 60 pixels wide
// (font 24) "1.25" is about 15 pixels high, not 17, and leaves a few pixels
// either side of the 46 inside the frame.
TEST(DigitalMeter, ReadingLeavesRoomInItsDisplay)
{
    TBitmap32 b(100, 120);
    b.Clear(clWhite32);
    DrawDigitalMeter(b, QStringLiteral("1.25"), muAmp, 10, 10, 60, 80, 0xFFC0E1FF);
    const TRect inside{17, 17, 63, 45};  // the display (16, 16)-(64, 46) within its frame
    TRect ink{inside.Right, inside.Bottom, inside.Left, inside.Top};
    for (int y = inside.Top; y < inside.Bottom; ++y)
        for (int x = inside.Left; x < inside.Right; ++x)
            if (((b.Pixel(x, y) >> 16) & 0xFF) < 0x80) {
                ink.Left = std::min(ink.Left, x);
                ink.Top = std::min(ink.Top, y);
                ink.Right = std::max(ink.Right, x + 1);
                ink.Bottom = std::max(ink.Bottom, y + 1);
            }
    EXPECT_NEAR(ink.Height(), 15, 1);
    EXPECT_GE(ink.Left - inside.Left, 3);
    EXPECT_GE(inside.Right - ink.Right, 3);
    EXPECT_GE(ink.Top - inside.Top, 5);
    EXPECT_GE(inside.Bottom - ink.Bottom, 5);
}

TEST(DigitalMeter, LabelsComeFromTheStringTable)
{
    EXPECT_EQ(str::sUnitAmp(), QStringLiteral("A"));
    EXPECT_EQ(str::sUnitKiloOhm(), QStringLiteral("k\u03A9"));
}

// --- power supply ---------------------------------------------------------------

struct KnobCase {
    int volts;
    int tip;  // dial position the tip points at, -1 for none
};

class PowerSupplyKnob : public ::testing::TestWithParam<KnobCase> {};

// Probing just outside the knob's disc on each of the 13 dial directions (0
// right, counter-clockwise): only the chosen one meets the knob's tip; the
// opening round the knob shows what lies beneath.
TEST_P(PowerSupplyKnob, PointsAtTheSetting)
{
    const auto [volts, tip] = GetParam();
    const float left = 10, top = 10, w = 200, h = 220;
    const TColor32 body = 0xFFC0E1FF;
    TBitmap32 b(220, 240);
    b.Clear(kRed);
    DrawPowerSupply(b, volts, body, left, top, w, h);

    const float cx = 110, cy = 100;
    const float step = 2 * std::numbers::pi_v<float> / 13;
    for (int k = 0; k <= 12; ++k) {
        const float a = float(k) * step;
        const int x = Round(cx + 53 * std::cos(a)), y = Round(cy - 53 * std::sin(a));
        EXPECT_EQ(b.Pixel(x, y) == kKnob, k == tip) << "direction " << k;
        const float between = a + step / 2;
        EXPECT_EQ(b.Pixel(Round(cx + 45 * std::cos(between)), Round(cy - 45 * std::sin(between))), kRed)
            << "opening beside direction " << k;
    }
    EXPECT_EQ(b.Pixel(Round(cx), Round(cy)), kKnob);
    EXPECT_EQ(b.Pixel(0, 0), kRed);  // outside the body
    test::SavePicture(b.Image(), QStringLiteral("power_supply_%1").arg(volts));
}

INSTANTIATE_TEST_SUITE_P(Settings, PowerSupplyKnob,
                         ::testing::Values(KnobCase{0, 0}, KnobCase{1, 1}, KnobCase{6, 6}, KnobCase{12, 12},
                                           KnobCase{13, -1}, KnobCase{-1, -1}, KnobCase{INT_MAX, -1}));

// The dial numbers 0..12 run counter-clockwise from the right at 0.35 W, "V"
// stands on 95 % of the height; the scale keeps the style left by earlier
// drawing and the font stays set afterwards.
TEST(PowerSupply, DialScaleAndFontLeftSet)
{
    const TColor32 body = 0xFFC0E1FF;
    TBitmap32 b(220, 240);
    b.Clear(clWhite32);
    b.Font.Style = fsBold;
    b.Font.Color = kRed;
    DrawPowerSupply(b, 3, body, 10, 10, 200, 220);

    EXPECT_EQ(b.Font.Name, QStringLiteral("arial"));
    EXPECT_EQ(b.Font.Size(), 16);
    EXPECT_EQ(b.Font.Style, unsigned(fsBold));
    EXPECT_EQ(b.Font.Color, clBlack32);

    const TCircleTable26& table = CircleTable26();
    for (int k = 0; k <= 12; ++k) {
        if (k == 3)
            continue;  // the knob's tip reaches into the cell of its own number
        const TSinCos& e = table[std::size_t(2 * k)];
        const QString text = QString::number(k);
        const TBitmap32::TSize cell = b.TextExtent(text);
        const int x = Round(110 + 70 * e.Cos), y = Round(100 - 70 * e.Sin);
        EXPECT_TRUE(TextDrawnAt(b, b.Font, x - cell.cx / 2, y - cell.cy / 2, text, body));
    }
    const TBitmap32::TSize v = b.TextExtent(QStringLiteral("V"));
    EXPECT_TRUE(TextDrawnAt(b, b.Font, 110 - v.cx / 2, 219 - v.cy, QStringLiteral("V"), body));
}

// --- stopwatch ------------------------------------------------------------------

TEST(ReadOutFormat, MinutesAndSecondsAndMilliseconds)
{
    EXPECT_EQ(FormatMinSec(0), QStringLiteral("00 : 00"));
    EXPECT_EQ(FormatMinSec(125), QStringLiteral("02 : 05"));
    EXPECT_EQ(FormatMinSec(59), QStringLiteral("00 : 59"));
    EXPECT_EQ(FormatMinSec(6000), QStringLiteral("100 : 00"));
    EXPECT_EQ(FormatMinSec(-5), QStringLiteral("00 : 00"));

    EXPECT_EQ(FormatSeconds(0), QStringLiteral("0.000"));
    EXPECT_EQ(FormatSeconds(12.3456), QStringLiteral("12.346"));
    EXPECT_EQ(FormatSeconds(-0.2), QStringLiteral("0.000"));
    EXPECT_EQ(FormatSeconds(std::numeric_limits<double>::quiet_NaN()), QStringLiteral("0.000"));
}

struct StopwatchCase {
    QString text;
    QString caption;
};

class StopwatchReadOut : public ::testing::TestWithParam<StopwatchCase> {};

// Bold text centred in the white display, the caption in the normal style
// centred under it; the font is left at round(0.15 W), normal, black.
TEST_P(StopwatchReadOut, TextInDisplayCaptionUnder)
{
    const StopwatchCase& c = GetParam();
    TBitmap32 b(220, 170);
    b.Clear(clWhite32);
    DrawStopwatch(b, c.text, c.caption, 10, 10, 200, 150);

    EXPECT_EQ(b.Pixel(10, 10), clBlack32);
    EXPECT_EQ(b.Pixel(209, 159), clBlack32);
    EXPECT_EQ(b.Pixel(15, 15), kOrange);
    const TRect display{30, 30, 190, 90};
    EXPECT_EQ(b.Pixel(display.Left, display.Top), 0xFF7F7F7F);

    TBitmap32 expected(220, 170);
    expected.Clear(clWhite32);
    expected.Font.Name = QStringLiteral("arial");
    expected.Font.Height = 50;
    expected.Font.Style = fsBold;
    expected.TextOutRect(display, c.text);
    int inked = 0;
    for (int y = display.Top + 1; y < display.Bottom - 1; ++y)
        for (int x = display.Left + 1; x < display.Right - 1; ++x) {
            ASSERT_EQ(b.Pixel(x, y) & 0xFFFFFF, expected.Pixel(x, y) & 0xFFFFFF) << x << ", " << y;
            inked += expected.Pixel(x, y) != clWhite32;
        }
    EXPECT_GT(inked, 0);

    EXPECT_EQ(b.Font.Name, QStringLiteral("arial"));
    EXPECT_EQ(b.Font.Height, 30);
    EXPECT_EQ(b.Font.Style, unsigned(fsNone));
    EXPECT_EQ(b.Font.Color, clBlack32);
    EXPECT_TRUE(TextDrawnAt(b, b.Font, 110 - b.TextWidth(c.caption) / 2, display.Bottom, c.caption, kOrange));
}

INSTANTIATE_TEST_SUITE_P(Formats, StopwatchReadOut,
                         ::testing::Values(StopwatchCase{FormatMinSec(0), str::sMinSecSpaced()},
                                           StopwatchCase{FormatMinSec(125), str::sMinSec()},
                                           StopwatchCase{FormatSeconds(0), str::sSeconds()}));

// --- every instrument at several sizes ------------------------------------------

struct Placed {
    const char* name;
    TFloatRect box;  // where the instrument may draw
    std::function<void(TBitmap32&)> draw;
};

std::vector<Placed> Gallery()
{
    std::vector<Placed> g;
    const float meterWidths[] = {30, 60, 100};
    const MeterUnit units[] = {muAmp, muVolt, muKiloOhm};
    const QString readings[] = {QStringLiteral("0.4"), QStringLiteral("6.0"), QStringLiteral("1.25")};
    float x = 10;
    for (int i = 0; i < 3; ++i) {
        const float w = meterWidths[i], h = w * 4 / 3, top = 10.5f;
        const MeterUnit unit = units[i];
        const QString reading = readings[i];
        g.push_back({"meter", {x, top, x + w, top + h}, [=](TBitmap32& b) {
                         DrawDigitalMeter(b, reading, unit, x, top, w, h, 0xFFBFBFBF);
                     }});
        x += w + 15;
    }
    for (int volts : {0, 6, 12}) {
        const float w = 120, h = 130, left = x;
        g.push_back({"power supply", {left, 10, left + w, 140}, [=](TBitmap32& b) {
                         DrawPowerSupply(b, volts, 0xFFC0E1FF, left, 10, w, h);
                     }});
        x += w + 10;
    }
    g.push_back({"stopwatch", {10, 200, 110, 275}, [](TBitmap32& b) {
                     DrawStopwatch(b, FormatMinSec(125), str::sMinSecSpaced(), 10, 200, 100, 75);
                 }});
    g.push_back({"stopwatch", {130, 200, 210, 260}, [](TBitmap32& b) {
                     DrawStopwatch(b, FormatSeconds(3.14159), str::sSeconds(), 130, 200, 80, 60);
                 }});
    g.push_back({"vertical rule", {240, 185, 291, 491}, [](TBitmap32& b) {
                     DrawVerticalRule(b, true, 270.5f, 190.2f, 20, 300.4f);
                 }});
    g.push_back({"horizontal rule", {320, 420, 820, 451}, [](TBitmap32& b) {
                     DrawHorizontalRule(b, 320, 420.5f, 500, 30);
                 }});
    return g;
}

// Each instrument stays inside its box (an upright rule's numbers stand left of
// it and the top one half a line above it),
// so instruments placed side by side never spill onto each other.
TEST(ApparatusGallery, EachInstrumentStaysInItsBox)
{
    TBitmap32 all(840, 500);
    all.Clear(clWhite32);
    for (const Placed& p : Gallery()) {
        TBitmap32 alone(840, 500);
        alone.Clear(clWhite32);
        p.draw(alone);
        const TRect box{int(std::floor(p.box.Left)) - 1, int(std::floor(p.box.Top)) - 1,
                        int(std::ceil(p.box.Right)) + 1, int(std::ceil(p.box.Bottom)) + 1};
        for (int y = 0; y < alone.Height(); ++y)
            for (int x = 0; x < alone.Width(); ++x)
                if (alone.Pixel(x, y) != clWhite32) {
                    ASSERT_TRUE(x >= box.Left && x < box.Right && y >= box.Top && y < box.Bottom)
                        << p.name << " draws at " << x << ", " << y;
                }
        p.draw(all);
    }
    test::SavePicture(all.Image(), QStringLiteral("apparatus_gallery"));
}

}  // namespace
}  // namespace brv
