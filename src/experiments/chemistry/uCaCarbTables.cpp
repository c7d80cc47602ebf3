// Calcium carbonate and hydrochloric acid: the time to collect 20 cm³ against
// the acid's concentration and against the mass of chips, and the volume
// collected against time for one run.
#include "experiments/ResultsTables.h"

#include <QCoreApplication>

namespace brv {

namespace {
struct uCaCarb {
    Q_DECLARE_TR_FUNCTIONS(uCaCarb)
};
}  // namespace

std::vector<TResultsTableDeclaration> CaCarbTables()
{
    const QString seconds = uCaCarb::tr("s");
    const TResultsVariable concentration =
        Setting("concentration", uCaCarb::tr("Acid concentration"), uCaCarb::tr("M"), "ConcSE", 1, 1);
    const TResultsVariable volume =
        Setting("acidVolume", uCaCarb::tr("Volume of acid"), uCaCarb::tr("cm³"), "VolSE");
    const TResultsVariable mass =
        Setting("mass", uCaCarb::tr("Mass of calcium carbonate"), uCaCarb::tr("g"), "MassSE", 1, 1);
    const TResultsVariable time = Setting("time", uCaCarb::tr("Time"), seconds, "TimeHsb");
    const TResultsVariable timeTo20 =
        Reading("timeTo20", uCaCarb::tr("Time to collect 20 cm³"), seconds, 0, 10000, 0);
    const TResultsVariable gas = Reading("gas", uCaCarb::tr("Volume of gas"), uCaCarb::tr("cm³"), 0, 100, 1);
    return {
        {"concentration",
         uCaCarb::tr("Acid concentration → time to collect 20 cm³"),
         concentration,
         timeTo20,
         3,
         {volume, mass},
         {0.2, 0.4, 0.6, 0.8, 1.0}},
        {"mass",
         uCaCarb::tr("Mass of calcium carbonate → time to collect 20 cm³"),
         mass,
         timeTo20,
         3,
         {concentration, volume},
         {1, 2, 3, 4, 5}},
        {"volumeTime",
         uCaCarb::tr("Time → volume of gas (one run)"),
         time,
         gas,
         1,
         {concentration, volume, mass},
         {0, 30, 60, 90, 120, 180, 240, 300, 360, 420, 480, 540, 600}},
    };
}

}  // namespace brv
