#include "runtime/AddMaths.h"
#include "runtime/Polygon32.h"

#include "support/Pixels.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <string>

namespace brv {
namespace {

struct P {
    double x, y;
};

TContour Contour(std::initializer_list<P> points)
{
    TContour c;
    for (const P& p : points)
        c.push_back(FixedPoint(p.x, p.y));
    return c;
}

TPolygon32 Polygon(std::initializer_list<std::initializer_list<P>> contours)
{
    TPolygon32 poly;
    bool first = true;
    for (const auto& c : contours) {
        if (!first)
            poly.NewContour();
        first = false;
        const TContour points = Contour(c);
        poly.AddPoints(points.data(), int(points.size()));
    }
    return poly;
}

TContour Circle(double cx, double cy, double r, int n = 50)
{
    TContour c;
    for (int i = 0; i < n; ++i) {
        const TXY p = PolarToXY(float(2 * std::numbers::pi * i / n), float(r));
        c.push_back(FixedPoint(cx + p.a, cy + p.b));
    }
    return c;
}

int Grey(const TBitmap32& b, int x, int y)
{
    return int(b.Pixel(x, y) & 0xFF);
}

TEST(Polygon32Test, NewPolygonAndContourEditing)
{
    TPolygon32 p;
    EXPECT_TRUE(p.Closed);
    EXPECT_FALSE(p.Antialiased);
    EXPECT_EQ(p.FillMode, TPolyFillMode::pfAlternate);
    ASSERT_EQ(p.Points().size(), 1u);
    EXPECT_TRUE(p.Points()[0].empty());
    p.AddPoint(FixedPoint(1, 2));
    p.NewContour();
    p.AddPoint(FixedPoint(3, 4));
    p.Offset(FixedPoint(1.0), FixedPoint(-0.5));
    ASSERT_EQ(p.Points().size(), 2u);
    EXPECT_EQ(p.Points()[1][0], FixedPoint(4, 3.5));
    p.Clear();
    ASSERT_EQ(p.Points().size(), 1u);
    EXPECT_TRUE(p.Points()[0].empty());
}

TEST(Polygon32Test, AliasedFillCoversPixelsWhoseCentresAreInside)
{
    TBitmap32 b(8, 4);
    b.Clear(clWhite32);
    // corners at whole numbers bound whole pixels; 7.25 leaves pixel 7's
    // centre out, 2.5 puts pixel 2's centre on the edge (inside)
    Polygon({{{2.5, 1}, {7.25, 1}, {7.25, 3}, {2.5, 3}}}).DrawFill(b, clBlack32);
    EXPECT_EQ(test::PixelMap(b, clBlack32),
              "........\n"
              "..#####.\n"
              "..#####.\n"
              "........\n");
}

TEST(Polygon32Test, AntialiasedFillBlendsEdgePixelsByTheAreaCovered)
{
    TBitmap32 b(9, 4);
    b.Clear(clWhite32);
    TPolygon32 p = Polygon({{{2.5, 1}, {7.25, 1}, {7.25, 3}, {2.5, 3}}});
    p.Antialiased = true;
    p.DrawFill(b, clBlack32);
    EXPECT_EQ(Grey(b, 1, 1), 255);
    EXPECT_EQ(Grey(b, 2, 1), 127);  // half covered: α = 128
    EXPECT_EQ(Grey(b, 4, 2), 0);
    EXPECT_EQ(Grey(b, 7, 2), 191);  // a quarter: α = 64
    EXPECT_EQ(Grey(b, 4, 0), 255);
    EXPECT_EQ(Grey(b, 4, 3), 255);

    // a disc: the coverage adds up to its area
    TBitmap32 disc(70, 70);
    disc.Clear(clBlack32);
    TPolygon32 round;
    const TContour c = Circle(32.3, 33.7, 25, 400);
    round.AddPoints(c.data(), int(c.size()));
    round.Antialiased = true;
    round.DrawFill(disc, clWhite32);
    double area = 0;
    for (int y = 0; y < 70; ++y)
        for (int x = 0; x < 70; ++x)
            area += Grey(disc, x, y) / 255.0;
    EXPECT_NEAR(area, std::numbers::pi * 625, 625 * 0.01);
}

TEST(Polygon32Test, FillRulesDecideWhetherAnInnerContourCutsAHole)
{
    struct Case {
        TPolyFillMode mode;
        bool reversedInner;
        bool antialiased;
        bool centreFilled;
    };
    const Case cases[] = {
        {TPolyFillMode::pfAlternate, false, false, false}, {TPolyFillMode::pfAlternate, true, false, false},
        {TPolyFillMode::pfWinding, false, false, true},    {TPolyFillMode::pfWinding, true, false, false},
        {TPolyFillMode::pfAlternate, false, true, false},  {TPolyFillMode::pfWinding, false, true, true},
        {TPolyFillMode::pfWinding, true, true, false},
    };
    for (const Case& c : cases) {
        TPolygon32 p = Polygon({{{0, 0}, {20, 0}, {20, 20}, {0, 20}}});
        p.NewContour();
        TContour inner = Contour({{5, 5}, {15, 5}, {15, 15}, {5, 15}});
        if (c.reversedInner)
            std::reverse(inner.begin(), inner.end());
        p.AddPoints(inner.data(), int(inner.size()));
        p.FillMode = c.mode;
        p.Antialiased = c.antialiased;
        TBitmap32 b(20, 20);
        b.Clear(clWhite32);
        p.DrawFill(b, clBlack32);
        const std::string what = std::to_string(int(c.mode)) + (c.reversedInner ? " reversed" : "") +
                                 (c.antialiased ? " smooth" : "");
        EXPECT_EQ(b.Pixel(10, 10), c.centreFilled ? clBlack32 : clWhite32) << what;
        EXPECT_EQ(b.Pixel(2, 2), clBlack32) << what;
        EXPECT_EQ(b.Pixel(5, 10), c.centreFilled ? clBlack32 : clWhite32) << what;
        EXPECT_EQ(b.Pixel(4, 10), clBlack32) << what;
    }
}

TEST(Polygon32Test, FillsStayInTheClipRectWithTheRightWinding)
{
    for (bool smooth : {false, true}) {
        TBitmap32 b(10, 6);
        b.Clear(clWhite32);
        b.SetClipRect({2, 0, 10, 6});
        // reaches far beyond the left and right edges
        TPolygon32 p =
            Polygon({{{-1000, 2}, {5, 2}, {5, 4}, {-1000, 4}}, {{7, 1}, {30000, 1}, {30000, 3}, {7, 3}}});
        p.Antialiased = smooth;
        p.DrawFill(b, 0xFF000000);
        EXPECT_EQ(test::PixelMap(b, clBlack32),
                  "..........\n"
                  ".......###\n"
                  "..###..###\n"
                  "..###.....\n"
                  "..........\n"
                  "..........\n")
            << smooth;
    }
}

TEST(Polygon32Test, AFillDrawnAgainIsTheSameAndKeptFillsNeverStandInForOthers)
{
    // A redraw blends a kept fill again without scanning it.  The same
    // pentagram by every rule, smoothing, clip and colour, each drawn twice
    // in a row: a kept fill must stand in only for exactly its own.
    const auto star = [](double shift) {
        TPolygon32 p;
        for (int k = 0; k < 5; ++k) {
            const TXY v = PolarToXY(float(std::numbers::pi * (0.5 + 0.8 * k)), 40);
            p.AddPoint(FixedPoint(50.3 + shift + v.a, 50.6 - v.b));
        }
        return p;
    };
    const auto draw = [](TPolygon32 p, TPolyFillMode mode, bool smooth, const TRect& clip, TColor32 color) {
        auto b = std::make_unique<TBitmap32>(100, 100);
        b->Clear(clWhite32);
        b->SetClipRect(clip);
        p.FillMode = mode;
        p.Antialiased = smooth;
        p.DrawFill(*b, color);
        return b;
    };
    const TRect whole{0, 0, 100, 100}, left{0, 0, 50, 100};
    for (TPolyFillMode mode : {TPolyFillMode::pfAlternate, TPolyFillMode::pfWinding})
        for (bool smooth : {false, true})
            for (const TRect& clip : {whole, left})
                for (TColor32 color : {0xFFFF0000u, 0xFF0000FFu}) {
                    const std::string what = std::to_string(int(mode)) + (smooth ? " smooth " : " plain ") +
                                             std::to_string(clip.Right) + " " + std::to_string(color);
                    const auto first = draw(star(0), mode, smooth, clip, color);
                    const auto again = draw(star(0), mode, smooth, clip, color);
                    int painted = 0, partial = 0, outside = 0;
                    for (int y = 0; y < 100; ++y)
                        for (int x = 0; x < 100; ++x) {
                            const TColor32 c = first->Pixel(x, y);
                            ASSERT_EQ(again->Pixel(x, y), c) << what << ' ' << x << ' ' << y;
                            painted += c == color;
                            partial += c != color && c != clWhite32;
                            outside += x >= clip.Right && c != clWhite32;
                        }
                    EXPECT_GT(painted, 300) << what;
                    EXPECT_EQ(partial > 0, smooth) << what;
                    EXPECT_EQ(outside, 0) << what;
                    // The pentagon in the middle winds twice: filled by the
                    // non-zero rule only.
                    EXPECT_EQ(first->Pixel(48, 50), mode == TPolyFillMode::pfWinding ? color : clWhite32)
                        << what;
                }

    // A quarter of a pixel to the right is another fill.
    const auto there = draw(star(0), TPolyFillMode::pfWinding, true, whole, clBlack32);
    const auto moved = draw(star(0.25), TPolyFillMode::pfWinding, true, whole, clBlack32);
    int differing = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
            differing += there->Pixel(x, y) != moved->Pixel(x, y);
    EXPECT_GT(differing, 100);
}

TEST(Polygon32Test, FillsBlendAndKeepTheTargetAlpha)
{
    TBitmap32 b(4, 4);
    b.Clear(0x40FFFFFF);
    Polygon({{{0, 0}, {4, 0}, {4, 4}, {0, 4}}}).DrawFill(b, 0x80FF0000);
    EXPECT_EQ(b.Pixel(1, 1), 0x40FF7F7Fu);
    Polygon({{{0, 0}, {4, 0}, {4, 4}, {0, 4}}}).DrawFill(b, 0x00000000);
    EXPECT_EQ(b.Pixel(1, 1), 0x40FF7F7Fu);
}

TEST(Polygon32Test, OutlinesDrawEachPixelOnceAndCloseWhenClosed)
{
    TBitmap32 b(8, 8);
    b.Clear(clWhite32);
    TPolygon32 p = Polygon({{{1, 1}, {6, 1}, {6, 6}}});
    p.Closed = false;
    p.DrawOutline(b, 0x80000000);  // a joint blended twice would be darker
    EXPECT_EQ(test::PixelMap(b, 0xFF7F7F7F),
              "........\n"
              ".######.\n"
              "......#.\n"
              "......#.\n"
              "......#.\n"
              "......#.\n"
              "......#.\n"
              "........\n");
    b.Clear(clWhite32);
    p.Closed = true;
    p.DrawOutline(b, 0x80000000);
    EXPECT_EQ(b.Pixel(3, 3), 0xFF7F7F7Fu);  // the closing diagonal
    EXPECT_EQ(b.Pixel(1, 1), 0xFF7F7F7Fu);

    // smooth outlines put a whole-number line on its pixel row
    b.Clear(clWhite32);
    p.Antialiased = true;
    p.Closed = false;
    p.DrawOutline(b, clBlack32);
    EXPECT_EQ(b.Pixel(3, 1), clBlack32);
    EXPECT_EQ(b.Pixel(3, 0), clWhite32);
    EXPECT_EQ(b.Pixel(3, 2), clWhite32);
    EXPECT_EQ(b.Pixel(6, 3), clBlack32);
}

TEST(Polygon32Test, DrawWithATransparentFillOnlyStrokes)
{
    TBitmap32 b(10, 10);
    b.Clear(clWhite32);
    const TPolygon32 p = Polygon({{{1, 1}, {8, 1}, {8, 8}, {1, 8}}});
    p.Draw(b, clBlack32, 0x00FF0000);
    EXPECT_EQ(b.Pixel(4, 4), clWhite32);
    EXPECT_EQ(b.Pixel(4, 1), clBlack32);
    EXPECT_EQ(b.Pixel(8, 4), clBlack32);
    b.Clear(clWhite32);
    p.Draw(b, 0x00000000, 0xFFFF0000);
    EXPECT_EQ(b.Pixel(4, 4), 0xFFFF0000u);
    EXPECT_EQ(b.Pixel(8, 4), clWhite32);  // no outline, and 8 is outside the fill
}

TEST(Polygon32Test, OutlineShapeRunsForwardThenBackAndDropsShortContours)
{
    TPolygon32 p = Polygon({{{0, 0}, {1, 0}, {1, 1}}, {{5, 5}}, {}, {{2, 2}, {3, 3}}});
    p.Antialiased = true;
    const TPolygon32 closed = p.OutlineShape();
    EXPECT_TRUE(closed.Antialiased);
    ASSERT_EQ(closed.Points().size(), 4u);
    EXPECT_EQ(closed.Points()[0], Contour({{0, 0}, {1, 0}, {1, 1}}));
    EXPECT_EQ(closed.Points()[1], Contour({{1, 1}, {1, 0}, {0, 0}}));
    EXPECT_EQ(closed.Points()[3], Contour({{3, 3}, {2, 2}}));

    p.Closed = false;
    const TPolygon32 open = p.OutlineShape();
    EXPECT_FALSE(open.Closed);
    ASSERT_EQ(open.Points().size(), 2u);
    EXPECT_EQ(open.Points()[0], Contour({{0, 0}, {1, 0}, {1, 1}, {1, 1}, {1, 0}, {0, 0}}));
    EXPECT_EQ(open.Points()[1], Contour({{2, 2}, {3, 3}, {3, 3}, {2, 2}}));
}

TEST(Polygon32Test, GrowMovesEdgesAlongTheirNormalsWithMitreOrBevel)
{
    const TPolygon32 square = Polygon({{{10, 10}, {20, 10}, {20, 20}, {10, 20}}});
    // normal of an edge (dx, dy) is (dy, -dx): outwards for this square
    EXPECT_EQ(square.Grow(FixedPoint(1.0), 0.99f).Points()[0], Contour({{9, 9}, {21, 9}, {21, 21}, {9, 21}}));
    EXPECT_EQ(square.Grow(FixedPoint(-2.0), 5.0f).Points()[0],  // sharpness taken as 0.99
              Contour({{12, 12}, {18, 12}, {18, 18}, {12, 18}}));
    // without sharpness a right angle's mitre (√2 × delta) is too long: bevels
    EXPECT_EQ(square.Grow(FixedPoint(1.0), -1.0f).Points()[0],
              Contour({{9, 10}, {10, 9}, {20, 9}, {21, 10}, {21, 20}, {20, 21}, {10, 21}, {9, 20}}));

    // a near reversal is bevelled even at the highest sharpness; the ends of an
    // open contour follow their one edge
    TPolygon32 hook = Polygon({{{0, 0}, {10, 0}, {0, 2}}});
    hook.Closed = false;
    const TContour grown = hook.Grow(FixedPoint(1.0), 0.99f).Points()[0];
    ASSERT_EQ(grown.size(), 4u);
    EXPECT_EQ(grown[0], FixedPoint(0, -1));
    EXPECT_EQ(grown[1], FixedPoint(10, -1));
    const double k = 1 / std::hypot(10.0, 2.0);
    EXPECT_EQ(grown[2], FixedPoint(10 + 2 * k, 10 * k));
    EXPECT_EQ(grown[3], FixedPoint(0 + 2 * k, 2 + 10 * k));
}

TEST(Polygon32Test, GrowDropsContoursWithoutDirection)
{
    const TPolygon32 p = Polygon({{{1, 1}}, {{2, 2}, {2, 2}, {2, 2}}, {{0, 0}, {4, 0}, {4, 0}, {0, 0}}});
    const TPolygon32 g = p.Grow(FixedPoint(1.0), 0.5f);
    ASSERT_EQ(g.Points().size(), 1u);
    // repeated points are passed over; the closed 2-point contour reverses at
    // both ends and becomes a band around its segment
    EXPECT_EQ(g.Points()[0], Contour({{0, 1}, {0, -1}, {4, -1}, {4, 1}}));
}

TEST(Polygon32Test, GrowOfTheOutlineOfASegmentIsATwoPixelBand)
{
    TPolygon32 line = Polygon({{{10, 10}, {50, 10}}});
    line.Closed = false;
    const TPolygon32 band = line.OutlineShape().Grow(FixedPoint(-1.0), 1);
    ASSERT_EQ(band.Points().size(), 1u);
    EXPECT_EQ(band.Points()[0], Contour({{10, 11}, {50, 11}, {50, 9}, {10, 9}}));
    TBitmap32 b(60, 20);
    b.Clear(clWhite32);
    band.DrawFill(b, clBlack32);
    int black = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 60; ++x)
            black += b.Pixel(x, y) == clBlack32;
    EXPECT_EQ(black, 80);
    EXPECT_EQ(b.Pixel(10, 9), clBlack32);
    EXPECT_EQ(b.Pixel(49, 10), clBlack32);
}

TEST(Polygon32Test, ThickOutlineIsABandTwoPixelsWideCentredOnEachContour)
{
    TBitmap32 b(40, 40);
    b.Clear(clWhite32);
    TPolygon32 square = Polygon({{{10, 10}, {30, 10}, {30, 30}, {10, 30}}});
    square.Antialiased = true;
    square.ThickOutline(b, clBlack32);
    for (int x = 12; x < 28; ++x) {
        EXPECT_EQ(b.Pixel(x, 8), clWhite32) << x;
        EXPECT_EQ(b.Pixel(x, 9), clBlack32) << x;
        EXPECT_EQ(b.Pixel(x, 10), clBlack32) << x;
        EXPECT_EQ(b.Pixel(x, 11), clWhite32) << x;
        EXPECT_EQ(b.Pixel(31, x), clWhite32) << x;
        EXPECT_EQ(b.Pixel(30, x), clBlack32) << x;
    }
    EXPECT_EQ(b.Pixel(20, 20), clWhite32);

    // a 50-point circle: a ring, darkest on the radius, with soft edges
    TBitmap32 c(60, 60);
    c.Clear(clWhite32);
    TPolygon32 circle;
    const TContour points = Circle(30, 30, 20);
    circle.AddPoints(points.data(), int(points.size()));
    circle.Antialiased = true;
    circle.ThickOutline(c, 0xFF3F3F3F);
    EXPECT_EQ(c.Pixel(30, 30), clWhite32);
    EXPECT_EQ(c.Pixel(30, 46), clWhite32);
    EXPECT_EQ(c.Pixel(30, 53), clWhite32);
    // the ring's area, 2 × the perimeter, from the coverage of every pixel
    double area = 0;
    int partial = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 60; ++x) {
            const int grey = int(c.Pixel(x, y) & 0xFF);
            area += (255 - grey) / double(255 - 0x3F);
            partial += grey != 255 && grey != 0x3F;
        }
    const double perimeter = 50 * 2 * 20 * std::sin(std::numbers::pi / 50);
    EXPECT_NEAR(area, 2 * perimeter, 2 * perimeter * 0.02);
    EXPECT_GT(partial, 50);  // soft edges
}

