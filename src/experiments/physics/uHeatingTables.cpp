// Heating effect of a current: temperature against time (one row a time,
// three runs), and the temperature rise in five minutes against voltage.
#include "experiments/ResultsTables.h"

#include <QCoreApplication>

namespace brv {

namespace {
struct uHeating {
    Q_DECLARE_TR_FUNCTIONS(uHeating)
};
}  // namespace

std::vector<TResultsTableDeclaration> HeatingTables()
{
    const QString celsius = uHeating::tr("ºC");
    // The time bar counts seconds; the page records whole minutes.
    const TResultsVariable time =
        Setting("time", uHeating::tr("Time"), uHeating::tr("min"), "TimeHsb", 1.0 / 60, 1);
    const TResultsVariable voltage =
        Setting("voltage", uHeating::tr("Voltage"), uHeating::tr("V"), "VoltageSE");
    const TResultsVariable resistance =
        Setting("resistance", uHeating::tr("Resistance"), uHeating::tr("Ω"), "resistanceSE");
    const TResultsVariable mass = Setting("mass", uHeating::tr("Mass of water"), uHeating::tr("g"), "MassSE");
    const TResultsVariable temperature =
        Reading("temperature", uHeating::tr("Temperature"), celsius, -20, 150, 1);
    const TResultsVariable rise = Reading("rise", uHeating::tr("Temperature rise"), celsius, -20, 150, 1);
    return {
        {"time",
         uHeating::tr("Time → temperature"),
         time,
         temperature,
         3,
         {voltage, resistance, mass},
         {0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20}},
        {"voltage",
         uHeating::tr("Voltage → temperature rise in 5 minutes"),
         voltage,
         rise,
         3,
         {resistance, mass, time},
         {2, 4, 6, 8, 10, 12}},
    };
}

}  // namespace brv
