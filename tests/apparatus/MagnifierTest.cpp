#include "apparatus/Magnifier.h"

#include "apparatus/GlassPixels.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace brv {
namespace {

using test::Rgb;

constexpr TColor32 kGreen = 0xFF00FF00;

void ExpectRim(TColor32 c)
{
    for (int shift : {16, 8, 0})
        EXPECT_NEAR(int((c >> shift) & 0xFF), 0x3F, 0x18) << std::hex << c;
}

// A lens of size 40 about (50, 50): circle radius 20, mask square 26..74.
TEST(Magnifier, MaskWhitensTheSquareOutsideTheCircleAndRingsTheCircle)
{
    TBitmap32 b(100, 100);
    b.Clear(kGreen);
    DrawMagnifierMask(b, 50, 50, 40);
    test::SavePicture(b.Image(), "MagnifierMask");

    for (TPoint inside : {TPoint{50, 50}, TPoint{66, 50}, TPoint{50, 34}})
        EXPECT_EQ(b.Pixel(inside.X, inside.Y), kGreen) << inside.X << ',' << inside.Y;
    for (TPoint ring : {TPoint{28, 28}, TPoint{72, 72}, TPoint{73, 50}, TPoint{50, 27}})
        EXPECT_EQ(b.Pixel(ring.X, ring.Y), clWhite32) << ring.X << ',' << ring.Y;
    for (TPoint outside : {TPoint{24, 50}, TPoint{50, 76}, TPoint{10, 10}, TPoint{90, 90}})
        EXPECT_EQ(b.Pixel(outside.X, outside.Y), kGreen) << outside.X << ',' << outside.Y;
    // The rim is two pixels wide, centred on the circle through (70, 50).
    ExpectRim(b.Pixel(69, 50));
    ExpectRim(b.Pixel(70, 50));
    ExpectRim(b.Pixel(30, 50));
    ExpectRim(b.Pixel(29, 50));
}

TEST(Magnifier, MaskAreaCanBeWiderThanTheSquare)
{
    TBitmap32 b(100, 100);
    b.Clear(kGreen);
    DrawMagnifierMask(b, 50, 50, 40, {21, 26, 79, 74});
    EXPECT_EQ(b.Pixel(22, 50), clWhite32);
    EXPECT_EQ(b.Pixel(77, 50), clWhite32);
    EXPECT_EQ(b.Pixel(19, 50), kGreen);
    EXPECT_EQ(b.Pixel(50, 24), kGreen);
    EXPECT_EQ(b.Pixel(50, 50), kGreen);
}

TEST(Magnifier, MaskKeepsToTheClipRectangle)
{
    TBitmap32 b(100, 100);
    b.Clear(kGreen);
    b.SetClipRect({50, 0, 100, 100});
    DrawMagnifierMask(b, 50, 50, 40);
    EXPECT_EQ(b.Pixel(28, 28), kGreen);
    EXPECT_EQ(Rgb(b.Pixel(30, 50)), Rgb(kGreen));
    EXPECT_EQ(b.Pixel(72, 72), clWhite32);
}

struct TSeenTick {
    int Index;
    TTickKind Kind;
    int Label;
};

std::vector<TSeenTick> Walk(int first, int last, int firstLabel, int step)
{
    std::vector<TSeenTick> majors;
    int halves = 0, minors = 0;
    ForEachLensTick(first, last, firstLabel, step, [&](const TLensTick& t) {
        if (t.Kind == TTickKind::Major)
            majors.push_back({t.Index, t.Kind, t.Label});
        halves += t.Kind == TTickKind::Half;
        minors += t.Kind == TTickKind::Minor;
    });
    EXPECT_EQ(halves + minors + int(majors.size()), last - first + 1);
    EXPECT_EQ(halves, int(majors.size()) + 1);  // both walks start and end mid-division
    return majors;
}

// The reading's own whole value labels the centre tick whichever way the
// scale is walked, and every skipped major tick still advances the counter.
TEST(LensScale, LabelsCountFromTwoBeforeTheReadingOnePerMajorTick)
{
    std::vector<TSeenTick> centred = Walk(-25, 25, LensFirstLabel(12.55f), 1);
    ASSERT_EQ(centred.size(), 5u);
    for (int j = 0; j < 5; ++j) {
        EXPECT_EQ(centred[j].Index, -20 + 10 * j);
        EXPECT_EQ(centred[j].Label, 10 + j);
    }

    std::vector<TSeenTick> fromZero = Walk(-5, 45, LensFirstLabel(49.2f), 1);
    ASSERT_EQ(fromZero.size(), 5u);
    EXPECT_EQ(fromZero[0].Index, 0);
    EXPECT_EQ(fromZero[2].Label, 49);
    EXPECT_EQ(fromZero[4].Label, 51);

    std::vector<TSeenTick> falling = Walk(-25, 25, Trunc(3.7f) + 2, -1);
    EXPECT_EQ(falling[2].Label, 3);
    EXPECT_EQ(falling[4].Label, 1);
}

TEST(LensScale, ShiftIsTheFractionInMinorSteps)
{
    EXPECT_NEAR(LensTickShift(12.55f, 2.0f), 11.0f, 1e-4f);
    EXPECT_EQ(LensTickShift(12.0f, 2.0f), 0.0f);
    EXPECT_NEAR(LensTickShift(0.3f, 5.0f), 15.0f, 1e-4f);
    EXPECT_EQ(LensFirstLabel(0.3f), -2);
}

}  // namespace
}  // namespace brv
