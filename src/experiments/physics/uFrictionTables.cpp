// Friction: the weight question of the planning page, and the area question
// it goes on to.
#include "experiments/ResultsTables.h"

#include <QCoreApplication>

namespace brv {

namespace {
struct uFriction {
    Q_DECLARE_TR_FUNCTIONS(uFriction)
};
}  // namespace

std::vector<TResultsTableDeclaration> FrictionTables()
{
    const QString newtons = uFriction::tr("N");
    const TResultsVariable weight =
        Setting("addedWeight", uFriction::tr("Added weight"), newtons, "WtsSpinEd");
    const TResultsVariable area =
        Setting("area", uFriction::tr("Surface area"), uFriction::tr("cm²"), "AreaSpinEd");
    const TResultsVariable surface = Setting("surface", uFriction::tr("Surface"), {}, "SurfaceMenu");
    const TResultsVariable friction =
        Reading("friction", uFriction::tr("Limiting friction"), newtons, 0, 100, 2);
    return {
        {"weight",
         uFriction::tr("Added weight → limiting friction"),
         weight,
         friction,
         3,
         {surface, area},
         {0, 2, 4, 6, 8, 10}},
        {"area", uFriction::tr("Surface area → limiting friction"), area, friction, 3, {surface, weight}, {}},
    };
}

}  // namespace brv
