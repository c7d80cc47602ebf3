#include "experiments/physics/uEMagnetModel.h"

#include "runtime/AddMaths.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace brv {

void TEMagnetModel::NewNailCount()
{
    if (Volts == 0) {
        NailCount = 0;
        return;
    }
    const float mean = float(Turns) * NailsPerTurnVolt * float(Volts);
    NailCount = std::max(Round(RandGauss(mean, CountScatter)), 0);
}

void TEMagnetModel::NewNails()
{
    Nails.clear();
    Nails.reserve(std::size_t(NailCount));
    for (int i = 0; i < NailCount; ++i) {
        const float f = float(RandomFloat());
        const int j = RandomInt(180);
        const float a = float(90 - j) * std::numbers::pi_v<float> / 180;
        const float d = 8 * f;
        const float c = std::cos(a), s = std::sin(a);
        TNail nail;
        for (std::size_t p = 0; p < nail.size(); ++p) {
            const TNailPoint q = NailShape[p];
            nail[p] = {q.X * c + q.Y * s + d, q.Y * c - q.X * s};
        }
        Nails.push_back(nail);
    }
}

TNailPoint TEMagnetModel::CountedPosition(int k)
{
    constexpr int perRow = 10, rowsPerBlock = 10;
    constexpr float left = 25, top = 30, across = 3, down = 5, blockWidth = 32;
    const int block = k / (perRow * rowsPerBlock);
    const int inBlock = k % (perRow * rowsPerBlock);
    return {left + blockWidth * float(block) + across * float(inBlock % perRow),
            top + down * float(inBlock / perRow)};
}

}  // namespace brv
