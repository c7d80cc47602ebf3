#include "apparatus/Labels.h"
#include "apparatus/Magnifier.h"
#include "apparatus/Shapes.h"

#include "apparatus/GlassPixels.h"
#include "support/Pixels.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace brv {
namespace {

using test::Rgb;

constexpr TColor32 kGreen = 0xFF007F00;

TEST(Shapes, CircleStartsRightAndTurnsClockwiseOnTheScreen)
{
    TPolygon32 p;
    p.AddPoint(FixedPoint(1, 1));  // a point already there is kept
    AddCircle(p, 20, 30, 10, 4);
    const TContour& c = p.Points().back();
    ASSERT_EQ(c.size(), 5u);
    EXPECT_EQ(c[0], FixedPoint(1, 1));
    EXPECT_EQ(c[1], FixedPoint(30, 30));
    EXPECT_EQ(c[2], FixedPoint(20, 40));  // a quarter turn puts the point below the centre
    EXPECT_EQ(c[3], FixedPoint(10, 30));
    EXPECT_EQ(c[4], FixedPoint(20, 20));

    TPolygon32 fifty;
    AddCircle(fifty, 0, 0, 25, 50);
    ASSERT_EQ(fifty.Points().back().size(), 50u);
    for (const TFixedPoint& q : fifty.Points().back())
        EXPECT_NEAR(std::hypot(FixedToFloat(q.X), FixedToFloat(q.Y)), 25.0, 1e-4);
}

// Pixels of a disc: the inside one flat colour (no antialiasing), the rim
// blended into the background, nothing beyond the rim.
TEST(Shapes, DiscFillsFlatAndSmoothsOnlyItsRim)
{
    TBitmap32 b(40, 40);
    b.Clear(clWhite32);
    DrawDisc(b, 20, 20, 10, kGreen, clBlack32);
    test::SavePicture(b.Image(), "Disc");

    int rimBlends = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) {
            const float d = std::hypot(x + 0.5f - 20, y + 0.5f - 20);
            const TColor32 c = Rgb(b.Pixel(x, y));
            if (d < 8.5f)
                EXPECT_EQ(c, Rgb(kGreen)) << x << ',' << y;
            else if (d > 12.0f)
                EXPECT_EQ(c, Rgb(clWhite32)) << x << ',' << y;
            else if (c != Rgb(kGreen) && c != Rgb(clWhite32) && c != Rgb(clBlack32))
                ++rimBlends;
        }
    EXPECT_GT(rimBlends, 20) << "the rim is antialiased";
    EXPECT_TRUE(test::InkNear(b, 30, 20, clWhite32));
    EXPECT_TRUE(test::InkNear(b, 20, 10, clWhite32));
}

TEST(Shapes, DiscSkipsAPartOfAlphaZero)
{
    TBitmap32 ring(40, 40);
    ring.Clear(clWhite32);
    DrawDisc(ring, 20, 20, 10, 0x00000000, clBlack32, 20);
    EXPECT_EQ(ring.Pixel(20, 20), clWhite32);
    EXPECT_TRUE(test::InkNear(ring, 30, 20, clWhite32));

    TBitmap32 flat(40, 40);
    flat.Clear(clWhite32);
    DrawDisc(flat, 20, 20, 10, kGreen, 0x00000000, 20);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            EXPECT_TRUE(flat.Pixel(x, y) == kGreen || flat.Pixel(x, y) == clWhite32) << x << ',' << y;
}

// --- the lens rule --------------------------------------------------------

// A rule 20 pixels wide between rows 5 and 95, 2 pixels per minor division,
// reading 12.0 on row 50: majors on rows 30, 50 and 70, a half tick on 60.
struct LensRuleCase {
    TLensRuleEdge Edge;
    int EdgeColumn;  // the column every tick touches
    int Direction;   // +1 when the ticks reach rightwards from it
};

class LensRuleInWindowTest : public ::testing::TestWithParam<LensRuleCase> {};

int TickLength(const TBitmap32& b, int from, int direction, int y)
{
    int n = 0;
    while (n < 40 && b.Pixel(from + direction * n, y) == clBlack32)
        ++n;
    return n;
}

TEST_P(LensRuleInWindowTest, TicksHaveTheirLengthsAgainstTheEdgeAndStayInsideTheWindow)
{
    const LensRuleCase c = GetParam();
    TBitmap32 b(60, 100);
    b.Clear(clWhite32);
    SetLabelFont(b, 10);
    const TRect window{30, 5, 50, 95};
    const TLensRule rule = LensRuleInWindow(window, 50, 2, {8, 5, 3}, 26, c.Edge);
    DrawLensRule(b, rule, 12.0f, -25, 25, LensFirstLabel(12.0f), 1);

    EXPECT_EQ(TickLength(b, c.EdgeColumn, c.Direction, 50), 8);
    EXPECT_EQ(TickLength(b, c.EdgeColumn, c.Direction, 60), 5);
    EXPECT_EQ(TickLength(b, c.EdgeColumn, c.Direction, 52), 3);
    EXPECT_EQ(b.Pixel(c.EdgeColumn - c.Direction, 50), clWhite32) << "nothing on the far side of the edge";
    // Divisions fall on rows 0..100 step 2; the window's own edge rows get none.
    EXPECT_EQ(TickLength(b, c.EdgeColumn, c.Direction, 5 + 1), 3);
    EXPECT_EQ(TickLength(b, c.EdgeColumn, c.Direction, 4), 0);
    for (int y : {0, 96, 98})
        EXPECT_EQ(TickLength(b, c.EdgeColumn, c.Direction, y), 0) << y;

    for (auto [label, y] : {std::pair{11, 30}, std::pair{12, 50}, std::pair{13, 70}}) {
        const QString text = QString::number(label);
        const TPoint cell = test::RightCentredCell(b.Font, 26, y, text);
        EXPECT_TRUE(test::GlyphsDrawnAt(b, b.Font, cell.X, cell.Y, text, clWhite32, 0)) << label;
    }
}

INSTANTIATE_TEST_SUITE_P(Edges, LensRuleInWindowTest,
                         ::testing::Values(LensRuleCase{TLensRuleEdge::Right, 49, -1},
                                           LensRuleCase{TLensRuleEdge::Left, 30, +1}));

// --- the label font -----------------------------------------------------------

TEST(Labels, LabelFontIsArialOfTheHeightBoldUnlessToldAndKeepsTheColour)
{
    TBitmap32 b(80, 40);
    b.Font.Color = 0xFFFF0000;
    b.Font.Style = fsItalic;
    SetLabelFont(b, 24);
    EXPECT_EQ(b.Font.Name.toLower(), "arial");
    EXPECT_EQ(b.Font.Height, 24);
    EXPECT_EQ(b.Font.Style, unsigned(fsBold));
    EXPECT_EQ(b.Font.Color, 0xFFFF0000u);
    const int boldWidth = b.TextWidth("www");

    SetLabelFont(b, 24, false);
    EXPECT_EQ(b.Font.Style, unsigned(fsNone));
    EXPECT_LT(b.TextWidth("www"), boldWidth);

    b.Clear(clWhite32);
    b.TextOut(2, 2, "8");
    int red = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 80; ++x)
            red += b.Pixel(x, y) == 0xFFFF0000u;
    EXPECT_GT(red, 10) << "drawn in the colour the caller left";
}

}  // namespace
}  // namespace brv
