#include "runtime/Bitmap32.h"
#include "runtime/raster/Blend.h"
#include "runtime/raster/Resample.h"
#include "support/Pixels.h"

#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <QStaticText>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <vector>

namespace brv {
namespace {

constexpr TColor32 kRed = 0xFFFF0000;
constexpr TColor32 kBlue = 0xFF0000FF;

int Count(const TBitmap32& b, TColor32 c)
{
    int n = 0;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            n += b.Pixel(x, y) == c;
    return n;
}

// Bounding box of the pixels that differ from c ({0,0,0,0} if none).
TRect Changed(const TBitmap32& b, TColor32 c)
{
    TRect r{b.Width(), b.Height(), 0, 0};
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            if (b.Pixel(x, y) != c) {
                r.Left = std::min(r.Left, x);
                r.Top = std::min(r.Top, y);
                r.Right = std::max(r.Right, x + 1);
                r.Bottom = std::max(r.Bottom, y + 1);
            }
    return r.IsEmpty() ? TRect{} : r;
}

TEST(Bitmap32Test, FixedPointRoundsHalfToEvenAndPinsOutOfRange)
{
    EXPECT_EQ(FixedPoint(1.0), 65536);
    EXPECT_EQ(FixedPoint(-2.25), -147456);
    EXPECT_EQ(FixedPoint(0.5 / 65536), 0);
    EXPECT_EQ(FixedPoint(1.5 / 65536), 2);
    EXPECT_EQ(FixedPoint(-1.5 / 65536), -2);
    EXPECT_EQ(FixedPoint(std::nan("")), 0);
    EXPECT_EQ(FixedPoint(1e12), std::numeric_limits<TFixed>::max());
    EXPECT_EQ(FixedPoint(-1e12), std::numeric_limits<TFixed>::min());
    EXPECT_EQ(FixedPoint(1.0, -1.0), (TFixedPoint{65536, -65536}));
}

TEST(Bitmap32Test, SetSizeKeepsPixelsThatStillFitAndResetsTheClip)
{
    TBitmap32 b(4, 3);
    EXPECT_EQ(b.Pixel(0, 0), 0u);
    b.SetPixel(1, 1, kRed);
    b.SetClipRect({0, 0, 2, 2});
    b.SetSize(6, 5);
    EXPECT_EQ(b.Pixel(1, 1), kRed);
    EXPECT_EQ(b.ClipRect(), (TRect{0, 0, 6, 5}));
    EXPECT_EQ(b.Pixel(-1, 0), 0u);
    EXPECT_EQ(b.Pixel(6, 0), 0u);
    b.SetSize(0, 7);
    EXPECT_TRUE(b.Empty());
    b.Clear(kRed);  // nothing to draw on, nothing happens
    b.FillRect(0, 0, 5, 5, kRed);
}

TEST(Bitmap32Test, ClearFillsOnlyTheClipRectOpaque)
{
    TBitmap32 b(5, 4);
    b.Clear(0x80123456);
    EXPECT_EQ(Count(b, 0x80123456), 20);
    b.SetClipRect({1, 1, 3, 9});
    b.Clear(kRed);
    EXPECT_EQ(test::PixelMap(b, kRed),
              ".....\n"
              ".##..\n"
              ".##..\n"
              ".##..\n");
}

TEST(Bitmap32Test, LinesAndRectanglesCoverExactlyTheirPixels)
{
    struct Case {
        const char* name;
        void (*draw)(TBitmap32&);
        const char* map;
    };
    const Case cases[] = {
        {"HorzLine ends sorted, both inclusive", [](TBitmap32& b) { b.HorzLine(4, 1, 1, kRed); },
         "......\n.####.\n......\n......\n"},
        {"VertLine ends sorted, both inclusive", [](TBitmap32& b) { b.VertLine(2, 3, 0, kRed); },
         "..#...\n..#...\n..#...\n..#...\n"},
        {"HorzLine clipped at the bitmap", [](TBitmap32& b) { b.HorzLine(-100, 3, 100, kRed); },
         "......\n......\n......\n######\n"},
        {"HorzLine outside the clip rectangle",
         [](TBitmap32& b) {
             b.SetClipRect({0, 0, 6, 2});
             b.HorzLine(0, 2, 5, kRed);
         },
         "......\n......\n......\n......\n"},
        {"FillRect right and bottom exclusive", [](TBitmap32& b) { b.FillRect(1, 1, 3, 4, kRed); },
         "......\n.##...\n.##...\n.##...\n"},
        {"FillRect reversed is empty", [](TBitmap32& b) { b.FillRect(3, 1, 1, 4, kRed); },
         "......\n......\n......\n......\n"},
        {"FrameRect of the whole bitmap is its outermost ring",
         [](TBitmap32& b) { b.FrameRect(b.BoundsRect(), kRed); }, "######\n#....#\n#....#\n######\n"},
        {"FrameRect one pixel high", [](TBitmap32& b) { b.FrameRect(1, 2, 4, 3, kRed); },
         "......\n......\n.###..\n......\n"},
        {"FrameRect clipped",
         [](TBitmap32& b) {
             b.SetClipRect({0, 0, 3, 4});
             b.FrameRect(1, 0, 6, 3, kRed);
         },
         ".##...\n.#....\n.##...\n......\n"},
        {"SetPixel outside the clip rectangle",
         [](TBitmap32& b) {
             b.SetClipRect({0, 0, 2, 2});
             b.SetPixel(1, 1, kRed);
             b.SetPixel(2, 1, kRed);
         },
         "......\n.#....\n......\n......\n"},
    };
    for (const Case& c : cases) {
        TBitmap32 b(6, 4);
        b.Clear(clWhite32);
        c.draw(b);
        EXPECT_EQ(test::PixelMap(b, kRed), c.map) << c.name;
    }
}

TEST(Bitmap32Test, OpaqueOperationsStoreTheColourAsIsAndBlendedOnesKeepTargetAlpha)
{
    TBitmap32 b(4, 1);
    b.Clear(clWhite32);
    b.FillRect(0, 0, 1, 1, 0x80FF0000);
    EXPECT_EQ(b.Pixel(0, 0), 0x80FF0000u);
    b.BlendRect(1, 0, 2, 1, 0x80FF0000);
    EXPECT_EQ(b.Pixel(1, 0), 0xFFFF7F7Fu);  // 255·128/255 + 255·127/255 rounded
    b.SetPixel(2, 0, 0x40FFFFFF);
    b.BlendRect(2, 0, 3, 1, 0x80FF0000);
    EXPECT_EQ(b.Pixel(2, 0), 0x40FF7F7Fu);  // the target's alpha byte stays
    b.BlendRect(3, 0, 4, 1, 0x00FF0000);
    EXPECT_EQ(b.Pixel(3, 0), clWhite32);
    b.BlendRect(3, 0, 4, 1, 0xFF00FF00);
    EXPECT_EQ(b.Pixel(3, 0), 0xFF00FF00u);
    b.BlendPixel(3, 0, 0xFF0000FF, 128);  // half coverage of opaque blue
    EXPECT_EQ(b.Pixel(3, 0), 0xFF007F80u);
}

TEST(Bitmap32Test, BlendRoundsEveryChannelExactly)
{
    // The span blender (vectorised) and the one-pixel blender against the
    // rounding of the exact formula, over all alphas and a spread of channels.
    std::vector<TColor32> row, expected;
    for (unsigned a = 1; a < 255; ++a) {
        for (unsigned s = 0; s < 256; s += 15) {
            const TColor32 src = (a << 24) | (s << 16) | ((255 - s) << 8) | (s / 2);
            row.clear();
            expected.clear();
            for (unsigned d = 0; d < 256; d += 5) {
                const TColor32 dst = (d << 24) | (d << 16) | ((d * 7) % 256 << 8) | (255 - d);
                row.push_back(dst);
                auto mix = [&](int shift) {
                    const double v =
                        (((src >> shift) & 0xFF) * a + ((dst >> shift) & 0xFF) * (255.0 - a)) / 255;
                    return TColor32(std::lround(v)) << shift;
                };
                expected.push_back((dst & 0xFF000000) | mix(16) | mix(8) | mix(0));
                ASSERT_EQ(raster::BlendColor(src, dst, a), expected.back()) << a << ' ' << s << ' ' << d;
            }
            raster::ConstantBlender(src, a).Span(row.data(), int(row.size()));
            ASSERT_EQ(row, expected) << a << ' ' << s;
        }
    }

    // Rows of sprite pixels (runs of transparent, opaque and mixed alphas)
    // against the one-pixel blender, at several master alphas.
    std::vector<TColor32> src, dst;
    for (unsigned i = 0; i < 203; ++i) {
        const unsigned a = i < 40 ? 0 : (i < 80 ? 255 : (i * 97) % 256);
        src.push_back((a << 24) | ((i * 53) % 256 << 16) | ((i * 31) % 256 << 8) | (i * 7) % 256);
        dst.push_back(((i * 11) % 256 << 24) | ((i * 17) % 256 << 16) | ((i * 5) % 256 << 8) | (i * 3) % 256);
    }
    for (unsigned master : {255u, 254u, 128u, 1u, 0u}) {
        std::vector<TColor32> blended = dst;
        raster::BlendRow(blended.data(), src.data(), int(src.size()), master);
        for (std::size_t i = 0; i < src.size(); ++i)
            ASSERT_EQ(blended[i],
                      raster::BlendColor(src[i], dst[i], raster::MulDiv255(AlphaOf(src[i]), master)))
                << master << ' ' << i;
    }
    for (std::size_t n : {0u, 1u, 7u, 8u, 33u, 1000u}) {
        std::vector<TColor32> pixels(n + 2, 0x12345678);
        raster::FillPixels(pixels.data() + 1, n, 0xFFABCDEF);
        EXPECT_EQ(std::count(pixels.begin(), pixels.end(), 0xFFABCDEFu), std::ptrdiff_t(n));
        EXPECT_EQ(pixels.back(), 0x12345678u);
    }
}

TEST(Bitmap32Test, SmoothLinesRunThroughPixelCentres)
{
    TBitmap32 b(12, 7);
    b.Clear(clWhite32);
    b.SmoothLine(1, 3, 10, 3, clBlack32);
    for (int x = 2; x <= 9; ++x)
        EXPECT_EQ(b.Pixel(x, 3), clBlack32) << x;
    EXPECT_EQ(Changed(b, clWhite32), (TRect{1, 3, 11, 4}));  // nothing spills into rows 2, 4
    EXPECT_NE(b.Pixel(1, 3), clWhite32);                     // the ends are part-covered

    b.Clear(clWhite32);
    b.PenColor = 0xFF0000FF;
    b.MoveTo(1.0f, 1.5f);
    b.SmoothLineTo(10.0f, 1.5f);  // halfway between rows 1 and 2: both half blue
    const TColor32 half = b.Pixel(5, 1);
    EXPECT_EQ(half, b.Pixel(5, 2));
    EXPECT_NEAR(int(half & 0xFF), 255, 1);
    EXPECT_NEAR(int((half >> 16) & 0xFF), 127, 2);
    b.SmoothLineTo(10.0f, 5.5f);  // from where the pen was left
    EXPECT_NE(b.Pixel(10, 4), clWhite32);
}

TEST(Bitmap32Test, SmoothLinesStayInTheClipRectAndSurviveWildCoordinates)
{
    TBitmap32 b(10, 10);
    b.Clear(clWhite32);
    b.SetClipRect({2, 2, 8, 8});
    b.SmoothLine(-1000000, -999999, 1000000, 1000001, clBlack32);  // y = x + 1
    b.MoveTo(std::nanf(""), 0);
    b.SmoothLineTo(5, 5);
    b.MoveTo(-3e6f, 5);
    b.SmoothLineTo(3e6f, 5);
    b.SmoothLineTo(std::numeric_limits<float>::infinity(), 5);
    const TRect r = Changed(b, clWhite32);
    EXPECT_EQ(r, (TRect{2, 3, 8, 8}));
    EXPECT_EQ(b.Pixel(4, 5), clBlack32);
}

TEST(Bitmap32Test, DrawToCombinesByDrawModeWithinTheTargetClip)
{
    TBitmap32 sprite(3, 2);
    sprite.Clear(0x80FF0000);
    sprite.SetPixel(0, 0, 0xFF00FF00);
    sprite.SetPixel(1, 0, 0x000000FF);

    TBitmap32 target(4, 3);
    target.Clear(clWhite32);
    sprite.DrawMode = TDrawMode::dmBlend;
    sprite.DrawTo(target, 1, 1);
    EXPECT_EQ(target.Pixel(1, 1), 0xFF00FF00u);  // opaque pixel replaces
    EXPECT_EQ(target.Pixel(2, 1), clWhite32);    // transparent pixel leaves
    EXPECT_EQ(target.Pixel(3, 1), 0xFFFF7F7Fu);  // half blends
    EXPECT_EQ(target.Pixel(0, 1), clWhite32);

    target.Clear(clWhite32);
    sprite.MasterAlpha = 128;
    sprite.DrawTo(target, -1, 0);  // partly off the target's left edge
    EXPECT_EQ(target.Pixel(0, 0), clWhite32);
    EXPECT_EQ(target.Pixel(1, 0), 0xFFFFBFBFu);  // α = 128 × 128 / 255 = 64
    EXPECT_EQ(target.Pixel(1, 1), 0xFFFFBFBFu);
    EXPECT_EQ(target.Pixel(2, 0), clWhite32);

    target.Clear(clWhite32);
    sprite.DrawMode = TDrawMode::dmOpaque;
    target.SetClipRect({0, 0, 2, 3});
    sprite.DrawTo(target, 0, 1);
    EXPECT_EQ(target.Pixel(1, 1), 0x000000FFu);  // copied, alpha included
    EXPECT_EQ(target.Pixel(1, 2), 0x80FF0000u);
    EXPECT_EQ(target.Pixel(2, 1), clWhite32);  // beyond the clip
}

TEST(Bitmap32Test, WideSpritesBlendAsEachOfTheirPixelsWould)
{
    // A sprite wide enough for the vector paths, in every alpha, drawn partly
    // off the target so that the two bitmaps' rows are of different lengths;
    // the reference draws it one pixel at a time.
    TBitmap32 sprite(37, 6);
    for (int y = 0; y < sprite.Height(); ++y)
        for (int x = 0; x < sprite.Width(); ++x) {
            const unsigned a = (x * 29 + y * 71) % 256;
            sprite.SetPixel(x, y,
                            Color32(std::uint8_t(x * 7), std::uint8_t(200 - y * 9), std::uint8_t(x * y),
                                    std::uint8_t(a)));
        }
    for (const unsigned master : {255u, 100u}) {
        SCOPED_TRACE(master);
        TBitmap32 target(50, 9), expected(50, 9);
        for (TBitmap32* b : {&target, &expected})
            for (int y = 0; y < 9; ++y)
                for (int x = 0; x < 50; ++x)
                    b->SetPixel(
                        x, y, Color32(std::uint8_t(x * 5), std::uint8_t(y * 20), 90, std::uint8_t(255 - x)));
        sprite.DrawMode = TDrawMode::dmBlend;
        sprite.MasterAlpha = master;
        sprite.DrawTo(target, 20, 4);

        TBitmap32 one(1, 1);
        one.DrawMode = TDrawMode::dmBlend;
        one.MasterAlpha = master;
        for (int y = 0; y < sprite.Height(); ++y)
            for (int x = 0; x < sprite.Width(); ++x) {
                one.SetPixel(0, 0, sprite.Pixel(x, y));
                one.DrawTo(expected, 20 + x, 4 + y);
            }
        EXPECT_EQ(target.Image(), expected.Image());

        // Stretched to twice its size, each pixel blends onto a 2 × 2 block.
        TBitmap32 stretched(50, 9), blocks(50, 9);
        for (TBitmap32* b : {&stretched, &blocks})
            b->Clear(0xFF336699);
        sprite.Resampler = TResampler::Nearest;
        sprite.StretchTo(stretched, {-10, -1, 64, 11});
        for (int y = 0; y < sprite.Height(); ++y)
            for (int x = 0; x < sprite.Width(); ++x) {
                one.SetPixel(0, 0, sprite.Pixel(x, y));
                for (int dy = 0; dy < 2; ++dy)
                    for (int dx = 0; dx < 2; ++dx)
                        one.DrawTo(blocks, -10 + 2 * x + dx, -1 + 2 * y + dy);
            }
        EXPECT_EQ(stretched.Image(), blocks.Image());
    }
}

TEST(Bitmap32Test, StretchToWithNearestRepeatsPixels)
{
    TBitmap32 src(2, 2);
    src.SetPixel(0, 0, kRed);
    src.SetPixel(1, 0, kBlue);
    src.SetPixel(0, 1, kBlue);
    src.SetPixel(1, 1, kRed);
    TBitmap32 dst(6, 5);
    dst.Clear(clWhite32);
    src.StretchTo(dst, {1, 1, 5, 5});
    EXPECT_EQ(test::PixelMap(dst, kRed),
              "......\n"
              ".##...\n"
              ".##...\n"
              "...##.\n"
              "...##.\n");
    EXPECT_EQ(Count(dst, kBlue), 8);
}

TEST(Bitmap32Test, StretchToWithLanczosFiltersAndKeepsFlatColours)
{
    EXPECT_DOUBLE_EQ(raster::Lanczos3(0), 1);
    EXPECT_NEAR(raster::Lanczos3(1), 0, 1e-12);
    EXPECT_NEAR(raster::Lanczos3(2.0), 0, 1e-12);
    EXPECT_NEAR(raster::Lanczos3(0.5), 3 * 0.5 / (std::numbers::pi * std::numbers::pi * 0.25), 1e-12);
    EXPECT_NEAR(raster::Lanczos3(1.5),
                3 * -1 * std::sin(std::numbers::pi / 2) / (std::numbers::pi * std::numbers::pi * 2.25),
                1e-12);
    EXPECT_EQ(raster::Lanczos3(3), 0);

    TBitmap32 flat(7, 5);
    flat.Clear(0xFF336699);
    flat.Resampler = TResampler::Lanczos;
    TBitmap32 dst(40, 30);
    flat.StretchTo(dst, {0, 0, 40, 30});
    EXPECT_EQ(Count(dst, 0xFF336699), 40 * 30);

    // A black-white step widened 8 times: a smooth ramp, with the ringing of
    // the sinc kernel on either side, unlike nearest neighbour.
    TBitmap32 step(8, 1);
    step.Clear(clBlack32);
    step.FillRect(4, 0, 8, 1, clWhite32);
    step.Resampler = TResampler::Lanczos;
    TBitmap32 wide(64, 1);
    step.StretchTo(wide, {0, 0, 64, 1});
    auto grey = [&](int x) { return int(wide.Pixel(x, 0) & 0xFF); };
    EXPECT_EQ(grey(0), 0);
    EXPECT_EQ(grey(63), 255);
    EXPECT_GT(grey(32), 100);
    EXPECT_LT(grey(31), 155);
    int levels = 0, ringing = 0;
    for (int x = 24; x < 40; ++x)
        levels += grey(x) > 0 && grey(x) < 255;
    for (int x = 8; x < 24; ++x)
        ringing += grey(x) > 0;
    for (int x = 40; x < 56; ++x)
        ringing += grey(x) < 255;
    EXPECT_GE(levels, 7);
    EXPECT_GE(ringing, 4);
    for (int x = 0; x < 63; ++x)
        EXPECT_EQ(AlphaOf(wide.Pixel(x, 0)), 255);

    // Shrinking averages: a fine checker board becomes flat grey.
    TBitmap32 checker(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            checker.SetPixel(x, y, (x + y) % 2 ? clWhite32 : clBlack32);
    checker.Resampler = TResampler::Lanczos;
    TBitmap32 small(8, 8);
    checker.StretchTo(small, {0, 0, 8, 8});
    for (int x = 0; x < 8; ++x)
        EXPECT_NEAR(int(small.Pixel(x, 4) & 0xFF), 128, 3) << x;
}

TEST(Bitmap32Test, ChangeNotificationWaitsForTheOutermostEndUpdate)
{
    TBitmap32 b(4, 4);
    int told = 0;
    const int id = b.AddChangeListener([&] { ++told; });
    b.FillRect(0, 0, 2, 2, kRed);
    b.SmoothLine(0, 0, 3, 3, kRed);
    b.Canvas().Rectangle(0, 0, 3, 3);
    b.TextOut(0, 0, "x");
    EXPECT_EQ(told, 4);

    told = 0;
    b.BeginUpdate();
    b.BeginUpdate();
    b.Clear(kRed);
    b.HorzLine(0, 0, 3, kBlue);
    b.EndUpdate();
    EXPECT_EQ(told, 0);
    b.EndUpdate();
    EXPECT_EQ(told, 1);
    b.EndUpdate();  // unbalanced: ignored
    EXPECT_EQ(b.UpdateCount(), 0);

    b.RemoveChangeListener(id);
    b.Clear(kRed);
    EXPECT_EQ(told, 1);

    // a listener may remove itself while being told
    int other = 0;
    int self = 0;
    self = b.AddChangeListener([&] { b.RemoveChangeListener(self); });
    b.AddChangeListener([&] { ++other; });
    b.Clear(kBlue);
    b.Clear(kRed);
    EXPECT_GE(other, 1);
}

// A size in points is an em, as the platform's point sizes are: 12 points
// at 96 dots per inch is an em of 16 pixels, in a cell of about 18.
TEST(Bitmap32Test, FontResolvesArialToLiberationSansAndSizesInPoints)
{
    TFont32 font;
    font.Name = "Arial";
    font.SetSize(12);
    EXPECT_EQ(font.Height, -16);
    EXPECT_EQ(font.Size(), 12);
    font.SetBold(true);
    const QFont q = ResolveFont(font);
    const QFontInfo info(q);
    EXPECT_EQ(info.family(), "Liberation Sans");
    EXPECT_EQ(info.pixelSize(), 16);
    EXPECT_TRUE(info.bold());
    const QFontMetrics m(q);
    TBitmap32 b(1, 1);
    b.Font = font;
    EXPECT_EQ(b.TextHeight("8"), m.ascent() + m.descent());
    EXPECT_GT(b.TextHeight("8"), 16);
}

// A positive height is the text's cell, ascent + descent: the em is the
// largest whose cell fits, so a line never takes more rows than asked for and
// arial's em is about 0.9 of them (not the whole height, which made every
// label a tenth too large).
TEST(Bitmap32Test, FontHeightIsTheCellOfTheText)
{
    for (const bool bold : {false, true})
        for (int height = 6; height <= 60; ++height) {
            TFont32 font;
            font.Height = height;
            font.SetBold(bold);
            const QFont q = ResolveFont(font);
            const QFontMetrics m(q);
            EXPECT_LE(m.ascent() + m.descent(), height) << height;
            QFont larger = q;
            larger.setPixelSize(q.pixelSize() + 1);
            EXPECT_GT(QFontMetrics(larger).ascent() + QFontMetrics(larger).descent(), height) << height;
            EXPECT_NEAR(q.pixelSize(), 0.895 * height, 1.0) << height;

            TBitmap32 b(1, 1);
            b.Font = font;
            EXPECT_EQ(b.TextExtent("Hg 42").cy, height) << height;
        }
}

// The glyphs of a line stay inside its cell, the capitals about 0.62 of it
// high: a 24-pixel reading has 15-pixel digits.
TEST(Bitmap32Test, TextStaysInsideItsCell)
{
    for (int height : {9, 13, 16, 24, 37, 48}) {
        TBitmap32 b(200, 80);
        b.Clear(clWhite32);
        b.Font.Height = height;
        b.Font.SetBold(true);
        b.TextOut(3, 5, "Hgjp");
        const TRect ink = Changed(b, clWhite32);
        EXPECT_GE(ink.Top, 5) << height;
        EXPECT_LE(ink.Bottom, 5 + height) << height;

        b.Clear(clWhite32);
        b.TextOut(3, 5, "8");
        EXPECT_NEAR(Changed(b, clWhite32).Height(), 0.62 * height, 1.0) << height;
    }
}

TEST(Bitmap32Test, TextOutDrawsInTheCellInTheFontColourWithoutBackground)
{
    TBitmap32 b(80, 30);
    b.Clear(clWhite32);
    b.Font.Height = 16;
    b.Font.Color = 0x000000FF;  // alpha of the text colour does not matter
    const auto size = b.TextExtent("Hg 42");
    EXPECT_GT(size.cx, 20);
    EXPECT_EQ(size.cy, 16);
    EXPECT_EQ(b.TextWidth("Hg 42"), size.cx);
    b.TextOut(5, 4, "Hg 42");
    const TRect ink = Changed(b, clWhite32);
    EXPECT_GE(ink.Left, 5);
    EXPECT_GE(ink.Top, 4);
    EXPECT_LE(ink.Right, 5 + size.cx + 1);
    EXPECT_LE(ink.Bottom, 4 + size.cy);
    int strokes = 0;  // pixels all but covered by a stroke in the font colour
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) {
            const TColor32 p = b.Pixel(x, y);
            ASSERT_EQ(AlphaOf(p), 255);
            ASSERT_EQ((p >> 16) & 0xFF, (p >> 8) & 0xFF);  // only blue on white
            ASSERT_EQ(p & 0xFF, 0xFFu);
            strokes += ((p >> 16) & 0xFF) < 0x40;
        }
    EXPECT_GT(strokes, 10);

    b.Clear(clWhite32);
    b.SetClipRect({0, 0, 12, 30});
    b.TextOut(5, 4, "Hg 42");
    EXPECT_LE(Changed(b, clWhite32).Right, 12);

    // the same pixels as the text drawn on its baseline, one ascent below the
    // top of the line, the line centred in the cell
    b.ResetClipRect();
    b.Clear(clWhite32);
    b.TextOut(5, 4, "Hg 42");
    QImage reference(80, 30, QImage::Format_ARGB32);
    reference.fill(Qt::white);
    {
        QPainter p(&reference);
        const QFont font = ResolveFont(b.Font);
        const QFontMetrics m(font);
        p.setFont(font);
        p.setPen(QColor(0, 0, 255));
        p.drawText(5, 4 + (16 - m.ascent() - m.descent()) / 2 + m.ascent(), "Hg 42");
    }
    EXPECT_EQ(b.Image(), reference);

    // a new height is a new font
    b.Clear(clWhite32);
    b.Font.Height = 28;
    b.TextOut(0, 0, "Hg 42");
    EXPECT_GT(Changed(b, clWhite32).Bottom, 4 + size.cy);
}

TEST(Bitmap32Test, EachFontMeasuresAndDrawsAsItselfWhenFontsAlternate)
{
    // More fonts than are kept prepared, in turn and then backwards, so that
    // every one is met fresh, kept and brought back.
    std::vector<TFont32> fonts;
    for (int height = 9; height <= 29; height += 4)
        for (const bool bold : {false, true}) {
            TFont32 f;
            f.Name = "arial";
            f.Height = height;
            f.SetBold(bold);
            fonts.push_back(f);
        }
    std::vector<TFont32> order = fonts;
    order.insert(order.end(), fonts.rbegin(), fonts.rend());
    order.insert(order.end(), {fonts[0], fonts[1], fonts[0], fonts[1]});

    TBitmap32 b(120, 40);
    for (const TFont32& f : order) {
        b.Font = f;
        const QFont q = ResolveFont(f);
        const QFontMetrics m(q);
        EXPECT_EQ(b.TextWidth("42 cm"), m.horizontalAdvance("42 cm")) << f.Height;
        EXPECT_EQ(b.TextExtent("42 cm").cy, f.Height) << f.Height;

        b.Clear(clWhite32);
        b.TextOut(2, 1, "42 cm");
        QImage reference(120, 40, QImage::Format_ARGB32);
        reference.fill(Qt::white);
        QPainter p(&reference);
        p.setFont(q);
        p.setPen(Qt::black);
        p.drawText(2, 1 + (f.Height - m.ascent() - m.descent()) / 2 + m.ascent(), "42 cm");
        p.end();
        EXPECT_EQ(b.Image(), reference) << f.Height;
    }
}

// Glyphs too large for Qt's glyph cache: the label is kept drawn and copied,
// and must look as Qt draws the label itself, however often it is drawn.
TEST(Bitmap32Test, LargeTextLooksAsQtDrawsIt)
{
    for (const int height : {80, 120}) {
        SCOPED_TRACE(height);
        TBitmap32 b(420, 160);
        b.Font.Height = height;
        b.Font.SetBold(true);
        b.Font.Color = 0xFF0000FF;
        ASSERT_GE(QFontInfo(ResolveFont(b.Font)).pixelSize(), 64) << "beyond Qt's glyph cache";
        b.Clear(0xFFFFFF80);
        b.TextOut(7, 5, "0.283 g");
        b.Clear(0xFFFFFF80);
        b.TextOut(7, 5, "0.283 g");  // the second time from the kept label
        QImage reference(420, 160, QImage::Format_ARGB32);
        reference.fill(QColor(0xFF, 0xFF, 0x80));
        {
            QPainter p(&reference);
            const QFont font = ResolveFont(b.Font);
            const QFontMetrics m(font);
            p.setFont(font);
            p.setPen(QColor(0, 0, 255));
            QStaticText label(QStringLiteral("0.283 g"));
            label.setTextFormat(Qt::PlainText);
            label.prepare(QTransform(), font);
            p.drawStaticText(7, 5 + (height - m.ascent() - m.descent()) / 2, label);
        }
        int worst = 0, inked = 0;
        for (int y = 0; y < reference.height(); ++y)
            for (int x = 0; x < reference.width(); ++x) {
                const QRgb ours = b.Image().pixel(x, y), theirs = reference.pixel(x, y);
                inked += theirs != reference.pixel(0, 0);
                worst = std::max({worst, std::abs(qRed(ours) - qRed(theirs)),
                                  std::abs(qGreen(ours) - qGreen(theirs)),
                                  std::abs(qBlue(ours) - qBlue(theirs))});
            }
        EXPECT_GT(inked, 1000);
        EXPECT_LE(worst, 2) << "the same coverage, blended once (premultiplied: a rounding apart)";
    }

    // The clip rectangle cuts a kept label as it cuts any text.
    TBitmap32 b(300, 120);
    b.Clear(clWhite32);
    b.Font.Height = 90;
    b.TextOut(10, 10, "88");
    b.Clear(clWhite32);
    b.SetClipRect({0, 0, 40, 120});
    b.TextOut(10, 10, "88");
    EXPECT_LE(Changed(b, clWhite32).Right, 40);
    EXPECT_GT(Changed(b, clWhite32).Right, 30);
}

TEST(Bitmap32Test, KeptLabelsBlendAsQtDrawsThemOverAnyPicture)
{
    // The blend of a premultiplied picture onto opaque pixels against Qt's own
    // drawImage, to the bit: every alpha, a spread of inks, rows long enough
    // for the vector path and its scalar tail.
    QImage src(203, 256, QImage::Format_ARGB32_Premultiplied), dst(203, 256, QImage::Format_ARGB32);
    for (int a = 0; a < 256; ++a)
        for (int i = 0; i < src.width(); ++i) {
            const auto ink = [&](int k) { return (i * k + a) % (a + 1); };  // premultiplied: at most a
            reinterpret_cast<QRgb*>(src.scanLine(a))[i] = qRgba(ink(7), ink(13), ink(29), a);
            reinterpret_cast<QRgb*>(dst.scanLine(a))[i] = qRgb((i * 5) % 256, (a * 3 + i) % 256, 255 - i);
        }
    QImage reference = dst.copy();
    {
        QPainter p(&reference);
        p.drawImage(0, 0, src);
    }
    for (int a = 0; a < 256; ++a) {
        auto* row = reinterpret_cast<TColor32*>(dst.scanLine(a));
        raster::BlendPremultipliedOverOpaque(row, reinterpret_cast<const TColor32*>(src.constScanLine(a)),
                                             dst.width());
        for (int i = 0; i < dst.width(); ++i)
            ASSERT_EQ(row[i], reinterpret_cast<const QRgb*>(reference.constScanLine(a))[i]) << a << ' ' << i;
    }

    // One pixel short of opaque anywhere in a row, in the vector part or the
    // tail, makes the row translucent.
    for (int n : {1, 4, 7, 16, 19})
        for (int at = 0; at < n; ++at)
            for (TColor32 almost : {0xFEFFFFFFu, 0x7FFFFFFFu, 0x00000000u}) {
                std::vector<TColor32> row(std::size_t(n), 0xFF102030u);
                EXPECT_TRUE(raster::AllOpaque(row.data(), n));
                row[std::size_t(at)] = almost;
                EXPECT_FALSE(raster::AllOpaque(row.data(), n)) << n << ' ' << at << ' ' << almost;
            }

    // The same through TextOut: a label over an opaque picture against the
    // same label drawn by Qt's painter, which takes over as soon as one pixel
    // under the label is translucent (here a row through the digits).
    TBitmap32 ours(300, 120), theirs(300, 120);
    for (TBitmap32* b : {&ours, &theirs}) {
        b->Font.Height = 90;
        b->Clear(0xFFE0F0FF);
    }
    theirs.HorzLine(0, 60, 299, 0xFEE0F0FF);
    ours.TextOut(10, 10, "42");
    theirs.TextOut(10, 10, "42");
    int inked = 0, differing = 0;
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 300; ++x)
            if (y != 60) {
                inked += ours.Pixel(x, y) != 0xFFE0F0FFu;
                differing += ours.Pixel(x, y) != theirs.Pixel(x, y);
            }
    EXPECT_GT(inked, 500);
    EXPECT_EQ(differing, 0);
}

TEST(Bitmap32Test, TextOutRectCentresOneLine)
{
    TBitmap32 b(100, 40);
    b.Clear(clWhite32);
    b.Font.Height = 14;
    b.TextOutRect({10, 0, 90, 40}, "Mm");
    const TRect ink = Changed(b, clWhite32);
    const auto size = b.TextExtent("Mm");
    EXPECT_NEAR((ink.Left + ink.Right) / 2.0, 50, 2);
    EXPECT_NEAR(ink.Left, 10 + (80 - size.cx) / 2, 2);
    EXPECT_GT(ink.Top, 40 / 2 - size.cy / 2 - 1);
    EXPECT_LT(ink.Bottom, 40 / 2 + size.cy / 2 + 1);
}

TEST(Bitmap32Test, CanvasShapesFitInsideTheirRectangle)
{
    for (bool withPen : {true, false}) {
        TBitmap32 b(20, 16);
        b.Clear(clWhite32);
        TCanvas& c = b.Canvas();
        c.pen.Style = withPen ? TCanvas::PenStyle::Solid : TCanvas::PenStyle::Clear;
        c.pen.Color = kBlue;
        c.brush.Color = kRed;
        c.Rectangle(2, 3, 9, 8);
        EXPECT_EQ(Changed(b, clWhite32), (TRect{2, 3, 9, 8})) << withPen;
        EXPECT_EQ(b.Pixel(2, 3), withPen ? kBlue : kRed);
        EXPECT_EQ(b.Pixel(8, 7), withPen ? kBlue : kRed);
        EXPECT_EQ(b.Pixel(5, 5), kRed);

        b.Clear(clWhite32);
        c.Ellipse(3, 2, 17, 14);
        EXPECT_EQ(Changed(b, clWhite32), (TRect{3, 2, 17, 14})) << withPen;
        EXPECT_EQ(b.Pixel(10, 8), kRed);

        b.Clear(clWhite32);
        c.RoundRect(1, 1, 19, 15, 6, 6);
        EXPECT_EQ(Changed(b, clWhite32), (TRect{1, 1, 19, 15})) << withPen;
        EXPECT_EQ(b.Pixel(1, 1), clWhite32);  // rounded corner
        EXPECT_EQ(b.Pixel(18, 14), clWhite32);
        EXPECT_EQ(b.Pixel(1, 8), withPen ? kBlue : kRed);
    }

    // a small ellipse stays round and symmetric
    TBitmap32 b(8, 8);
    b.Clear(clWhite32);
    b.Canvas().pen.Color = kBlue;
    b.Canvas().brush.Color = kRed;
    b.Canvas().Ellipse(2, 2, 7, 7);
    EXPECT_EQ(test::PixelMap(b, kBlue),
              "........\n"
              "........\n"
              "...###..\n"
              "..#...#.\n"
              "..#...#.\n"
              "..#...#.\n"
              "...###..\n"
              "........\n");
    EXPECT_EQ(test::PixelMap(b, kRed),
              "........\n"
              "........\n"
              "........\n"
              "...###..\n"
              "...###..\n"
              "...###..\n"
              "........\n"
              "........\n");
    // a wider pen takes more rings from the inside
    b.Clear(clWhite32);
    b.Canvas().pen.Width = 2;
    b.Canvas().Rectangle(0, 0, 8, 7);
    EXPECT_EQ(test::PixelMap(b, kRed),
              "........\n"
              "........\n"
              "..####..\n"
              "..####..\n"
              "..####..\n"
              "........\n"
              "........\n"
              "........\n");
}

TEST(Bitmap32Test, CanvasLinesLeaveOutTheEndPointAndXorUndoesItself)
{
    TBitmap32 b(10, 4);
    b.Clear(clWhite32);
    TCanvas& c = b.Canvas();
    c.pen.Color = clBlack32;
    c.MoveTo(1, 1);
    c.LineTo(6, 1);
    EXPECT_EQ(test::PixelMap(b, clBlack32), "..........\n.#####....\n..........\n..........\n");
    c.LineTo(6, 3);  // continues from the last end point
    EXPECT_EQ(b.Pixel(6, 1), clBlack32);
    EXPECT_EQ(b.Pixel(6, 2), clBlack32);
    EXPECT_EQ(b.Pixel(6, 3), clWhite32);

    b.Clear(0xFF123456);
    c.pen.Mode = TCanvas::PenMode::Xor;
    c.pen.Color = clWhite32;
    c.MoveTo(0, 2);
    c.LineTo(10, 2);
    EXPECT_EQ(b.Pixel(4, 2), 0xFFEDCBA9u);
    c.MoveTo(0, 2);
    c.LineTo(10, 2);
    EXPECT_EQ(Count(b, 0xFF123456), 40);
    c.brush.Color = 0xFF00FF00;
    c.Ellipse(1, 0, 9, 4);
    EXPECT_EQ(b.Pixel(5, 0), 0xFFEDCBA9u);  // the pen
    EXPECT_EQ(b.Pixel(5, 2), 0xFF12CB56u);  // the brush
    c.Ellipse(1, 0, 9, 4);
    EXPECT_EQ(Count(b, 0xFF123456), 40);
}

TEST(Bitmap32Test, CanvasHonoursThePolygonClipAndTheClipRect)
{
    TBitmap32 b(20, 20);
    b.Clear(clWhite32);
    TCanvas& c = b.Canvas();
    c.pen.Style = TCanvas::PenStyle::Clear;
    c.brush.Color = kRed;
    c.SetClipPolygon({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
    EXPECT_TRUE(c.HasClip());
    c.Rectangle(5, 5, 15, 15);
    EXPECT_EQ(Changed(b, clWhite32), (TRect{5, 5, 10, 10}));
    c.ClearClip();
    b.SetClipRect({0, 0, 12, 20});
    c.FillRect({5, 5, 15, 15});
    EXPECT_EQ(Changed(b, clWhite32), (TRect{5, 5, 12, 15}));
    b.ResetClipRect();
    c.Polygon({{0, 18}, {19, 18}, {19, 19}, {0, 19}});
    EXPECT_EQ(b.Pixel(10, 18), kRed);
}

// Shapes under a clip polygon, against the same shapes drawn unclipped and
// laid down through Qt's own clip of that polygon: inside it, outside it and
// across its slanted and straight edges, whole pixel for pixel.
TEST(Bitmap32Test, ShapesUnderAClipPolygonKeepExactlyThePixelsQtsClipKeeps)
{
    const std::vector<std::vector<TPoint>> polygons = {
        {{10, 30}, {30, 10}, {50, 30}, {50, 60}, {10, 60}},  // a funnel's pointed top
        {{5, 55}, {35, 3}, {62, 50}},
    };
    enum class Shape { Ellipse, Rectangle, RoundRect, Fill };
    for (const auto& polygon : polygons)
        for (const Shape shape : {Shape::Ellipse, Shape::Rectangle, Shape::RoundRect, Shape::Fill}) {
            TBitmap32 clipped(64, 64), loose(64, 64);
            clipped.Clear(clWhite32);
            loose.Clear(0);
            TCanvas& c = clipped.Canvas();
            c.SetClipPolygon(polygon);
            for (TCanvas* canvas : {&c, &loose.Canvas()}) {
                canvas->pen.Color = kRed;
                canvas->brush.Color = 0xFF0000FF;
                for (int y = -4; y < 64; y += 5)
                    for (int x = -4; x < 64; x += 3) {
                        switch (shape) {
                            case Shape::Ellipse:
                                canvas->Ellipse(x, y, x + 7, y + 6);
                                break;
                            case Shape::Rectangle:
                                canvas->Rectangle(x, y, x + 4, y + 5);
                                break;
                            case Shape::RoundRect:
                                canvas->RoundRect(x, y, x + 9, y + 7, 4, 4);
                                break;
                            case Shape::Fill:
                                canvas->FillRect({x, y, x + 2, y + 3});
                                break;
                        }
                    }
            }
            QImage expected(64, 64, QImage::Format_ARGB32);
            expected.fill(Qt::white);
            {
                QPainter p(&expected);
                QPolygonF outline;
                for (const TPoint& pt : polygon)
                    outline << QPointF(pt.X, pt.Y);
                QPainterPath path;
                path.setFillRule(Qt::WindingFill);
                path.addPolygon(outline);
                path.closeSubpath();
                p.setClipPath(path);
                p.drawImage(0, 0, loose.Image());
            }
            EXPECT_EQ(clipped.Image(), expected)
                << "shape " << int(shape) << ", polygon of " << polygon.size();
        }
}

TEST(Bitmap32Test, AssignAndFilesRoundTrip)
{
    QImage rgb(3, 2, QImage::Format_RGB888);
    rgb.fill(QColor(10, 20, 30));
    TBitmap32 b;
    b.Assign(rgb);
    EXPECT_EQ(b.Width(), 3);
    EXPECT_EQ(b.Pixel(2, 1), 0xFF0A141Eu);
    EXPECT_EQ(b.Image().format(), QImage::Format_ARGB32);
    EXPECT_FALSE(b.LoadFromFile("/nonexistent/picture.png"));
    EXPECT_EQ(b.Width(), 3);
}

}  // namespace
}  // namespace brv
