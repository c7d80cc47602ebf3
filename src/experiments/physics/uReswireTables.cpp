// Resistance of wires: the resistance meter's reading against the length of
// wire set by the jockey.
#include "experiments/ResultsTables.h"

#include <QCoreApplication>

namespace brv {

namespace {
struct uReswire {
    Q_DECLARE_TR_FUNCTIONS(uReswire)
};
}  // namespace

std::vector<TResultsTableDeclaration> ReswireTables()
{
    // The jockey's bar counts tenths of a centimetre.
    const TResultsVariable length =
        Setting("length", uReswire::tr("Length"), uReswire::tr("cm"), "WireHsb", 0.1, 1);
    const TResultsVariable metal = Setting("metal", uReswire::tr("Metal"), {}, "MetalBtn");
    const TResultsVariable diameter =
        Setting("diameter", uReswire::tr("Diameter"), uReswire::tr("mm"), "WireSE", 1, 2);
    const TResultsVariable resistance =
        Reading("resistance", uReswire::tr("Meter reading"), uReswire::tr("Ω"), 0, 100000, 1);
    return {
        {"length",
         uReswire::tr("Length → resistance"),
         length,
         resistance,
         3,
         {metal, diameter},
         {0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100}},
    };
}

}  // namespace brv
