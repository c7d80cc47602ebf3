#include "apparatus/ApparatusSheet.h"

#include "support/TestSupport.h"

#include "runtime/AddMaths.h"

#include <QImage>
#include <QRect>

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace brv {
namespace {

// Drawn on a bitmap larger than it asks for, the sheet keeps every routine
// and caption inside its own size: beyond it only the white clear and the
// frame at the bitmap's edge.
TEST(ApparatusSheet, EverythingFitsInsideTheSizeItAsksFor)
{
    for (float scale : {2.0f, 3.0f, 8.0f}) {
        SCOPED_TRACE(scale);
        const TPoint size = ApparatusSheetSize(scale);
        TBitmap32 b(size.X + 30, size.Y + 30);
        DrawApparatusSheet(b, scale);
        test::SavePicture(b.Image(), "ApparatusSheet" + QString::number(scale));

        int inked = 0;
        for (int y = 1; y < b.Height() - 1; ++y)
            for (int x = 1; x < b.Width() - 1; ++x) {
                bool white = b.Pixel(x, y) == clWhite32;
                if (x < size.X && y < size.Y)
                    inked += !white;
                else
                    ASSERT_TRUE(white) << x << ',' << y;
            }
        EXPECT_GT(inked, size.X * size.Y / 10);
        EXPECT_EQ(b.Pixel(0, 0), clBorder32);
    }
}

// Sheet units (x, y, w, h) of a place on the sheet, in pixels at scale.
QRect Place(float x, float y, float w, float h, float scale)
{
    return QRect(Round(x * scale), Round(y * scale), Round(w * scale), Round(h * scale));
}

TEST(ApparatusSheet, ChosenReadingsReachTheirInstrumentsAndNoOthers)
{
    constexpr float s = 3;
    const TPoint size = ApparatusSheetSize(s);
    // The flask's bubbles are scattered by the program's generator: each
    // sheet starts it from the same state.
    const std::uint32_t state = RandomState();
    TBitmap32 samples(size.X, size.Y);
    DrawApparatusSheet(samples, s);
    const QImage before = samples.Image().copy();

    TSheetReadings temperature, volume, voltage, seconds;
    temperature.Temperature = 37;
    volume.Volume = 23.4f;
    voltage.Voltage = 11;
    seconds.Seconds = 61.5;
    const QRect coldLens = Place(38, 2, 36, 36, s);  // keeps its 5 ºC
    struct Case {
        const char* name;
        TSheetReadings readings;
        std::vector<QRect> changed;
    } cases[] = {
        {"temperature", temperature, {Place(2, 2, 36, 36, s), Place(2, 48, 24, 50, s)}},
        {"volume", volume, {Place(110, 2, 36, 36, s), Place(24, 108, 22, 92, s), Place(68, 108, 22, 92, s)}},
        {"voltage", voltage, {Place(174, 108, 22, 26, s)}},
        {"seconds", seconds, {Place(196, 108, 24, 26, s), Place(196, 142, 24, 26, s)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TBitmap32 b(size.X, size.Y);
        SetRandomState(state);
        DrawApparatusSheet(b, s, c.readings);
        for (const QRect& r : c.changed)
            EXPECT_NE(b.Image().copy(r), before.copy(r)) << r.x() << ',' << r.y();
        EXPECT_EQ(b.Image().copy(coldLens), before.copy(coldLens));
    }

    // The samples themselves, chosen, draw the same sheet.
    TSheetReadings same;
    same.Temperature = 25;
    same.Voltage = 6;
    TBitmap32 b(size.X, size.Y);
    SetRandomState(state);
    DrawApparatusSheet(b, s, same);
    EXPECT_EQ(b.Image(), before);
}

// Each routine starts from the font colour of a fresh picture: a rule, which
// numbers in whatever colour it finds, shows black numbers, not the colour of
// the caption drawn before it.
TEST(ApparatusSheet, RulesAreNumberedInBlackAfterTheCaptions)
{
    constexpr float s = 4;
    const TPoint size = ApparatusSheetSize(s);
    TBitmap32 b(size.X, size.Y);
    DrawApparatusSheet(b, s);
    for (float left : {220.0f, 242.0f}) {
        const QRect numbers = Place(left, 108, 11.5f, 88, s);
        int dark = 0;
        for (int y = numbers.top(); y <= numbers.bottom(); ++y)
            for (int x = numbers.left(); x <= numbers.right(); ++x) {
                const TColor32 c = b.Pixel(x, y);
                const int r = (c >> 16) & 0xFF, g = (c >> 8) & 0xFF, bl = c & 0xFF;
                ASSERT_TRUE(r == g && g == bl) << x << ',' << y << " is not grey: " << std::hex << c;
                dark += r < 0x40;
            }
        EXPECT_GT(dark, 100) << left;
    }
}

TEST(ApparatusSheet, EmptyBitmapIsLeftAlone)
{
    TBitmap32 b;
    DrawApparatusSheet(b, 3);
    EXPECT_TRUE(b.Empty());
}

}  // namespace
}  // namespace brv
