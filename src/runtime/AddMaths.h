// Maths helpers and the one program-wide random generator.
//
// The generator is never seeded: its 32-bit state is 0 at start and each draw
// first advances it by  state := state × 0x08088405 + 1  (mod 2^32), so every
// run of the program draws the same sequence and every experiment's scatter
// depends on all draws made before it.
#pragma once

#include <cmath>
#include <cstdint>
#include <numbers>

namespace brv {

// Round to nearest, ties to even (under the default rounding mode).
inline int Round(double v)
{
    return int(std::nearbyint(v));
}
inline int Trunc(double v)
{
    return int(std::trunc(v));
}

struct TXY {
    float a = 0, b = 0;
};
// a = r × sin(angle), b = r × cos(angle)
TXY PolarToXY(float angle, float r);
void SinCos(float angle, float& s, float& c);
float ArcSin(float x);  // atan2(x, √(1 − x²)); x is taken within [−1, 1]
float Tan(float x);
// Degrees to radians in single precision, degrees × π / 180.
inline float Radians(float degrees)
{
    return degrees * std::numbers::pi_v<float> / 180;
}

// --- the generator -----------------------------------------------------
std::uint32_t RandomState();
void SetRandomState(std::uint32_t state);  // tests only
int RandomInt(int n);                      // uniform in [0, n); 0 for n ≤ 0 (still a draw)
double RandomFloat();                      // uniform in [0, 1)
// Mean + StdDev × N(0, 1) by the polar method (pairs with s ≥ 1 or s = 0
// are drawn again).
float RandGauss(float mean, float stdDev);

}  // namespace brv