TEST(Polygon32Test, FreeFunctionsFillEvenOddAndStrokeOneContour)
{
    TBitmap32 b(40, 40);
    b.Clear(clWhite32);
    TContour star;
    for (int i = 0; i < 5; ++i) {
        const TXY p = PolarToXY(float(4 * std::numbers::pi * i / 5), 18);
        star.push_back(FixedPoint(20 + p.a, 20 - p.b));
    }
    FillPolygon(b, star, clBlack32, false);
    EXPECT_EQ(b.Pixel(20, 20), clWhite32);  // the pentagon in the middle winds twice
    EXPECT_EQ(b.Pixel(20, 5), clBlack32);   // a tip

    b.Clear(clWhite32);
    const TContour tri = Contour({{5, 5}, {30, 5}, {5, 30}});
    DrawPolyline(b, tri, clBlack32, false, false);
    EXPECT_EQ(b.Pixel(15, 5), clBlack32);
    EXPECT_EQ(b.Pixel(17, 18), clBlack32);
    EXPECT_EQ(b.Pixel(5, 18), clWhite32);  // open: no closing edge
    DrawPolyline(b, tri, clBlack32, true, true);
    EXPECT_EQ(b.Pixel(5, 18), clBlack32);
}

// The drawing vocabulary in one picture, for a person to look at.
TEST(Polygon32Test, ShowcasePicture)
{
    TBitmap32 b(420, 260);
    b.BeginUpdate();
    b.Clear(clWhite32);

    // a rule's ticks, to be seen through the lens
    for (int i = 0; i <= 60; ++i)
        b.HorzLine(250, 30 + 3 * i, i % 10 == 0 ? 290 : (i % 5 == 0 ? 280 : 272), clBlack32);
    b.Font.Height = 11;
    for (int i = 0; i <= 6; ++i)
        b.TextOut(294, 30 + 30 * i - 6, QString::number(i));

    // the magnifier's mask: a square with a circular hole, even-odd, no AA
    const double cx = 270, cy = 120, size = 120;
    TPolygon32 mask;
    const TContour square = Contour({{cx - 0.6 * size, cy - 0.6 * size},
                                     {cx + 0.6 * size, cy - 0.6 * size},
                                     {cx + 0.6 * size, cy + 0.6 * size},
                                     {cx - 0.6 * size, cy + 0.6 * size}});
    mask.AddPoints(square.data(), int(square.size()));
    mask.NewContour();
    const TContour lens = Circle(cx, cy, 0.5 * size);
    mask.AddPoints(lens.data(), int(lens.size()));
    mask.DrawFill(b, clWhite32);
    TPolygon32 rim;
    rim.AddPoints(lens.data(), int(lens.size()));
    rim.Antialiased = true;
    rim.ThickOutline(b, clBorder32);

    // overlapping translucent shapes, smooth and plain
    TPolygon32 star;
    for (int i = 0; i < 5; ++i) {
        const TXY p = PolarToXY(float(4 * std::numbers::pi * i / 5), 60);
        star.AddPoint(FixedPoint(90 + p.a, 100 - p.b));
    }
    star.Antialiased = true;
    star.FillMode = TPolyFillMode::pfWinding;
    star.Draw(b, clBlack32, 0x7FFFFF80);
    TPolygon32 disc;
    const TContour d = Circle(120, 130, 35);
    disc.AddPoints(d.data(), int(d.size()));
    disc.Antialiased = true;
    disc.DrawFill(b, 0x800000FF);
    b.BlendRect(20, 150, 100, 200, 0x80FF0000);

    // a graph of smooth lines and a thick open polyline
    b.PenColor = 0xFF008000;
    b.MoveTo(20, 240);
    for (int x = 20; x <= 200; x += 4)
        b.SmoothLineTo(float(x), float(230 - 20 * std::sin(x / 15.0)));
    TPolygon32 path = Polygon({{{20, 215}, {80, 200}, {140, 225}, {200, 205}}});
    path.Closed = false;
    path.Antialiased = true;
    path.ThickOutline(b, 0xFFC00000);

    // canvas shapes: ellipse, bubbles, rounded rectangle, an exclusive-or line
    TCanvas& canvas = b.Canvas();
    canvas.pen.Color = clBlack32;
    canvas.brush.Color = 0xFFA0D0FF;
    canvas.Ellipse(350, 20, 410, 50);
    canvas.RoundRect(350, 56, 410, 86, 12, 12);
    canvas.brush.Color = clWhite32;
    for (int i = 0; i < 5; ++i)
        canvas.Ellipse(356 + 10 * i, 92 + 2 * i, 356 + 10 * i + 3 + i, 92 + 3 * i + 3 + i);
    canvas.pen.Mode = TCanvas::PenMode::Xor;
    canvas.pen.Color = clWhite32;
    canvas.MoveTo(345, 35);
    canvas.LineTo(415, 75);
    canvas.pen.Mode = TCanvas::PenMode::Copy;

    // a sprite with soft edges, drawn blended, and enlarged with Lanczos
    TBitmap32 ball(16, 16);
    TPolygon32 round;
    const TContour outline = Circle(8, 8, 7);
    round.AddPoints(outline.data(), int(outline.size()));
    round.Antialiased = true;
    round.DrawFill(ball, 0xFFD02020);  // onto transparent black: alpha stays 0
    for (int y = 0; y < 16; ++y)       // so give the ball its coverage as alpha
        for (int x = 0; x < 16; ++x)
            ball.SetPixel(x, y,
                          (ball.Pixel(x, y) & 0x00FFFFFF) |
                              (std::min(255u, (ball.Pixel(x, y) >> 16) * 255 / 0xD0) << 24) | 0x00D02020);
    ball.DrawMode = TDrawMode::dmBlend;
    ball.DrawTo(b, 356, 120);
    ball.MasterAlpha = 128;
    ball.DrawTo(b, 376, 120);
    ball.MasterAlpha = 255;
    ball.Resampler = TResampler::Lanczos;
    ball.StretchTo(b, {350, 140, 398, 188});

    b.Font.Height = 14;
    b.Font.SetBold(true);
    b.Font.Color = clBlack32;
    b.TextOut(20, 8, QStringLiteral("Brevalis 12.5 \u00BAC"));
    b.TextOutRect({330, 200, 410, 250}, QStringLiteral("centred"));
    b.FrameRect({330, 200, 410, 250}, 0xFF0000FF);
    b.FrameRect(b.BoundsRect(), clBorder32);
    b.EndUpdate();
    brv::test::SavePicture(b.Image(), "drawing_showcase");

    EXPECT_EQ(b.Pixel(252, 48), clWhite32);  // a tick under the mask
    EXPECT_EQ(b.Pixel(270, 90), clBlack32);  // a tick seen in the lens
    EXPECT_EQ(b.Pixel(0, 0), clBorder32);
}

}  // namespace
}  // namespace brv
