// Terminal velocity: the radius question and the viscosity question.  The
// gates' positions are kept the same; the time between them is the reading.
#include "experiments/ResultsTables.h"

#include <QCoreApplication>

namespace brv {

namespace {
struct uTerminalVelocity {
    Q_DECLARE_TR_FUNCTIONS(uTerminalVelocity)
};
}  // namespace

std::vector<TResultsTableDeclaration> TerminalVelocityTables()
{
    using T = uTerminalVelocity;
    const QString cm = T::tr("cm");
    const TResultsVariable radius = Setting("radius", T::tr("Radius"), cm, "RadiusSE", 1, 1);
    const TResultsVariable viscosity =
        Setting("viscosity", T::tr("Viscosity"), T::tr("Pa s"), "ViscositySE", 1, 1);
    const TResultsVariable gate1 = Setting("topGate", T::tr("Top gate"), cm, "Gate1Hsb", 0.1, 1);
    const TResultsVariable gate2 = Setting("bottomGate", T::tr("Bottom gate"), cm, "Gate2Hsb", 0.1, 1);
    const TResultsVariable time = Reading("time", T::tr("Time between the gates"), T::tr("s"), 0, 1000, 3);
    return {
        {"radius",
         T::tr("Radius → time between the gates"),
         radius,
         time,
         3,
         {viscosity, gate1, gate2},
         {0.5, 1.0, 1.5, 2.0}},
        {"viscosity",
         T::tr("Viscosity → time between the gates"),
         viscosity,
         time,
         3,
         {radius, gate1, gate2},
         {2, 4, 6, 8, 10}},
    };
}

}  // namespace brv
