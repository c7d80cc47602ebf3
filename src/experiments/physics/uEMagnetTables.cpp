// Strength of an electromagnet: the current (set by the voltage) and the
// turns questions; nails scatter so much that the page asks for five repeats.
#include "experiments/ResultsTables.h"

#include <QCoreApplication>

namespace brv {

namespace {
struct uEMagnet {
    Q_DECLARE_TR_FUNCTIONS(uEMagnet)
};
}  // namespace

std::vector<TResultsTableDeclaration> EMagnetTables()
{
    const TResultsVariable voltage =
        Setting("voltage", uEMagnet::tr("Voltage"), uEMagnet::tr("V"), "Current");
    const TResultsVariable turns = Setting("turns", uEMagnet::tr("Number of turns"), {}, "Coils");
    const TResultsVariable nails = Reading("nails", uEMagnet::tr("Number of nails"), {}, 0, 1000, 0);
    return {
        {"voltage",
         uEMagnet::tr("Voltage (current) → number of nails"),
         voltage,
         nails,
         5,
         {turns},
         {2, 4, 6, 8, 10, 12}},
        {"turns",
         uEMagnet::tr("Number of turns → number of nails"),
         turns,
         nails,
         5,
         {voltage},
         {20, 40, 60, 80, 100}},
    };
}

}  // namespace brv
