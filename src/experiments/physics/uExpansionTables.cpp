// Expansion of a gas: the length of the air column against temperature.
#include "experiments/ResultsTables.h"

#include <QCoreApplication>

namespace brv {

namespace {
struct uExpansion {
    Q_DECLARE_TR_FUNCTIONS(uExpansion)
};
}  // namespace

std::vector<TResultsTableDeclaration> ExpansionTables()
{
    const TResultsVariable temperature =
        Setting("temperature", uExpansion::tr("Temperature"), uExpansion::tr("ºC"), "Temperature");
    const TResultsVariable mass = Setting("mass", uExpansion::tr("Mass of gas"), {}, "Mass");
    const TResultsVariable length =
        Reading("length", uExpansion::tr("Length of air column"), uExpansion::tr("cm"), 0, 100, 1);
    return {
        {"temperature",
         uExpansion::tr("Temperature → length of the air column"),
         temperature,
         length,
         3,
         {mass},
         {0, 20, 40, 60, 80, 100}},
    };
}

}  // namespace brv
