// The car's tables: release height, and the ramp angle of the extension.
// The release height is read on the close-up's scale, so the pupil types it.
#include "experiments/ResultsTables.h"

#include <QCoreApplication>

namespace brv {

namespace {
struct uCar {
    Q_DECLARE_TR_FUNCTIONS(uCar)
};
}  // namespace

std::vector<TResultsTableDeclaration> CarTables()
{
    const QString cm = uCar::tr("cm");
    TResultsVariable height = Setting("releaseHeight", uCar::tr("Release height"), cm, {}, 1, 1);
    height.max = 20;
    const TResultsVariable angle = Setting("rampAngle", uCar::tr("Ramp angle"), uCar::tr("°"), "RampSE");
    const TResultsVariable distance =
        Reading("stoppingDistance", uCar::tr("Stopping distance"), cm, 0, 500, 1);
    return {
        {"height",
         uCar::tr("Release height → stopping distance"),
         height,
         distance,
         3,
         {angle},
         {1.5, 3, 4.5, 6, 8}},
        {"angle", uCar::tr("Ramp angle → stopping distance"), angle, distance, 3, {height}, {10, 15, 20, 25}},
    };
}

}  // namespace brv
