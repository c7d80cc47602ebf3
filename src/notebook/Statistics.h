// The arithmetic of a results table, in plain C++ so that it is tested on its
// numbers without a window.
//
// Repeats of one row: the blanks and the repeats marked as anomalies are left
// out; of the n values that remain
//     mean            m = (y1 + … + yn) / n
//     range           R = max yi − min yi
//     uncertainty     ± R / 2   (half the range, as the lesson book teaches)
// A row with no value left has no mean (not zero, not NaN).
//
// Straight line of best fit (least squares) through the points (xi, yi):
//     x̄ = Σxi / N,  ȳ = Σyi / N,  Sxx = Σ(xi − x̄)²,  Sxy = Σ(xi − x̄)(yi − ȳ)
//     gradient        b = Sxy / Sxx
//     intercept       a = ȳ − b x̄
// It needs two points with different x (Sxx > 0).
//
// Through the origin (y = b x), least squares:
//     b = Σxi yi / Σxi²
// It needs two points, one of them with x ≠ 0.
//
// Smooth curve: the quadratic y = c0 + c1 t + c2 t² of least squares in the
// centred and scaled t = (x − x̄) / s, s = max |xi − x̄|, from the normal
// equations
//     | N    Σt   Σt²  | |c0|   | Σy   |
//     | Σt   Σt²  Σt³  | |c1| = | Σty  |
//     | Σt²  Σt³  Σt⁴  | |c2|   | Σt²y |
// solved by Gaussian elimination with partial pivoting.  A quadratic bends
// once, as every curve of the lesson book does (a rate that levels off, an
// optimum temperature), and never swings between points the way an
// interpolating spline can with scattered readings.  It needs three
// different x.
//
// Whatever the data, nothing here returns NaN or infinity: too little data is
// the state NotEnoughData.
#pragma once

#include <optional>
#include <span>
#include <vector>

namespace brv::stats {

struct TRepeat {
    std::optional<double> value;
    bool anomaly = false;
};

struct TRowSummary {
    int used = 0;  // repeats in the mean
    std::optional<double> mean;
    std::optional<double> range;
    std::optional<double> uncertainty;  // ± half the range
};

TRowSummary SummariseRepeats(std::span<const TRepeat> repeats);

struct TPoint {
    double x = 0;
    double y = 0;
};

enum class TFitState { Ok, NotEnoughData };

struct TLineFit {
    TFitState state = TFitState::NotEnoughData;
    double gradient = 0;
    double intercept = 0;
    bool Ok() const { return state == TFitState::Ok; }
    double At(double x) const { return intercept + gradient * x; }
};

TLineFit FitStraightLine(std::span<const TPoint> points);
TLineFit FitThroughOrigin(std::span<const TPoint> points);

struct TCurveFit {
    TFitState state = TFitState::NotEnoughData;
    double centre = 0;  // x̄
    double spread = 1;  // s
    double c0 = 0, c1 = 0, c2 = 0;
    bool Ok() const { return state == TFitState::Ok; }
    double At(double x) const;
};

TCurveFit FitSmoothCurve(std::span<const TPoint> points);

}  // namespace brv::stats
