// The biology drawings load at their sizes, and a picture scaled once and
// copied afterwards looks exactly as one scaled on every paint.
#include "experiments/biology/BiologyPictures.h"

#include <gtest/gtest.h>

namespace brv {
namespace {

TEST(BiologyPictures, EveryDrawingLoadsAtItsSize)
{
    struct Case {
        const char* name;
        int width, height;
        TColor32 background;
    };
    for (const Case& c : {Case{"dimple-iodine", 40, 40, 0}, Case{"dimple-starch", 40, 40, 0},
                          Case{"dimple-nostarch", 40, 40, 0}, Case{"lamp", 69, 112, clWhite32},
                          Case{"pondweed", 47, 157, 0}}) {
        SCOPED_TRACE(c.name);
        TBitmap32 b;
        ASSERT_TRUE(LoadBiologyPicture(b, QLatin1String(c.name), c.width, c.height, c.background));
        EXPECT_EQ(b.Width(), c.width);
        EXPECT_EQ(b.Height(), c.height);
        // Transparent surroundings, or the lamp's white, in the corners;
        // a fair part of the picture drawn.
        EXPECT_EQ(b.Pixel(0, 0), c.background);
        EXPECT_EQ(b.Pixel(c.width - 1, 0), c.background);
        int drawn = 0;
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x)
                drawn += b.Pixel(x, y) != c.background ? 1 : 0;
        EXPECT_GT(drawn, c.width * c.height / 5);
    }
    TBitmap32 missing;
    EXPECT_FALSE(LoadBiologyPicture(missing, QStringLiteral("no-such-drawing"), 5, 4, 0));
    EXPECT_EQ(missing.Width(), 5);
}

TEST(BiologyPictures, AScaledPictureIsResampledOnlyWhenItsSizeChanges)
{
    TBitmap32 source;
    ASSERT_TRUE(LoadBiologyPicture(source, QStringLiteral("pondweed"), 47, 157, 0));
    source.Resampler = TResampler::Lanczos;
    for (TDrawMode mode : {TDrawMode::dmBlend, TDrawMode::dmOpaque}) {
        source.DrawMode = mode;
        TScaledPicture cached;
        for (const TRect& r : {TRect{10, 5, 60, 200}, TRect{30, 0, 80, 195}, TRect{3, 7, 33, 107}}) {
            TBitmap32 direct(120, 220), copied(120, 220);
            direct.Clear(0xFFC0E1FF);
            copied.Clear(0xFFC0E1FF);
            source.StretchTo(direct, r);
            cached.Draw(source, copied, r);
            EXPECT_EQ(copied.Image(), direct.Image()) << r.Left << "," << r.Top;
            EXPECT_EQ(source.DrawMode, mode) << "left as it was";
        }
    }
}

}  // namespace
}  // namespace brv
