#include "apparatus/ApparatusSheet.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

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

TEST(ApparatusSheet, EmptyBitmapIsLeftAlone)
{
    TBitmap32 b;
    DrawApparatusSheet(b, 3);
    EXPECT_TRUE(b.Empty());
}

}  // namespace
}  // namespace brv
