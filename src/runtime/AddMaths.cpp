#include "runtime/AddMaths.h"

#include <algorithm>

namespace brv {

TXY PolarToXY(float angle, float r)
{
    return {r * std::sin(angle), r * std::cos(angle)};
}

void SinCos(float angle, float& s, float& c)
{
    s = std::sin(angle);
    c = std::cos(angle);
}

float ArcSin(float x)
{
    // A value a rounding step beyond ±1 would give a non-number under the
    // root; it is taken as ±1.
    x = std::clamp(x, -1.0f, 1.0f);
    return std::atan2(x, std::sqrt(1.0f - x * x));
}

float Tan(float x)
{
    return std::tan(x);
}

// --- the generator -------------------------------------------------------------

namespace {

std::uint32_t randomState = 0;

std::uint32_t NextState()
{
    randomState = randomState * 0x08088405u + 1u;
    return randomState;
}

}  // namespace

std::uint32_t RandomState()
{
    return randomState;
}

void SetRandomState(std::uint32_t state)
{
    randomState = state;
}

int RandomInt(int n)
{
    // Every call is a draw, so the sequence does not depend on the ranges
    // asked for; an empty range (n ≤ 0) gives 0.
    const std::uint64_t state = NextState();
    if (n <= 0)
        return 0;
    return int((state * std::uint64_t(n)) >> 32);
}

double RandomFloat()
{
    return double(NextState()) / 4294967296.0;
}

float RandGauss(float mean, float stdDev)
{
    float u = 0, s = 0;
    do {
        u = float(2 * RandomFloat() - 1);
        const double v = 2 * RandomFloat() - 1;
        s = float(double(u) * u + v * v);
        // s = 0 (both draws exactly ½) would divide by zero.
    } while (s >= 1 || s == 0);
    return float(u * std::sqrt(-2 * std::log(double(s)) / s) * stdDev + mean);
}

}  // namespace brv
