// Pixel checks of text drawn by the apparatus routines: the text is drawn
// again, alone, on a plain background and its cell compared pixel by pixel.
#pragma once

#include "runtime/Bitmap32.h"

#include <gtest/gtest.h>

#include <QString>

namespace brv::test {

// Whether picture shows text in font with the top-left of its cell at (x, y)
// over background.  Rows of the cell above y + skipTopRows are not compared
// (for a cell that starts on a line drawn by something else).
inline ::testing::AssertionResult TextDrawnAt(const TBitmap32& picture, const TFont32& font, int x, int y,
                                              const QString& text, TColor32 background, int skipTopRows = 0)
{
    TBitmap32 expected(picture.Width(), picture.Height());
    expected.Clear(background);
    expected.Font = font;
    expected.TextOut(x, y, text);
    const TBitmap32::TSize cell = expected.TextExtent(text);

    int inked = 0;
    for (int py = y + skipTopRows; py < y + cell.cy; ++py)
        for (int px = x; px < x + cell.cx; ++px) {
            if (expected.Pixel(px, py) != background)
                ++inked;
            if ((picture.Pixel(px, py) & 0xFFFFFF) != (expected.Pixel(px, py) & 0xFFFFFF))
                return ::testing::AssertionFailure()
                       << '"' << text.toStdString() << "\" at (" << x << ", " << y << ") differs at (" << px
                       << ", " << py << "): " << std::hex << picture.Pixel(px, py) << " instead of "
                       << expected.Pixel(px, py);
        }
    if (inked == 0)
        return ::testing::AssertionFailure() << '"' << text.toStdString() << "\" leaves no ink";
    return ::testing::AssertionSuccess();
}

inline bool IsDark(TColor32 c)
{
    const int r = (c >> 16) & 0xFF, g = (c >> 8) & 0xFF, b = c & 0xFF;
    return r + g + b < 3 * 0x60;
}

}  // namespace brv::test
