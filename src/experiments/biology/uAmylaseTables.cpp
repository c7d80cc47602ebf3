// Breakdown of starch by amylase: the time for the starch to disappear
// against temperature.
#include "experiments/ResultsTables.h"

#include <QCoreApplication>

namespace brv {

namespace {
struct uAmylase {
    Q_DECLARE_TR_FUNCTIONS(uAmylase)
};
}  // namespace

std::vector<TResultsTableDeclaration> AmylaseTables()
{
    const TResultsVariable temperature =
        Setting("temperature", uAmylase::tr("Temperature"), uAmylase::tr("ºC"), "TempSE");
    const TResultsVariable time =
        Reading("time", uAmylase::tr("Time for the starch to disappear"), uAmylase::tr("min"), 0, 30, 0);
    return {
        {"temperature",
         uAmylase::tr("Temperature → time for the starch to disappear"),
         temperature,
         time,
         3,
         {},
         {10, 20, 30, 40, 50, 60}},
    };
}

}  // namespace brv
