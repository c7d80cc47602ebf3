// The arithmetic of a results table against values worked out independently
// (by hand, or with exact fractions for the curve).
#include "notebook/Statistics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace brv::stats {
namespace {

struct TRowCase {
    const char* name;
    std::vector<TRepeat> repeats;
    int used;
    std::optional<double> mean, range;
};

class RowSummaryTest : public ::testing::TestWithParam<TRowCase> {};

TEST_P(RowSummaryTest, MeanRangeAndHalfRange)
{
    const TRowCase& c = GetParam();
    const TRowSummary s = SummariseRepeats(c.repeats);
    EXPECT_EQ(s.used, c.used);
    ASSERT_EQ(s.mean.has_value(), c.mean.has_value());
    if (c.mean) {
        EXPECT_NEAR(*s.mean, *c.mean, 1e-12);
        EXPECT_NEAR(*s.range, *c.range, 1e-12);
        EXPECT_NEAR(*s.uncertainty, *c.range / 2, 1e-12);
    } else {
        EXPECT_FALSE(s.range);
        EXPECT_FALSE(s.uncertainty);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Repeats, RowSummaryTest,
    ::testing::Values(TRowCase{"three", {{29.4}, {30.2}, {28.9}}, 3, 88.5 / 3, 1.3},
                      // The anomaly is left out of the mean and of the range.
                      TRowCase{"anomaly", {{29.4}, {41.0, true}, {28.9}}, 2, 29.15, 0.5},
                      TRowCase{"blank", {{29.4}, {}, {28.9}}, 2, 29.15, 0.5},
                      TRowCase{"one", {{}, {12.0}, {}}, 1, 12.0, 0.0},
                      TRowCase{"none", {{}, {}, {}}, 0, std::nullopt, std::nullopt},
                      TRowCase{"allAnomalies", {{1.0, true}, {2.0, true}}, 0, std::nullopt, std::nullopt},
                      TRowCase{"negative", {{-2.0}, {3.0}}, 2, 0.5, 5.0},
                      // An anomaly mark on a blank changes nothing.
                      TRowCase{"blankAnomaly", {{std::nullopt, true}, {4.0}}, 1, 4.0, 0.0}),
    [](const auto& info) { return std::string(info.param.name); });

const std::vector<TPoint> kLinear{{1, 2.1}, {2, 3.9}, {3, 6.2}, {4, 7.8}, {5, 10.1}};

TEST(FitTest, StraightLineMatchesTheLeastSquaresWorkedByHand)
{
    const TLineFit fit = FitStraightLine(kLinear);
    ASSERT_TRUE(fit.Ok());
    EXPECT_NEAR(fit.gradient, 1.99, 1e-12);
    EXPECT_NEAR(fit.intercept, 0.05, 1e-12);
    EXPECT_NEAR(fit.At(10), 19.95, 1e-12);
}

TEST(FitTest, ThroughTheOriginUsesSumXyOverSumXSquared)
{
    const TLineFit fit = FitThroughOrigin(kLinear);
    ASSERT_TRUE(fit.Ok());
    EXPECT_NEAR(fit.gradient, 110.2 / 55, 1e-12);
    EXPECT_EQ(fit.intercept, 0);
}

TEST(FitTest, SmoothCurveRecoversAnExactQuadratic)
{
    // y = 1 + 2x − x²/2
    const TCurveFit fit = FitSmoothCurve(std::vector<TPoint>{{0, 1}, {1, 2.5}, {2, 3}, {3, 2.5}, {4, 1}});
    ASSERT_TRUE(fit.Ok());
    for (double x : {-1.0, 0.5, 2.0, 3.7, 6.0})
        EXPECT_NEAR(fit.At(x), 1 + 2 * x - x * x / 2, 1e-9) << x;
}

TEST(FitTest, SmoothCurveIsTheLeastSquaresQuadraticOfScatteredData)
{
    // Worked with exact fractions from the raw normal equations:
    // y = −3.85 + 0.97589… x − 0.0124107… x²
    const std::vector<TPoint> optimum{{10, 5.2}, {20, 9.8}, {30, 14.1}, {40, 15.9}, {50, 14.2}, {60, 9.7}};
    const TCurveFit fit = FitSmoothCurve(optimum);
    ASSERT_TRUE(fit.Ok());
    EXPECT_NEAR(fit.At(0), -3.85, 1e-9);
    EXPECT_NEAR(fit.At(35), 15.103125, 1e-9);
    // Large x values (a time bar in seconds) keep their precision.
    std::vector<TPoint> shifted;
    for (const TPoint& p : optimum)
        shifted.push_back({p.x + 1e6, p.y});
    const TCurveFit far = FitSmoothCurve(shifted);
    ASSERT_TRUE(far.Ok());
    EXPECT_NEAR(far.At(35 + 1e6), 15.103125, 1e-6);
}

struct TDegenerateCase {
    const char* name;
    std::vector<TPoint> points;
    bool line, origin, curve;
};

class DegenerateFitTest : public ::testing::TestWithParam<TDegenerateCase> {};

TEST_P(DegenerateFitTest, TooLittleDataIsNotEnoughDataNeverNaN)
{
    const TDegenerateCase& c = GetParam();
    const TLineFit line = FitStraightLine(c.points);
    const TLineFit origin = FitThroughOrigin(c.points);
    const TCurveFit curve = FitSmoothCurve(c.points);
    EXPECT_EQ(line.Ok(), c.line);
    EXPECT_EQ(origin.Ok(), c.origin);
    EXPECT_EQ(curve.Ok(), c.curve);
    for (double v :
         {line.gradient, line.intercept, origin.gradient, curve.c0, curve.c1, curve.c2, curve.At(1)})
        EXPECT_TRUE(std::isfinite(v));
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Data, DegenerateFitTest,
    ::testing::Values(TDegenerateCase{"none", {}, false, false, false},
                      TDegenerateCase{"onePoint", {{2, 3}}, false, false, false},
                      TDegenerateCase{"allXEqual", {{2, 3}, {2, 4}, {2, 5}}, false, true, false},
                      TDegenerateCase{"allAtZero", {{0, 3}, {0, 4}}, false, false, false},
                      TDegenerateCase{"twoX", {{1, 3}, {2, 4}, {2, 5}}, true, true, false},
                      TDegenerateCase{"threeX", {{1, 3}, {2, 4}, {3, 5}}, true, true, true},
                      TDegenerateCase{"notANumber", {{1, 3}, {kNaN, 4}, {3, 5}}, false, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace brv::stats
