#include "experiments/physics/uESpringModel.h"

#include "runtime/AddMaths.h"

#include <algorithm>
#include <cmath>

namespace brv {

namespace {

constexpr float kSpringConstantSpread = 10;
constexpr float kMinTimedCompression = 0.1f;  // cm
constexpr float kAnimationSpeedUp = 5;        // picture units per cm/s of the real speed, per second

}  // namespace

float TSpringModel::NewSpringConstant()
{
    float k = 0;
    do
        k = RandGauss(MeanSpringConstant, kSpringConstantSpread);
    while (!(k > 0));
    return k;
}

float TSpringModel::PassTimeFor(float x0, float mass, float springConstant)
{
    if (x0 < kMinTimedCompression)
        return 0;
    return CardLength * std::sqrt(mass / springConstant) / x0;
}

void TSpringModel::Compress(float compression)
{
    Compression = compression;
    TrolleyX = RestX - compression;
    CardTime = 0;
}

void TSpringModel::Release(float x0)
{
    PassTime = PassTimeFor(x0, Mass, SpringConstant);
}

bool TSpringModel::Step(float dt, float x0)
{
    const float d = kAnimationSpeedUp * std::sqrt(SpringConstant / Mass) * x0 * dt;
    if (Compression > 0) {
        Compression = std::max(0.0f, Compression - d);
        TrolleyX = RestX - Compression;
    } else {
        TrolleyX += d;
        if (TrolleyX > BeamIn && TrolleyX < BeamOut)
            CardTime = std::min(CardTime + PassTime / CardLength * d, PassTime);
        else if (TrolleyX > BeamOut)
            CardTime = PassTime;
    }
    return TrolleyX > RunEnd;
}

}  // namespace brv
