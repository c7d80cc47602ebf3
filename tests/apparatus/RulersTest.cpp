#include "apparatus/Rulers.h"

#include "apparatus/TextPixels.h"
#include "runtime/AddMaths.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace brv {
namespace {

using test::TextDrawnAt;

constexpr TColor32 kStrip = 0xFFFFFF80;

TRect StripOf(float left, float top, float width, float height)
{
    return {Round(left), Round(top), Round(left + width), Round(top + height)};
}

int DivisionAt(int i, float length)
{
    return Round(float(i) * (0.01f * length));
}

// --- upright rule -----------------------------------------------------------

struct VerticalCase {
    float top;
    float length;
};

class VerticalRuleTicks : public ::testing::TestWithParam<VerticalCase> {};

// Every tick reaches the short length, every fifth the medium and every tenth
// the long one, each on row round(i × u); between them the strip is bare.
TEST_P(VerticalRuleTicks, LieOnRoundedDivisions)
{
    const auto [top, length] = GetParam();
    const float width = 20;
    TBitmap32 b(120, 420);
    b.Clear(clWhite32);
    DrawVerticalRule(b, false, 60.3f, top, width, length);

    const TRect strip = StripOf(60.3f, top, width, length);
    const int xr = strip.Right - 1;
    std::set<int> tickRows;
    for (int i = 0; i < 100; ++i) {
        const int y = strip.Top + DivisionAt(i, length);
        tickRows.insert(y);
        SCOPED_TRACE(i);
        EXPECT_EQ(b.Pixel(xr - 2, y), clBlack32);
        if (y == strip.Bottom - 1)
            continue;  // the last tick of a 100-pixel rule falls on the frame
        EXPECT_EQ(b.Pixel(xr - 4, y) == clBlack32, i % 5 == 0);
        EXPECT_EQ(b.Pixel(xr - 8, y) == clBlack32, i % 10 == 0);
    }
    for (int y = strip.Top + 1; y < strip.Bottom - 1; ++y)
        if (!tickRows.count(y)) {
            EXPECT_EQ(b.Pixel(xr - 2, y), kStrip) << "row " << y;
        }

    std::set<int> spacings;
    int previous = -1;
    for (int y : tickRows) {
        if (previous >= 0)
            spacings.insert(y - previous);
        previous = y;
    }
    EXPECT_LE(*spacings.rbegin() - *spacings.begin(), 1);
    if (length == 100) {
        EXPECT_EQ(spacings, std::set<int>{1});
    }
    test::SavePicture(b.Image(), QStringLiteral("rule_vertical_%1").arg(length));
}

INSTANTIATE_TEST_SUITE_P(Lengths, VerticalRuleTicks,
                         ::testing::Values(VerticalCase{10, 100}, VerticalCase{10.4f, 237},
                                           VerticalCase{5.6f, 363.3f}));

struct NumberingCase {
    bool reversed;
    std::vector<int> fromTop;  // the number on every tenth tick, top first
    int atBottom;
};

class VerticalRuleNumbers : public ::testing::TestWithParam<NumberingCase> {};

// Each number is right-aligned two pixels left of the strip and centred on its
// tick; the last one stands with its foot on the bottom edge.  Drawn in the
// caller's font colour; the font is left bold "arial" of height round(2.5 u).
TEST_P(VerticalRuleNumbers, StandLeftOfTheStrip)
{
    const NumberingCase& c = GetParam();
    const float left = 60, top = 20.2f, width = 24, length = 360;
    TBitmap32 b(120, 400);
    b.Clear(clWhite32);
    const TColor32 ink = 0xFF0000C0;
    b.Font.Name = QStringLiteral("courier");
    b.Font.Height = 30;
    b.Font.Style = fsItalic;
    b.Font.Color = ink;
    DrawVerticalRule(b, c.reversed, left, top, width, length);

    EXPECT_EQ(b.Font.Name, QStringLiteral("arial"));
    EXPECT_EQ(b.Font.Height, 9);
    EXPECT_EQ(b.Font.Style, unsigned(fsBold));
    EXPECT_EQ(b.Font.Color, ink);

    const TRect strip = StripOf(left, top, width, length);
    const int halfM = b.TextHeight(QStringLiteral("M")) / 2;
    const int right = strip.Left - 2;
    for (int n = 0; n < 10; ++n) {
        const QString text = QString::number(c.fromTop[std::size_t(n)]);
        const int y = strip.Top + DivisionAt(10 * n, length);
        EXPECT_TRUE(TextDrawnAt(b, b.Font, right - b.TextWidth(text), y - halfM, text, clWhite32));
    }
    const QString end = QString::number(c.atBottom);
    EXPECT_TRUE(TextDrawnAt(b, b.Font, right - b.TextWidth(end), strip.Bottom - 2 * halfM, end, clWhite32));

    // Inside the strip there is nothing but the ticks.
    const int longTickEnd = strip.Right - 1 - Round(0.4f * width);
    for (int y = strip.Top + 1; y < strip.Bottom - 1; ++y)
        for (int x = strip.Left + 1; x < longTickEnd; ++x)
            ASSERT_EQ(b.Pixel(x, y), kStrip) << x << ", " << y;
    test::SavePicture(b.Image(),
                      c.reversed ? QStringLiteral("rule_reversed") : QStringLiteral("rule_upright"));
}

INSTANTIATE_TEST_SUITE_P(Directions, VerticalRuleNumbers,
                         ::testing::Values(NumberingCase{false, {0, 10, 20, 30, 40, 50, 60, 70, 80, 90}, 100},
                                           NumberingCase{
                                               true, {100, 90, 80, 70, 60, 50, 40, 30, 20, 10}, 0}));

// --- rule lying down ----------------------------------------------------------

// Ticks hang from the top edge at round(i × u), none at the ends; exactly the
// nine numbers 10 to 90 sit under the long ticks, inside the strip.
TEST(HorizontalRule, TicksAndExactlyNineNumbers)
{
    const float left = 20.5f, top = 10, length = 333, height = 40;
    TBitmap32 b(380, 70);
    b.Clear(clWhite32);
    DrawHorizontalRule(b, left, top, length, height);

    EXPECT_EQ(b.Font.Name, QStringLiteral("arial"));
    EXPECT_EQ(b.Font.Height, Round(2.5f * 3.33f));
    EXPECT_EQ(b.Font.Style, unsigned(fsBold));

    const TRect strip = StripOf(left, top, length, height);
    const int longEnd = strip.Top + 16, mediumEnd = strip.Top + 8, shortEnd = strip.Top + 4;
    std::set<int> tickColumns;
    std::vector<TRect> numberCells;
    for (int i = 1; i < 100; ++i) {
        const int x = strip.Left + DivisionAt(i, length);
        tickColumns.insert(x);
        SCOPED_TRACE(i);
        EXPECT_EQ(b.Pixel(x, shortEnd), clBlack32);
        EXPECT_EQ(b.Pixel(x, shortEnd + 1) == clBlack32, i % 5 == 0);
        EXPECT_EQ(b.Pixel(x, mediumEnd + 1) == clBlack32, i % 10 == 0);
        if (i % 10 == 0) {
            const QString text = QString::number(i);
            const TBitmap32::TSize cell = b.TextExtent(text);
            const int x0 = x - cell.cx / 2;
            EXPECT_TRUE(TextDrawnAt(b, b.Font, x0, longEnd, text, kStrip, 1));
            numberCells.push_back({x0, longEnd, x0 + cell.cx, longEnd + cell.cy});
        }
    }
    for (int x = strip.Left + 1; x < strip.Right - 1; ++x)
        if (!tickColumns.count(x)) {
            EXPECT_EQ(b.Pixel(x, strip.Top + 2), kStrip) << "column " << x;
        }

    // Below the ticks the only ink is in those nine cells: no 0 and no 100.
    auto inACell = [&](int x, int y) {
        for (const TRect& r : numberCells)
            if (x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom)
                return true;
        return false;
    };
    for (int y = longEnd + 1; y < strip.Bottom - 1; ++y)
        for (int x = strip.Left + 1; x < strip.Right - 1; ++x)
            if (!inACell(x, y)) {
                ASSERT_EQ(b.Pixel(x, y), kStrip) << x << ", " << y;
            }
    test::SavePicture(b.Image(), QStringLiteral("rule_horizontal"));
}

}  // namespace
}  // namespace brv
