#include "experiments/physics/uExpansionModel.h"

#include "runtime/AddMaths.h"

#include <algorithm>

namespace brv {

float TExpansionModel::MeanLength(int mass, int temperature)
{
    const float m = float(mass);
    return m * float(temperature) / AbsoluteZero + m;
}

void TExpansionModel::NewLength()
{
    GasLength = std::max(MeanLength(Mass, Temperature) + RandGauss(0, Scatter), 0.0f);
}

}  // namespace brv
