#include "experiments/physics/uFrictionModel.h"

#include "runtime/AddMaths.h"

#include <algorithm>

namespace brv {

float TFrictionModel::LimitingFriction() const
{
    return std::max(MinFriction, (float(WeightCount) + BlockWeight) * Mu + FrictionOffset);
}

void TFrictionModel::PullTo(float x)
{
    const float stretch = x - BlockShift;
    if (stretch == BalanceReading)
        return;
    const float limit = LimitingFriction();
    if (stretch > limit) {
        const float slip = SlipFraction * limit;
        BlockShift += slip;
        BalanceReading = stretch - slip;
    } else {
        BalanceReading = stretch;
    }
}

int TFrictionModel::HandPosition() const
{
    return Round((BalanceReading + BlockShift) * 10);
}

int TFrictionModel::MoveHand(int position)
{
    const int hand = HandPosition();
    if (position <= hand)
        return hand;
    PullTo(float(position) * 0.1f);
    return position;
}

void TFrictionModel::Reset()
{
    BlockShift = 0;
    BalanceReading = 0;
    FrictionOffset = NewOffset();
}

float TFrictionModel::NewOffset()
{
    return RandGauss(0, OffsetSpread);
}

float TFrictionModel::BlockLengthFor(int area)
{
    const int a = std::clamp(area, MinArea, MaxArea);
    return float(a - MinArea) * 0.05f + 5;
}

}  // namespace brv
