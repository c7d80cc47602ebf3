// Pixel readers shared by the drawing tests.
#pragma once

#include "runtime/Bitmap32.h"

#include <QImage>

#include <string>

namespace brv::test {

// The pixels of b equal to c as text, one line per row: '#' where the pixel
// is c, '.' elsewhere.  For small bitmaps, so a failure shows the picture.
inline std::string PixelMap(const TBitmap32& b, TColor32 c)
{
    std::string rows;
    for (int y = 0; y < b.Height(); ++y) {
        for (int x = 0; x < b.Width(); ++x)
            rows += b.Pixel(x, y) == c ? '#' : '.';
        rows += '\n';
    }
    return rows;
}

// Length of the run of opaque black pixels on row y ending at column xr and
// reaching left: the length of a scale's tick there, 0 when there is none.
inline int TickLengthAt(const QImage& image, int xr, int y)
{
    int n = 0;
    while (n < 200 && image.pixel(xr - n, y) == 0xFF000000u)
        ++n;
    return n;
}

}  // namespace brv::test
