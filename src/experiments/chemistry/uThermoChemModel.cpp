#include "experiments/chemistry/uThermoChemModel.h"

#include "runtime/AddMaths.h"

#include <cmath>

namespace brv {

namespace {

// Below this volume (cm³) no acid has reached the beaker.
constexpr float kFirstDrop = 0.1f;

}  // namespace

float TThermoChemModel::TemperatureRise() const
{
    const float ions = Sulphuric ? 2.0f : 1.0f;
    const float acid = ions * AcidConc * AcidAdded;
    const float alkali = BaseConc * BaseVolume;
    const float water = acid > alkali ? alkali : acid;
    const float rise = water * HeatOfNeutralisation / ((AcidAdded + BaseVolume) * HeatCapacity);
    return std::isfinite(rise) ? rise : 0.0f;
}

void TThermoChemModel::SetAcidAdded(float volume)
{
    if (volume == AcidAdded)
        return;
    AcidAdded = volume;
    MixTemp =
        volume < kFirstDrop ? StartTemperature : StartTemperature + RandGauss(TemperatureRise(), Scatter);
}

}  // namespace brv
