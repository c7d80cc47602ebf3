#include "apparatus/Shapes.h"

#include <cmath>
#include <numbers>

namespace brv {

void AddCircle(TPolygon32& polygon, float cx, float cy, float radius, int n)
{
    constexpr float twoPi = 2.0f * std::numbers::pi_v<float>;
    for (int k = 0; k < n; ++k) {
        const float a = twoPi * float(k) / float(n);
        polygon.AddPoint(FixedPoint(cx + radius * std::cos(a), cy + radius * std::sin(a)));
    }
}

void DrawDisc(TBitmap32& b, float cx, float cy, float radius, TColor32 fill, TColor32 outline, int points)
{
    TPolygon32 disc;
    AddCircle(disc, cx, cy, radius, points);
    if (AlphaOf(fill) != 0)
        disc.DrawFill(b, fill);
    disc.Antialiased = true;
    if (AlphaOf(outline) != 0)
        disc.DrawOutline(b, outline);
}

void DrawDiscIn(TBitmap32& b, const TFloatRect& location, TColor32 fill, TColor32 outline, int points)
{
    const float radius = (location.Right - location.Left) / 2;
    DrawDisc(b, (location.Left + location.Right) / 2, (location.Top + location.Bottom) / 2, radius, fill,
             outline, points);
}

void FillAndOutline(TPolygon32& shape, TBitmap32& b, TColor32 fill)
{
    shape.Antialiased = false;
    shape.DrawFill(b, fill);
    shape.Antialiased = true;
    shape.DrawOutline(b, clBlack32);
}

}  // namespace brv
