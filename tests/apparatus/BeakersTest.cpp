#include "apparatus/Beakers.h"

#include "apparatus/GlassPixels.h"
#include "runtime/AddMaths.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>

#include <functional>
#include <initializer_list>

namespace brv {
namespace {

using test::ChangedPixels;
using test::Rgb;

constexpr TColor32 kGreen = 0xFF00FF00;
constexpr TColor32 kTubeLiquid = 0xFFFFC0C0;

// --- beaker and test tube -------------------------------------------------------

// Both vessels at (30, 20), 40 × 60, liquid 20 high: level at row 60.
struct VesselCase {
    const char* name;
    std::function<void(TBitmap32&, bool clearInside)> draw;
    TColor32 liquid;
};

class OpenVessel : public ::testing::TestWithParam<VesselCase> {};

std::unique_ptr<TBitmap32> Vessel(const VesselCase& c, bool clearInside)
{
    auto picture = std::make_unique<TBitmap32>(100, 100);
    TBitmap32& b = *picture;
    b.Clear(kGreen);
    c.draw(b, clearInside);
    test::SavePicture(b.Image(), QString(c.name) + (clearInside ? "Cleared" : "Plain"));
    return picture;
}

TEST_P(OpenVessel, RimStaysOpenBetweenTheLipTips)
{
    for (bool clearInside : {false, true}) {
        const auto bPicture = Vessel(GetParam(), clearInside);
        const TBitmap32& b = *bPicture;
        for (int x = 33; x <= 67; ++x)
            for (int y = 18; y <= 21; ++y)
                ASSERT_TRUE(b.Pixel(x, y) == kGreen || b.Pixel(x, y) == clWhite32)
                    << x << ',' << y << " clear " << clearInside;
        // The glass does reach the tips of both lips, 2 pixels outside the walls.
        EXPECT_TRUE(test::InkNear(b, 72, 20, kGreen));
        EXPECT_TRUE(test::InkNear(b, 28, 20, kGreen));
    }
}

TEST_P(OpenVessel, ClearInsideDecidesWhetherTheBackgroundShowsThroughTheGlass)
{
    const VesselCase& c = GetParam();
    const auto clearedPicture = Vessel(c, true);
    const TBitmap32& cleared = *clearedPicture;
    const auto plainPicture = Vessel(c, false);
    const TBitmap32& plain = *plainPicture;
    EXPECT_EQ(cleared.Pixel(50, 40), clWhite32);
    EXPECT_EQ(plain.Pixel(50, 40), kGreen);
    EXPECT_EQ(cleared.Pixel(50, 70), c.liquid);
    EXPECT_EQ(plain.Pixel(50, 70), c.liquid);
    // Outside the glass nothing changes either way.
    EXPECT_EQ(cleared.Pixel(10, 50), kGreen);
    EXPECT_EQ(cleared.Pixel(50, 95), kGreen);
}

INSTANTIATE_TEST_SUITE_P(
    Glassware, OpenVessel,
    ::testing::Values(
        VesselCase{"Beaker", [](TBitmap32& b, bool clear) { DrawBeaker(b, clear, 30, 20, 40, 60, 20); },
                   clBeakerLiquid32},
        VesselCase{"TestTube",
                   [](TBitmap32& b, bool clear) { DrawTestTube(b, kTubeLiquid, clear, 30, 20, 40, 60, 20); },
                   kTubeLiquid}),
    [](const auto& info) { return std::string(info.param.name); });

// Samples across the liquid: on row Y the pixels In1 and In2 are liquid,
// Out1 and Out2 (beyond the glass's curve or wall) are not.
struct LiquidRow {
    int Y, Out1, In1, In2, Out2;
};

void ExpectLiquidProfile(const TBitmap32& b, TColor32 liquid, std::initializer_list<LiquidRow> rows)
{
    for (const LiquidRow& r : rows) {
        SCOPED_TRACE(r.Y);
        EXPECT_EQ(b.Pixel(r.In1, r.Y), liquid);
        EXPECT_EQ(b.Pixel(r.In2, r.Y), liquid);
        EXPECT_NE(b.Pixel(r.Out1, r.Y), liquid);
        EXPECT_NE(b.Pixel(r.Out2, r.Y), liquid);
    }
}

// The beaker's liquid fills it from wall to wall down to a flat base whose
// corners are rounded with radius 4 about (34, 76) and (66, 76).
TEST(Beaker, LiquidFillsFromWallToWallAboveRoundedCorners)
{
    TBitmap32 b(100, 100);
    b.Clear(kGreen);
    DrawBeaker(b, false, 30, 20, 40, 60, 20);
    ExpectLiquidProfile(
        b, clBeakerLiquid32,
        {{62, 28, 31, 68, 71}, {70, 28, 31, 68, 71}, {75, 28, 31, 68, 71}, {79, 30, 34, 66, 69}});
    EXPECT_NE(b.Pixel(50, 59), clBeakerLiquid32);  // above the level
    EXPECT_NE(b.Pixel(50, 81), clBeakerLiquid32);  // below the base
}

// The test tube's bottom is a half circle of radius 20 about (50, 60), the
// level itself, so its liquid narrows all the way down.
TEST(TestTube, LiquidFillsTheRoundBottom)
{
    TBitmap32 b(100, 100);
    b.Clear(kGreen);
    DrawTestTube(b, kTubeLiquid, false, 30, 20, 40, 60, 20);
    ExpectLiquidProfile(b, kTubeLiquid, {{70, 31, 34, 65, 68}, {78, 41, 44, 55, 58}});
    EXPECT_EQ(b.Pixel(50, 78), kTubeLiquid);
    EXPECT_NE(b.Pixel(50, 81), kTubeLiquid);
}

TEST(TestTube, MeniscusLineCrossesTheTubeAtTheLevel)
{
    TBitmap32 b(100, 100);
    b.Clear(kGreen);
    DrawTestTube(b, kTubeLiquid, false, 30, 20, 40, 60, 20);
    for (int x = 32; x <= 68; ++x)
        EXPECT_EQ(b.Pixel(x, 60), clMeniscus32) << x;
    EXPECT_EQ(b.Pixel(50, 61), kTubeLiquid);
}

// --- water bath -------------------------------------------------------------------

TEST(WaterBath, WithoutWaterOnlyTheWallsAreDrawn)
{
    const TColor32 water = 0xFFC0E1FF;
    for (float level : {0.0f, 20.0f}) {
        TBitmap32 b(100, 80);
        b.Clear(clWhite32);
        DrawWaterBath(b, water, 10, 10, 80, 50, level, 5);
        test::SavePicture(b.Image(), "WaterBath" + QString::number(level));
        int wet = 0;
        for (int y = 0; y < 80; ++y)
            for (int x = 0; x < 100; ++x)
                wet += b.Pixel(x, y) == water;
        EXPECT_EQ(wet > 0, level > 0);
        EXPECT_EQ(b.Pixel(12, 30), clBathWall32);  // left wall
        EXPECT_EQ(b.Pixel(87, 30), clBathWall32);  // right wall
        EXPECT_EQ(b.Pixel(50, 57), clBathWall32);  // floor
        EXPECT_EQ(b.Pixel(50, 30), clWhite32);     // above any water
        EXPECT_EQ(b.Pixel(50, 50), level > 0 ? water : clWhite32);
    }
}

// --- conical flask ----------------------------------------------------------------

void DrawFlask(TBitmap32& b, bool bung, bool bubbles)
{
    b.Clear(kGreen);
    DrawConicalFlask(b, bung, bubbles, 20, 20, 60, 80, 40);
}

// Every dot is where the flask without bubbles has glass or liquid: its red
// channel shows the white or yellow inside, where the green outside has none.
TEST(ConicalFlask, BubblesFallOnlyInsideTheOutline)
{
    TBitmap32 plain(100, 110), fizzing(100, 110);
    DrawFlask(plain, false, false);
    int dots = 0;
    for (int draw = 0; draw < 20; ++draw) {
        DrawFlask(fizzing, false, true);
        for (TPoint p : ChangedPixels(plain, fizzing)) {
            ++dots;
            ASSERT_EQ(fizzing.Pixel(p.X, p.Y), clBlack32) << p.X << ',' << p.Y;
            ASSERT_GT((plain.Pixel(p.X, p.Y) >> 16) & 0xFF, 0u) << p.X << ',' << p.Y;
            ASSERT_GE(p.Y, 60);  // in the liquid's rows
        }
    }
    test::SavePicture(fizzing.Image(), "ConicalFlaskBubbles");
    EXPECT_GT(dots, 20 * 20);  // most of the 77 cells of every draw land inside
}

TEST(ConicalFlask, DotsDifferFromDrawToDraw)
{
    TBitmap32 first(100, 110), second(100, 110);
    DrawFlask(first, false, true);
    DrawFlask(second, false, true);
    EXPECT_FALSE(ChangedPixels(first, second).empty());
}

TEST(ConicalFlask, WithoutBubblesOrBungTheFlaskIsPlainAndOpen)
{
    TBitmap32 b(100, 110);
    SetRandomState(7);
    DrawFlask(b, false, false);
    EXPECT_EQ(RandomState(), 7u);  // no dots drawn, no random numbers used
    test::SavePicture(b.Image(), "ConicalFlaskPlain");
    EXPECT_EQ(b.Pixel(50, 18), kGreen);     // above the mouth
    EXPECT_EQ(b.Pixel(50, 22), clWhite32);  // inside the neck
    EXPECT_EQ(Rgb(b.Pixel(50, 80)), Rgb(clFlaskLiquid32));
    // A black line lies on the liquid's top edge, row 60, only within the glass.
    EXPECT_EQ(Rgb(b.Pixel(50, 60)), Rgb(clBlack32));
    EXPECT_EQ(Rgb(b.Pixel(50, 59)), Rgb(clWhite32));
    EXPECT_EQ(Rgb(b.Pixel(21, 60)), Rgb(kGreen));
    EXPECT_EQ(Rgb(b.Pixel(79, 60)), Rgb(kGreen));
    for (int y = 61; y < 96; ++y)
        for (int x = 40; x <= 60; ++x)
            ASSERT_EQ(Rgb(b.Pixel(x, y)), Rgb(clFlaskLiquid32)) << x << ',' << y;
}

TEST(ConicalFlask, BungFillsTheNeckBetweenItsWalls)
{
    TBitmap32 b(100, 110);
    DrawFlask(b, true, false);
    test::SavePicture(b.Image(), "ConicalFlaskBung");
    EXPECT_EQ(b.Pixel(50, 17), clBung32);  // it stands out of the mouth
    EXPECT_EQ(b.Pixel(50, 25), clBung32);
    EXPECT_EQ(b.Pixel(50, 33), clWhite32);  // and ends inside the neck
    EXPECT_EQ(b.Pixel(30, 25), kGreen);     // not beyond the neck's walls
    EXPECT_EQ(b.Pixel(70, 25), kGreen);
}

}  // namespace
}  // namespace brv
