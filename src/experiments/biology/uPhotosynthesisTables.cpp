// Photosynthesis: the length of the bubble collected in ten minutes against
// the light meter's reading, which the pupil reads and types (it is an
// instrument, not a setting), and against temperature.
#include "experiments/ResultsTables.h"

#include <QCoreApplication>

namespace brv {

namespace {
struct uPhotosynthesis {
    Q_DECLARE_TR_FUNCTIONS(uPhotosynthesis)
};
}  // namespace

std::vector<TResultsTableDeclaration> PhotoTables()
{
    using T = uPhotosynthesis;
    TResultsVariable light = Setting("light", T::tr("Light meter reading"), {}, {});
    light.max = 100;
    const TResultsVariable temperature = Setting("temperature", T::tr("Temperature"), T::tr("ºC"), "tempSE");
    const TResultsVariable bicarbonate =
        Setting("bicarbonate", T::tr("Bicarbonate"), T::tr("%"), "BiCarbSE", 1, 2);
    const TResultsVariable time = Setting("time", T::tr("Time"), T::tr("min"), "TimeHsb", 1.0 / 60, 1);
    const TResultsVariable length = Reading("length", T::tr("Length of bubble"), T::tr("cm"), 0, 20, 1);
    return {
        {"light",
         T::tr("Light intensity → length of bubble in 10 minutes"),
         light,
         length,
         3,
         {temperature, bicarbonate, time},
         {}},
        {"temperature",
         T::tr("Temperature → length of bubble in 10 minutes"),
         temperature,
         length,
         3,
         {bicarbonate, time},
         {5, 10, 20, 30, 40, 50}},
    };
}

}  // namespace brv
