#include "runtime/raster/Lines.h"

#include "runtime/AddMaths.h"
#include "runtime/raster/Blend.h"

#include <cmath>
#include <cstdlib>
#include <utility>

namespace brv::raster {
namespace {

// Liang–Barsky: shortens the segment to the box; false when nothing is left.
// Lines are cut a little outside the clip rectangle so that the cut ends,
// whose pixels a line draws differently, never show.
bool CutToBox(double& x0, double& y0, double& x1, double& y1, double left, double top, double right,
              double bottom)
{
    double t0 = 0, t1 = 1;
    const double dx = x1 - x0, dy = y1 - y0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x0 - left, right - x0, y0 - top, bottom - y0};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
    }
    if (t0 > t1)
        return false;
    const double ox = x0, oy = y0;
    x0 = ox + t0 * dx;
    y0 = oy + t0 * dy;
    x1 = ox + t1 * dx;
    y1 = oy + t1 * dy;
    return true;
}

bool CutToClip(const TBitmap32& bitmap, double& x0, double& y0, double& x1, double& y1)
{
    constexpr double margin = 2;
    ClearWideRegisters();
    const TRect c = bitmap.ClipRect();
    if (c.IsEmpty())
        return false;
    if (!std::isfinite(x0) || !std::isfinite(y0) || !std::isfinite(x1) || !std::isfinite(y1))
        return false;
    return CutToBox(x0, y0, x1, y1, c.Left - margin, c.Top - margin, c.Right - 1 + margin,
                    c.Bottom - 1 + margin);
}

class Plotter {
public:
    Plotter(TBitmap32& bitmap, TColor32 color, bool swapXY)
        : bits_(bitmap.Bits()),
          stride_(std::size_t(bitmap.Width())),
          clip_(bitmap.ClipRect()),
          color_(color),
          swap_(swapXY)
    {
    }

    // coverage in 0..1
    void Plot(int x, int y, double coverage)
    {
        if (swap_)
            std::swap(x, y);
        if (x < clip_.Left || x >= clip_.Right || y < clip_.Top || y >= clip_.Bottom)
            return;
        unsigned alpha = CoveredAlpha(color_, unsigned(coverage * 255 + 0.5));
        TColor32& p = bits_[std::size_t(y) * stride_ + std::size_t(x)];
        p = BlendColor(color_, p, alpha);
    }

private:
    TColor32* bits_;
    std::size_t stride_;
    TRect clip_;
    TColor32 color_;
    bool swap_;
};

double Frac(double v)
{
    return v - std::floor(v);
}

}  // namespace

void SmoothLine(TBitmap32& bitmap, double x0, double y0, double x1, double y1, TColor32 color)
{
    if (AlphaOf(color) == 0 || !CutToClip(bitmap, x0, y0, x1, y1))
        return;
    const bool steep = std::abs(y1 - y0) > std::abs(x1 - x0);
    if (steep) {
        std::swap(x0, y0);
        std::swap(x1, y1);
    }
    if (x0 > x1) {
        std::swap(x0, x1);
        std::swap(y0, y1);
    }
    Plotter plot(bitmap, color, steep);
    const double dx = x1 - x0;
    const double gradient = dx == 0 ? 0 : (y1 - y0) / dx;

    // first end
    double xEnd = std::floor(x0 + 0.5);
    double yEnd = y0 + gradient * (xEnd - x0);
    double gap = 1 - Frac(x0 + 0.5);
    const int xFirst = int(xEnd);
    plot.Plot(xFirst, int(std::floor(yEnd)), (1 - Frac(yEnd)) * gap);
    plot.Plot(xFirst, int(std::floor(yEnd)) + 1, Frac(yEnd) * gap);
    double y = yEnd + gradient;

    // last end
    xEnd = std::floor(x1 + 0.5);
    yEnd = y1 + gradient * (xEnd - x1);
    gap = Frac(x1 + 0.5);
    const int xLast = int(xEnd);
    plot.Plot(xLast, int(std::floor(yEnd)), (1 - Frac(yEnd)) * gap);
    plot.Plot(xLast, int(std::floor(yEnd)) + 1, Frac(yEnd) * gap);

    for (int x = xFirst + 1; x < xLast; ++x, y += gradient) {
        const int yi = int(std::floor(y));
        const double f = y - yi;
        plot.Plot(x, yi, 1 - f);
        plot.Plot(x, yi + 1, f);
    }
}

void PlainLine(TBitmap32& bitmap, double x0, double y0, double x1, double y1, TColor32 color, bool drawLast)
{
    if (AlphaOf(color) == 0)
        return;
    const double ox1 = x1, oy1 = y1;
    if (!CutToClip(bitmap, x0, y0, x1, y1))
        return;
    if (x1 != ox1 || y1 != oy1)
        drawLast = true;  // the true end lies beyond the clip rectangle
    int ax = Round(x0), ay = Round(y0);
    const int bx = Round(x1), by = Round(y1);
    Plotter plot(bitmap, color, false);
    const int dx = std::abs(bx - ax), dy = -std::abs(by - ay);
    const int sx = ax < bx ? 1 : -1, sy = ay < by ? 1 : -1;
    int err = dx + dy;
    while (ax != bx || ay != by) {
        plot.Plot(ax, ay, 1);
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            ax += sx;
        }
        if (e2 <= dx) {
            err += dx;
            ay += sy;
        }
    }
    if (drawLast)
        plot.Plot(bx, by, 1);
}

}  // namespace brv::raster
