#include "experiments/physics/uBallModel.h"

#include "runtime/AddMaths.h"

#include <cmath>

namespace brv {

float TBallModel::MeanRestitution(float temperature)
{
    return 0.1f + 0.7f * (1.0f - std::exp(-0.05f * temperature));
}

float TBallModel::NewRestitution(float temperature)
{
    const float value = RandGauss(MeanRestitution(temperature), 0.05f);
    return value < MinRestitution ? MinRestitution : value;
}

void TBallModel::Reset(float depth, float restitution)
{
    BallDepth = depth;
    Speed = 0;
    NewSpeed = 0;
    Direction = +1;
    ApexCount = 0;
    Restitution = restitution;
}

TBallModel::Outcome TBallModel::Step(float dt, int bounceLimit)
{
    Outcome outcome = Outcome::Moving;
    NewSpeed = Speed + float(Direction) * float(Gravity) * dt;
    if (NewSpeed < 0)
        NewSpeed = 0;
    BallDepth = BallDepth + dt * (Speed + NewSpeed) * float(Direction) * 0.5f;
    if (BallDepth < 0)
        BallDepth = 0;
    Speed = NewSpeed;

    if (BallDepth >= FloorDepth) {
        BallDepth = FloorDepth;
        Direction = -Direction;
        Speed = NewSpeed * Restitution;
        if (Speed * Speed * 0.5f / float(Gravity) < RestHeight)
            outcome = Outcome::AtRest;
    }
    if (NewSpeed <= 0) {
        NewSpeed = 0;
        Direction = -Direction;
        ++ApexCount;
        if (ApexCount >= bounceLimit)
            return Outcome::ApexReached;
    }
    return outcome;
}

}  // namespace brv
