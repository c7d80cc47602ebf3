// Energy stored in a spring: the compression question and the mass
// extension; the reading is the light gate's time for the 10 cm card.
#include "experiments/ResultsTables.h"

#include <QCoreApplication>

namespace brv {

namespace {
struct uESpring {
    Q_DECLARE_TR_FUNCTIONS(uESpring)
};
}  // namespace

std::vector<TResultsTableDeclaration> SpringTables()
{
    const TResultsVariable compression =
        Setting("compression", uESpring::tr("Compression"), uESpring::tr("cm"), "SpringSE", 1, 1);
    const TResultsVariable mass =
        Setting("mass", uESpring::tr("Mass of trolley"), uESpring::tr("kg"), "MassSE", 1, 1);
    const TResultsVariable time =
        Reading("time", uESpring::tr("Time for card"), uESpring::tr("s"), 0, 100, 3);
    return {
        {"compression",
         uESpring::tr("Compression → time for the card"),
         compression,
         time,
         3,
         {mass},
         {2, 4, 6, 8, 10}},
        {"mass",
         uESpring::tr("Mass of trolley → time for the card"),
         mass,
         time,
         3,
         {compression},
         {0.5, 1, 2, 4}},
    };
}

}  // namespace brv
