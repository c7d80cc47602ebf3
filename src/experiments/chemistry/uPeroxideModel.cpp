#include "experiments/chemistry/uPeroxideModel.h"

#include "runtime/AddMaths.h"

#include <cmath>

namespace brv {

namespace {

constexpr float kPreExponential = 1.17e7f;  // per second, per (g / mm) of catalyst
constexpr float kActivationEnergy = 59400;  // J/mol
constexpr float kGasConstant = 8.314f;      // J/(mol K)
constexpr float kZeroCelsius = 273;         // K

}  // namespace

float TPeroxideModel::RateConstant() const
{
    const float a = kPreExponential * CatalystMass / ParticleSize;
    const float k = a * std::exp(-kActivationEnergy / ((float(Temperature) + kZeroCelsius) * kGasConstant));
    return std::isfinite(k) && k > 0 ? k : 0.0f;
}

float TPeroxideModel::FinalVolume() const
{
    return GasFactor * OxygenPerCm3Molar * float(PeroxideVolume) * PeroxideConc;
}

float TPeroxideModel::VolumeAt(int t, float u) const
{
    if (t == 0)
        return 0;
    const float tau = float(t) + u;
    const float volume = -std::expm1(-RateConstant() * tau) * FinalVolume();
    return std::isfinite(volume) ? volume : 0.0f;
}

float TPeroxideModel::VolumeAt(int t) const
{
    return t == 0 ? 0.0f : VolumeAt(t, float(RandomFloat()));
}

float TPeroxideModel::NewGasFactor()
{
    return RandGauss(1, 0.05f);
}

}  // namespace brv
