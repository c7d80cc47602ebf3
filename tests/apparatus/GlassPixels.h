// Pixel comparisons shared by the glassware tests.
#pragma once

#include "runtime/Bitmap32.h"

#include <gtest/gtest.h>

#include <QString>

#include <vector>

namespace brv::test {

// Colour without its alpha byte (backgrounds are shown without regard to it).
constexpr TColor32 Rgb(TColor32 c)
{
    return c & 0xFFFFFF;
}

// The pixels whose colour differs between two pictures of the same size.
inline std::vector<TPoint> ChangedPixels(const TBitmap32& a, const TBitmap32& b)
{
    std::vector<TPoint> changed;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (Rgb(a.Pixel(x, y)) != Rgb(b.Pixel(x, y)))
                changed.push_back({x, y});
    return changed;
}

// Whether any pixel of the 3 × 3 block about (x, y) differs from background:
// an antialiased stroke passing within a pixel of the point leaves some ink.
inline bool InkNear(const TBitmap32& picture, int x, int y, TColor32 background)
{
    for (int py = y - 1; py <= y + 1; ++py)
        for (int px = x - 1; px <= x + 1; ++px)
            if (Rgb(picture.Pixel(px, py)) != Rgb(background))
                return true;
    return false;
}

// Whether every inked pixel of text, drawn in font with the top-left of its
// cell at (x, y) over background, appears in picture.  Only the glyphs are
// compared, so the cell may overlap a lens's rim or a neighbouring line;
// columns left of fromX (a line drawn over the text) are not compared.
inline ::testing::AssertionResult GlyphsDrawnAt(const TBitmap32& picture, const TFont32& font, int x, int y,
                                                const QString& text, TColor32 background, int fromX = 0)
{
    TBitmap32 expected(picture.Width(), picture.Height());
    expected.Clear(background);
    expected.Font = font;
    expected.TextOut(x, y, text);
    int inked = 0;
    for (int py = 0; py < expected.Height(); ++py)
        for (int px = fromX; px < expected.Width(); ++px) {
            if (Rgb(expected.Pixel(px, py)) == Rgb(background))
                continue;
            ++inked;
            if (Rgb(picture.Pixel(px, py)) != Rgb(expected.Pixel(px, py)))
                return ::testing::AssertionFailure()
                       << '"' << text.toStdString() << "\" differs at (" << px << ", " << py << ")";
        }
    if (inked == 0)
        return ::testing::AssertionFailure() << '"' << text.toStdString() << "\" leaves no ink";
    return ::testing::AssertionSuccess();
}

// The text's right edge at `right`, centred vertically on y, as the scales
// place their labels.
inline TPoint RightCentredCell(const TFont32& font, int right, int y, const QString& text)
{
    TBitmap32 probe(1, 1);
    probe.Font = font;
    TBitmap32::TSize cell = probe.TextExtent(text);
    return {right - cell.cx, y - cell.cy / 2};
}

}  // namespace brv::test
