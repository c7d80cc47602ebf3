#include "experiments/chemistry/uCaCarbModel.h"

#include "runtime/AddMaths.h"

#include <algorithm>
#include <cmath>

namespace brv {

namespace {

constexpr double kCO2GramsPerMol = 44;

// (e^z − 1) / z, exact to rounding for every z, 1 at z = 0.
double Expm1OverZ(double z)
{
    return z == 0 ? 1.0 : std::expm1(z) / z;
}

}  // namespace

double TCaCarbModel::Reacted(double a, double b, double k, double tau)
{
    if (!(tau > 0) || a <= 0 || b <= 0)
        return 0;
    const double kt = k * tau;
    const double q = kt * Expm1OverZ(kt * (a - b));
    // Beyond the range of a double the reaction is complete.
    if (!std::isfinite(q))
        return std::min(a, b);
    return a * b * q / (a * q + 1);
}

TCaCarbModel::TReading TCaCarbModel::At(int t, double jitter) const
{
    TReading r;
    if (t == 0)
        return r;
    r.Evaluated = true;
    // Without acid or carbonate nothing can react: done from the start, so
    // no bubbles rise however the time moves.
    if (AcidVolume <= 0 || CarbonateMass < 0.01f) {
        r.Done = true;
        return r;
    }
    const double a = CarbonateMoles();
    const double b = AcidCapacityMoles();
    const double x = Reacted(a, b, RateConstant(), double(t) + jitter);
    r.Reacted = x;
    r.Done = a >= b ? std::abs(x - b) < DoneWithin : std::abs(x - a) < DoneWithin;
    const float gas = float(double(GasFactor) * MolarGasVolume * x);
    r.GasGiven = std::max(0.0f, gas);
    r.GasShown = std::clamp(gas, 0.0f, BuretteVolume);
    return r;
}

TCaCarbModel::TReading TCaCarbModel::At(int t) const
{
    const bool reacts = t != 0 && AcidVolume > 0 && CarbonateMass >= 0.01f;
    return At(t, reacts ? NewJitter() : 0.0);
}

float TCaCarbModel::BalanceReading(float gasGiven) const
{
    const float lost = float(double(gasGiven) * kCO2GramsPerMol / MolarGasVolume);
    return 100.0f + float(AcidVolume) + CarbonateMass - lost;
}

float TCaCarbModel::NewGasFactor()
{
    return RandGauss(1, 0.1f);
}

double TCaCarbModel::NewJitter()
{
    return RandGauss(0, 1);
}

}  // namespace brv
