#include "experiments/physics/uCarModel.h"

#include "runtime/AddMaths.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace brv {

namespace {

// The drop constant is 3.0394113, not 2.4·√2 = 3.394113: the typical results
// in the lesson book follow this value.
constexpr float kDropConstant = 3.0394113f;
constexpr float kCentreHeight = 2.4f;  // the centre of mass above the wheels' contact line
constexpr float kWheelbase = 5;
constexpr float kFullyOnRamp = 25;  // a car started before this has both wheels on the ramp
constexpr float kScatter = 0.1f;    // standard deviation as a fraction of D

}  // namespace

float TCarModel::ReleaseHeight(int angleDeg, float startPos)
{
    return (FootPos - startPos) * Tan(Radians(angleDeg));
}

float TCarModel::MeanStoppingDistance(int angleDeg, float startPos)
{
    if (angleDeg < MinRollAngle || FootPos - startPos <= 0)
        return 0;
    const float theta = Radians(angleDeg);
    const float h = ReleaseHeight(angleDeg, startPos);
    if (h <= 0)
        return 0;
    const float tilt = startPos < kFullyOnRamp ? theta : ArcSin(h / kWheelbase);
    const float drop =
        std::max(0.0f, kDropConstant * std::sin(std::numbers::pi_v<float> / 4 - tilt) + (h - kCentreHeight));
    // 1 / sin 3° = 19.107323, worked out as 1 / sin θ is, so that a 3° ramp
    // gives exactly no distance rather than a rounding error's worth.
    const float invSin3 = 1 / std::sin(Radians(MinRollAngle));
    const float d = std::cos(theta) * (invSin3 - 1 / std::sin(theta)) * drop;
    return std::isfinite(d) && d > 0 ? d : 0;
}

float TCarModel::StoppingDistance(int angleDeg, float startPos)
{
    const float d = MeanStoppingDistance(angleDeg, startPos);
    if (d <= 0)
        return 0;
    const float scattered = RandGauss(d, kScatter * d);
    return std::isfinite(scattered) && scattered > 0 ? scattered : 0;
}

void TCarModel::Start(int angleDeg, float startPos)
{
    CarPos = startPos;
    EndPos = FootPos + StoppingDistance(angleDeg, startPos);
}

bool TCarModel::Step(float dt)
{
    CarPos += Speed * dt;
    if (CarPos > EndPos) {
        CarPos = EndPos;
        return true;
    }
    return false;
}

TCarPlacement TCarModel::Placement(int angleDeg, float carPos)
{
    TCarPlacement p;
    if (carPos >= FootPos) {
        p.PivotX = carPos + (FootX - FootPos);
        p.PivotY = FloorY;
        return p;
    }
    const float theta = Radians(angleDeg);
    const float run = FootPos - carPos;
    p.Height = run * Tan(theta);
    p.Tilt = carPos < kFullyOnRamp ? theta : ArcSin(p.Height / kWheelbase);
    p.PivotX = FootX - 2 * run;
    p.PivotY = FloorY - 2 * p.Height;
    return p;
}

}  // namespace brv
