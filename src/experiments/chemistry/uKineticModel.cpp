#include "experiments/chemistry/uKineticModel.h"

namespace brv {

void TKineticModel::Place()
{
    TParticleModel::TSpeeds speeds;
    speeds.fill(BaseSpeed);
    Box.Place(speeds);
}

void TKineticModel::Advance(double seconds)
{
    Box.Step(float(TimeScale) * float(seconds), false);
}

}  // namespace brv
