#include "experiments/physics/uHeatingModel.h"

#include "runtime/AddMaths.h"

#include <algorithm>
#include <cmath>

namespace brv {

float THeatingModel::HeatingRate() const
{
    if (HeaterResistance <= 0)
        return 0;
    const float v = float(Voltage);
    return v * v / (float(Mass) * SpecificHeat * HeaterResistance);
}

float THeatingModel::WaterTemperature() const
{
    const float a = HeatingRate();
    const float t = float(ElapsedTime);
    constexpr float span = Boiling - RoomTemperature;
    const float temperature =
        Insulated ? RoomTemperature + a * t : RoomTemperature + span * (1 - std::exp(-(a / span) * t));
    return std::min(temperature, Boiling);
}

void THeatingModel::NewHeater()
{
    HeaterResistance = RandGauss(float(SetResistance), HeaterScatter);
}

void THeatingModel::ReadExactly()
{
    ShownTemp = WaterTemperature();
}

void THeatingModel::ReadWithScatter()
{
    ShownTemp = std::min(WaterTemperature() + RandGauss(0, ReadingScatter), Boiling);
}

float THeatingModel::Current() const
{
    return SetResistance > 0 ? float(Voltage) / float(SetResistance) : 0.0f;
}

}  // namespace brv
