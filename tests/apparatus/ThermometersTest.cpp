#include "apparatus/Thermometers.h"

#include "apparatus/GlassPixels.h"
#include "apparatus/TextPixels.h"
#include "runtime/AddMaths.h"
#include "runtime/BRV_StrConstants.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace brv {
namespace {

using test::IsDark;
using test::TextDrawnAt;

// --- lens ---------------------------------------------------------------------

// A lens of size 120 at (10, 10): 5 pixels per ºC, centre (70, 70), the tube
// from x = 58 to 82, long ticks reaching x = 70, short ones x = 64, labels
// ending at x = 54.
constexpr float kLensXY = 10, kLensSize = 120;
constexpr int kStripLeft = 34, kTubeLeft = 58, kLongLength = 12, kShortLength = 6, kLabelRight = 54;

std::unique_ptr<TBitmap32> LensAt(float temperature, const char* name)
{
    auto picture = std::make_unique<TBitmap32>(140, 140);
    TBitmap32& b = *picture;
    b.Clear(clWhite32);
    DrawThermometerLens(b, kLensXY, kLensXY, kLensSize, temperature);
    test::SavePicture(b.Image(), name);
    return picture;
}

// How far the black tick on row y reaches right of the tube's wall.
int TickLength(const TBitmap32& b, int y)
{
    int n = 0;
    while (b.Pixel(kTubeLeft + 1 + n, y) == clBlack32)
        ++n;
    return n;
}

int ExpectedTickLength(int degrees)
{
    if (degrees < 0 || degrees > 100)
        return 0;
    if (degrees % 5 == 0)
        return kLongLength;  // 100 only as a labelled tick
    return degrees < 100 ? kShortLength : 0;
}

struct LensCase {
    float temperature;
    int anchorRow;  // the row of the tick of anchorDegrees
    int anchorDegrees;
    const char* name;
};

class ThermometerLensScale : public ::testing::TestWithParam<LensCase> {};

// Over the rows the lens shows, a tick every 5 pixels of the kind its
// temperature calls for, values falling downwards, none outside 0–100 ºC.
TEST_P(ThermometerLensScale, TicksFollowTheReading)
{
    const LensCase c = GetParam();
    const auto bPicture = LensAt(c.temperature, c.name);
    const TBitmap32& b = *bPicture;
    for (int y = 15; y <= 125; ++y) {
        SCOPED_TRACE(y);
        int offset = y - c.anchorRow;
        int expected = offset % 5 == 0 ? ExpectedTickLength(c.anchorDegrees - offset / 5) : 0;
        EXPECT_EQ(TickLength(b, y), expected);
    }
    // The liquid's top stays on the centre line whatever the reading.
    EXPECT_EQ(b.Pixel(kTubeLeft + 20, 70), clThermoLiquid32);
    EXPECT_EQ(b.Pixel(kTubeLeft + 20, 69), clWhite32);
}

INSTANTIATE_TEST_SUITE_P(Readings, ThermometerLensScale,
                         ::testing::Values(LensCase{25, 70, 25, "ThermometerLens25"},
                                           LensCase{5, 70, 5, "ThermometerLens5"},     // nothing below 0
                                           LensCase{98, 70, 98, "ThermometerLens98"},  // 100 the last tick
                                           LensCase{25.4f, 72, 25, "ThermometerLens25_4"}));

TFont32 LensFont()
{
    TFont32 f;
    f.Name = QStringLiteral("arial");
    f.Height = 12;
    f.Style = fsBold;
    return f;
}

// A label as wide as "100" reaches the strip's left wall at x = 34, which is
// drawn first; the glyphs right of it must all be there.
void ExpectLabel(const TBitmap32& b, int y, const QString& text)
{
    TPoint cell = test::RightCentredCell(LensFont(), kLabelRight, y, text);
    EXPECT_TRUE(test::GlyphsDrawnAt(b, LensFont(), cell.X, cell.Y, text, clThermoStrip32, kStripLeft + 1));
}

TEST(ThermometerLens, LabelsStandEveryTenDegreesBesideTheirTicks)
{
    const auto at25Picture = LensAt(25, "ThermometerLens25Labels");
    const TBitmap32& at25 = *at25Picture;
    ExpectLabel(at25, 45, "30");
    ExpectLabel(at25, 95, "20");
    // Nothing is written beside the 25 tick on the centre line.
    for (int x = kLabelRight - 18; x < kLabelRight; ++x)
        for (int y = 64; y <= 76; ++y)
            ASSERT_EQ(at25.Pixel(x, y), clThermoStrip32) << x << ',' << y;

    ExpectLabel(*LensAt(98, "ThermometerLens98Labels"), 60, "100");
    ExpectLabel(*LensAt(5, "ThermometerLens5Labels"), 95, "0");
}

TEST(ThermometerLens, UnitStandsRightOfTheTube)
{
    const auto bPicture = LensAt(25, "ThermometerLensUnit");
    const TBitmap32& b = *bPicture;
    TBitmap32 probe(1, 1);
    probe.Font = LensFont();
    int h = probe.TextHeight(str::sDegC());
    EXPECT_TRUE(TextDrawnAt(b, LensFont(), Round(10 + 0.65f * 120), Round(10 + (120 - h) / 2.0f),
                            str::sDegC(), clThermoStrip32));
}

// --- thermometer --------------------------------------------------------------

struct ThermometerCase {
    float width;
    int q;
};

class ThermometerWidth : public ::testing::TestWithParam<ThermometerCase> {};

// At (40, 10), height 115: 2 pixels per division, the tube down to row 116,
// ticks on the even rows 12..112.  Row 61 is clear of ticks.
TEST_P(ThermometerWidth, TubeIsThreeQWideWithAColumnQWide)
{
    const auto [width, q] = GetParam();
    TBitmap32 b(100, 140);
    b.Clear(clWhite32);
    DrawThermometer(b, 40, 10, width, 115, 100);
    test::SavePicture(b.Image(), "Thermometer" + QString::number(width));

    const int left = 40, right = 40 + 3 * q - 1;
    EXPECT_EQ(b.Pixel(left, 61), clBlack32);
    EXPECT_EQ(b.Pixel(right, 61), clBlack32);
    EXPECT_EQ(b.Pixel(right + 1, 61), clWhite32);
    for (int x = left + 1; x < right; ++x) {
        bool inColumn = x >= left + q && x < right + 1 - q;
        EXPECT_EQ(b.Pixel(x, 61), inColumn ? clThermoLiquid32 : clWhite32) << x;
    }

    // The bulb is built on Width, not on the tube: it runs from X − 1 to
    // X + Width, and from the tube's foot (Y + 53p = 116) down to
    // Y + 57p + q = 124 + q.
    const int bulbRight = 40 + int(width);
    EXPECT_EQ(b.Pixel(41, 120), clThermoLiquid32);
    EXPECT_EQ(b.Pixel(bulbRight - 2, 120), clThermoLiquid32);
    EXPECT_EQ(b.Pixel(44, 124 + q - 2), clThermoLiquid32);
    EXPECT_EQ(b.Pixel(37, 120), clWhite32);
    EXPECT_EQ(b.Pixel(bulbRight + 2, 120), clWhite32);
    EXPECT_EQ(b.Pixel(44, 124 + q + 3), clWhite32);
    EXPECT_TRUE(IsDark(b.Pixel(bulbRight, 120)) || IsDark(b.Pixel(bulbRight - 1, 120)));
}

INSTANTIATE_TEST_SUITE_P(Widths, ThermometerWidth,
                         ::testing::Values(ThermometerCase{9, 3}, ThermometerCase{6, 3},
                                           ThermometerCase{12, 4}));

TEST(Thermometer, ColumnRunsFromTheZeroToTheHundredMark)
{
    TBitmap32 at100(100, 140), at0(100, 140);
    at100.Clear(clWhite32);
    at0.Clear(clWhite32);
    DrawThermometer(at100, 40, 10, 9, 115, 100);
    DrawThermometer(at0, 40, 10, 9, 115, 0);
    // 100 ºC: top at Y + p = 12, the top tick's row.
    EXPECT_EQ(at100.Pixel(44, 11), clWhite32);
    EXPECT_EQ(at100.Pixel(44, 12), clBlack32);
    EXPECT_EQ(at100.Pixel(44, 13), clThermoLiquid32);
    // 0 ºC: top at Y + 51p = 112, the bottom tick's row.
    EXPECT_EQ(at0.Pixel(44, 111), clWhite32);
    EXPECT_EQ(at0.Pixel(44, 113), clThermoLiquid32);
    // The bulb below the tube is red in both.
    EXPECT_EQ(at0.Pixel(44, 120), clThermoLiquid32);
    // Labels stand left of the tube, none to its right.
    bool inkLeft = false, inkRight = false;
    for (int y = 0; y < 140; ++y)
        for (int x = 0; x < 100; ++x) {
            bool ink = at0.Pixel(x, y) != clWhite32;
            inkLeft |= ink && x < 39;
            inkRight |= ink && x > 50;
        }
    EXPECT_TRUE(inkLeft);
    EXPECT_FALSE(inkRight);
}

// At (40, 10), height 230, 0 ºC: 4 pixels per division, ticks on rows
// 14 + 4i, the tube from x = 40 to 48 with its right wall at 48, short ticks
// reaching the middle, x = 44.
TEST(Thermometer, ScaleTicksAndLabelsStandOnTheDivisions)
{
    TBitmap32 b(100, 260);
    b.Clear(clWhite32);
    DrawThermometer(b, 40, 10, 9, 230, 0);
    test::SavePicture(b.Image(), "ThermometerScale");

    for (int i = 0; i <= 50; ++i) {
        SCOPED_TRACE(i);
        const int y = 14 + 4 * i;
        for (int x = 40; x <= 44; ++x)
            ASSERT_EQ(b.Pixel(x, y), clBlack32) << x;
        // Every fifth tick crosses the tube to its wall, the others stop at
        // the middle.
        EXPECT_EQ(b.Pixel(45, y) == clBlack32, i % 5 == 0);
        EXPECT_EQ(b.Pixel(47, y) == clBlack32, i % 5 == 0);
        EXPECT_NE(b.Pixel(44, y + 2), clBlack32);  // nothing between divisions
    }
    EXPECT_NE(b.Pixel(49, 14), clBlack32);  // the ticks stay inside the tube

    TFont32 font;
    font.Name = QStringLiteral("arial");
    font.Height = 7;
    for (auto [label, y] : {std::pair{100, 14}, std::pair{50, 114}, std::pair{0, 214}}) {
        QString text = QString::number(label);
        TPoint cell = test::RightCentredCell(font, 40, y, text);
        EXPECT_TRUE(test::GlyphsDrawnAt(b, font, cell.X, cell.Y, text, clWhite32));
    }
}

}  // namespace
}  // namespace brv
