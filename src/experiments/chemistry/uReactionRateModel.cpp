#include "experiments/chemistry/uReactionRateModel.h"

#include "runtime/AddMaths.h"

namespace brv {

void TReactionRateModel::Place()
{
    TParticleModel::TSpeeds speeds;
    for (float& speed : speeds) {
        const float g = float(RandomInt(SpeedSteps) + 1) * 0.1f;
        speed = g * Factor;
    }
    Box.Place(speeds);
}

void TReactionRateModel::Advance(double seconds)
{
    Box.Step(float(TimeScale) * float(seconds), true);
}

void TReactionRateModel::SetHighTemperature(bool high)
{
    const float factor = high ? HighFactor : LowFactor;
    if (factor == Factor)
        return;
    Box.ScaleVelocities(factor / Factor);
    Factor = factor;
}

}  // namespace brv
