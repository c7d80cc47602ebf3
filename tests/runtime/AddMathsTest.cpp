#include "runtime/AddMaths.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <numbers>
#include <vector>

namespace brv {
namespace {

// The generator is program-wide: every test starts it from a known state and
// puts it back to 0 afterwards.
class AddMathsTest : public ::testing::Test {
protected:
    void SetUp() override { SetRandomState(0); }
    void TearDown() override { SetRandomState(0); }
};

// The states the rule gives from 0, worked out here with 64-bit arithmetic.
std::vector<std::uint64_t> StatesFromZero(int count)
{
    std::vector<std::uint64_t> states;
    std::uint64_t s = 0;
    for (int i = 0; i < count; ++i) {
        s = (s * 134775813ull + 1ull) % 4294967296ull;
        states.push_back(s);
    }
    return states;
}

TEST_F(AddMathsTest, TheSequenceFromStartIsFixed)
{
    const auto states = StatesFromZero(6);
    EXPECT_EQ(states[0], 1u);
    EXPECT_EQ(states[1], 0x08088406u);
    EXPECT_DOUBLE_EQ(RandomFloat(), 1 / 4294967296.0);
    EXPECT_DOUBLE_EQ(RandomFloat(), double(states[1]) / 4294967296.0);
    EXPECT_EQ(RandomInt(1000), int((states[2] * 1000) >> 32));
    EXPECT_EQ(RandomInt(7), int((states[3] * 7) >> 32));
    EXPECT_EQ(RandomState(), states[3]);
    // an empty range gives 0 and still draws
    EXPECT_EQ(RandomInt(0), 0);
    EXPECT_EQ(RandomInt(-5), 0);
    EXPECT_EQ(RandomState(), states[5]);
}

TEST_F(AddMathsTest, UniformDrawsStayInTheirRange)
{
    SetRandomState(0xFFFFFFFFu);
    for (int i = 0; i < 20000; ++i) {
        const double f = RandomFloat();
        ASSERT_GE(f, 0.0);
        ASSERT_LT(f, 1.0);
        const int n = RandomInt(INT_MAX);
        ASSERT_GE(n, 0);
        ASSERT_LT(n, INT_MAX);
        ASSERT_EQ(RandomInt(1), 0);
        const int d = RandomInt(6);
        ASSERT_GE(d, 0);
        ASSERT_LT(d, 6);
    }
}

TEST_F(AddMathsTest, RandGaussHasTheMeanAndSpreadAskedFor)
{
    constexpr int n = 200000;
    double sum = 0, squares = 0;
    for (int i = 0; i < n; ++i) {
        const double g = RandGauss(50, 10);
        ASSERT_TRUE(std::isfinite(g));
        sum += g;
        squares += g * g;
    }
    const double mean = sum / n;
    const double sd = std::sqrt(squares / n - mean * mean);
    EXPECT_NEAR(mean, 50, 0.1);
    EXPECT_NEAR(sd, 10, 0.1);
}

TEST_F(AddMathsTest, RandGaussUsesTwoDrawsPerAttemptAndOnlyTheFirst)
{
    // The polar method worked out here from the states: pairs of draws until
    // s < 1, the result from the first of the accepted pair.
    const auto states = StatesFromZero(40);
    std::size_t k = 0;
    float u = 0, s = 0;
    do {
        u = float(2 * (double(states[k]) / 4294967296.0) - 1);
        const double v = 2 * (double(states[k + 1]) / 4294967296.0) - 1;
        s = float(double(u) * u + v * v);
        k += 2;
    } while (s >= 1 || s == 0);
    const float expected = float(u * std::sqrt(-2 * std::log(double(s)) / s) * 3 + 7);
    EXPECT_FLOAT_EQ(RandGauss(7, 3), expected);
    EXPECT_EQ(RandomState(), states[k - 1]);
}

TEST_F(AddMathsTest, RandGaussAtTheCentreGivesTheMean)
{
    // The state before 0x80000000 makes the first uniform exactly ½ (u = 0)
    // and the second a hair above it: s is tiny but the result is the mean,
    // not a non-number.
    std::uint32_t inverse = 1;  // of the multiplier, mod 2^32 (Newton's method)
    for (int i = 0; i < 5; ++i)
        inverse *= 2u - 0x08088405u * inverse;
    ASSERT_EQ(inverse * 0x08088405u, 1u);
    SetRandomState((0x80000000u - 1u) * inverse);
    EXPECT_EQ(RandGauss(50, 10), 50.0f);
}

TEST(AddMathsFunctionsTest, TrigonometryInSinglePrecision)
{
    const TXY p = PolarToXY(float(std::numbers::pi / 6), 2);
    EXPECT_NEAR(p.a, 1.0f, 1e-6);
    EXPECT_NEAR(p.b, std::sqrt(3.0f), 1e-6);
    float s = 0, c = 0;
    SinCos(1.0f, s, c);
    EXPECT_FLOAT_EQ(s, std::sin(1.0f));
    EXPECT_FLOAT_EQ(c, std::cos(1.0f));
    EXPECT_NEAR(ArcSin(0.5f), std::numbers::pi / 6, 1e-6);
    EXPECT_NEAR(ArcSin(-1.0f), -std::numbers::pi / 2, 1e-6);
    // a rounding step past 1 is taken as 1 instead of giving a non-number
    EXPECT_NEAR(ArcSin(1.0000001f), std::numbers::pi / 2, 1e-6);
    EXPECT_FLOAT_EQ(Tan(0.5f), std::tan(0.5f));
}

TEST(AddMathsFunctionsTest, RoundGoesToEvenAtHalves)
{
    const struct {
        double v;
        int rounded, truncated;
    } cases[] = {{2.5, 2, 2}, {3.5, 4, 3}, {-0.5, 0, 0}, {-1.5, -2, -1}, {1.49, 1, 1}, {-2.7, -3, -2}};
    for (const auto& c : cases) {
        EXPECT_EQ(Round(c.v), c.rounded) << c.v;
        EXPECT_EQ(Trunc(c.v), c.truncated) << c.v;
    }
}

}  // namespace
}  // namespace brv
