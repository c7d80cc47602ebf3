#include "experiments/biology/uAmylaseModel.h"

#include "runtime/AddMaths.h"

#include <algorithm>

namespace brv {

namespace {

// Clearing time in minutes from 10 ºC (and below) to 60 ºC (and above).
constexpr int kColdest = 10;
constexpr std::array<int, 51> kClearTime = {
    30, 26, 23, 20, 18, 16, 14, 13, 12, 11,  // 10–19
    10, 9,  8,  8,  7,  7,  6,  6,  6,  5,   // 20–29
    5,  5,  4,  4,  4,  4,  4,  4,  4,  4,   // 30–39
    4,  4,  4,  4,  4,  4,  4,  4,  5,  5,   // 40–49
    5,  6,  6,  7,  8,  9,  13, 17, 22, 27,  // 50–59
    30,                                      // 60
};

}  // namespace

TAmylaseModel::TAmylaseModel()
{
    for (int i = 0; i < DimpleCount; ++i) {
        Dimples[std::size_t(i)].X = 0.5f * DimpleSpacing + DimpleSpacing * float(i % Columns);
        Dimples[std::size_t(i)].Y = 0.5f * DimpleSpacing + DimpleSpacing * float(i / Columns);
    }
}

int TAmylaseModel::TableClearTime(int temperature)
{
    const int i = std::clamp(temperature - kColdest, 0, int(kClearTime.size()) - 1);
    return kClearTime[std::size_t(i)];
}

int TAmylaseModel::StarchClearTime(int temperature)
{
    return TableClearTime(temperature) + Round(RandGauss(0, 1));
}

int TAmylaseModel::TargetDimple() const
{
    for (int i = 0; i < DimpleCount; ++i)
        if (Dimples[std::size_t(i)].State == DimpleIodine)
            return i;
    return -1;
}

TScenePoint TAmylaseModel::OverDimple(int i) const
{
    const TDimple& d = Dimples[std::size_t(i)];
    return {Tray.X + d.X, Tray.Y + d.Y - DropperHeight};
}

void TAmylaseModel::TestStep(int step, int minutes, int temperature)
{
    if (step == TestSteps - 1) {
        SampleDropper = SampleHome;
        SampleFilled = false;
        return;
    }
    const int target = TargetDimple();
    if (target < 0)
        return;
    switch (step) {
        case 0:
            SampleDropper.Y = InTubeY;
            SampleFilled = false;
            break;
        case 1:
            SampleDropper.Y = AboveTubeY;
            SampleFilled = true;
            break;
        case 2: {
            SampleDropper = OverDimple(target);
            // Starch is still there when the sample is taken just as it clears.
            TDimple& d = Dimples[std::size_t(target)];
            d.State = minutes > StarchClearTime(temperature) ? DimpleNoStarch : DimpleStarch;
            d.Minutes = minutes;
            break;
        }
        default:
            break;
    }
}

void TAmylaseModel::EmptyTray()
{
    for (TDimple& d : Dimples)
        d.State = DimpleEmpty;
}

void TAmylaseModel::RefillStep(int k)
{
    if (k < 0 || k >= DimpleCount)
        return;
    IodineDropper = OverDimple(k);
    Dimples[std::size_t(k)].State = DimpleIodine;
}

}  // namespace brv
