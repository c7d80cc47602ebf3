#include "apparatus/Burettes.h"

#include "apparatus/GlassPixels.h"
#include "apparatus/TextPixels.h"
#include "runtime/AddMaths.h"
#include "support/Pixels.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace brv {
namespace {

using test::ChangedPixels;
using test::TextDrawnAt;

// --- DrawCircle -------------------------------------------------------------------

std::string CircleOn9x9(int cx, int cy, int radius, const TRect& clip = {0, 0, 9, 9})
{
    TBitmap32 b(9, 9);
    b.Clear(clWhite32);
    b.SetClipRect(clip);
    DrawCircle(b, cx, cy, radius);
    return test::PixelMap(b, clBlack32);
}

TEST(DrawCircle, SetsTheMidpointAlgorithmsPixels)
{
    EXPECT_EQ(CircleOn9x9(4, 4, 3),
              ".........\n"
              "...###...\n"
              "..#...#..\n"
              ".#.....#.\n"
              ".#.....#.\n"
              ".#.....#.\n"
              "..#...#..\n"
              "...###...\n"
              ".........\n");
    EXPECT_EQ(CircleOn9x9(4, 4, 0).find('#'), std::size_t(4 * 10 + 4));
    EXPECT_EQ(CircleOn9x9(4, 4, 0).rfind('#'), std::size_t(4 * 10 + 4));
    EXPECT_EQ(CircleOn9x9(4, 4, -1).find('#'), std::string::npos);
}

TEST(DrawCircle, SetsOnlyPixelsInsideTheClipRectangle)
{
    EXPECT_EQ(CircleOn9x9(4, 4, 3, {0, 0, 4, 9}),
              ".........\n"
              "...#.....\n"
              "..#......\n"
              ".#.......\n"
              ".#.......\n"
              ".#.......\n"
              "..#......\n"
              "...#.....\n"
              ".........\n");
    // Hanging over the bitmap's corner, the circle keeps to the bitmap.
    EXPECT_EQ(CircleOn9x9(0, 0, 3),
              "...#.....\n"
              "...#.....\n"
              "..#......\n"
              "##.......\n"
              ".........\n"
              ".........\n"
              ".........\n"
              ".........\n"
              ".........\n");
}

// --- DrawGasBurette ---------------------------------------------------------------

// At (20, 10), 20 × 500: 8.3 pixels per cm³, the tube from row 85 to 500,
// bubbles every 17 pixels.  20 cm³ of gas put the water surface at row 251.
std::unique_ptr<TBitmap32> GasBurette(bool bubbling, int phase, float height = 500, float gas = 20)
{
    auto picture = std::make_unique<TBitmap32>(60, 530);
    TBitmap32& b = *picture;
    b.Clear(clWhite32);
    DrawGasBurette(b, bubbling, phase, 20, 10, 20, height, gas);
    return picture;
}

TEST(GasBurette, BubblesRiseOnlyThroughTheWater)
{
    const auto stillPicture = GasBurette(false, 0);
    const TBitmap32& still = *stillPicture;
    for (int phase : {0, 1, 8, 16, 17, 40, 1000}) {
        SCOPED_TRACE(phase);
        const auto bubblingPicture = GasBurette(true, phase);
        const TBitmap32& bubbling = *bubblingPicture;
        if (phase == 8)
            test::SavePicture(bubbling.Image(), "GasBuretteBubbling");
        std::vector<TPoint> bubbles = ChangedPixels(still, bubbling);
        EXPECT_GT(bubbles.size(), 100u);  // about fourteen circles
        for (TPoint p : bubbles) {
            ASSERT_GE(p.Y, 251);
            ASSERT_LT(p.Y, 500);
            ASSERT_GE(p.X, 20);
            ASSERT_LT(p.X, 40);
        }
    }
}

TEST(GasBurette, BubbleColumnMovesUpOnePixelPerPhase)
{
    const auto stillPicture = GasBurette(false, 0);
    const TBitmap32& still = *stillPicture;
    auto topmost = [&](int phase) {
        std::vector<TPoint> bubbles = ChangedPixels(still, *GasBurette(true, phase));
        return bubbles.empty() ? -1 : bubbles.front().Y;
    };
    // The circles of radius 2 about rows 500 − phase − 17k; the highest one
    // clear of the surface has its top row 2 above its centre.
    EXPECT_EQ(topmost(0), 500 - 17 * 14 - 2);
    EXPECT_EQ(topmost(1), 500 - 1 - 17 * 14 - 2);
}

TEST(GasBurette, TinyPictureDrawsNoBubbles)
{
    // 10 pixels tall: 0.17 pixels per cm³, so the spacing rounds to 0.
    const auto stillPicture = GasBurette(false, 3, 10, 20);
    const TBitmap32& still = *stillPicture;
    const auto bubblingPicture = GasBurette(true, 3, 10, 20);
    const TBitmap32& bubbling = *bubblingPicture;
    EXPECT_TRUE(ChangedPixels(still, bubbling).empty());
}

TEST(GasBurette, GasFillsFromTheZeroMarkDown)
{
    const auto emptyPicture = GasBurette(false, 0, 500, 0);
    const TBitmap32& empty = *emptyPicture;
    const auto fullPicture = GasBurette(false, 0, 500, 50);
    const TBitmap32& full = *fullPicture;
    test::SavePicture(full.Image(), "GasBuretteFull");
    EXPECT_EQ(empty.Pixel(35, 90), clBuretteLiquid32);
    EXPECT_EQ(full.Pixel(35, 90), clWhite32);
    EXPECT_EQ(full.Pixel(35, 495), clWhite32);
}

// --- DrawBuretteLens --------------------------------------------------------------

// A lens of size 150 at (10, 10): centre (85, 85), 5 pixels per 0.1 cm³, the
// tube from x = 55 to 115.  Ticks reach x = 70 (minor), 85 (half) or 114
// (whole cm³); labels end at x = 55.
constexpr int kLensTubeLeft = 55;

std::unique_ptr<TBitmap32> BuretteLens(float reading)
{
    auto picture = std::make_unique<TBitmap32>(170, 170);
    TBitmap32& b = *picture;
    b.Clear(clWhite32);
    DrawBuretteLens(b, 10, 10, 150, reading);
    test::SavePicture(b.Image(), "BuretteLens" + QString::number(reading));
    return picture;
}

int TickLength(const TBitmap32& b, int y)
{
    int n = 0;
    while (b.Pixel(kLensTubeLeft + 1 + n, y) == clBlack32)
        ++n;
    return n;
}

int ExpectedTickLength(int tenths)
{
    if (tenths < 0 || tenths > 500)
        return 0;
    if (tenths % 10 == 0)
        return 115 - kLensTubeLeft;  // on into the right wall
    return tenths % 5 == 0 ? 85 - kLensTubeLeft : 15;
}

struct LensCase {
    float reading;
    int anchorRow;     // the row of the tick of anchorTenths
    int anchorTenths;  // a scale value in 0.1 cm³
};

class BuretteLensScale : public ::testing::TestWithParam<LensCase> {};

// Over the rows the lens shows, a tick every 5 pixels of the kind its value
// calls for, values growing downwards, none beyond the 0 and 50 marks; the
// liquid and the walls fill the whole lower half.
TEST_P(BuretteLensScale, TicksFollowTheReading)
{
    const LensCase c = GetParam();
    const auto bPicture = BuretteLens(c.reading);
    const TBitmap32& b = *bPicture;
    for (int y = 20; y <= 150; ++y) {
        SCOPED_TRACE(y);
        int offset = y - c.anchorRow;
        int expected = offset % 5 == 0 ? ExpectedTickLength(c.anchorTenths + offset / 5) : 0;
        ASSERT_EQ(TickLength(b, y), expected);
    }
    EXPECT_EQ(b.Pixel(100, 84), clWhite32);
    EXPECT_EQ(b.Pixel(100, 86), clBuretteLiquid32);
    EXPECT_EQ(b.Pixel(100, 150), clBuretteLiquid32);
    EXPECT_EQ(b.Pixel(kLensTubeLeft, 150), clBlack32);
    EXPECT_EQ(b.Pixel(115, 150), clBlack32);
    EXPECT_EQ(b.Pixel(kLensTubeLeft, 20), clBlack32);
}

INSTANTIATE_TEST_SUITE_P(Readings, BuretteLensScale,
                         ::testing::Values(LensCase{0.3f, 70, 0},  // 0 mark 3 ticks up
                                           LensCase{12.0f, 85, 120},
                                           LensCase{12.55f, 57, 120},    // 12.5 at 82, 12.6 at 87
                                           LensCase{49.2f, 125, 500}));  // 50 mark 8 ticks down

TEST(BuretteLens, LabelsTheWholeCm3BesideTheirTicks)
{
    const auto bPicture = BuretteLens(12.0f);
    const TBitmap32& b = *bPicture;
    TFont32 font;
    font.Name = QStringLiteral("arial");
    font.Height = 15;
    font.Style = fsBold;
    for (auto [value, row] : {std::pair{11, 35}, std::pair{12, 85}, std::pair{13, 135}}) {
        QString text = QString::number(value);
        TPoint cell = test::RightCentredCell(font, kLensTubeLeft, row, text);
        EXPECT_TRUE(test::GlyphsDrawnAt(b, font, cell.X, cell.Y, text, clWhite32));
    }
    // The 12 stands clear of the rim, so its whole cell can be compared.
    TPoint cell = test::RightCentredCell(font, kLensTubeLeft, 85, "12");
    EXPECT_TRUE(TextDrawnAt(b, font, cell.X, cell.Y, "12", clWhite32));
}

// --- DrawBurette ------------------------------------------------------------------

// At (20, 20), 20 × 400: 6.64 pixels per cm³, the tube from row 20 to 352, the
// tap bar from row 380 to 388.
std::unique_ptr<TBitmap32> Burette(bool tapOpen, float liquidLeft)
{
    auto picture = std::make_unique<TBitmap32>(60, 440);
    TBitmap32& b = *picture;
    b.Clear(clWhite32);
    DrawBurette(b, tapOpen, 20, 20, 20, 400, liquidLeft);
    test::SavePicture(b.Image(), QString("Burette%1_%2").arg(tapOpen).arg(liquidLeft));
    return picture;
}

TEST(Burette, FullToTheZeroMarkAndTheTaperAlwaysFull)
{
    const auto fullPicture = Burette(false, 50);
    const TBitmap32& full = *fullPicture;
    const auto emptyPicture = Burette(true, 0);
    const TBitmap32& empty = *emptyPicture;
    EXPECT_EQ(full.Pixel(35, 21), clBuretteLiquid32);
    EXPECT_EQ(empty.Pixel(35, 345), clWhite32);
    EXPECT_EQ(empty.Pixel(30, 364), clBuretteLiquid32);  // taper
    EXPECT_EQ(full.Pixel(30, 364), clBuretteLiquid32);
    // Open: the bore shows liquid through the bar; closed: the barrel's circle.
    EXPECT_EQ(empty.Pixel(30, 384), clBuretteLiquid32);
    EXPECT_EQ(full.Pixel(32, 384), clBlack32);
    EXPECT_EQ(full.Pixel(30, 384), clWhite32);
}

// --- the scale both burettes share ---------------------------------------------

struct ScaleCase {
    const char* name;
    std::function<std::unique_ptr<TBitmap32>()> draw;
    int bottom;  // the 50 mark's row
    float u;     // pixels per cm³
    int fontHeight;
};

class BuretteScale : public ::testing::TestWithParam<ScaleCase> {};

// Both tubes at x = 20 to 40: ticks reach x = 39 every 10 cm³, 30 every 5
// and 26 otherwise; the labels read 50 − i upwards from the 50 mark, their
// right edges on the tube's left wall.
TEST_P(BuretteScale, TicksAndLabelsCountFromTheFiftyMarkUp)
{
    const ScaleCase& c = GetParam();
    const auto bPicture = c.draw();
    const TBitmap32& b = *bPicture;
    for (int i = 0; i <= 50; ++i) {
        SCOPED_TRACE(i);
        const int y = c.bottom - Round(float(i) * c.u);
        const int end = i % 10 == 0 ? 39 : i % 5 == 0 ? 30 : 26;
        for (int x = 20; x <= end; ++x)
            ASSERT_EQ(b.Pixel(x, y), clBlack32) << x;
        if (end < 39) {
            EXPECT_NE(b.Pixel(end + 1, y), clBlack32);
        }
    }
    TFont32 font;
    font.Name = QStringLiteral("arial");
    font.Height = c.fontHeight;
    font.Style = fsBold;
    // The labels clear of the lips and the mouth.
    for (int i : {10, 20, 30, 40}) {
        QString text = QString::number(50 - i);
        TPoint cell = test::RightCentredCell(font, 20, c.bottom - Round(float(i) * c.u), text);
        EXPECT_TRUE(test::GlyphsDrawnAt(b, font, cell.X, cell.Y, text, clWhite32)) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Tubes, BuretteScale,
    ::testing::Values(ScaleCase{"GasBurette", [] { return GasBurette(false, 0); }, 500, 8.3f, 14},
                      ScaleCase{"Burette", [] { return Burette(false, 30); }, 352, 6.64f, 11}),
    [](const auto& info) { return std::string(info.param.name); });

// --- the glass's ends ---------------------------------------------------------------

// The upright burette's lips are quarter circles of radius r = 4 about
// (16, 16) and (44, 16), from their tips 2r above the tube down to the walls;
// the top stays open.
TEST(Burette, LipsCurlOutwardsAboveTheOpenTop)
{
    const auto bPicture = Burette(false, 50);
    const TBitmap32& b = *bPicture;
    for (TPoint ink :
         {TPoint{16, 12}, TPoint{19, 13}, TPoint{20, 17}, TPoint{44, 12}, TPoint{41, 13}, TPoint{40, 17}})
        EXPECT_TRUE(test::InkNear(b, ink.X, ink.Y, clWhite32)) << ink.X << ',' << ink.Y;
    // (The left side's labels stand close to its lip, so the right side shows
    // the lip's hollow.)
    for (TPoint clear : {TPoint{45, 17}, TPoint{30, 13}, TPoint{25, 16}})
        EXPECT_FALSE(test::InkNear(b, clear.X, clear.Y, clWhite32)) << clear.X << ',' << clear.Y;
}

// The gas burette stands open end down: its mouth curls outwards in quarter
// circles about (16, 506) and (44, 506) to (16, 510) and (44, 510), and its
// top narrows into a jet from x = 28 to 32 closed at row 10.
TEST(GasBurette, MouthCurlsOutwardsAndTheJetIsClosed)
{
    const auto bPicture = GasBurette(false, 0);
    const TBitmap32& b = *bPicture;
    for (TPoint ink : {TPoint{16, 510}, TPoint{19, 509}, TPoint{20, 505}, TPoint{44, 510}, TPoint{41, 509},
                       TPoint{40, 505}, TPoint{28, 30}, TPoint{32, 30}, TPoint{30, 10}, TPoint{24, 55}})
        EXPECT_TRUE(test::InkNear(b, ink.X, ink.Y, clWhite32)) << ink.X << ',' << ink.Y;
    for (TPoint clear : {TPoint{45, 505}, TPoint{30, 508}, TPoint{30, 25}, TPoint{30, 7}})
        EXPECT_FALSE(test::InkNear(b, clear.X, clear.Y, clWhite32)) << clear.X << ',' << clear.Y;
}

}  // namespace
}  // namespace brv
