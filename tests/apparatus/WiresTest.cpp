// Circuit wires on real pixels.
#include "apparatus/Wires.h"

#include <gtest/gtest.h>

#include <string>

namespace brv {
namespace {

std::string Rows(const TBitmap32& b)
{
    std::string map;
    for (int y = 0; y < b.Height(); ++y) {
        for (int x = 0; x < b.Width(); ++x)
            map += b.Pixel(x, y) == clBlack32 ? '#' : '.';
        map += '\n';
    }
    return map;
}

TEST(Wires, RunsAreTwoPixelsWideDoubledAboveAndToTheLeft)
{
    TBitmap32 b(10, 8);
    b.Clear(clWhite32);
    DrawWire(b, {{2, 1}, {7, 1}, {7, 6}, {3, 6}}, clBlack32);
    EXPECT_EQ(Rows(b),
              "..######..\n"
              "..######..\n"
              "......##..\n"
              "......##..\n"
              "......##..\n"
              "...#####..\n"
              "...#####..\n"
              "..........\n");
}

TEST(Wires, ASlantingRunGoesAcrossThenDown)
{
    TBitmap32 b(6, 6);
    b.Clear(clWhite32);
    DrawWire(b, {{1, 2}, {4, 5}}, clBlack32);
    EXPECT_EQ(Rows(b),
              "......\n"
              ".####.\n"
              ".####.\n"
              "...##.\n"
              "...##.\n"
              "...##.\n");
}

}  // namespace
}  // namespace brv
