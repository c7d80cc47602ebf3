// Decomposition of hydrogen peroxide: the oxygen collected in two minutes
// against temperature, particle size and mass of catalyst.
#include "experiments/ResultsTables.h"

#include <QCoreApplication>

namespace brv {

namespace {
struct uPeroxide {
    Q_DECLARE_TR_FUNCTIONS(uPeroxide)
};
}  // namespace

std::vector<TResultsTableDeclaration> PeroxideTables()
{
    using T = uPeroxide;
    const TResultsVariable temperature = Setting("temperature", T::tr("Temperature"), T::tr("ºC"), "TempSE");
    const TResultsVariable concentration =
        Setting("concentration", T::tr("Concentration"), T::tr("M"), "ConcSE", 1, 1);
    const TResultsVariable volume = Setting("volume", T::tr("Volume of solution"), T::tr("cm³"), "VolumeSE");
    const TResultsVariable mass =
        Setting("catalystMass", T::tr("Mass of catalyst"), T::tr("g"), "CatMassSE", 1, 2);
    const TResultsVariable size =
        Setting("particleSize", T::tr("Particle size"), T::tr("mm"), "CatSizeSE", 1, 2);
    const TResultsVariable time = Setting("time", T::tr("Time"), T::tr("s"), "TimeHsb");
    const TResultsVariable oxygen = Reading("oxygen", T::tr("Volume of oxygen"), T::tr("cm³"), 0, 150, 1);
    return {
        {"temperature",
         T::tr("Temperature → volume of oxygen after 2 minutes"),
         temperature,
         oxygen,
         3,
         {concentration, volume, mass, size, time},
         {20, 25, 30, 35, 40, 45, 50}},
        {"particleSize",
         T::tr("Particle size → volume of oxygen after 2 minutes"),
         size,
         oxygen,
         3,
         {temperature, concentration, volume, mass, time},
         {1.0, 0.5, 0.25, 0.1}},
        {"catalystMass",
         T::tr("Mass of catalyst → volume of oxygen after 2 minutes"),
         mass,
         oxygen,
         3,
         {temperature, concentration, volume, size, time},
         {0.1, 0.25, 0.5, 1.0}},
    };
}

}  // namespace brv
