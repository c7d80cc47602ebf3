// Yeast respiration: the carbon dioxide collected in ten minutes against
// temperature, and against the glucose concentration.
#include "experiments/ResultsTables.h"

#include <QCoreApplication>

namespace brv {

namespace {
struct uYeast {
    Q_DECLARE_TR_FUNCTIONS(uYeast)
};
}  // namespace

std::vector<TResultsTableDeclaration> YeastTables()
{
    const TResultsVariable temperature =
        Setting("temperature", uYeast::tr("Temperature"), uYeast::tr("ºC"), "TempSE");
    const TResultsVariable glucose =
        Setting("glucose", uYeast::tr("Glucose concentration"), uYeast::tr("M"), "GlucoseSE", 1, 1);
    // The time bar counts seconds; the page times in minutes.
    const TResultsVariable time =
        Setting("time", uYeast::tr("Time"), uYeast::tr("min"), "TimeHsb", 1.0 / 60, 1);
    const TResultsVariable gas =
        Reading("gas", uYeast::tr("Volume of carbon dioxide"), uYeast::tr("cm³"), 0, 100, 1);
    return {
        {"temperature",
         uYeast::tr("Temperature → volume of carbon dioxide in 10 minutes"),
         temperature,
         gas,
         3,
         {glucose, time},
         {20, 25, 30, 35, 40, 45, 50, 55, 60}},
        {"glucose",
         uYeast::tr("Glucose concentration → volume of carbon dioxide in 10 minutes"),
         glucose,
         gas,
         3,
         {temperature, time},
         {0.1, 0.2, 0.4, 0.6, 0.8, 1.0}},
    };
}

}  // namespace brv
