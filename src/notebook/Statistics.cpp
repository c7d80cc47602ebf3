#include "notebook/Statistics.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <set>

namespace brv::stats {

namespace {

bool AllFinite(std::span<const TPoint> points)
{
    return std::all_of(points.begin(), points.end(),
                       [](const TPoint& p) { return std::isfinite(p.x) && std::isfinite(p.y); });
}

std::size_t DistinctXCount(std::span<const TPoint> points)
{
    std::set<double> xs;
    for (const TPoint& p : points)
        xs.insert(p.x);
    return xs.size();
}

// Relative to the size of the numbers, so that a table in millimetres and one
// in kilometres are judged alike.
bool Negligible(double value, double scale)
{
    return !(std::abs(value) > 1e-12 * std::max(scale, 1e-300));
}

// Solves the 3 × 3 system a·c = b in place; false when it is singular.
bool SolveThreeByThree(std::array<std::array<double, 3>, 3>& a, std::array<double, 3>& b,
                       std::array<double, 3>& c)
{
    double largest = 0;
    for (const auto& row : a)
        for (double v : row)
            largest = std::max(largest, std::abs(v));
    for (int col = 0; col < 3; ++col) {
        int pivot = col;
        for (int r = col + 1; r < 3; ++r)
            if (std::abs(a[r][col]) > std::abs(a[pivot][col]))
                pivot = r;
        if (Negligible(a[pivot][col], largest))
            return false;
        std::swap(a[col], a[pivot]);
        std::swap(b[col], b[pivot]);
        for (int r = col + 1; r < 3; ++r) {
            const double f = a[r][col] / a[col][col];
            for (int k = col; k < 3; ++k)
                a[r][k] -= f * a[col][k];
            b[r] -= f * b[col];
        }
    }
    for (int r = 2; r >= 0; --r) {
        double sum = b[r];
        for (int k = r + 1; k < 3; ++k)
            sum -= a[r][k] * c[k];
        c[r] = sum / a[r][r];
    }
    return std::isfinite(c[0]) && std::isfinite(c[1]) && std::isfinite(c[2]);
}

}  // namespace

TRowSummary SummariseRepeats(std::span<const TRepeat> repeats)
{
    TRowSummary s;
    double sum = 0;
    double low = 0;
    double high = 0;
    for (const TRepeat& r : repeats) {
        if (!r.value || r.anomaly || !std::isfinite(*r.value))
            continue;
        const double v = *r.value;
        low = s.used == 0 ? v : std::min(low, v);
        high = s.used == 0 ? v : std::max(high, v);
        sum += v;
        ++s.used;
    }
    if (s.used == 0)
        return s;
    s.mean = sum / s.used;
    s.range = high - low;
    s.uncertainty = (high - low) / 2;
    return s;
}

TLineFit FitStraightLine(std::span<const TPoint> points)
{
    TLineFit fit;
    if (points.size() < 2 || !AllFinite(points) || DistinctXCount(points) < 2)
        return fit;
    const double n = double(points.size());
    double sx = 0;
    double sy = 0;
    for (const TPoint& p : points) {
        sx += p.x;
        sy += p.y;
    }
    const double mx = sx / n;
    const double my = sy / n;
    double sxx = 0;
    double sxy = 0;
    double scale = 0;
    for (const TPoint& p : points) {
        sxx += (p.x - mx) * (p.x - mx);
        sxy += (p.x - mx) * (p.y - my);
        scale = std::max(scale, p.x * p.x);
    }
    if (Negligible(sxx, scale))
        return fit;
    fit.gradient = sxy / sxx;
    fit.intercept = my - fit.gradient * mx;
    if (std::isfinite(fit.gradient) && std::isfinite(fit.intercept))
        fit.state = TFitState::Ok;
    return fit;
}

TLineFit FitThroughOrigin(std::span<const TPoint> points)
{
    TLineFit fit;
    if (points.size() < 2 || !AllFinite(points))
        return fit;
    double sxx = 0;
    double sxy = 0;
    for (const TPoint& p : points) {
        sxx += p.x * p.x;
        sxy += p.x * p.y;
    }
    if (!(sxx > 0))
        return fit;
    fit.gradient = sxy / sxx;
    if (std::isfinite(fit.gradient))
        fit.state = TFitState::Ok;
    return fit;
}

double TCurveFit::At(double x) const
{
    const double t = (x - centre) / spread;
    return c0 + c1 * t + c2 * t * t;
}

TCurveFit FitSmoothCurve(std::span<const TPoint> points)
{
    TCurveFit fit;
    if (points.size() < 3 || !AllFinite(points) || DistinctXCount(points) < 3)
        return fit;
    double sx = 0;
    for (const TPoint& p : points)
        sx += p.x;
    fit.centre = sx / double(points.size());
    double spread = 0;
    for (const TPoint& p : points)
        spread = std::max(spread, std::abs(p.x - fit.centre));
    if (!(spread > 0))
        return fit;
    fit.spread = spread;
    std::array<double, 5> st{};  // Σt^k, k = 0…4
    std::array<double, 3> b{};   // Σt^k y, k = 0…2
    for (const TPoint& p : points) {
        const double t = (p.x - fit.centre) / spread;
        double tk = 1;
        for (int k = 0; k < 5; ++k) {
            st[k] += tk;
            if (k < 3)
                b[k] += tk * p.y;
            tk *= t;
        }
    }
    std::array<std::array<double, 3>, 3> a{
        {{st[0], st[1], st[2]}, {st[1], st[2], st[3]}, {st[2], st[3], st[4]}}};
    std::array<double, 3> c{};
    if (!SolveThreeByThree(a, b, c))
        return fit;
    fit.c0 = c[0];
    fit.c1 = c[1];
    fit.c2 = c[2];
    fit.state = TFitState::Ok;
    return fit;
}

}  // namespace brv::stats
