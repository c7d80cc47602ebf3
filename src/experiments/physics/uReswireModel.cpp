#include "experiments/physics/uReswireModel.h"

#include "runtime/AddMaths.h"

#include <algorithm>
#include <numbers>

namespace brv {

float TReswireModel::Resistivity(TWireMetal metal)
{
    switch (metal) {
        case TWireMetal::Copper:
            return 1.56e-8f;
        case TWireMetal::Nichrome:
            return 1.3e-6f;
        case TWireMetal::Constantan:
            return 4.8e-7f;
    }
    return 0;
}

float TReswireModel::Resistance() const
{
    const float radius = Diameter * 0.5f;
    return WireLength * (Resistivity(Metal) * 1e4f) / (std::numbers::pi_v<float> * radius * radius);
}

float TReswireModel::MeterResistance() const
{
    return std::max(RandGauss(Resistance(), MeterScatter), 0.0f) + MeterZeroError;
}

float TReswireModel::CircuitResistance() const
{
    const int k = RandomInt(11);
    return std::max(Resistance() + 0.01f * float(5 - k), 0.0f);
}

float TReswireModel::Current(float ohms) const
{
    const float n = float(Cells);
    return n * CellVoltage / (n * CellResistance + ohms);
}

float TReswireModel::OnRule(float length)
{
    return std::clamp(length, 0.0f, MaxLength);
}

}  // namespace brv
