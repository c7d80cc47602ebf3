#include "experiments/biology/uPhotosynthesisModel.h"

#include "runtime/AddMaths.h"

#include <cmath>

namespace brv {

float TPhotosynthesisModel::LightIntensity(float lampOffset)
{
    return std::exp(-LightFalloff * lampOffset);
}

float TPhotosynthesisModel::TemperatureFactor(float temperature)
{
    const float f = 0.032f * temperature;
    if (temperature < 30)
        return f;
    const float d = temperature - 30;
    return f * std::exp(-0.009f * d * d);
}

float TPhotosynthesisModel::CarbonDioxideFactor(float bicarbonate)
{
    const float b = 100 * bicarbonate;
    return 1 - std::exp(-0.01f * b * b);
}

float TPhotosynthesisModel::OxygenRate() const
{
    return (1 - std::exp(-5 * LightIntensity())) * RateFactor * TemperatureFactor(Temperature) *
           CarbonDioxideFactor(Bicarbonate) * 0.015f;
}

float TPhotosynthesisModel::NewRateFactor()
{
    return RandGauss(1, RateScatter);
}

void TPhotosynthesisModel::DragLamp(int x, int& dragX, float scale)
{
    if (!(scale > 0))
        return;
    const float d = LampOffset + float(x - dragX) / scale;
    if (d < 0)
        LampOffset = 0;
    else if (d > MaxLampOffset)
        LampOffset = MaxLampOffset;
    else {
        LampOffset = d;
        dragX = x;
    }
}

}  // namespace brv
