#include "experiments/physics/uTerminalVelocityModel.h"

#include "runtime/AddMaths.h"

#include <limits>

namespace brv {

float TTerminalVelocityModel::NewGravity()
{
    return RandGauss(StandardGravity, GravityScatter);
}

void TTerminalVelocityModel::Reset(float gravity)
{
    BallDepth = 0;
    Speed = 0;
    NewSpeed = 0;
    GateTime = 0;
    Gravity = gravity;
}

float TTerminalVelocityModel::Acceleration() const
{
    const float twoR2 = 2 * Radius * Radius;
    const float a = (8 * twoR2 * Gravity - 9 * ViscosityPoise * NewSpeed) / (9 * twoR2);
    // Drag only ever brakes the ball towards its terminal speed; it never
    // drives it back up the tube.
    return a < 0 ? 0 : a;
}

float TTerminalVelocityModel::TerminalSpeed() const
{
    if (ViscosityPoise <= 0)
        return std::numeric_limits<float>::infinity();
    return 16 * Radius * Radius * Gravity / (9 * ViscosityPoise);
}

TTerminalVelocityModel::Outcome TTerminalVelocityModel::Step(float dt)
{
    NewSpeed = Speed + Acceleration() * dt;
    BallDepth = BallDepth + (Speed + NewSpeed) * 0.5f * dt;
    Speed = NewSpeed;
    if (Gate1 < BallDepth && BallDepth < Gate2)
        GateTime = GateTime + dt;
    if (AtBottom()) {
        BallDepth = TubeDepth - Radius;
        return Outcome::AtBottom;
    }
    return Outcome::Moving;
}

void TTerminalVelocityModel::SetRadius(float radius)
{
    const bool resting = AtBottom();
    Radius = radius;
    if (resting || AtBottom())
        BallDepth = TubeDepth - Radius;
}

int TTerminalVelocityModel::Gate1Limit() const
{
    return Round((Gate2 - MinGateGap) * 10);
}

int TTerminalVelocityModel::Gate2Limit() const
{
    return Round((Gate1 + MinGateGap) * 10);
}

bool TTerminalVelocityModel::MoveGate1(int& position)
{
    const int limit = Gate1Limit();
    if (position >= limit) {
        position = limit;
        return false;
    }
    Gate1 = float(position) * GateBarUnit;
    return true;
}

bool TTerminalVelocityModel::MoveGate2(int& position)
{
    const int limit = Gate2Limit();
    if (position <= limit) {
        position = limit;
        return false;
    }
    Gate2 = float(position) * GateBarUnit;
    return true;
}

}  // namespace brv
