#include "experiments/biology/uYeastModel.h"

#include "runtime/AddMaths.h"

#include <algorithm>
#include <cmath>

namespace brv {

float TYeastModel::TemperatureFactor(float temperature)
{
    const float d = temperature - 40.0f;
    return 0.02f * temperature * std::exp(-0.01f * d * d);
}

float TYeastModel::GlucoseFactor(float glucose)
{
    const float d = glucose - 0.5f;
    return 1.84f * glucose * std::exp(-10.0f * d * d);
}

float TYeastModel::VolumeAfter(float seconds) const
{
    const float rate = 0.01f * TemperatureFactor(BathTemp) * GlucoseFactor(Glucose);
    const float v = (1.0f - std::exp(-rate * seconds)) * BuretteCapacity * GasFactor;
    // A large factor overfills the burette; a timing error before the start
    // would give a negative volume.  NaN stays out too.
    if (!(v > 0.0f))
        return 0.0f;
    return std::min(v, BuretteCapacity);
}

float TYeastModel::CarbonDioxideVolume(int seconds) const
{
    if (seconds == 0)
        return 0.0f;
    return VolumeAfter(float(seconds) + RandGauss(0.0f, TimeErrorSeconds));
}

float TYeastModel::NewGasFactor()
{
    return RandGauss(1.0f, GasFactorScatter);
}

}  // namespace brv
